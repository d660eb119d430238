// SPDX-License-Identifier: GPL-2.0-or-later
// Rich text exchanged with LibreOffice, where it is installed (skipped elsewhere).
#include "platform/pictures.h"
#include "rtftestutil.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextList>
#include <gtest/gtest.h>

#include <cmath>

using namespace penwick;
using penwick::test::blockOf;
using penwick::test::family;
using penwick::test::fixture;
using penwick::test::formatOf;
using penwick::test::plain;
using penwick::test::readDoc;

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

    void write(const QString& name, const QByteArray& bytes) const
    {
        QFile f(path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    // Converts files with LibreOffice into the out folder; returns the converted bytes by name.
    QByteArray convert(const QString& name, const QString& filter, const QString& extension,
        const QStringList& extra = {})
    {
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
    write("source.html",
        "<html><body><p style=\"text-align:center\"><span style=\"font-family:'DejaVu Serif'; "
        "font-size:14pt\">Centred <b>bold</b> <i>italic</i> <u>under</u> <s>struck</s></span></p>"
        "<p><span style=\"color:#c0392b\">red</span> "
        "caf\xC3\xA9</p><ul><li>first</li><li>second</li></ul>"
        "<table><tr><td>A1</td><td>B1</td></tr></table><p "
        "style=\"text-align:right\">end</p></body></html>");
    const QByteArray rtf = convert("source.html", "rtf:Rich Text Format", "rtf",
        { QStringLiteral("--infilter=HTML (StarWriter)") });
    ASSERT_FALSE(rtf.isEmpty());
    const auto doc = readDoc(rtf);
    EXPECT_EQ(
        plain(*doc), "Centred bold italic under struck\nred café\nfirst\nsecond\nA1\tB1\nend");
    EXPECT_EQ(blockOf(*doc, "Centred").blockFormat().alignment() & Qt::AlignHorizontal_Mask,
        Qt::AlignHCenter);
    EXPECT_EQ(
        blockOf(*doc, "end").blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    EXPECT_EQ(formatOf(*doc, "bold").fontWeight(), QFont::Bold);
    EXPECT_TRUE(formatOf(*doc, "italic").fontItalic());
    EXPECT_TRUE(formatOf(*doc, "under").fontUnderline());
    EXPECT_TRUE(formatOf(*doc, "struck").fontStrikeOut());
    EXPECT_EQ(formatOf(*doc, "Centred").fontPointSize(), 14.0);
    EXPECT_EQ(family(formatOf(*doc, "Centred")), "DejaVu Serif");
    EXPECT_EQ(formatOf(*doc, "red caf").foreground().color(), QColor(0xC0, 0x39, 0x2B));
    ASSERT_NE(blockOf(*doc, "second").textList(), nullptr);
    EXPECT_EQ(blockOf(*doc, "second").textList()->format().style(), QTextListFormat::ListDisc);
}

TEST_F(LibreOffice, ReadsOurTextBack)
{
    const auto doc = readDoc(fixture("libreoffice.rtf"));
    write("ours.rtf", rtf::writeRtf(*doc));
    const QByteArray txt = convert("ours.rtf", "txt:Text (encoded):UTF8", "txt");
    ASSERT_FALSE(txt.isEmpty());
    EXPECT_EQ(withoutLabels(QString::fromUtf8(txt)), plain(*doc));
}

// What LibreOffice read from our file, written by LibreOffice and read by us, has the formatting
// we wrote: paragraph by paragraph and character by character.
TEST_F(LibreOffice, ReadsOurFormattingBack)
{
    const auto doc = readDoc(fixture("libreoffice.rtf"));
    write("ours.rtf", rtf::writeRtf(*doc));
    const QByteArray back = convert("ours.rtf", "rtf:Rich Text Format", "rtf");
    ASSERT_FALSE(back.isEmpty());
    const auto again = readDoc(back);
    ASSERT_EQ(plain(*again), plain(*doc));
    for (QTextBlock a = doc->begin(), b = again->begin(); a.isValid() && b.isValid();
         a = a.next(), b = b.next()) {
        const std::string where = a.text().toStdString();
        EXPECT_EQ(a.blockFormat().alignment() & Qt::AlignHorizontal_Mask,
            b.blockFormat().alignment() & Qt::AlignHorizontal_Mask)
            << where;
        EXPECT_EQ(a.textList() != nullptr, b.textList() != nullptr) << where;
        if (a.textList() && b.textList()) {
            EXPECT_EQ(a.textList()->format().style(), b.textList()->format().style()) << where;
        }
        for (int i = 0; i < a.length() - 1; ++i) {
            QTextCursor ca(doc.get());
            ca.setPosition(a.position() + i + 1);
            QTextCursor cb(again.get());
            cb.setPosition(b.position() + i + 1);
            const QTextCharFormat fa = ca.charFormat();
            const QTextCharFormat fb = cb.charFormat();
            const std::string at = where + " @" + std::to_string(i);
            EXPECT_EQ(fa.fontWeight(), fb.fontWeight()) << at;
            EXPECT_EQ(fa.fontItalic(), fb.fontItalic()) << at;
            EXPECT_EQ(fa.fontUnderline(), fb.fontUnderline()) << at;
            EXPECT_EQ(fa.fontStrikeOut(), fb.fontStrikeOut()) << at;
            EXPECT_EQ(fa.fontPointSize(), fb.fontPointSize()) << at;
            EXPECT_EQ(family(fa), family(fb)) << at;
            EXPECT_EQ(fa.foreground().color(), fb.foreground().color()) << at;
        }
    }
}

TEST_F(LibreOffice, ReadsOurPicturesBack)
{
    const auto doc = readDoc(fixture("pictures.rtf"));
    write("pictures.rtf", rtf::writeRtf(*doc));
    const QByteArray back = convert("pictures.rtf", "rtf:Rich Text Format", "rtf");
    ASSERT_FALSE(back.isEmpty());
    const auto again = readDoc(back);
    EXPECT_EQ(plain(*again), plain(*doc));
    std::vector<QSize> a, b;
    for (const auto* d : { doc.get(), again.get() }) {
        auto& sizes = d == doc.get() ? a : b;
        for (QTextBlock blk = d->begin(); blk.isValid(); blk = blk.next())
            for (auto it = blk.begin(); !it.atEnd(); ++it)
                if (const auto p = pictureFromFormat(it.fragment().charFormat(), *d))
                    sizes.push_back(p->displaySize);
    }
    ASSERT_EQ(a.size(), b.size());
    for (size_t i = 0; i < a.size(); ++i) {
        EXPECT_LE(std::abs(a[i].width() - b[i].width()), 1) << i;
        EXPECT_LE(std::abs(a[i].height() - b[i].height()), 1) << i;
    }
}

} // namespace
