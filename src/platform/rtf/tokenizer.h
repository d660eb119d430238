// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QByteArrayView>
#include <cstdint>

namespace penwick::rtf {

// One lexical element of rich text. Views point into the tokenizer's input.
struct Token
{
    enum Type : std::uint8_t {
        End,
        GroupOpen,
        GroupClose,
        Text, // a run of literal bytes (no backslash, brace, CR, LF or NUL inside)
        ControlWord, // \word or \wordN
        ControlSymbol, // \x for any non-letter x other than ' (e.g. \~ \- \_ \* \\ \{ \})
        HexByte, // \'hh
        Binary, // the raw bytes that follow \binN
        ParBreak, // a backslash before CR or LF
    };
    Type type = End;
    bool hasParam = false;
    char symbol = 0; // ControlSymbol
    std::uint8_t byte = 0; // HexByte
    std::int32_t param = 0; // ControlWord, saturated to 32 bits
    QByteArrayView view; // Text and Binary bytes, or the letters of a ControlWord
};

// Splits rich text into tokens. Never allocates; never reads past the input; every call makes
// progress, so a loop until End always terminates.
class Tokenizer
{
public:
    explicit Tokenizer(QByteArrayView data)
        : m_p(data.data())
        , m_end(data.data() + data.size())
    { }

    Token next();
    // Bytes not yet read.
    qsizetype remaining() const { return m_end - m_p; }
    // Skips the rest of the current group (depth counted from 1 at the call), \bin data included.
    // Stops after the closing brace, or at the end of the input.
    void skipGroup();

private:
    const char* m_p;
    const char* m_end;
};

} // namespace penwick::rtf
