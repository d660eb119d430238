// SPDX-License-Identifier: GPL-2.0-or-later
// Inserting files at the selection, exporting the note and printing it.
#include "commands/filecommands.h"

#include "platform/commondialog.h"
#include "platform/prompter.h"
#include "platform/richtextbox.h"
#include "platform/rtf/rtf.h"
#include "platform/textdecode.h"
#include "platform/waitcursor.h"
#include "shell/frmnotes.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPrinter>
#include <QTextCursor>
#include <QTextDocument>
#include <QtEndian>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace penwick::filecommands {
namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("penwick", text);
}

QString systemError(int err)
{
    return QString::fromLocal8Bit(std::strerror(err)) + u'.';
}

template <typename T> std::optional<T> failure(QString* error, const QString& why)
{
    if (error)
        *error = why;
    return std::nullopt;
}

// Closes a descriptor on every path out.
struct Fd
{
    int fd;
    ~Fd()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

// A JPEG cut off before its end marker: decoders would show the missing part grey without a
// word. Walks the marker segments, and through each scan's entropy-coded data (where a 0xFF is
// followed only by 0x00, a restart marker or fill bytes) to the marker after it.
bool jpegIsComplete(QByteArrayView d)
{
    const auto at = [&d](qsizetype i) { return static_cast<unsigned char>(d[i]); };
    qsizetype pos = 2; // after the start-of-image marker
    while (pos + 2 <= d.size()) {
        if (at(pos) != 0xFF)
            return false;
        const unsigned char marker = at(pos + 1);
        if (marker == 0xFF) { // fill byte
            ++pos;
            continue;
        }
        if (marker == 0xD9) // end of image
            return true;
        if ((marker >= 0xD0 && marker <= 0xD7) || marker == 0x01) {
            pos += 2;
            continue;
        }
        if (pos + 4 > d.size())
            return false;
        const qsizetype length = (qsizetype(at(pos + 2)) << 8) | at(pos + 3);
        if (length < 2)
            return false;
        pos += 2 + length;
        if (marker != 0xDA) // not a scan
            continue;
        while (pos + 1 < d.size()) {
            if (at(pos) == 0xFF) {
                const unsigned char next = at(pos + 1);
                if (next != 0x00 && next != 0xFF && (next < 0xD0 || next > 0xD7))
                    break; // the next marker
                pos += next == 0xFF ? 1 : 2;
                continue;
            }
            ++pos;
        }
    }
    return false;
}

QString displayName(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

void report(Prompter& prompter, QWidget* owner, const QString& message)
{
    prompter.MsgBox(owner, message, MsgIcon::Warning);
}

void reportInsert(Prompter& prompter, QWidget* owner, const QString& path, const QString& why)
{
    report(prompter, owner,
        tr("%1 could not be inserted.\n\n%2\n\nThe note is unchanged.")
            .arg(displayName(path), why));
}

// Open-dialog settings of the three insert commands.
struct InsertDialog
{
    const char* title;
    const char* filter;
    bool resetFilterIndex;
};

// clang-format off
const InsertDialog insertDialogs[] = {
    { "Insert Text File", "Text Files (*.txt)|*.txt|", false },
    { "Insert Rich Text", "Rich Text (*.rtf)|*.rtf|", false },
    { "Select an Image",
      "All Supported Formats|*.gif;*.jpg;*.bmp;*.dib;*.wmf;*.emf|Gif Images (.gif)|*.gif|"
      "Jpeg Images (.jpg)|*.jpg|Bitmap Images (.bmp)|*.bmp|OS/2 or Windows DIB (*.dib)|*.dib|"
      "Windows Meta File (*.wmf)|*.wmf|Enhanced Windows Meta File (*.emf)|*.emf|"
      "All Files (*.*)|*.*", true },
};
// clang-format on

// What goes in at the selection; false with `why` set when the file cannot go in.
bool insertBytes(InsertKind kind, const QByteArray& bytes, RichTextBox& note, QString& why)
{
    switch (kind) {
    case InsertKind::Text: {
        // A text file holding rich-text markup goes in formatted.
        if (rtf::looksLikeRtf(bytes)) {
            note.setSelRTF(bytes);
            return true;
        }
        const auto text = decodeTextFile(bytes, &why);
        if (!text)
            return false;
        note.setSelText(*text);
        return true;
    }
    case InsertKind::RichText:
        if (!rtf::looksLikeRtf(bytes)) {
            why = tr("It is not a rich-text file.");
            return false;
        }
        // Read straight into the note: a round trip through the scratch editor would read the
        // file twice and write it once more.
        note.setSelRTF(bytes);
        return true;
    case InsertKind::Picture: {
        const auto picture = decodePictureFile(bytes, &why);
        if (!picture)
            return false;
        // Straight into the document, never through the clipboard, which stays as it was.
        const auto format = pictureFormat(*note.document(), *picture);
        if (!format) {
            why = tr("The picture could not be drawn; it may be damaged.");
            return false;
        }
        QTextCursor cursor = note.textCursor();
        cursor.beginEditBlock();
        cursor.insertImage(*format);
        cursor.endEditBlock();
        note.setTextCursor(cursor);
        return true;
    }
    }
    return false;
}

} // namespace

std::optional<QByteArray> readChosenFile(const QString& path, QString* error)
{
    // Opened without waiting, so that a pipe chosen by mistake cannot hold the program up.
    const QByteArray name = QFile::encodeName(path);
    const Fd file { ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY) };
    if (file.fd < 0)
        return failure<QByteArray>(error, systemError(errno));
    struct stat st = {};
    if (::fstat(file.fd, &st) != 0)
        return failure<QByteArray>(error, systemError(errno));
    if (S_ISDIR(st.st_mode))
        return failure<QByteArray>(error, tr("It is a folder."));
    if (!S_ISREG(st.st_mode))
        return failure<QByteArray>(error, tr("It is not a regular file."));
    if (st.st_size > MaxInsertBytes)
        return failure<QByteArray>(error, tr("It is larger than 64 MB."));
    QByteArray bytes(qsizetype(st.st_size), Qt::Uninitialized);
    qsizetype done = 0;
    for (;;) {
        // A file that grows while it is read is read up to the limit and one byte more.
        if (done == bytes.size()) {
            if (done > MaxInsertBytes)
                return failure<QByteArray>(error, tr("It is larger than 64 MB."));
            bytes.resize(std::min<qsizetype>(done + 65536, MaxInsertBytes + 1));
        }
        const ssize_t n = ::read(file.fd, bytes.data() + done, size_t(bytes.size() - done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return failure<QByteArray>(error, systemError(errno));
        }
        if (n == 0)
            break;
        done += n;
    }
    bytes.truncate(done);
    return bytes;
}

std::optional<QString> decodeTextFile(QByteArrayView bytes, QString* error)
{
    const bool little = bytes.startsWith("\xFF\xFE");
    if (little || bytes.startsWith("\xFE\xFF")) {
        // Every unit whole, every surrogate paired, no NUL.
        if (bytes.size() % 2 != 0)
            return failure<QString>(error, tr("It is not valid UTF-16 text."));
        bool high = false;
        for (qsizetype i = 2; i < bytes.size(); i += 2) {
            const char16_t unit = little ? qFromLittleEndian<quint16>(bytes.data() + i)
                                         : qFromBigEndian<quint16>(bytes.data() + i);
            if (unit == 0)
                return failure<QString>(error, tr("It holds binary data, not text."));
            if (high != QChar::isLowSurrogate(unit))
                return failure<QString>(error, tr("It is not valid UTF-16 text."));
            high = QChar::isHighSurrogate(unit);
        }
        if (high)
            return failure<QString>(error, tr("It is not valid UTF-16 text."));
    } else if (bytes.contains('\0')) {
        return failure<QString>(error, tr("It holds binary data, not text."));
    }
    return decodePlainText(bytes);
}

std::optional<Picture> decodePictureFile(const QByteArray& bytes, QString* error)
{
    if (bytes.startsWith("\xFF\xD8\xFF") && !jpegIsComplete(bytes))
        return failure<Picture>(error, tr("The picture is incomplete: the file ends too early."));
    if (auto picture = pictureFromFileData(bytes))
        return picture;
    // Say so when the picture is well-formed but too large to show.
    const QSize size = declaredPixelSize(bytes);
    if (size.isValid()
        && qint64(size.width()) * size.height() * 4 > qint64(PictureAllocationLimitMb) << 20)
        return failure<Picture>(error,
            tr("The picture is too large (%1 x %2 pixels).").arg(size.width()).arg(size.height()));
    return failure<Picture>(
        error, tr("It is not a picture Penwick can read (or it is damaged or too large)."));
}

void insertFile(InsertKind kind, RichTextBox& note, CommonDialogValues& dialog,
    CommonDialog& dialogs, Prompter& prompter, QWidget* owner)
{
    const InsertDialog& settings = insertDialogs[int(kind)];
    dialog.CancelError = true;
    dialog.FileName.clear();
    dialog.DialogTitle = QLatin1String(settings.title);
    dialog.Filter = QLatin1String(settings.filter);
    if (settings.resetFilterIndex)
        dialog.FilterIndex = 1;
    dialog.Flags
        = DialogFlags::FileMustExist | DialogFlags::PathMustExist | DialogFlags::HideReadOnly;
    if (dialogs.ShowOpen(dialog, owner) != DialogResult::Ok || dialog.FileName.isEmpty())
        return;

    const QString path = dialog.FileName;
    QString why;
    bool inserted = false;
    {
        WaitCursor hourglass;
        if (const auto bytes = readChosenFile(path, &why))
            inserted = insertBytes(kind, *bytes, note, why);
    }
    if (!inserted)
        reportInsert(prompter, owner, path, why);
}

void exportNote(ExportKind kind, RichTextBox& note, CommonDialogValues& dialog,
    CommonDialog& dialogs, Prompter& prompter, QWidget* owner)
{
    dialog.CancelError = true;
    dialog.DialogTitle = QStringLiteral("Save Document");
    dialog.FilterIndex = 1;
    dialog.Flags = DialogFlags::CreatePrompt | DialogFlags::PathMustExist
        | DialogFlags::HideReadOnly | DialogFlags::OverwritePrompt;
    dialog.Filter = kind == ExportKind::PlainText
        ? QStringLiteral("Text File (*.txt)|*.txt|All Files (*.*)|*.*")
        : QStringLiteral("Rich Text File (*.rtf)|*.rtf|All Files (*.*)|*.*");
    // The file name is kept from the last file dialog; a dialog that could not be shown must not
    // write over that file unasked.
    const DialogResult shown = dialogs.ShowSave(dialog, owner);
    if (shown == DialogResult::Cancelled)
        return;
    if (shown != DialogResult::Ok) {
        report(prompter, owner, tr("The file dialog could not be shown, so nothing was exported."));
        return;
    }
    const QString path = dialog.FileName;
    if (path.isEmpty())
        return;

    QString why;
    bool saved = false;
    // Exporting over a pipe or a device would replace it with a file.
    const QFileInfo target(path);
    if (target.exists() && !target.isFile() && !target.isDir()) {
        why = tr("It is not a regular file.");
    } else {
        WaitCursor hourglass;
        saved = note.SaveFile(path, int(kind), &why);
    }
    if (!saved)
        report(prompter, owner,
            tr("The note could not be exported to %1.\n\n%2\n\nAny file of that name is unchanged.")
                .arg(displayName(path), why));
}

void printNote(RichTextBox& note, CommonDialogValues& dialog, CommonDialog& dialogs,
    Prompter& prompter, QWidget* owner)
{
    dialog.DialogTitle = QStringLiteral("Print");
    dialog.CancelError = true;
    dialog.Flags = DialogFlags::PrintReturnDC | DialogFlags::PrintNoPageNums;
    if (note.SelLength() != 0)
        dialog.Flags |= DialogFlags::PrintSelection;
    const DialogResult shown = dialogs.ShowPrinter(dialog, owner);
    if (shown == DialogResult::Cancelled)
        return;
    if (shown != DialogResult::Ok || !dialog.hDC) {
        report(prompter, owner, tr("The print dialog could not be shown, so nothing was printed."));
        return;
    }
    QPrinter& printer = *dialog.hDC;
    // What is printed follows from the selection alone, whatever range was picked.
    printer.setPrintRange(QPrinter::AllPages);
    printer.setPageRanges(QPageRanges());
    {
        WaitCursor hourglass;
        note.SelPrint(printer);
    }
    if (printer.printerState() == QPrinter::Error) {
        const QString file = printer.outputFileName();
        report(prompter, owner,
            file.isEmpty()
                ? tr("The printer %1 could not start the job.").arg(printer.printerName())
                : tr("The printer could not write to %1.").arg(displayName(file)));
    }
}

} // namespace penwick::filecommands

namespace penwick {

using namespace filecommands;

void frmNotes::mnuInsertImage_Click()
{
    insertFile(InsertKind::Picture, *rtfNotes, Dialog1, *m_env.dialogs, *m_env.prompter, this);
}
void frmNotes::mnuImportText_Click()
{
    insertFile(InsertKind::Text, *rtfNotes, Dialog1, *m_env.dialogs, *m_env.prompter, this);
}
void frmNotes::mnuImportRtf_Click()
{
    insertFile(InsertKind::RichText, *rtfNotes, Dialog1, *m_env.dialogs, *m_env.prompter, this);
}
void frmNotes::mnuTextFile_Click()
{
    exportNote(ExportKind::PlainText, *rtfNotes, Dialog1, *m_env.dialogs, *m_env.prompter, this);
}
void frmNotes::mnuRichText_Click()
{
    exportNote(ExportKind::RichText, *rtfNotes, Dialog1, *m_env.dialogs, *m_env.prompter, this);
}
void frmNotes::mnuPrint_Click()
{
    printNote(*rtfNotes, Dialog1, *m_env.dialogs, *m_env.prompter, this);
}

} // namespace penwick
