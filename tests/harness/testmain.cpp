// SPDX-License-Identifier: GPL-2.0-or-later
// One QApplication per test executable, headless, with every per-user folder in a temporary
// place so that no test touches the real home folder.
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    QTemporaryDir home(QDir::tempPath() + QStringLiteral("/penwick-test-XXXXXX"));
    if (!home.isValid())
        return 2;
    const QByteArray root = QFile::encodeName(home.path());
    for (const char* sub : { "/config", "/data", "/cache", "/runtime" })
        QDir().mkpath(home.path() + QLatin1String(sub));
    ::chmod((root + "/runtime").constData(), 0700);
    qputenv("XDG_CONFIG_HOME", root + "/config");
    qputenv("XDG_DATA_HOME", root + "/data");
    qputenv("XDG_CACHE_HOME", root + "/cache");
    qputenv("XDG_RUNTIME_DIR", root + "/runtime");

    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
