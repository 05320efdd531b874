#include "settings/settings.h"

#include <algorithm>

#include "platform/file_ops.h"

namespace luma {
namespace {

constexpr std::string_view kHotkeySection = "HOTDLG";
constexpr std::string_view kFilterSection = "SKFPDLG";
constexpr std::string_view kFolderSection = "SFILEDLG";
constexpr std::string_view kMainSection = "MAIN";

// The filter list is edited by hand, one tag at a time. A damaged count must not make start-up
// read and keep billions of empty entries.
constexpr int kMaxFilterEntries = 10000;

// "FP%03d": FP000 ... FP999, FP1000, ...
std::string FilterEntryName(int index)
{
    std::string digits = std::to_string(index);
    if (digits.size() < 3) {
        digits.insert(0, 3 - digits.size(), '0');
    }
    return "FP" + digits;
}

int IntOr(SettingsProfile& profile, std::string_view section, std::string_view entry,
          int fallback)
{
    return profile.GetInt(section, entry).value_or(fallback);
}

std::string StringOr(SettingsProfile& profile, std::string_view section, std::string_view entry)
{
    return profile.GetString(section, entry).value_or(std::string());
}

void LoadHotkeyPage(SettingsProfile& profile, Settings& settings)
{
    settings.hotMark = IntOr(profile, kHotkeySection, "HOTSET", 0);
    settings.hotUnmark = IntOr(profile, kHotkeySection, "HOTRESET", 0);
    settings.hotNext = IntOr(profile, kHotkeySection, "HOTNEXT", 0);
    settings.hotPrev = IntOr(profile, kHotkeySection, "HOTPREV", 0);
    settings.hotNextMarked = IntOr(profile, kHotkeySection, "HOTNEXTMARK", kDefaultHotNextMarked);
    settings.hotPrevMarked = IntOr(profile, kHotkeySection, "HOTPREVMARK", kDefaultHotPrevMarked);
    settings.labelField = StringOr(profile, kHotkeySection, "FIELDNAME");
    settings.labelText = StringOr(profile, kHotkeySection, "FIELDTEXT");
    settings.advanceAfterMark = IntOr(profile, kHotkeySection, "SETNEXT", 1) != 0;
}

// A missing entry inside the count reads as an empty tag, so the list keeps its positions.
void LoadFilterPage(SettingsProfile& profile, Settings& settings)
{
    const int count = std::min(IntOr(profile, kFilterSection, "COUNT", 0), kMaxFilterEntries);
    settings.filterFields.clear();
    for (int i = 0; i < count; ++i) {
        settings.filterFields.push_back(StringOr(profile, kFilterSection, FilterEntryName(i)));
    }
    settings.useFilter = IntOr(profile, kFilterSection, "USEFILTER", 0) != 0;
}

void LoadFolderPage(SettingsProfile& profile, Settings& settings)
{
    settings.sourceDir = StringOr(profile, kFolderSection, "SOURCEDIR");
    settings.resultDir = StringOr(profile, kFolderSection, "RESULTDIR");
    settings.viewFont.reset();
    if (const auto bytes = profile.GetBytes(kFolderSection, "FONT")) {
        settings.viewFont = LogFontFromBytes(*bytes);
    }
}

void StoreHotkeyPage(const Settings& settings, SettingsProfile& profile)
{
    profile.PutInt(kHotkeySection, "HOTSET", settings.hotMark);
    profile.PutInt(kHotkeySection, "HOTRESET", settings.hotUnmark);
    profile.PutInt(kHotkeySection, "HOTNEXT", settings.hotNext);
    profile.PutInt(kHotkeySection, "HOTPREV", settings.hotPrev);
    profile.PutInt(kHotkeySection, "HOTNEXTMARK", settings.hotNextMarked);
    profile.PutInt(kHotkeySection, "HOTPREVMARK", settings.hotPrevMarked);
    profile.PutString(kHotkeySection, "FIELDNAME", settings.labelField);
    profile.PutString(kHotkeySection, "FIELDTEXT", settings.labelText);
    profile.PutInt(kHotkeySection, "SETNEXT", settings.advanceAfterMark ? 1 : 0);
}

// Entries past the new count are left alone: they are never read again.
void StoreFilterPage(const Settings& settings, SettingsProfile& profile)
{
    const int count = static_cast<int>(settings.filterFields.size());
    profile.PutInt(kFilterSection, "COUNT", count);
    for (int i = 0; i < count; ++i) {
        profile.PutString(kFilterSection, FilterEntryName(i),
                          settings.filterFields[static_cast<std::size_t>(i)]);
    }
    profile.PutInt(kFilterSection, "USEFILTER", settings.useFilter ? 1 : 0);
}

void StoreFolderPage(Settings& settings, SettingsProfile& profile)
{
    AppendFolderSeparator(settings.sourceDir);
    AppendFolderSeparator(settings.resultDir);
    profile.PutString(kFolderSection, "SOURCEDIR", settings.sourceDir);
    profile.PutString(kFolderSection, "RESULTDIR", settings.resultDir);
    if (settings.viewFont) {
        profile.PutBytes(kFolderSection, "FONT", LogFontToBytes(*settings.viewFont));
    }
}

}  // namespace

Settings LoadSettings(SettingsProfile& profile)
{
    Settings settings;
    LoadHotkeyPage(profile, settings);
    LoadFilterPage(profile, settings);
    LoadFolderPage(profile, settings);
    return settings;
}

std::optional<std::string> StoreSettings(Settings& settings, SettingsProfile& profile)
{
    StoreHotkeyPage(settings, profile);
    StoreFilterPage(settings, profile);
    StoreFolderPage(settings, profile);
    return profile.Flush();
}

std::optional<WindowPlacement> LoadWindowPlacement(SettingsProfile& profile)
{
    const auto bytes = profile.GetBytes(kMainSection, "POS");
    return bytes ? WindowPlacementFromBytes(*bytes) : std::nullopt;
}

std::optional<std::string> StoreWindowPlacement(const WindowPlacement& placement,
                                                SettingsProfile& profile)
{
    profile.PutBytes(kMainSection, "POS", WindowPlacementToBytes(placement));
    return profile.Flush();
}

}  // namespace luma
