// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "platform/commondialog.h"

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

    ~FakeCommonDialog() override;

    void expectColor(OleColor color) { m_script.push_back({ Kind::Color, true, color, {} }); }
    void expectFont(const FontChoice& choice)
    {
        m_script.push_back({ Kind::Font, true, 0, choice });
    }
    // The user cancels: Cancelled when CancelError is set (else Ok), values untouched.
    void expectCancel(Kind kind) { m_script.push_back({ kind, false, 0, {} }); }

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
    };
    DialogResult show(Kind kind, CommonDialogValues& dialog);

    std::deque<Answer> m_script;
    std::vector<Shown> m_shown;
};

} // namespace penwick::test
