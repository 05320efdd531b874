#include "app/command_line.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <algorithm>

namespace luma::app {
namespace {

// The option as the usage writes it: "-h" for a one-letter name, "--help" for a longer one.
QStringList Spellings(const QCommandLineOption& option)
{
    QStringList spellings;
    for (const QString& name : option.names()) {
        spellings.append((name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name);
    }
    return spellings;
}

}  // namespace

CommandLine ParseCommandLine(const QStringList& arguments)
{
    QCommandLineParser parser;
    // "-version" is one word, as "--version" is, not the letters -v -e -r -s...
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringLiteral("version"));
    parser.addOption(help);
    parser.addOption(version);
    parser.addPositionalArgument(QStringLiteral("FILE"), QString(), QStringLiteral("[FILE]"));
    // The parser wants the program's name first. Its verdict on unknown options is not used: see
    // below.
    parser.parse(QStringList(QStringLiteral("luma")) + arguments);

    // Left to this hand-written part, because QCommandLineParser cannot do it: the parser also
    // takes "--h", "-help", "-version" or "--help=x" for an option it knows, and names an unknown
    // option without its dashes or value, apart from the extra files. luma has always answered
    // only the spellings its usage shows and named the last mistake on the line as it was typed.
    // So the arguments the parser read as options - those before "--" that begin with a dash and
    // are more than one - are looked at once more, as typed.
    const QStringList known = Spellings(help) + Spellings(version);
    const qsizetype optionsEnd = arguments.indexOf(QStringLiteral("--"));
    QStringList typedOptions;
    qsizetype lastUnknown = -1;
    for (qsizetype i = 0; i < (optionsEnd < 0 ? arguments.size() : optionsEnd); ++i) {
        const QString& argument = arguments[i];
        if (argument.startsWith(u'-') && argument.size() > 1) {
            typedOptions.append(argument);
            lastUnknown = known.contains(argument) ? lastUnknown : i;
        }
    }
    const auto typedAsShown = [&](const QCommandLineOption& option) {
        const QStringList spellings = Spellings(option);
        return parser.isSet(option) && std::any_of(typedOptions.begin(), typedOptions.end(),
                                                   [&](const QString& typed) { return spellings.contains(typed); });
    };

    CommandLine line;
    const QStringList files = parser.positionalArguments();
    if (!files.isEmpty()) {
        line.file = files.first();
    }
    // Where the last file stands on the line: no option and no "--" after it can be the same text,
    // since an option before "--" begins with a dash and a file there does not, unless it is "-".
    const qsizetype lastExtraFile = files.size() > 1 ? arguments.lastIndexOf(files.last()) : -1;
    if (lastUnknown > lastExtraFile) {
        line.error = QStringLiteral("unknown option: ") + arguments[lastUnknown];
    } else if (lastExtraFile >= 0) {
        line.error = QStringLiteral("more than one file: ") + files.last();
    }

    if (typedAsShown(help)) {
        line.action = CommandLine::Action::Help;
    } else if (typedAsShown(version)) {
        line.action = CommandLine::Action::Version;
    } else if (!line.error.isEmpty()) {
        line.action = CommandLine::Action::Error;
    }
    return line;
}

QString UsageText()
{
    // Written out rather than QCommandLineParser::helpText(), whose layout ("Usage: luma
    // [options] [FILE]", an "Options:" heading, Qt's own words for -h) is not the one luma shows.
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
