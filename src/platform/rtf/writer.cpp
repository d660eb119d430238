// SPDX-License-Identifier: GPL-2.0-or-later
// The rich-text writer: 7-bit ASCII that WordPad, Word and LibreOffice read back alike.
#include "platform/rtf/rtf.h"

#include "platform/pictures.h"

#include <QHash>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextList>

#include <cmath>
#include <unordered_map>
#include <vector>

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

bool isBullet(const QTextListFormat& f)
{
    return f.style() == QTextListFormat::ListDisc || f.style() == QTextListFormat::ListCircle
        || f.style() == QTextListFormat::ListSquare;
}

// What one character format writes: indexes into the tables and the on/off styles.
struct RunProps
{
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

private:
    void collect();
    int fontIndex(const QString& family);
    int colorIndex(const QColor& color);
    const RunProps& runProps(int formatIndex, const QTextCharFormat& f);
    void switchTo(const RunProps& p);
    void word(const char* w);
    void word(const char* w, int param);
    void text(QStringView s);
    void paragraph(const QTextBlock& block);
    void picture(const QTextImageFormat& f);

    const QTextDocument& m_doc;
    int m_from, m_to;
    QByteArray m_out;
    bool m_delimit = false; // the last thing written was a control word
    QStringList m_fonts;
    QHash<QString, int> m_fontIndex;
    int m_symbolFont = -1;
    std::vector<QRgb> m_colors;
    QHash<QRgb, int> m_colorIndex;
    std::unordered_map<int, RunProps> m_runs;
    RunProps m_current;
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
    if (it != m_runs.end())
        return it->second;
    RunProps p;
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
    return m_runs.emplace(formatIndex, p).first->second;
}

void Writer::collect()
{
    // Font 0 is the document's default font, so that runs without a family have one to name.
    fontIndex(m_doc.defaultFont().family());
    for (QTextBlock b = m_doc.findBlock(m_from); b.isValid() && b.position() <= m_to;
         b = b.next()) {
        if (QTextList* list = b.textList(); list && m_symbolFont < 0 && isBullet(list->format()))
            m_symbolFont = -2; // added after the text fonts
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment frag = it.fragment();
            if (frag.position() + frag.length() <= m_from || frag.position() >= m_to)
                continue;
            runProps(frag.charFormatIndex(), frag.charFormat());
        }
        runProps(b.charFormatIndex(), b.charFormat());
    }
    if (m_symbolFont == -2)
        m_symbolFont = fontIndex(QStringLiteral("Symbol"));
}

void Writer::word(const char* w)
{
    m_out += '\\';
    m_out += w;
    m_delimit = true;
}

void Writer::word(const char* w, int param)
{
    m_out += '\\';
    m_out += w;
    m_out += QByteArray::number(param);
    m_delimit = true;
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
        word(p.vertical == 1 ? "super" : p.vertical == 2 ? "sub" : "nosupersub");
    if (p.color != m_current.color)
        word("cf", p.color);
    if (p.highlight != m_current.highlight)
        word("highlight", p.highlight);
    m_current = p;
}

void Writer::text(QStringView s)
{
    const qsizetype n = s.size();
    const QChar* d = s.data();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t u = d[i].unicode();
        if (u >= 0x20 && u < 0x7F && u != '\\' && u != '{' && u != '}') {
            if (m_delimit) {
                m_out += ' ';
                m_delimit = false;
            }
            // Copy the whole plain stretch at once.
            qsizetype j = i + 1;
            while (j < n) {
                const char16_t v = d[j].unicode();
                if (v < 0x20 || v >= 0x7F || v == '\\' || v == '{' || v == '}')
                    break;
                ++j;
            }
            const qsizetype start = m_out.size();
            m_out.resize(start + (j - i));
            char* out = m_out.data() + start;
            for (qsizetype k = i; k < j; ++k)
                *out++ = char(d[k].unicode());
            i = j - 1;
            continue;
        }
        switch (u) {
        case '\\':
            m_out += "\\\\";
            m_delimit = false;
            continue;
        case '{':
            m_out += "\\{";
            m_delimit = false;
            continue;
        case '}':
            m_out += "\\}";
            m_delimit = false;
            continue;
        case '\t':
            word("tab");
            continue;
        case 0x2028:
            word("line");
            continue;
        case 0x00A0:
            m_out += "\\~";
            m_delimit = false;
            continue;
        case 0x00AD:
            m_out += "\\-";
            m_delimit = false;
            continue;
        case 0x2011:
            m_out += "\\_";
            m_delimit = false;
            continue;
        case 0xFFFC:
            continue; // a character object that is not a picture
        default:
            break;
        }
        if (u < 0x20 || u == 0x7F)
            continue;
        const int b = cp1252Byte(u);
        if (b >= 0) {
            m_out += "\\'";
            m_out += hexDigits[b >> 4];
            m_out += hexDigits[b & 15];
            m_delimit = false;
            continue;
        }
        // Signed 16-bit value and a one-character fallback (\uc1); surrogates go half by half.
        word("u", int(qint16(u)));
        m_out += '?';
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
    m_out += "{\\pict\\";
    m_out += kind;
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
    m_out += "\r\n";
    const QByteArray& bytes = pic->bytes;
    const qsizetype start = m_out.size();
    const qsizetype lines = (bytes.size() + 63) / 64;
    m_out.resize(start + bytes.size() * 2 + lines * 2);
    char* out = m_out.data() + start;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = uchar(bytes[i]);
        *out++ = hexDigits[b >> 4];
        *out++ = hexDigits[b & 15];
        if ((i & 63) == 63 || i + 1 == bytes.size()) {
            *out++ = '\r';
            *out++ = '\n';
        }
    }
    m_out.resize(out - m_out.data());
    m_out += '}';
    m_delimit = false;
}

void Writer::paragraph(const QTextBlock& block)
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
    QTextList* list = block.textList();
    int li = twips(bf.leftMargin());
    int fi = twips(bf.textIndent());
    if (list) {
        const QTextListFormat lf = list->format();
        const int indent = std::max(1, lf.indent());
        li += 720 * indent;
        fi = -360;
        const bool bullet = isBullet(lf);
        // The label as text for readers without list support, then the list itself.
        if (bullet) {
            m_out += "{\\pntext\\f" + QByteArray::number(std::max(m_symbolFont, 0))
                + "\\'B7\\tab}{\\*\\pn\\pnlvlblt\\pnf"
                + QByteArray::number(std::max(m_symbolFont, 0)) + "\\pnindent0{\\pntxtb\\'B7}}";
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
            m_out += "{\\pntext\\f0 ";
            m_delimit = false;
            text(label);
            m_out += "\\tab}{\\*\\pn\\pnlvlbody\\pnf0\\pnindent0\\pnstart1\\";
            m_out += style;
            m_out += "{\\pntxta.}}";
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

    const int blockStart = block.position();
    const int blockEnd = blockStart + block.length() - 1; // before the paragraph mark
    const int from = std::max(m_from, blockStart);
    const int to = std::min(m_to, blockEnd);
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment frag = it.fragment();
        const int fs = frag.position();
        const int fe = fs + frag.length();
        if (fe <= from || fs >= to)
            continue;
        const QTextCharFormat cf = frag.charFormat();
        if (cf.isImageFormat()) {
            const QTextImageFormat image = cf.toImageFormat();
            for (int i = std::max(fs, from); i < std::min(fe, to); ++i)
                picture(image);
            continue;
        }
        switchTo(runProps(frag.charFormatIndex(), cf));
        const QString t = frag.text();
        text(QStringView(t).sliced(std::max(fs, from) - fs, std::min(fe, to) - std::max(fs, from)));
    }
    if (from >= to) {
        // An empty paragraph keeps the size and font of its mark.
        switchTo(runProps(block.charFormatIndex(), block.charFormat()));
    }
    m_out += "\\par\r\n";
    m_delimit = false;
}

QByteArray Writer::write()
{
    collect();
    m_out.reserve(qsizetype((m_to - m_from) * 1.3) + 1024);
    m_current = RunProps();
    for (QTextBlock b = m_doc.findBlock(m_from); b.isValid() && b.position() <= m_to; b = b.next())
        paragraph(b);
    // The header goes in front of the body: the tables are complete only now.
    QByteArray body = std::move(m_out);
    m_out = QByteArray();
    m_out.reserve(body.size() + 1024);
    m_out += "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl";
    for (qsizetype i = 0; i < m_fonts.size(); ++i) {
        m_out += "{\\f" + QByteArray::number(i)
            + (i == m_symbolFont ? "\\ftech\\fcharset2 " : "\\fnil\\fcharset0 ");
        m_delimit = false;
        text(m_fonts[i].isEmpty() ? QStringLiteral("Arial") : m_fonts[i]);
        m_out += ";}";
    }
    m_out += "}\r\n{\\colortbl ;";
    for (const QRgb c : m_colors)
        m_out += "\\red" + QByteArray::number(qRed(c)) + "\\green" + QByteArray::number(qGreen(c))
            + "\\blue" + QByteArray::number(qBlue(c)) + ';';
    m_out += "}\r\n{\\*\\generator Penwick 4.0;}\\viewkind4\\uc1\\f0\\fs24\r\n";
    m_out += body;
    m_out += "}\r\n";
    return m_out;
}

} // namespace

QByteArray writeRtf(const QTextDocument& document, int from, int to)
{
    const int end = document.characterCount() - 1;
    if (to < 0 || to > end)
        to = end;
    from = std::clamp(from, 0, to);
    return Writer(document, from, to).write();
}

} // namespace penwick::rtf
