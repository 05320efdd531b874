// luma's command line: what each line asks for, which file it opens and the mistake it names.
// Help and version win over anything else, "--" ends the options, only the spellings the usage
// shows are options, and of several mistakes the last one typed is named.

#include <QTest>

#include "app/command_line.h"

using luma::app::CommandLine;
using luma::app::ParseCommandLine;

Q_DECLARE_METATYPE(CommandLine::Action)

namespace {

QString S(const char* utf8) { return QString::fromUtf8(utf8); }

// In the file column: the line opens no file.
const char kNoFile[] = "(no file)";

}  // namespace

class CommandLineTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void eachLineGivesItsActionFileAndMistake_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<CommandLine::Action>("action");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("error");
        using A = CommandLine::Action;
        const QString none = S(kNoFile);

        QTest::newRow("nothing") << QStringList{} << A::Run << none << QString();
        QTest::newRow("a file") << QStringList{S("Мои документы/Отобрано.iso")} << A::Run
                      << S("Мои документы/Отобрано.iso") << QString();
        QTest::newRow("a lone dash is a file") << QStringList{S("-")} << A::Run << S("-") << QString();
        QTest::newRow("an empty argument is a file") << QStringList{S("")} << A::Run << S("") << QString();
        QTest::newRow("after --, a dash is a file") << QStringList{S("--"), S("-x.iso")} << A::Run << S("-x.iso") << QString();
        QTest::newRow("after --, -- is a file") << QStringList{S("--"), S("--")} << A::Run << S("--") << QString();
        QTest::newRow("after --, --help is a file") << QStringList{S("--"), S("--help")} << A::Run << S("--help") << QString();

        QTest::newRow("--help after a file") << QStringList{S("a.iso"), S("--help")} << A::Help << S("a.iso") << QString();
        QTest::newRow("-h over an unknown option")
            << QStringList{S("--bogus"), S("-h")} << A::Help << none << S("unknown option: --bogus");
        QTest::newRow("help over version") << QStringList{S("--version"), S("--help")} << A::Help << none << QString();
        QTest::newRow("version over two files") << QStringList{S("--version"), S("a"), S("b")} << A::Version << S("a")
                                      << S("more than one file: b");

        QTest::newRow("-help") << QStringList{S("-help")} << A::Error << none << S("unknown option: -help");
        QTest::newRow("-version") << QStringList{S("-version")} << A::Error << none << S("unknown option: -version");
        QTest::newRow("--h") << QStringList{S("--h")} << A::Error << none << S("unknown option: --h");
        QTest::newRow("--help with a value") << QStringList{S("--help=yes")} << A::Error << none
                                   << S("unknown option: --help=yes");
        QTest::newRow("-h with a value") << QStringList{S("-h=1")} << A::Error << none << S("unknown option: -h=1");
        QTest::newRow("-h run together") << QStringList{S("-hv")} << A::Error << none << S("unknown option: -hv");
        QTest::newRow("--VERSION") << QStringList{S("--VERSION")} << A::Error << none << S("unknown option: --VERSION");

        QTest::newRow("two files") << QStringList{S("a"), S("b")} << A::Error << S("a") << S("more than one file: b");
        QTest::newRow("three files") << QStringList{S("a"), S("b"), S("c")} << A::Error << S("a")
                           << S("more than one file: c");
        QTest::newRow("a file on each side of --") << QStringList{S("a"), S("--"), S("-h")} << A::Error << S("a")
                                          << S("more than one file: -h");
        QTest::newRow("an extra file after an unknown option")
            << QStringList{S("--x"), S("a"), S("b")} << A::Error << S("a") << S("more than one file: b");
        QTest::newRow("an unknown option after an extra file")
            << QStringList{S("a"), S("b"), S("--x=1")} << A::Error << S("a") << S("unknown option: --x=1");
        QTest::newRow("two unknown options") << QStringList{S("--x"), S("-y")} << A::Error << none << S("unknown option: -y");
    }

    void eachLineGivesItsActionFileAndMistake()
    {
        QFETCH(QStringList, arguments);
        QFETCH(CommandLine::Action, action);
        QFETCH(QString, file);
        QFETCH(QString, error);
        const CommandLine line = ParseCommandLine(arguments);
        QCOMPARE(line.action, action);
        QCOMPARE(line.file.value_or(S(kNoFile)), file);
        QCOMPARE(line.error, error);
    }
};

QTEST_APPLESS_MAIN(CommandLineTest)
#include "command_line_test.moc"
