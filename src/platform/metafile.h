// SPDX-License-Identifier: GPL-2.0-or-later
// Windows metafiles (WMF, EMF): checking, measuring and drawing. Internal to the picture code.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <optional>

namespace penwick::metafile {

// A WMF with its record structure checked and its header made to agree with the records (a
// lying header must not size an allocation). Input with or without the 22-byte placeable header;
// output without it. Nothing when the bytes are not a usable WMF.
std::optional<QByteArray> checkedWmf(const QByteArray& bytes);
// The placeable header's size in pixels at 96 DPI, if the bytes carry one.
QSize placeableSize(const QByteArray& bytes);
// The size the metafile asks for, in pixels at 96 DPI (from its own extents).
QSize wmfNaturalSize(const QByteArray& checkedBytes);
// Draws a checked WMF scaled into an image of the given size, text and exact colours included.
QImage renderWmf(const QByteArray& checkedBytes, QSize size);

// An EMF with its record structure checked; nothing when unusable.
std::optional<QByteArray> checkedEmf(const QByteArray& bytes);
// The EMF frame in pixels at 96 DPI.
QSize emfNaturalSize(const QByteArray& checkedBytes);
QImage renderEmf(const QByteArray& checkedBytes, QSize size);

} // namespace penwick::metafile
