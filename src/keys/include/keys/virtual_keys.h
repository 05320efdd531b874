#pragma once
// Windows virtual-key codes for keys as other platforms report them, so that a hotkey code means
// the same physical key whatever the keyboard layout: an X11 keycode (evdev code + 8, as X and
// Wayland report it) gives the key's US position, and so do the characters of the US and the
// Russian (ЙЦУКЕН) layouts.

#include <optional>

namespace luma {

namespace vk {
inline constexpr unsigned kBack = 0x08;
inline constexpr unsigned kTab = 0x09;
inline constexpr unsigned kReturn = 0x0D;
inline constexpr unsigned kShift = 0x10;
inline constexpr unsigned kControl = 0x11;
inline constexpr unsigned kMenu = 0x12;  // Alt
inline constexpr unsigned kPause = 0x13;
inline constexpr unsigned kCapital = 0x14;
inline constexpr unsigned kEscape = 0x1B;
inline constexpr unsigned kSpace = 0x20;
inline constexpr unsigned kPrior = 0x21;
inline constexpr unsigned kNext = 0x22;
inline constexpr unsigned kEnd = 0x23;
inline constexpr unsigned kHome = 0x24;
inline constexpr unsigned kLeft = 0x25;
inline constexpr unsigned kUp = 0x26;
inline constexpr unsigned kRight = 0x27;
inline constexpr unsigned kDown = 0x28;
inline constexpr unsigned kSnapshot = 0x2C;
inline constexpr unsigned kInsert = 0x2D;
inline constexpr unsigned kDelete = 0x2E;
inline constexpr unsigned kLWin = 0x5B;
inline constexpr unsigned kRWin = 0x5C;
inline constexpr unsigned kApps = 0x5D;
inline constexpr unsigned kNumpad0 = 0x60;
inline constexpr unsigned kMultiply = 0x6A;
inline constexpr unsigned kAdd = 0x6B;
inline constexpr unsigned kSubtract = 0x6D;
inline constexpr unsigned kDecimal = 0x6E;
inline constexpr unsigned kDivide = 0x6F;
inline constexpr unsigned kF1 = 0x70;
inline constexpr unsigned kF24 = 0x87;
inline constexpr unsigned kNumLock = 0x90;
inline constexpr unsigned kScroll = 0x91;
inline constexpr unsigned kLShift = 0xA0;
inline constexpr unsigned kRMenu = 0xA5;
inline constexpr unsigned kOem1 = 0xBA;       // ;:
inline constexpr unsigned kOemPlus = 0xBB;    // =+
inline constexpr unsigned kOemComma = 0xBC;   // ,<
inline constexpr unsigned kOemMinus = 0xBD;   // -_
inline constexpr unsigned kOemPeriod = 0xBE;  // .>
inline constexpr unsigned kOem2 = 0xBF;       // /?
inline constexpr unsigned kOem3 = 0xC0;       // `~
inline constexpr unsigned kOem4 = 0xDB;       // [{
inline constexpr unsigned kOem5 = 0xDC;       // \|
inline constexpr unsigned kOem6 = 0xDD;       // ]}
inline constexpr unsigned kOem7 = 0xDE;       // '"
inline constexpr unsigned kOem102 = 0xE2;     // the extra key beside left Shift
}  // namespace vk

struct VirtualKey {
    unsigned code = 0;
    // Windows' extended-key flag: the grey cursor block, right Ctrl and Alt, keypad Enter and /.
    bool extended = false;
    friend bool operator==(const VirtualKey&, const VirtualKey&) = default;
};

// Nothing for a keycode with no key of the PC keyboard behind it. The keypad's digits are
// taken as with Num Lock on.
std::optional<VirtualKey> VirtualKeyFromX11Keycode(unsigned keycode);

// The key that types `c` on the US or the Russian layout, Shift or not; letters in either case.
std::optional<VirtualKey> VirtualKeyFromCharacter(char32_t c);

}  // namespace luma
