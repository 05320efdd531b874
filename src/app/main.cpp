// luma: the desktop program. Usage: luma [FILE]

#include <QApplication>
#include <QStringList>
#include <cstdio>

#include "app/command_line.h"
#include "app/luma_app.h"
#include "app/qt_update_prompter.h"
// The update key this build was made with (CMake: LUMA_UPDATE_KEY).
#include "update_key.h"

namespace {

constexpr int kUsageError = 64;

QStringList RawArguments(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i) {
        arguments.append(QString::fromLocal8Bit(argv[i]));
    }
    return arguments;
}

// Help and version need no display, so they are answered before Qt looks for one.
int AnswerWithoutWindow(const luma::app::CommandLine& line)
{
    if (line.action == luma::app::CommandLine::Action::Help) {
        std::fputs(qPrintable(luma::app::UsageText()), stdout);
    } else {
        std::puts("luma " LUMA_VERSION);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    using Action = luma::app::CommandLine::Action;
    const luma::app::CommandLine raw = luma::app::ParseCommandLine(RawArguments(argc, argv));
    if (raw.action == Action::Help || raw.action == Action::Version) {
        return AnswerWithoutWindow(raw);
    }

    QApplication application(argc, argv);
    QApplication::setApplicationVersion(QStringLiteral(LUMA_VERSION));
    // Wayland matches the running window to its desktop entry and icon by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.luma.Luma"));
    // Qt has taken its own options (-platform and the like) off the line by now.
    const luma::app::CommandLine line = luma::app::ParseCommandLine(QApplication::arguments().mid(1));
    if (line.action == Action::Error) {
        std::fprintf(stderr, "luma: %s\n%s", qPrintable(line.error), qPrintable(luma::app::UsageText()));
        return kUsageError;
    }
    luma::app::QtUpdatePrompter updatePrompter;
    return luma::app::LumaApp(line.file, updatePrompter, kUpdateKeyPem).Start();
}
