// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/rtf/tokenizer.h"
#include "rtftestutil.h"

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
        if (t.type == Token::End)
            return out;
        const std::string view = t.view.toByteArray().toStdString();
        const std::string s = t.type == Token::GroupOpen ? "{"
            : t.type == Token::GroupClose                ? "}"
            : t.type == Token::ParBreak                  ? "P"
            : t.type == Token::Text                      ? "T:" + view
            : t.type == Token::Binary                    ? "B:" + view
            : t.type == Token::ControlSymbol             ? std::string("S:") + t.symbol
            : t.type == Token::HexByte ? "H:" + QByteArray::number(t.byte, 16).toStdString()
                                       : "W:" + view + (t.hasParam ? std::to_string(t.param) : "");
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

using TokenizerCases = ::testing::TestWithParam<Case>;

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
    Case{"HighBytesAreText", "caf\xE9!", "T:caf\xE9!"},
    Case{"VeryLongControlWord", "\\" + QByteArray(5000, 'a') + "12 x",
        "W:" + std::string(5000, 'a') + "12 T:x"}
), penwick::test::caseName);
// clang-format on

TEST(Tokenizer, SkipGroupHonoursNestingAndBinaryAndStopsAtTheEnd)
{
    Tokenizer tok("a{b}\\bin2 }}\\}c}d");
    tok.skipGroup();
    EXPECT_EQ(tok.next().view.toByteArray(), "d");
    Tokenizer open("{{{\\bin999 x");
    open.skipGroup();
    EXPECT_EQ(open.remaining(), 0);
    EXPECT_EQ(open.next().type, Token::End);
}

} // namespace
