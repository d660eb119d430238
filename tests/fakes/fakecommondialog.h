// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "platform/commondialog.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
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

    void expectColor(OleColor color)
    {
        accept(Kind::Color, [color](CommonDialogValues& d) { d.Color = color; });
    }
    // Effects and colour come back only when the dialog was asked to show them.
    void expectFont(const FontChoice& f)
    {
        accept(Kind::Font, [f](CommonDialogValues& d) {
            d.FontName = f.name, d.FontSize = f.size, d.FontBold = f.bold, d.FontItalic = f.italic;
            if (d.Flags & DialogFlags::FontEffects)
                d.FontUnderline = f.underline, d.FontStrikethru = f.strikethru, d.Color = f.color;
        });
    }
    // The user chooses a file in an open or save dialog.
    void expectFile(Kind kind, const QString& path)
    {
        accept(kind, [path](CommonDialogValues& d) { d.FileName = path; });
    }
    // The user accepts the printer dialog, with `printer` set up as chosen.
    void expectPrinter(QPrinter* printer)
    {
        accept(Kind::Printer, [printer](CommonDialogValues& d) { d.hDC = printer; });
    }
    // The user cancels: Cancelled when CancelError is set (else Ok), values untouched.
    void expectCancel(Kind kind) { m_script.push_back({ kind, DialogResult::Cancelled, {} }); }
    // The dialog cannot be shown: Failed, values untouched.
    void expectFailure(Kind kind) { m_script.push_back({ kind, DialogResult::Failed, {} }); }

    const std::vector<Shown>& shown() const { return m_shown; }

    using Values = CommonDialogValues;
    DialogResult ShowOpen(Values& d, QWidget*) override { return show(Kind::Open, d); }
    DialogResult ShowSave(Values& d, QWidget*) override { return show(Kind::Save, d); }
    DialogResult ShowColor(Values& d, QWidget*) override { return show(Kind::Color, d); }
    DialogResult ShowFont(Values& d, QWidget*) override { return show(Kind::Font, d); }
    DialogResult ShowPrinter(Values& d, QWidget*) override { return show(Kind::Printer, d); }

private:
    struct Answer
    {
        Kind kind;
        DialogResult result;
        std::function<void(CommonDialogValues&)> choose; // what an accepted dialog hands back
    };
    void accept(Kind kind, std::function<void(CommonDialogValues&)> choose)
    {
        m_script.push_back({ kind, DialogResult::Ok, std::move(choose) });
    }
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
        if (answer.result == DialogResult::Ok)
            answer.choose(dialog);
        return answer.result == DialogResult::Cancelled ? cancelled : answer.result;
    }

    std::deque<Answer> m_script;
    std::vector<Shown> m_shown;
};

} // namespace penwick::test
