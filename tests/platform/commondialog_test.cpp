// SPDX-License-Identifier: GPL-2.0-or-later
// The Qt dialogs are driven for real: each test queues its answer on the event loop, and the
// answer runs inside the modal dialog's own loop once the dialog is open.
#include "platform/commondialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QColorDialog>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QFontDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

// Readable failure messages.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace penwick {
namespace {

// Runs `action` on the modal dialog of type D once it is the active one. The action must close
// it; a dialog that never opens fails the test instead of hanging it. Nothing runs once `scope`
// is gone, so a test that failed half-way leaves nothing behind for the next one.
template <typename D, typename Action>
void whenShown(QObject* scope, Action action, int turns = 100)
{
    QTimer::singleShot(0, scope, [scope, action, turns]() mutable {
        auto* dialog = qobject_cast<D*>(QApplication::activeModalWidget());
        if (dialog) {
            action(dialog);
        } else if (turns > 0) {
            whenShown<D>(scope, std::move(action), turns - 1);
        } else {
            ADD_FAILURE() << "expected dialog " << D::staticMetaObject.className() << " not shown";
            if (QWidget* other = QApplication::activeModalWidget())
                other->close();
        }
    });
}

// What the dialog's Open or Save button does (QFileDialog keeps accept() protected).
void pressOk(QDialog* box)
{
    box->accept();
}

// What the user typed in the name box; Enter or the dialog's button then accepts it.
void typeName(QFileDialog* box, const QString& name)
{
    auto* edit = box->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(edit, nullptr);
    edit->setText(name);
}

// The file type the dialog shows as chosen.
QString visibleFilter(QFileDialog* box)
{
    auto* combo = box->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
    return combo ? combo->currentText() : QString();
}

QString typedName(QFileDialog* box)
{
    auto* edit = box->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    return edit ? edit->text() : QString();
}

const QString ImageFilter = QStringLiteral(
    "All Supported Formats|*.gif;*.jpg;*.bmp;*.dib;*.wmf;*.emf|Gif Images (.gif)|*.gif|Jpeg "
    "Images (.jpg)|*.jpg|Bitmap Images (.bmp)|*.bmp|OS/2 or Windows DIB (*.dib)|*.dib|Windows "
    "Meta File (*.wmf)|*.wmf|Enhanced Windows Meta File (*.emf)|*.emf|All Files (*.*)|*.*");

TEST(FileFilter, Parse)
{
    const auto text = parseFileFilter(QStringLiteral("Text Files (*.txt)|*.txt|"));
    ASSERT_EQ(text.size(), 1u);
    EXPECT_EQ(text[0].description, QStringLiteral("Text Files (*.txt)"));
    EXPECT_EQ(text[0].patterns, QStringList { QStringLiteral("*.txt") });

    const auto images = parseFileFilter(ImageFilter);
    ASSERT_EQ(images.size(), 8u);
    EXPECT_EQ(images[0].patterns.size(), 6);
    EXPECT_EQ(images[7].description, QStringLiteral("All Files (*.*)"));

    EXPECT_TRUE(parseFileFilter(QString()).empty());
    EXPECT_TRUE(parseFileFilter(QStringLiteral("Lonely description")).empty());
    EXPECT_EQ(parseFileFilter(QStringLiteral("A|*.a|B")).size(), 1u);
    EXPECT_EQ(parseFileFilter(QStringLiteral("A| ; |B|*.b")).size(), 1u);
    EXPECT_EQ(parseFileFilter(QStringLiteral("|*.x"))[0].description, QStringLiteral("*.x"));

    EXPECT_EQ(toNameFilter(images[7]), QStringLiteral("All Files (*.*) (*)"));
    EXPECT_EQ(toNameFilter(images[0]),
        QStringLiteral("All Supported Formats (*.gif *.jpg *.bmp *.dib *.wmf *.emf)"));
}

class QtDialogs : public ::testing::Test
{
protected:
    template <typename D, typename Action> void whenShown(Action action)
    {
        penwick::whenShown<D>(&m_scope, std::move(action));
    }
    QString file(const QString& name, bool create = true)
    {
        const QString path = root() + u'/' + name;
        if (create) {
            QFile f(path);
            EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        }
        return path;
    }

    // The dialogs report canonical paths, and the temporary folder may sit behind a link.
    QString root() const { return QDir(m_dir.path()).canonicalPath(); }

    QtCommonDialog service;
    CommonDialogValues values;
    QTemporaryDir m_dir;
    QObject m_scope;
};

TEST_F(QtDialogs, OpenShowsTitleFilterAndAcceptsAnExistingFile)
{
    const QString chosen = file(QStringLiteral("notes.txt"));
    values.CancelError = true;
    values.DialogTitle = QStringLiteral("Insert Text File");
    values.Flags = 0x1804;
    values.Filter = QStringLiteral("Text Files (*.txt)|*.txt|");
    values.FileName = QString();
    whenShown<QFileDialog>([&](QFileDialog* box) {
        EXPECT_EQ(box->windowTitle(), QStringLiteral("Insert Text File"));
        EXPECT_EQ(box->acceptMode(), QFileDialog::AcceptOpen);
        EXPECT_EQ(box->fileMode(), QFileDialog::ExistingFile);
        EXPECT_EQ(box->nameFilters().size(), 1);
        EXPECT_EQ(visibleFilter(box), QStringLiteral("Text Files (*.txt)"));
        EXPECT_EQ(typedName(box), QString());
        box->selectFile(chosen);
        pressOk(box);
    });
    EXPECT_EQ(service.ShowOpen(values, nullptr), DialogResult::Ok);
    EXPECT_EQ(values.FileName, chosen);
}

TEST_F(QtDialogs, FilterIndexPreselectsAPair)
{
    const struct
    {
        std::int16_t index;
        const char* shown;
    } cases[] = {
        { 1, "All Supported Formats" },
        { 3, "Jpeg Images (.jpg)" },
        { 8, "All Files (*.*)" },
        { 0, "All Supported Formats" },
        { 9, "All Supported Formats" },
        { -2, "All Supported Formats" },
    };
    values.CancelError = true;
    values.Filter = ImageFilter;
    for (const auto& c : cases) {
        values.FilterIndex = c.index;
        whenShown<QFileDialog>([&](QFileDialog* box) {
            EXPECT_EQ(box->nameFilters().size(), 8);
            EXPECT_EQ(visibleFilter(box), QLatin1String(c.shown)) << c.index;
            box->reject();
        });
        EXPECT_EQ(service.ShowOpen(values, nullptr), DialogResult::Cancelled);
    }
}

TEST_F(QtDialogs, OpenRefusesAMissingFileOnlyWhenItMustExist)
{
    const QString missing = file(QStringLiteral("missing.txt"), false);
    values.CancelError = true;
    values.FileName = QStringLiteral("kept.txt");
    values.Flags = 0x1804;
    bool warned = false;
    whenShown<QFileDialog>([&](QFileDialog* box) {
        whenShown<QMessageBox>([&, box](QMessageBox* warning) {
            warned = true;
            warning->accept();
            QTimer::singleShot(0, box, [box] {
                EXPECT_TRUE(box->isVisible()); // still asking
                box->reject();
            });
        });
        box->selectFile(missing);
        pressOk(box);
    });
    EXPECT_EQ(service.ShowOpen(values, nullptr), DialogResult::Cancelled);
    EXPECT_TRUE(warned);
    EXPECT_EQ(values.FileName, QStringLiteral("kept.txt"));

    values.Flags = 0x0804;
    whenShown<QFileDialog>([&](QFileDialog* box) {
        EXPECT_EQ(box->fileMode(), QFileDialog::AnyFile);
        box->selectFile(missing);
        pressOk(box);
    });
    EXPECT_EQ(service.ShowOpen(values, nullptr), DialogResult::Ok);
    EXPECT_EQ(values.FileName, missing);
}

TEST_F(QtDialogs, SaveRefusesAMissingFolderWhenThePathMustExist)
{
    const QString inMissingFolder = root() + QStringLiteral("/nowhere/out.txt");
    values.CancelError = true;
    values.Flags = 0x2806;
    bool warned = false;
    whenShown<QFileDialog>([&](QFileDialog* box) {
        EXPECT_EQ(box->acceptMode(), QFileDialog::AcceptSave);
        whenShown<QMessageBox>([&, box](QMessageBox* warning) {
            warned = true;
            warning->accept();
            QTimer::singleShot(0, box, [box] {
                EXPECT_TRUE(box->isVisible());
                box->reject();
            });
        });
        typeName(box, inMissingFolder);
        pressOk(box);
    });
    EXPECT_EQ(service.ShowSave(values, nullptr), DialogResult::Cancelled);
    EXPECT_TRUE(warned);
    EXPECT_TRUE(values.FileName.isEmpty());

    values.Flags = 0;
    whenShown<QFileDialog>([&](QFileDialog* box) {
        typeName(box, inMissingFolder);
        pressOk(box);
    });
    EXPECT_EQ(service.ShowSave(values, nullptr), DialogResult::Ok);
    EXPECT_EQ(values.FileName, inMissingFolder);
}

TEST_F(QtDialogs, OverwritePrompt)
{
    const QString existing = file(QStringLiteral("old.rtf"));
    values.CancelError = true;
    values.DialogTitle = QStringLiteral("Save Document");
    values.Filter = QStringLiteral("Rich Text File (*.rtf)|*.rtf|All Files (*.*)|*.*");
    values.FilterIndex = 1;

    // With the prompt: "No" keeps the dialog open, "Yes" takes the name.
    for (const auto answer : { QMessageBox::No, QMessageBox::Yes }) {
        values.Flags = 0x2806;
        values.FileName.clear();
        int prompts = 0;
        whenShown<QFileDialog>([&](QFileDialog* box) {
            whenShown<QMessageBox>([&, box](QMessageBox* prompt) {
                ++prompts;
                prompt->button(answer)->click();
                if (answer == QMessageBox::No)
                    QTimer::singleShot(0, box, [box] {
                        EXPECT_TRUE(box->isVisible());
                        box->reject();
                    });
            });
            box->selectFile(existing);
            pressOk(box);
        });
        const DialogResult result = service.ShowSave(values, nullptr);
        EXPECT_EQ(prompts, 1);
        if (answer == QMessageBox::Yes) {
            EXPECT_EQ(result, DialogResult::Ok);
            EXPECT_EQ(values.FileName, existing);
        } else {
            EXPECT_EQ(result, DialogResult::Cancelled);
            EXPECT_TRUE(values.FileName.isEmpty());
        }
    }

    // Without it the name is taken at once.
    values.Flags = 0x2804;
    values.FileName.clear();
    whenShown<QFileDialog>([&](QFileDialog* box) {
        EXPECT_TRUE(box->testOption(QFileDialog::DontConfirmOverwrite));
        box->selectFile(existing);
        pressOk(box);
    });
    EXPECT_EQ(service.ShowSave(values, nullptr), DialogResult::Ok);
    EXPECT_EQ(values.FileName, existing);
}

TEST_F(QtDialogs, SaveOpensOnTheLastChosenFileName)
{
    QDir(root()).mkdir(QStringLiteral("sub"));
    const QString imported = file(QStringLiteral("sub/imported.txt"));
    values.CancelError = true;
    values.Flags = 0x1804;
    whenShown<QFileDialog>([&](QFileDialog* box) {
        box->selectFile(imported);
        pressOk(box);
    });
    ASSERT_EQ(service.ShowOpen(values, nullptr), DialogResult::Ok);

    // Twice: a cancelled save leaves the name for the next one.
    values.Flags = 0x2806;
    for (int round = 0; round < 2; ++round) {
        whenShown<QFileDialog>([&](QFileDialog* box) {
            EXPECT_EQ(box->directory().absolutePath(), root() + QStringLiteral("/sub"));
            EXPECT_EQ(typedName(box), QStringLiteral("imported.txt"));
            box->reject();
        });
        EXPECT_EQ(service.ShowSave(values, nullptr), DialogResult::Cancelled);
        EXPECT_EQ(values.FileName, imported);
    }

    // Of a name whose folder has gone since, the name alone is offered.
    values.FileName = root() + QStringLiteral("/gone/notes.rtf");
    whenShown<QFileDialog>([&](QFileDialog* box) {
        EXPECT_EQ(typedName(box), QStringLiteral("notes.rtf"));
        box->reject();
    });
    EXPECT_EQ(service.ShowSave(values, nullptr), DialogResult::Cancelled);
}

TEST_F(QtDialogs, CancelWithoutCancelErrorReportsOk)
{
    values.CancelError = false;
    values.FileName = QStringLiteral("/some/where.txt");
    values.Color = 0x123456;
    whenShown<QFileDialog>([](QFileDialog* box) { box->reject(); });
    EXPECT_EQ(service.ShowSave(values, nullptr), DialogResult::Ok);
    whenShown<QColorDialog>([](QColorDialog* box) { box->reject(); });
    EXPECT_EQ(service.ShowColor(values, nullptr), DialogResult::Ok);
    EXPECT_EQ(values.FileName, QStringLiteral("/some/where.txt"));
    EXPECT_EQ(values.Color, 0x123456u);
}

TEST_F(QtDialogs, ColorOpensOnColorAndReturnsTheChoice)
{
    values.CancelError = true;
    values.DialogTitle = QStringLiteral("Text Color");
    values.Flags = 3;
    values.Color = 0x0000FF; // red
    whenShown<QColorDialog>([](QColorDialog* box) {
        EXPECT_EQ(box->windowTitle(), QStringLiteral("Text Color"));
        EXPECT_EQ(box->currentColor(), QColor(255, 0, 0));
        box->setCurrentColor(QColor(0, 0, 255));
        box->accept();
    });
    EXPECT_EQ(service.ShowColor(values, nullptr), DialogResult::Ok);
    EXPECT_EQ(values.Color, 0xFF0000u); // blue

    // The next colour dialog opens on it; a cancel keeps it.
    values.DialogTitle = QStringLiteral("Background Color");
    whenShown<QColorDialog>([](QColorDialog* box) {
        EXPECT_EQ(box->windowTitle(), QStringLiteral("Background Color"));
        EXPECT_EQ(box->currentColor(), QColor(0, 0, 255));
        box->setCurrentColor(QColor(1, 2, 3));
        box->reject();
    });
    EXPECT_EQ(service.ShowColor(values, nullptr), DialogResult::Cancelled);
    EXPECT_EQ(values.Color, 0xFF0000u);

    // Without the initial-colour flag it opens on black.
    values.Flags = 2;
    whenShown<QColorDialog>([](QColorDialog* box) {
        EXPECT_EQ(box->currentColor(), QColor(Qt::black));
        box->reject();
    });
    EXPECT_EQ(service.ShowColor(values, nullptr), DialogResult::Cancelled);
}

TEST_F(QtDialogs, FontOpensOnTheValuesAndReturnsFaceSizeEffectsAndColor)
{
    values.CancelError = true;
    values.DialogTitle = QStringLiteral("Choose Font");
    values.Flags = 0x10101;
    values.FontName = QStringLiteral("DejaVu Serif");
    values.FontSize = 14;
    values.FontUnderline = true;
    values.Color = 0x0000FF;
    whenShown<FontColorDialog>([this](FontColorDialog* box) {
        EXPECT_EQ(box->windowTitle(), QStringLiteral("Choose Font"));
        const QFont shown = box->fontDialog()->currentFont();
        EXPECT_EQ(shown.family(), QStringLiteral("DejaVu Serif"));
        EXPECT_EQ(shown.pointSize(), 14);
        EXPECT_TRUE(shown.underline());
        EXPECT_FALSE(shown.strikeOut());
        EXPECT_EQ(box->color(), QColor(255, 0, 0));
        EXPECT_TRUE(box->colorButton()->isVisible());

        QFont chosen(QStringLiteral("DejaVu Sans"), 20);
        chosen.setBold(true);
        chosen.setStrikeOut(true);
        box->fontDialog()->setCurrentFont(chosen);
        // The colour comes from the colour button's own dialog.
        whenShown<QColorDialog>([](QColorDialog* colors) {
            EXPECT_EQ(colors->currentColor(), QColor(255, 0, 0));
            colors->setCurrentColor(QColor(0, 128, 0));
            colors->accept();
        });
        box->colorButton()->click();
        box->accept();
    });
    EXPECT_EQ(service.ShowFont(values, nullptr), DialogResult::Ok);
    EXPECT_EQ(values.FontName, QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(values.FontSize, 20.0f);
    EXPECT_TRUE(values.FontBold);
    EXPECT_FALSE(values.FontItalic);
    EXPECT_FALSE(values.FontUnderline);
    EXPECT_TRUE(values.FontStrikethru);
    EXPECT_EQ(values.Color, 0x008000u);
}

TEST_F(QtDialogs, FontCancelledByEscapeKeepsEverything)
{
    values.CancelError = true;
    values.Flags = 0x10101;
    values.FontName = QStringLiteral("DejaVu Serif");
    values.FontSize = 9;
    values.Color = 0x00FF00;
    whenShown<FontColorDialog>([](FontColorDialog* box) {
        box->fontDialog()->setCurrentFont(QFont(QStringLiteral("DejaVu Sans"), 30));
        box->setColor(Qt::blue);
        // Escape reaches the embedded font dialog first; it must close the whole dialog.
        QTest::keyClick(box->fontDialog(), Qt::Key_Escape);
        if (box->isVisible()) {
            ADD_FAILURE() << "Escape left the dialog open";
            box->reject();
        }
    });
    EXPECT_EQ(service.ShowFont(values, nullptr), DialogResult::Cancelled);
    EXPECT_EQ(values.FontName, QStringLiteral("DejaVu Serif"));
    EXPECT_EQ(values.FontSize, 9.0f);
    EXPECT_EQ(values.Color, 0x00FF00u);
}

TEST_F(QtDialogs, FontWithoutEffectsOffersNoColor)
{
    values.CancelError = true;
    values.Flags = 0x1;
    values.FontSize = -5; // nonsense from outside: the dialog opens on the application's size
    values.FontUnderline = true;
    values.Color = 0x0000FF;
    whenShown<FontColorDialog>([](FontColorDialog* box) {
        EXPECT_FALSE(box->colorButton()->isVisible());
        EXPECT_EQ(box->fontDialog()->currentFont().pointSizeF(), QApplication::font().pointSizeF());
        QFont chosen(QStringLiteral("DejaVu Sans"), 11);
        box->fontDialog()->setCurrentFont(chosen);
        box->accept();
    });
    EXPECT_EQ(service.ShowFont(values, nullptr), DialogResult::Ok);
    EXPECT_EQ(values.FontName, QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(values.FontSize, 11.0f);
    EXPECT_TRUE(values.FontUnderline);
    EXPECT_EQ(values.Color, 0x0000FFu);
}

TEST_F(QtDialogs, PrinterOffersTheSelectionWhenAsked)
{
    values.CancelError = true;
    values.DialogTitle = QStringLiteral("Print");
    for (const std::int32_t flags : { 0x108, 0x109 }) {
        const bool selection = flags & 1;
        values.Flags = flags;
        whenShown<QPrintDialog>([&](QPrintDialog* box) {
            EXPECT_EQ(box->windowTitle(), QStringLiteral("Print"));
            EXPECT_EQ(box->testOption(QAbstractPrintDialog::PrintSelection), selection);
            EXPECT_FALSE(box->testOption(QAbstractPrintDialog::PrintPageRange));
            EXPECT_EQ(box->printRange(),
                selection ? QAbstractPrintDialog::Selection : QAbstractPrintDialog::AllPages);
            box->printer()->setOutputFileName(m_dir.path() + QStringLiteral("/out.pdf"));
            box->accept();
        });
        EXPECT_EQ(service.ShowPrinter(values, nullptr), DialogResult::Ok) << flags;
        ASSERT_NE(values.hDC, nullptr);
        EXPECT_EQ(values.hDC->printRange(), selection ? QPrinter::Selection : QPrinter::AllPages);
    }

    // A cancel leaves the printer of the last accepted dialog.
    QPrinter* const chosen = values.hDC;
    values.Flags = 0x108;
    whenShown<QPrintDialog>([](QPrintDialog* box) {
        EXPECT_TRUE(box->testOption(QAbstractPrintDialog::PrintToFile));
        box->reject();
    });
    EXPECT_EQ(service.ShowPrinter(values, nullptr), DialogResult::Cancelled);
    EXPECT_EQ(values.hDC, chosen);
}

TEST_F(QtDialogs, ASecondDialogWhileOneIsOpenFails)
{
    values.CancelError = true;
    whenShown<QColorDialog>([this](QColorDialog* box) {
        CommonDialogValues other;
        EXPECT_EQ(service.ShowFont(other, nullptr), DialogResult::Failed);
        EXPECT_EQ(service.ShowOpen(other, nullptr), DialogResult::Failed);
        box->reject();
    });
    EXPECT_EQ(service.ShowColor(values, nullptr), DialogResult::Cancelled);
}

} // namespace
} // namespace penwick
