// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/rtf/tokenizer.h"

#include <array>
#include <limits>

namespace penwick::rtf {
namespace {

// Bytes that end a run of literal text.
constexpr std::array<bool, 256> makeSpecial()
{
    std::array<bool, 256> t {};
    t[uchar('\\')] = t[uchar('{')] = t[uchar('}')] = true;
    t[uchar('\r')] = t[uchar('\n')] = t[0] = true;
    return t;
}
constexpr std::array<bool, 256> special = makeSpecial();

constexpr bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
constexpr bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}
constexpr int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

Token Tokenizer::next()
{
    Token t;
    for (;;) {
        if (m_p >= m_end)
            return t;
        const char c = *m_p;
        if (c == '{') {
            ++m_p;
            t.type = Token::GroupOpen;
            return t;
        }
        if (c == '}') {
            ++m_p;
            t.type = Token::GroupClose;
            return t;
        }
        if (c == '\r' || c == '\n' || c == 0) {
            ++m_p; // bare line ends and NULs carry no meaning
            continue;
        }
        if (c != '\\') {
            const char* start = m_p;
            while (m_p < m_end && !special[uchar(*m_p)])
                ++m_p;
            t.type = Token::Text;
            t.view = QByteArrayView(start, m_p - start);
            return t;
        }
        // Backslash.
        ++m_p;
        if (m_p >= m_end)
            return t; // a lone backslash at the end is dropped
        const char d = *m_p;
        if (isLetter(d)) {
            const char* start = m_p;
            while (m_p < m_end && isLetter(*m_p))
                ++m_p;
            t.type = Token::ControlWord;
            t.view = QByteArrayView(start, m_p - start);
            bool negative = false;
            if (m_p < m_end && *m_p == '-' && m_p + 1 < m_end && isDigit(m_p[1])) {
                negative = true;
                ++m_p;
            }
            if (m_p < m_end && isDigit(*m_p)) {
                t.hasParam = true;
                std::int64_t v = 0;
                constexpr std::int64_t cap
                    = std::int64_t(std::numeric_limits<std::int32_t>::max()) + 1;
                while (m_p < m_end && isDigit(*m_p)) {
                    if (v < cap)
                        v = v * 10 + (*m_p - '0');
                    ++m_p;
                }
                if (v > cap)
                    v = cap;
                v = negative ? -v : v;
                if (v > std::numeric_limits<std::int32_t>::max())
                    v = std::numeric_limits<std::int32_t>::max();
                t.param = std::int32_t(v);
            }
            if (m_p < m_end && *m_p == ' ')
                ++m_p; // the delimiting space belongs to the word
            if (t.view.size() == 3 && t.view[0] == 'b' && t.view[1] == 'i' && t.view[2] == 'n') {
                // Raw bytes follow; never trust the count beyond what is there.
                const qsizetype n = t.hasParam && t.param > 0 ? qsizetype(t.param) : 0;
                const qsizetype len = std::min(n, qsizetype(m_end - m_p));
                t.type = Token::Binary;
                t.view = QByteArrayView(m_p, len);
                m_p += len;
            }
            return t;
        }
        ++m_p;
        if (d == '\r' || d == '\n') {
            t.type = Token::ParBreak;
            return t;
        }
        if (d == '\'') {
            int hi = m_p < m_end ? hexValue(*m_p) : -1;
            if (hi < 0)
                continue; // malformed: drop it
            ++m_p;
            const int lo = m_p < m_end ? hexValue(*m_p) : -1;
            if (lo >= 0) {
                ++m_p;
                hi = hi * 16 + lo;
            }
            t.type = Token::HexByte;
            t.byte = std::uint8_t(hi);
            return t;
        }
        t.type = Token::ControlSymbol;
        t.symbol = d;
        return t;
    }
}

void Tokenizer::skipGroup()
{
    qsizetype depth = 1;
    while (m_p < m_end) {
        const char c = *m_p;
        if (c == '{') {
            ++depth;
            ++m_p;
        } else if (c == '}') {
            ++m_p;
            if (--depth == 0)
                return;
        } else if (c == '\\') {
            // Only \bin needs a full look; every other escape is at most two bytes here.
            if (m_p + 4 < m_end && m_p[1] == 'b' && m_p[2] == 'i' && m_p[3] == 'n'
                && (isDigit(m_p[4]) || m_p[4] == '-')) {
                next();
            } else {
                m_p += 2;
            }
        } else {
            ++m_p;
            while (m_p < m_end && !special[uchar(*m_p)])
                ++m_p;
        }
    }
    if (m_p > m_end)
        m_p = m_end;
}

} // namespace penwick::rtf
