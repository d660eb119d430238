// SPDX-License-Identifier: GPL-2.0-or-later
// Inserting files, exporting and printing, as the menus run them on the real editor, with the
// file and printer dialogs scripted.
#include "commands/filecommands.h"
#include "harness/programtest.h"
#include "platform/atomicfile.h"
#include "platform/richtextbox.h"
#include "platform/rtf/rtftestutil.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QMimeData>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtEndian>

#include <cerrno>
#include <sys/stat.h>

namespace penwick::test {
namespace {

using Kind = FakeCommonDialog::Kind;

class FileCommands : public ProgramTest
{
protected:
    void SetUp() override
    {
        editor = start().rtfNotes;
        editor->setText(QStringLiteral("one two three"));
    }
    void select(int from, int to)
    {
        editor->setSelStart(from);
        editor->setSelLength(to - from);
    }
    QString write(const QString& name, const QByteArray& bytes)
    {
        QFile f(dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
        return f.fileName();
    }
    QByteArray read(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
    }
    // Runs a command whose dialog picks `path`.
    void runOn(const char* command, Kind kind, const QString& path)
    {
        env.dialogs->expectFile(kind, path);
        item(command)->trigger();
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr) << command; // hourglass gone
    }
    const CommonDialogValues& lastShown() const { return env.dialogs->shown().back().values; }

    RichTextBox* editor = nullptr;
    QTemporaryDir dir;
};

QString runTool(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

// A PNG whose header asks for 100000 x 100000 pixels, with no pixels behind it.
QByteArray hugePng()
{
    const auto chunk = [](const QByteArray& typeAndData) {
        quint32 crc = 0xFFFFFFFF;
        for (const char byte : typeAndData) {
            crc ^= quint8(byte);
            for (int k = 0; k < 8; ++k)
                crc = (crc >> 1) ^ (0xEDB88320 & (0 - (crc & 1)));
        }
        QByteArray out(4, '\0');
        qToBigEndian<quint32>(quint32(typeAndData.size() - 4), out.data());
        out += typeAndData;
        out.resize(out.size() + 4);
        qToBigEndian<quint32>(~crc, out.data() + out.size() - 4);
        return out;
    };
    return QByteArray("\x89PNG\r\n\x1A\n")
        + chunk(QByteArray("IHDR\0\x01\x86\xA0\0\x01\x86\xA0\x08\x02\0\0\0", 17)) + chunk("IDAT")
        + chunk("IEND");
}

TEST_F(FileCommands, InsertDialogsOpenEmptyAndCancelEndsSilently)
{
    struct Case
    {
        const char* command;
        const char* title;
        const char* filter;
    };
    const Case cases[] = {
        { "mnuImportText", "Insert Text File", "Text Files (*.txt)|*.txt|" },
        { "mnuImportRtf", "Insert Rich Text", "Rich Text (*.rtf)|*.rtf|" },
        { "mnuInsertImage", "Select an Image",
            "All Supported Formats|*.gif;*.jpg;*.bmp;*.dib;*.wmf;*.emf|Gif Images (.gif)|*.gif|"
            "Jpeg Images (.jpg)|*.jpg|Bitmap Images (.bmp)|*.bmp|OS/2 or Windows DIB "
            "(*.dib)|*.dib|Windows Meta File (*.wmf)|*.wmf|Enhanced Windows Meta File "
            "(*.emf)|*.emf|All Files (*.*)|*.*" },
    };
    const QByteArray before = editor->TextRTF();
    for (const Case& c : cases) {
        window->Dialog1.FileName = QStringLiteral("/earlier/choice.txt");
        window->Dialog1.FilterIndex = 3;
        env.dialogs->expectCancel(Kind::Open);
        item(c.command)->trigger();
        const CommonDialogValues& shown = lastShown();
        EXPECT_EQ(shown.DialogTitle, QLatin1String(c.title));
        EXPECT_EQ(shown.Filter, QLatin1String(c.filter));
        EXPECT_EQ(shown.Flags, 0x1804);
        EXPECT_TRUE(shown.CancelError);
        EXPECT_EQ(shown.FileName, u"");
        EXPECT_EQ(shown.FilterIndex, c.command == std::string_view("mnuInsertImage") ? 1 : 3);
    }
    EXPECT_EQ(editor->TextRTF(), before);
    EXPECT_TRUE(env.prompter->shown().empty());
}

// Text files in every encoding replace the selection; markup in a .txt goes in formatted.
TEST_F(FileCommands, TextFilesReplaceTheSelection)
{
    const std::pair<QByteArray, QString> cases[] = {
        { "caf\xC3\xA9\r\nline", u"caf\u00E9\nline"_qs },
        { "\xEF\xBB\xBF\xE2\x82\xAC 5", u"\u20AC 5"_qs },
        { QByteArray("\xFF\xFEh\0i\0\x3D\xD8\x00\xDE", 10), u"hi\U0001F600"_qs },
        { QByteArray("\xFE\xFF\0h\0i", 6), u"hi"_qs },
        { "caf\xE9 \x80", u"caf\u00E9 \u20AC"_qs }, // not UTF-8: Windows-1252
        { "{\\rtf1 plain {\\b bold}\\par}", u"plain bold"_qs },
    };
    for (const auto& [bytes, text] : cases) {
        editor->setText(QStringLiteral("one two three"));
        select(4, 7);
        runOn("mnuImportText", Kind::Open, write(QStringLiteral("in.txt"), bytes));
        EXPECT_EQ(editor->Text(), QStringLiteral("one ") + text + QStringLiteral(" three"));
    }
    select(10, 14);
    EXPECT_EQ(editor->SelBold(), true);
    EXPECT_TRUE(env.prompter->shown().empty());
}

// A rich-text file keeps fonts, colours, paragraph formats, bullets and pictures.
TEST_F(FileCommands, RichTextFileKeepsItsFormattingAndPictures)
{
    for (const char* name : { "wordpad.rtf", "pictures.rtf" }) {
        editor->setText(QString());
        runOn("mnuImportRtf", Kind::Open, fixturePath(name));
        const auto expected = readDoc(fixture(name));
        expectSameFormatting(*editor->document(), *expected);
        const auto pictures = picturesOf(*editor->document());
        const auto original = picturesOf(*expected);
        ASSERT_EQ(pictures.size(), original.size()) << name;
        for (size_t i = 0; i < pictures.size(); ++i) {
            EXPECT_EQ(pictures[i].kind, original[i].kind) << name << i;
            EXPECT_EQ(pictures[i].bytes, original[i].bytes) << name << i;
        }
    }
}

// Every picture kind goes in at the selection as one undo step, at its own size, keeping its
// bytes where rich text can carry them; the clipboard is never touched.
TEST_F(FileCommands, PicturesGoInAtTheSelectionWithoutTheClipboard)
{
    const QByteArray svg = "<svg xmlns='http://www.w3.org/2000/svg' width='30' height='20'>"
                           "<rect width='30' height='20' fill='red'/></svg>";
    struct Case
    {
        QString path;
        PictureKind kind;
        bool sameBytes;
        QSize size;
    };
    const Case cases[] = {
        { fixturePath("picture.png"), PictureKind::Png, true, { 40, 30 } },
        { fixturePath("picture.jpg"), PictureKind::Jpeg, true, { 40, 30 } },
        { fixturePath("picture.gif"), PictureKind::Png, false, { 20, 10 } },
        { fixturePath("picture.bmp"), PictureKind::Dib, false, { 40, 30 } },
        { fixturePath("picture.dib"), PictureKind::Dib, false, { 40, 30 } },
        { fixturePath("picture.wmf"), PictureKind::Wmf, false,
            { 200, 100 } }, // placeable header dropped
        { fixturePath("picture.emf"), PictureKind::Emf, true, { 200, 100 } },
        { write(QStringLiteral("drawing.svg"), svg), PictureKind::Png, false, { 30, 20 } },
    };
    for (const bool emptyClipboard : { false, true }) {
        if (emptyClipboard)
            QApplication::clipboard()->clear();
        else
            QApplication::clipboard()->setText(QStringLiteral("copied line"));
        for (const Case& c : cases) {
            editor->setText(QStringLiteral("one two three"));
            select(4, 7);
            runOn("mnuInsertImage", Kind::Open, c.path);
            ASSERT_EQ(editor->Text(), u"one \uFFFC three") << c.path.toStdString();
            const auto pictures = picturesOf(*editor->document());
            ASSERT_EQ(pictures.size(), 1u);
            EXPECT_EQ(pictures[0].kind, c.kind) << c.path.toStdString();
            if (c.sameBytes) {
                EXPECT_EQ(pictures[0].bytes, read(c.path)) << c.path.toStdString();
            }
            EXPECT_EQ(pictures[0].displaySize, c.size) << c.path.toStdString();
            editor->Undo();
            EXPECT_EQ(editor->Text(), u"one two three");
            const QMimeData* held = QApplication::clipboard()->mimeData();
            EXPECT_EQ(!held || held->formats().isEmpty(), emptyClipboard) << c.path.toStdString();
            EXPECT_EQ(QApplication::clipboard()->text(), emptyClipboard ? u"" : u"copied line");
        }
    }
    EXPECT_EQ(picturesOf(*editor->document()).size(), 0u);
    EXPECT_TRUE(env.prompter->shown().empty());
}

// Files that cannot go in leave the note as it was and say which file and why.
TEST_F(FileCommands, BadFilesAreRefusedWithTheirReason)
{
    const QString fifo = dir.filePath(QStringLiteral("pipe.txt"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QFile big(dir.filePath(QStringLiteral("big.txt")));
    ASSERT_TRUE(big.open(QIODevice::WriteOnly) && big.resize(64 * 1024 * 1024 + 1));
    big.close();
    const QByteArray jpeg = read(fixturePath("picture.jpg"));
    struct Case
    {
        const char* command;
        QString path;
        const char* reason;
    };
    const Case cases[] = {
        { "mnuImportText", big.fileName(), "larger than 64 MB" },
        { "mnuImportText", write("nul.txt", QByteArray("text\0more", 9)), "binary data" },
        { "mnuImportText", write("odd.txt", QByteArray("\xFF\xFEh\0i", 5)), "not valid UTF-16" },
        { "mnuImportText", write("half.txt", QByteArray("\xFF\xFE\x3D\xD8h\0", 6)),
            "not valid UTF-16" },
        { "mnuImportText", dir.path(), "It is a folder" },
        { "mnuImportText", fifo, "not a regular file" },
        { "mnuImportText", dir.filePath("gone.txt"), "No such file" },
        { "mnuImportRtf", write("plain.rtf", "just text"), "not a rich-text file" },
        { "mnuImportRtf", fifo, "not a regular file" },
        { "mnuInsertImage", write("huge.png", hugePng()), "too large (100000 x 100000" },
        { "mnuInsertImage", write("cut.jpg", jpeg.left(jpeg.size() - 40)), "incomplete" },
        { "mnuInsertImage", write("bad.wmf", read(fixturePath("picture.wmf")).left(40)),
            "not a picture" },
        { "mnuInsertImage", write("bad.emf", read(fixturePath("picture.emf")).left(100)),
            "not a picture" },
        { "mnuInsertImage", write("text.gif", "GIF89a not really"), "not a picture" },
    };
    select(4, 7);
    const QByteArray before = editor->TextRTF();
    for (const Case& c : cases) {
        env.prompter->expectMsgBox();
        runOn(c.command, Kind::Open, c.path);
        EXPECT_EQ(editor->TextRTF(), before) << c.path.toStdString();
        const QString message = env.prompter->shown().back().prompt;
        EXPECT_TRUE(message.contains(c.path)) << message.toStdString();
        EXPECT_TRUE(message.contains(QLatin1String(c.reason))) << message.toStdString();
    }
}

// The plain export drops formatting and pictures; the rich one keeps them; names are used as
// typed; the dialog opens on the last file chosen anywhere.
TEST_F(FileCommands, ExportWritesTheNoteUnderTheNameGiven)
{
    editor->setText(QString());
    runOn("mnuImportRtf", Kind::Open, fixturePath("wordpad.rtf"));
    runOn("mnuInsertImage", Kind::Open, fixturePath("picture.png"));
    const QString last = fixturePath("picture.png");
    const std::tuple<const char*, const char*, const char*> cases[]
        = { { "mnuTextFile", "plain", "Text File (*.txt)|*.txt|All Files (*.*)|*.*" },
              { "mnuRichText", "rich", "Rich Text File (*.rtf)|*.rtf|All Files (*.*)|*.*" } };
    for (const auto& [command, name, filter] : cases) {
        window->Dialog1.FilterIndex = 2;
        runOn(command, Kind::Save, dir.filePath(QLatin1String(name)));
        const CommonDialogValues& shown = lastShown();
        EXPECT_EQ(shown.DialogTitle, u"Save Document");
        EXPECT_EQ(shown.Filter, QLatin1String(filter));
        EXPECT_EQ(shown.FilterIndex, 1);
        EXPECT_EQ(shown.Flags, 0x2806);
        EXPECT_EQ(shown.FileName,
            command == std::string_view("mnuTextFile") ? last : dir.filePath("plain"));
    }
    const QByteArray plain = read(dir.filePath("plain"));
    EXPECT_TRUE(plain.startsWith("WordPad bold both blue\none\ntwo\nthree\n"))
        << plain.toStdString();
    EXPECT_EQ(plain, editor->Text().remove(u'\uFFFC').toUtf8());
    EXPECT_FALSE(plain.contains('\r'));
    EXPECT_FALSE(plain.contains("\xEF\xBF\xBC")); // no picture character
    const auto rich = readDoc(read(dir.filePath("rich")));
    expectSameFormatting(*rich, *editor->document());
    ASSERT_EQ(picturesOf(*rich).size(), 1u);
    EXPECT_EQ(picturesOf(*rich)[0].bytes, read(fixturePath("picture.png")));

    // A cancel writes nothing, though a name is left from before.
    env.dialogs->expectCancel(Kind::Save);
    QFile::remove(dir.filePath("rich"));
    item("mnuRichText")->trigger();
    EXPECT_FALSE(QFile::exists(dir.filePath("rich")));
    // A dialog that cannot be shown does not write over that name unasked.
    env.dialogs->expectFailure(Kind::Save);
    env.prompter->expectMsgBox();
    item("mnuRichText")->trigger();
    EXPECT_FALSE(QFile::exists(dir.filePath("rich")));
}

// A failed export names the file and the reason, and leaves no torn or stray file.
TEST_F(FileCommands, FailedExportLeavesTheOldFile)
{
    const QString folder = dir.filePath(QStringLiteral("out"));
    QDir().mkpath(folder);
    const QString target = write(QStringLiteral("out/old.rtf"), "old content");
    const QString fifo = folder + QStringLiteral("/pipe");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const auto full = [](int, const void*, unsigned long) -> long {
        errno = ENOSPC;
        return -1;
    };
    struct Case
    {
        QString path;
        long (*write)(int, const void*, unsigned long);
        const char* reason;
    };
    const Case cases[] = {
        { target, full, "No space left" },
        { folder, nullptr, "It is a folder" },
        { fifo, nullptr, "not a regular file" },
        { folder + QStringLiteral("/no/such/folder.rtf"), nullptr, "No such file" },
    };
    for (const Case& c : cases) {
        const auto saved = atomicFileOps();
        if (c.write)
            atomicFileOps().write = c.write;
        env.prompter->expectMsgBox();
        runOn("mnuRichText", Kind::Save, c.path);
        atomicFileOps() = saved;
        const QString message = env.prompter->shown().back().prompt;
        EXPECT_TRUE(message.contains(c.path) && message.contains(QLatin1String(c.reason)))
            << message.toStdString();
    }
    EXPECT_EQ(read(target), "old content");
    EXPECT_EQ(QDir(folder).entryList(
                  QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
        QStringList({ "old.rtf", "pipe" }));

    // A folder mounted read-only: root's writes are refused there too.
    const QString mount = QStandardPaths::findExecutable(QStringLiteral("mount"));
    if (QProcess::execute(mount, { "--bind", folder, folder }) != 0)
        GTEST_SKIP() << "cannot bind-mount here";
    const int remount = QProcess::execute(mount, { "-o", "remount,ro,bind", folder });
    if (remount == 0) {
        env.prompter->expectMsgBox();
        runOn("mnuTextFile", Kind::Save, target);
        EXPECT_TRUE(env.prompter->shown().back().prompt.contains("Read-only file system"));
    }
    QProcess::execute(QStringLiteral("umount"), { folder });
    ASSERT_EQ(remount, 0);
    EXPECT_EQ(read(target), "old content");
}

// The selection alone is printed when there is one, else the whole note, pictures included,
// whatever range the printer carries.
TEST_F(FileCommands, PrintsTheSelectionOrTheWholeNote)
{
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdftotext.isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    editor->setText(QStringLiteral("alpha one\nbeta two\n"));
    editor->setSelStart(int(editor->Text().size()));
    runOn("mnuInsertImage", Kind::Open, fixturePath("picture.png"));
    const QString pdf = dir.filePath(QStringLiteral("out.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const std::tuple<int, int, std::int32_t, const char*, bool> cases[]
        = { { 0, 0, 0x108, "alpha one\nbeta two", true }, { 6, 14, 0x109, "one\nbeta", false } };
    for (const auto& [from, to, flags, text, picture] : cases) {
        select(from, to);
        printer.setOutputFileName(pdf);
        printer.setPrintRange(QPrinter::PageRange);
        printer.setFromTo(3, 4);
        env.dialogs->expectPrinter(&printer);
        item("mnuPrint")->trigger();
        EXPECT_EQ(lastShown().DialogTitle, u"Print");
        EXPECT_EQ(lastShown().Flags, flags);
        // The text, and the page number under it.
        EXPECT_EQ(runTool(pdftotext, { pdf, "-" }).simplified(),
            QString::fromLatin1(text).simplified() + QStringLiteral(" 1"));
        const QString images = runTool(QStringLiteral("pdfimages"), { "-list", pdf });
        EXPECT_EQ(images.count(QLatin1String("image")) > 0, picture) << images.toStdString();
        QFile::remove(pdf);
    }
    // Cancel prints nothing; a job that cannot start says so.
    env.dialogs->expectCancel(Kind::Printer);
    item("mnuPrint")->trigger();
    EXPECT_FALSE(QFile::exists(pdf));
    printer.setOutputFileName(dir.filePath(QStringLiteral("missing/out.pdf")));
    env.dialogs->expectPrinter(&printer);
    env.prompter->expectMsgBox();
    item("mnuPrint")->trigger();
    EXPECT_TRUE(env.prompter->shown().back().prompt.contains("missing/out.pdf"));
}

} // namespace
} // namespace penwick::test
