// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/commondialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListView>
#include <QMessageBox>
#include <QPixmap>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>

namespace penwick {
namespace {

// Sizes a font can sensibly be opened at; anything else starts from the application's size.
constexpr float MinFontPoints = 1;
constexpr float MaxFontPoints = 1638;

// Set while one of the dialogs is open, so that a second Show (from a timer, say) fails instead
// of stacking another modal dialog on top.
class ShowingGuard
{
public:
    explicit ShowingGuard(bool& flag)
        : m_flag(flag)
    {
        m_flag = true;
    }
    ~ShowingGuard() { m_flag = false; }
    ShowingGuard(const ShowingGuard&) = delete;
    ShowingGuard& operator=(const ShowingGuard&) = delete;

private:
    bool& m_flag;
};

bool canShow(bool showing)
{
    return !showing && qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
}

DialogResult cancelled(const CommonDialogValues& dialog)
{
    return dialog.CancelError ? DialogResult::Cancelled : DialogResult::Ok;
}

QString titleOr(const QString& title, const char* fallback)
{
    return title.isEmpty() ? QString::fromLatin1(fallback) : title;
}

// Qt's file dialog accepts a save name in a folder that does not exist; refuse it when asked to.
class FileDialog final : public QFileDialog
{
public:
    FileDialog(QWidget* parent, bool pathMustExist)
        : QFileDialog(parent)
        , m_pathMustExist(pathMustExist)
    { }

    void accept() override
    {
        if (m_pathMustExist) {
            const QStringList files = selectedFiles();
            if (!files.isEmpty()) {
                const QFileInfo info(files.first());
                if (!info.exists() && !info.absoluteDir().exists()) {
                    QMessageBox::warning(this, windowTitle(),
                        QStringLiteral(
                            "The folder %1 does not exist.\nCheck the path and try again.")
                            .arg(QDir::toNativeSeparators(info.absolutePath())));
                    return;
                }
            }
        }
        QFileDialog::accept();
    }

private:
    bool m_pathMustExist;
};

} // namespace

std::vector<FileFilter> parseFileFilter(const QString& filter)
{
    std::vector<FileFilter> filters;
    const QStringList parts = filter.split(u'|');
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        FileFilter entry;
        for (const QString& pattern : parts[i + 1].split(u';')) {
            const QString trimmed = pattern.trimmed();
            if (!trimmed.isEmpty())
                entry.patterns << trimmed;
        }
        if (entry.patterns.isEmpty())
            continue;
        entry.description = parts[i].trimmed();
        if (entry.description.isEmpty())
            entry.description = entry.patterns.join(u';');
        filters.push_back(std::move(entry));
    }
    return filters;
}

QString toNameFilter(const FileFilter& filter)
{
    QStringList patterns;
    for (const QString& pattern : filter.patterns)
        patterns << (pattern == QLatin1String("*.*") ? QStringLiteral("*") : pattern);
    // The dialog hides the parenthesised patterns, so the user sees the description as written.
    return (filter.description + QStringLiteral(" (") + patterns.join(u' ') + u')').simplified();
}

namespace {

// Qt's font dialog as a part of ours: the keys it does not use itself (Enter, Escape) are left
// to the whole dialog, whose OK button is the default.
class EmbeddedFontDialog final : public QFontDialog
{
public:
    using QFontDialog::QFontDialog;

protected:
    void keyPressEvent(QKeyEvent* event) override { event->ignore(); }
};

} // namespace

FontColorDialog::FontColorDialog(QWidget* parent)
    : QDialog(parent)
    , m_font(new EmbeddedFontDialog(this))
    , m_colorRow(new QWidget(this))
    , m_colorButton(new QPushButton(m_colorRow))
{
    m_font->setWindowFlags(Qt::Widget);
    m_font->setOptions(QFontDialog::NoButtons | QFontDialog::DontUseNativeDialog);
    connect(m_font, &QDialog::accepted, this, &QDialog::accept);
    connect(m_font, &QDialog::rejected, this, &QDialog::reject);

    auto* row = new QHBoxLayout(m_colorRow);
    row->setContentsMargins(0, 0, 0, 0);
    auto* label = new QLabel(QStringLiteral("C&olor:"), m_colorRow);
    label->setBuddy(m_colorButton);
    m_colorButton->setObjectName(QStringLiteral("colorButton"));
    m_colorButton->setAutoDefault(false); // Enter accepts the dialog, wherever the focus is
    row->addWidget(label);
    row->addWidget(m_colorButton);
    row->addStretch();
    connect(m_colorButton, &QPushButton::clicked, this, &FontColorDialog::chooseColor);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_font);
    layout->addWidget(m_colorRow);
    layout->addWidget(buttons);
    setColor(m_color);
    // Typing starts in the list of faces, the first of the font dialog's lists.
    if (const auto lists = m_font->findChildren<QListView*>(); !lists.isEmpty())
        lists.first()->setFocus();
}

void FontColorDialog::setColor(const QColor& color)
{
    m_color = color;
    QPixmap swatch(32, 16);
    swatch.fill(color);
    m_colorButton->setIcon(swatch);
    m_colorButton->setText(color.name());
}

void FontColorDialog::setEffectsVisible(bool visible)
{
    m_colorRow->setVisible(visible);
    // The font dialog keeps underline and strike-through in a group of their own.
    for (QCheckBox* box : m_font->findChildren<QCheckBox*>()) {
        if (auto* group = qobject_cast<QGroupBox*>(box->parentWidget()))
            group->setVisible(visible);
        else
            box->setVisible(visible);
    }
}

void FontColorDialog::chooseColor()
{
    QColorDialog dialog(m_color, this);
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    dialog.setWindowTitle(QStringLiteral("Color"));
    if (dialog.exec() == QDialog::Accepted)
        setColor(dialog.selectedColor());
}

QtCommonDialog::QtCommonDialog() = default;
QtCommonDialog::~QtCommonDialog() = default;

DialogResult QtCommonDialog::ShowOpen(CommonDialogValues& dialog, QWidget* owner)
{
    return showFile(dialog, owner, false);
}

DialogResult QtCommonDialog::ShowSave(CommonDialogValues& dialog, QWidget* owner)
{
    return showFile(dialog, owner, true);
}

DialogResult QtCommonDialog::showFile(CommonDialogValues& dialog, QWidget* owner, bool save)
{
    if (!canShow(m_showing))
        return DialogResult::Failed;
    const ShowingGuard guard(m_showing);
    const std::int32_t flags = dialog.Flags;

    FileDialog box(owner, flags & DialogFlags::PathMustExist);
    box.setOption(QFileDialog::DontUseNativeDialog);
    box.setOption(QFileDialog::HideNameFilterDetails); // before the filters are set
    box.setWindowTitle(titleOr(dialog.DialogTitle, save ? "Save As" : "Open"));
    box.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    box.setFileMode(!save && (flags & DialogFlags::FileMustExist) ? QFileDialog::ExistingFile
                                                                  : QFileDialog::AnyFile);
    box.setOption(
        QFileDialog::DontConfirmOverwrite, !(save && (flags & DialogFlags::OverwritePrompt)));

    QStringList names;
    for (const FileFilter& filter : parseFileFilter(dialog.Filter))
        names << toNameFilter(filter);
    if (!names.isEmpty()) {
        box.setNameFilters(names);
        const int index = dialog.FilterIndex;
        box.selectNameFilter(names.at(index >= 1 && index <= names.size() ? index - 1 : 0));
    }

    box.setDirectory(m_lastDirectory.isEmpty() ? QDir::homePath() : m_lastDirectory);
    if (!dialog.FileName.isEmpty()) {
        // A name in an existing folder opens that folder; of a name whose folder is gone, only
        // the name is kept.
        const QFileInfo last(dialog.FileName);
        box.selectFile(
            last.isAbsolute() && !last.absoluteDir().exists() ? last.fileName() : dialog.FileName);
    }

    if (box.exec() != QDialog::Accepted)
        return cancelled(dialog);
    const QStringList files = box.selectedFiles();
    if (files.isEmpty())
        return cancelled(dialog);
    dialog.FileName = files.first();
    m_lastDirectory = box.directory().absolutePath();
    return DialogResult::Ok;
}

DialogResult QtCommonDialog::ShowColor(CommonDialogValues& dialog, QWidget* owner)
{
    if (!canShow(m_showing))
        return DialogResult::Failed;
    const ShowingGuard guard(m_showing);

    QColorDialog box(owner);
    box.setOption(QColorDialog::DontUseNativeDialog);
    box.setWindowTitle(titleOr(dialog.DialogTitle, "Color"));
    QColor initial = Qt::black;
    if (dialog.Flags & DialogFlags::ColorInitial)
        initial = oleToColor(dialog.Color, box.palette()).value_or(initial);
    box.setCurrentColor(initial);
    if (box.exec() != QDialog::Accepted)
        return cancelled(dialog);
    dialog.Color = colorToOle(box.selectedColor());
    return DialogResult::Ok;
}

DialogResult QtCommonDialog::ShowFont(CommonDialogValues& dialog, QWidget* owner)
{
    if (!canShow(m_showing))
        return DialogResult::Failed;
    const ShowingGuard guard(m_showing);

    FontColorDialog box(owner);
    box.setWindowTitle(titleOr(dialog.DialogTitle, "Font"));
    QFont font = QApplication::font();
    if (!dialog.FontName.isEmpty())
        font.setFamily(dialog.FontName);
    if (std::isfinite(dialog.FontSize) && dialog.FontSize >= MinFontPoints
        && dialog.FontSize <= MaxFontPoints)
        font.setPointSizeF(dialog.FontSize);
    font.setBold(dialog.FontBold);
    font.setItalic(dialog.FontItalic);
    font.setUnderline(dialog.FontUnderline);
    font.setStrikeOut(dialog.FontStrikethru);
    box.fontDialog()->setCurrentFont(font);
    const bool effects = dialog.Flags & DialogFlags::FontEffects;
    box.setEffectsVisible(effects);
    box.setColor(oleToColor(dialog.Color, box.palette()).value_or(QColor(Qt::black)));

    if (box.exec() != QDialog::Accepted)
        return cancelled(dialog);
    const QFont chosen = box.fontDialog()->currentFont();
    dialog.FontName = chosen.family();
    dialog.FontSize = float(chosen.pointSizeF());
    dialog.FontBold = chosen.weight() >= QFont::Bold;
    dialog.FontItalic = chosen.italic();
    if (effects) {
        dialog.FontUnderline = chosen.underline();
        dialog.FontStrikethru = chosen.strikeOut();
        dialog.Color = colorToOle(box.color());
    }
    return DialogResult::Ok;
}

DialogResult QtCommonDialog::ShowPrinter(CommonDialogValues& dialog, QWidget* owner)
{
    if (!canShow(m_showing))
        return DialogResult::Failed;
    const ShowingGuard guard(m_showing);

    if (!m_printer)
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    const bool selection = dialog.Flags & DialogFlags::PrintSelection;
    m_printer->setPrintRange(selection ? QPrinter::Selection : QPrinter::AllPages);

    QPrintDialog box(m_printer.get(), owner);
    box.setWindowTitle(titleOr(dialog.DialogTitle, "Print"));
    QAbstractPrintDialog::PrintDialogOptions options = QAbstractPrintDialog::PrintToFile
        | QAbstractPrintDialog::PrintShowPageSize | QAbstractPrintDialog::PrintCollateCopies;
    if (!(dialog.Flags & DialogFlags::PrintNoPageNums))
        options |= QAbstractPrintDialog::PrintPageRange;
    if (selection)
        options |= QAbstractPrintDialog::PrintSelection;
    box.setOptions(options);
    box.setPrintRange(selection ? QAbstractPrintDialog::Selection : QAbstractPrintDialog::AllPages);

    if (box.exec() != QDialog::Accepted)
        return cancelled(dialog);
    dialog.hDC = m_printer.get();
    return DialogResult::Ok;
}

} // namespace penwick
