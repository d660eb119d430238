// SPDX-License-Identifier: GPL-2.0-or-later
// The start-up every libFuzzer target here shares: a quiet application on the offscreen platform.
#include <QGuiApplication>

namespace {

// Image decoders complain about every broken picture; the fuzzer's output is for findings.
void quiet(QtMsgType, const QMessageLogContext&, const QString&)
{ }

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qInstallMessageHandler(quiet);
    // Pictures and metafiles draw text through the font system, which needs an application.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Kept until the process ends: destroying it among the exit handlers would outlive Qt's own
    // globals.
    static QGuiApplication* app = nullptr;
    if (!QCoreApplication::instance())
        app = new QGuiApplication(*argc, *argv);
    return app || QCoreApplication::instance() ? 0 : 1;
}
