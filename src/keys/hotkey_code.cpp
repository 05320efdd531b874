#include "keys/hotkey_code.h"

#include <cstdio>

#include "texts/translatable.h"
#include "keys/virtual_keys.h"

namespace luma {
namespace {

unsigned KeyOf(int code)
{
    return static_cast<unsigned>(code) & 0xFFu;
}

int ModifierBitsOf(int code)
{
    return static_cast<int>((static_cast<unsigned>(code) >> 8) & 0xFFu);
}

bool IsModifierKey(unsigned key)
{
    return key == vk::kShift || key == vk::kControl || key == vk::kMenu || key == vk::kLWin ||
           key == vk::kRWin || (key >= vk::kLShift && key <= vk::kRMenu);
}

struct KeyName {
    unsigned key;
    const char* name;
};

constexpr KeyName kKeyNames[] = {
    {vk::kBack, "Backspace"}, {vk::kTab, "Tab"}, {vk::kReturn, "Enter"}, {vk::kPause, "Pause"},
    {vk::kCapital, "Caps Lock"}, {vk::kEscape, "Esc"}, {vk::kSpace, "Space"},
    {vk::kPrior, "Page Up"}, {vk::kNext, "Page Down"}, {vk::kEnd, "End"}, {vk::kHome, "Home"},
    {vk::kLeft, "Left"}, {vk::kUp, "Up"}, {vk::kRight, "Right"}, {vk::kDown, "Down"},
    {vk::kSnapshot, "Print Screen"}, {vk::kInsert, "Insert"}, {vk::kDelete, "Delete"},
    {vk::kApps, "Menu"}, {vk::kMultiply, "Num *"}, {vk::kAdd, "Num +"},
    {vk::kSubtract, "Num -"}, {vk::kDecimal, "Num ."}, {vk::kDivide, "Num /"},
    {vk::kNumLock, "Num Lock"}, {vk::kScroll, "Scroll Lock"},
    {vk::kOem1, ";"}, {vk::kOemPlus, "="}, {vk::kOemComma, ","}, {vk::kOemMinus, "-"},
    {vk::kOemPeriod, "."}, {vk::kOem2, "/"}, {vk::kOem3, "`"}, {vk::kOem4, "["},
    {vk::kOem5, "\\"}, {vk::kOem6, "]"}, {vk::kOem7, "'"}, {vk::kOem102, "\\"},
};

std::string KeyNameOf(unsigned key, bool extended)
{
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) {
        return std::string(1, static_cast<char>(key));
    }
    if (key >= vk::kNumpad0 && key <= vk::kNumpad0 + 9) {
        return "Num " + std::to_string(key - vk::kNumpad0);
    }
    if (key >= vk::kF1 && key <= vk::kF24) {
        return "F" + std::to_string(key - vk::kF1 + 1);
    }
    if (key == vk::kReturn && extended) {
        return "Num Enter";
    }
    for (const KeyName& name : kKeyNames) {
        if (name.key == key) {
            return name.name;
        }
    }
    char unknown[8];
    std::snprintf(unknown, sizeof unknown, "0x%02X", key);
    return unknown;
}

}  // namespace

HotkeyRegistration RegistrationOf(int code)
{
    const int bits = ModifierBitsOf(code);
    HotkeyRegistration registration;
    if (bits & kHotkeyAlt) {
        registration.modifiers |= kModAlt;
    }
    if (bits & kHotkeyShift) {
        registration.modifiers |= kModShift;
    }
    if (bits & kHotkeyControl) {
        registration.modifiers |= kModControl;
    }
    registration.virtualKey = KeyOf(code);
    return registration;
}

int MakeHotkeyCode(unsigned virtualKey, bool extended, int modifierBits)
{
    const int bits = (modifierBits & (kHotkeyShift | kHotkeyControl | kHotkeyAlt)) |
                     (extended ? kHotkeyExtended : 0);
    return static_cast<int>(virtualKey & 0xFFu) | (bits << 8);
}

int MatchHotkey(const HotkeyCodes& codes, int pressed)
{
    const HotkeyRegistration wanted = RegistrationOf(pressed);
    if (wanted.virtualKey == 0) {
        return 0;
    }
    for (std::size_t i = 0; i < codes.size(); ++i) {
        if (RegistrationOf(codes[i]) == wanted) {
            return static_cast<int>(i) + 1;
        }
    }
    return 0;
}

ChordKey ClassifyChordKey(int code)
{
    const unsigned key = KeyOf(code);
    const int bits = ModifierBitsOf(code) & (kHotkeyShift | kHotkeyControl | kHotkeyAlt);
    if (IsModifierKey(key)) {
        return ChordKey::Modifier;
    }
    // Shift+Tab moves the focus back, as Tab moves it on.
    if (key == vk::kTab && (bits & ~kHotkeyShift) == 0) {
        return ChordKey::PassOn;
    }
    if (bits != 0) {
        return ChordKey::Record;
    }
    if (key == vk::kBack || key == vk::kDelete) {
        return ChordKey::Clear;
    }
    if (key == vk::kReturn || key == vk::kEscape) {
        return ChordKey::PassOn;
    }
    return ChordKey::Record;
}

int HeldModifiers(int code)
{
    const unsigned key = KeyOf(code);
    int bits = ModifierBitsOf(code) & (kHotkeyShift | kHotkeyControl | kHotkeyAlt);
    if (key == vk::kShift || key == vk::kLShift || key == vk::kLShift + 1) {
        bits |= kHotkeyShift;
    } else if (key == vk::kControl || key == vk::kLShift + 2 || key == vk::kLShift + 3) {
        bits |= kHotkeyControl;
    } else if (key == vk::kMenu || key == vk::kLShift + 4 || key == vk::kRMenu) {
        bits |= kHotkeyAlt;
    }
    return bits << 8;
}

std::string HotkeyText(int code)
{
    const unsigned key = KeyOf(code);
    const int bits = ModifierBitsOf(code);
    if (key == 0 && (bits & (kHotkeyShift | kHotkeyControl | kHotkeyAlt)) == 0) {
        return LUMA_TRANSLATE_NOOP("luma", "Нет");
    }
    std::string text;
    if (bits & kHotkeyControl) {
        text += "Ctrl+";
    }
    if (bits & kHotkeyShift) {
        text += "Shift+";
    }
    if (bits & kHotkeyAlt) {
        text += "Alt+";
    }
    if (key != 0) {
        text += KeyNameOf(key, (bits & kHotkeyExtended) != 0);
    }
    return text;
}

}  // namespace luma
