// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "platform/twips.h"
#include "search/search.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace penwick {

class frmNotes;

// A control's place in its parent, in twips.
struct TwipsRect
{
    double left, top, width, height;
};

// What the Find and Replace dialogs share: a fixed, modal dialog owned by the main window, its
// controls placed in twips at the screen's DPI in a small sans-serif face, Escape pressing
// Cancel and the close box closing without it, and the always-on-top hand-over.
class SearchDialog : public QDialog
{
    Q_OBJECT
public:
    // The owner's search state and editor are what the dialog works on.
    frmNotes& owner() const { return m_owner; }

protected:
    SearchDialog(frmNotes& owner, const char* name, const QString& caption, double clientWidth,
        double clientHeight);

    // A control of type W with its caption and tooltip, placed at `place` in `parent`.
    template <typename W>
    W* add(QWidget* parent, const char* name, const QString& caption, TwipsRect place,
        const QString& toolTip = {})
    {
        auto* control = new W(caption, parent);
        setUp(control, name, place, toolTip);
        return control;
    }
    // The text the dialog opens with: the selection's first line, else the text last searched.
    void preFill(QLineEdit& box) const;
    // Searches the note down (or up) from the selection; says "Word not found." when it fails.
    bool searchNote(const QString& text, const SearchOptions& options);
    // Remembers what Find Next (F4 in the main window) searches for next.
    void rememberSearch(const QString& text, const SearchOptions& options);

    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void done(int result) override;

    QPushButton* m_cancelButton = nullptr;

private:
    void setUp(QWidget* control, const char* name, TwipsRect place, const QString& toolTip);

    frmNotes& m_owner;
    Twips m_twips;
};

} // namespace penwick
