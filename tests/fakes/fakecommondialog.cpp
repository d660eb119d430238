// SPDX-License-Identifier: GPL-2.0-or-later
#include "fakes/fakecommondialog.h"

#include <gtest/gtest.h>

namespace penwick::test {

FakeCommonDialog::~FakeCommonDialog()
{
    if (!m_script.empty())
        ADD_FAILURE() << m_script.size() << " scripted dialog(s) were never shown";
}

DialogResult FakeCommonDialog::show(Kind kind, CommonDialogValues& dialog)
{
    m_shown.push_back({ kind, dialog });
    const DialogResult cancelled = dialog.CancelError ? DialogResult::Cancelled : DialogResult::Ok;
    if (m_script.empty() || m_script.front().kind != kind) {
        ADD_FAILURE() << "unscripted dialog: " << dialog.DialogTitle.toStdString();
        return cancelled;
    }
    const Answer answer = m_script.front();
    m_script.pop_front();
    if (!answer.accept)
        return cancelled;
    if (kind == Kind::Color) {
        dialog.Color = answer.color;
    } else {
        dialog.FontName = answer.font.name;
        dialog.FontSize = answer.font.size;
        dialog.FontBold = answer.font.bold;
        dialog.FontItalic = answer.font.italic;
        if (dialog.Flags & DialogFlags::FontEffects) {
            dialog.FontUnderline = answer.font.underline;
            dialog.FontStrikethru = answer.font.strikethru;
            dialog.Color = answer.font.color;
        }
    }
    return DialogResult::Ok;
}

} // namespace penwick::test
