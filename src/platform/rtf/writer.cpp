// SPDX-License-Identifier: GPL-2.0-or-later
// The rich-text writer: 7-bit ASCII that WordPad, Word and LibreOffice read back alike.
#include "platform/rtf/rtf.h"

#include "platform/pictures.h"

#include <QHash>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextList>

#include <array>
#include <charconv>
#include <cmath>
#include <cstring>
#include <unordered_map>
#include <utility>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace penwick::rtf {
namespace {

// Unicode -> Windows-1252 byte for the characters the code page holds outside Latin-1.
int cp1252Byte(char16_t u)
{
    switch (u) {
    case 0x20AC:
        return 0x80;
    case 0x201A:
        return 0x82;
    case 0x0192:
        return 0x83;
    case 0x201E:
        return 0x84;
    case 0x2026:
        return 0x85;
    case 0x2020:
        return 0x86;
    case 0x2021:
        return 0x87;
    case 0x02C6:
        return 0x88;
    case 0x2030:
        return 0x89;
    case 0x0160:
        return 0x8A;
    case 0x2039:
        return 0x8B;
    case 0x0152:
        return 0x8C;
    case 0x017D:
        return 0x8E;
    case 0x2018:
        return 0x91;
    case 0x2019:
        return 0x92;
    case 0x201C:
        return 0x93;
    case 0x201D:
        return 0x94;
    case 0x2022:
        return 0x95;
    case 0x2013:
        return 0x96;
    case 0x2014:
        return 0x97;
    case 0x02DC:
        return 0x98;
    case 0x2122:
        return 0x99;
    case 0x0161:
        return 0x9A;
    case 0x203A:
        return 0x9B;
    case 0x0153:
        return 0x9C;
    case 0x017E:
        return 0x9E;
    case 0x0178:
        return 0x9F;
    default:
        return (u >= 0xA0 && u <= 0xFF) ? int(u) : -1;
    }
}

constexpr char hexDigits[] = "0123456789abcdef";

// Printable ASCII that goes out as it is.
constexpr std::array<bool, 128> makePlainAscii()
{
    std::array<bool, 128> t {};
    for (int c = 0x20; c < 0x7F; ++c)
        t[c] = c != '\\' && c != '{' && c != '}';
    return t;
}
constexpr std::array<bool, 128> plainAscii = makePlainAscii();

bool isBullet(const QTextListFormat& f)
{
    return f.style() == QTextListFormat::ListDisc || f.style() == QTextListFormat::ListCircle
        || f.style() == QTextListFormat::ListSquare;
}

// An output buffer that grows geometrically and is written through a pointer, because the writer
// appends a few bytes at a time millions of times.
class Out
{
public:
    void reserve(qsizetype n)
    {
        if (n > m_buf.size())
            m_buf.resize(n);
    }
    // Room for n more bytes; write them, then commit the end.
    char* room(qsizetype n)
    {
        if (m_len + n > m_buf.size())
            m_buf.resize(std::max(m_buf.size() * 2, m_len + n + 4096));
        return m_buf.data() + m_len;
    }
    void commit(const char* end) { m_len = end - m_buf.constData(); }
    void put(const char* p, qsizetype n)
    {
        std::memcpy(room(n), p, size_t(n));
        m_len += n;
    }
    void put(char c) { *room(1) = c, ++m_len; }
    void put(const char* literal) { put(literal, qsizetype(std::strlen(literal))); }
    void put(const QByteArray& b) { put(b.constData(), b.size()); }
    void putInt(int v)
    {
        char* p = room(12);
        commit(std::to_chars(p, p + 12, v).ptr);
    }
    qsizetype size() const { return m_len; }
    QByteArray take()
    {
        m_buf.truncate(m_len);
        m_len = 0;
        return std::move(m_buf);
    }

private:
    QByteArray m_buf;
    qsizetype m_len = 0;
};

// What one character format writes: indexes into the tables and the on/off styles.
struct RunProps
{
    bool image = false; // a picture character, written as a picture
    int font = 0;
    int halfPoints = 24;
    bool bold = false, italic = false, underline = false, strike = false;
    int vertical = 0;
    int color = 0; // colour-table index, 0 automatic
    int highlight = 0;
    bool operator==(const RunProps&) const = default;
};

class Writer
{
public:
    Writer(const QTextDocument& doc, int from, int to)
        : m_doc(doc)
        , m_from(from)
        , m_to(to)
    { }

    QByteArray write();

    // The same output a piece at a time: the body first, the header (whose tables grow while the
    // body is written) put in front of it at the end.
    void begin()
    {
        collect();
        m_out.reserve(qsizetype(m_to) * 2 + 4096);
    }
    bool writeSome(int units);
    int position() const { return m_pos; }
    QByteArray finish();
    std::pair<QByteArray, QByteArray> finishParts();

private:
    void header();
    void collect();
    int fontIndex(const QString& family);
    int symbolFont();
    int colorIndex(const QColor& color);
    const RunProps& runProps(int formatIndex, const QTextCharFormat& f);
    // The properties of a format index, asking for the format only the first time.
    template <class Format> const RunProps& runPropsOf(int formatIndex, Format&& format)
    {
        if (formatIndex >= 0 && size_t(formatIndex) < m_byIndex.size()
            && m_byIndex[size_t(formatIndex)])
            return *m_byIndex[size_t(formatIndex)];
        return runProps(formatIndex, format());
    }
    void switchTo(const RunProps& p);
    // A control word; literals have their length known at compile time.
    template <size_t N> void word(const char (&w)[N]) { word(w, qsizetype(N - 1)); }
    template <size_t N> void word(const char (&w)[N], int param)
    {
        word(w, qsizetype(N - 1));
        m_out.putInt(param);
    }
    void word(const char* w, qsizetype length)
    {
        char* out = m_out.room(length + 1);
        *out = '\\';
        std::memcpy(out + 1, w, size_t(length));
        m_out.commit(out + 1 + length);
        m_delimit = true;
    }
    void text(QStringView s);
    void paragraph(const QTextBlock& block, int blockStart);
    void paragraphHead(const QTextBlock& block);
    // Writes the block's characters [from, to); stops after the fragment that uses up `budget`
    // units (when given) and returns where it stopped.
    int runs(const QTextBlock& block, int blockStart, int from, int to, int* budget = nullptr);
    void paragraphEnd(const QTextBlock& block, bool empty);
    void picture(const QTextImageFormat& f);

    const QTextDocument& m_doc;
    int m_from, m_to;
    Out m_out;

    bool m_delimit = false; // the last thing written was a control word
    QStringList m_fonts;
    QHash<QString, int> m_fontIndex;
    int m_symbolFont = -1;
    std::vector<QRgb> m_colors;
    QHash<QRgb, int> m_colorIndex;
    std::unordered_map<int, RunProps> m_runs;
    std::vector<const RunProps*> m_byIndex; // the same, for small indexes
    RunProps m_current;
    int m_pos = 0; // piecewise: the next character to write
    bool m_inParagraph = false; // piecewise: the paragraph at m_pos has its head written
};

int Writer::fontIndex(const QString& family)
{
    auto it = m_fontIndex.constFind(family);
    if (it != m_fontIndex.cend())
        return *it;
    const int i = int(m_fonts.size());
    m_fonts.append(family);
    m_fontIndex.insert(family, i);
    return i;
}

int Writer::colorIndex(const QColor& color)
{
    const QRgb rgb = color.rgb() & 0xFFFFFF;
    auto it = m_colorIndex.constFind(rgb);
    if (it != m_colorIndex.cend())
        return *it;
    m_colors.push_back(rgb);
    const int i = int(m_colors.size()); // entry 0 is "automatic"
    m_colorIndex.insert(rgb, i);
    return i;
}

const RunProps& Writer::runProps(int formatIndex, const QTextCharFormat& f)
{
    auto it = m_runs.find(formatIndex);
    if (it != m_runs.end()) // past the small table's 65 536 indexes only
        return it->second;
    RunProps p;
    p.image = f.isImageFormat();
    const QStringList families = f.fontFamilies().toStringList();
    p.font = families.isEmpty() || families.first().isEmpty() ? 0 : fontIndex(families.first());
    double pt = f.fontPointSize();
    if (pt <= 0)
        pt = m_doc.defaultFont().pointSizeF() > 0 ? m_doc.defaultFont().pointSizeF() : 12;
    p.halfPoints = std::clamp(int(std::lround(pt * 2)), 2, 3276);
    p.bold = f.fontWeight() >= QFont::DemiBold;
    p.italic = f.fontItalic();
    p.underline = f.fontUnderline();
    p.strike = f.fontStrikeOut();
    p.vertical = f.verticalAlignment() == QTextCharFormat::AlignSuperScript ? 1
        : f.verticalAlignment() == QTextCharFormat::AlignSubScript          ? 2
                                                                            : 0;
    if (f.hasProperty(QTextFormat::ForegroundBrush) && f.foreground().style() != Qt::NoBrush)
        p.color = colorIndex(f.foreground().color());
    if (f.hasProperty(QTextFormat::BackgroundBrush) && f.background().style() != Qt::NoBrush)
        p.highlight = colorIndex(f.background().color());
    const RunProps* stored = &m_runs.emplace(formatIndex, p).first->second;
    if (formatIndex >= 0 && formatIndex < 65536) {
        if (size_t(formatIndex) >= m_byIndex.size())
            m_byIndex.resize(size_t(formatIndex) + 1, nullptr);
        m_byIndex[size_t(formatIndex)] = stored;
    }
    return *stored;
}

void Writer::collect()
{
    // Font 0 is the document's default font, so that runs without a family have one to name.
    fontIndex(m_doc.defaultFont().family());
    if (m_from == 0 && m_to == m_doc.characterCount() - 1) {
        // The whole document: its format collection names every font, colour and list in use
        // (and perhaps a few no longer in use), without a walk over the text.
        const QList<QTextFormat> formats = m_doc.allFormats();
        for (qsizetype i = 0; i < formats.size(); ++i) {
            const QTextFormat& f = formats.at(i);
            if (f.isCharFormat())
                runProps(int(i), f.toCharFormat());
            else if (f.isListFormat() && m_symbolFont < 0 && isBullet(f.toListFormat()))
                m_symbolFont = -2;
        }
        if (m_symbolFont == -2)
            m_symbolFont = symbolFont();
        return;
    }
    QTextBlock b = m_doc.findBlock(m_from);
    for (int blockPos = b.isValid() ? b.position() : 0; b.isValid() && blockPos <= m_to;
         blockPos += b.length(), b = b.next()) {
        if (QTextList* list = b.textList(); list && m_symbolFont < 0 && isBullet(list->format()))
            m_symbolFont = -2; // added after the text fonts
        // Fragments follow each other: their positions are counted, not looked up.
        int pos = blockPos;
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment frag = it.fragment();
            const int start = pos;
            pos += frag.length();
            if (pos <= m_from || start >= m_to)
                continue;
            runPropsOf(frag.charFormatIndex(), [&] { return frag.charFormat(); });
        }
        runPropsOf(b.charFormatIndex(), [&] { return b.charFormat(); });
    }
    if (m_symbolFont == -2)
        m_symbolFont = symbolFont();
}

// The bullets' font has an entry of its own: text in it would read back as symbols, so text in
// a font named Symbol gets an ordinary entry.
int Writer::symbolFont()
{
    m_fonts.append(QStringLiteral("Symbol"));
    return int(m_fonts.size() - 1);
}

void Writer::switchTo(const RunProps& p)
{
    if (p == m_current)
        return;
    if (p.font != m_current.font)
        word("f", p.font);
    if (p.halfPoints != m_current.halfPoints)
        word("fs", p.halfPoints);
    if (p.bold != m_current.bold)
        p.bold ? word("b") : word("b0");
    if (p.italic != m_current.italic)
        p.italic ? word("i") : word("i0");
    if (p.underline != m_current.underline)
        p.underline ? word("ul") : word("ulnone");
    if (p.strike != m_current.strike)
        p.strike ? word("strike") : word("strike0");
    if (p.vertical != m_current.vertical)
        p.vertical == 1 ? word("super") : p.vertical == 2 ? word("sub") : word("nosupersub");
    if (p.color != m_current.color)
        word("cf", p.color);
    if (p.highlight != m_current.highlight)
        word("highlight", p.highlight);
    m_current = p;
}

void Writer::text(QStringView s)
{
    const qsizetype n = s.size();
    const char16_t* d = s.utf16();
    qsizetype i = 0;
    while (i < n) {
        // The plain stretch, copied as it is scanned.
        if (d[i] < 0x80 && plainAscii[d[i]]) {
            char* out = m_out.room(n - i + 1);
            if (m_delimit) {
                *out++ = ' ';
                m_delimit = false;
            }
#if defined(__SSE2__)
            // Eight units at a time while all of them are plain.
            const __m128i below = _mm_set1_epi16(0x20 - 1);
            const __m128i above = _mm_set1_epi16(0x7F);
            const __m128i backslash = _mm_set1_epi16('\\');
            const __m128i open = _mm_set1_epi16('{');
            const __m128i close = _mm_set1_epi16('}');
            while (i + 8 <= n) {
                const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i));
                const __m128i printable
                    = _mm_and_si128(_mm_cmpgt_epi16(v, below), _mm_cmplt_epi16(v, above));
                const __m128i escaped = _mm_or_si128(_mm_cmpeq_epi16(v, backslash),
                    _mm_or_si128(_mm_cmpeq_epi16(v, open), _mm_cmpeq_epi16(v, close)));
                if (_mm_movemask_epi8(_mm_andnot_si128(escaped, printable)) != 0xFFFF)
                    break;
                _mm_storel_epi64(reinterpret_cast<__m128i*>(out), _mm_packus_epi16(v, v));
                out += 8;
                i += 8;
            }
#endif
            while (i < n && d[i] < 0x80 && plainAscii[d[i]])
                *out++ = char(d[i++]);
            m_out.commit(out);
            if (i == n)
                break;
        }
        const char16_t u = d[i++];
        switch (u) {
        case '\\':
        case '{':
        case '}':
            m_out.put('\\');
            m_out.put(char(u));
            m_delimit = false;
            continue;
        case '\t':
            word("tab");
            continue;
        case 0x2028:
            word("line");
            continue;
        case 0x00A0:
            m_out.put("\\~", 2);
            m_delimit = false;
            continue;
        case 0x00AD:
            m_out.put("\\-", 2);
            m_delimit = false;
            continue;
        case 0x2011:
            m_out.put("\\_", 2);
            m_delimit = false;
            continue;
        default:
            break;
        }
        // Control characters are kept, escaped: a raw one would be dropped or mean a line end.
        if (const int b = u < 0x20 || u == 0x7F ? int(u) : cp1252Byte(u); b >= 0) {
            char* out = m_out.room(4);
            *out++ = '\\';
            *out++ = '\'';
            *out++ = hexDigits[b >> 4];
            *out++ = hexDigits[b & 15];
            m_out.commit(out);
            m_delimit = false;
            continue;
        }
        // Signed 16-bit value and a one-character fallback (\uc1); surrogates go half by half.
        word("u", int(qint16(u)));
        m_out.put('?');
        m_delimit = false;
    }
}

void Writer::picture(const QTextImageFormat& f)
{
    const auto pic = pictureFromFormat(f, m_doc);
    if (!pic)
        return;
    const char* kind = "pngblip";
    switch (pic->kind) {
    case PictureKind::Png:
        kind = "pngblip";
        break;
    case PictureKind::Jpeg:
        kind = "jpegblip";
        break;
    case PictureKind::Emf:
        kind = "emfblip";
        break;
    case PictureKind::Wmf:
        kind = "wmetafile8";
        break;
    case PictureKind::Dib:
        kind = "dibitmap0";
        break;
    }
    // Shown size: the format's, which the user may have changed, else the picture's own.
    const int w = f.width() > 0 ? int(std::lround(f.width())) : pic->displaySize.width();
    const int h = f.height() > 0 ? int(std::lround(f.height())) : pic->displaySize.height();
    const bool metafile = pic->kind == PictureKind::Wmf || pic->kind == PictureKind::Emf;
    QSize pixels(w, h);
    if (!metafile) {
        if (const QSize own = picturePixelSize(*pic); own.isValid())
            pixels = own;
    }
    m_out.put("{\\pict\\");
    m_out.put(kind);
    if (metafile) {
        // Metafile extents are in hundredths of a millimetre.
        word("picw", int(std::lround(w * 2540.0 / 96.0)));
        word("pich", int(std::lround(h * 2540.0 / 96.0)));
    } else {
        word("picw", pixels.width());
        word("pich", pixels.height());
    }
    word("picwgoal", w * 15);
    word("pichgoal", h * 15);
    m_out.put("\r\n");
    const QByteArray& bytes = pic->bytes;
    const qsizetype lines = (bytes.size() + 63) / 64;
    char* out = m_out.room(bytes.size() * 2 + lines * 2);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = uchar(bytes[i]);
        *out++ = hexDigits[b >> 4];
        *out++ = hexDigits[b & 15];
        if ((i & 63) == 63 || i + 1 == bytes.size()) {
            *out++ = '\r';
            *out++ = '\n';
        }
    }
    m_out.commit(out);
    m_out.put('}');
    m_delimit = false;
}

void Writer::paragraph(const QTextBlock& block, int blockStart)
{
    paragraphHead(block);
    const int blockEnd = blockStart + block.length() - 1; // before the paragraph mark
    const int from = std::max(m_from, blockStart);
    const int to = std::min(m_to, blockEnd);
    runs(block, blockStart, from, to);
    paragraphEnd(block, from >= to);
}

void Writer::paragraphHead(const QTextBlock& block)
{
    const QTextBlockFormat bf = block.blockFormat();
    word("pard");
    switch (bf.alignment() & Qt::AlignHorizontal_Mask) {
    case Qt::AlignHCenter:
        word("qc");
        break;
    case Qt::AlignRight:
        word("qr");
        break;
    case Qt::AlignJustify:
        word("qj");
        break;
    default:
        word("ql");
        break;
    }
    const auto twips = [](qreal px) { return int(std::lround(px * 15)); };
    QTextList* list = bf.objectIndex() >= 0 ? block.textList() : nullptr;
    int li = twips(bf.leftMargin());
    int fi = twips(bf.textIndent());
    if (list) {
        const QTextListFormat lf = list->format();
        const int indent = std::max(1, lf.indent());
        li += 720 * indent;
        fi = -360;
        const bool bullet = isBullet(lf);
        if (bullet && m_symbolFont < 0)
            m_symbolFont = symbolFont(); // a list made after the tables were collected
        // The label as text for readers without list support, then the list itself.
        if (bullet) {
            m_out.put("{\\pntext\\f" + QByteArray::number(std::max(m_symbolFont, 0))
                + "\\'B7\\tab}{\\*\\pn\\pnlvlblt\\pnf"
                + QByteArray::number(std::max(m_symbolFont, 0)) + "\\pnindent0{\\pntxtb\\'B7}}");
        } else {
            const char* style = "pndec";
            QString label = list->itemText(block);
            switch (lf.style()) {
            case QTextListFormat::ListLowerAlpha:
                style = "pnlcltr";
                break;
            case QTextListFormat::ListUpperAlpha:
                style = "pnucltr";
                break;
            case QTextListFormat::ListLowerRoman:
                style = "pnlcrm";
                break;
            case QTextListFormat::ListUpperRoman:
                style = "pnucrm";
                break;
            default:
                break;
            }
            m_out.put("{\\pntext\\f0 ");
            m_delimit = false;
            text(label);
            m_out.put("\\tab}{\\*\\pn\\pnlvlbody\\pnf0\\pnindent0\\pnstart1\\");
            m_out.put(style);
            m_out.put("{\\pntxta.}}");
        }
        m_delimit = false;
    }
    if (li != 0)
        word("li", li);
    if (fi != 0)
        word("fi", fi);
    if (const int ri = twips(bf.rightMargin()); ri != 0)
        word("ri", ri);
    if (const int sb = twips(bf.topMargin()); sb != 0)
        word("sb", sb);
    if (const int sa = twips(bf.bottomMargin()); sa != 0)
        word("sa", sa);
    switch (bf.lineHeightType()) {
    case QTextBlockFormat::ProportionalHeight:
        if (bf.lineHeight() != 100) {
            word("sl", int(std::lround(bf.lineHeight() * 240 / 100)));
            word("slmult", 1);
        }
        break;
    case QTextBlockFormat::MinimumHeight:
        word("sl", twips(bf.lineHeight()));
        word("slmult", 0);
        break;
    case QTextBlockFormat::FixedHeight:
        word("sl", -twips(bf.lineHeight()));
        word("slmult", 0);
        break;
    default:
        break;
    }
}

int Writer::runs(const QTextBlock& block, int blockStart, int from, int to, int* budget)
{
    // One copy of the paragraph's text serves all its fragments.
    const QString blockText = block.text();
    int fe = blockStart;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment frag = it.fragment();
        const int fs = fe;
        fe += frag.length();
        if (fe <= from || fs >= to)
            continue;
        const int a = std::max(fs, from);
        const int n = std::min(fe, to) - a;
        const RunProps& props
            = runPropsOf(frag.charFormatIndex(), [&] { return frag.charFormat(); });
        if (props.image) {
            const QTextImageFormat image = frag.charFormat().toImageFormat();
            for (int i = 0; i < n; ++i)
                picture(image);
        } else {
            switchTo(props);
            text(QStringView(blockText).sliced(a - blockStart, n));
        }
        if (budget && (*budget -= n) <= 0)
            return a + n;
    }
    return to;
}

void Writer::paragraphEnd(const QTextBlock& block, bool empty)
{
    if (empty) {
        // An empty paragraph keeps the size and font of its mark.
        switchTo(runPropsOf(block.charFormatIndex(), [&] { return block.charFormat(); }));
    }
    // Some readers misplace a superscript that runs into the paragraph mark.
    if (m_current.vertical != 0) {
        word("nosupersub");
        m_current.vertical = 0;
    }
    m_out.put("\\par\r\n", 6);
    m_delimit = false;
}

QByteArray Writer::write()
{
    // The first pass finds every font and colour, so that the header can go first and the body
    // follow it in the same buffer.
    collect();
    // Pages never written are never touched, so a generous guess costs nothing.
    m_out.reserve(qsizetype(m_to - m_from) * 2 + 4096);
    header();
    QTextBlock b = m_doc.findBlock(m_from);
    for (int pos = b.isValid() ? b.position() : 0; b.isValid() && pos <= m_to; b = b.next()) {
        paragraph(b, pos);
        pos += b.length();
    }
    m_out.put("}\r\n");
    return m_out.take();
}

// The font and colour tables, then the defaults the body starts from.
void Writer::header()
{
    m_out.put("{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl");
    for (qsizetype i = 0; i < m_fonts.size(); ++i) {
        m_out.put("{\\f");
        m_out.putInt(int(i));
        m_out.put(i == m_symbolFont ? "\\ftech\\fcharset2 " : "\\fnil\\fcharset0 ");
        m_delimit = false;
        text(m_fonts[i].isEmpty() ? QStringLiteral("Arial") : m_fonts[i]);
        m_out.put(";}");
    }
    m_out.put("}\r\n{\\colortbl ;");
    for (const QRgb c : m_colors) {
        m_out.put("\\red");
        m_out.putInt(qRed(c));
        m_out.put("\\green");
        m_out.putInt(qGreen(c));
        m_out.put("\\blue");
        m_out.putInt(qBlue(c));
        m_out.put(';');
    }
    m_out.put("}\r\n{\\*\\generator Penwick 4.0;}\\viewkind4\\uc1\\f0\\fs24\r\n");
    m_delimit = false;
    m_current = RunProps();
}

bool Writer::writeSome(int units)
{
    // The document may have grown or shrunk after m_pos since the last piece.
    m_to = m_doc.characterCount() - 1;
    while (m_pos <= m_to) {
        const QTextBlock b = m_doc.findBlock(m_pos);
        if (!b.isValid())
            break;
        const int blockStart = b.position();
        const int blockEnd = blockStart + b.length() - 1;
        if (!m_inParagraph) {
            paragraphHead(b);
            m_inParagraph = true;
        }
        m_pos = runs(b, blockStart, std::max(m_pos, blockStart), blockEnd, &units);
        if (m_pos < blockEnd)
            return false;
        paragraphEnd(b, b.length() == 1);
        m_inParagraph = false;
        m_pos = blockEnd + 1;
        if (units <= 0)
            return m_pos > m_to;
    }
    return true;
}

QByteArray Writer::finish()
{
    auto parts = finishParts();
    parts.first.reserve(parts.first.size() + parts.second.size());
    parts.first.append(parts.second);
    return std::move(parts.first);
}

std::pair<QByteArray, QByteArray> Writer::finishParts()
{
    m_out.put("}\r\n");
    Out body = std::exchange(m_out, Out());
    header();
    return { m_out.take(), body.take() };
}

} // namespace

struct PiecewiseWriter::State
{
    explicit State(const QTextDocument& document)
        : writer(document, 0, document.characterCount() - 1)
    { }
    Writer writer;
};

PiecewiseWriter::PiecewiseWriter(const QTextDocument& document)
    : m_state(std::make_unique<State>(document))
{
    m_state->writer.begin();
}

PiecewiseWriter::~PiecewiseWriter() = default;

bool PiecewiseWriter::step(int units)
{
    return m_state->writer.writeSome(std::max(units, 1));
}

int PiecewiseWriter::position() const
{
    return m_state->writer.position();
}

QByteArray PiecewiseWriter::take()
{
    return m_state->writer.finish();
}

std::pair<QByteArray, QByteArray> PiecewiseWriter::takeParts()
{
    return m_state->writer.finishParts();
}

QByteArray writeRtf(const QTextDocument& document, int from, int to)
{
    const int end = document.characterCount() - 1;
    if (to < 0 || to > end)
        to = end;
    from = std::clamp(from, 0, to);
    return Writer(document, from, to).write();
}

} // namespace penwick::rtf
