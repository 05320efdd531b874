#include "app/run_exe.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include "platform/process.h"

namespace luma::app {

std::optional<int> BRunExe(const QString& path)
{
    const QString program = QFileInfo(path).absoluteFilePath();
#ifndef Q_OS_WIN
    if (!QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner)) {
        return std::nullopt;
    }
#endif
    return RunProgram(program.toStdString(), [] { QCoreApplication::processEvents(); });
}

}  // namespace luma::app
