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
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "harness/qtprinters.h"

namespace penwick {
namespace {

const QString ImageFilter = QStringLiteral(
    "All Supported Formats|*.gif;*.jpg;*.bmp|Gif Images (.gif)|*.gif|Jpeg Images (.jpg)|*.jpg|"
    "Bitmap Images (.bmp)|*.bmp|All Files (*.*)|*.*");

TEST(FileFilter, Parse)
{
    const auto names = [](const QString& filter) {
        QStringList out;
        for (const FileFilter& f : parseFileFilter(filter))
            out << toNameFilter(f);
        return out.join(u'|');
    };
    EXPECT_EQ(names(ImageFilter),
        "All Supported Formats (*.gif *.jpg *.bmp)|Gif Images (.gif) (*.gif)|Jpeg Images (.jpg) "
        "(*.jpg)|Bitmap Images (.bmp) (*.bmp)|All Files (*.*) (*)");
}

class QtDialogs : public ::testing::Test
{
protected:
    QtDialogs() { values.CancelError = true; }
    // Runs `action` on the modal dialog of type D once it is the active one. The action must
    // close it; a dialog that never opens fails the test instead of hanging it. Nothing runs once
    // the test is gone, so one that failed half-way leaves nothing behind for the next one.
    template <typename D, typename Action> void whenShown(Action action, int turns = 100)
    {
        QTimer::singleShot(0, &m_scope, [this, action, turns]() mutable {
            if (auto* dialog = qobject_cast<D*>(QApplication::activeModalWidget())) {
                action(dialog);
            } else if (turns > 0) {
                whenShown<D>(std::move(action), turns - 1);
            } else {
                ADD_FAILURE() << "expected " << D::staticMetaObject.className() << " not shown";
                if (QWidget* other = QApplication::activeModalWidget())
                    other->close();
            }
        });
    }
    QString file(const QString& name, bool create = true)
    {
        const QString path = root() + u'/' + name; // made empty unless `create` is false
        return !create || QFile(path).open(QIODevice::WriteOnly) ? path : QString();
    }

    // The dialogs report canonical paths, and the temporary folder may sit behind a link.
    QString root() const { return QDir(m_dir.path()).canonicalPath(); }

    QtCommonDialog service;
    CommonDialogValues values;
    QTemporaryDir m_dir;
    QObject m_scope;
};

// A name the flags refuse brings up a message and leaves the file dialog asking; the overwrite
// prompt's "Yes" takes the name.
TEST_F(QtDialogs, FlagsDecideWhichNamesAreTaken)
{
    const QString existing = file(QStringLiteral("old.rtf"));
    const QString missing = file(QStringLiteral("missing.txt"), false);
    const QString inMissingFolder = root() + QStringLiteral("/nowhere/out.txt");
    const struct
    {
        const char* what;
        bool save;
        std::int32_t flags;
        QString path;
        std::optional<QMessageBox::StandardButton> answer; // nothing: no message comes up
    } cases[] = {
        { "existing file that must exist", false, 0x1804, existing, std::nullopt },
        { "missing file that must exist", false, 0x1804, missing, QMessageBox::Ok },
        { "missing file that may be new", false, 0x0804, missing, std::nullopt },
        { "missing folder that must exist", true, 0x2806, inMissingFolder, QMessageBox::Ok },
        { "missing folder that may be new", true, 0, inMissingFolder, std::nullopt },
        { "overwrite refused", true, 0x2806, existing, QMessageBox::No },
        { "overwrite confirmed", true, 0x2806, existing, QMessageBox::Yes },
        { "overwrite without prompt", true, 0x2804, existing, std::nullopt },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        values.Flags = c.flags;
        values.FileName = QStringLiteral("kept.txt");
        int messages = 0;
        whenShown<QFileDialog>([&](QFileDialog* box) {
            if (c.answer) {
                whenShown<QMessageBox>([&, box](QMessageBox* message) {
                    ++messages;
                    message->button(*c.answer)->click();
                    if (*c.answer != QMessageBox::Yes)
                        QTimer::singleShot(0, box, [box] {
                            EXPECT_TRUE(box->isVisible()); // still asking
                            box->reject();
                        });
                });
            }
            if (QFileInfo(c.path).dir().exists())
                box->selectFile(c.path);
            else // typed in the name box
                box->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(c.path);
            static_cast<QDialog*>(box)->accept(); // the Open or Save button
        });
        const DialogResult result
            = c.save ? service.ShowSave(values, nullptr) : service.ShowOpen(values, nullptr);
        const bool taken = !c.answer || *c.answer == QMessageBox::Yes;
        EXPECT_EQ(std::tuple(messages, result, values.FileName),
            std::tuple(c.answer ? 1 : 0, taken ? DialogResult::Ok : DialogResult::Cancelled,
                taken ? c.path : QStringLiteral("kept.txt")));
    }
}

// The dialog shows the title and the filters, FilterIndex picking a pair (out of range: the
// first); Save then opens on the last chosen file name.
TEST_F(QtDialogs, SaveOpensOnTheLastChosenFileName)
{
    QDir(root()).mkdir(QStringLiteral("sub"));
    const QString imported = file(QStringLiteral("sub/imported.txt"));
    values.DialogTitle = QStringLiteral("Insert Picture");
    values.Filter = ImageFilter;
    for (const auto& [index, shown] : { std::pair(0, "All Supported Formats"),
             std::pair(6, "All Supported Formats"), std::pair(5, "All Files (*.*)") }) {
        values.FilterIndex = std::int16_t(index);
        const QString expected = QLatin1String(shown); // a lambda cannot capture the bindings
        whenShown<QFileDialog>([&](QFileDialog* box) {
            const auto* types = box->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
            EXPECT_EQ(
                box->windowTitle() + u'|' + types->currentText(), "Insert Picture|" + expected);
            box->reject();
        });
        EXPECT_EQ(service.ShowOpen(values, nullptr), DialogResult::Cancelled);
    }
    values.Flags = 0x1804;
    whenShown<QFileDialog>([&](QFileDialog* box) {
        box->selectFile(imported);
        static_cast<QDialog*>(box)->accept();
    });
    ASSERT_EQ(service.ShowOpen(values, nullptr), DialogResult::Ok);

    // A cancelled save leaves the name as it was.
    values.Flags = 0x2806;
    whenShown<QFileDialog>([&](QFileDialog* box) {
        EXPECT_EQ(box->directory().absolutePath() + u'|'
                + box->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->text(),
            root() + QStringLiteral("/sub|imported.txt"));
        box->reject();
    });
    EXPECT_EQ(std::pair(service.ShowSave(values, nullptr), values.FileName),
        std::pair(DialogResult::Cancelled, imported));
}

// Each dialog opens on the values (the colour only with its flag, black without) and hands back
// the choice; font effects and colour come back only with their flag, the selection range only
// when asked for. A cancel without CancelError reports Ok and keeps the colour chosen before.
TEST_F(QtDialogs, ColorFontAndPrinterShowTheValuesAndReturnTheChoice)
{
    values.Color = 0x0000FF; // red
    for (const std::int32_t flags : { 3, 2 }) {
        values.Flags = flags;
        whenShown<QColorDialog>([flags](QColorDialog* box) {
            EXPECT_EQ(box->currentColor(), flags & 1 ? QColor(255, 0, 0) : QColor(Qt::black));
            box->setCurrentColor(QColor(0, 0, 255));
            box->accept();
        });
        EXPECT_EQ(service.ShowColor(values, nullptr), DialogResult::Ok);
    }
    EXPECT_EQ(values.Color, 0xFF0000u); // blue

    values.Flags = 0x10101;
    values.FontName = QStringLiteral("DejaVu Serif");
    values.FontSize = 14;
    values.FontUnderline = true;
    whenShown<FontColorDialog>([](FontColorDialog* box) {
        const QFont shown = box->fontDialog()->currentFont();
        EXPECT_EQ(std::tuple(shown.family(), shown.pointSize(), shown.underline(), box->color()),
            std::tuple(QStringLiteral("DejaVu Serif"), 14, true, QColor(0, 0, 255)));
        QFont chosen(QStringLiteral("DejaVu Sans"), 20);
        chosen.setBold(true);
        chosen.setStrikeOut(true);
        box->fontDialog()->setCurrentFont(chosen);
        box->setColor(QColor(0, 128, 0));
        box->accept();
    });
    EXPECT_EQ(service.ShowFont(values, nullptr), DialogResult::Ok);
    EXPECT_EQ(std::tuple(values.FontName.toStdString(), values.FontSize, values.FontBold,
                  values.FontItalic, values.FontUnderline, values.FontStrikethru, values.Color),
        std::tuple(std::string("DejaVu Sans"), 20.0f, true, false, false, true, 0x008000u));

    values.Flags = 0x109;
    whenShown<QPrintDialog>([&](QPrintDialog* box) {
        EXPECT_EQ(box->printRange(), QAbstractPrintDialog::Selection);
        box->printer()->setOutputFileName(m_dir.path() + QStringLiteral("/out.pdf"));
        box->accept();
    });
    ASSERT_TRUE(service.ShowPrinter(values, nullptr) == DialogResult::Ok && values.hDC);
    EXPECT_EQ(values.hDC->printRange(), QPrinter::Selection);

    values.CancelError = false;
    whenShown<QColorDialog>([](QColorDialog* box) { box->reject(); });
    EXPECT_EQ(std::pair(service.ShowColor(values, nullptr), values.Color),
        std::pair(DialogResult::Ok, OleColor(0x008000u)));
}

// As in any font dialog: typing goes to the list of faces, Enter accepts and Escape cancels.
TEST_F(QtDialogs, FontDialogKeys)
{
    values.Flags = 0x10101;
    const std::pair<Qt::Key, DialogResult> keys[] = { { Qt::Key_Return, DialogResult::Ok },
        { Qt::Key_Enter, DialogResult::Ok }, { Qt::Key_Escape, DialogResult::Cancelled } };
    for (const auto& [pressed, result] : keys) {
        const Qt::Key key = pressed; // clang 14 cannot capture a structured binding
        values.FontName = QStringLiteral("DejaVu Serif");
        whenShown<FontColorDialog>([key](FontColorDialog* box) {
            QWidget* focus = box->focusWidget() ? box->focusWidget() : box;
            QTimer::singleShot(0, box, [] {
                if (auto* picker = qobject_cast<QColorDialog*>(QApplication::activeModalWidget())) {
                    ADD_FAILURE() << "the colour picker opened";
                    picker->reject();
                }
            });
            QTest::keyClicks(focus, QStringLiteral("dejavu sans m"));
            QTest::keyClick(focus, key);
            if (box->isVisible()) {
                ADD_FAILURE() << "the key left the dialog open";
                box->reject();
            }
        });
        EXPECT_EQ(service.ShowFont(values, nullptr), result) << key;
        EXPECT_EQ(values.FontName, key == Qt::Key_Escape ? u"DejaVu Serif" : u"DejaVu Sans Mono");
    }
}

} // namespace
} // namespace penwick
