// SPDX-License-Identifier: GPL-2.0-or-later
#include "app/notestore.h"
#include "app/settingsconvert.h"
#include "app/settingsstore.h"
#include "platform/atomicfile.h"
#include "platform/clock.h"
#include "platform/prompter.h"
#include "platform/richtextbox.h"
#include "platform/singleinstance.h"
#include "platform/terminationsignals.h"
#include "platform/toolbarstyle.h"
#include "platform/twips.h"
#include "shell/frmnotes.h"
#include "shell/toolbar.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QMenu>
#include <QScreen>
#include <QSessionManager>
#include <cmath>

namespace penwick {
namespace {

// The option items restored from the store, in the order they are read.
struct OptionKey
{
    const char* key;
    const char* item;
    bool defaultValue;
};
constexpr OptionKey optionKeys[] = {
    { "Startup", "mnuStartup", false },
    { "OnTop", "mnuOnTop", false },
    { "Toolbar", "mnuToolbar", true },
    { "Flat Toolbar", "mnuFlatTool", true },
    { "Word Wrap", "mnuWrap", true },
    { "RememberSize", "mnuRememberSize", true },
    { "RememberPos", "mnuRememberPos", false },
};

// Half of (screen - window), the difference rounded half to even and the half truncated.
double centred(double screenTwips, double windowTwips)
{
    return std::trunc(std::nearbyint(screenTwips - windowTwips) / 2.0);
}

} // namespace

bool frmNotes::Form_Load()
{
    SettingsStore& settings = *m_env.settings;
    const auto checked
        = [this](const char* item) { return menuItem(QLatin1String(item))->isChecked(); };

    // Signals asking the program to end close it the ordinary way, from the very start, so that
    // a note loaded by now is saved.
    if (m_env.handleTerminationSignals) {
        m_signals = new TerminationSignals(this);
        connect(m_signals, &TerminationSignals::terminationRequested, this, &frmNotes::endSession);
    }

    // 1. One copy per note: a second start ends here, having shown and written nothing. The
    // note's folder is made first, so that every copy locks beside the same note.
    const QString noteFolder = m_env.notePlace().folder;
    makePrivateFolder(noteFolder);
    if (!m_instance->acquire(noteFolder, m_env.lockFolder)) {
        // The copy that owns the note shows its window instead.
        m_instance->askOwnerToShow();
        return false;
    }
    m_instance->listen([this] {
        if (!m_shutDown)
            mnuShow_Click();
    });
    // Which file to read is settled only now: the copy that owned the note until now may have
    // saved it in between.
    const NotePlace place = m_env.notePlace();
    removeLeftoverTemporaries(place.path());
    QGuiApplication::setQuitOnLastWindowClosed(false);
    connect(qApp, &QGuiApplication::commitDataRequest, this, &frmNotes::endSession);
    // Whatever ends the event loop, the note is saved on the way out.
    connect(qApp, &QCoreApplication::aboutToQuit, this, [this] {
        if (!m_shutDown)
            endSession();
    });

    // 2. The tray menu is only ever a popup.
    m_menus.value(QStringLiteral("mnuTPop"))->menuAction()->setVisible(false);

    // 3.
    LastWindowState = windowStateValue();

    // 4.
    addTrayIcon();

    // 5.
    Module.AppFolder = m_env.programFolderPath();

    // 6. The note; an unreadable file is moved aside rather than overwritten later.
    m_notePath = place.path();
    m_saver->setPath(m_notePath);
    const NoteLoad load
        = loadNote(*rtfNotes, place.readPath, m_env.clock->now(), m_env.notePrefetch.get());
    if (load.outcome == NoteLoad::Loaded && place.movesToDataFolder()) {
        m_startupMessages << tr("Penwick cannot write to its own folder, so from now on your note "
                                "is kept in:\n%1\n\nThe note in %2 is left as it was.")
                                 .arg(QDir::toNativeSeparators(m_notePath),
                                     QDir::toNativeSeparators(place.readPath));
    } else if (load.outcome == NoteLoad::MovedAside) {
        m_startupMessages << tr("The note file could not be read (%1), so Penwick started with an "
                                "empty note.\n\nThe file was kept unchanged as:\n%2")
                                 .arg(load.reason, QDir::toNativeSeparators(load.movedTo));
    } else if (load.outcome == NoteLoad::Unreadable) {
        m_startupMessages << tr("The note file %1 could not be read (%2), so Penwick started with "
                                "an empty note.")
                                 .arg(QDir::toNativeSeparators(place.readPath), load.reason);
    }

    // 7.
    if (const auto bg = toInt32(settings.Read(QStringLiteral("BG"),
            static_cast<long long>(static_cast<std::int32_t>(SystemWindowBackground)))))
        rtfNotes->setBackColor(static_cast<OleColor>(*bg));

    // 8. A text that is not a Boolean leaves the item as designed.
    for (const OptionKey& option : optionKeys) {
        if (const auto value
            = toBoolean(settings.Read(QLatin1String(option.key), option.defaultValue)))
            menuItem(QLatin1String(option.item))->setChecked(*value);
    }

    // 9. Its loading switches auto-save on or off.
    autoSaveDialog();

    // 10. Size, then 11. position (centring uses the restored size).
    if (checked("mnuRememberSize")) {
        if (const auto h = toSingle(settings.Read(QStringLiteral("Height"), 5610)))
            setWindowHeight(*h);
        if (const auto w = toSingle(settings.Read(QStringLiteral("Width"), 6945)))
            setWindowWidth(*w);
    }
    const QRect screen = this->screen()->geometry();
    const Twips t = Twips::forScreenOf(this);
    const double centreLeft = centred(t.toTwipsX(screen.width()), windowWidth());
    const double centreTop = centred(t.toTwipsY(screen.height()), windowHeight());
    if (checked("mnuRememberPos")) {
        if (const auto left
            = toSingle(settings.Read(QStringLiteral("Left"), fromSingle(float(centreLeft)))))
            setWindowLeft(*left);
        if (const auto top
            = toSingle(settings.Read(QStringLiteral("Top"), fromSingle(float(centreTop)))))
            setWindowTop(*top);
    } else {
        setWindowLeft(centreLeft);
        setWindowTop(centreTop);
    }
    // A place off every screen is no place to open.
    keepOnScreen();

    // 12.
    if (!checked("mnuWrap"))
        rtfNotes->setRightMargin(99999);

    // 13. Before the first layout, so that the editor takes the band of a hidden toolbar.
    Toolbar->setVisible(checked("mnuToolbar"));

    // 14.
    applyOnTop();

    // 15. Start in the tray (never shown, so never iconified on the way), or on the task bar
    // where there is no tray; or show the window with the editor focused.
    if (checked("mnuStartup")) {
        if (trayAvailable())
            hideToTray(false);
        else
            showMinimized();
    } else {
        show();
        rtfNotes->SetFocus();
    }

    // 16.
    rtfNotes->setBulletIndent(250);

    // 17. Undo waits for the first edit.
    menuItem(QStringLiteral("mnuUndo"))->setEnabled(false);
    emit popupUndoEnabled(false);

    // 18. Buttons and menu marks match the caret's formatting from the first frame.
    Form_Resize();
    update();
    rtfNotes_SelChange();

    // 19. A toolbar that is not flat keeps its own raised look: nothing is sent.
    if (checked("mnuFlatTool"))
        SetToolbarStyle(*Toolbar, true, false);

    // The note in the editor is the file's: an auto-save has nothing to write until it changes.
    m_saver->markSaved();

    // A message waits for the user; the program may be told to end meanwhile, and then it has
    // already shut down.
    showStartupMessages();
    return !m_shutDown;
}

void frmNotes::showStartupMessages()
{
    for (const QString& message : std::exchange(m_startupMessages, {}))
        m_env.prompter->MsgBox(this, message, MsgIcon::Warning);
}

} // namespace penwick
