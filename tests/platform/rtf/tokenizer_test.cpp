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
    for (Token t = tok.next(); t.type != Token::End; t = tok.next()) {
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
    return out;
}

TEST(Tokenizer, Edges)
{
    // clang-format off
    const std::pair<QByteArray, std::string> cases[] = {
        {"\\b0 x", "W:b0 T:x"}, {"\\b  x", "W:b T: x"}, {"\\par;x", "W:par T:;x"},
        {"\\li-360x", "W:li-360 T:x"}, {"\\li-x", "W:li T:-x"}, {"\\B1\\b1", "W:B1 W:b1"},
        {"\\fs99999999999999999999999 x", "W:fs2147483647 T:x"},
        {"\\li-99999999999999999999999 x", "W:li-2147483648 T:x"},
        {"{a{b}}", "{ T:a { T:b } }"},
        {QByteArray("a\r\nb\0c", 6), "T:a T:b T:c"}, // bare line ends and NUL are ignored
        {"a\\\r\nb\\\nc", "T:a P T:b P T:c"},
        {"\\'e9\\'4A", "H:e9 H:4a"}, {"\\'4", "H:4"}, {"x\\'", "T:x"}, {"\\'zz", "T:zz"},
        {"x\\", "T:x"}, {"\\~\\-\\_\\*\\\\\\{\\}", "S:~ S:- S:_ S:* S:\\ S:{ S:}"},
        {"\\bin3 {}}x", "B:{}} T:x"}, {"\\bin99 ab", "B:ab"}, {"\\bin-5 x", "B: T:x"},
        {"\\bin4294967296 abc", "B:abc"}, {"\\binary x", "W:binary T:x"},
        {"caf\xE9!", "T:caf\xE9!"},
        {"\\" + QByteArray(5000, 'a') + "12 x", "W:" + std::string(5000, 'a') + "12 T:x"},
    };
    // clang-format on
    for (const auto& [input, expected] : cases)
        EXPECT_EQ(dump(input), expected) << input.left(40).toStdString();
}

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
