// SPDX-License-Identifier: GPL-2.0-or-later
// WMF pictures are played by libwmf into our own device functions, which draw with QPainter:
// libwmf's SVG device rounds colours to SVG colour names and its gd device drops text, and
// notes must keep both. EMF pictures go through libemf2svg, whose SVG is faithful, and QtSvg.
#include "platform/metafile.h"

#include "platform/rtf/codepages.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QImageReader>
#include <QPainter>
#include <QPainterPath>
#include <QSvgRenderer>
#include <QtEndian>

#include <cmath>
#include <cstring>

extern "C" {
#include <emf2svg.h>
#include <libwmf/api.h>
#include <libwmf/defs.h>
#include <libwmf/ipa.h>
#include <libwmf/macro.h>
}

namespace penwick::metafile {
namespace {

constexpr quint32 PlaceableKey = 0x9AC6CDD7;
constexpr qsizetype PlaceableSize = 22;
constexpr qsizetype WmfHeaderSize = 18;
constexpr qsizetype MaxRecords = 1 << 20;
constexpr qint64 MaxRenderPixels = 4'000'000;

quint16 u16(const char* p)
{
    return qFromLittleEndian<quint16>(p);
}
quint32 u32(const char* p)
{
    return qFromLittleEndian<quint32>(p);
}
qint16 s16(const char* p)
{
    return qFromLittleEndian<qint16>(p);
}
qint32 s32(const char* p)
{
    return qFromLittleEndian<qint32>(p);
}

// The size to draw at: the request, shrunk to a bounded number of pixels.
QSize boundedSize(QSize size)
{
    if (size.width() < 1 || size.height() < 1)
        return {};
    const qint64 area = qint64(size.width()) * size.height();
    if (area <= MaxRenderPixels)
        return size;
    const double f = std::sqrt(double(MaxRenderPixels) / double(area));
    return QSize(std::max(1, int(size.width() * f)), std::max(1, int(size.height() * f)));
}

// ---- The libwmf device ----

struct Device
{
    QPainter* painter = nullptr;
    QTransform toImage; // metafile device coordinates -> image pixels
    QSizeF natural; // size measured during the scan
};

Device* device(wmfAPI* api)
{
    return static_cast<Device*>(api->device_data);
}

QColor colorOf(const wmfRGB* c)
{
    return QColor(c->r, c->g, c->b);
}

QPen penOf(wmfAPI* api, wmfDC* dc)
{
    wmfPen* pen = dc->pen;
    if (!pen || WMF_PEN_STYLE(pen) == PS_NULL)
        return Qt::NoPen;
    QPen p(colorOf(WMF_PEN_COLOR(pen)));
    const QTransform& t = device(api)->toImage;
    const double scale = std::sqrt(std::abs(t.determinant()));
    const double w = WMF_PEN_WIDTH(pen) * scale;
    p.setWidthF(w > 1 ? std::min(w, 1000.0) : 1.0);
    switch (WMF_PEN_STYLE(pen)) {
    case PS_DASH:
        p.setStyle(Qt::DashLine);
        break;
    case PS_DOT:
        p.setStyle(Qt::DotLine);
        break;
    case PS_DASHDOT:
        p.setStyle(Qt::DashDotLine);
        break;
    case PS_DASHDOTDOT:
        p.setStyle(Qt::DashDotDotLine);
        break;
    default:
        break;
    }
    return p;
}

QBrush brushOf(wmfDC* dc)
{
    wmfBrush* brush = dc->brush;
    if (!brush)
        return Qt::NoBrush;
    switch (WMF_BRUSH_STYLE(brush)) {
    case BS_NULL:
        return Qt::NoBrush;
    case BS_HATCHED:
        return QBrush(colorOf(WMF_BRUSH_COLOR(brush)), Qt::DiagCrossPattern);
    default:
        return QBrush(colorOf(WMF_BRUSH_COLOR(brush)));
    }
}

QPointF map(wmfAPI* api, const wmfD_Coord& c)
{
    return device(api)->toImage.map(QPointF(c.x, c.y));
}

QRectF mapRect(wmfAPI* api, const wmfD_Coord& tl, const wmfD_Coord& br)
{
    return QRectF(map(api, tl), map(api, br)).normalized();
}

void setup(wmfAPI* api, wmfDC* dc, bool fill)
{
    QPainter* p = device(api)->painter;
    p->setPen(penOf(api, dc));
    p->setBrush(fill ? brushOf(dc) : QBrush(Qt::NoBrush));
}

void drawPixel(wmfAPI* api, wmfDrawPixel_t* d)
{
    if (QPainter* p = device(api)->painter)
        p->fillRect(QRectF(map(api, d->pt), QSizeF(1, 1)), colorOf(&d->color));
}

// Angle in Qt's units (1/16 degree, counter-clockwise, y up) of a point seen from the centre.
int angleOf(const QRectF& r, const QPointF& pt)
{
    const QPointF c = r.center();
    const double a = std::atan2(-(pt.y() - c.y()) * r.width(), (pt.x() - c.x()) * r.height());
    return int(std::lround(a * 180.0 / M_PI * 16.0));
}

void drawArcKind(wmfAPI* api, wmfDrawArc_t* d, int kind)
{
    QPainter* p = device(api)->painter;
    if (!p)
        return;
    setup(api, d->dc, kind != 0);
    const QRectF r = mapRect(api, d->TL, d->BR);
    if (kind == 3) {
        p->drawEllipse(r);
        return;
    }
    const int start = angleOf(r, map(api, d->start));
    int span = angleOf(r, map(api, d->end)) - start;
    if (span <= 0)
        span += 360 * 16;
    switch (kind) {
    case 0:
        p->drawArc(r, start, span);
        break;
    case 1:
        p->drawPie(r, start, span);
        break;
    default:
        p->drawChord(r, start, span);
        break;
    }
}

void drawArc(wmfAPI* api, wmfDrawArc_t* d)
{
    drawArcKind(api, d, 0);
}
void drawPie(wmfAPI* api, wmfDrawArc_t* d)
{
    drawArcKind(api, d, 1);
}
void drawChord(wmfAPI* api, wmfDrawArc_t* d)
{
    drawArcKind(api, d, 2);
}
void drawEllipse(wmfAPI* api, wmfDrawArc_t* d)
{
    drawArcKind(api, d, 3);
}

void drawLine(wmfAPI* api, wmfDrawLine_t* d)
{
    if (QPainter* p = device(api)->painter) {
        setup(api, d->dc, false);
        p->drawLine(map(api, d->from), map(api, d->to));
    }
}

QPolygonF polygonOf(wmfAPI* api, const wmfD_Coord* pts, unsigned count)
{
    QPolygonF poly;
    poly.reserve(count);
    for (unsigned i = 0; i < count; ++i)
        poly.append(map(api, pts[i]));
    return poly;
}

void polyLine(wmfAPI* api, wmfPolyLine_t* d)
{
    if (QPainter* p = device(api)->painter) {
        setup(api, d->dc, false);
        p->drawPolyline(polygonOf(api, d->pt, d->count));
    }
}

void drawPolygon(wmfAPI* api, wmfPolyLine_t* d)
{
    if (QPainter* p = device(api)->painter) {
        setup(api, d->dc, true);
        p->drawPolygon(polygonOf(api, d->pt, d->count),
            d->dc->polyfillmode == WINDING ? Qt::WindingFill : Qt::OddEvenFill);
    }
}

void drawPolyPolygon(wmfAPI* api, wmfPolyPoly_t* d)
{
    QPainter* p = device(api)->painter;
    if (!p)
        return;
    setup(api, d->dc, true);
    QPainterPath path;
    path.setFillRule(d->dc->polyfillmode == WINDING ? Qt::WindingFill : Qt::OddEvenFill);
    for (unsigned i = 0; i < d->npoly; ++i) {
        if (d->pt[i] && d->count[i] > 0)
            path.addPolygon(polygonOf(api, d->pt[i], d->count[i]));
    }
    p->drawPath(path);
}

void drawRectangle(wmfAPI* api, wmfDrawRectangle_t* d)
{
    QPainter* p = device(api)->painter;
    if (!p)
        return;
    setup(api, d->dc, true);
    const QRectF r = mapRect(api, d->TL, d->BR);
    if (d->width > 0 || d->height > 0) {
        const QRectF corner = mapRect(api, wmfD_Coord { 0, 0 }, wmfD_Coord { d->width, d->height });
        p->drawRoundedRect(r, corner.width() / 2, corner.height() / 2);
    } else {
        p->drawRect(r);
    }
}

void regionPaint(wmfAPI* api, wmfPolyRectangle_t* d)
{
    QPainter* p = device(api)->painter;
    if (!p)
        return;
    const QBrush brush = brushOf(d->dc);
    for (unsigned i = 0; i < d->count; ++i)
        p->fillRect(mapRect(api, d->TL[i], d->BR[i]), brush);
}

void regionFrame(wmfAPI* api, wmfPolyRectangle_t* d)
{
    QPainter* p = device(api)->painter;
    if (!p)
        return;
    p->setPen(QPen(brushOf(d->dc), 1));
    p->setBrush(Qt::NoBrush);
    for (unsigned i = 0; i < d->count; ++i)
        p->drawRect(mapRect(api, d->TL[i], d->BR[i]));
}

QString textOf(const char* s, int charset)
{
    const int codePage = rtf::codePageForCharset(charset);
    const auto& table
        = rtf::singleByteTable(codePage && !rtf::isDoubleByteCodePage(codePage) ? codePage : 1252);
    QString out;
    for (const char* c = s; c && *c; ++c)
        out += QChar(table[uchar(*c)]);
    return out;
}

QFont fontOf(wmfFont* f, double pixelHeight)
{
    QFont font;
    if (f && f->lfFaceName && *f->lfFaceName)
        font.setFamilies({ QString::fromLatin1(f->lfFaceName) });
    font.setPixelSize(std::clamp(int(std::lround(pixelHeight)), 1, 4000));
    if (f) {
        font.setWeight(QFont::Weight(std::clamp(int(f->lfWeight) / 10 * 10, 100, 900)));
        font.setItalic(f->lfItalic);
        font.setUnderline(f->lfUnderline);
        font.setStrikeOut(f->lfStrikeOut);
    }
    return font;
}

void drawText(wmfAPI* api, wmfDrawText_t* d)
{
    QPainter* p = device(api)->painter;
    if (!p || !d->str)
        return;
    const QTransform& t = device(api)->toImage;
    const double scaleY = std::sqrt(std::abs(t.determinant()));
    const QFont font = fontOf(d->dc->font, d->font_height * scaleY);
    const QString s = textOf(d->str, d->dc->font ? d->dc->font->lfCharSet : 0);
    const QPointF at = map(api, d->pt);
    p->save();
    p->setFont(font);
    p->translate(at);
    if (d->dc->font && d->dc->font->lfEscapement != 0)
        p->rotate(-d->dc->font->lfEscapement / 10.0);
    if (d->dc->bgmode == OPAQUE) {
        const QFontMetricsF fm(font);
        p->fillRect(QRectF(0, -fm.ascent(), fm.horizontalAdvance(s), fm.height()),
            colorOf(&d->dc->bgcolor));
    }
    p->setPen(colorOf(&d->dc->textcolor));
    p->drawText(QPointF(0, 0), s);
    p->restore();
}

void bmpRead(wmfAPI*, wmfBMP_Read_t* r)
{
    r->bmp.data = nullptr;
    if (!r->buffer || r->length <= 40 || r->length > (64 << 20))
        return;
    // A DIB: give it a bitmap file header and let Qt decode it under the allocation limit.
    const quint32 headerSize = u32(reinterpret_cast<const char*>(r->buffer));
    if (headerSize < 12 || headerSize > quint32(r->length))
        return;
    QByteArray bmp("BM", 2);
    bmp.resize(14);
    qToLittleEndian<quint32>(quint32(14 + r->length), bmp.data() + 2);
    qToLittleEndian<quint32>(0, bmp.data() + 6);
    const quint16 bits = headerSize >= 40 ? u16(reinterpret_cast<const char*>(r->buffer) + 14) : 24;
    quint32 colors = headerSize >= 40 ? u32(reinterpret_cast<const char*>(r->buffer) + 32) : 0;
    if (colors == 0 && bits <= 8)
        colors = 1u << bits;
    qToLittleEndian<quint32>(
        quint32(std::min<qint64>(14 + headerSize + colors * 4, 14 + r->length)), bmp.data() + 10);
    bmp.append(reinterpret_cast<const char*>(r->buffer), r->length);
    QBuffer buffer(&bmp);
    QImageReader reader(&buffer, "bmp");
    reader.setAllocationLimit(64);
    QImage image = reader.read();
    if (image.isNull() || image.width() > 65535 || image.height() > 65535)
        return;
    r->bmp.width = quint16(image.width());
    r->bmp.height = quint16(image.height());
    r->bmp.data = new QImage(std::move(image));
}

void bmpFree(wmfAPI*, wmfBMP* bmp)
{
    delete static_cast<QImage*>(bmp->data);
    bmp->data = nullptr;
}

void bmpDraw(wmfAPI* api, wmfBMP_Draw_t* d)
{
    QPainter* p = device(api)->painter;
    const auto* image = static_cast<const QImage*>(d->bmp.data);
    if (!p || !image)
        return;
    const QRect crop(d->crop.x, d->crop.y, d->crop.w, d->crop.h);
    const QPointF tl = map(api, d->pt);
    const QTransform& t = device(api)->toImage;
    const QSizeF size(d->crop.w * d->pixel_width * std::abs(t.m11()),
        d->crop.h * d->pixel_height * std::abs(t.m22()));
    p->drawImage(QRectF(tl, size), *image, crop);
}

void noop(wmfAPI*)
{ }
void noopFlood(wmfAPI*, wmfFlood_t*)
{ }
void noopRop(wmfAPI*, wmfROP_Draw_t*)
{ }
void noopUser(wmfAPI*, wmfUserData_t*)
{ }
void noopClip(wmfAPI*, wmfPolyRectangle_t*)
{ }

void deviceFunctions(wmfAPI* api)
{
    auto* fr = static_cast<wmfFunctionReference*>(api->function_reference);
    fr->device_open = noop;
    fr->device_close = noop;
    fr->device_begin = noop;
    fr->device_end = noop;
    fr->flood_interior = noopFlood;
    fr->flood_exterior = noopFlood;
    fr->draw_pixel = drawPixel;
    fr->draw_pie = drawPie;
    fr->draw_chord = drawChord;
    fr->draw_arc = drawArc;
    fr->draw_ellipse = drawEllipse;
    fr->draw_line = drawLine;
    fr->poly_line = polyLine;
    fr->draw_polygon = drawPolygon;
    fr->draw_polypolygon = drawPolyPolygon;
    fr->draw_rectangle = drawRectangle;
    fr->rop_draw = noopRop;
    fr->bmp_draw = bmpDraw;
    fr->bmp_read = bmpRead;
    fr->bmp_free = bmpFree;
    fr->draw_text = drawText;
    fr->udata_init = noopUser;
    fr->udata_copy = noopUser;
    fr->udata_set = noopUser;
    fr->udata_free = noopUser;
    fr->region_frame = regionFrame;
    fr->region_paint = regionPaint;
    fr->region_clip = noopClip;
}

void fontMap(wmfAPI*, wmfFont*)
{ }

float stringWidth(wmfAPI*, wmfFont* f, char* s)
{
    const QFont font = fontOf(f, 100);
    return float(QFontMetricsF(font).horizontalAdvance(textOf(s, f ? f->lfCharSet : 0)) / 100.0);
}

// Plays a checked WMF; with a painter, draws it scaled into size; returns the natural size.
QSize playWmf(const QByteArray& bytes, QPainter* painter, QSize size)
{
    wmfAPI* api = nullptr;
    wmfAPI_Options options {};
    options.function = deviceFunctions;
    const unsigned long flags
        = WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG;
    if (wmf_lite_create(&api, flags, &options) != wmf_E_None) {
        if (api)
            wmf_lite_destroy(api);
        return {};
    }
    auto* fontData = static_cast<wmfFontData*>(wmf_malloc(api, sizeof(wmfFontData)));
    QSize natural;
    Device dev;
    if (fontData) {
        fontData->map = fontMap;
        fontData->stringwidth = stringWidth;
        fontData->user_data = nullptr;
        api->font_data = fontData;
        api->device_data = &dev;
        QByteArray copy = bytes; // libwmf reads through a non-const pointer
        wmfD_Rect bbox {};
        if (wmf_mem_open(api, reinterpret_cast<unsigned char*>(copy.data()), long(copy.size()))
                == wmf_E_None
            && wmf_scan(api, 0, &bbox) == wmf_E_None) {
            unsigned int w = 0, h = 0;
            if (wmf_display_size(api, &w, &h, 96, 96) == wmf_E_None && w > 0 && h > 0)
                natural = QSize(int(std::min(w, 100000u)), int(std::min(h, 100000u)));
            const double bw = double(bbox.BR.x) - bbox.TL.x;
            const double bh = double(bbox.BR.y) - bbox.TL.y;
            if (painter && bw > 0 && bh > 0 && std::isfinite(bw) && std::isfinite(bh)) {
                dev.painter = painter;
                dev.toImage = QTransform::fromTranslate(-bbox.TL.x, -bbox.TL.y)
                    * QTransform::fromScale(size.width() / bw, size.height() / bh);
                wmf_play(api, 0, &bbox);
            }
            wmf_mem_close(api);
        }
        api->device_data = nullptr;
    }
    wmf_lite_destroy(api);
    return natural;
}

} // namespace

QSize placeableSize(const QByteArray& bytes)
{
    if (bytes.size() < PlaceableSize || u32(bytes.constData()) != PlaceableKey)
        return {};
    const char* p = bytes.constData();
    const int w = std::abs(int(s16(p + 10)) - int(s16(p + 6)));
    const int h = std::abs(int(s16(p + 12)) - int(s16(p + 8)));
    int inch = u16(p + 14);
    if (inch <= 0)
        inch = 1440;
    if (w == 0 || h == 0)
        return {};
    return QSize(std::max(1, int(std::lround(w * 96.0 / inch))),
        std::max(1, int(std::lround(h * 96.0 / inch))));
}

std::optional<QByteArray> checkedWmf(const QByteArray& input)
{
    QByteArray bytes = input;
    if (bytes.size() >= PlaceableSize && u32(bytes.constData()) == PlaceableKey)
        bytes.remove(0, PlaceableSize);
    if (bytes.size() < WmfHeaderSize + 6)
        return std::nullopt;
    const char* p = bytes.constData();
    const quint16 type = u16(p);
    const quint16 headerWords = u16(p + 2);
    if ((type != 1 && type != 2) || headerWords != 9)
        return std::nullopt;
    qsizetype pos = WmfHeaderSize;
    quint32 maxRecord = 3;
    qsizetype records = 0;
    bool sawEnd = false;
    while (pos + 6 <= bytes.size() && records < MaxRecords) {
        const quint32 words = u32(bytes.constData() + pos);
        const quint16 function = u16(bytes.constData() + pos + 4);
        if (words < 3 || qint64(words) * 2 > bytes.size() - pos)
            break;
        maxRecord = std::max(maxRecord, words);
        pos += qsizetype(words) * 2;
        ++records;
        if (function == 0) {
            sawEnd = true;
            break;
        }
    }
    bytes.truncate(pos);
    if (!sawEnd)
        bytes.append("\x03\x00\x00\x00\x00\x00", 6);
    if (records == 0)
        return std::nullopt;
    char* w = bytes.data();
    qToLittleEndian<quint32>(quint32(bytes.size() / 2), w + 6);
    qToLittleEndian<quint32>(maxRecord, w + 12);
    qToLittleEndian<quint16>(0, w + 16);
    if (u16(w + 10) > 4096)
        qToLittleEndian<quint16>(4096, w + 10);
    return bytes;
}

QSize wmfNaturalSize(const QByteArray& checkedBytes)
{
    return playWmf(checkedBytes, nullptr, {});
}

namespace {

// A transparent picture to draw a metafile on; null when it cannot be had.
QImage blankImage(QSize size)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    if (!image.isNull())
        image.fill(Qt::transparent);
    return image;
}

} // namespace

QImage renderWmf(const QByteArray& checkedBytes, QSize size)
{
    size = boundedSize(size);
    if (size.isEmpty())
        return {};
    QImage image = blankImage(size);
    if (image.isNull())
        return {};
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    playWmf(checkedBytes, &painter, size);
    painter.end();
    return image;
}

std::optional<QByteArray> checkedEmf(const QByteArray& input)
{
    // Header record: type 1, then the bounds, the frame, " EMF", version, total bytes, records.
    if (input.size() < 88)
        return std::nullopt;
    const char* p = input.constData();
    if (u32(p) != 1 || u32(p + 40) != 0x464D4520)
        return std::nullopt;
    const quint32 headerSize = u32(p + 4);
    if (headerSize < 88 || headerSize > quint32(input.size()) || headerSize % 4)
        return std::nullopt;
    qsizetype pos = 0;
    qsizetype records = 0;
    bool sawEnd = false;
    while (pos + 8 <= input.size() && records < MaxRecords) {
        const quint32 type = u32(p + pos);
        const quint32 size = u32(p + pos + 4);
        if (size < 8 || size % 4 || qint64(size) > input.size() - pos || type == 0 || type > 122)
            break;
        pos += size;
        ++records;
        if (type == 14) { // EMR_EOF
            sawEnd = true;
            break;
        }
    }
    if (!sawEnd)
        return std::nullopt;
    QByteArray bytes = input.left(pos);
    qToLittleEndian<quint32>(quint32(bytes.size()), bytes.data() + 48);
    qToLittleEndian<quint32>(quint32(records), bytes.data() + 52);
    return bytes;
}

QSize emfNaturalSize(const QByteArray& b)
{
    if (b.size() < 88)
        return {};
    const char* p = b.constData();
    // The frame, in hundredths of a millimetre.
    const qint64 w = qint64(s32(p + 32)) - s32(p + 24);
    const qint64 h = qint64(s32(p + 36)) - s32(p + 28);
    if (w <= 0 || h <= 0)
        return {};
    return QSize(int(std::clamp<qint64>(std::llround(w * 96.0 / 2540.0), 1, 100000)),
        int(std::clamp<qint64>(std::llround(h * 96.0 / 2540.0), 1, 100000)));
}

QImage renderEmf(const QByteArray& checkedBytes, QSize size)
{
    size = boundedSize(size);
    if (size.isEmpty())
        return {};
    generatorOptions options {};
    char ns[] = "";
    options.nameSpace = ns;
    options.verbose = false;
    options.emfplus = true;
    options.svgDelimiter = true;
    options.imgWidth = size.width();
    options.imgHeight = size.height();
    QByteArray copy = checkedBytes;
    char* svg = nullptr;
    size_t svgLength = 0;
    const int ok = emf2svg(copy.data(), size_t(copy.size()), &svg, &svgLength, &options);
    QByteArray document;
    if (svg) {
        document = QByteArray(svg, qsizetype(svgLength));
        free(svg);
    }
    if (!ok || document.isEmpty())
        return {};
    QSvgRenderer renderer(document);
    if (!renderer.isValid())
        return {};
    QImage image = blankImage(size);
    if (image.isNull())
        return {};
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    painter.end();
    return image;
}

} // namespace penwick::metafile
