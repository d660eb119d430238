// SPDX-License-Identifier: GPL-2.0-or-later
// Inserting files, exporting and printing, as the menus run them on the real editor, with the
// file and printer dialogs scripted.
#include "harness/programtest.h"
#include "platform/atomicfile.h"
#include "platform/richtextbox.h"
#include "platform/rtf/rtftestutil.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>

#include <cerrno>
#include <sys/stat.h>

namespace penwick::test {
namespace {

using Kind = FakeCommonDialog::Kind;

// Each picture of the document as its kind, size and bytes.
QStringList pictures(const QTextDocument& doc)
{
    QStringList out;
    for (const Picture& p : picturesOf(doc))
        out << QStringLiteral("%1 %2x%3 %4")
                   .arg(pictureKindName(p.kind))
                   .arg(p.displaySize.width())
                   .arg(p.displaySize.height())
                   .arg(QString::fromLatin1(p.bytes.toBase64()));
    return out;
}

class FileCommands : public ProgramTest
{
protected:
    void SetUp() override { editor = start().rtfNotes; }
    // "one two three" with "two" selected.
    void reset() { select(4, 3, "one two three"); }
    QString write(const QString& name, const QByteArray& bytes)
    {
        QFile f(dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
        return f.fileName();
    }
    // Runs a command whose dialog picks `path`.
    void runOn(const char* command, Kind kind, const QString& path)
    {
        env.dialogs->expectFile(kind, path);
        item(command)->trigger();
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr) << command; // hourglass gone
    }
    // The same for a command that must fail: the message it shows.
    QString failing(const char* command, Kind kind, const QString& path)
    {
        env.prompter->expectMsgBox();
        runOn(command, kind, path);
        return env.prompter->shown().back().prompt;
    }
    const CommonDialogValues& lastShown() const { return env.dialogs->shown().back().values; }

    RichTextBox* editor = nullptr;
    QTemporaryDir dir;
};

TEST_F(FileCommands, InsertDialogsOpenEmptyAndCancelEndsSilently)
{
    const char* const cases[][3] = {
        { "mnuImportText", "Insert Text File", "Text Files (*.txt)|*.txt|" },
        { "mnuImportRtf", "Insert Rich Text", "Rich Text (*.rtf)|*.rtf|" },
        { "mnuInsertImage", "Select an Image",
            "All Supported Formats|*.gif;*.jpg;*.bmp;*.dib;*.wmf;*.emf|Gif Images (.gif)|*.gif|"
            "Jpeg Images (.jpg)|*.jpg|Bitmap Images (.bmp)|*.bmp|OS/2 or Windows DIB "
            "(*.dib)|*.dib|Windows Meta File (*.wmf)|*.wmf|Enhanced Windows Meta File "
            "(*.emf)|*.emf|All Files (*.*)|*.*" },
    };
    reset();
    const QByteArray before = editor->TextRTF();
    for (const auto& [command, title, filter] : cases) {
        window->Dialog1.FileName = QStringLiteral("/earlier/choice.txt");
        window->Dialog1.FilterIndex = 3;
        env.dialogs->expectCancel(Kind::Open);
        item(command)->trigger();
        const CommonDialogValues& shown = lastShown();
        EXPECT_EQ(QStringList({ shown.DialogTitle, shown.Filter, shown.FileName }),
            QStringList({ title, filter, "" }));
        EXPECT_TRUE(shown.Flags == 0x1804 && shown.CancelError
            && shown.FilterIndex == (command == std::string_view("mnuInsertImage") ? 1 : 3));
    }
    EXPECT_EQ(editor->TextRTF(), before);
}

// Text files in every encoding, rich text and pictures replace the selection as one undo step, and
// never touch the clipboard; markup in a .txt goes in formatted. A picture goes in at its own size,
// as the picture tests read every kind (here also a format only a Qt plugin reads).
TEST_F(FileCommands, InsertsReplaceTheSelectionInOneStep)
{
    const QByteArray svg = "<svg xmlns='http://www.w3.org/2000/svg' width='30' height='20'>"
                           "<rect width='30' height='20' fill='red'/></svg>";
    const std::tuple<const char*, QByteArray, QString> cases[] = {
        { "t.txt", "caf\xC3\xA9\r\nline", u"caf\u00E9\nline"_qs },
        { "t.txt", "\xEF\xBB\xBF\xE2\x82\xAC 5", u"\u20AC 5"_qs },
        { "t.txt", QByteArray("\xFF\xFEh\0i\0\x3D\xD8\x00\xDE", 10), u"hi\U0001F600"_qs },
        { "t.txt", QByteArray("\xFE\xFF\0h\0i", 6), u"hi"_qs },
        { "t.txt", "caf\xE9 \x80", u"caf\u00E9 \u20AC"_qs }, // not UTF-8: Windows-1252
        { "t.txt", "{\\rtf1 plain {\\b bold}\\par}", u"plain bold"_qs },
        { "t.rtf", "{\\rtf1 plain {\\b bold}\\par}", u"plain bold"_qs },
        // A whole JPEG, walked to its end marker.
        { "p.jpg", fixture("picture.jpg"),
            "jpeg 40x30 " + QString::fromLatin1(fixture("picture.jpg").toBase64()) },
        { "p.svg", svg, "png 30x20 " },
    };
    QApplication::clipboard()->setText(QStringLiteral("copied line"));
    const QStringList held = QApplication::clipboard()->mimeData()->formats();
    for (const auto& [name, bytes, text] : cases) {
        reset();
        const QByteArrayView type = QByteArrayView(name).sliced(2);
        const bool picture = type != "txt" && type != "rtf";
        runOn(picture           ? "mnuInsertImage"
                : type == "txt" ? "mnuImportText"
                                : "mnuImportRtf",
            Kind::Open, write(QLatin1String(name), bytes));
        const QStringList inserted = pictures(*editor->document());
        EXPECT_EQ(
            editor->Text(), QStringLiteral("one %1 three").arg(picture ? u"\uFFFC"_qs : text));
        EXPECT_TRUE(inserted.isEmpty() != picture && (!picture || inserted[0].startsWith(text)))
            << inserted.join(u' ').left(80).toStdString();
        select(10, 4);
        EXPECT_EQ(editor->SelBold(), text == u"plain bold");
        editor->Undo();
        EXPECT_EQ(editor->Text(), u"one two three");
    }
    EXPECT_TRUE(QApplication::clipboard()->mimeData()->formats() == held
        && QApplication::clipboard()->text() == u"copied line");
}

// Files that cannot go in leave the note as it was and say which file and why.
TEST_F(FileCommands, BadFilesAreRefusedWithTheirReason)
{
    const QString fifo = dir.filePath(QStringLiteral("pipe.txt"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QFile big(dir.filePath(QStringLiteral("big.txt")));
    ASSERT_TRUE(big.open(QIODevice::WriteOnly) && big.resize(64 * 1024 * 1024 + 1)); // sparse
    big.close();
    const QByteArray jpeg = fixture("picture.jpg");
    const std::tuple<const char*, QString, const char*> cases[] = {
        { "mnuImportText", big.fileName(), "larger than 64 MB" },
        { "mnuImportText", write("nul.txt", QByteArray("text\0more", 9)), "binary data" },
        { "mnuImportText", write("odd.txt", QByteArray("\xFF\xFEh\0i", 5)), "not valid UTF-16" },
        { "mnuImportText", write("half.txt", QByteArray("\xFF\xFE\x3D\xD8h\0", 6)),
            "not valid UTF-16" },
        { "mnuImportText", dir.path(), "It is a folder" },
        { "mnuImportText", fifo, "not a regular file" },
        { "mnuImportText", dir.filePath("gone.txt"), "No such file" },
        { "mnuImportRtf", write("plain.rtf", "just text"), "not a rich-text file" },
        // A header that claims 65535 x 65535 pixels, with no pixels behind it.
        { "mnuInsertImage", fixturePath("bomb.png"), "too large (65535 x 65535" },
        { "mnuInsertImage", write("cut.jpg", jpeg.left(jpeg.size() - 40)), "incomplete" },
        { "mnuInsertImage", write("bad.wmf", fixture("picture.wmf").left(40)), "not a picture" },
        { "mnuInsertImage", write("bad.emf", fixture("picture.emf").left(100)), "not a picture" },
    };
    reset();
    const QByteArray before = editor->TextRTF();
    for (const auto& [command, path, reason] : cases) {
        const QString message = failing(command, Kind::Open, path);
        EXPECT_EQ(editor->TextRTF(), before) << path.toStdString();
        EXPECT_TRUE(message.contains(path) && message.contains(QLatin1String(reason)))
            << message.toStdString();
    }
}

// Export writes the note under the name as typed: rich text with formatting and pictures; plain
// text in UTF-8 without BOM, with "\n" line ends and no pictures. The save dialog opens on the
// file of the last file dialog, with the first filter.
TEST_F(FileCommands, ExportWritesRichOrPlainText)
{
    select(0, 4, "bold caf\u00e9\ntwo ");
    editor->setSelBold(true);
    select(14, 0);
    runOn("mnuInsertImage", Kind::Open, fixturePath("picture.png"));
    const QString rich = dir.filePath(QStringLiteral("note")), plain = rich + QStringLiteral(".t");
    window->Dialog1.FilterIndex = 2;
    runOn("mnuRichText", Kind::Save, rich);
    EXPECT_EQ(std::pair(lastShown().FileName, lastShown().FilterIndex),
        std::pair(fixturePath("picture.png"), short(1)));
    runOn("mnuTextFile", Kind::Save, plain);
    EXPECT_EQ(lastShown().FileName, rich);
    RichTextBox back;
    ASSERT_TRUE(back.LoadFile(rich));
    back.setSelLength(4);
    EXPECT_EQ(std::pair(back.Text(), back.SelBold()),
        std::pair(u"bold caf\u00e9\ntwo \uFFFC"_qs, TriState(true)));
    EXPECT_EQ(readFile(plain), "bold caf\xC3\xA9\ntwo ");
}

// A failed export names the file and the reason, and leaves no torn or stray file. (Exported
// files are read back in the editor's saving tests and the end-to-end export.)
TEST_F(FileCommands, FailedExportLeavesTheOldFile)
{
    const QString folder = dir.filePath(QStringLiteral("out"));
    QDir().mkpath(folder);
    const QString target = write(QStringLiteral("out/old.rtf"), "old content");
    const QString fifo = folder + QStringLiteral("/pipe");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    // A pipe is not replaced by a file (the writer's own refusals are its tests').
    const QString pipe = failing("mnuRichText", Kind::Save, fifo);
    const auto saved = atomicFileOps();
    atomicFileOps().write = [](int, const void*, unsigned long) -> long {
        errno = ENOSPC;
        return -1;
    };
    const QString full = failing("mnuRichText", Kind::Save, target);
    atomicFileOps() = saved;
    EXPECT_TRUE(pipe.contains(fifo) && pipe.contains("not a regular file") && full.contains(target)
        && full.contains("No space left"))
        << pipe.toStdString() << full.toStdString();
    const CommonDialogValues& shown = lastShown();
    EXPECT_EQ(QStringList({ shown.DialogTitle, shown.Filter, QString::number(shown.Flags, 16) }),
        QStringList(
            { "Save Document", "Rich Text File (*.rtf)|*.rtf|All Files (*.*)|*.*", "2806" }));
    // A cancel writes nothing, though the name is left from before; nor does a dialog that
    // cannot be shown write over that name unasked.
    env.dialogs->expectCancel(Kind::Save);
    item("mnuTextFile")->trigger();
    env.dialogs->expectFailure(Kind::Save);
    env.prompter->expectMsgBox();
    item("mnuTextFile")->trigger();
    EXPECT_EQ(readFile(target), "old content");
    EXPECT_EQ(QDir(folder).entryList(
                  QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
        QStringList({ "old.rtf", "pipe" }));

    // A folder mounted read-only: root's writes are refused there too.
    const QString mount = QStandardPaths::findExecutable(QStringLiteral("mount"));
    if (QProcess::execute(mount, { "--bind", folder, folder }) != 0)
        GTEST_SKIP() << "cannot bind-mount here";
    const int remount = QProcess::execute(mount, { "-o", "remount,ro,bind", folder });
    EXPECT_TRUE(remount != 0
        || failing("mnuTextFile", Kind::Save, target).contains("Read-only file system"));
    QProcess::execute(QStringLiteral("umount"), { folder });
    ASSERT_EQ(remount, 0);
    EXPECT_EQ(readFile(target), "old content");
}

// The selection alone is printed when there is one, else the whole note, pictures included,
// whatever range the printer carries.
TEST_F(FileCommands, PrintsTheSelectionOrTheWholeNote)
{
    const auto runTool = [](const QString& program, const QStringList& args) {
        QProcess p;
        p.start(program, args);
        p.waitForFinished(60000);
        return QString::fromUtf8(p.readAllStandardOutput());
    };
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdftotext.isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    select(19, 0, "alpha one\nbeta two\n");
    runOn("mnuInsertImage", Kind::Open, fixturePath("picture.png"));
    const QString pdf = dir.filePath(QStringLiteral("out.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const std::tuple<int, int, std::int32_t, const char*, bool> cases[]
        = { { 0, 0, 0x108, "alpha one\nbeta two", true }, { 6, 14, 0x109, "one\nbeta", false } };
    for (const auto& [from, to, flags, text, picture] : cases) {
        select(from, to - from);
        printer.setOutputFileName(pdf);
        printer.setPrintRange(QPrinter::PageRange);
        printer.setFromTo(3, 4);
        env.dialogs->expectPrinter(&printer);
        item("mnuPrint")->trigger();
        EXPECT_TRUE(lastShown().DialogTitle == u"Print" && lastShown().Flags == flags);
        // The text, and the page number under it.
        EXPECT_EQ(runTool(pdftotext, { pdf, "-" }).simplified(),
            QString::fromLatin1(text).simplified() + QStringLiteral(" 1"));
        const QString images = runTool(QStringLiteral("pdfimages"), { "-list", pdf });
        EXPECT_EQ(images.count(QLatin1String("image")) > 0, picture) << images.toStdString();
        QFile::remove(pdf);
    }
    // A job that cannot start says so (a cancelled one is in the menu tree test).
    printer.setOutputFileName(dir.filePath(QStringLiteral("missing/out.pdf")));
    env.dialogs->expectPrinter(&printer);
    env.prompter->expectMsgBox();
    item("mnuPrint")->trigger();
    EXPECT_TRUE(env.prompter->shown().back().prompt.contains("missing/out.pdf"));
}

} // namespace
} // namespace penwick::test
