// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/rtf/keywords.h"

#include <array>
#include <cstring>

namespace penwick::rtf {
namespace {

struct Entry
{
    const char* word;
    Kw kw;
};

// clang-format off
constexpr Entry entries[] = {
    {"rtf", Kw::Rtf}, {"ansi", Kw::Ansi}, {"mac", Kw::Mac}, {"pc", Kw::Pc}, {"pca", Kw::Pca},
    {"ansicpg", Kw::Ansicpg}, {"deff", Kw::Deff}, {"uc", Kw::Uc}, {"u", Kw::U}, {"upr", Kw::Upr},
    {"fonttbl", Kw::Fonttbl}, {"colortbl", Kw::Colortbl}, {"stylesheet", Kw::SkipDest},
    {"listtable", Kw::Listtable}, {"listoverridetable", Kw::Listoverridetable}, {"pict", Kw::Pict},
    {"pn", Kw::Pn}, {"field", Kw::Field}, {"fldrslt", Kw::Fldrslt}, {"shppict", Kw::Shppict},
    {"result", Kw::Result}, {"shprslt", Kw::Shprslt},
    // Destinations whose content never shows.
    {"info", Kw::SkipDest}, {"header", Kw::SkipDest}, {"headerl", Kw::SkipDest},
    {"headerr", Kw::SkipDest}, {"headerf", Kw::SkipDest}, {"footer", Kw::SkipDest},
    {"footerl", Kw::SkipDest}, {"footerr", Kw::SkipDest}, {"footerf", Kw::SkipDest},
    {"footnote", Kw::SkipDest}, {"fldinst", Kw::SkipDest}, {"objdata", Kw::SkipDest},
    {"pntext", Kw::SkipDest}, {"listtext", Kw::SkipDest}, {"nonshppict", Kw::SkipDest},
    {"pnseclvl", Kw::SkipDest}, {"themedata", Kw::SkipDest}, {"datastore", Kw::SkipDest},
    {"latentstyles", Kw::SkipDest}, {"bkmkstart", Kw::SkipDest}, {"bkmkend", Kw::SkipDest},
    {"annotation", Kw::SkipDest}, {"atnid", Kw::SkipDest}, {"atnauthor", Kw::SkipDest},
    {"atrfstart", Kw::SkipDest}, {"atrfend", Kw::SkipDest}, {"atndate", Kw::SkipDest},
    {"xe", Kw::SkipDest}, {"tc", Kw::SkipDest}, {"txe", Kw::SkipDest}, {"rxe", Kw::SkipDest},
    {"template", Kw::SkipDest}, {"revtbl", Kw::SkipDest}, {"rsidtbl", Kw::SkipDest},
    {"generator", Kw::SkipDest}, {"xmlnstbl", Kw::SkipDest}, {"filetbl", Kw::SkipDest},
    {"listpicture", Kw::SkipDest}, {"pgdsctbl", Kw::SkipDest}, {"private", Kw::SkipDest},
    {"userprops", Kw::SkipDest}, {"docvar", Kw::SkipDest}, {"ftnsep", Kw::SkipDest},
    {"ftnsepc", Kw::SkipDest}, {"ftncn", Kw::SkipDest}, {"aftnsep", Kw::SkipDest},
    {"aftnsepc", Kw::SkipDest}, {"aftncn", Kw::SkipDest}, {"objclass", Kw::SkipDest},
    {"objname", Kw::SkipDest}, {"objalias", Kw::SkipDest}, {"objsect", Kw::SkipDest},
    {"objtime", Kw::SkipDest}, {"shpinst", Kw::SkipDest}, {"do", Kw::SkipDest},
    {"mmathPr", Kw::SkipDest}, {"operator", Kw::SkipDest}, {"author", Kw::SkipDest},
    {"comment", Kw::SkipDest}, {"title", Kw::SkipDest}, {"subject", Kw::SkipDest},
    {"keywords", Kw::SkipDest}, {"doccomm", Kw::SkipDest}, {"company", Kw::SkipDest},
    {"password", Kw::SkipDest}, {"protusertbl", Kw::SkipDest}, {"wgrffmtfilter", Kw::SkipDest},
    {"falt", Kw::SkipDest}, {"panose", Kw::SkipDest}, {"fname", Kw::SkipDest},
    {"leveltext", Kw::SkipDest}, {"levelnumbers", Kw::SkipDest}, {"listname", Kw::SkipDest},
    {"blipuid", Kw::SkipDest}, {"picprop", Kw::SkipDest}, {"sp", Kw::SkipDest},
    {"ud", Kw::SkipDest}, {"nesttableprops", Kw::SkipDest}, {"background", Kw::SkipDest},
    {"shpgrp", Kw::SkipDest}, {"fchars", Kw::SkipDest}, {"lchars", Kw::SkipDest},
    {"colorschememapping", Kw::SkipDest}, {"factoidname", Kw::SkipDest},
    {"f", Kw::F}, {"fcharset", Kw::Fcharset}, {"cpg", Kw::Cpg},
    {"red", Kw::Red}, {"green", Kw::Green}, {"blue", Kw::Blue},
    {"list", Kw::List}, {"listid", Kw::Listid}, {"listlevel", Kw::Listlevel},
    {"levelnfc", Kw::Levelnfc}, {"levelnfcn", Kw::Levelnfc}, {"listoverride", Kw::Listoverride},
    {"ls", Kw::Ls}, {"ilvl", Kw::Ilvl},
    {"pnlvl", Kw::Pnlvl}, {"pnlvlblt", Kw::Pnlvlblt}, {"pnlvlbody", Kw::Pnlvlbody},
    {"pnlvlcont", Kw::Pnlvlcont}, {"pndec", Kw::Pndec}, {"pnucltr", Kw::Pnucltr},
    {"pnlcltr", Kw::Pnlcltr}, {"pnucrm", Kw::Pnucrm}, {"pnlcrm", Kw::Pnlcrm},
    {"pngblip", Kw::Pngblip}, {"jpegblip", Kw::Jpegblip}, {"emfblip", Kw::Emfblip},
    {"wmetafile", Kw::Wmetafile}, {"dibitmap", Kw::Dibitmap}, {"wbitmap", Kw::Wbitmap},
    {"macpict", Kw::Macpict}, {"pmmetafile", Kw::Pmmetafile}, {"picw", Kw::Picw},
    {"pich", Kw::Pich}, {"picwgoal", Kw::Picwgoal}, {"pichgoal", Kw::Pichgoal},
    {"picscalex", Kw::Picscalex}, {"picscaley", Kw::Picscaley},
    {"plain", Kw::Plain}, {"b", Kw::B}, {"i", Kw::I}, {"ul", Kw::Ul}, {"ulnone", Kw::Ulnone},
    {"uld", Kw::UlVariant}, {"uldash", Kw::UlVariant}, {"uldashd", Kw::UlVariant},
    {"uldashdd", Kw::UlVariant}, {"uldb", Kw::UlVariant}, {"ulhwave", Kw::UlVariant},
    {"ulldash", Kw::UlVariant}, {"ulth", Kw::UlVariant}, {"ulthd", Kw::UlVariant},
    {"ulthdash", Kw::UlVariant}, {"ulthdashd", Kw::UlVariant}, {"ulthdashdd", Kw::UlVariant},
    {"ulthldash", Kw::UlVariant}, {"ululdbwave", Kw::UlVariant}, {"ulw", Kw::UlVariant},
    {"ulwave", Kw::UlVariant},
    {"strike", Kw::Strike}, {"striked", Kw::Striked}, {"fs", Kw::Fs}, {"cf", Kw::Cf},
    {"highlight", Kw::Highlight}, {"chcbpat", Kw::Chcbpat}, {"cb", Kw::Chcbpat}, {"v", Kw::V},
    {"sub", Kw::Sub}, {"super", Kw::Super}, {"nosupersub", Kw::Nosupersub},
    {"pard", Kw::Pard}, {"par", Kw::Par}, {"ql", Kw::Ql}, {"qc", Kw::Qc}, {"qr", Kw::Qr},
    {"qj", Kw::Qj}, {"qd", Kw::Qd}, {"li", Kw::Li}, {"lin", Kw::Li}, {"ri", Kw::Ri},
    {"rin", Kw::Ri}, {"fi", Kw::Fi}, {"sb", Kw::Sb}, {"sa", Kw::Sa}, {"sl", Kw::Sl},
    {"slmult", Kw::Slmult}, {"intbl", Kw::Intbl},
    {"line", Kw::Line}, {"tab", Kw::Tab}, {"page", Kw::Page}, {"sect", Kw::Sect},
    {"cell", Kw::Cell}, {"row", Kw::Row}, {"nestcell", Kw::Nestcell}, {"nestrow", Kw::Nestrow},
    {"emdash", Kw::Emdash}, {"endash", Kw::Endash}, {"bullet", Kw::Bullet},
    {"lquote", Kw::Lquote}, {"rquote", Kw::Rquote}, {"ldblquote", Kw::Ldblquote},
    {"rdblquote", Kw::Rdblquote}, {"emspace", Kw::Emspace}, {"enspace", Kw::Enspace},
    {"qmspace", Kw::Qmspace}, {"zwj", Kw::Zwj}, {"zwnj", Kw::Zwnj}, {"ltrmark", Kw::Ltrmark},
    {"rtlmark", Kw::Rtlmark}, {"zwbo", Kw::Zwbo}, {"zwnbo", Kw::Zwnbo},
};
// clang-format on

constexpr std::uint32_t hashWord(const char* p, std::size_t n)
{
    std::uint32_t h = 2166136261u;
    for (std::size_t i = 0; i < n; ++i)
        h = (h ^ std::uint8_t(p[i])) * 16777619u;
    return h;
}

constexpr std::size_t TableSize = 1024; // power of two, well above twice the entries

struct Table
{
    std::array<std::int16_t, TableSize> slot {};
    Table()
    {
        slot.fill(-1);
        for (std::size_t i = 0; i < std::size(entries); ++i) {
            std::size_t h
                = hashWord(entries[i].word, std::strlen(entries[i].word)) & (TableSize - 1);
            while (slot[h] >= 0)
                h = (h + 1) & (TableSize - 1);
            slot[h] = std::int16_t(i);
        }
    }
};

const Table table;

} // namespace

Kw lookupKeyword(QByteArrayView word)
{
    if (word.size() > 24)
        return Kw::Unknown;
    std::size_t h = hashWord(word.data(), std::size_t(word.size())) & (TableSize - 1);
    for (;;) {
        const int i = table.slot[h];
        if (i < 0)
            return Kw::Unknown;
        const char* w = entries[i].word;
        if (std::strlen(w) == std::size_t(word.size())
            && std::memcmp(w, word.data(), std::size_t(word.size())) == 0)
            return entries[i].kw;
        h = (h + 1) & (TableSize - 1);
    }
}

} // namespace penwick::rtf
