// SPDX-License-Identifier: GPL-2.0-or-later
// The real program under a real window manager: typed into, closed through its window.
#include "e2e/desktop.h"
#include "harness/penwickprocess.h"
#include "harness/qtprinters.h"
#include "platform/richtextbox.h"

#include <QSettings>
#include <gtest/gtest.h>

namespace penwick::test {
namespace {

const QString binary = QStringLiteral(PENWICK_BINARY);

class EndToEnd : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!Desktop::instance().ready())
            GTEST_SKIP() << Desktop::instance().why().toStdString();
    }

    // Starts the program on the X display and gives its window once it is shown.
    QString startAndFindWindow(const ProgramFolder& folder)
    {
        process.reset(folder.start(nullptr, QStringLiteral("xcb")));
        EXPECT_TRUE(process->waitForStarted(30000));
        const QString id
            = xdotool({ "search", "--sync", "--onlyvisible", "--pid",
                          QString::number(process->processId()), "--name", "^Penwick 4\\.0$" })
                  .section(u'\n', 0, 0);
        if (!id.isEmpty())
            xdotool({ "windowactivate", "--sync", id });
        return id;
    }

    // Closes the program through its window (the window manager's close), and waits for it.
    void closeThroughWindow(const QString& id)
    {
        xdotool({ "windowactivate", "--sync", id });
        xdotool({ "key", "--clearmodifiers", "alt+F4" });
        ASSERT_TRUE(process->waitForFinished(60000));
        EXPECT_EQ(process->exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(process->exitCode(), 0);
    }

    // The stored texts of `keys`, joined by blanks.
    static QString stored(const ProgramFolder& folder, std::initializer_list<const char*> keys)
    {
        QSettings ini(folder.settingsFile(), QSettings::IniFormat);
        QStringList texts;
        for (const char* key : keys)
            texts << ini.value(QStringLiteral("Penwick/") + QLatin1String(key)).toString();
        return texts.join(u' ');
    }

    std::unique_ptr<QProcess> process;
};

TEST_F(EndToEnd, TypedTextIsInTheNoteAfterClosing)
{
    ProgramFolder folder(binary);
    const QString id = startAndFindWindow(folder);
    ASSERT_FALSE(id.isEmpty());
    xdotool({ "type", "--delay", "1", "--window", id, "Hello from the keyboard" });
    xdotool({ "key", "--window", id, "Return" });
    xdotool({ "type", "--delay", "1", "--window", id, "second line" });
    closeThroughWindow(id);

    RichTextBox note;
    ASSERT_TRUE(note.LoadFile(folder.notePath()));
    EXPECT_EQ(note.Text(), u"Hello from the keyboard\nsecond line");
    EXPECT_EQ(stored(folder, { "Toolbar", "Width", "Height" }), u"True 6945 5610");
}

// Outer measure written, outer measure restored: no drift by the frame, run after run.
TEST_F(EndToEnd, WindowGeometryDoesNotDrift)
{
    ProgramFolder folder(binary);
    {
        QSettings ini(folder.settingsFile(), QSettings::IniFormat);
        for (const auto& [key, value] :
            { std::pair("RememberPos", "True"), std::pair("Left", "1500"), std::pair("Top", "1200"),
                std::pair("Width", "7200"), std::pair("Height", "5400") })
            ini.setValue(QStringLiteral("Penwick/") + QLatin1String(key), QLatin1String(value));
    }
    QString firstGeometry;
    for (int run = 0; run < 5; ++run) {
        const QString id = startAndFindWindow(folder);
        ASSERT_FALSE(id.isEmpty());
        const QString geometry = xdotool({ "getwindowgeometry", id }).section(u'\n', 1);
        if (run == 0)
            firstGeometry = geometry;
        EXPECT_EQ(geometry, firstGeometry) << "run " << run;
        closeThroughWindow(id);
        EXPECT_EQ(stored(folder, { "Width", "Height", "Left", "Top" }), u"7200 5400 1500 1200")
            << "run " << run;
    }
}

} // namespace
} // namespace penwick::test
