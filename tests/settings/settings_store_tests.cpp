// The settings as every profile must keep them: defaults, a full round trip into the next run,
// and the edge cases of the filter list, the folders and the stored structures.

#include <climits>

#include "platform/file_ops.h"
#include "profile_store.h"

namespace luma::test {
namespace {

LogFont SampleFont()
{
    LogFont font;
    font.height = -13;
    font.weight = 700;
    font.italic = 1;
    font.charSet = 204;  // RUSSIAN_CHARSET
    font.quality = 5;
    font.pitchAndFamily = 49;
    font.faceName = "Курьер Нью";
    return font;
}

WindowPlacement SamplePlacement()
{
    WindowPlacement placement;
    placement.flags = 2;
    placement.showCmd = kShowMaximized;
    placement.minPosition = {-32000, -32000};
    placement.maxPosition = {-1, -1};
    placement.normalPosition = {120, 80, 920, 680};
    return placement;
}

Settings EveryValueChanged()
{
    Settings settings;
    settings.hotMark = 0x0241;  // Ctrl+A
    settings.hotUnmark = 0x0542;
    settings.hotNext = 0x0827;
    settings.hotPrev = -1;  // the whole int is kept
    settings.labelField = "901";
    // Characters an INI file or a registry string could trip over.
    settings.labelText = "##$aОтобрано, \"1\"; #x = y \\ @ByteArray(z) ";
    settings.advanceAfterMark = false;
    settings.filterFields = {"200", "", "7XX", "Ё", " 9"};
    settings.useFilter = true;
#ifdef _WIN32
    settings.sourceDir = "C:\\Мои документы\\ISO\\";
    settings.resultDir = "\\\\server\\share\\Итоги\\";
#else
    settings.sourceDir = "/home/оператор/ISO files/";
    settings.resultDir = "@results/";
#endif
    settings.viewFont = SampleFont();
    return settings;
}

SettingsBytes Prefix(const SettingsBytes& bytes, std::size_t length)
{
    return SettingsBytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(length));
}

TEST_P(SettingsStoreTest, FirstStartGivesEveryDefault)
{
    const Settings loaded = LoadSettings(Profile());
    EXPECT_EQ(loaded.hotMark, 0);
    EXPECT_EQ(loaded.hotUnmark, 0);
    EXPECT_EQ(loaded.hotNext, 0);
    EXPECT_EQ(loaded.hotPrev, 0);
    EXPECT_EQ(loaded.labelField, "");
    EXPECT_EQ(loaded.labelText, "");
    EXPECT_TRUE(loaded.advanceAfterMark);
    EXPECT_TRUE(loaded.filterFields.empty());
    EXPECT_FALSE(loaded.useFilter);
    EXPECT_EQ(loaded.sourceDir, "");
    EXPECT_EQ(loaded.resultDir, "");
    EXPECT_FALSE(loaded.viewFont);
    EXPECT_FALSE(LoadWindowPlacement(Profile()));
}

TEST_P(SettingsStoreTest, EverySettingReachesTheNextRun)
{
    Settings stored = EveryValueChanged();
    Store(stored);
    ASSERT_FALSE(StoreWindowPlacement(SamplePlacement(), Profile()));
    EXPECT_EQ(LoadSettings(Reopen()), stored);
    EXPECT_EQ(LoadWindowPlacement(Profile()), SamplePlacement());

    Settings defaults;
    Store(defaults);
    Settings reset = LoadInNextRun();
    EXPECT_EQ(reset.viewFont, SampleFont()) << "storing no font keeps the stored one";
    reset.viewFont.reset();
    Settings expected;
    EXPECT_EQ(reset, expected) << "defaults written over other values read back as defaults";
}

TEST_P(SettingsStoreTest, FilterEntryMissingInsideTheCountReadsAsEmptyTag)
{
    Profile().PutInt("SKFPDLG", "COUNT", 3);
    Profile().PutString("SKFPDLG", "FP000", "200");
    Profile().PutString("SKFPDLG", "FP002", "700");
    Profile().PutString("SKFPDLG", "FP003", "beyond the count");
    ASSERT_FALSE(Profile().Flush());
    EXPECT_EQ(LoadInNextRun().filterFields, (std::vector<std::string>{"200", "", "700"}));
}

TEST_P(SettingsStoreTest, ShrunkFilterListLeavesOldEntriesUnread)
{
    Settings settings;
    settings.filterFields = {"100", "200", "300", "400", "500"};
    Store(settings);
    settings.filterFields = {"600", "700"};
    Store(settings);

    SettingsProfile& next = Reopen();
    EXPECT_EQ(next.GetInt("SKFPDLG", "COUNT"), 2);
    EXPECT_EQ(next.GetString("SKFPDLG", "FP002"), "300");
    EXPECT_EQ(next.GetString("SKFPDLG", "FP004"), "500");
    EXPECT_EQ(LoadSettings(next).filterFields, settings.filterFields);
}

TEST_P(SettingsStoreTest, FilterEntriesPastNineHundredNinetyNineGetFourDigits)
{
    Settings settings;
    for (int i = 0; i <= 1000; ++i) {
        settings.filterFields.push_back("T" + std::to_string(i));
    }
    Store(settings);

    SettingsProfile& next = Reopen();
    EXPECT_EQ(next.GetInt("SKFPDLG", "COUNT"), 1001);
    EXPECT_EQ(next.GetString("SKFPDLG", "FP007"), "T7");
    EXPECT_EQ(next.GetString("SKFPDLG", "FP999"), "T999");
    EXPECT_EQ(next.GetString("SKFPDLG", "FP1000"), "T1000");
    EXPECT_FALSE(next.GetString("SKFPDLG", "FP01000"));
    EXPECT_EQ(LoadSettings(next).filterFields, settings.filterFields);
}

TEST_P(SettingsStoreTest, FoldersGetOneTrailingSeparatorWhenStored)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
#ifdef _WIN32
        {"C:\\data", "C:\\data\\"}, {"C:\\data\\", "C:\\data\\"}, {"", ""}, {"D:/x", "D:/x\\"}};
#else
        {"/data", "/data/"}, {"/data/", "/data/"}, {"", ""}, {"D:\\x", "D:\\x/"}};
#endif
    for (const auto& [folder, expected] : cases) {
        Settings settings;
        settings.sourceDir = folder;
        settings.resultDir = folder;
        Store(settings);
        EXPECT_EQ(settings.sourceDir, expected) << "the setting itself changes";
        EXPECT_EQ(settings.resultDir, expected);
        const Settings loaded = LoadInNextRun();
        EXPECT_EQ(loaded.sourceDir, expected) << folder;
        EXPECT_EQ(loaded.resultDir, expected) << folder;
    }
}

TEST_P(SettingsStoreTest, FoldersAreReadAsStored)
{
    const std::string folder = std::string("data") + kFolderSeparator + "in";
    Profile().PutString("SFILEDLG", "SOURCEDIR", folder);
    ASSERT_FALSE(Profile().Flush());
    EXPECT_EQ(LoadInNextRun().sourceDir, folder);
}

TEST_P(SettingsStoreTest, PlacementAndFontOfAnotherLengthAreIgnored)
{
    SettingsBytes font = LogFontToBytes(SampleFont());
    SettingsBytes placement = WindowPlacementToBytes(SamplePlacement());
    font.push_back(0);
    placement.push_back(0);
    for (const std::size_t length : {std::size_t{0}, std::size_t{43}, std::size_t{45}}) {
        Profile().PutBytes("MAIN", "POS", Prefix(placement, length));
        EXPECT_FALSE(LoadWindowPlacement(Reopen())) << length << " bytes";
    }
    for (const std::size_t length : {std::size_t{0}, std::size_t{59}, std::size_t{61}}) {
        Profile().PutBytes("SFILEDLG", "FONT", Prefix(font, length));
        EXPECT_FALSE(LoadSettings(Reopen()).viewFont) << length << " bytes";
    }
}

TEST_P(SettingsStoreTest, NegativeOrZeroCountReadsNoFilterEntries)
{
    Profile().PutString("SKFPDLG", "FP000", "200");
    for (const int count : {0, -1, INT_MIN}) {
        Profile().PutInt("SKFPDLG", "COUNT", count);
        EXPECT_TRUE(LoadSettings(Reopen()).filterFields.empty()) << count;
    }
}

}  // namespace
}  // namespace luma::test
