// SPDX-License-Identifier: GPL-2.0-or-later
// The rich-text reader: tokens -> group states -> runs inserted through one QTextCursor.
#include "platform/rtf/codepages.h"
#include "platform/rtf/keywords.h"
#include "platform/rtf/rtf.h"
#include "platform/rtf/tokenizer.h"

#include "platform/pictures.h"

#include <QHash>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <unordered_map>
#include <vector>

namespace penwick::rtf {
namespace {

constexpr int MaxDepth = 1024; // deeper groups share the state of the last saved one
constexpr int MaxTwips = 31680; // 22 inches: the largest indent or spacing we honour
constexpr int MaxHalfPoints = 3276; // 1638 points
constexpr int MaxUc = 64;
constexpr int MaxListLevel = 8;

int clampInt(int v, int lo, int hi)
{
    return std::min(std::max(v, lo), hi);
}

enum class Dest : std::uint8_t {
    Normal,
    FontTable,
    ColorTable,
    ListTable,
    ListOverrideTable,
    Pict,
    Pn,
};

enum class ListKind : std::uint8_t {
    None,
    Bullet,
    Decimal,
    UpperAlpha,
    LowerAlpha,
    UpperRoman,
    LowerRoman
};

// Character properties. All fields are int so that the struct has no padding and hashes by bits.
struct CharProps
{
    std::int32_t font = -1; // font number as written; -1: the default font
    std::int32_t halfPoints = 24;
    std::int32_t bold = 0;
    std::int32_t italic = 0;
    std::int32_t underline = 0;
    std::int32_t strike = 0;
    std::int32_t hidden = 0;
    std::int32_t vertical = 0; // 1 super, 2 sub
    std::int32_t color = 0; // colour-table index; 0 automatic
    std::int32_t highlight = 0;
    bool operator==(const CharProps&) const = default;
};

struct ParaProps
{
    std::int32_t align = 0; // 0 left, 1 centre, 2 right, 3 justify
    std::int32_t li = 0, ri = 0, fi = 0, sb = 0, sa = 0, sl = 0, slmult = 0;
    std::int32_t ls = 0, ilvl = 0; // modern list
    ListKind pn = ListKind::None; // legacy list
    std::int32_t pnLevel = 0;
    std::int32_t intbl = 0;
    bool operator==(const ParaProps&) const = default;
};

struct GroupState
{
    CharProps ch;
    ParaProps para;
    std::int32_t uc = 1;
    Dest dest = Dest::Normal;
    CodePageDecoder* decoder = nullptr;
};

struct FontEntry
{
    QString name;
    int codePage = 0; // 0: the document's
};

struct ListLevelDef
{
    int nfc = 0;
};

struct ListDef
{
    int id = 0;
    std::vector<ListLevelDef> levels;
};

struct PictState
{
    std::optional<PictureKind> kind;
    bool unsupported = false;
    int goalW = 0, goalH = 0, scaleX = 100, scaleY = 100;
    QByteArray data;
    int pendingNibble = -1;
};

size_t hashChar(const CharProps& p)
{
    return qHashBits(&p, sizeof p);
}

struct CharHash
{
    size_t operator()(const CharProps& p) const { return hashChar(p); }
};

ListKind kindForNfc(int nfc)
{
    switch (nfc) {
    case 23:
        return ListKind::Bullet;
    case 0:
        return ListKind::Decimal;
    case 1:
        return ListKind::UpperRoman;
    case 2:
        return ListKind::LowerRoman;
    case 3:
        return ListKind::UpperAlpha;
    case 4:
        return ListKind::LowerAlpha;
    case 255:
        return ListKind::None;
    default:
        return ListKind::Decimal;
    }
}

QTextListFormat::Style listStyle(ListKind kind)
{
    switch (kind) {
    case ListKind::Decimal:
        return QTextListFormat::ListDecimal;
    case ListKind::UpperAlpha:
        return QTextListFormat::ListUpperAlpha;
    case ListKind::LowerAlpha:
        return QTextListFormat::ListLowerAlpha;
    case ListKind::UpperRoman:
        return QTextListFormat::ListUpperRoman;
    case ListKind::LowerRoman:
        return QTextListFormat::ListLowerRoman;
    default:
        return QTextListFormat::ListDisc;
    }
}

// Puts paragraphs and runs into the document. The paragraph properties of a block are known only
// at its end, so each new block starts with the properties carried over from the one before, and
// is corrected when it ends differently (rare: \pard usually comes right after \par).
class Builder
{
public:
    // listKind tells which list, if any, paragraph properties put a paragraph in.
    Builder(QTextCursor& cursor, std::function<ListKind(const ParaProps&)> listKind)
        : m_listKind(std::move(listKind))
        , m_c(cursor)
        , m_doc(cursor.document())
    {
        m_c.removeSelectedText();
        m_hostFormat = m_c.blockFormat();
        m_hostAtStart = m_c.atBlockStart();
        m_hostAtEnd = m_c.atBlockEnd();
    }

    void text(const QString& s, const QTextCharFormat& f)
    {
        breakIfPending();
        m_c.insertText(s, f);
        m_hasContent = true;
    }

    void picture(const QTextImageFormat& f)
    {
        breakIfPending();
        m_c.insertImage(f);
        m_hasContent = true;
    }

    // \par: the break is made when more content follows, so that the last one is the end mark.
    void paragraphEnd(const ParaProps& props, const QTextCharFormat& mark)
    {
        breakIfPending();
        m_pending = true;
        m_pendingProps = props;
        m_pendingMark = mark;
    }

    bool paragraphHasContent() const { return m_hasContent && !m_pending; }
    bool anyContent() const { return m_hasContent || m_pending; }

    void finish(const ParaProps& trailing)
    {
        const ParaProps& props = m_pending ? m_pendingProps : trailing;
        if (!m_hasContent && !m_pending)
            return; // nothing read: the host stays as it was
        const bool own = m_breaks == 0 ? (m_hostAtStart && m_hostAtEnd) : m_hostAtEnd;
        if (own)
            apply(props);
        else if (m_breaks > 0)
            restoreHost();
    }

private:
    void breakIfPending()
    {
        if (!m_pending)
            return;
        m_pending = false;
        if (m_breaks == 0) {
            if (m_hostAtStart)
                apply(m_pendingProps);
        } else if (!(m_pendingProps == m_tentative)) {
            apply(m_pendingProps);
        }
        ++m_breaks;
        m_tentative = m_pendingProps;
        m_c.insertBlock(blockFormat(m_pendingProps, true), m_pendingMark);
        m_hasContent = false;
    }

    QTextBlockFormat blockFormat(const ParaProps& p, bool joinList)
    {
        if (!(p == m_cachedProps) || !m_cachedValid) {
            m_cachedProps = p;
            m_cachedValid = true;
            QTextBlockFormat f;
            switch (p.align) {
            case 1:
                f.setAlignment(Qt::AlignHCenter);
                break;
            case 2:
                f.setAlignment(Qt::AlignRight);
                break;
            case 3:
                f.setAlignment(Qt::AlignJustify);
                break;
            default:
                f.setAlignment(Qt::AlignLeft);
                break;
            }
            if (m_listKind(p) == ListKind::None) {
                if (p.li > 0)
                    f.setLeftMargin(p.li / 15.0);
                if (p.fi != 0)
                    f.setTextIndent(p.fi / 15.0);
            }
            if (p.ri > 0)
                f.setRightMargin(p.ri / 15.0);
            if (p.sb > 0)
                f.setTopMargin(p.sb / 15.0);
            if (p.sa > 0)
                f.setBottomMargin(p.sa / 15.0);
            if (p.sl != 0) {
                if (p.slmult && p.sl > 0)
                    f.setLineHeight(p.sl * 100.0 / 240.0, QTextBlockFormat::ProportionalHeight);
                else if (p.sl > 0)
                    f.setLineHeight(p.sl / 15.0, QTextBlockFormat::MinimumHeight);
                else
                    f.setLineHeight(-p.sl / 15.0, QTextBlockFormat::FixedHeight);
            }
            m_cachedFormat = f;
        }
        if (joinList && m_list && m_listKind(m_cachedProps) != ListKind::None
            && m_listKey == listKey(m_cachedProps)) {
            QTextBlockFormat f = m_cachedFormat;
            f.setObjectIndex(m_list->objectIndex());
            return f;
        }
        return m_cachedFormat;
    }

    // Which list a paragraph belongs to; \ls numbers may be as large as the parameter allows.
    static std::int64_t listKey(const ParaProps& p)
    {
        return (std::int64_t(p.ls) << 24) | (std::int64_t(p.ilvl) << 16)
            | (std::int64_t(p.pnLevel) << 8) | std::int64_t(p.pn);
    }

    // Gives the cursor's block the paragraph properties, list membership included.
    void apply(const ParaProps& props)
    {
        QTextBlock block = m_c.block();
        // The new format carries no list: the block leaves any list it was in.
        m_c.setBlockFormat(blockFormat(props, false));
        const ListKind kind = m_listKind(props);
        if (kind == ListKind::None)
            return;
        const std::int64_t key = listKey(props);
        const int level = std::clamp(props.ls ? props.ilvl : props.pnLevel, 0, MaxListLevel);
        QTextBlock prev = block.previous();
        if (m_list && m_listKey == key && prev.isValid() && prev.textList() == m_list) {
            m_list->add(block);
        } else {
            QTextListFormat lf;
            lf.setStyle(listStyle(kind));
            lf.setIndent(1 + level);
            m_list = m_c.createList(lf);
            m_listKey = key;
        }
    }

    void restoreHost()
    {
        QTextBlock block = m_c.block();
        if (QTextList* l = block.textList())
            l->remove(block);
        m_c.setBlockFormat(m_hostFormat);
        if (m_hostFormat.objectIndex() >= 0) {
            if (auto* list = qobject_cast<QTextList*>(m_doc->object(m_hostFormat.objectIndex())))
                list->add(block);
        }
    }

    std::function<ListKind(const ParaProps&)> m_listKind;
    QTextCursor& m_c;
    QTextDocument* m_doc;
    QTextBlockFormat m_hostFormat;
    bool m_hostAtStart = true;
    bool m_hostAtEnd = true;
    int m_breaks = 0;
    bool m_pending = false;
    bool m_hasContent = false;
    ParaProps m_pendingProps;
    QTextCharFormat m_pendingMark;
    ParaProps m_tentative;
    QTextList* m_list = nullptr;
    std::int64_t m_listKey = -1;
    ParaProps m_cachedProps;
    bool m_cachedValid = false;
    QTextBlockFormat m_cachedFormat;
};

class Reader
{
public:
    Reader(QTextCursor& cursor, QByteArrayView data)
        : m_tok(data)
        , m_builder(cursor, [this](const ParaProps& p) { return listKindOf(p); })
        , m_doc(cursor.document())
    { }

    void run();

private:
    GroupState& st() { return m_stack.back(); }

    // Group handling
    void pushGroup();
    void popGroup();

    // Tokens
    void controlWord(const Token& t);
    void controlSymbol(char c);
    void textBytes(QByteArrayView bytes);
    void hexByte(std::uint8_t b);
    void binary(QByteArrayView bytes);

    bool formatting(Kw kw, bool hasParam, std::int32_t param, CharProps& ch, ParaProps& para);
    void enterDestination(Kw kw);
    void skipCurrentGroup();

    // Text
    void appendText(QStringView s);
    void appendChar(char16_t c) { appendText(QStringView(&c, 1)); }
    void appendUnicode(std::int32_t value);
    void flushRun();
    void flushSurrogate();
    void paragraphBreak();
    void cellEnd();
    void updateDecoder();
    CodePageDecoder* decoderFor(int codePage);
    int codePageOfFont(int number);

    const QTextCharFormat& charFormat(const CharProps& p);
    ListKind listKindOf(const ParaProps& p) const;

    // Tables read from the header
    void fontText(QByteArrayView bytes);
    void finishFontEntry();
    void colorText(QByteArrayView bytes);
    void finishPicture();

    Tokenizer m_tok;
    Builder m_builder;
    QTextDocument* m_doc;
    std::vector<GroupState> m_stack;
    int m_overflow = 0;
    bool m_done = false;
    bool m_starPending = false;
    int m_skipUnits = 0;
    char16_t m_highSurrogate = 0;

    int m_docCodePage = CodePageAnsi;
    int m_defaultFont = 0;
    std::map<int, FontEntry> m_fonts;
    std::map<int, std::unique_ptr<CodePageDecoder>> m_decoders;

    // Font entry being read
    bool m_fontOpen = false;
    int m_fontNumber = 0;
    int m_fontCharset = -1;
    int m_fontCpg = 0;
    QByteArray m_fontName;

    std::vector<std::optional<QColor>> m_colors;
    int m_red = -1, m_green = -1, m_blue = -1;

    std::vector<ListDef> m_lists;
    std::map<int, int> m_overrides; // \ls number -> list id
    int m_overrideLs = 0, m_overrideListId = 0;
    bool m_overrideOpen = false;

    PictState m_pict;

    QString m_run;
    CharProps m_runProps;
    bool m_runValid = false;
    std::unordered_map<CharProps, QTextCharFormat, CharHash> m_formats;
    const QTextCharFormat* m_lastFormat = nullptr;
    CharProps m_lastFormatProps;
    bool m_cellPending = false;
};

void Reader::run()
{
    // The document group; anything before its brace was checked by the caller.
    m_stack.reserve(64);
    GroupState root;
    root.decoder = decoderFor(CodePageAnsi);
    m_stack.push_back(root);
    Token t = m_tok.next(); // the opening brace
    if (t.type != Token::GroupOpen) // never: callers accept only data that looksLikeRtf()
        return;
    while (!m_done) {
        t = m_tok.next();
        if (m_skipUnits > 0) {
            switch (t.type) {
            case Token::Text: {
                const qsizetype n = std::min<qsizetype>(m_skipUnits, t.view.size());
                m_skipUnits -= int(n);
                t.view = t.view.sliced(n);
                if (t.view.isEmpty())
                    continue;
                break;
            }
            case Token::ControlWord:
            case Token::ControlSymbol:
            case Token::HexByte:
            case Token::Binary:
            case Token::ParBreak:
                --m_skipUnits;
                continue;
            default:
                m_skipUnits = 0;
                break;
            }
        }
        switch (t.type) {
        case Token::End:
            m_done = true;
            break;
        case Token::GroupOpen:
            pushGroup();
            break;
        case Token::GroupClose:
            popGroup();
            break;
        case Token::Text:
            textBytes(t.view);
            break;
        case Token::ControlWord:
            controlWord(t);
            break;
        case Token::ControlSymbol:
            controlSymbol(t.symbol);
            break;
        case Token::HexByte:
            hexByte(t.byte);
            break;
        case Token::Binary:
            binary(t.view);
            break;
        case Token::ParBreak:
            if (st().dest == Dest::Normal)
                paragraphBreak();
            break;
        }
    }
    flushSurrogate();
    st().decoder->flush(m_run);
    flushRun();
    m_builder.finish(m_stack.front().para);
}

void Reader::pushGroup()
{
    m_starPending = false;
    if (int(m_stack.size()) >= MaxDepth) {
        ++m_overflow;
        return;
    }
    m_stack.push_back(m_stack.back());
    if (st().dest == Dest::ListOverrideTable && !m_overrideOpen) {
        m_overrideOpen = true;
        m_overrideLs = 0;
        m_overrideListId = 0;
    }
}

void Reader::popGroup()
{
    m_starPending = false;
    if (m_overflow > 0) {
        --m_overflow;
        return;
    }
    if (m_stack.size() <= 1) {
        m_done = true; // the brace that closes the document
        return;
    }
    const GroupState closing = m_stack.back();
    m_stack.pop_back();
    GroupState& parent = st();
    if (closing.dest != parent.dest) {
        switch (closing.dest) {
        case Dest::FontTable:
            finishFontEntry();
            break;
        case Dest::Pict:
            finishPicture();
            break;
        case Dest::Pn:
            parent.para.pn = closing.para.pn;
            parent.para.pnLevel = closing.para.pnLevel;
            break;
        default:
            break;
        }
    }
    if (closing.dest == Dest::FontTable && parent.dest == Dest::FontTable)
        finishFontEntry();
    if (closing.dest == Dest::ListOverrideTable && m_overrideOpen
        && parent.dest == Dest::ListOverrideTable) {
        m_overrideOpen = false;
        if (m_overrideLs != 0 && m_overrides.size() < 100000)
            m_overrides[m_overrideLs] = m_overrideListId;
    }
    if (closing.decoder != parent.decoder)
        closing.decoder->flush(m_run);
}

void Reader::skipCurrentGroup()
{
    m_tok.skipGroup();
    // The skipped group's closing brace was consumed with it.
    if (m_overflow > 0)
        --m_overflow;
    else if (m_stack.size() > 1)
        m_stack.pop_back();
    else
        m_done = true;
}

void Reader::enterDestination(Kw kw)
{
    GroupState& s = st();
    switch (kw) {
    case Kw::Fonttbl:
        s.dest = Dest::FontTable;
        break;
    case Kw::Colortbl:
        s.dest = Dest::ColorTable;
        m_red = m_green = m_blue = -1;
        break;
    case Kw::Listtable:
        s.dest = Dest::ListTable;
        break;
    case Kw::Listoverridetable:
        s.dest = Dest::ListOverrideTable;
        break;
    case Kw::Pict:
        if (s.dest == Dest::Normal) {
            s.dest = Dest::Pict;
            m_pict = PictState();
        } else {
            skipCurrentGroup();
        }
        break;
    case Kw::Pn:
        if (s.dest == Dest::Normal) {
            s.dest = Dest::Pn;
            s.para.pn = ListKind::Bullet; // until a level word says otherwise
            s.para.pnLevel = 0;
        } else {
            skipCurrentGroup();
        }
        break;
    default:
        break;
    }
}

bool Reader::formatting(Kw kw, bool hasParam, std::int32_t param, CharProps& ch, ParaProps& para)
{
    const bool on = !hasParam || param != 0;
    switch (kw) {
    case Kw::Plain:
        ch = CharProps();
        return true;
    case Kw::B:
        ch.bold = on;
        return true;
    case Kw::I:
        ch.italic = on;
        return true;
    case Kw::Ul:
        ch.underline = on;
        return true;
    case Kw::UlVariant:
        ch.underline = on;
        return true;
    case Kw::Ulnone:
        ch.underline = 0;
        return true;
    case Kw::Strike:
    case Kw::Striked:
        ch.strike = on;
        return true;
    case Kw::Fs:
        ch.halfPoints = hasParam ? clampInt(param, 2, MaxHalfPoints) : 24;
        return true;
    case Kw::F:
        ch.font = hasParam ? param : m_defaultFont;
        return true;
    case Kw::Cf:
        ch.color = std::max(0, param);
        return true;
    case Kw::Highlight:
    case Kw::Chcbpat:
        ch.highlight = std::max(0, param);
        return true;
    case Kw::V:
        ch.hidden = on;
        return true;
    case Kw::Sub:
        ch.vertical = 2;
        return true;
    case Kw::Super:
        ch.vertical = 1;
        return true;
    case Kw::Nosupersub:
        ch.vertical = 0;
        return true;
    case Kw::Pard:
        para = ParaProps();
        return true;
    case Kw::Ql:
        para.align = 0;
        return true;
    case Kw::Qc:
        para.align = 1;
        return true;
    case Kw::Qr:
        para.align = 2;
        return true;
    case Kw::Qj:
    case Kw::Qd:
        para.align = 3;
        return true;
    case Kw::Li:
        para.li = clampInt(param, -MaxTwips, MaxTwips);
        return true;
    case Kw::Ri:
        para.ri = clampInt(param, -MaxTwips, MaxTwips);
        return true;
    case Kw::Fi:
        para.fi = clampInt(param, -MaxTwips, MaxTwips);
        return true;
    case Kw::Sb:
        para.sb = clampInt(param, 0, MaxTwips);
        return true;
    case Kw::Sa:
        para.sa = clampInt(param, 0, MaxTwips);
        return true;
    case Kw::Sl:
        para.sl = clampInt(param, -MaxTwips, MaxTwips);
        return true;
    case Kw::Slmult:
        para.slmult = on;
        return true;
    case Kw::Intbl:
        para.intbl = 1;
        return true;
    case Kw::Ls:
        para.ls = std::max(0, param);
        return true;
    case Kw::Ilvl:
        para.ilvl = clampInt(param, 0, MaxListLevel);
        return true;
    default:
        return false;
    }
}

ListKind Reader::listKindOf(const ParaProps& p) const
{
    if (p.ls > 0) {
        auto o = m_overrides.find(p.ls);
        if (o == m_overrides.end())
            return ListKind::Bullet; // a dangling list reference still marks a list paragraph
        for (const ListDef& l : m_lists) {
            if (l.id == o->second) {
                if (l.levels.empty())
                    return ListKind::Bullet;
                const auto level = std::min<size_t>(size_t(p.ilvl), l.levels.size() - 1);
                return kindForNfc(l.levels[level].nfc);
            }
        }
        return ListKind::Bullet;
    }
    return p.pn;
}

void Reader::controlWord(const Token& t)
{
    const Kw kw = lookupKeyword(t.view);
    GroupState& s = st();
    const bool star = m_starPending;
    m_starPending = false;

    // Destinations first: they decide what the rest of the group means.
    switch (kw) {
    case Kw::SkipDest:
        skipCurrentGroup();
        return;
    case Kw::Fonttbl:
    case Kw::Colortbl:
    case Kw::Listtable:
    case Kw::Listoverridetable:
    case Kw::Pict:
    case Kw::Pn:
        enterDestination(kw);
        return;
    case Kw::Shppict:
    case Kw::Fldrslt:
    case Kw::Result:
    case Kw::Shprslt:
    case Kw::Field:
    case Kw::Upr:
        return; // their content reads as ordinary content
    default:
        break;
    }
    if (star && kw == Kw::Unknown) {
        skipCurrentGroup();
        return;
    }

    switch (s.dest) {
    case Dest::FontTable:
        switch (kw) {
        case Kw::F:
            finishFontEntry();
            m_fontOpen = true;
            m_fontNumber = t.param;
            m_fontCharset = -1;
            m_fontCpg = 0;
            m_fontName.clear();
            break;
        case Kw::Fcharset:
            m_fontCharset = t.param;
            break;
        case Kw::Cpg:
            m_fontCpg = t.param;
            break;
        case Kw::U:
            appendUnicode(t.param);
            m_skipUnits = s.uc;
            break;
        default:
            break;
        }
        return;
    case Dest::ColorTable:
        switch (kw) {
        case Kw::Red:
            m_red = clampInt(t.param, 0, 255);
            break;
        case Kw::Green:
            m_green = clampInt(t.param, 0, 255);
            break;
        case Kw::Blue:
            m_blue = clampInt(t.param, 0, 255);
            break;
        default:
            break;
        }
        return;
    case Dest::ListTable:
        if (m_lists.size() > 10000)
            return;
        if (kw == Kw::List)
            m_lists.emplace_back();
        else if (kw == Kw::Listid && !m_lists.empty())
            m_lists.back().id = t.param;
        else if (kw == Kw::Listlevel && !m_lists.empty() && m_lists.back().levels.size() < 16)
            m_lists.back().levels.emplace_back();
        else if (kw == Kw::Levelnfc && !m_lists.empty() && !m_lists.back().levels.empty())
            m_lists.back().levels.back().nfc = t.param;
        return;
    case Dest::ListOverrideTable:
        if (kw == Kw::Listid)
            m_overrideListId = t.param;
        else if (kw == Kw::Ls)
            m_overrideLs = t.param;
        return;
    case Dest::Pict:
        switch (kw) {
        case Kw::Pngblip:
            m_pict.kind = PictureKind::Png;
            break;
        case Kw::Jpegblip:
            m_pict.kind = PictureKind::Jpeg;
            break;
        case Kw::Emfblip:
            m_pict.kind = PictureKind::Emf;
            break;
        case Kw::Wmetafile:
            m_pict.kind = PictureKind::Wmf;
            break;
        case Kw::Dibitmap:
            m_pict.kind = PictureKind::Dib;
            break;
        case Kw::Wbitmap:
        case Kw::Macpict:
        case Kw::Pmmetafile:
            m_pict.unsupported = true;
            break;
        case Kw::Picwgoal:
            m_pict.goalW = clampInt(t.param, 0, MaxPictureSide * 15);
            break;
        case Kw::Pichgoal:
            m_pict.goalH = clampInt(t.param, 0, MaxPictureSide * 15);
            break;
        case Kw::Picscalex:
            m_pict.scaleX = clampInt(t.param, 1, 10000);
            break;
        case Kw::Picscaley:
            m_pict.scaleY = clampInt(t.param, 1, 10000);
            break;
        default:
            break;
        }
        return;
    case Dest::Pn:
        switch (kw) {
        case Kw::Pnlvlblt:
            s.para.pn = ListKind::Bullet;
            break;
        case Kw::Pnlvlbody:
        case Kw::Pnlvlcont:
            if (s.para.pn == ListKind::Bullet)
                s.para.pn = ListKind::Decimal;
            break;
        case Kw::Pnlvl:
            s.para.pnLevel = clampInt(t.param, 1, MaxListLevel + 1) - 1;
            if (s.para.pn == ListKind::Bullet)
                s.para.pn = ListKind::Decimal;
            break;
        case Kw::Pndec:
            s.para.pn = ListKind::Decimal;
            break;
        case Kw::Pnucltr:
            s.para.pn = ListKind::UpperAlpha;
            break;
        case Kw::Pnlcltr:
            s.para.pn = ListKind::LowerAlpha;
            break;
        case Kw::Pnucrm:
            s.para.pn = ListKind::UpperRoman;
            break;
        case Kw::Pnlcrm:
            s.para.pn = ListKind::LowerRoman;
            break;
        default:
            break;
        }
        return;
    case Dest::Normal:
        break;
    }

    // Ordinary content.
    switch (kw) {
    case Kw::Ansi:
        m_docCodePage = 1252;
        updateDecoder();
        break;
    case Kw::Mac:
        m_docCodePage = 10000;
        updateDecoder();
        break;
    case Kw::Pc:
        m_docCodePage = 437;
        updateDecoder();
        break;
    case Kw::Pca:
        m_docCodePage = 850;
        updateDecoder();
        break;
    case Kw::Ansicpg:
        if (t.param > 0 && t.param < 65536)
            m_docCodePage = t.param;
        updateDecoder();
        break;
    case Kw::Deff:
        m_defaultFont = t.param;
        break;
    case Kw::Uc:
        s.uc = clampInt(t.param, 0, MaxUc);
        break;
    case Kw::U:
        appendUnicode(t.param);
        m_skipUnits = s.uc;
        break;
    case Kw::Par:
        paragraphBreak();
        break;
    case Kw::Line:
        appendChar(QChar::LineSeparator);
        break;
    case Kw::Tab:
        appendChar(u'\t');
        break;
    case Kw::Page:
    case Kw::Sect:
        if (m_builder.paragraphHasContent() || !m_run.isEmpty())
            paragraphBreak();
        break;
    case Kw::Cell:
    case Kw::Nestcell:
        cellEnd();
        break;
    case Kw::Row:
    case Kw::Nestrow:
        m_cellPending = false;
        paragraphBreak();
        break;
    case Kw::Emdash:
        appendChar(0x2014);
        break;
    case Kw::Endash:
        appendChar(0x2013);
        break;
    case Kw::Bullet:
        appendChar(0x2022);
        break;
    case Kw::Lquote:
        appendChar(0x2018);
        break;
    case Kw::Rquote:
        appendChar(0x2019);
        break;
    case Kw::Ldblquote:
        appendChar(0x201C);
        break;
    case Kw::Rdblquote:
        appendChar(0x201D);
        break;
    case Kw::Emspace:
        appendChar(0x2003);
        break;
    case Kw::Enspace:
        appendChar(0x2002);
        break;
    case Kw::Qmspace:
        appendChar(0x2005);
        break;
    case Kw::Zwj:
        appendChar(0x200D);
        break;
    case Kw::Zwnj:
        appendChar(0x200C);
        break;
    case Kw::Ltrmark:
        appendChar(0x200E);
        break;
    case Kw::Rtlmark:
        appendChar(0x200F);
        break;
    case Kw::Zwbo:
        appendChar(0x200B);
        break;
    case Kw::Zwnbo:
        appendChar(0xFEFF);
        break;
    default:
        if (formatting(kw, t.hasParam, t.param, s.ch, s.para)) {
            if (kw == Kw::F || kw == Kw::Plain)
                updateDecoder();
        }
        break;
    }
}

void Reader::controlSymbol(char c)
{
    if (c == '*') {
        m_starPending = true;
        return;
    }
    m_starPending = false;
    const Dest d = st().dest;
    if (d == Dest::FontTable) {
        if (c == '\\' || c == '{' || c == '}')
            fontText(QByteArrayView(&c, 1));
        return;
    }
    if (d != Dest::Normal)
        return;
    switch (c) {
    case '\\':
    case '{':
    case '}':
        appendChar(char16_t(c));
        break;
    case '~':
        appendChar(0x00A0);
        break;
    case '-':
        appendChar(0x00AD);
        break;
    case '_':
        appendChar(0x2011);
        break;
    case '\t':
        appendChar(u'\t');
        break;
    default:
        break;
    }
}

void Reader::textBytes(QByteArrayView bytes)
{
    m_starPending = false;
    GroupState& s = st();
    switch (s.dest) {
    case Dest::Normal:
        break;
    case Dest::FontTable:
        fontText(bytes);
        return;
    case Dest::ColorTable:
        colorText(bytes);
        return;
    case Dest::Pict: {
        for (const char c : bytes) {
            int v;
            if (c >= '0' && c <= '9')
                v = c - '0';
            else if (c >= 'a' && c <= 'f')
                v = c - 'a' + 10;
            else if (c >= 'A' && c <= 'F')
                v = c - 'A' + 10;
            else
                continue;
            if (m_pict.pendingNibble < 0) {
                m_pict.pendingNibble = v;
            } else {
                m_pict.data.append(char(m_pict.pendingNibble * 16 + v));
                m_pict.pendingNibble = -1;
            }
        }
        return;
    }
    default:
        return;
    }
    if (s.ch.hidden)
        return;
    if (m_highSurrogate)
        flushSurrogate();
    if (m_cellPending) {
        m_cellPending = false;
        appendChar(u'\t');
    }
    if (!m_runValid || !(m_runProps == s.ch)) {
        flushRun();
        m_runProps = s.ch;
        m_runValid = true;
    }
    s.decoder->decode(bytes, m_run);
}

void Reader::hexByte(std::uint8_t b)
{
    const char c = char(b);
    const Dest d = st().dest;
    if (d == Dest::Normal || d == Dest::FontTable)
        textBytes(QByteArrayView(&c, 1));
    else if (d == Dest::Pict)
        m_pict.data.append(c); // a hex escape inside picture data: take the byte
}

void Reader::binary(QByteArrayView bytes)
{
    m_starPending = false;
    if (st().dest == Dest::Pict) {
        m_pict.data.append(bytes.data(), bytes.size());
        m_pict.pendingNibble = -1;
    }
}

void Reader::appendText(QStringView s)
{
    GroupState& g = st();
    if (g.dest == Dest::FontTable) {
        const QByteArray utf8 = s.toUtf8();
        // Font names keep their characters; mark them as already decoded.
        m_fontName.append('\x01').append(utf8).append('\x02');
        return;
    }
    if (g.dest != Dest::Normal || g.ch.hidden)
        return;
    if (m_highSurrogate && !(s.size() == 1 && s[0].isLowSurrogate()))
        flushSurrogate();
    if (m_cellPending) {
        m_cellPending = false;
        const char16_t tab = u'\t';
        appendText(QStringView(&tab, 1));
    }
    if (!m_runValid || !(m_runProps == g.ch)) {
        flushRun();
        m_runProps = g.ch;
        m_runValid = true;
    }
    g.decoder->flush(m_run);
    m_run.append(s);
}

void Reader::appendUnicode(std::int32_t value)
{
    if (value < 0)
        value += 65536;
    if (value < 0 || value > 0xFFFF) {
        appendChar(0xFFFD);
        return;
    }
    const auto u = char16_t(value);
    if (QChar::isHighSurrogate(u)) {
        flushSurrogate();
        m_highSurrogate = u;
        return;
    }
    if (QChar::isLowSurrogate(u)) {
        if (m_highSurrogate) {
            const char16_t pair[2] = { m_highSurrogate, u };
            m_highSurrogate = 0;
            appendText(QStringView(pair, 2));
        } else {
            appendChar(0xFFFD);
        }
        return;
    }
    appendChar(u);
}

void Reader::flushSurrogate()
{
    if (m_highSurrogate) {
        m_highSurrogate = 0;
        appendChar(0xFFFD);
    }
}

void Reader::flushRun()
{
    if (m_run.isEmpty())
        return;
    m_builder.text(m_run, charFormat(m_runProps));
    m_run.resize(0);
}

void Reader::paragraphBreak()
{
    flushSurrogate();
    st().decoder->flush(m_run);
    m_cellPending = false;
    flushRun();
    m_builder.paragraphEnd(st().para, charFormat(st().ch));
}

void Reader::cellEnd()
{
    flushSurrogate();
    st().decoder->flush(m_run);
    if (m_cellPending) {
        m_cellPending = false;
        appendChar(u'\t'); // an empty cell still takes its place
    }
    m_cellPending = true;
}

CodePageDecoder* Reader::decoderFor(int codePage)
{
    auto it = m_decoders.find(codePage);
    if (it == m_decoders.end())
        it = m_decoders.emplace(codePage, std::make_unique<CodePageDecoder>(codePage)).first;
    return it->second.get();
}

int Reader::codePageOfFont(int number)
{
    auto it = m_fonts.find(number);
    if (it == m_fonts.end())
        it = m_fonts.find(m_defaultFont);
    if (it == m_fonts.end() || it->second.codePage == 0)
        return m_docCodePage;
    return it->second.codePage;
}

void Reader::updateDecoder()
{
    GroupState& s = st();
    CodePageDecoder* d = decoderFor(codePageOfFont(s.ch.font < 0 ? m_defaultFont : s.ch.font));
    if (d != s.decoder) {
        if (s.decoder)
            s.decoder->flush(m_run);
        s.decoder = d;
    }
}

const QTextCharFormat& Reader::charFormat(const CharProps& p)
{
    if (m_lastFormat && m_lastFormatProps == p)
        return *m_lastFormat;
    auto it = m_formats.find(p);
    if (it == m_formats.end()) {
        QTextCharFormat f;
        auto font = m_fonts.find(p.font < 0 ? m_defaultFont : p.font);
        if (font == m_fonts.end())
            font = m_fonts.find(m_defaultFont);
        if (font != m_fonts.end() && !font->second.name.isEmpty())
            f.setFontFamilies(QStringList { font->second.name });
        f.setFontPointSize(p.halfPoints / 2.0);
        if (p.bold)
            f.setFontWeight(QFont::Bold);
        if (p.italic)
            f.setFontItalic(true);
        if (p.underline)
            f.setFontUnderline(true);
        if (p.strike)
            f.setFontStrikeOut(true);
        if (p.vertical == 1)
            f.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
        else if (p.vertical == 2)
            f.setVerticalAlignment(QTextCharFormat::AlignSubScript);
        if (p.color > 0 && size_t(p.color) < m_colors.size() && m_colors[size_t(p.color)])
            f.setForeground(*m_colors[size_t(p.color)]);
        if (p.highlight > 0 && size_t(p.highlight) < m_colors.size()
            && m_colors[size_t(p.highlight)])
            f.setBackground(*m_colors[size_t(p.highlight)]);
        if (m_formats.size() > 4096)
            m_formats.clear();
        it = m_formats.emplace(p, f).first;
    }
    m_lastFormat = &it->second;
    m_lastFormatProps = p;
    return it->second;
}

void Reader::fontText(QByteArrayView bytes)
{
    for (const char c : bytes) {
        if (c == ';') {
            finishFontEntry();
            continue;
        }
        if (m_fontOpen && m_fontName.size() < 256)
            m_fontName.append(c);
    }
}

void Reader::finishFontEntry()
{
    if (!m_fontOpen)
        return;
    m_fontOpen = false;
    FontEntry e;
    if (m_fontCpg > 0)
        e.codePage = m_fontCpg;
    else if (m_fontCharset >= 0 && m_fontCharset != 1)
        e.codePage = codePageForCharset(m_fontCharset);
    // Decode the name in the font's own code page; \u characters came already decoded.
    CodePageDecoder decoder(e.codePage == CodePageSymbol ? CodePageAnsi
            : e.codePage                                 ? e.codePage
                                                         : m_docCodePage);
    QString name;
    qsizetype i = 0;
    while (i < m_fontName.size()) {
        if (m_fontName[i] == '\x01') {
            const qsizetype end = m_fontName.indexOf('\x02', i);
            const qsizetype stop = end < 0 ? m_fontName.size() : end;
            name += QString::fromUtf8(m_fontName.mid(i + 1, stop - i - 1));
            i = stop + 1;
            continue;
        }
        qsizetype j = i;
        while (j < m_fontName.size() && m_fontName[j] != '\x01')
            ++j;
        decoder.decode(QByteArrayView(m_fontName).sliced(i, j - i), name);
        i = j;
    }
    decoder.flush(name);
    e.name = name.trimmed();
    if (e.codePage == CodePageSymbol && e.name.compare(u"Symbol", Qt::CaseInsensitive) != 0)
        e.codePage = CodePageSymbolPrivate;
    if (m_fonts.size() < 100000 || m_fonts.count(m_fontNumber))
        m_fonts[m_fontNumber] = e;
    m_lastFormat = nullptr;
    m_formats.clear();
    m_fontName.clear();
    updateDecoder();
}

void Reader::colorText(QByteArrayView bytes)
{
    for (const char c : bytes) {
        if (c != ';')
            continue;
        if (m_colors.size() >= 100000)
            return;
        if (m_red < 0 && m_green < 0 && m_blue < 0)
            m_colors.emplace_back(std::nullopt);
        else
            m_colors.emplace_back(
                QColor(std::max(m_red, 0), std::max(m_green, 0), std::max(m_blue, 0)));
        m_red = m_green = m_blue = -1;
        m_formats.clear();
        m_lastFormat = nullptr;
    }
}

void Reader::finishPicture()
{
    PictState pict = std::move(m_pict);
    m_pict = PictState();
    if (!pict.kind || pict.unsupported || pict.data.isEmpty() || st().dest != Dest::Normal
        || st().ch.hidden)
        return;
    const auto picture = pictureFromRtf(*pict.kind, std::move(pict.data),
        QSize(pict.goalW, pict.goalH), QSize(pict.scaleX, pict.scaleY));
    if (!picture)
        return; // only this picture is lost
    const auto format = pictureFormat(*m_doc, *picture);
    if (!format) // a sound header over data that do not decode
        return;
    if (m_cellPending) {
        m_cellPending = false;
        appendChar(u'\t');
    }
    flushRun();
    m_builder.picture(*format);
}

bool readInto(QTextCursor& cursor, QByteArrayView data)
{
    if (!looksLikeRtf(data))
        return false;
    if (data.startsWith("\xEF\xBB\xBF"))
        data = data.sliced(3);
    cursor.beginEditBlock();
    {
        Reader reader(cursor, data);
        reader.run();
    }
    cursor.endEditBlock();
    return true;
}

} // namespace

bool looksLikeRtf(QByteArrayView data)
{
    if (data.startsWith("\xEF\xBB\xBF"))
        data = data.sliced(3);
    return data.startsWith("{\\rtf");
}

bool insertRtf(QTextCursor& cursor, QByteArrayView data)
{
    if (cursor.isNull())
        return false;
    return readInto(cursor, data);
}

bool readRtf(QTextDocument& document, QByteArrayView data)
{
    if (!looksLikeRtf(data))
        return false;
    const bool undo = document.isUndoRedoEnabled();
    document.setUndoRedoEnabled(false);
    document.clear();
    QTextCursor cursor(&document);
    readInto(cursor, data);
    document.setUndoRedoEnabled(undo);
    return true;
}

} // namespace penwick::rtf
