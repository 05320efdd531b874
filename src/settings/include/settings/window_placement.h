#pragma once
// The main window's placement as Windows' WINDOWPLACEMENT keeps it: 44 bytes, little-endian,
// so that a profile written by the earlier Windows program is read as it stands.

#include <cstddef>
#include <cstdint>
#include <optional>

#include "settings/settings_profile.h"

namespace luma {

struct WinPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
    friend bool operator==(const WinPoint&, const WinPoint&) = default;
};

struct WinRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
    friend bool operator==(const WinRect&, const WinRect&) = default;
};

// Show states of WINDOWPLACEMENT::showCmd the main window uses.
inline constexpr std::uint32_t kShowNormal = 1;     // SW_SHOWNORMAL
inline constexpr std::uint32_t kShowMinimized = 2;  // SW_SHOWMINIMIZED
inline constexpr std::uint32_t kShowMaximized = 3;  // SW_SHOWMAXIMIZED

struct WindowPlacement {
    static constexpr std::size_t kSize = 44;

    std::uint32_t length = kSize;
    std::uint32_t flags = 0;
    std::uint32_t showCmd = kShowNormal;
    WinPoint minPosition;
    WinPoint maxPosition;
    WinRect normalPosition;  // the restored frame, in workspace coordinates
    friend bool operator==(const WindowPlacement&, const WindowPlacement&) = default;
};

SettingsBytes WindowPlacementToBytes(const WindowPlacement& placement);
// Nothing unless `bytes` is exactly 44 bytes long.
std::optional<WindowPlacement> WindowPlacementFromBytes(const SettingsBytes& bytes);

}  // namespace luma
