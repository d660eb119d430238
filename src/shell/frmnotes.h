// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "app/environment.h"
#include "app/notesaver.h"
#include "platform/commondialog.h"
#include "search/search.h"

#include <QHash>
#include <QMainWindow>
#include <QMargins>
#include <QRect>
#include <QSize>
#include <QSystemTrayIcon>
#include <cstdint>
#include <memory>
#include <optional>
#include <utility>

class QAction;
class QDialog;
class QTimer;
class QMenu;

namespace penwick {

class ImageList;
class frmMenu;
class frmAuto;
class RichTextBox;
class SingleInstance;
class TerminationSignals;
class ToolbarButton;
class ToolbarControl;

// Program-wide state that more than one window uses.
struct ProgramState
{
    QString AppFolder; // the program's folder, ending in "/"
    std::uint8_t AutoSaveMinutes = 0;
    std::uint8_t AutoSaveCount = 0;
    QString LastSearchText;
    std::int16_t MatchCaseValue = 0;
    std::int16_t SearchDirection = 1; // 0 up, 1 down; down until the user chooses
    SearchOptions LastSearchOptions; // how LastSearchText was last searched
};

// Window states as the program stores them.
enum WindowStateValue : std::int16_t { vbNormal = 0, vbMinimized = 1, vbMaximized = 2 };

// The main window: owns the note editor, the menus, the toolbar and the working state.
class frmNotes : public QMainWindow
{
    Q_OBJECT
public:
    explicit frmNotes(Environment environment, QWidget* parent = nullptr);
    ~frmNotes() override;

    // Start-up; false when another copy already runs (nothing was shown or written), or when
    // the program was told to end while a start-up message waited (it has shut down).
    bool Form_Load();
    void Form_Resize();
    void Form_QueryUnload();
    void Form_Unload();
    // Closing asked for by the system (a signal, the session ending): the same shut-down, but no
    // message box may hold it up.
    void endSession();

    // File
    void mnuSave_Click();
    void mnuTextFile_Click();
    void mnuRichText_Click();
    void mnuPrint_Click();
    void mnuFHide_Click();
    void mnuExit_Click();
    void mnuTExit_Click();
    // Tray: the icon's clicks, and the window shown or hidden in the tray. Where the desktop has
    // no tray, hiding minimizes to the task bar instead.
    void picTray_Activated(QSystemTrayIcon::ActivationReason reason);
    void mnuShow_Click();
    void mnuHide_Click();
    bool trayAvailable() const;
    // Options
    void mnuStartup_Click();
    void mnuRememberPos_Click();
    void mnuRememberSize_Click();
    void mnuToolbar_Click();
    void mnuFlatTool_Click();
    void mnuWrap_Click();
    void mnuDefaults_Click();
    void mnuOnTop_Click();
    void mnuAutoSave_Click();
    // Edit
    void mnuUndo_Click();
    void mnuCut_Click();
    void mnuCopy_Click();
    void mnuPaste_Click();
    void mnuSelectAll_Click();
    // Insert
    void mnuInsert_Click();
    void mnuBullet_Click();
    void mnuTimeD_Click();
    void mnuDate_Click();
    void mnuDateTime_Click();
    void mnuLongDDate_Click();
    void mnuLongDDT_Click();
    void mnuLongDate_Click();
    void mnuLongDT_Click();
    void mnuTime_Click();
    void mnuInsertImage_Click();
    void mnuImportText_Click();
    void mnuImportRtf_Click();
    // Format
    void mnuFont_Click();
    void mnuFPlusOne_Click();
    void mnuFMinusOne_Click();
    void mnuBold_Click();
    void mnuItalic_Click();
    void mnuUnder_Click();
    void mnuStrike_Click();
    void mnuNormal_Click();
    void mnuFC_Click();
    void mnuBG_Click();
    void mnuLeft_Click();
    void mnuCenter_Click();
    void mnuRight_Click();
    void mnuLowercase_Click();
    void mnuUppercase_Click();
    void mnuTitleCase_Click();
    void mnuTruePCase_Click();
    void mnuAltCaps_Click();
    void mnuReverse_Click();
    void mnuDelimit_Click();
    void mnuRemoveSp_Click();
    void mnuCountChar_Click();
    // Help
    void mnuAbout_Click();
    void mnuHelpC_Click();
    // Search
    void mnuFind_Click();
    void mnuFindAgain_Click();
    void mnuReplace_Click();

    // Always on top: the main window's flag follows mnuOnTop's mark; tmrOnTop re-applies it once,
    // shortly after start-up and after each of the program's dialogs closes.
    void tmrOnTop_Timer();
    void applyOnTop();
    // Shows one of the program's own dialogs modally, owned by this window, handing the
    // always-on-top state over to it while it is open. Returns the dialog's result.
    int showOwnedDialog(QDialog& dialog);
    // The dialog's side of the hand-over: called when it is activated and when it is closing.
    void ownedDialogActivated(QWidget* dialog);
    void ownedDialogClosing(QWidget* dialog);

    // Auto-save: the minute timer, and its dialog, loaded hidden when touched from outside.
    void tmrAuto_Timer();
    frmAuto& autoSaveDialog();
    bool autoSaveDialogLoaded() const { return m_auto != nullptr; }
    void unloadAutoSaveDialog();
    // Completes the saves in progress (the note is in its file when this returns).
    void finishSaving();

    // Toolbar and editor events.
    void Toolbar_ButtonClick(ToolbarButton* Button);
    void rtfNotes_Change();
    void rtfNotes_KeyDown(int& KeyCode, int& Shift);
    void rtfNotes_SelChange();
    void rtfNotes_MouseDown(int Button, int Shift, float X, float Y);

    // Controls and state.
    RichTextBox* rtfNotes = nullptr;
    RichTextBox* rtfNotes2 = nullptr;
    ToolbarControl* Toolbar = nullptr;
    frmMenu* menuForm = nullptr; // holds the editor's popup menu
    QTimer* tmrOnTop = nullptr;
    QTimer* tmrAuto = nullptr;
    QSystemTrayIcon* picTray = nullptr;
    std::unique_ptr<ImageList> imlToolbarIcons;
    std::int16_t chkBullet = 0; // bullets of the selection: 0 none, 1 all, 2 mixed
    std::int16_t LastWindowState = vbNormal;
    CommonDialogValues Dialog1;
    ProgramState Module;

    // A menu item by its name ("mnuSave"); null for an unknown name.
    QAction* menuItem(const QString& name) const;
    QMenu* menuOf(const QString& name) const;

    // Where the note lives ("data.nbx" in the program folder, or the per-user data folder
    // when the program folder cannot be written).
    QString notePath() const { return m_notePath; }

    // Geometry in twips of the outer window, as stored.
    double windowLeft() const;
    double windowTop() const;
    double windowWidth() const;
    double windowHeight() const;
    bool setWindowLeft(double twips);
    bool setWindowTop(double twips);
    bool setWindowWidth(double twips);
    bool setWindowHeight(double twips);
    std::int16_t windowStateValue() const;
    // The client area below the menu bar, in twips.
    double scaleWidth() const;
    double scaleHeight() const;

    const Environment& environment() const { return m_env; }

signals:
    // The editor's popup menu keeps its Undo, Cut and Copy items in step with the menu bar's.
    void popupUndoEnabled(bool enabled);
    void popupCutCopyEnabled(bool enabled);

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenus();
    void refreshStamps();
    void connectEditorEvents();
    void dockToolbar();
    void showStartupMessages();
    void noteFrameGeometry();
    QSize outerToClient(QSize outer) const;
    void applyOuterSize(QSize outer);
    QRect normalOuterGeometry() const;
    void keepOnScreen();
    std::pair<QString, QString> autoSaveValues();
    void addTrayIcon();
    void hideToTray(bool rememberState);
    void showTrayItems(bool hidden);
    void followStateToTray();
    void noteSaved(NoteSaver::Kind kind, bool ok, const QString& error);
    QMargins frameMargins() const;

    Environment m_env;
    QWidget* m_client = nullptr;
    QHash<QString, QAction*> m_items;
    QHash<QString, QMenu*> m_menus;
    std::unique_ptr<SingleInstance> m_instance;
    NoteSaver* m_saver = nullptr;
    frmAuto* m_auto = nullptr;
    bool m_autoSaveFailing = false; // told once; said again only after a save that worked
    QTimer* m_trayWatch = nullptr; // while hidden: a tray that goes away gives the window back
    TerminationSignals* m_signals = nullptr;
    QString m_notePath;
    QStringList m_startupMessages;
    bool m_shutDown = false;
    bool m_closingByUser = true;
    QMargins m_frame; // the window manager's frame, last seen while shown
    QRect m_normalOuter; // outer geometry of the normal window, last seen in the normal state
    std::optional<QSize> m_pendingOuterSize; // re-applied once the frame is known
    QSize m_requestedClient;
};

} // namespace penwick
