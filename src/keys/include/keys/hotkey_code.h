#pragma once
// Hotkey codes as the settings keep them and Windows' hotkey control reports them: the low byte
// is a Windows virtual-key code, the high byte the modifier bits; 0 means no hotkey. The four
// hotkeys are matched the way Windows registers them: by virtual key and Shift, Ctrl and Alt,
// the extended-key bit dropped.

#include <array>
#include <string>

namespace luma {

// Modifier bits of the code's high byte.
inline constexpr int kHotkeyShift = 0x01;
inline constexpr int kHotkeyControl = 0x02;
inline constexpr int kHotkeyAlt = 0x04;
inline constexpr int kHotkeyExtended = 0x08;

// Modifier flags of a registration.
inline constexpr unsigned kModAlt = 0x0001;
inline constexpr unsigned kModControl = 0x0002;
inline constexpr unsigned kModShift = 0x0004;

// Hotkey ids; the codes are held in this order, id 1 first.
inline constexpr int kHotkeyMark = 1;
inline constexpr int kHotkeyUnmark = 2;
inline constexpr int kHotkeyNext = 3;
inline constexpr int kHotkeyPrev = 4;
inline constexpr int kHotkeyNextMarked = 5;
inline constexpr int kHotkeyPrevMarked = 6;
using HotkeyCodes = std::array<int, 6>;

struct HotkeyRegistration {
    unsigned modifiers = 0;  // kMod… flags
    unsigned virtualKey = 0;
    friend bool operator==(const HotkeyRegistration&, const HotkeyRegistration&) = default;
};

// What a code registers as: bits 0–7 the key, Shift, Ctrl and Alt translated, everything else
// (the extended bit, bits 12–31) dropped.
HotkeyRegistration RegistrationOf(int code);

int MakeHotkeyCode(unsigned virtualKey, bool extended, int modifierBits);

// The id whose code answers to the pressed combination, the lowest when several codes do;
// 0 when none does. A code of 0 (no key) never answers.
int MatchHotkey(const HotkeyCodes& codes, int pressed);

// What a key-chord editor does with a key pressed in it.
enum class ChordKey {
    Record,    // becomes the code
    Clear,     // Backspace or Delete alone: code 0
    Modifier,  // Shift, Ctrl, Alt or Windows alone: nothing recorded yet
    PassOn,    // Tab, Enter and Esc alone keep their usual meaning
};
ChordKey ClassifyChordKey(int code);
// For a modifier key pressed in the editor: the modifiers held, the key's own among them (not
// every platform counts it yet on its press), as a code without a key.
int HeldModifiers(int code);

// "Ctrl+Alt+N", "Shift+Insert", "F5"; a code without a key gives its modifiers followed by "+"
// ("Ctrl+Alt+"), and 0 gives "Нет".
std::string HotkeyText(int code);

}  // namespace luma
