// Prints what an INI profile holds: the length of the window placement, or "absent"; with
// --settings, the settings as the program loads them, one per line.
//
//   luma-profile-probe FILE.ini [--settings]

#include <QCoreApplication>
#include <cstdio>
#include <string>

#include "settings/qt/ini_profile.h"
#include "settings/settings.h"

namespace {

void PrintSettings(luma::SettingsProfile& profile)
{
    const luma::Settings settings = luma::LoadSettings(profile);
    std::printf("hotkeys %d %d %d %d %d %d\n", settings.hotMark, settings.hotUnmark, settings.hotNext,
                settings.hotPrev, settings.hotNextMarked, settings.hotPrevMarked);
    std::printf("label %s %s\n", settings.labelField.c_str(), settings.labelText.c_str());
    std::printf("setnext %d\n", settings.advanceAfterMark ? 1 : 0);
    std::string filter;
    for (const std::string& tag : settings.filterFields) {
        filter += " " + tag;
    }
    std::printf("filter %d%s\n", settings.useFilter ? 1 : 0, filter.c_str());
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    const bool settings = argc == 3 && std::string(argv[2]) == "--settings";
    if (argc != 2 && !settings) {
        std::fputs("usage: luma-profile-probe FILE.ini [--settings]\n", stderr);
        return 64;
    }
    luma::IniProfile profile(QString::fromLocal8Bit(argv[1]));
    if (settings) {
        PrintSettings(profile);
        return 0;
    }
    const std::optional<luma::SettingsBytes> pos = profile.GetBytes("MAIN", "POS");
    if (pos) {
        std::printf("POS %zu\n", pos->size());
    } else {
        std::puts("absent");
    }
    return 0;
}
