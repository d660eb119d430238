// SPDX-License-Identifier: GPL-2.0-or-later
// penwick-rtf, run as users run it.
#include "rtftestutil.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace penwick::test;

namespace {

struct Result
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

Result runTool(const QStringList& args)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("QT_QPA_PLATFORM")); // the tool must pick offscreen by itself
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(PENWICK_RTF_TOOL), args);
    if (!p.waitForFinished(30000))
        return {};
    return { p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2, p.readAllStandardOutput(),
        p.readAllStandardError() };
}

// Text prints one line per paragraph, as the reader reads it; what cannot be read is refused with
// one line on stderr and exit code 1, a wrong command line with 2.
TEST(Tool, TextPrintsParagraphsAndRefusesWithOneLine)
{
    const Result r = runTool({ "text", fixturePath("wordpad.rtf") });
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(QString::fromUtf8(r.out), plain(*readDoc(fixture("wordpad.rtf"))) + "\n");
    EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
    EXPECT_EQ(QString::fromUtf8(runTool({ "text", fixturePath("pictures.rtf") }).out)
                  .count(QChar(0xFFFC)),
        6);
    QTemporaryDir dir;
    const std::pair<QStringList, int> refused[] = { { { "text", fixturePath("picture.png") }, 1 },
        { { "rtf", fixturePath("picture.png"), dir.filePath("x.rtf") }, 1 },
        { { "rtf", fixturePath("word.rtf"), dir.filePath("no/such/dir.rtf") }, 1 },
        { { "json", fixturePath("picture.png") }, 1 }, { { "text", fixturePath("no.rtf") }, 1 },
        { { "json", fixturePath("no.rtf") }, 1 }, { { "text" }, 2 },
        { { "html", fixturePath("word.rtf") }, 2 }, { { "rtf", fixturePath("word.rtf") }, 2 } };
    for (const auto& [args, code] : refused) {
        const Result no = runTool(args);
        EXPECT_EQ(no.exitCode, code) << args.join(' ').toStdString();
        EXPECT_TRUE(no.out.isEmpty());
        EXPECT_TRUE(code == 2 || no.err.count('\n') == 1) << no.err.toStdString();
    }
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
}

TEST(Tool, JsonDescribesParagraphsRunsAndPictures)
{
    const Result r = runTool({ "json", fixturePath("richedit.rtf") });
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    QJsonParseError error;
    const QJsonDocument json = QJsonDocument::fromJson(r.out, &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << r.out.toStdString();
    const QJsonArray paragraphs = json["paragraphs"].toArray();
    // Each run names its font, size, colours (null: automatic) and styles.
    const QJsonObject bold = paragraphs[0]["runs"][1].toObject();
    EXPECT_EQ(QJsonDocument(bold).toJson(QJsonDocument::Compact),
        R"({"bold":true,"color":null,"font":"Arial","highlight":null,"italic":false,"size":10,)"
        R"("strike":false,"text":"bold","underline":false,"valign":null})");
    EXPECT_EQ(paragraphs[1]["runs"][0]["color"].toString(), "#ff0000");
    // Each paragraph's alignment (* for a bullet), and each picture's kind and width.
    QStringList shape;
    for (const QJsonValue v : paragraphs)
        shape << v["align"].toString() + (v["bullet"].toBool() ? "*" : "");
    EXPECT_EQ(shape.join(' '), "left left left* left* center");
    shape.clear();
    const Result pics = runTool({ "json", fixturePath("pictures.rtf") });
    for (const QJsonValue v : QJsonDocument::fromJson(pics.out)["paragraphs"].toArray()) {
        const QJsonValue pic = v["runs"].toArray().last()["picture"];
        shape << pic["format"].toString("-") + ':' + QString::number(pic["width_px"].toInt());
    }
    EXPECT_EQ(shape.join(' '), "png:40 jpeg:40 bmp:40 wmf:200 emf:200 png:20 -:0");
}

// Superscript, subscript and highlight are shown, and are the same after the note writer wrote
// the file again.
TEST(Tool, JsonShowsVerticalAlignmentAndHighlightKeptByTheWriter)
{
    QTemporaryDir dir;
    const QString in = dir.filePath("in.rtf"), out = dir.filePath("out.rtf");
    QFile f(in);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("{\\rtf1\\ansi{\\colortbl;\\red255\\green255\\blue0;}x\\super 2\\nosupersub  H\\sub 2"
            "\\nosupersub O \\highlight1 marked\\highlight0  plain\\par}");
    f.close();
    const auto runs = [](const QString& file) {
        const Result r = runTool({ "json", file });
        std::vector<std::string> seen;
        for (const auto& v : QJsonDocument::fromJson(r.out)["paragraphs"][0]["runs"].toArray()) {
            const QJsonObject run = v.toObject();
            const auto value = [&](const char* key) {
                return !run.contains(key) ? std::string("missing")
                                          : run[key].toString("null").toStdString();
            };
            seen.push_back(value("text") + ":" + value("valign") + ":" + value("highlight"));
        }
        return seen;
    };
    const std::vector<std::string> expected { "x:null:null", "2:super:null", " H:null:null",
        "2:sub:null", "O :null:null", "marked:null:#ffff00", " plain:null:null" };
    EXPECT_EQ(runs(in), expected);
    ASSERT_EQ(runTool({ "rtf", in, out }).exitCode, 0);
    EXPECT_EQ(runs(out), expected);
    f.setFileName(out);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.readAll().contains("{\\*\\generator Penwick 4.0;}"));
}

} // namespace
