// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "platform/commondialog.h"

#include <gtest/gtest.h>

#include <deque>
#include <vector>

namespace penwick::test {

// Common dialogs answered from a script, in order. A dialog the test did not script (or of
// another kind than the next scripted one) fails the test and reports a cancel; so does a
// scripted dialog that was never shown. Every Show is recorded with the values it was shown with.
class FakeCommonDialog final : public CommonDialog
{
public:
    enum class Kind { Open, Save, Color, Font, Printer };

    struct Shown
    {
        Kind kind;
        CommonDialogValues values; // as they were when the dialog opened
    };

    struct FontChoice
    {
        QString name;
        float size = 10;
        bool bold = false;
        bool italic = false;
        bool underline = false;
        bool strikethru = false;
        OleColor color = 0;
    };

    ~FakeCommonDialog() override
    {
        if (!m_script.empty())
            ADD_FAILURE() << m_script.size() << " scripted dialog(s) were never shown";
    }

    void expectColor(OleColor color) { m_script.push_back({ Kind::Color, true, color, {} }); }
    void expectFont(const FontChoice& choice)
    {
        m_script.push_back({ Kind::Font, true, 0, choice });
    }
    // The user chooses a file in an open or save dialog.
    void expectFile(Kind kind, const QString& path)
    {
        m_script.push_back({ kind, true, 0, {}, path });
    }
    // The user accepts the printer dialog, with `printer` set up as chosen.
    void expectPrinter(QPrinter* printer)
    {
        m_script.push_back({ Kind::Printer, true, 0, {}, {}, printer });
    }
    // The user cancels: Cancelled when CancelError is set (else Ok), values untouched.
    void expectCancel(Kind kind) { m_script.push_back({ kind, false, 0, {} }); }
    // The dialog cannot be shown: Failed, values untouched.
    void expectFailure(Kind kind) { m_script.push_back({ kind, false, 0, {}, {}, nullptr, true }); }

    const std::vector<Shown>& shown() const { return m_shown; }

    DialogResult ShowOpen(CommonDialogValues& d, QWidget*) override { return show(Kind::Open, d); }
    DialogResult ShowSave(CommonDialogValues& d, QWidget*) override { return show(Kind::Save, d); }
    DialogResult ShowColor(CommonDialogValues& d, QWidget*) override
    {
        return show(Kind::Color, d);
    }
    DialogResult ShowFont(CommonDialogValues& d, QWidget*) override { return show(Kind::Font, d); }
    DialogResult ShowPrinter(CommonDialogValues& d, QWidget*) override
    {
        return show(Kind::Printer, d);
    }

private:
    struct Answer
    {
        Kind kind;
        bool accept;
        OleColor color;
        FontChoice font;
        QString path = {};
        QPrinter* printer = nullptr;
        bool fails = false;
    };
    DialogResult show(Kind kind, CommonDialogValues& dialog)
    {
        m_shown.push_back({ kind, dialog });
        const auto cancelled = dialog.CancelError ? DialogResult::Cancelled : DialogResult::Ok;
        if (m_script.empty() || m_script.front().kind != kind) {
            ADD_FAILURE() << "unscripted dialog: " << dialog.DialogTitle.toStdString();
            return cancelled;
        }
        const Answer answer = m_script.front();
        m_script.pop_front();
        if (answer.fails)
            return DialogResult::Failed;
        if (!answer.accept)
            return cancelled;
        if (kind == Kind::Open || kind == Kind::Save) {
            dialog.FileName = answer.path;
            return DialogResult::Ok;
        }
        if (kind == Kind::Printer) {
            dialog.hDC = answer.printer;
            return DialogResult::Ok;
        }
        if (kind == Kind::Color) {
            dialog.Color = answer.color;
            return DialogResult::Ok;
        }
        dialog.FontName = answer.font.name;
        dialog.FontSize = answer.font.size;
        dialog.FontBold = answer.font.bold;
        dialog.FontItalic = answer.font.italic;
        if (dialog.Flags & DialogFlags::FontEffects) {
            dialog.FontUnderline = answer.font.underline;
            dialog.FontStrikethru = answer.font.strikethru;
            dialog.Color = answer.font.color;
        }
        return DialogResult::Ok;
    }

    std::deque<Answer> m_script;
    std::vector<Shown> m_shown;
};

} // namespace penwick::test
