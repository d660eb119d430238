// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "shell/buildinfo.h"

#include <QDialog>
#include <QLabel>

class QGroupBox;
class QPushButton;
class QUrl;

namespace penwick {

class frmNotes;
class Prompter;
class Shell;

// A label that reads as a link: blue, underlined, a pointing hand over it, and a click.
class LinkLabel : public QLabel
{
    Q_OBJECT
public:
    explicit LinkLabel(QWidget* parent = nullptr);

signals:
    void Click();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool m_pressed = false;
};

// The pointing hand shown over links, drawn here rather than taken from the desktop's theme.
QCursor linkCursor();

// The About box: the program's name, version and build date, the maker's addresses as links,
// and the read-me. It has no state; each About command makes a fresh one.
class frmAbout : public QDialog
{
    Q_OBJECT
public:
    explicit frmAbout(frmNotes& owner, const MakerAddresses& addresses = builtMakerAddresses());

    void cmdClose_Click();
    void cmdRead_Click();
    void lblWeb_Click();
    void lblEmail_Click();
    void Form_Activate();
    void Form_QueryUnload();

    QLabel* picIcon = nullptr;
    QLabel* Label1 = nullptr; // the title
    QGroupBox* Frame1 = nullptr; // version
    QGroupBox* Frame2 = nullptr; // support
    QLabel* Label[6] = {}; // 0, 1 version; 2 the bottom line; 3, 5 the address captions
    LinkLabel* lblWeb = nullptr;
    LinkLabel* lblEmail = nullptr;
    QPushButton* cmdRead = nullptr;
    QPushButton* cmdClose = nullptr;

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void placeOverOwner();

    frmNotes& m_owner;
    MakerAddresses m_addresses;
};

// Opens "Readme.txt", found beside the program or else in the installed documentation, with the
// desktop's viewer for text files. When it is not found or cannot be opened, a message over
// `owner` says so and where it was looked for. Returns whether it was opened.
bool openReadme(Shell& shell, Prompter& prompter, QWidget* owner, const QString& appFolder,
    const QString& docFolder);
// Opens a web or mail address with the desktop's program for it; a message when there is none.
bool openAddress(Shell& shell, Prompter& prompter, QWidget* owner, const QUrl& address);

} // namespace penwick
