#include "keys/virtual_keys.h"

#include <string_view>

namespace luma {
namespace {

struct KeycodeEntry {
    unsigned evdev;
    unsigned virtualKey;
    bool extended;
};

// Linux input event codes of the PC keyboard and the virtual keys Windows gives the same keys.
constexpr KeycodeEntry kKeycodes[] = {
    {1, vk::kEscape, false},
    {2, '1', false}, {3, '2', false}, {4, '3', false}, {5, '4', false}, {6, '5', false},
    {7, '6', false}, {8, '7', false}, {9, '8', false}, {10, '9', false}, {11, '0', false},
    {12, vk::kOemMinus, false}, {13, vk::kOemPlus, false}, {14, vk::kBack, false}, {15, vk::kTab, false},
    {16, 'Q', false}, {17, 'W', false}, {18, 'E', false}, {19, 'R', false}, {20, 'T', false},
    {21, 'Y', false}, {22, 'U', false}, {23, 'I', false}, {24, 'O', false}, {25, 'P', false},
    {26, vk::kOem4, false}, {27, vk::kOem6, false}, {28, vk::kReturn, false}, {29, vk::kControl, false},
    {30, 'A', false}, {31, 'S', false}, {32, 'D', false}, {33, 'F', false}, {34, 'G', false},
    {35, 'H', false}, {36, 'J', false}, {37, 'K', false}, {38, 'L', false},
    {39, vk::kOem1, false}, {40, vk::kOem7, false}, {41, vk::kOem3, false}, {42, vk::kShift, false},
    {43, vk::kOem5, false},
    {44, 'Z', false}, {45, 'X', false}, {46, 'C', false}, {47, 'V', false}, {48, 'B', false},
    {49, 'N', false}, {50, 'M', false},
    {51, vk::kOemComma, false}, {52, vk::kOemPeriod, false}, {53, vk::kOem2, false},
    {54, vk::kShift, false}, {55, vk::kMultiply, false}, {56, vk::kMenu, false}, {57, vk::kSpace, false},
    {58, vk::kCapital, false},
    {59, vk::kF1, false}, {60, vk::kF1 + 1, false}, {61, vk::kF1 + 2, false}, {62, vk::kF1 + 3, false},
    {63, vk::kF1 + 4, false}, {64, vk::kF1 + 5, false}, {65, vk::kF1 + 6, false}, {66, vk::kF1 + 7, false},
    {67, vk::kF1 + 8, false}, {68, vk::kF1 + 9, false},
    {69, vk::kNumLock, true}, {70, vk::kScroll, false},
    {71, vk::kNumpad0 + 7, false}, {72, vk::kNumpad0 + 8, false}, {73, vk::kNumpad0 + 9, false},
    {74, vk::kSubtract, false},
    {75, vk::kNumpad0 + 4, false}, {76, vk::kNumpad0 + 5, false}, {77, vk::kNumpad0 + 6, false},
    {78, vk::kAdd, false},
    {79, vk::kNumpad0 + 1, false}, {80, vk::kNumpad0 + 2, false}, {81, vk::kNumpad0 + 3, false},
    {82, vk::kNumpad0, false}, {83, vk::kDecimal, false},
    {86, vk::kOem102, false}, {87, vk::kF1 + 10, false}, {88, vk::kF1 + 11, false},
    {96, vk::kReturn, true}, {97, vk::kControl, true}, {98, vk::kDivide, true},
    {99, vk::kSnapshot, true}, {100, vk::kMenu, true},
    {102, vk::kHome, true}, {103, vk::kUp, true}, {104, vk::kPrior, true}, {105, vk::kLeft, true},
    {106, vk::kRight, true}, {107, vk::kEnd, true}, {108, vk::kDown, true}, {109, vk::kNext, true},
    {110, vk::kInsert, true}, {111, vk::kDelete, true},
    {119, vk::kPause, false},
    {125, vk::kLWin, true}, {126, vk::kRWin, true}, {127, vk::kApps, true},
    {183, vk::kF1 + 12, false}, {184, vk::kF1 + 13, false}, {185, vk::kF1 + 14, false},
    {186, vk::kF1 + 15, false}, {187, vk::kF1 + 16, false}, {188, vk::kF1 + 17, false},
    {189, vk::kF1 + 18, false}, {190, vk::kF1 + 19, false}, {191, vk::kF1 + 20, false},
    {192, vk::kF1 + 21, false}, {193, vk::kF1 + 22, false}, {194, vk::kF1 + 23, false},
};

// X keycodes are the evdev codes shifted by 8.
constexpr unsigned kX11KeycodeOffset = 8;

// The US layout's punctuation, unshifted and shifted, by key.
struct PunctuationKey {
    char32_t plain;
    char32_t shifted;
    unsigned virtualKey;
};

constexpr PunctuationKey kPunctuation[] = {
    {U'1', U'!', '1'}, {U'2', U'@', '2'}, {U'3', U'#', '3'}, {U'4', U'$', '4'}, {U'5', U'%', '5'},
    {U'6', U'^', '6'}, {U'7', U'&', '7'}, {U'8', U'*', '8'}, {U'9', U'(', '9'}, {U'0', U')', '0'},
    {U'-', U'_', vk::kOemMinus}, {U'=', U'+', vk::kOemPlus}, {U'[', U'{', vk::kOem4},
    {U']', U'}', vk::kOem6}, {U';', U':', vk::kOem1}, {U'\'', U'"', vk::kOem7},
    {U'`', U'~', vk::kOem3}, {U'\\', U'|', vk::kOem5}, {U',', U'<', vk::kOemComma},
    {U'.', U'>', vk::kOemPeriod}, {U'/', U'?', vk::kOem2}, {U' ', U' ', vk::kSpace},
};

// The Russian layout's letters, upper case, by key of the US layout.
struct RussianLetter {
    char32_t letter;
    unsigned virtualKey;
};

constexpr RussianLetter kRussianLetters[] = {
    {U'Й', 'Q'}, {U'Ц', 'W'}, {U'У', 'E'}, {U'К', 'R'}, {U'Е', 'T'}, {U'Н', 'Y'}, {U'Г', 'U'},
    {U'Ш', 'I'}, {U'Щ', 'O'}, {U'З', 'P'}, {U'Х', vk::kOem4}, {U'Ъ', vk::kOem6},
    {U'Ф', 'A'}, {U'Ы', 'S'}, {U'В', 'D'}, {U'А', 'F'}, {U'П', 'G'}, {U'Р', 'H'}, {U'О', 'J'},
    {U'Л', 'K'}, {U'Д', 'L'}, {U'Ж', vk::kOem1}, {U'Э', vk::kOem7},
    {U'Я', 'Z'}, {U'Ч', 'X'}, {U'С', 'C'}, {U'М', 'V'}, {U'И', 'B'}, {U'Т', 'N'}, {U'Ь', 'M'},
    {U'Б', vk::kOemComma}, {U'Ю', vk::kOemPeriod}, {U'Ё', vk::kOem3},
};

char32_t UpperCase(char32_t c)
{
    if (c >= U'a' && c <= U'z') {
        return c - (U'a' - U'A');
    }
    if (c >= U'а' && c <= U'я') {
        return c - (U'а' - U'А');
    }
    if (c == U'ё') {
        return U'Ё';
    }
    return c;
}

}  // namespace

std::optional<VirtualKey> VirtualKeyFromX11Keycode(unsigned keycode)
{
    if (keycode < kX11KeycodeOffset) {
        return std::nullopt;
    }
    const unsigned evdev = keycode - kX11KeycodeOffset;
    for (const KeycodeEntry& entry : kKeycodes) {
        if (entry.evdev == evdev) {
            return VirtualKey{entry.virtualKey, entry.extended};
        }
    }
    return std::nullopt;
}

std::optional<VirtualKey> VirtualKeyFromCharacter(char32_t c)
{
    const char32_t upper = UpperCase(c);
    if (upper >= U'A' && upper <= U'Z') {
        return VirtualKey{static_cast<unsigned>(upper), false};
    }
    for (const PunctuationKey& key : kPunctuation) {
        if (key.plain == c || key.shifted == c) {
            return VirtualKey{key.virtualKey, false};
        }
    }
    for (const RussianLetter& letter : kRussianLetters) {
        if (letter.letter == upper) {
            return VirtualKey{letter.virtualKey, false};
        }
    }
    return std::nullopt;
}

}  // namespace luma
