// The settings over the in-memory profile: the shared profile tests, and what only the kinds
// the memory profile keeps can show.

#include <climits>

#include "profile_store.h"
#include "settings/memory_profile.h"

namespace luma::test {
namespace {

// Passes every call to one MemoryProfile, so that a reopened profile sees the same values.
class MemoryView final : public SettingsProfile {
public:
    explicit MemoryView(MemoryProfile& values) : m_values(values) {}
    std::optional<int> GetInt(std::string_view s, std::string_view e) override { return m_values.GetInt(s, e); }
    std::optional<std::string> GetString(std::string_view s, std::string_view e) override { return m_values.GetString(s, e); }
    std::optional<SettingsBytes> GetBytes(std::string_view s, std::string_view e) override { return m_values.GetBytes(s, e); }
    void PutInt(std::string_view s, std::string_view e, int v) override { m_values.PutInt(s, e, v); }
    void PutString(std::string_view s, std::string_view e, std::string_view v) override { m_values.PutString(s, e, v); }
    void PutBytes(std::string_view s, std::string_view e, const SettingsBytes& v) override { m_values.PutBytes(s, e, v); }
    std::optional<std::string> Flush() override { return m_values.Flush(); }

private:
    MemoryProfile& m_values;
};

class MemoryStore final : public ProfileStore {
public:
    std::unique_ptr<SettingsProfile> Open() override { return std::make_unique<MemoryView>(m_values); }

private:
    MemoryProfile m_values;
};

INSTANTIATE_TEST_SUITE_P(Memory, SettingsStoreTest,
                         testing::Values(ProfileKind{"Memory", [] { return std::make_unique<MemoryStore>(); }}),
                         ProfileKindName);

enum class Kind { Int, String, Bytes };

Kind KindOf(const MemoryProfile::Value& value)
{
    return static_cast<Kind>(value.index());
}

TEST(StoreSettings, WritesEveryEntryInItsKindAndLength)
{
    MemoryProfile profile;
    Settings settings;
    settings.filterFields = {"200", "700"};
    settings.viewFont = LogFont{};
    ASSERT_FALSE(StoreSettings(settings, profile));
    ASSERT_FALSE(StoreWindowPlacement(WindowPlacement{}, profile));

    const std::map<MemoryProfile::Key, Kind> expected = {
        {{"HOTDLG", "HOTSET"}, Kind::Int},        {{"HOTDLG", "HOTRESET"}, Kind::Int},
        {{"HOTDLG", "HOTNEXT"}, Kind::Int},       {{"HOTDLG", "HOTPREV"}, Kind::Int},
        {{"HOTDLG", "HOTNEXTMARK"}, Kind::Int},   {{"HOTDLG", "HOTPREVMARK"}, Kind::Int},
        {{"HOTDLG", "FIELDNAME"}, Kind::String},  {{"HOTDLG", "FIELDTEXT"}, Kind::String},
        {{"HOTDLG", "SETNEXT"}, Kind::Int},       {{"SKFPDLG", "COUNT"}, Kind::Int},
        {{"SKFPDLG", "FP000"}, Kind::String},     {{"SKFPDLG", "FP001"}, Kind::String},
        {{"SKFPDLG", "USEFILTER"}, Kind::Int},    {{"SFILEDLG", "SOURCEDIR"}, Kind::String},
        {{"SFILEDLG", "RESULTDIR"}, Kind::String}, {{"SFILEDLG", "FONT"}, Kind::Bytes},
        {{"MAIN", "POS"}, Kind::Bytes}};
    std::map<MemoryProfile::Key, Kind> written;
    for (const auto& [key, value] : profile.Values()) {
        written[key] = KindOf(value);
    }
    EXPECT_EQ(written, expected);
    EXPECT_EQ(profile.GetBytes("SFILEDLG", "FONT")->size(), 60u);
    EXPECT_EQ(profile.GetBytes("MAIN", "POS")->size(), 44u);
    EXPECT_EQ(profile.GetInt("HOTDLG", "SETNEXT"), 1);
    EXPECT_EQ(profile.GetInt("SKFPDLG", "USEFILTER"), 0);
}

TEST(StoreSettings, WithoutAFontLeavesTheStoredFontAlone)
{
    MemoryProfile profile;
    Settings settings;
    ASSERT_FALSE(StoreSettings(settings, profile));
    EXPECT_FALSE(profile.GetBytes("SFILEDLG", "FONT")) << "no font, nothing to store";

    const SettingsBytes earlier(60, 7);
    profile.PutBytes("SFILEDLG", "FONT", earlier);
    ASSERT_FALSE(StoreSettings(settings, profile));
    EXPECT_EQ(profile.GetBytes("SFILEDLG", "FONT"), earlier);
}

TEST(StoreSettings, ReportsAFailedWriteAndKeepsEarlierValues)
{
    MemoryProfile profile;
    profile.PutString("HOTDLG", "FIELDNAME", "901");
    profile.FailWrites();
    Settings settings;
    settings.labelField = "999";
    settings.sourceDir = "in";
    const auto error = StoreSettings(settings, profile);
    ASSERT_TRUE(error);
    EXPECT_NE(error->find("HOTDLG/HOTSET"), std::string::npos) << *error;
    EXPECT_EQ(profile.GetString("HOTDLG", "FIELDNAME"), "901");
    EXPECT_EQ(settings.sourceDir.size(), 3u) << "the folder is normalised all the same";
    EXPECT_TRUE(StoreWindowPlacement(WindowPlacement{}, profile));
    EXPECT_FALSE(profile.Flush()) << "a reported failure is not reported twice";
}

TEST(LoadSettings, SwitchesAreOnForAnyNonZeroValue)
{
    MemoryProfile profile;
    for (const int stored : {2, -1}) {
        profile.PutInt("HOTDLG", "SETNEXT", stored);
        profile.PutInt("SKFPDLG", "USEFILTER", stored);
        const Settings loaded = LoadSettings(profile);
        EXPECT_TRUE(loaded.advanceAfterMark && loaded.useFilter) << stored;
    }
    profile.PutInt("HOTDLG", "SETNEXT", 0);
    EXPECT_FALSE(LoadSettings(profile).advanceAfterMark);
}

TEST(LoadSettings, DamagedHugeCountIsBounded)
{
    MemoryProfile profile;
    profile.PutInt("SKFPDLG", "COUNT", INT_MAX);
    profile.PutString("SKFPDLG", "FP000", "200");
    const Settings loaded = LoadSettings(profile);
    ASSERT_FALSE(loaded.filterFields.empty());
    EXPECT_EQ(loaded.filterFields.front(), "200");
    EXPECT_LE(loaded.filterFields.size(), 10000u);
}

}  // namespace
}  // namespace luma::test
