// SPDX-License-Identifier: GPL-2.0-or-later
#include "harness/penwickprocess.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include <unistd.h>

namespace penwick::test {

ProgramFolder::ProgramFolder(const QString& binary)
{
    for (const char* sub : { "/program", "/config", "/data", "/runtime" })
        QDir().mkpath(m_root.path() + QLatin1String(sub));
    QFile::setPermissions(m_root.path() + QStringLiteral("/runtime"),
        QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    // A hard link starts fast and still reports this folder as the program's own.
    if (::link(QFile::encodeName(binary).constData(), QFile::encodeName(program()).constData()) != 0
        && !QFile::copy(binary, program()))
        ADD_FAILURE() << "cannot place the program in " << path().toStdString();
}

QProcess* ProgramFolder::start(QObject* owner, const QString& platform) const
{
    auto* process = new QProcess(owner);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_root.path() + QStringLiteral("/config"));
    env.insert(QStringLiteral("XDG_DATA_HOME"), m_root.path() + QStringLiteral("/data"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_root.path() + QStringLiteral("/runtime"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);
    process->setProcessEnvironment(env);
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process->start(program(), {});
    return process;
}

} // namespace penwick::test
