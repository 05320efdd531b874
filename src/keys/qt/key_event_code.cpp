#include "keys/qt/key_event_code.h"

#include <QGuiApplication>
#include <optional>

#include "keys/hotkey_code.h"
#include "keys/virtual_keys.h"

namespace luma::ui {
namespace {

struct QtKeyEntry {
    int key;
    unsigned virtualKey;
    bool extended;
};

// Qt's keys beyond the characters, where no native code is at hand.
constexpr QtKeyEntry kQtKeys[] = {
    {Qt::Key_Escape, vk::kEscape, false}, {Qt::Key_Tab, vk::kTab, false},
    {Qt::Key_Backtab, vk::kTab, false}, {Qt::Key_Backspace, vk::kBack, false},
    {Qt::Key_Return, vk::kReturn, false}, {Qt::Key_Enter, vk::kReturn, true},
    {Qt::Key_Insert, vk::kInsert, true}, {Qt::Key_Delete, vk::kDelete, true},
    {Qt::Key_Pause, vk::kPause, false}, {Qt::Key_Print, vk::kSnapshot, true},
    {Qt::Key_Home, vk::kHome, true}, {Qt::Key_End, vk::kEnd, true},
    {Qt::Key_Left, vk::kLeft, true}, {Qt::Key_Up, vk::kUp, true},
    {Qt::Key_Right, vk::kRight, true}, {Qt::Key_Down, vk::kDown, true},
    {Qt::Key_PageUp, vk::kPrior, true}, {Qt::Key_PageDown, vk::kNext, true},
    {Qt::Key_Shift, vk::kShift, false}, {Qt::Key_Control, vk::kControl, false},
    {Qt::Key_Alt, vk::kMenu, false}, {Qt::Key_Meta, vk::kLWin, true},
    {Qt::Key_CapsLock, vk::kCapital, false}, {Qt::Key_NumLock, vk::kNumLock, true},
    {Qt::Key_ScrollLock, vk::kScroll, false}, {Qt::Key_Menu, vk::kApps, true},
};

// The keypad's keys that Qt reports as characters.
std::optional<VirtualKey> KeypadKey(int key)
{
    if (key >= Qt::Key_0 && key <= Qt::Key_9) {
        return VirtualKey{vk::kNumpad0 + static_cast<unsigned>(key - Qt::Key_0), false};
    }
    switch (key) {
    case Qt::Key_Asterisk: return VirtualKey{vk::kMultiply, false};
    case Qt::Key_Plus: return VirtualKey{vk::kAdd, false};
    case Qt::Key_Minus: return VirtualKey{vk::kSubtract, false};
    case Qt::Key_Period: return VirtualKey{vk::kDecimal, false};
    case Qt::Key_Comma: return VirtualKey{vk::kDecimal, false};
    case Qt::Key_Slash: return VirtualKey{vk::kDivide, true};
    default: return std::nullopt;
    }
}

std::optional<VirtualKey> FromQtKey(const QKeyEvent& event)
{
    const int key = event.key();
    if (event.modifiers() & Qt::KeypadModifier) {
        if (const auto keypad = KeypadKey(key)) {
            return keypad;
        }
    }
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) {
        return VirtualKey{vk::kF1 + static_cast<unsigned>(key - Qt::Key_F1), false};
    }
    for (const QtKeyEntry& entry : kQtKeys) {
        if (entry.key == key) {
            return VirtualKey{entry.virtualKey, entry.extended};
        }
    }
    // Qt's keys for characters are the characters' code points, letters in upper case.
    if (key > 0 && key < 0x110000) {
        return VirtualKeyFromCharacter(static_cast<char32_t>(key));
    }
    return std::nullopt;
}

std::optional<VirtualKey> FromNative(const QKeyEvent& event, NativeKeys native)
{
    switch (native) {
    case NativeKeys::X11Keycodes:
        return VirtualKeyFromX11Keycode(event.nativeScanCode());
    case NativeKeys::WindowsVirtualKeys:
        if (event.nativeVirtualKey() != 0 && event.nativeVirtualKey() <= 0xFF) {
            return VirtualKey{event.nativeVirtualKey(), (event.nativeScanCode() & 0x100) != 0};
        }
        return std::nullopt;
    case NativeKeys::None:
        break;
    }
    return std::nullopt;
}

}  // namespace

NativeKeys NativeKeysOfPlatform()
{
    const QString platform = QGuiApplication::platformName();
    if (platform == QLatin1String("xcb") || platform.startsWith(QLatin1String("wayland"))) {
        return NativeKeys::X11Keycodes;
    }
    if (platform == QLatin1String("windows")) {
        return NativeKeys::WindowsVirtualKeys;
    }
    return NativeKeys::None;
}

int HotkeyCodeOf(const QKeyEvent& event, NativeKeys native)
{
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    if (modifiers & Qt::MetaModifier) {
        return 0;
    }
    std::optional<VirtualKey> key = FromNative(event, native);
    if (!key) {
        key = FromQtKey(event);
    }
    if (!key) {
        return 0;
    }
    int bits = 0;
    if (modifiers & Qt::ShiftModifier) {
        bits |= kHotkeyShift;
    }
    if (modifiers & Qt::ControlModifier) {
        bits |= kHotkeyControl;
    }
    if (modifiers & Qt::AltModifier) {
        bits |= kHotkeyAlt;
    }
    return MakeHotkeyCode(key->code, key->extended, bits);
}

}  // namespace luma::ui
