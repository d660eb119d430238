// SPDX-License-Identifier: GPL-2.0-or-later
// The real program under a real window manager: typed into, its dialogs answered on the
// keyboard, closed through its window; where its window opens; the tray and the stacking on a
// desktop with a tray panel (hiding leaves the task bar, the icon brings the window back, a later
// start shows it, and Always On Top keeps it above another program's window, also around the Auto
// Save dialog; without the panel, minimizing leaves the window on the task bar); installed in a
// folder it cannot write (the note is kept per user, nothing is lost, and a note left beside the
// program is carried over).
#include "e2e/desktop.h"
#include "harness/qtprinters.h"
#include "platform/richtextbox.h"

#include <QDir>
#include <QFileSystemWatcher>
#include <QImage>
#include <QRegularExpression>
#include <QSignalSpy>
#include <array>
#include <cstdlib>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace penwick::test {
namespace {

using EndToEnd = ProgramOnDesktop;

// Typed text; Find and Replace opened by their keys: up from the end the last "two" is found and
// selected, Replace opens with it and replaces both. Then a picture chosen in the real file dialog
// at the end: the note, and its export as rich text through the real save dialog, carry it.
TEST_F(EndToEnd, TypedFoundReplacedAndAPictureInTheNoteAndItsExport)
{
    const QString picture = folder.path() + QStringLiteral("/red.png");
    QImage red(30, 20, QImage::Format_RGB32);
    red.fill(Qt::red);
    ASSERT_TRUE(red.save(picture));
    const QString exported = folder.path() + QStringLiteral("/exported.rtf");
    const QString id = start();
    ASSERT_FALSE(id.isEmpty());
    xdotool({ "type", "--delay", "1", "--window", id, "one two one two" });
    xdotool({ "key", "--clearmodifiers", "ctrl+g" });
    ASSERT_FALSE(activate("^Find$").isEmpty());
    xdotool({ "type", "--delay", "20", "two" });
    xdotool({ "key", "--delay", "50", "alt+u", "Return", "Escape" });
    xdotool({ "windowactivate", "--sync", id, "key", "--clearmodifiers", "ctrl+h" });
    ASSERT_FALSE(activate("^Replace$").isEmpty());
    xdotool({ "key", "alt+p", "type", "--delay", "20", "2" });
    xdotool({ "key", "alt+a" });
    ASSERT_FALSE(activate("^Penwick$").isEmpty()); // "2 occurrences replaced."
    xdotool({ "key", "Return" });
    activate("^Replace$");
    xdotool({ "key", "Escape" });

    // Answers a file dialog and waits until it is gone: keys sent while it closes go astray on a
    // busy machine.
    const auto answer = [this](const char* title, const QString& path) {
        const QString dialog = activate(title);
        ASSERT_FALSE(dialog.isEmpty()) << title;
        xdotool({ "key", "ctrl+a", "type", "--delay", "1", path });
        xdotool({ "key", "Return" });
        EXPECT_TRUE(waitForTaskBar(dialog, false)) << title;
    };
    xdotool({ "windowactivate", "--sync", id, "key", "--clearmodifiers", "ctrl+End", "ctrl+j" });
    answer("^Select an Image$", picture);
    QFileSystemWatcher watcher({ folder.path() });
    QSignalSpy changed(&watcher, &QFileSystemWatcher::directoryChanged);
    xdotool({ "windowactivate", "--sync", id, "key", "--delay", "100", "alt+f", "a", "r" });
    answer("^Save Document$", exported);
    while (!QFile::exists(exported) && changed.wait(5000)) { }
    closeThroughWindow(id);
    EXPECT_EQ(noteText(folder.notePath()), u"one 2 one 2\uFFFC");
    EXPECT_EQ(noteText(exported), u"one 2 one 2\uFFFC");
}

const QRect screen(0, 0, 1280, 1024); // the Xvfb screen the tests run on

// The window's own area (inside the frame) on the screen, as the X server has it.
QRect clientArea(const QString& id)
{
    const QString info = output("xwininfo", { "-id", id });
    const auto number = [&](const char* label) {
        const QRegularExpression line(label + QStringLiteral(":\\s+(-?\\d+)"));
        return line.match(info).captured(1).toInt();
    };
    return { number("Absolute upper-left X"), number("Absolute upper-left Y"), number("Width"),
        number("Height") };
}

using WindowPlace = ProgramOnDesktop;

// A place off every screen (or larger than it) opens wholly on the screen, centred across it, no
// wider. Outer measure written, outer measure restored, run after run, though the window manager
// draws a maximized window with another frame than a normal one; this place shows enough of the
// title bar to stay exactly where it was put, though partly off the screen.
TEST_F(WindowPlace, OffEveryScreenComesBackAndClosingMaximizedKeepsTheNormalPlace)
{
    // Left, top, width and height.
    for (const auto& place :
        { std::array { "-20000", "-20000", "6945" }, std::array { "1500", "300000", "300000" } }) {
        SCOPED_TRACE(testing::Message() << place[0] << ' ' << place[1] << ' ' << place[2]);
        store({ { "RememberPos", "True" }, { "Left", place[0] }, { "Top", place[1] },
            { "Width", place[2] }, { "Height", place[2] } });
        const QString id = start();
        ASSERT_FALSE(id.isEmpty());
        const QRect area = clientArea(id);
        closeThroughWindow(id);
        const int width = std::min(QString::fromLatin1(place[2]).toInt() / 15, screen.width());
        EXPECT_TRUE(screen.contains(area)) << area.x() << ',' << area.y();
        EXPECT_EQ(stored({ "Left", "Width" }),
            QStringLiteral("%1 %2").arg((screen.width() - width) / 2 * 15).arg(width * 15));
    }
    store({ { "RememberPos", "True" }, { "Left", "-1500" }, { "Top", "1200" }, { "Width", "7200" },
        { "Height", "5400" } });
    QRect normal;
    for (int cycle = 0; cycle < 5; ++cycle) {
        SCOPED_TRACE(cycle);
        const QString id = start();
        ASSERT_FALSE(id.isEmpty());
        const QRect area = clientArea(id);
        if (cycle == 0)
            normal = area;
        EXPECT_EQ(area, normal);
        ASSERT_TRUE(maximizeByTitleBar(id));
        closeThroughWindow(id);
        EXPECT_EQ(stored({ "Width", "Height", "Left", "Top" }), u"7200 5400 -1500 1200");
    }
}

class TrayOnDesktop : public ProgramOnDesktop
{
protected:
    // The program's visible windows: its main window and (docked in the panel) its icon.
    QStringList visibleWindows() const
    {
        return output("xdotool",
            { "search", "--sync", "--onlyvisible", "--pid", QString::number(process->processId()) })
            .split(u'\n', Qt::SkipEmptyParts);
    }
    // The icon in the tray: the program's small visible window, once it has docked.
    QString trayIcon() const
    {
        for (int round = 0; round < 200; ++round) {
            for (const QString& id : visibleWindows()) {
                const QString size
                    = output("xdotool", { "getwindowgeometry", id }).section(u' ', -1);
                if (size.contains(u'x') && size.section(u'x', 0, 0).toInt() <= 64
                    && size.section(u'x', 1).toInt() <= 64)
                    return id;
            }
        }
        return {};
    }
};

TEST_F(TrayOnDesktop, HiddenInTheTrayAndBackByTheIconTheMenuOrALaterStart)
{
    store({ { "Startup", "True" } });
    launch();
    // Only the icon: no window on the screen or the task bar.
    const QString icon = trayIcon();
    ASSERT_EQ(visibleWindows(), QStringList { icon });

    // The icon brings it back normal; minimizing sends it back to the tray.
    xdotool({ "mousemove", "--window", icon, "4", "4", "click", "1" });
    const QString id = windowOf(*process);
    ASSERT_FALSE(id.isEmpty());
    ASSERT_TRUE(waitForTaskBar(id, true));
    EXPECT_TRUE(waitForState(id, "MAXIMIZED", false));
    ASSERT_TRUE(minimizeToTray(id));
    EXPECT_EQ(visibleWindows(), QStringList { icon });

    // Maximized, minimized, back by the icon: maximized again.
    xdotool({ "mousemove", "--window", icon, "4", "4", "click", "1" });
    ASSERT_TRUE(waitForTaskBar(id, true));
    xdotool({ "windowactivate", "--sync", id });
    ASSERT_TRUE(maximizeByTitleBar(id));
    ASSERT_TRUE(minimizeToTray(id));
    xdotool({ "mousemove", "--window", icon, "4", "4", "click", "1" });
    ASSERT_TRUE(waitForTaskBar(id, true));
    EXPECT_TRUE(waitForState(id, "MAXIMIZED_HORZ"));

    // Escape in the editor hides it; a later start shows it again, and ends by itself.
    xdotool({ "windowactivate", "--sync", id, "type", "--delay", "1", "kept in the tray" });
    xdotool({ "key", "Escape" });
    ASSERT_TRUE(waitForTaskBar(id, false));
    std::unique_ptr<QProcess> later(folder.start(nullptr, QStringLiteral("xcb")));
    ASSERT_TRUE(later->waitForFinished(30000) && later->exitCode() == 0);
    ASSERT_TRUE(waitForTaskBar(id, true));

    // The tray menu's Exit ends the program, saving the note.
    xdotool({ "mousemove", "--window", icon, "4", "4", "click", "3" });
    for (int i = 0; i < 1000 && visibleWindows().size() < 3; ++i) { } // the menu is up
    xdotool({ "key", "x" });
    ASSERT_TRUE(process->waitForFinished(30000) && process->exitCode() == 0);
    EXPECT_EQ(noteText(folder.notePath()), u"kept in the tray");
}

TEST_F(TrayOnDesktop, AlwaysOnTopAroundTheAutoSaveDialogAndADesktopWithoutATray)
{
    // Another program's window, made active over ours.
    ProgramFolder otherFolder { QStringLiteral(PENWICK_BINARY) };
    std::unique_ptr<QProcess> other(otherFolder.start(nullptr, QStringLiteral("xcb")));
    const QString otherId = windowOf(*other);
    store({ { "OnTop", "True" } });
    const QString id = start();
    ASSERT_FALSE(id.isEmpty() || otherId.isEmpty());
    const auto onTop = [&] {
        xdotool({ "windowactivate", "--sync", otherId });
        if (!waitForState(id, "_NET_WM_STATE_ABOVE"))
            return false;
        const QString stack = output("xprop", { "-root", "_NET_CLIENT_LIST_STACKING" });
        return stack.indexOf(hexId(id)) > stack.indexOf(hexId(otherId)); // bottom to top
    };
    EXPECT_TRUE(onTop());

    // The dialog is above while open; after it, the main window is on top again.
    xdotool({ "windowactivate", "--sync", id, "key", "alt+o", "a" });
    const QString dialog = windowOf(*process, "^Auto Save$");
    ASSERT_FALSE(dialog.isEmpty());
    ASSERT_TRUE(waitForTaskBar(dialog, true));
    EXPECT_TRUE(waitForState(dialog, "_NET_WM_STATE_ABOVE"));
    xdotool({ "windowactivate", "--sync", dialog, "key", "alt+F4" });
    ASSERT_TRUE(waitForTaskBar(dialog, false));
    EXPECT_TRUE(onTop());

    // No tray on the desktop: minimizing leaves the window on the task bar.
    runPanel(false);
    xdotool({ "windowminimize", id });
    ASSERT_TRUE(waitForState(id, "_NET_WM_STATE_HIDDEN"));
    EXPECT_TRUE(waitForTaskBar(id, true));
    runPanel(true);
    end(other.get());
}

// The note beside the program before the first start; empty: none.
class ReadOnlyProgramFolder : public ProgramOnDesktop, public ::testing::WithParamInterface<QString>
{
protected:
    // Runs a shell command line, the program folder for %1; true when it succeeds.
    bool shell(const char* command) const
    {
        return std::system(qPrintable(QString::fromLatin1(command).arg(folder.path()))) == 0;
    }
    void TearDown() override
    {
        ProgramOnDesktop::TearDown();
        if (mounted)
            shell("umount '%1' || umount --lazy '%1'");
    }
    // Types at the end of the note, then closes the program through its window.
    void appendAndClose(const QString& text)
    {
        const QString id = activate();
        ASSERT_FALSE(id.isEmpty());
        xdotool({ "key", "--clearmodifiers", "ctrl+End", "type", "--delay", "1", "--window", id,
            text });
        closeThroughWindow(id);
    }

    bool mounted = false;
};

// Run twice: the note is kept in the user's own folder (made private) and comes back; a note
// beside the program is carried over and the user told once (the original cannot change: the
// folder is mounted read-only).
TEST_P(ReadOnlyProgramFolder, KeepsTheNotePerUser)
{
    const QString original = GetParam();
    if (!original.isEmpty()) {
        RichTextBox note;
        note.setText(original);
        ASSERT_TRUE(note.SaveFile(folder.notePath()));
    }
    // Read-only for everyone, root included: mounted read-only over itself.
    mounted = ::geteuid() == 0 && shell("mount --bind '%1' '%1'");
    if (!mounted || !shell("mount -o remount,ro,bind '%1'")
        || ::access(QFile::encodeName(folder.path()).constData(), W_OK) == 0)
        GTEST_SKIP() << "cannot make the program folder read-only (a bind mount needs root)";
    const QString userFolder = QDir::cleanPath(folder.path() + QStringLiteral("../data/Penwick"));
    const QString kept = userFolder + QStringLiteral("/data.nbx");

    launch();
    if (!original.isEmpty())
        xdotool({ "windowactivate", "--sync", windowOf(*process, "^Penwick$"), "key", "Return" });
    appendAndClose(QStringLiteral(", typed"));
    EXPECT_EQ(noteText(kept), original + QStringLiteral(", typed"));
    struct stat st = {};
    ASSERT_EQ(::stat(QFile::encodeName(userFolder).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0700u);
    EXPECT_EQ(QDir(userFolder).entryList(QDir::Files), QStringList { "data.nbx" });

    // Told once: the second start opens straight into the note (a message would take the keys).
    launch();
    appendAndClose(QStringLiteral(" again"));
    EXPECT_EQ(noteText(kept), original + QStringLiteral(", typed again"));
}

INSTANTIATE_TEST_SUITE_P(EndToEnd, ReadOnlyProgramFolder,
    testing::Values(QString(), QStringLiteral("from the program folder")));

} // namespace
} // namespace penwick::test
