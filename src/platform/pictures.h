// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>
#include <QTextFormat>
#include <QTextImageFormat>
#include <optional>

class QTextCursor;
class QTextDocument;

namespace penwick {

// The kinds of picture a note holds. GIF and other bitmap files are kept as PNG (lossless);
// DIB covers .bmp and .dib files.
enum class PictureKind { Png, Jpeg, Dib, Wmf, Emf };

// A picture as the note keeps it: its original bytes, so that saving never recompresses a JPEG or
// rasterises a metafile, and the size it is shown at.
//
// Bytes are stored as rich text embeds them: PNG and JPEG files as they are; a DIB without the
// 14-byte bitmap file header; a WMF without the 22-byte placeable header; an EMF as it is.
//
// In a QTextDocument a picture is one QTextImageFormat character (U+FFFC) whose
//  - name() is a "penwick-picture:" URL of an image resource added to the document (the rendered
//    picture; the same bytes give the same name, so copies share one resource),
//  - width() and height() are the display size in pixels at 96 DPI (twips / 15),
//  - property PictureBytesProperty holds the bytes (QByteArray) and PictureKindProperty the kind
//    (int of PictureKind).
// pictureFromFormat() reads them back.
struct Picture
{
    PictureKind kind = PictureKind::Png;
    QByteArray bytes;
    QSize displaySize; // pixels at 96 DPI
};

inline constexpr int PictureBytesProperty = QTextFormat::UserProperty + 0x5057;
inline constexpr int PictureKindProperty = QTextFormat::UserProperty + 0x5058;

// Largest shown or rendered side, in pixels, and the decoding allocation limit in megabytes.
inline constexpr int MaxPictureSide = 8192;
inline constexpr int PictureAllocationLimitMb = 256;

// "png", "jpeg", "bmp", "wmf", "emf".
QString pictureKindName(PictureKind kind);

// Picture data as found in rich text. goal is the shown size in twips (0 when not given), scale
// in percent. Returns nothing when the data do not make a picture (bad data, image bomb).
std::optional<Picture> pictureFromRtf(
    PictureKind kind, QByteArray bytes, QSize goalTwips, QSize scalePercent = QSize(100, 100));

// A picture file of any kind the loader knows: GIF, JPEG, PNG, BMP, DIB (by content), WMF (with
// or without placeable header), EMF. Nothing when the file is missing or not a picture.
std::optional<Picture> loadPictureFile(const QString& path);
std::optional<Picture> pictureFromFileData(const QByteArray& data);

// The pixel size a bitmap file's header gives, read without decoding and under the decoders'
// guards; invalid when there is none. For saying why a picture was refused.
QSize declaredPixelSize(const QByteArray& data);

// A picture of an image (clipboard, screenshots), kept as PNG at the image's size.
std::optional<Picture> pictureFromImage(const QImage& image);

// The picture's own size: pixels of a bitmap, the extent of a metafile at 96 DPI. Invalid when
// the data are not a picture.
QSize picturePixelSize(const Picture& picture);

// The picture drawn at the given size (its display size when empty), or a null image when it
// cannot be drawn. Sizes are clamped to MaxPictureSide.
QImage renderPicture(const Picture& picture, QSize size = QSize());

// Inserts the picture at the cursor (replacing its selection). False when it cannot be drawn.
bool insertPicture(QTextCursor& cursor, const Picture& picture);

// The format that shows the picture in the document, adding its image resource. Nothing when
// the picture cannot be drawn.
std::optional<QTextImageFormat> pictureFormat(QTextDocument& document, const Picture& picture);

// The picture an image character shows: our own pictures from their properties, other images
// (pasted HTML) from the document's image resource as PNG. Nothing for other characters.
std::optional<Picture> pictureFromFormat(const QTextFormat& format, const QTextDocument& document);

} // namespace penwick
