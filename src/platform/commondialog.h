// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "platform/olecolor.h"

#include <QColor>
#include <QDialog>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <vector>

class QFontDialog;
class QPrinter;
class QPushButton;
class QWidget;

namespace penwick {

// Option bits of `CommonDialogValues::Flags`, one set per kind of dialog.
namespace DialogFlags {
// file dialogs
inline constexpr std::int32_t OverwritePrompt = 0x2;
inline constexpr std::int32_t HideReadOnly = 0x4; // there is no read-only box anyway
inline constexpr std::int32_t PathMustExist = 0x800;
inline constexpr std::int32_t FileMustExist = 0x1000;
inline constexpr std::int32_t CreatePrompt = 0x2000; // save dialogs never ask to create
// colour dialog
inline constexpr std::int32_t ColorInitial = 0x1; // open on `Color`
inline constexpr std::int32_t ColorFullOpen = 0x2; // ours is always full
// font dialog
inline constexpr std::int32_t FontScreenFonts = 0x1;
inline constexpr std::int32_t FontEffects = 0x100; // underline, strike-through and colour
inline constexpr std::int32_t FontForceExist = 0x10000; // only installed faces can be chosen
// printer dialog
inline constexpr std::int32_t PrintSelection = 0x1; // offer the selection, chosen
inline constexpr std::int32_t PrintNoPageNums = 0x8; // no page range
inline constexpr std::int32_t PrintReturnDC = 0x100; // hDC is always set on success
} // namespace DialogFlags

enum class DialogResult : int { Ok = 0, Cancelled = 32755, Failed = -1 };

// The one common dialog's properties. They keep their values between uses; nothing but the
// callers' own writes and a successful Show changes them.
struct CommonDialogValues
{
    QString DialogTitle;
    // When false, a cancelled dialog reports Ok and leaves every value as it was.
    bool CancelError = false;
    std::int32_t Flags = 0;
    QString Filter; // "description|pattern;pattern|description|pattern..."
    std::int16_t FilterIndex = 0; // from 1; anything out of range selects the first pair
    QString FileName;
    OleColor Color = 0;
    QString FontName; // empty: the application's font
    float FontSize = 0; // points; 0 or less: the application's font size
    bool FontBold = false;
    bool FontItalic = false;
    bool FontUnderline = false;
    bool FontStrikethru = false;
    // The printer chosen in the last accepted printer dialog, owned by the dialog service.
    QPrinter* hDC = nullptr;
};

// The modal file, colour, font and printer dialogs. Each Show returns when the user closes the
// dialog: Ok with the choice stored in the values, Cancelled (only when CancelError is set) with
// the values untouched, or Failed when the dialog could not be shown.
class CommonDialog
{
public:
    virtual ~CommonDialog() = default;
    virtual DialogResult ShowOpen(CommonDialogValues& dialog, QWidget* owner) = 0;
    virtual DialogResult ShowSave(CommonDialogValues& dialog, QWidget* owner) = 0;
    virtual DialogResult ShowColor(CommonDialogValues& dialog, QWidget* owner) = 0;
    virtual DialogResult ShowFont(CommonDialogValues& dialog, QWidget* owner) = 0;
    virtual DialogResult ShowPrinter(CommonDialogValues& dialog, QWidget* owner) = 0;
};

// One entry of a file dialog's type list.
struct FileFilter
{
    QString description;
    QStringList patterns;
};

// Splits "Text (*.txt)|*.txt|All|*.*" into its pairs. A trailing bar, or a description without a
// pattern after it, adds no entry; empty patterns are dropped.
std::vector<FileFilter> parseFileFilter(const QString& filter);

// The Qt name filter for an entry: "description (patterns)", where "*.*" becomes "*" so that it
// also matches names without a dot.
QString toNameFilter(const FileFilter& filter);

// A font dialog that also offers a text colour: Qt's font dialog embedded beside a colour button.
class FontColorDialog final : public QDialog
{
    Q_OBJECT
public:
    explicit FontColorDialog(QWidget* parent = nullptr);

    QFontDialog* fontDialog() const { return m_font; }
    QPushButton* colorButton() const { return m_colorButton; }

    QColor color() const { return m_color; }
    void setColor(const QColor& color);
    // Hides the underline, strike-through and colour choices.
    void setEffectsVisible(bool visible);

private:
    void chooseColor();

    QFontDialog* m_font;
    QWidget* m_colorRow;
    QPushButton* m_colorButton;
    QColor m_color { Qt::black };
};

// The dialogs on Qt's own (non-native) widgets, the same on every desktop.
class QtCommonDialog final : public CommonDialog
{
public:
    QtCommonDialog();
    ~QtCommonDialog() override;

    DialogResult ShowOpen(CommonDialogValues& dialog, QWidget* owner) override;
    DialogResult ShowSave(CommonDialogValues& dialog, QWidget* owner) override;
    DialogResult ShowColor(CommonDialogValues& dialog, QWidget* owner) override;
    DialogResult ShowFont(CommonDialogValues& dialog, QWidget* owner) override;
    DialogResult ShowPrinter(CommonDialogValues& dialog, QWidget* owner) override;

private:
    DialogResult showFile(CommonDialogValues& dialog, QWidget* owner, bool save);

    std::unique_ptr<QPrinter> m_printer;
    QString m_lastDirectory;
    bool m_showing = false;
};

} // namespace penwick
