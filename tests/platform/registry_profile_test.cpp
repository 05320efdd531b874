// The registry profile under a key of its own, removed afterwards: the shared profile tests,
// the value kinds and lengths the earlier Windows program used, and its ANSI strings.

#include <windows.h>

#include <random>

#include "settings/registry_profile.h"
#include "settings/profile_store.h"

namespace luma::test {
namespace {

std::string TestKeyPath()
{
    return "Software\\LUMA-tests\\" + std::to_string(std::random_device{}());
}

class RegistryStore final : public ProfileStore {
public:
    ~RegistryStore() override { RegistryProfile::DeleteKey(m_keyPath); }
    std::unique_ptr<SettingsProfile> Open() override
    {
        return std::make_unique<RegistryProfile>(m_keyPath);
    }

private:
    std::string m_keyPath = TestKeyPath();
};

INSTANTIATE_TEST_SUITE_P(Registry, SettingsStoreTest,
                         testing::Values(ProfileKind{"Registry", [] { return std::make_unique<RegistryStore>(); }}),
                         ProfileKindName);

std::wstring Wide(const std::string& ascii)
{
    return std::wstring(ascii.begin(), ascii.end());
}

struct RawValue {
    DWORD type = REG_NONE;
    std::string bytes;
};

std::optional<RawValue> ReadRaw(const std::string& keyPath, const char* entry)
{
    BYTE data[512];
    DWORD size = sizeof data;
    RawValue value;
    if (::RegGetValueW(HKEY_CURRENT_USER, Wide(keyPath).c_str(), Wide(entry).c_str(),
                       RRF_RT_ANY | RRF_NOEXPAND, &value.type, data, &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    value.bytes.assign(reinterpret_cast<const char*>(data), size);
    return value;
}

class RegistryProfileTest : public testing::Test {
protected:
    ~RegistryProfileTest() override { RegistryProfile::DeleteKey(m_keyPath); }

    std::string Section(const char* name) const { return m_keyPath + "\\" + name; }
    void WriteRaw(const char* section, const char* entry, DWORD type, const std::string& bytes)
    {
        HKEY key = nullptr;
        ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, Section(section).c_str(), 0, nullptr, 0,
                                    KEY_SET_VALUE, nullptr, &key, nullptr), ERROR_SUCCESS);
        // Through the ANSI API, as the earlier program wrote its profile.
        ::RegSetValueExA(key, entry, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                         static_cast<DWORD>(bytes.size()));
        ::RegCloseKey(key);
    }

    std::string m_keyPath = TestKeyPath();
    RegistryProfile m_profile{m_keyPath};
};

TEST_F(RegistryProfileTest, StoreWritesTheKindsAndLengthsOfTheEarlierProgram)
{
    Settings settings;
    settings.labelField = "901";
    settings.labelText = "Отобрано";
    settings.filterFields = {"200"};
    settings.viewFont = LogFont{};
    ASSERT_FALSE(StoreSettings(settings, m_profile));
    ASSERT_FALSE(StoreWindowPlacement(WindowPlacement{}, m_profile));

    const struct {
        const char* section;
        const char* entry;
        DWORD type;
        std::size_t size;
    } expected[] = {
        {"HOTDLG", "HOTSET", REG_DWORD, 4},     {"HOTDLG", "HOTRESET", REG_DWORD, 4},
        {"HOTDLG", "HOTNEXT", REG_DWORD, 4},    {"HOTDLG", "HOTPREV", REG_DWORD, 4},
        {"HOTDLG", "FIELDNAME", REG_SZ, 8},     {"HOTDLG", "FIELDTEXT", REG_SZ, 18},
        {"HOTDLG", "SETNEXT", REG_DWORD, 4},    {"SKFPDLG", "COUNT", REG_DWORD, 4},
        {"SKFPDLG", "FP000", REG_SZ, 8},        {"SKFPDLG", "USEFILTER", REG_DWORD, 4},
        {"SFILEDLG", "SOURCEDIR", REG_SZ, 2},   {"SFILEDLG", "RESULTDIR", REG_SZ, 2},
        {"SFILEDLG", "FONT", REG_BINARY, 60},   {"MAIN", "POS", REG_BINARY, 44},
    };
    for (const auto& value : expected) {
        const auto raw = ReadRaw(Section(value.section), value.entry);
        ASSERT_TRUE(raw) << value.section << "\\" << value.entry;
        EXPECT_EQ(raw->type, value.type) << value.entry;
        EXPECT_EQ(raw->bytes.size(), value.size) << value.entry;
    }
    const auto text = ReadRaw(Section("HOTDLG"), "FIELDTEXT");
    EXPECT_EQ(text->bytes, std::string(reinterpret_cast<const char*>(L"Отобрано"), 18))
        << "UTF-16 with its terminating zero";
    EXPECT_EQ(ReadRaw(Section("HOTDLG"), "SETNEXT")->bytes, std::string("\1\0\0\0", 4));
}

TEST_F(RegistryProfileTest, ReadsStringsAnAnsiProgramWroteInCodePage1251)
{
    if (::GetACP() != 1251) {
        GTEST_SKIP() << "the ANSI code page is " << ::GetACP() << "; run under LC_ALL=ru_RU.UTF-8";
    }
    WriteRaw("HOTDLG", "FIELDTEXT", REG_SZ, std::string("##$a\xCE\xF2\xEE\xE1\xF0\xE0\xED\xEE", 13));
    WriteRaw("SFILEDLG", "SOURCEDIR", REG_SZ, "C:\\\xC8\xF2\xEE\xE3\xE8\\");
    const Settings loaded = LoadSettings(m_profile);
    EXPECT_EQ(loaded.labelText, "##$aОтобрано");
    EXPECT_EQ(loaded.sourceDir, "C:\\Итоги\\") << "no terminating zero written";
}

TEST_F(RegistryProfileTest, ValuesOfAnotherKindReadAsAbsent)
{
    WriteRaw("HOTDLG", "HOTSET", REG_SZ, std::string("65", 3));
    WriteRaw("HOTDLG", "FIELDNAME", REG_DWORD, std::string("\1\0\0\0", 4));
    WriteRaw("HOTDLG", "HOTNEXT", REG_BINARY, std::string("\1\0", 2));
    WriteRaw("SFILEDLG", "FONT", REG_SZ, std::string(59, 'x') + '\0');
    EXPECT_FALSE(m_profile.GetInt("HOTDLG", "HOTSET"));
    EXPECT_FALSE(m_profile.GetString("HOTDLG", "FIELDNAME"));
    EXPECT_FALSE(m_profile.GetInt("HOTDLG", "HOTNEXT"));
    EXPECT_FALSE(m_profile.GetBytes("SFILEDLG", "FONT"));
    EXPECT_EQ(LoadSettings(m_profile), Settings{});
}

TEST_F(RegistryProfileTest, FailedWriteIsReportedOnce)
{
    // The system refuses a lasting key below a volatile one.
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, Wide(m_keyPath).c_str(), 0, nullptr,
                                REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    ::RegCloseKey(key);
    Settings settings;
    const auto error = StoreSettings(settings, m_profile);
    ASSERT_TRUE(error);
    EXPECT_NE(error->find("HOTDLG HOTSET"), std::string::npos) << *error;
    EXPECT_FALSE(m_profile.Flush());
}

TEST_F(RegistryProfileTest, DeleteKeyRemovesTheWholeProfile)
{
    Settings settings;
    ASSERT_FALSE(StoreSettings(settings, m_profile));
    ASSERT_FALSE(RegistryProfile::DeleteKey(m_keyPath));
    HKEY key = nullptr;
    EXPECT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, Wide(m_keyPath).c_str(), 0, KEY_READ, &key),
              ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(RegistryProfile::DeleteKey(m_keyPath)) << "an absent key is no error";
}

TEST(RegistryProfileLocation, IsTheApplicationNameUnderSoftwareLuma)
{
    EXPECT_EQ(RegistryProfile::ApplicationKeyPath("luma"), "Software\\LUMA\\luma");
}

}  // namespace
}  // namespace luma::test
