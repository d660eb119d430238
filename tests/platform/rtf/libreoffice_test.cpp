// SPDX-License-Identifier: GPL-2.0-or-later
// Rich text exchanged with LibreOffice, where it is installed (skipped elsewhere).
#include "harness/testenv.h"
#include "rtftestutil.h"

#include <QProcess>
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

    // Writes bytes to a file, has LibreOffice convert it to its own RTF and returns that.
    QByteArray convert(const QString& name, const QByteArray& bytes)
    {
        QFile in(path(name));
        if (!in.open(QIODevice::WriteOnly) || in.write(bytes) != bytes.size())
            return {};
        in.close();
        QProcess p;
        p.start(m_soffice,
            { QStringLiteral("-env:UserInstallation=file://") + path("profile"), "--headless",
                "--norestore", "--convert-to", "rtf:Rich Text Format", "--outdir", path("out"),
                path(name) });
        if (!p.waitForFinished(240000))
            return {};
        return readFile(path("out/") + QFileInfo(name).completeBaseName() + ".rtf");
    }

    QString m_soffice;
    QTemporaryDir m_dir;
};

// What LibreOffice writes back of our file reads with our text and the formatting we wrote,
// paragraph by paragraph and character by character, and with our pictures at their sizes.
TEST_F(LibreOffice, ReadsOurTextFormattingAndPicturesBack)
{
    for (const char* name : { "libreoffice.rtf", "pictures.rtf" }) {
        SCOPED_TRACE(name);
        const auto doc = readDoc(fixture(name));
        const QByteArray back = convert(QString::fromLatin1(name), rtf::writeRtf(*doc));
        ASSERT_FALSE(back.isEmpty());
        const auto again = readDoc(back);
        expectSameFormatting(*doc, *again);
        const auto a = picturesOf(*doc), b = picturesOf(*again);
        ASSERT_EQ(a.size(), b.size());
        for (size_t i = 0; i < a.size(); ++i) {
            const QSize d = a[i].displaySize - b[i].displaySize;
            EXPECT_LE(std::max(std::abs(d.width()), std::abs(d.height())), 1) << i;
        }
    }
}

} // namespace
} // namespace penwick::test
