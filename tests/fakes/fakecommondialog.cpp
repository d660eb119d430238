// SPDX-License-Identifier: GPL-2.0-or-later
#include "fakes/fakecommondialog.h"

#include <QPrinter>
#include <gtest/gtest.h>

namespace penwick::test {
namespace {

const char* kindName(FakeCommonDialog::Kind kind)
{
    switch (kind) {
    case FakeCommonDialog::Kind::Open:
        return "open";
    case FakeCommonDialog::Kind::Save:
        return "save";
    case FakeCommonDialog::Kind::Color:
        return "colour";
    case FakeCommonDialog::Kind::Font:
        return "font";
    case FakeCommonDialog::Kind::Printer:
        return "printer";
    }
    return "?";
}

} // namespace

FakeCommonDialog::FakeCommonDialog() = default;

FakeCommonDialog::~FakeCommonDialog()
{
    if (!m_script.empty())
        ADD_FAILURE() << m_script.size() << " scripted dialog(s) were never shown, the first a "
                      << kindName(m_script.front().kind) << " dialog";
}

void FakeCommonDialog::expectOpen(const QString& fileName)
{
    script(Kind::Open, Outcome::Accept).text = fileName;
}

void FakeCommonDialog::expectSave(const QString& fileName)
{
    script(Kind::Save, Outcome::Accept).text = fileName;
}

void FakeCommonDialog::expectColor(OleColor color)
{
    script(Kind::Color, Outcome::Accept).color = color;
}

void FakeCommonDialog::expectFont(const FontChoice& choice)
{
    script(Kind::Font, Outcome::Accept).font = choice;
}

void FakeCommonDialog::expectPrinter(const QString& pdfFile)
{
    script(Kind::Printer, Outcome::Accept).text = pdfFile;
}

void FakeCommonDialog::expectCancel(Kind kind)
{
    script(kind, Outcome::Cancel);
}

void FakeCommonDialog::expectFailure(Kind kind)
{
    script(kind, Outcome::Fail);
}

FakeCommonDialog::Answer& FakeCommonDialog::script(Kind kind, Outcome outcome)
{
    Answer& answer = m_script.emplace_back();
    answer.kind = kind;
    answer.outcome = outcome;
    return answer;
}

DialogResult FakeCommonDialog::ShowOpen(CommonDialogValues& dialog, QWidget* owner)
{
    return show(Kind::Open, dialog, owner);
}

DialogResult FakeCommonDialog::ShowSave(CommonDialogValues& dialog, QWidget* owner)
{
    return show(Kind::Save, dialog, owner);
}

DialogResult FakeCommonDialog::ShowColor(CommonDialogValues& dialog, QWidget* owner)
{
    return show(Kind::Color, dialog, owner);
}

DialogResult FakeCommonDialog::ShowFont(CommonDialogValues& dialog, QWidget* owner)
{
    return show(Kind::Font, dialog, owner);
}

DialogResult FakeCommonDialog::ShowPrinter(CommonDialogValues& dialog, QWidget* owner)
{
    return show(Kind::Printer, dialog, owner);
}

DialogResult FakeCommonDialog::show(Kind kind, CommonDialogValues& dialog, QWidget* owner)
{
    m_shown.push_back({ kind, dialog, owner });
    if (m_script.empty() || m_script.front().kind != kind) {
        ADD_FAILURE() << "unscripted " << kindName(kind)
                      << " dialog: " << dialog.DialogTitle.toStdString();
        return dialog.CancelError ? DialogResult::Cancelled : DialogResult::Ok;
    }
    const Answer answer = m_script.front();
    m_script.pop_front();

    switch (answer.outcome) {
    case Outcome::Cancel:
        return dialog.CancelError ? DialogResult::Cancelled : DialogResult::Ok;
    case Outcome::Fail:
        return DialogResult::Failed;
    case Outcome::Accept:
        break;
    }
    switch (kind) {
    case Kind::Open:
    case Kind::Save:
        dialog.FileName = answer.text;
        break;
    case Kind::Color:
        dialog.Color = answer.color;
        break;
    case Kind::Font:
        dialog.FontName = answer.font.name;
        dialog.FontSize = answer.font.size;
        dialog.FontBold = answer.font.bold;
        dialog.FontItalic = answer.font.italic;
        if (dialog.Flags & DialogFlags::FontEffects) {
            dialog.FontUnderline = answer.font.underline;
            dialog.FontStrikethru = answer.font.strikethru;
            dialog.Color = answer.font.color;
        }
        break;
    case Kind::Printer:
        if (!m_printer)
            m_printer = std::make_unique<QPrinter>();
        m_printer->setOutputFormat(QPrinter::PdfFormat);
        m_printer->setOutputFileName(answer.text);
        m_printer->setPrintRange(
            dialog.Flags & DialogFlags::PrintSelection ? QPrinter::Selection : QPrinter::AllPages);
        dialog.hDC = m_printer.get();
        break;
    }
    return DialogResult::Ok;
}

} // namespace penwick::test
