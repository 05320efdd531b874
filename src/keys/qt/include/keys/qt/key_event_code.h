#pragma once
// A key event as a hotkey code (low byte a Windows virtual key, high byte Shift, Ctrl, Alt and
// the extended-key bit), the same for a key whatever the keyboard layout: on X11 and Wayland
// from the hardware keycode, on Windows from the native virtual key, elsewhere from Qt's key.

#include <QKeyEvent>

namespace luma::ui {

// Where a key event's native codes come from.
enum class NativeKeys {
    X11Keycodes,          // nativeScanCode() is the X keycode (evdev code + 8)
    WindowsVirtualKeys,   // nativeVirtualKey() is the virtual key, bit 8 of the scan code "extended"
    None,                 // Qt's key alone
};

NativeKeys NativeKeysOfPlatform();

// 0 for a key with no virtual key, and for any key pressed with the Windows key, which a
// hotkey never includes.
int HotkeyCodeOf(const QKeyEvent& event, NativeKeys native);

}  // namespace luma::ui
