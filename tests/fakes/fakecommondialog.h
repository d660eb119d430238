// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "platform/commondialog.h"

#include <deque>
#include <memory>
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
        QWidget* owner;
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

    FakeCommonDialog();
    ~FakeCommonDialog() override;

    void expectOpen(const QString& fileName);
    void expectSave(const QString& fileName);
    void expectColor(OleColor color);
    void expectFont(const FontChoice& choice);
    // Accepts the printer dialog: hDC then names a printer that writes a PDF to `pdfFile`.
    void expectPrinter(const QString& pdfFile);
    // The user cancels: Cancelled when CancelError is set (else Ok), values untouched.
    void expectCancel(Kind kind);
    void expectFailure(Kind kind);

    const std::vector<Shown>& shown() const { return m_shown; }
    QPrinter* printer() const { return m_printer.get(); }

    DialogResult ShowOpen(CommonDialogValues& dialog, QWidget* owner) override;
    DialogResult ShowSave(CommonDialogValues& dialog, QWidget* owner) override;
    DialogResult ShowColor(CommonDialogValues& dialog, QWidget* owner) override;
    DialogResult ShowFont(CommonDialogValues& dialog, QWidget* owner) override;
    DialogResult ShowPrinter(CommonDialogValues& dialog, QWidget* owner) override;

private:
    enum class Outcome { Accept, Cancel, Fail };
    struct Answer
    {
        Kind kind = Kind::Open;
        Outcome outcome = Outcome::Accept;
        QString text; // file name, or the printer's PDF file
        OleColor color = 0;
        FontChoice font;
    };
    Answer& script(Kind kind, Outcome outcome);
    DialogResult show(Kind kind, CommonDialogValues& dialog, QWidget* owner);

    std::deque<Answer> m_script;
    std::vector<Shown> m_shown;
    std::unique_ptr<QPrinter> m_printer;
};

} // namespace penwick::test
