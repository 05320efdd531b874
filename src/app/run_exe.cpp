#include "run_exe.h"

#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

namespace luma::app {

std::optional<int> BRunExe(const QString& path)
{
    const QString program = QFileInfo(path).absoluteFilePath();
#ifndef Q_OS_WIN
    if (!QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner)) {
        return std::nullopt;
    }
#endif
    QProcess process;
    process.setProgram(program);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.start();
    if (!process.waitForStarted(-1)) {
        return std::nullopt;
    }
    if (process.state() != QProcess::NotRunning) {
        QEventLoop loop;
        QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
        loop.exec();
    }
    if (process.exitStatus() != QProcess::NormalExit) {
        return std::nullopt;
    }
    return process.exitCode();
}

}  // namespace luma::app
