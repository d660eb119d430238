// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QString>
#include <functional>
#include <memory>

namespace penwick {

class SettingsStore;
class Prompter;
class Clock;
class Shell;
class CommonDialog;
class NotePrefetch;
struct NotePlace;

// What the program needs from the world around it. Tests supply a temporary program folder,
// their own settings file and scripted fakes; the running program uses `system()`.
struct Environment
{
    QString programFolder; // empty: the folder of the running program
    QString dataFolder; // per-user data folder ("Penwick" under XDG data home)
    QString docFolder; // the installed documentation, where the read-me is looked for second
    QString lockFolder; // where the single-copy lock goes when the note's folder can't hold it
    std::shared_ptr<SettingsStore> settings;
    std::shared_ptr<Prompter> prompter;
    std::shared_ptr<Clock> clock;
    std::shared_ptr<Shell> shell;
    std::shared_ptr<CommonDialog> dialogs;
    std::shared_ptr<NotePrefetch> notePrefetch; // the note, being read ahead; may be null
    bool handleTerminationSignals = false; // SIGTERM, SIGHUP and SIGINT close the window
    bool endProgramOnUnload = false; // closing the main window ends the event loop
    // Whether a folder can be written; null: ask the system. Tests pretend folders read-only.
    std::function<bool(const QString&)> isWritable;
    // Whether the desktop shows a system tray; null: ask the system. Tests pretend one.
    std::function<bool()> isTrayAvailable;

    // The program's folder with a trailing "/".
    QString programFolderPath() const;
    // Where the note lives: beside the program, or in the data folder when that cannot be written.
    NotePlace notePlace() const;

    // The running program's: it also starts reading the note ahead.
    static Environment system();
};

} // namespace penwick
