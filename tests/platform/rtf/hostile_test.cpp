// SPDX-License-Identifier: GPL-2.0-or-later
// Hostile input must neither crash, hang (this executable runs under a CTest time limit), nor
// grow without bound, nor reach anything outside the data.
#include "rtftestutil.h"

#include <functional>
namespace penwick::test {
namespace {

struct HostileCase
{
    const char* name;
    std::function<QByteArray()> make;
    const char* mustContain; // UTF-8 text that survives
    const char* mustNotContain = nullptr;
};

using Hostile = ::testing::TestWithParam<HostileCase>;

TEST_P(Hostile, ReadsWhatItCan)
{
    const QByteArray data = GetParam().make();
    QTextDocument doc;
    ASSERT_TRUE(rtf::readRtf(doc, data));
    const QString text = plain(doc);
    EXPECT_TRUE(text.contains(QString::fromUtf8(GetParam().mustContain)))
        << text.left(200).toStdString();
    if (GetParam().mustNotContain) {
        EXPECT_FALSE(text.contains(QString::fromUtf8(GetParam().mustNotContain)));
    }
    // The document never holds more characters than the input had bytes.
    EXPECT_LE(doc.characterCount(), data.size() + 1);
    // And whatever was read writes out again.
    EXPECT_TRUE(rtf::looksLikeRtf(rtf::writeRtf(doc)));
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Table, Hostile, ::testing::Values(
    HostileCase{"DeepNesting", [] { return "{\\rtf1 " + QByteArray("{").repeated(200000) + "deep" + QByteArray("}").repeated(200000) + " after}"; },
        "deep after"},
    HostileCase{"DeepNestingUnclosed", [] { return "{\\rtf1 " + QByteArray("{\\b ").repeated(200000) + "deep"; }, "deep"},
    HostileCase{"DeepSkippedNesting", [] { return "{\\rtf1 a{\\*\\x " + QByteArray("{").repeated(200000) + "}b"; }, "a"},
    HostileCase{"UnterminatedGroups", [] { return QByteArray("{\\rtf1 {\\b kept {\\i too"); }, "kept too"},
    HostileCase{"BinHuge", [] { return QByteArray("{\\rtf1 a{\\pict\\pngblip\\bin999999999999 xyz}}"); }, "a"},
    HostileCase{"BinWraps", [] { return QByteArray("{\\rtf1 a\\bin4294967297 bc}d}"); }, "a"},
    HostileCase{"BinNegative", [] { return QByteArray("{\\rtf1 a\\bin-2147483648 b}"); }, "ab"},
    HostileCase{"HugeNumbers", [] {
        const QByteArray n(5000, '9');
        return "{\\rtf1\\fs" + n + "\\f" + n + "\\cf" + n + "\\li" + n + "\\fi-" + n + "\\highlight"
            + n + "\\ls" + n + "\\ilvl" + n + "\\sl" + n + "{\\*\\pn\\pnlvl-" + n + "}" + " big\\par}"; },
        "big"},
    HostileCase{"LongControlWord", [] { return "{\\rtf1 \\" + QByteArray(100000, 'x') + " ok}"; }, "ok"},
    HostileCase{"UcHugeAndNegative", [] {
        return QByteArray("{\\rtf1{\\uc2147483647\\u65 abc}{\\uc-2147483648\\u66 d}\\u-2147483648 e}"); },
        "ABd"},
    HostileCase{"ManyFontsAndColours", [] {
        return "{\\rtf1{\\fonttbl" + QByteArray("{\\f1\\fcharset128 X;}").repeated(20000) + "}{\\colortbl"
            + QByteArray(";").repeated(300000) + "}\\f1\\cf299999 ok}"; }, "ok"},
    HostileCase{"FontTableWithoutEnd", [] { return QByteArray("{\\rtf1{\\fonttbl{\\f0 Arial"); }, ""},
    HostileCase{"StyleCycle", [] {
        return QByteArray("{\\rtf1{\\stylesheet{\\s1\\sbasedon2 a;}{\\s2\\sbasedon1 b;}{\\s3\\sbasedon3 c;}}"
            "\\s1 one\\s3 three}"); }, "onethree"},
    HostileCase{"DanglingListAndBadLevelText", [] {
        return QByteArray("{\\rtf1{\\*\\listtable{\\list{\\listlevel\\levelnfc23{\\leveltext\\'ff;}}"
            "\\listid1}}{\\*\\listoverridetable{\\listoverride\\listid5\\ls1}}\\ls1 a\\par\\ls9\\ilvl99 b}"); },
        "a\nb"},
    HostileCase{"ObjectsNeverInstantiated", [] {
        return QByteArray("{\\rtf1{\\object\\objautlink\\objupdate\\rsltpict{\\*\\objclass Excel}"
            "{\\*\\objdata 01050000020000000b000000}{\\result stored}}}"); }, "stored"},
    HostileCase{"FieldsShowOnlyTheirResult", [] {
        return QByteArray("{\\rtf1{\\field{\\*\\fldinst INCLUDETEXT \"/etc/hostname\"}{\\fldrslt r1}}"
            "{\\field{\\*\\fldinst INCLUDEPICTURE \"http://example.invalid/x.png\" \\\\d}{\\fldrslt r2}}"
            "{\\field{\\*\\fldinst DDEAUTO c:\\\\\\\\windows\\\\\\\\system32\\\\\\\\cmd.exe \"/c calc\"}{\\fldrslt r3}}"
            "{\\field{\\*\\fldinst HYPERLINK \"javascript:alert(1)\"}{\\fldrslt r4}}"
            "{\\field{\\*\\fldinst HYPERLINK \"file:///etc/passwd\"}{\\fldrslt r5}}}"); },
        "r1r2r3r4r5", "calc"},
    HostileCase{"PictureHeaderLies", [] {
        return QByteArray("{\\rtf1 a{\\pict\\wmetafile8\\picw999999999\\pich999999999\\picwgoal2147483647"
            "\\pichgoal2147483647 010009000003ffffffff0000ffffffff0000}b}"); }, "ab"},
    HostileCase{"BadSurrogatesEverywhere", [] { return QByteArray("\\u-10179?").repeated(1000).prepend("{\\rtf1 ") + "x}"; }, "x"},
    HostileCase{"NulAndControlBytes", [] { return QByteArray("{\\rtf1 a\0\x01\x02\x1f" "b}", 11); }, "a"}
), caseName);
// clang-format on

TEST(Hostile, NotRtfIsRefusedAndChangesNothing)
{
    QTextDocument doc;
    doc.setPlainText("kept");
    QTextCursor c(&doc);
    c.select(QTextCursor::Document);
    for (const QByteArray& data :
        { QByteArray(), QByteArray("{\\rt"), QByteArray("rtf1"), QByteArray("plain text"),
            QByteArray(" {\\rtf1 x}"), QByteArray("\xFF\xFE{\0\\\0r\0t\0f\0", 12) }) {
        EXPECT_FALSE(rtf::readRtf(doc, data));
        EXPECT_FALSE(rtf::insertRtf(c, data));
    }
    EXPECT_EQ(plain(doc), "kept");
}

} // namespace
} // namespace penwick::test
