// SPDX-License-Identifier: GPL-2.0-or-later
// libFuzzer target: the rich-text reader (and the writer on what it read) must survive any input.
#include "platform/rtf/rtf.h"

#include <QGuiApplication>
#include <QTextCursor>
#include <QTextDocument>

#include <cstddef>
#include <cstdint>

namespace {

// Image decoders complain about every broken picture; the fuzzer's output is for findings.
void quiet(QtMsgType, const QMessageLogContext&, const QString&)
{ }

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qInstallMessageHandler(quiet);
    // Pictures draw text through the font system, which needs an application.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Kept until the process ends: destroying it among the exit handlers would outlive Qt's own
    // globals.
    static QGuiApplication* app = nullptr;
    if (!QCoreApplication::instance())
        app = new QGuiApplication(*argc, *argv);
    return app || QCoreApplication::instance() ? 0 : 1;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QTextDocument doc;
    if (!penwick::rtf::readRtf(doc, bytes))
        return 0;
    // What was read must write and read again.
    const QByteArray written = penwick::rtf::writeRtf(doc);
    QTextDocument again;
    if (!penwick::rtf::readRtf(again, written))
        __builtin_trap();
    // And insert into the middle of other text.
    QTextDocument host;
    host.setPlainText(QStringLiteral("before\nafter"));
    QTextCursor cursor(&host);
    cursor.setPosition(8);
    penwick::rtf::insertRtf(cursor, bytes);
    return 0;
}
