// SPDX-License-Identifier: GPL-2.0-or-later
// Time from process start to the first painted frame of its window, for Penwick with a 1 MB note
// and for a bare Qt window holding the same text, measured alternately in one run. Run it on an
// X display without a window manager (xvfb-run): a window's first paint is the first damage the
// X server reports for it after it is mapped.
#include "notegen.h"
#include "platform/richtextbox.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTextCursor>
#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// The note as Penwick keeps it (RTF) and its plain text, for the floors.
void writeNote(const QString& rtfPath, const QString& textPath, int units, bool formatted)
{
    penwick::RichTextBox editor;
    generateNote(*editor.document(), units, formatted);
    editor.SaveFile(rtfPath, 0);
    editor.SaveFile(textPath, 1);
}

// Starts `program` and returns the milliseconds until its first window is mapped and painted.
double timeToFirstPaint(
    Display* dpy, const char* program, const std::vector<const char*>& args, const char* workdir)
{
    XSync(dpy, True);
    const auto t0 = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        if (chdir(workdir) != 0)
            _exit(127);
        std::vector<char*> argv { const_cast<char*>(program) };
        for (const char* a : args)
            argv.push_back(const_cast<char*>(a));
        argv.push_back(nullptr);
        setenv("QT_QPA_PLATFORM", "xcb", 1);
        execv(program, argv.data());
        _exit(127);
    }
    int damageEvent = 0, damageError = 0;
    XDamageQueryExtension(dpy, &damageEvent, &damageError);
    double ms = -1;
    while (ms < 0) {
        XEvent ev;
        XNextEvent(dpy, &ev);
        // Every top-level window the program maps is watched; the first damage is its first paint.
        if (ev.type == MapNotify && ev.xmap.event == DefaultRootWindow(dpy))
            XDamageCreate(dpy, ev.xmap.window, XDamageReportNonEmpty);
        else if (ev.type == damageEvent + XDamageNotify)
            ms = std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    XSync(dpy, True);
    return ms;
}

struct Stats
{
    double median, min, max;
};
Stats stats(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return { v[v.size() / 2], v.front(), v.back() };
}

} // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::max(3, std::atoi(argv[1])) : 15;
    const bool formatted = !(argc > 2 && QByteArrayView(argv[2]) == "plain");
    qputenv("QT_QPA_PLATFORM", "offscreen"); // this process only writes the note
    QApplication app(argc, argv);
    Display* dpy = XOpenDisplay(nullptr);
    // Damage objects die with their windows when a program ends: nothing to report.
    XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    if (!dpy) {
        std::fprintf(
            stderr, "startup_bench: needs an X display without a window manager (xvfb-run)\n");
        return 2;
    }
    XSelectInput(dpy, DefaultRootWindow(dpy), SubstructureNotifyMask);

    QTemporaryDir dir;
    const QString folder = dir.path() + QStringLiteral("/program/");
    QDir().mkpath(folder);
    QDir().mkpath(dir.path() + QStringLiteral("/config"));
    QFile::copy(QStringLiteral(PENWICK_BINARY), folder + QStringLiteral("penwick"));
    const QString text = dir.path() + QStringLiteral("/note.txt");
    writeNote(folder + QStringLiteral("data.nbx"), text, 1024 * 1024, formatted);
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.path() + QStringLiteral("/config")));

    const QByteArray penwick = QFile::encodeName(folder + QStringLiteral("penwick"));
    const QByteArray textArg = QFile::encodeName(text);
    const QByteArray units = QByteArray::number(1024 * 1024);
    const QByteArray work = QFile::encodeName(dir.path());
    std::vector<double> ours, plain, sameFormat;
    for (int i = 0; i < runs + 1; ++i) {
        const double a = timeToFirstPaint(dpy, penwick.constData(), {}, work.constData());
        const double b = timeToFirstPaint(
            dpy, FLOOR_BINARY, { "plain", textArg.constData() }, work.constData());
        const double c = formatted ? timeToFirstPaint(dpy, FLOOR_BINARY,
                             { "formatted", units.constData() }, work.constData())
                                   : b;
        if (i == 0)
            continue; // warm the file cache first
        ours.push_back(a);
        plain.push_back(b);
        sameFormat.push_back(c);
    }
    const Stats p = stats(ours), f = stats(plain), g = stats(sameFormat);
    std::printf("runs: %d, %s note: %lld bytes of RTF, %lld of text\n", runs,
        formatted ? "formatted" : "plain", QFileInfo(folder + QStringLiteral("data.nbx")).size(),
        QFileInfo(text).size());
    std::printf(
        "penwick             median %6.1f ms  (min %6.1f, max %6.1f)\n", p.median, p.min, p.max);
    std::printf("bare Qt, plain      median %6.1f ms  (min %6.1f, max %6.1f)  ratio %.2f\n",
        f.median, f.min, f.max, p.median / f.median);
    std::printf("bare Qt, formatted  median %6.1f ms  (min %6.1f, max %6.1f)  ratio %.2f\n",
        g.median, g.min, g.max, p.median / g.median);
    XCloseDisplay(dpy);
    return 0;
}
