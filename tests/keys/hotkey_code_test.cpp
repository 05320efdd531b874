// Hotkey codes: what they register as, which hotkey a pressed key answers to, the key tables
// that make a code the same on every layout, and the text an editor shows.

#include <gtest/gtest.h>

#include "keys/hotkey_code.h"
#include "keys/virtual_keys.h"

namespace luma {
namespace {

constexpr int kCtrlAltN = 0x064E;
constexpr int kShiftInsertExtended = 0x092D;

TEST(HotkeyCode, RegistersAsWindowsRegistersAHotkeyControlsCode)
{
    EXPECT_EQ(RegistrationOf(kCtrlAltN), (HotkeyRegistration{kModAlt | kModControl, 'N'}));
    EXPECT_EQ(RegistrationOf(kShiftInsertExtended), (HotkeyRegistration{kModShift, vk::kInsert}));
    // The extended bit, the unused high-byte bits and bits 12 to 31 are dropped.
    EXPECT_EQ(RegistrationOf(0x7FFF4E), RegistrationOf(0x074E));
    EXPECT_EQ(RegistrationOf(0x12F84E), RegistrationOf(0x004E));
    EXPECT_EQ(RegistrationOf(0x074E), (HotkeyRegistration{kModAlt | kModControl | kModShift, 'N'}));
    EXPECT_EQ(RegistrationOf(0), HotkeyRegistration{});
    EXPECT_EQ(MakeHotkeyCode(vk::kInsert, true, kHotkeyShift), kShiftInsertExtended);
    EXPECT_EQ(MakeHotkeyCode('N', false, kHotkeyControl | kHotkeyAlt | kHotkeyExtended), kCtrlAltN);
}

TEST(HotkeyCode, APressAnswersToTheLowestIdWithItsCombination)
{
    const HotkeyCodes codes = {0, kCtrlAltN, kShiftInsertExtended, kCtrlAltN};
    EXPECT_EQ(MatchHotkey(codes, kCtrlAltN), kHotkeyUnmark);
    // Insert with or without the extended bit is the same hotkey.
    EXPECT_EQ(MatchHotkey(codes, 0x012D), kHotkeyNext);
    EXPECT_EQ(MatchHotkey(codes, 0x004E), 0);  // N without Ctrl and Alt
    EXPECT_EQ(MatchHotkey(codes, 0x074E), 0);  // with Shift as well
    // A code of 0 is no hotkey, whatever is pressed.
    EXPECT_EQ(MatchHotkey({0, 0, 0, 0}, 0), 0);
    EXPECT_EQ(MatchHotkey({0x0600, 0, 0, 0}, 0x0600), 0);
}

TEST(HotkeyCode, AChordEditorRecordsEverythingButFocusAndClearingKeys)
{
    EXPECT_EQ(ClassifyChordKey('N'), ChordKey::Record);
    EXPECT_EQ(ClassifyChordKey(kCtrlAltN), ChordKey::Record);
    EXPECT_EQ(ClassifyChordKey(vk::kBack), ChordKey::Clear);
    EXPECT_EQ(ClassifyChordKey(vk::kDelete | (kHotkeyExtended << 8)), ChordKey::Clear);
    EXPECT_EQ(ClassifyChordKey(vk::kDelete | (kHotkeyControl << 8)), ChordKey::Record);
    EXPECT_EQ(ClassifyChordKey(vk::kTab), ChordKey::PassOn);
    EXPECT_EQ(ClassifyChordKey(vk::kTab | (kHotkeyShift << 8)), ChordKey::PassOn);
    EXPECT_EQ(ClassifyChordKey(vk::kTab | (kHotkeyControl << 8)), ChordKey::Record);
    EXPECT_EQ(ClassifyChordKey(vk::kEscape), ChordKey::PassOn);
    EXPECT_EQ(ClassifyChordKey(vk::kEscape | (kHotkeyAlt << 8)), ChordKey::Record);
    EXPECT_EQ(ClassifyChordKey(vk::kControl | (kHotkeyControl << 8)), ChordKey::Modifier);
    EXPECT_EQ(ClassifyChordKey(vk::kLWin), ChordKey::Modifier);
    // A modifier counts as held on its own press, whether the platform says so yet or not.
    EXPECT_EQ(HeldModifiers(vk::kControl), 0x0200);
    EXPECT_EQ(HeldModifiers(vk::kMenu | (kHotkeyControl << 8)), 0x0600);
    EXPECT_EQ(HeldModifiers(vk::kShift | 0x0E00), 0x0700);
    EXPECT_EQ(HeldModifiers(vk::kLWin | (kHotkeyAlt << 8)), 0x0400);
}

TEST(HotkeyCode, TextNamesTheModifiersAndTheKey)
{
    EXPECT_EQ(HotkeyText(kCtrlAltN), "Ctrl+Alt+N");
    EXPECT_EQ(HotkeyText(kShiftInsertExtended), "Shift+Insert");
    EXPECT_EQ(HotkeyText(0x0770), "Ctrl+Shift+Alt+F1");
    EXPECT_EQ(HotkeyText(vk::kReturn | (kHotkeyExtended << 8)), "Num Enter");
    EXPECT_EQ(HotkeyText(vk::kOem4), "[");
    EXPECT_EQ(HotkeyText(0x0600), "Ctrl+Alt+");
    EXPECT_EQ(HotkeyText(0), "Нет");
    EXPECT_EQ(HotkeyText(0x07), "0x07");
}

TEST(VirtualKeys, X11KeycodesGiveTheKeysUsPosition)
{
    struct Case {
        unsigned keycode;
        VirtualKey key;
    };
    const Case cases[] = {
        {57, {'N', false}},         {19, {'0', false}},          {96, {vk::kF1 + 11, false}},
        {118, {vk::kInsert, true}}, {104, {vk::kReturn, true}},  {36, {vk::kReturn, false}},
        {105, {vk::kControl, true}}, {87, {vk::kNumpad0 + 1, false}}, {34, {vk::kOem4, false}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(VirtualKeyFromX11Keycode(c.keycode), c.key) << "keycode " << c.keycode;
    }
    EXPECT_EQ(VirtualKeyFromX11Keycode(0), std::nullopt);
    EXPECT_EQ(VirtualKeyFromX11Keycode(255), std::nullopt);
}

TEST(VirtualKeys, UsAndRussianCharactersGiveTheSameKey)
{
    const std::pair<char32_t, unsigned> cases[] = {
        {U'n', 'N'}, {U'т', 'N'}, {U'Т', 'N'}, {U'Я', 'Z'}, {U'х', vk::kOem4}, {U'{', vk::kOem4},
        {U'ё', vk::kOem3}, {U'Ю', vk::kOemPeriod}, {U'!', '1'}, {U'?', vk::kOem2},
    };
    for (const auto& [character, key] : cases) {
        EXPECT_EQ(VirtualKeyFromCharacter(character), (VirtualKey{key, false}))
            << "U+" << std::hex << static_cast<unsigned>(character);
    }
    EXPECT_EQ(VirtualKeyFromCharacter(U'€'), std::nullopt);
    EXPECT_EQ(VirtualKeyFromCharacter(U'ў'), std::nullopt);
}

}  // namespace
}  // namespace luma
