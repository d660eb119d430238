// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "harness/testenv.h"
#include "shell/frmnotes.h"

#include "platform/richtextbox.h"

#include <QAction>
#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace penwick::test {

// Presses keys ("Alt+P, 2, Escape") one after the other on `to`, else where the user's keys go:
// an open menu, else the focus.
inline void press(const char* keys, QWidget* to = nullptr)
{
    for (const QString& key :
        QString::fromLatin1(keys).split(QStringLiteral(", "), Qt::SkipEmptyParts)) {
        const QKeyCombination k = QKeySequence::fromString(key)[0];
        QWidget* target = to ? to : QApplication::activePopupWidget();
        QTest::keyClick(
            target ? target : QApplication::focusWidget(), k.key(), k.keyboardModifiers());
    }
}

// A test that runs the main window in a temporary program folder with fakes around it.
class ProgramTest : public ::testing::Test
{
protected:
    ~ProgramTest() override
    {
        if (window && window->isVisible())
            window->close();
    }

    // Creates the main window and runs start-up; fails the test if start-up refused to run.
    frmNotes& start()
    {
        window = std::make_unique<frmNotes>(env.environment());
        EXPECT_TRUE(window->Form_Load());
        return *window;
    }
    void closeWindow()
    {
        if (window)
            window->close();
    }
    // Ends the running program, changes the store, and starts again.
    frmNotes& restartWith(std::initializer_list<std::pair<const char*, QString>> values = {})
    {
        closeWindow();
        window.reset();
        env.store(values);
        return start();
    }
    // Selects `length` characters of the note from `start`, after setting its text if given.
    void select(int start, int length, const char* text = nullptr) const
    {
        if (text)
            window->rtfNotes->setText(QString::fromUtf8(text));
        window->rtfNotes->setSelStart(start);
        window->rtfNotes->setSelLength(length);
    }
    QAction* item(const char* name) const { return window->menuItem(QLatin1String(name)); }
    bool checked(const char* name) const { return item(name)->isChecked(); }

    TestEnvironment env;
    std::unique_ptr<frmNotes> window;
};

} // namespace penwick::test
