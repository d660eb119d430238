// SPDX-License-Identifier: GPL-2.0-or-later
// Hostile input must neither crash, hang (this executable runs under a CTest time limit), nor
// grow without bound, nor reach anything outside the data.
#include "rtftestutil.h"

namespace penwick::test {
namespace {

// Each input, the text that must survive it, and text that must not show.
TEST(Hostile, ReadsWhatItCan)
{
    const QByteArray n(5000, '9'), deep(200000, '{'), up(200000, '}');
    const std::tuple<QByteArray, const char*, const char*> cases[] = {
        // clang-format off
        {"{\\rtf1 " + deep + "deep" + up + " after}", "deep after", nullptr},
        {"{\\rtf1 " + QByteArray("{\\b ").repeated(200000) + "deep", "deep", nullptr}, // unclosed
        {"{\\rtf1 a{\\*\\x " + deep + "}b", "a", nullptr}, // deep in a skipped group
        {"{\\rtf1 {\\b kept {\\i too", "kept too", nullptr},
        {"{\\rtf1 a{\\pict\\pngblip\\bin999999999999 xyz}}", "a", nullptr},
        {"{\\rtf1 a\\bin4294967297 bc}d}", "a", nullptr}, {"{\\rtf1 a\\bin-2147483648 b}", "ab", nullptr},
        {"{\\rtf1\\fs" + n + "\\f" + n + "\\cf" + n + "\\li" + n + "\\fi-" + n + "\\highlight" + n + "\\ls" + n
            + "\\ilvl" + n + "\\sl" + n + "{\\*\\pn\\pnlvl-" + n + "}" + " big\\par}", "big", nullptr},
        {"{\\rtf1 \\" + QByteArray(100000, 'x') + " ok}", "ok", nullptr},
        {"{\\rtf1{\\uc2147483647\\u65 abc}{\\uc-2147483648\\u66 d}\\u-2147483648 e}", "ABd", nullptr},
        {"{\\rtf1{\\fonttbl" + QByteArray("{\\f1\\fcharset128 X;}").repeated(20000) + "}{\\colortbl"
            + QByteArray(";").repeated(300000) + "}\\f1\\cf299999 ok}", "ok", nullptr},
        {"{\\rtf1{\\fonttbl{\\f0 Arial", "", nullptr},
        {"{\\rtf1{\\stylesheet{\\s1\\sbasedon2 a;}{\\s2\\sbasedon1 b;}{\\s3\\sbasedon3 c;}}"
            "\\s1 one\\s3 three}", "onethree", nullptr},
        {"{\\rtf1{\\*\\listtable{\\list{\\listlevel\\levelnfc23{\\leveltext\\'ff;}}\\listid1}}"
            "{\\*\\listoverridetable{\\listoverride\\listid5\\ls1}}\\ls1 a\\par\\ls9\\ilvl99 b}", "a\nb", nullptr},
        // Objects are never made, fields show only their result.
        {"{\\rtf1{\\object\\objautlink\\objupdate\\rsltpict{\\*\\objclass Excel}"
            "{\\*\\objdata 01050000020000000b000000}{\\result stored}}}", "stored", nullptr},
        {"{\\rtf1{\\field{\\*\\fldinst INCLUDETEXT \"/etc/hostname\"}{\\fldrslt r1}}"
            "{\\field{\\*\\fldinst INCLUDEPICTURE \"http://example.invalid/x.png\" \\\\d}{\\fldrslt r2}}"
            "{\\field{\\*\\fldinst DDEAUTO c:\\\\\\\\windows\\\\\\\\system32\\\\\\\\cmd.exe \"/c calc\"}{\\fldrslt r3}}"
            "{\\field{\\*\\fldinst HYPERLINK \"javascript:alert(1)\"}{\\fldrslt r4}}"
            "{\\field{\\*\\fldinst HYPERLINK \"file:///etc/passwd\"}{\\fldrslt r5}}}", "r1r2r3r4r5", "calc"},
        {"{\\rtf1 a{\\pict\\wmetafile8\\picw999999999\\pich999999999\\picwgoal2147483647"
            "\\pichgoal2147483647 010009000003ffffffff0000ffffffff0000}b}", "ab", nullptr},
        {QByteArray("\\u-10179?").repeated(1000).prepend("{\\rtf1 ") + "x}", "x", nullptr},
        {QByteArray("{\\rtf1 a\0\x01\x02\x1f" "b}", 11), "a", nullptr},
        // clang-format on
    };
    for (const auto& [data, mustContain, mustNotContain] : cases) {
        SCOPED_TRACE(data.left(60).toStdString());
        QTextDocument doc;
        ASSERT_TRUE(rtf::readRtf(doc, data));
        const QString text = plain(doc);
        EXPECT_TRUE(text.contains(QString::fromUtf8(mustContain))) << text.left(200).toStdString();
        EXPECT_TRUE(!mustNotContain || !text.contains(QString::fromUtf8(mustNotContain)));
        // The document never holds more characters than the input had bytes, and writes out again.
        EXPECT_LE(doc.characterCount(), data.size() + 1);
        EXPECT_TRUE(rtf::looksLikeRtf(rtf::writeRtf(doc)));
    }
}

TEST(Hostile, NotRtfIsRefusedAndChangesNothing)
{
    QTextDocument doc;
    doc.setPlainText("kept");
    QTextCursor c(&doc);
    c.select(QTextCursor::Document);
    for (const QByteArray& data :
        { QByteArray(), QByteArray("{\\rt"), QByteArray("rtf1"), QByteArray("plain text"),
            QByteArray(" {\\rtf1 x}"), QByteArray("\xFF\xFE{\0\\\0r\0t\0f\0", 12) }) {
        EXPECT_FALSE(rtf::readRtf(doc, data) || rtf::insertRtf(c, data)) << data.toStdString();
    }
    EXPECT_EQ(plain(doc), "kept");
}

} // namespace
} // namespace penwick::test
