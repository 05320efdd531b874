#pragma once
// The record view's font as Windows' LOGFONTA keeps it: 60 bytes, little-endian, the face name
// 32 bytes in Windows-1251, so that a profile written by the earlier Windows program is read as
// it stands. Fields a toolkit font has no use for are kept, so that they survive a round trip.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "settings/settings_profile.h"

namespace luma {

struct LogFont {
    static constexpr std::size_t kSize = 60;
    static constexpr std::size_t kFaceNameSize = 32;  // with its terminating zero

    std::int32_t height = 0;  // negative: character height in pixels at 96 DPI
    std::int32_t width = 0;
    std::int32_t escapement = 0;
    std::int32_t orientation = 0;
    std::int32_t weight = 0;  // 400 normal, 700 bold
    std::uint8_t italic = 0;
    std::uint8_t underline = 0;
    std::uint8_t strikeOut = 0;
    std::uint8_t charSet = 0;
    std::uint8_t outPrecision = 0;
    std::uint8_t clipPrecision = 0;
    std::uint8_t quality = 0;
    std::uint8_t pitchAndFamily = 0;
    std::string faceName;  // UTF-8
    friend bool operator==(const LogFont&, const LogFont&) = default;
};

// The face name is written in Windows-1251, cut to 31 characters; a character that code page
// lacks becomes '?'.
SettingsBytes LogFontToBytes(const LogFont& font);
// Nothing unless `bytes` is exactly 60 bytes long.
std::optional<LogFont> LogFontFromBytes(const SettingsBytes& bytes);

}  // namespace luma
