// WINDOWPLACEMENT and LOGFONTA as bytes: field order, widths, byte order and the face name's
// code page, written out by hand so that a change of layout cannot go unnoticed.

#include <gtest/gtest.h>

#include "settings/log_font.h"
#include "settings/window_placement.h"

namespace luma {
namespace {

void AppendLe32(SettingsBytes& bytes, std::uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8) {
        bytes.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

TEST(WindowPlacementBytes, FollowTheWin32LayoutBothWays)
{
    WindowPlacement placement;
    placement.length = 44;
    placement.flags = 0x02;
    placement.showCmd = kShowMaximized;
    placement.minPosition = {-32000, -31999};
    placement.maxPosition = {-8, -7};
    placement.normalPosition = {100, 200, 1124, 968};

    SettingsBytes expected;
    for (const std::uint32_t field : {44u, 2u, 3u, static_cast<std::uint32_t>(-32000),
                                      static_cast<std::uint32_t>(-31999), static_cast<std::uint32_t>(-8),
                                      static_cast<std::uint32_t>(-7), 100u, 200u, 1124u, 968u}) {
        AppendLe32(expected, field);
    }
    ASSERT_EQ(expected.size(), WindowPlacement::kSize);
    EXPECT_EQ(WindowPlacementToBytes(placement), expected);
    EXPECT_EQ(WindowPlacementFromBytes(expected), placement);
}

SettingsBytes LogFontBytes(const std::string& faceBytes)
{
    SettingsBytes bytes;
    for (const std::uint32_t field : {static_cast<std::uint32_t>(-16), 7u, 900u, 450u, 700u}) {
        AppendLe32(bytes, field);
    }
    for (const int field : {1, 1, 0, 204, 3, 2, 5, 0x31}) {
        bytes.push_back(static_cast<std::uint8_t>(field));
    }
    bytes.insert(bytes.end(), faceBytes.begin(), faceBytes.end());
    bytes.resize(LogFont::kSize, 0);
    return bytes;
}

LogFont SampleFont(const std::string& faceName)
{
    LogFont font;
    font.height = -16;
    font.width = 7;
    font.escapement = 900;
    font.orientation = 450;
    font.weight = 700;
    font.italic = 1;
    font.underline = 1;
    font.strikeOut = 0;
    font.charSet = 204;
    font.outPrecision = 3;
    font.clipPrecision = 2;
    font.quality = 5;
    font.pitchAndFamily = 0x31;
    font.faceName = faceName;
    return font;
}

TEST(LogFontBytes, FollowTheWin32LayoutWithTheFaceNameInWindows1251)
{
    const SettingsBytes expected = LogFontBytes("\xCA\xF3\xF0\xFC\xE5\xF0");  // Курьер
    ASSERT_EQ(expected.size(), LogFont::kSize);
    EXPECT_EQ(LogFontToBytes(SampleFont("Курьер")), expected);
    EXPECT_EQ(LogFontFromBytes(expected), SampleFont("Курьер"));
}

TEST(LogFontBytes, FaceNameIsCutToThirtyOneCharactersAndKeepsItsTerminator)
{
    const std::string longName(40, 'W');
    const SettingsBytes bytes = LogFontToBytes(SampleFont(longName));
    ASSERT_EQ(bytes.size(), LogFont::kSize);
    EXPECT_EQ(bytes.back(), 0);
    EXPECT_EQ(LogFontFromBytes(bytes)->faceName, longName.substr(0, 31));

    const std::string cyrillic = "Шрифт с очень длинным русским именем";
    EXPECT_EQ(LogFontFromBytes(LogFontToBytes(SampleFont(cyrillic)))->faceName,
              "Шрифт с очень длинным русским и") << "cut by characters, not UTF-8 bytes";
}

TEST(LogFontBytes, CharactersOutsideWindows1251BecomeQuestionMarks)
{
    const SettingsBytes bytes = LogFontToBytes(SampleFont("Noto 文 Sans\xFF"));
    EXPECT_EQ(LogFontFromBytes(bytes)->faceName, "Noto ? Sans?");
}

TEST(LogFontBytes, FaceNameEndsAtTheFirstZeroOrAfterThirtyTwoBytes)
{
    SettingsBytes bytes = LogFontBytes(std::string("Arial\0junk", 10));
    EXPECT_EQ(LogFontFromBytes(bytes)->faceName, "Arial");

    bytes = LogFontBytes(std::string(32, 'A'));  // no terminator, as a damaged value might be
    EXPECT_EQ(LogFontFromBytes(bytes)->faceName, std::string(32, 'A'));
}

}  // namespace
}  // namespace luma
