// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/rtf/tokenizer.h"

#include <QByteArray>

#include <gtest/gtest.h>

#include <string>

using penwick::rtf::Token;
using penwick::rtf::Tokenizer;

namespace {

// One line per token: W:word[param] T:text S:symbol H:hex B:binary P { }
std::string dump(const QByteArray& input)
{
    Tokenizer tok(input);
    std::string out;
    for (int guard = 0; guard < 100000; ++guard) {
        const Token t = tok.next();
        std::string s;
        switch (t.type) {
        case Token::End:
            return out;
        case Token::GroupOpen:
            s = "{";
            break;
        case Token::GroupClose:
            s = "}";
            break;
        case Token::Text:
            s = "T:" + t.view.toByteArray().toStdString();
            break;
        case Token::ControlWord:
            s = "W:" + t.view.toByteArray().toStdString();
            if (t.hasParam)
                s += std::to_string(t.param);
            break;
        case Token::ControlSymbol:
            s = std::string("S:") + t.symbol;
            break;
        case Token::HexByte:
            s = "H:" + QByteArray::number(t.byte, 16).toStdString();
            break;
        case Token::Binary:
            s = "B:" + t.view.toByteArray().toStdString();
            break;
        case Token::ParBreak:
            s = "P";
            break;
        }
        out += (out.empty() ? "" : " ") + s;
    }
    return out + " (no end)";
}

struct Case
{
    const char* name;
    QByteArray input;
    std::string expected;
};

class TokenizerCases : public ::testing::TestWithParam<Case>
{
};

TEST_P(TokenizerCases, Tokens)
{
    EXPECT_EQ(dump(GetParam().input), GetParam().expected);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Edges, TokenizerCases, ::testing::Values(
    Case{"SpaceEaten", "\\b0 x", "W:b0 T:x"},
    Case{"OnlyOneSpaceEaten", "\\b  x", "W:b T: x"},
    Case{"OtherDelimiterKept", "\\par;x", "W:par T:;x"},
    Case{"NegativeParam", "\\li-360x", "W:li-360 T:x"},
    Case{"MinusWithoutDigitsIsText", "\\li-x", "W:li T:-x"},
    Case{"CaseSensitive", "\\B1\\b1", "W:B1 W:b1"},
    Case{"SaturatesHigh", "\\fs99999999999999999999999 x", "W:fs2147483647 T:x"},
    Case{"SaturatesLow", "\\li-99999999999999999999999 x", "W:li-2147483648 T:x"},
    Case{"Groups", "{a{b}}", "{ T:a { T:b } }"},
    Case{"BareLineEndsAndNulIgnored", QByteArray("a\r\nb\0c", 6), "T:a T:b T:c"},
    Case{"BackslashNewlineIsPar", "a\\\r\nb\\\nc", "T:a P T:b P T:c"},
    Case{"Hex", "\\'e9\\'4A", "H:e9 H:4a"},
    Case{"HexOneDigitAtEnd", "\\'4", "H:4"},
    Case{"HexQuoteAtEnd", "x\\'", "T:x"},
    Case{"HexNotHex", "\\'zz", "T:zz"},
    Case{"BackslashAtEnd", "x\\", "T:x"},
    Case{"Symbols", "\\~\\-\\_\\*\\\\\\{\\}", "S:~ S:- S:_ S:* S:\\ S:{ S:}"},
    Case{"BinKeepsBraces", "\\bin3 {}}x", "B:{}} T:x"},
    Case{"BinClampedToInput", "\\bin99 ab", "B:ab"},
    Case{"BinNegative", "\\bin-5 x", "B: T:x"},
    Case{"BinWrapping", "\\bin4294967296 abc", "B:abc"},
    Case{"BinaryIsAnotherWord", "\\binary x", "W:binary T:x"},
    Case{"HighBytesAreText", "caf\xE9!", "T:caf\xE9!"}
), [](const auto& p) { return std::string(p.param.name); });
// clang-format on

TEST(Tokenizer, VeryLongControlWordIsOneToken)
{
    const QByteArray word(5000, 'a');
    const QByteArray input = "\\" + word + "12 x";
    Tokenizer tok(input);
    const Token t = tok.next();
    EXPECT_EQ(t.type, Token::ControlWord);
    EXPECT_EQ(t.view.size(), 5000);
    EXPECT_EQ(t.param, 12);
    EXPECT_EQ(tok.next().view.toByteArray(), "x");
}

TEST(Tokenizer, SkipGroupHonoursNestingAndBinary)
{
    const QByteArray input = "a{b}\\bin2 }}\\}c}d";
    Tokenizer tok(input);
    tok.skipGroup();
    const Token t = tok.next();
    EXPECT_EQ(t.type, Token::Text);
    EXPECT_EQ(t.view.toByteArray(), "d");
}

TEST(Tokenizer, SkipGroupStopsAtEnd)
{
    const QByteArray input = "{{{\\bin999 x";
    Tokenizer tok(input);
    tok.skipGroup();
    EXPECT_EQ(tok.remaining(), 0);
    EXPECT_EQ(tok.next().type, Token::End);
}

} // namespace
