// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/rtf/codepages.h"

#include "platform/textdecode.h"

#include <iconv.h>
#include <map>
#include <mutex>

namespace penwick::rtf {
namespace {

const char* iconvName(int codePage)
{
    switch (codePage) {
    case 437:
        return "CP437";
    case 850:
        return "CP850";
    case 852:
        return "CP852";
    case 866:
        return "CP866";
    case 874:
        return "CP874";
    case 932:
        return "CP932";
    case 936:
        return "GBK";
    case 949:
        return "CP949";
    case 950:
        return "BIG5";
    case 1250:
        return "CP1250";
    case 1251:
        return "CP1251";
    case 1252:
        return "CP1252";
    case 1253:
        return "CP1253";
    case 1254:
        return "CP1254";
    case 1255:
        return "CP1255";
    case 1256:
        return "CP1256";
    case 1257:
        return "CP1257";
    case 1258:
        return "CP1258";
    case 1361:
        return "JOHAB";
    case 10000:
        return "MACINTOSH";
    default:
        return nullptr;
    }
}

// Converts bytes with an open iconv handle to UTF-16; false when the bytes are not valid.
bool convert(iconv_t cd, const unsigned char* bytes, size_t n, QString& out)
{
    char16_t buffer[8];
    char* in = const_cast<char*>(reinterpret_cast<const char*>(bytes));
    size_t inLeft = n;
    char* outPtr = reinterpret_cast<char*>(buffer);
    size_t outLeft = sizeof buffer;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    if (iconv(cd, &in, &inLeft, &outPtr, &outLeft) == size_t(-1) || inLeft != 0)
        return false;
    // Some pages (1255, 1258) hold a character back in case a combining mark follows.
    if (iconv(cd, nullptr, nullptr, &outPtr, &outLeft) == size_t(-1))
        return false;
    const qsizetype units = (reinterpret_cast<char16_t*>(outPtr) - buffer);
    if (units == 0)
        return false;
    out.append(reinterpret_cast<const QChar*>(buffer), units);
    return true;
}

iconv_t openUtf16(const char* from)
{
    return iconv_open("UTF-16LE", from);
}

// Adobe's Symbol encoding for the letters and the bullet; other bytes read as Windows-1252.
std::array<char16_t, 256> symbolTable()
{
    std::array<char16_t, 256> t {};
    for (int i = 0; i < 256; ++i)
        t[i] = cp1252ToUnicode(uchar(i));
    const char16_t upper[26] = { 0x391, 0x392, 0x3A7, 0x394, 0x395, 0x3A6, 0x393, 0x397, 0x399,
        0x3D1, 0x39A, 0x39B, 0x39C, 0x39D, 0x39F, 0x3A0, 0x398, 0x3A1, 0x3A3, 0x3A4, 0x3A5, 0x3C2,
        0x3A9, 0x39E, 0x3A8, 0x396 };
    const char16_t lower[26] = { 0x3B1, 0x3B2, 0x3C7, 0x3B4, 0x3B5, 0x3C6, 0x3B3, 0x3B7, 0x3B9,
        0x3D5, 0x3BA, 0x3BB, 0x3BC, 0x3BD, 0x3BF, 0x3C0, 0x3B8, 0x3C1, 0x3C3, 0x3C4, 0x3C5, 0x3D6,
        0x3C9, 0x3BE, 0x3C8, 0x3B6 };
    for (int i = 0; i < 26; ++i) {
        t['A' + i] = upper[i];
        t['a' + i] = lower[i];
    }
    t[0xB7] = 0x2022; // bullet
    t[0xA7] = 0x2663;
    t[0xA8] = 0x2666;
    t[0xA9] = 0x2665;
    t[0xAA] = 0x2660;
    t[0xAE] = 0x2192;
    t[0xB0] = 0x00B0;
    t[0xB1] = 0x00B1;
    t[0xB4] = 0x00D7;
    t[0xB8] = 0x00F7;
    t[0xB9] = 0x2260;
    t[0xBB] = 0x2248;
    t[0xA3] = 0x2264;
    t[0xB3] = 0x2265;
    t[0xA5] = 0x221E;
    t[0xD6] = 0x221A;
    t[0xE5] = 0x2211;
    t[0xF2] = 0x222B;
    t[0xD8] = 0x00AC;
    return t;
}

std::array<char16_t, 256> privateUseTable()
{
    std::array<char16_t, 256> t {};
    for (int i = 0; i < 256; ++i)
        t[i] = i < 0x20 ? char16_t(i) : char16_t(0xF000 + i);
    return t;
}

std::array<char16_t, 256> buildTable(int codePage)
{
    std::array<char16_t, 256> t {};
    for (int i = 0; i < 256; ++i)
        t[i] = cp1252ToUnicode(uchar(i));
    const char* name = iconvName(codePage);
    if (!name || codePage == 1252)
        return t;
    iconv_t cd = openUtf16(name);
    if (cd == iconv_t(-1)) // only where the C library lacks the page (not glibc)
        return t;
    for (int i = 0x20; i < 256; ++i) {
        const unsigned char b = uchar(i);
        QString s;
        t[i] = convert(cd, &b, 1, s) && s.size() == 1 ? s.at(0).unicode() : char16_t(0xFFFD);
    }
    iconv_close(cd);
    return t;
}

} // namespace

int codePageForCharset(int charset)
{
    switch (charset) {
    case 0:
        return 1252;
    case 2:
        return CodePageSymbol;
    case 77:
        return 10000;
    case 128:
        return 932;
    case 129:
        return 949;
    case 130:
        return 1361;
    case 134:
        return 936;
    case 136:
        return 950;
    case 161:
        return 1253;
    case 162:
        return 1254;
    case 163:
        return 1258;
    case 177:
        return 1255;
    case 178:
        return 1256;
    case 186:
        return 1257;
    case 204:
        return 1251;
    case 222:
        return 874;
    case 238:
        return 1250;
    case 255:
        return 850;
    default:
        return 0;
    }
}

bool isDoubleByteCodePage(int codePage)
{
    return codePage == 932 || codePage == 936 || codePage == 949 || codePage == 950
        || codePage == 1361;
}

const std::array<char16_t, 256>& singleByteTable(int codePage)
{
    static std::mutex mutex;
    static std::map<int, std::array<char16_t, 256>> tables;
    const bool symbol = codePage == CodePageSymbol || codePage == CodePageSymbolPrivate;
    const int key = (symbol || iconvName(codePage)) ? codePage : 1252;
    std::lock_guard lock(mutex);
    auto it = tables.find(key);
    if (it == tables.end()) {
        it = tables
                 .emplace(key,
                     key == CodePageSymbol              ? symbolTable()
                         : key == CodePageSymbolPrivate ? privateUseTable()
                                                        : buildTable(key))
                 .first;
    }
    return it->second;
}

struct CodePageDecoder::Iconv
{
    iconv_t cd = iconv_t(-1);
    std::map<unsigned, QString> cache;
    ~Iconv()
    {
        if (cd != iconv_t(-1))
            iconv_close(cd);
    }
};

CodePageDecoder::CodePageDecoder(int codePage)
    : m_codePage(codePage)
    , m_doubleByte(isDoubleByteCodePage(codePage))
{
    if (m_doubleByte) {
        m_iconv = std::make_unique<Iconv>();
        m_iconv->cd = openUtf16(iconvName(codePage));
        if (m_iconv->cd == iconv_t(-1)) // only where the C library lacks the page (not glibc)
            m_doubleByte = false;
    }
    if (!m_doubleByte)
        m_table = &singleByteTable(codePage);
}

CodePageDecoder::~CodePageDecoder() = default;

bool CodePageDecoder::isLead(unsigned char b) const
{
    switch (m_codePage) {
    case 932:
        return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
    case 1361:
        return (b >= 0x84 && b <= 0xD3) || (b >= 0xD8 && b <= 0xDE) || (b >= 0xE0 && b <= 0xF9);
    default:
        return b >= 0x81 && b <= 0xFE;
    }
}

void CodePageDecoder::decodePair(unsigned char lead, unsigned char trail, QString& out)
{
    const unsigned key = (unsigned(lead) << 8) | trail;
    auto& cache = m_iconv->cache;
    auto it = cache.find(key);
    if (it == cache.end()) {
        const unsigned char pair[2] = { lead, trail };
        QString s;
        if (!convert(m_iconv->cd, pair, 2, s))
            s = QString(QChar(0xFFFD));
        if (cache.size() < 20000)
            it = cache.emplace(key, s).first;
        else {
            out += s;
            return;
        }
    }
    out += it->second;
}

void CodePageDecoder::decode(QByteArrayView bytes, QString& out)
{
    if (!m_doubleByte) {
        const auto& table = *m_table;
        const qsizetype start = out.size();
        out.resize(start + bytes.size());
        QChar* dst = out.data() + start;
        for (const char c : bytes)
            *dst++ = QChar(table[uchar(c)]);
        return;
    }
    for (const char ch : bytes) {
        const auto b = uchar(ch);
        if (m_lead) {
            decodePair(m_lead, b, out);
            m_lead = 0;
        } else if (b < 0x80) {
            out += QChar(char16_t(b));
        } else if (isLead(b)) {
            m_lead = b;
        } else {
            QString s;
            out += convert(m_iconv->cd, &b, 1, s) ? s : QString(QChar(0xFFFD));
        }
    }
}

void CodePageDecoder::flush(QString& out)
{
    if (m_lead) {
        out += QChar(0xFFFD);
        m_lead = 0;
    }
}

} // namespace penwick::rtf
