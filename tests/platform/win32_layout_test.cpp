// WINDOWPLACEMENT and LOGFONTA as the Win32 API itself writes and reads them, against the
// byte layouts of the settings: what the earlier program stored is what these read.

#include <windows.h>

#include <cstring>

#include "settings/log_font.h"
#include "settings/window_placement.h"

#include <gtest/gtest.h>

namespace luma {
namespace {

template <typename Win32Struct>
SettingsBytes BytesOf(const Win32Struct& value)
{
    SettingsBytes bytes(sizeof value);
    std::memcpy(bytes.data(), &value, sizeof value);
    return bytes;
}

template <typename Win32Struct>
Win32Struct StructOf(const SettingsBytes& bytes)
{
    Win32Struct value{};
    EXPECT_EQ(bytes.size(), sizeof value);
    std::memcpy(&value, bytes.data(), std::min(bytes.size(), sizeof value));
    return value;
}

class Win32LayoutTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_window = ::CreateWindowExW(0, L"STATIC", L"placement", WS_OVERLAPPEDWINDOW, 10, 20, 300,
                                     200, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(m_window, nullptr) << "no window could be created: under Wine without a "
                                        "display, tools/run-windows-tests.sh sets "
                                        "HKCU\\Software\\Wine\\Drivers Graphics=null";
    }
    void TearDown() override
    {
        if (m_window != nullptr) ::DestroyWindow(m_window);
    }

    HWND m_window = nullptr;
};

TEST_F(Win32LayoutTest, PlacementWrittenByTheSystemReadsFieldByField)
{
    WINDOWPLACEMENT system{};
    system.length = sizeof system;
    ASSERT_TRUE(::GetWindowPlacement(m_window, &system));
    const auto read = WindowPlacementFromBytes(BytesOf(system));
    ASSERT_TRUE(read);
    EXPECT_EQ(read->length, 44u);
    EXPECT_EQ(read->flags, system.flags);
    EXPECT_EQ(read->showCmd, system.showCmd);
    EXPECT_EQ(read->minPosition, (WinPoint{system.ptMinPosition.x, system.ptMinPosition.y}));
    EXPECT_EQ(read->maxPosition, (WinPoint{system.ptMaxPosition.x, system.ptMaxPosition.y}));
    EXPECT_EQ(read->normalPosition, (WinRect{10, 20, 310, 220}));
}

TEST_F(Win32LayoutTest, PlacementWrittenHereIsTakenByTheSystem)
{
    WindowPlacement placement;
    placement.showCmd = kShowMinimized;
    placement.normalPosition = {50, 60, 450, 360};
    const auto given = StructOf<WINDOWPLACEMENT>(WindowPlacementToBytes(placement));
    ASSERT_TRUE(::SetWindowPlacement(m_window, &given));

    WINDOWPLACEMENT system{};
    system.length = sizeof system;
    ASSERT_TRUE(::GetWindowPlacement(m_window, &system));
    EXPECT_EQ(system.showCmd, static_cast<UINT>(SW_SHOWMINIMIZED));
    EXPECT_EQ(system.rcNormalPosition.left, 50);
    EXPECT_EQ(system.rcNormalPosition.top, 60);
    EXPECT_EQ(system.rcNormalPosition.right, 450);
    EXPECT_EQ(system.rcNormalPosition.bottom, 360);
}

LOGFONTA FontAsTheSystemKeepsIt(const LOGFONTA& given)
{
    HFONT font = ::CreateFontIndirectA(&given);
    LOGFONTA system{};
    EXPECT_EQ(::GetObjectA(font, sizeof system, &system), static_cast<int>(sizeof system));
    ::DeleteObject(font);
    return system;
}

TEST(Win32FontLayout, FontWrittenByTheSystemReadsFieldByField)
{
    LOGFONTA given{};
    given.lfHeight = -16;
    given.lfWidth = 7;
    given.lfEscapement = 900;
    given.lfOrientation = 450;
    given.lfWeight = FW_BOLD;
    given.lfItalic = 1;
    given.lfUnderline = 1;
    given.lfStrikeOut = 1;
    given.lfCharSet = RUSSIAN_CHARSET;
    given.lfOutPrecision = OUT_TT_PRECIS;
    given.lfClipPrecision = CLIP_STROKE_PRECIS;
    given.lfQuality = CLEARTYPE_QUALITY;
    given.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
    std::strcpy(given.lfFaceName, "\xCA\xF3\xF0\xFC\xE5\xF0 New");  // Курьер New in 1251
    const LOGFONTA system = FontAsTheSystemKeepsIt(given);

    const auto read = LogFontFromBytes(BytesOf(system));
    ASSERT_TRUE(read);
    EXPECT_EQ(read->height, -16);
    EXPECT_EQ(read->width, 7);
    EXPECT_EQ(read->escapement, 900);
    EXPECT_EQ(read->orientation, 450);
    EXPECT_EQ(read->weight, FW_BOLD);
    EXPECT_EQ(read->italic, 1);
    EXPECT_EQ(read->underline, 1);
    EXPECT_EQ(read->strikeOut, 1);
    EXPECT_EQ(read->charSet, RUSSIAN_CHARSET);
    EXPECT_EQ(read->outPrecision, OUT_TT_PRECIS);
    EXPECT_EQ(read->clipPrecision, CLIP_STROKE_PRECIS);
    EXPECT_EQ(read->quality, CLEARTYPE_QUALITY);
    EXPECT_EQ(read->pitchAndFamily, FIXED_PITCH | FF_MODERN);
    EXPECT_EQ(read->faceName, "Курьер New");
}

TEST(Win32FontLayout, FontWrittenHereIsTakenByTheSystem)
{
    LogFont font;
    font.height = -13;
    font.weight = FW_NORMAL;
    font.italic = 1;
    font.charSet = RUSSIAN_CHARSET;
    font.quality = ANTIALIASED_QUALITY;
    font.pitchAndFamily = VARIABLE_PITCH | FF_SWISS;
    font.faceName = "Тахома";
    const LOGFONTA system = FontAsTheSystemKeepsIt(StructOf<LOGFONTA>(LogFontToBytes(font)));
    EXPECT_EQ(system.lfHeight, -13);
    EXPECT_EQ(system.lfWeight, FW_NORMAL);
    EXPECT_EQ(system.lfItalic, 1);
    EXPECT_EQ(system.lfCharSet, RUSSIAN_CHARSET);
    EXPECT_EQ(system.lfQuality, ANTIALIASED_QUALITY);
    EXPECT_EQ(system.lfPitchAndFamily, VARIABLE_PITCH | FF_SWISS);
    EXPECT_STREQ(system.lfFaceName, "\xD2\xE0\xF5\xEE\xEC\xE0");
    EXPECT_EQ(LogFontFromBytes(BytesOf(system)), font) << "and back unchanged";
}

}  // namespace
}  // namespace luma
