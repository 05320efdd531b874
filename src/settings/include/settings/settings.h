#pragma once
// Every setting LUMA keeps between runs, with its defaults, and how it is read from and written
// to a profile. The main dialog owns one Settings, loads it once at start, hands its values to
// the marking session, and stores it after the settings dialog closes with OK.
//
// Profile layout (section / entry, kind):
//   HOTDLG   HOTSET HOTRESET HOTNEXT HOTPREV HOTNEXTMARK HOTPREVMARK (int), FIELDNAME FIELDTEXT
//            (string), SETNEXT (int)
//   SKFPDLG  COUNT (int), FP000 FP001 ... (string), USEFILTER (int)
//   SFILEDLG SOURCEDIR RESULTDIR (string), FONT (bytes, LOGFONTA)
//   MAIN     POS (bytes, WINDOWPLACEMENT), read and written on its own

#include <optional>
#include <string>
#include <vector>

#include "settings/log_font.h"
#include "settings/settings_profile.h"
#include "settings/window_placement.h"

namespace luma {

// Ctrl+Down and Ctrl+Up: the arrow keys are extended keys.
inline constexpr int kDefaultHotNextMarked = 0x0A28;
inline constexpr int kDefaultHotPrevMarked = 0x0A26;

struct Settings {
    // Hotkey codes: low byte the virtual-key code, high byte the modifier bits; 0 means none.
    int hotMark = 0;
    int hotUnmark = 0;
    int hotNext = 0;
    int hotPrev = 0;
    // To the next and the previous marked record; Ctrl+Down and Ctrl+Up unless set otherwise.
    int hotNextMarked = kDefaultHotNextMarked;
    int hotPrevMarked = kDefaultHotPrevMarked;
    std::string labelField;
    std::string labelText;
    bool advanceAfterMark = true;
    std::vector<std::string> filterFields;
    bool useFilter = false;
    std::string sourceDir;
    std::string resultDir;
    // Nothing: the record view keeps its own font, and nothing is stored.
    std::optional<LogFont> viewFont;
    friend bool operator==(const Settings&, const Settings&) = default;
};

// Every setting but the window placement; absent entries give the defaults above, and a stored
// font of another length than 60 bytes is ignored.
Settings LoadSettings(SettingsProfile& profile);

// Writes every setting but the window placement. First gives each non-empty folder a trailing
// separator, in `settings` itself, as the marking session joins file names to them. Filter
// entries of an earlier, longer list stay in the profile unread. The first write failure, if any.
std::optional<std::string> StoreSettings(Settings& settings, SettingsProfile& profile);

// The main window's placement: nothing when absent or not 44 bytes long.
std::optional<WindowPlacement> LoadWindowPlacement(SettingsProfile& profile);
std::optional<std::string> StoreWindowPlacement(const WindowPlacement& placement,
                                                SettingsProfile& profile);

}  // namespace luma
