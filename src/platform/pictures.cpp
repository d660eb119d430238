// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/pictures.h"

#include "platform/metafile.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>
#include <QPixmap>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <QUrl>
#include <QtEndian>

#include <cmath>
#include <cstring>

namespace penwick {
namespace {

constexpr qsizetype BitmapFileHeaderSize = 14;
constexpr qint64 MaxBitmapPixels = 64'000'000;

// A DIB with a bitmap file header in front, so that image readers take it.
QByteArray bmpFromDib(const QByteArray& dib)
{
    if (dib.size() < 12)
        return {};
    const char* p = dib.constData();
    const quint32 headerSize = qFromLittleEndian<quint32>(p);
    if (headerSize < 12 || headerSize > quint32(dib.size()))
        return {};
    quint32 paletteBytes = 0;
    if (headerSize == 12) {
        const quint16 bits = qFromLittleEndian<quint16>(p + 10);
        if (bits <= 8)
            paletteBytes = 3u << bits;
    } else if (headerSize >= 40 && dib.size() >= 40) {
        const quint16 bits = qFromLittleEndian<quint16>(p + 14);
        const quint32 compression = qFromLittleEndian<quint32>(p + 16);
        quint32 used = qFromLittleEndian<quint32>(p + 32);
        if (used == 0 && bits <= 8)
            used = 1u << bits;
        paletteBytes = std::min<quint32>(used, 256) * 4;
        if (headerSize == 40 && (compression == 3 || compression == 6))
            paletteBytes += compression == 3 ? 12 : 16;
    }
    // Uncompressed pixels must all be there: a lying height must not make a huge, empty image.
    if (headerSize >= 40 && dib.size() >= 40) {
        const qint64 width = qFromLittleEndian<qint32>(p + 4);
        const qint64 height = std::abs(qint64(qFromLittleEndian<qint32>(p + 8)));
        const quint16 bits = qFromLittleEndian<quint16>(p + 14);
        const quint32 compression = qFromLittleEndian<quint32>(p + 16);
        const qint64 stride = (width * bits + 31) / 32 * 4;
        // Compared by division: width times bits times height can pass 64 bits.
        const qint64 available = dib.size() - qint64(headerSize) - qint64(paletteBytes);
        if ((compression == 0 || compression == 3) && width > 0
            && (available < 0 || (stride > 0 && height > available / stride)))
            return {};
        if ((compression == 1 || compression == 2) && width * height > qint64(dib.size()) * 512)
            return {};
    }
    QByteArray bmp(BitmapFileHeaderSize, '\0');
    bmp[0] = 'B';
    bmp[1] = 'M';
    qToLittleEndian<quint32>(quint32(BitmapFileHeaderSize + dib.size()), bmp.data() + 2);
    const quint64 offset = BitmapFileHeaderSize + quint64(headerSize) + paletteBytes;
    qToLittleEndian<quint32>(
        quint32(std::min<quint64>(offset, BitmapFileHeaderSize + dib.size())), bmp.data() + 10);
    return bmp + dib;
}

// True when every PNG chunk fits in the data. libpng sizes a chunk buffer by the chunk's own
// length field before reading it, so a lying length must not reach it.
bool pngChunksFit(const QByteArray& d)
{
    qsizetype pos = 8;
    while (pos + 8 <= d.size()) {
        const quint32 length = qFromBigEndian<quint32>(d.constData() + pos);
        if (length > 0x7FFFFFFFu || qint64(length) + 12 > d.size() - pos)
            return false;
        const bool end = std::memcmp(d.constData() + pos + 4, "IEND", 4) == 0;
        pos += qsizetype(length) + 12;
        if (end)
            break;
    }
    return true;
}

// A reader for the bitmap bytes of a picture, under the allocation limit.
struct BitmapReader
{
    QByteArray data;
    QBuffer buffer;
    QImageReader reader;
    bool usable = true;
    BitmapReader(const Picture& p)
        : data(p.kind == PictureKind::Dib ? bmpFromDib(p.bytes) : p.bytes)
    {
        if (p.kind == PictureKind::Png && !pngChunksFit(data)) {
            usable = false;
            data.clear();
        }
        buffer.setData(data);
        buffer.open(QIODevice::ReadOnly);
        reader.setDevice(&buffer);
        reader.setDecideFormatFromContent(true);
        reader.setAllocationLimit(PictureAllocationLimitMb);
    }
    QSize size()
    {
        if (!usable)
            return {};
        const QSize s = reader.size();
        if (!s.isValid() || qint64(s.width()) * s.height() > MaxBitmapPixels)
            return {};
        return s;
    }
};

QSize clampSize(QSize s)
{
    if (s.width() < 1 || s.height() < 1)
        return {};
    const int largest = std::max(s.width(), s.height());
    if (largest > MaxPictureSide) {
        const double f = double(MaxPictureSide) / largest;
        s = QSize(std::max(1, int(s.width() * f)), std::max(1, int(s.height() * f)));
    }
    return s;
}

// The picture's own size in pixels at 96 DPI, or invalid when the data are not a picture.
QSize naturalSize(const Picture& p)
{
    switch (p.kind) {
    case PictureKind::Wmf:
        return metafile::wmfNaturalSize(p.bytes);
    case PictureKind::Emf:
        return metafile::emfNaturalSize(p.bytes);
    default: {
        BitmapReader r(p);
        return r.size();
    }
    }
}

QString resourceName(const Picture& p)
{
    QCryptographicHash hash(QCryptographicHash::Sha1);
    hash.addData(QByteArrayView(reinterpret_cast<const char*>(&p.kind), sizeof p.kind));
    hash.addData(p.bytes);
    return QStringLiteral("penwick-picture:") + QString::fromLatin1(hash.result().toHex());
}

std::optional<PictureKind> kindOfFileData(const QByteArray& d)
{
    if (d.startsWith("\x89PNG"))
        return PictureKind::Png;
    if (d.startsWith("\xFF\xD8\xFF"))
        return PictureKind::Jpeg;
    if (d.startsWith("BM"))
        return PictureKind::Dib;
    if (d.size() >= 4 && qFromLittleEndian<quint32>(d.constData()) == 0x9AC6CDD7)
        return PictureKind::Wmf;
    if (d.size() >= 44 && qFromLittleEndian<quint32>(d.constData()) == 1
        && qFromLittleEndian<quint32>(d.constData() + 40) == 0x464D4520)
        return PictureKind::Emf;
    if (d.size() >= 6
        && (qFromLittleEndian<quint16>(d.constData()) == 1
            || qFromLittleEndian<quint16>(d.constData()) == 2)
        && qFromLittleEndian<quint16>(d.constData() + 2) == 9)
        return PictureKind::Wmf;
    if (d.size() >= 4
        && (qFromLittleEndian<quint32>(d.constData()) == 40
            || qFromLittleEndian<quint32>(d.constData()) == 12
            || qFromLittleEndian<quint32>(d.constData()) == 108
            || qFromLittleEndian<quint32>(d.constData()) == 124))
        return PictureKind::Dib; // a headerless DIB (.dib saved from the clipboard)
    return std::nullopt;
}

QByteArray pngOf(const QImage& image)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (!writer.write(image))
        return {};
    return png;
}

} // namespace

QString pictureKindName(PictureKind kind)
{
    switch (kind) {
    case PictureKind::Png:
        return QStringLiteral("png");
    case PictureKind::Jpeg:
        return QStringLiteral("jpeg");
    case PictureKind::Dib:
        return QStringLiteral("bmp");
    case PictureKind::Wmf:
        return QStringLiteral("wmf");
    case PictureKind::Emf:
        return QStringLiteral("emf");
    }
    return {};
}

QSize picturePixelSize(const Picture& picture)
{
    return naturalSize(picture);
}

std::optional<Picture> pictureFromRtf(
    PictureKind kind, QByteArray bytes, QSize goalTwips, QSize scalePercent)
{
    Picture p;
    p.kind = kind;
    if (kind == PictureKind::Wmf) {
        auto checked = metafile::checkedWmf(bytes);
        if (!checked)
            return std::nullopt;
        p.bytes = std::move(*checked);
    } else if (kind == PictureKind::Emf) {
        auto checked = metafile::checkedEmf(bytes);
        if (!checked)
            return std::nullopt;
        p.bytes = std::move(*checked);
    } else {
        p.bytes = std::move(bytes);
    }
    const int sx = scalePercent.width() > 0 ? scalePercent.width() : 100;
    const int sy = scalePercent.height() > 0 ? scalePercent.height() : 100;
    QSize shown;
    if (goalTwips.width() > 0 && goalTwips.height() > 0) {
        shown = QSize(int(std::lround(goalTwips.width() * (sx / 100.0) / 15.0)),
            int(std::lround(goalTwips.height() * (sy / 100.0) / 15.0)));
        // Still make sure the data are a picture at all.
        if (p.kind != PictureKind::Wmf && p.kind != PictureKind::Emf && !naturalSize(p).isValid())
            return std::nullopt;
    } else {
        const QSize own = naturalSize(p);
        if (!own.isValid())
            return std::nullopt;
        shown = QSize(int(std::lround(own.width() * sx / 100.0)),
            int(std::lround(own.height() * sy / 100.0)));
    }
    p.displaySize = clampSize(shown.expandedTo(QSize(1, 1)));
    if (!p.displaySize.isValid())
        return std::nullopt;
    return p;
}

std::optional<Picture> pictureFromFileData(const QByteArray& data)
{
    const auto kind = kindOfFileData(data);
    if (kind == PictureKind::Png || kind == PictureKind::Jpeg || kind == PictureKind::Emf)
        return pictureFromRtf(*kind, data, {});
    if (kind == PictureKind::Wmf) {
        const QSize placeable = metafile::placeableSize(data);
        return pictureFromRtf(
            PictureKind::Wmf, data, placeable.isValid() ? placeable * 15 : QSize());
    }
    if (kind == PictureKind::Dib && data.startsWith("BM") && data.size() > BitmapFileHeaderSize)
        return pictureFromRtf(PictureKind::Dib, data.mid(BitmapFileHeaderSize), {});
    if (kind == PictureKind::Dib)
        return pictureFromRtf(PictureKind::Dib, data, {});
    // Anything else Qt reads (GIF above all) is kept as PNG.
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    reader.setAllocationLimit(PictureAllocationLimitMb);
    const QSize size = reader.size();
    if (size.isValid() && qint64(size.width()) * size.height() > MaxBitmapPixels)
        return std::nullopt;
    const QImage image = reader.read();
    if (image.isNull())
        return std::nullopt;
    return pictureFromImage(image);
}

QSize declaredPixelSize(const QByteArray& data)
{
    if (kindOfFileData(data) == PictureKind::Png && !pngChunksFit(data))
        return {};
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    return reader.size();
}

std::optional<Picture> loadPictureFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > (512 << 20))
        return std::nullopt;
    return pictureFromFileData(file.readAll());
}

std::optional<Picture> pictureFromImage(const QImage& image)
{
    if (image.isNull())
        return std::nullopt;
    const QByteArray png = pngOf(image);
    if (png.isEmpty())
        return std::nullopt;
    return pictureFromRtf(PictureKind::Png, png, {});
}

QImage renderPicture(const Picture& picture, QSize size)
{
    if (size.isEmpty())
        size = picture.displaySize;
    size = clampSize(size);
    if (!size.isValid())
        return {};
    switch (picture.kind) {
    case PictureKind::Wmf:
        return metafile::renderWmf(picture.bytes, size);
    case PictureKind::Emf:
        return metafile::renderEmf(picture.bytes, size);
    default: {
        BitmapReader r(picture);
        const QSize own = r.size();
        if (!own.isValid())
            return {};
        // Never keep more pixels than the picture shows (a huge photo shown small).
        const QSize target = own.boundedTo(size * 2);
        if (target != own)
            r.reader.setScaledSize(own.scaled(target, Qt::KeepAspectRatio));
        return r.reader.read();
    }
    }
}

std::optional<QTextImageFormat> pictureFormat(QTextDocument& document, const Picture& picture)
{
    const QString name = resourceName(picture);
    const QUrl url(name);
    if (document.resource(QTextDocument::ImageResource, url).isNull()) {
        const QImage image = renderPicture(picture);
        if (image.isNull())
            return std::nullopt;
        document.addResource(QTextDocument::ImageResource, url, image);
    }
    QTextImageFormat f;
    f.setName(name);
    f.setWidth(picture.displaySize.width());
    f.setHeight(picture.displaySize.height());
    f.setProperty(PictureBytesProperty, picture.bytes);
    f.setProperty(PictureKindProperty, int(picture.kind));
    return f;
}

bool insertPicture(QTextCursor& cursor, const Picture& picture)
{
    if (cursor.isNull())
        return false;
    const auto f = pictureFormat(*cursor.document(), picture);
    if (!f)
        return false;
    cursor.insertImage(*f);
    return true;
}

std::optional<Picture> pictureFromFormat(const QTextFormat& format, const QTextDocument& document)
{
    if (!format.isImageFormat())
        return std::nullopt;
    const QTextImageFormat f = format.toImageFormat();
    if (f.hasProperty(PictureBytesProperty) && f.hasProperty(PictureKindProperty)) {
        const int kind = f.intProperty(PictureKindProperty);
        if (kind < int(PictureKind::Png) || kind > int(PictureKind::Emf))
            return std::nullopt;
        Picture p;
        p.kind = PictureKind(kind);
        p.bytes = f.property(PictureBytesProperty).toByteArray();
        p.displaySize = QSize(int(std::lround(f.width())), int(std::lround(f.height())));
        if (!p.displaySize.isValid() || p.displaySize.isEmpty())
            p.displaySize = clampSize(naturalSize(p));
        return p;
    }
    // Someone else's image (pasted HTML): keep it as PNG.
    const QVariant v = document.resource(QTextDocument::ImageResource, QUrl(f.name()));
    QImage image = v.value<QImage>();
    if (image.isNull())
        image = v.value<QPixmap>().toImage();
    auto p = pictureFromImage(image);
    if (p && f.width() > 0 && f.height() > 0)
        p->displaySize
            = clampSize(QSize(int(std::lround(f.width())), int(std::lround(f.height()))));
    return p;
}

} // namespace penwick
