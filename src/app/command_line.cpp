#include "app/command_line.h"

namespace luma::app {

CommandLine ParseCommandLine(const QStringList& arguments)
{
    CommandLine line;
    bool help = false;
    bool version = false;
    bool optionsEnded = false;
    for (const QString& argument : arguments) {
        if (!optionsEnded && argument == QLatin1String("--")) {
            optionsEnded = true;
        } else if (!optionsEnded && (argument == QLatin1String("--help") || argument == QLatin1String("-h"))) {
            help = true;
        } else if (!optionsEnded && argument == QLatin1String("--version")) {
            version = true;
        } else if (!optionsEnded && argument.startsWith(u'-') && argument.size() > 1) {
            line.error = QStringLiteral("unknown option: ") + argument;
        } else if (line.file) {
            line.error = QStringLiteral("more than one file: ") + argument;
        } else {
            line.file = argument;
        }
    }
    if (help) {
        line.action = CommandLine::Action::Help;
    } else if (version) {
        line.action = CommandLine::Action::Version;
    } else if (!line.error.isEmpty()) {
        line.action = CommandLine::Action::Error;
    }
    return line;
}

QString UsageText()
{
    return QStringLiteral(
        "Marks records in ISO 2709 bibliographic record files (MARC 21, UNIMARC, RUSMARC).\n"
        "Usage: luma [FILE]\n"
        "\n"
        "  FILE         open FILE at start, as if it had been chosen with Открыть (Open)\n"
        "  -h, --help   print this help and exit\n"
        "  --version    print the version and exit\n"
        "\n"
        "Exit codes: 0 the window was closed; 64 wrong command line.\n");
}

}  // namespace luma::app
