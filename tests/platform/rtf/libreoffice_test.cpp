// SPDX-License-Identifier: GPL-2.0-or-later
// Rich text exchanged with LibreOffice, where it is installed (skipped elsewhere).
#include "rtftestutil.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cmath>

namespace penwick::test {
namespace {

class LibreOffice : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
        if (m_soffice.isEmpty())
            GTEST_SKIP() << "LibreOffice (soffice) is not installed";
        ASSERT_TRUE(m_dir.isValid());
    }

    QString path(const QString& name) const { return m_dir.filePath(name); }

    // Writes bytes to a file, converts it with LibreOffice into the out folder and returns the
    // converted bytes.
    QByteArray convert(const QString& name, const QByteArray& bytes, const QString& filter,
        const QString& extension, const QStringList& extra = {})
    {
        QFile in(path(name));
        if (!in.open(QIODevice::WriteOnly) || in.write(bytes) != bytes.size())
            return {};
        in.close();
        QProcess p;
        QStringList args { QStringLiteral("-env:UserInstallation=file://") + path("profile"),
            QStringLiteral("--headless"), QStringLiteral("--norestore") };
        args += extra;
        args += { QStringLiteral("--convert-to"), filter, QStringLiteral("--outdir"), path("out"),
            path(name) };
        p.start(m_soffice, args);
        if (!p.waitForFinished(240000))
            return {};
        QFile f(path("out/") + QFileInfo(name).completeBaseName() + "." + extension);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QString m_soffice;
    QTemporaryDir m_dir;
};

// Text as LibreOffice exports it, without list labels and the byte-order mark.
QString withoutLabels(QString text)
{
    text.remove(QChar(0xFEFF));
    QStringList lines = text.split(u'\n');
    for (QString& line : lines) {
        static const QRegularExpression label(QStringLiteral("^\\s+(•|\\d+\\.)\\s"));
        line.remove(label);
        if (line.endsWith(u'\r'))
            line.chop(1);
    }
    while (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines.join(u'\n');
}

TEST_F(LibreOffice, ItsFilesReadWithTheirFormatting)
{
    const QByteArray rtf = convert("source.html",
        "<html><body><p style=\"text-align:center\"><span style=\"font-family:'DejaVu Serif'; "
        "font-size:14pt\">Centred <b>bold</b> <i>italic</i> <u>under</u> <s>struck</s></span></p>"
        "<p><span style=\"color:#c0392b\">red</span> "
        "caf\xC3\xA9</p><ul><li>first</li><li>second</li></ul>"
        "<table><tr><td>A1</td><td>B1</td></tr></table><p "
        "style=\"text-align:right\">end</p></body></html>",
        "rtf:Rich Text Format", "rtf", { QStringLiteral("--infilter=HTML (StarWriter)") });
    ASSERT_FALSE(rtf.isEmpty());
    const auto doc = readDoc(rtf);
    EXPECT_EQ(
        plain(*doc), "Centred bold italic under struck\nred café\nfirst\nsecond\nA1\tB1\nend");
    EXPECT_EQ(align(blockOf(*doc, "Centred")), Qt::AlignHCenter);
    EXPECT_EQ(align(blockOf(*doc, "end")), Qt::AlignRight);
    EXPECT_TRUE(bold(formatOf(*doc, "bold")));
    EXPECT_TRUE(formatOf(*doc, "italic").fontItalic());
    EXPECT_TRUE(formatOf(*doc, "under").fontUnderline());
    EXPECT_TRUE(formatOf(*doc, "struck").fontStrikeOut());
    EXPECT_EQ(formatOf(*doc, "Centred").fontPointSize(), 14.0);
    EXPECT_EQ(family(formatOf(*doc, "Centred")), "DejaVu Serif");
    EXPECT_EQ(formatOf(*doc, "red caf").foreground().color(), QColor(0xC0, 0x39, 0x2B));
    EXPECT_EQ(listStyle(blockOf(*doc, "second")), QTextListFormat::ListDisc);
}

// What LibreOffice reads from our file has our text; what it writes of it back reads with the
// formatting we wrote, paragraph by paragraph and character by character.
TEST_F(LibreOffice, ReadsOurTextAndFormattingBack)
{
    const auto doc = readDoc(fixture("libreoffice.rtf"));
    const QByteArray ours = rtf::writeRtf(*doc);
    const QByteArray txt = convert("ours.rtf", ours, "txt:Text (encoded):UTF8", "txt");
    ASSERT_FALSE(txt.isEmpty());
    EXPECT_EQ(withoutLabels(QString::fromUtf8(txt)), plain(*doc));
    const QByteArray back = convert("ours.rtf", ours, "rtf:Rich Text Format", "rtf");
    ASSERT_FALSE(back.isEmpty());
    expectSameFormatting(*doc, *readDoc(back));
}

TEST_F(LibreOffice, ReadsOurPicturesBack)
{
    const auto doc = readDoc(fixture("pictures.rtf"));
    const QByteArray back
        = convert("pictures.rtf", rtf::writeRtf(*doc), "rtf:Rich Text Format", "rtf");
    ASSERT_FALSE(back.isEmpty());
    const auto again = readDoc(back);
    EXPECT_EQ(plain(*again), plain(*doc));
    const auto a = picturesOf(*doc);
    const auto b = picturesOf(*again);
    ASSERT_EQ(a.size(), b.size());
    for (size_t i = 0; i < a.size(); ++i) {
        EXPECT_LE(std::abs(a[i].displaySize.width() - b[i].displaySize.width()), 1) << i;
        EXPECT_LE(std::abs(a[i].displaySize.height() - b[i].displaySize.height()), 1) << i;
    }
}

} // namespace
} // namespace penwick::test
