// SPDX-License-Identifier: GPL-2.0-or-later
// penwick-rtf, run as users run it.
#include "platform/atomicfile.h"
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

// Exit code (-1: it hung, -2: it crashed), output and errors.
std::tuple<int, QByteArray, QByteArray> runTool(const QStringList& args)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : { "QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY" })
        env.remove(QLatin1String(name)); // the tool must pick offscreen by itself
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(PENWICK_RTF_TOOL), args);
    if (!p.waitForFinished(30000))
        return { -1, {}, {} };
    return { p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2, p.readAllStandardOutput(),
        p.readAllStandardError() };
}

// Text prints one line per paragraph, as the reader reads it; what cannot be read is refused with
// one line on stderr and exit code 1, a wrong command line with 2.
TEST(Tool, TextPrintsParagraphsAndRefusesWithOneLine)
{
    EXPECT_EQ(runTool({ "text", fixturePath("wordpad.rtf") }),
        std::tuple(0, (plain(*readDoc(fixture("wordpad.rtf"))) + "\n").toUtf8(), QByteArray()));
    QTemporaryDir dir;
    // Every command reads its input alike: refusals to read are asked of one command each.
    const std::pair<QStringList, int> refused[] = { { { "text", fixturePath("picture.png") }, 1 },
        { { "rtf", fixturePath("picture.png"), dir.filePath("x.rtf") }, 1 },
        { { "rtf", fixturePath("word.rtf"), dir.filePath("no/such/dir.rtf") }, 1 },
        { { "json", fixturePath("no.rtf") }, 1 }, { { "text" }, 2 },
        { { "html", fixturePath("word.rtf") }, 2 }, { { "rtf", fixturePath("word.rtf") }, 2 } };
    for (const auto& [args, code] : refused) {
        const auto [exitCode, out, err] = runTool(args);
        EXPECT_TRUE(exitCode == code && out.isEmpty() && (code == 2 || err.count('\n') == 1))
            << args.join(' ').toStdString() << ": " << err.toStdString();
    }
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
}

TEST(Tool, JsonDescribesParagraphsRunsAndPictures)
{
    const auto [exitCode, out, err] = runTool({ "json", fixturePath("richedit.rtf") });
    ASSERT_EQ(exitCode, 0) << err.toStdString();
    const QJsonArray paragraphs = QJsonDocument::fromJson(out)["paragraphs"].toArray();
    // Each run names its font, size, colours (null: automatic) and styles.
    const QJsonObject bold = paragraphs[0]["runs"][1].toObject();
    EXPECT_EQ(QJsonDocument(bold).toJson(QJsonDocument::Compact),
        R"({"bold":true,"color":null,"font":"Arial","highlight":null,"italic":false,"size":10,)"
        R"("strike":false,"text":"bold","underline":false,"valign":null})");
    EXPECT_EQ(paragraphs[1]["runs"][0]["color"].toString(), "#ff0000");
    // Each paragraph's alignment (* for a bullet).
    QStringList shape;
    for (const QJsonValue v : paragraphs)
        shape << v["align"].toString() + (v["bullet"].toBool() ? "*" : "");
    EXPECT_EQ(shape.join(' '), "left left left* left* center");
    shape.clear();
    // Pictures, after the note writer wrote the file again: each kind kept, at its width.
    QTemporaryDir dir;
    const QString copy = dir.filePath("copy.rtf");
    ASSERT_EQ(std::get<0>(runTool({ "rtf", fixturePath("pictures.rtf"), copy })), 0);
    const QByteArray pics = std::get<1>(runTool({ "json", copy }));
    for (const QJsonValue v : QJsonDocument::fromJson(pics)["paragraphs"].toArray()) {
        const QJsonValue pic = v["runs"].toArray().last()["picture"];
        shape << pic["format"].toString("-") + ':' + QString::number(pic["width_px"].toInt());
    }
    EXPECT_EQ(shape.join(' '), "png:40 jpeg:40 bmp:40 wmf:200 emf:200 png:20 -:0");
    // Lowered, raised and highlighted runs, after the note writer too (text:valign:highlight).
    const QString marked = dir.filePath("marked.rtf");
    ASSERT_TRUE(penwick::writeFileAtomically(marked,
        "{\\rtf1{\\colortbl;\\red255\\green255\\blue0;}H\\sub 2"
        "\\nosupersub O\\super 3\\nosupersub \\highlight1 hi\\par}"));
    ASSERT_EQ(std::get<0>(runTool({ "rtf", marked, copy })), 0);
    shape.clear();
    const QByteArray runs = std::get<1>(runTool({ "json", copy }));
    for (const QJsonValue v : QJsonDocument::fromJson(runs)["paragraphs"][0]["runs"].toArray())
        shape << v["text"].toString() + ':' + v["valign"].toString("-") + ':'
                + v["highlight"].toString("-");
    EXPECT_EQ(shape.join(' '), "H:-:- 2:sub:- O:-:- 3:super:- hi:-:#ffff00");
}

} // namespace
