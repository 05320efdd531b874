#pragma once
// The program's command line: luma [FILE], --help, --version.

#include <QString>
#include <QStringList>
#include <optional>

namespace luma::app {

struct CommandLine {
    enum class Action { Run, Help, Version, Error };
    Action action = Action::Run;
    std::optional<QString> file;  // to open at start
    QString error;                // with Action::Error
};

// `arguments` without the program's name. Help and version win over anything else on the line,
// so that they work whatever else was typed; "--" ends the options.
CommandLine ParseCommandLine(const QStringList& arguments);

QString UsageText();

}  // namespace luma::app
