// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QByteArrayView>
#include <QString>
#include <array>
#include <memory>

namespace penwick::rtf {

// Windows code page numbers as rich text names them. The symbol character set has no code page
// of its own: the Symbol font's letters map to their Unicode characters (Greek, bullet, ...);
// other symbol fonts (Wingdings) to the private-use area U+F020-U+F0FF, as Windows maps them.
enum : int { CodePageSymbol = 2, CodePageSymbolPrivate = 3, CodePageAnsi = 1252 };

// The code page of a font's \fcharset value (0 when the value names none we know).
int codePageForCharset(int charset);

// True for the double-byte (lead byte + trail byte) code pages.
bool isDoubleByteCodePage(int codePage);

// Decoding of one code page. Single-byte pages decode through a table; double-byte pages keep a
// pending lead byte between calls, because the trail byte may come as the next literal character.
class CodePageDecoder
{
public:
    explicit CodePageDecoder(int codePage = CodePageAnsi);
    ~CodePageDecoder();
    CodePageDecoder(const CodePageDecoder&) = delete;
    CodePageDecoder& operator=(const CodePageDecoder&) = delete;

    int codePage() const { return m_codePage; }
    // Appends the text of the bytes to out. A lead byte at the end stays pending.
    void decode(QByteArrayView bytes, QString& out);
    // A pending lead byte with no trail becomes U+FFFD.
    void flush(QString& out);
    bool pending() const { return m_lead != 0; }

private:
    void decodePair(unsigned char lead, unsigned char trail, QString& out);
    bool isLead(unsigned char byte) const;

    int m_codePage;
    bool m_doubleByte = false;
    unsigned char m_lead = 0;
    const std::array<char16_t, 256>* m_table = nullptr;
    struct Iconv;
    std::unique_ptr<Iconv> m_iconv;
};

// The 256-entry table of a single-byte code page (1252 when the page is unknown).
const std::array<char16_t, 256>& singleByteTable(int codePage);

} // namespace penwick::rtf
