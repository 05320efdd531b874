// The INI profile: the shared profile tests, where the file lives, what it looks like, and
// what happens when it cannot be written. XDG_CONFIG_HOME points into a temporary folder, so
// the user's own profile is never touched.

#include <QFile>
#include <QString>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>

#include "settings/profile_store.h"
#include "platform/process.h"
#include "settings/qt/ini_profile.h"
#include "test_files.h"

namespace luma::test {
namespace {

namespace fs = std::filesystem;

QString QtPath(const fs::path& path)
{
    return QString::fromStdString(path.string());
}

class IniStore final : public ProfileStore {
public:
    std::unique_ptr<SettingsProfile> Open() override
    {
        return std::make_unique<IniProfile>(QtPath(m_dir.path() / "LUMA" / "luma.ini"));
    }

private:
    TempDir m_dir;
};

INSTANTIATE_TEST_SUITE_P(Ini, SettingsStoreTest,
                         testing::Values(ProfileKind{"Ini", [] { return std::make_unique<IniStore>(); }}),
                         ProfileKindName);

class ConfigHomeGuard {
public:
    explicit ConfigHomeGuard(const fs::path& folder)
    {
        if (const char* previous = std::getenv("XDG_CONFIG_HOME")) {
            m_previous = previous;
        }
        ::setenv("XDG_CONFIG_HOME", folder.c_str(), 1);
    }
    ~ConfigHomeGuard()
    {
        if (m_previous) {
            ::setenv("XDG_CONFIG_HOME", m_previous->c_str(), 1);
        } else {
            ::unsetenv("XDG_CONFIG_HOME");
        }
    }
    ConfigHomeGuard(const ConfigHomeGuard&) = delete;
    ConfigHomeGuard& operator=(const ConfigHomeGuard&) = delete;

private:
    std::optional<std::string> m_previous;
};

std::string FileText(const fs::path& path)
{
    return ReadBytes(path.string());
}

TEST(IniProfile, UserProfileIsNamedAfterTheExecutableUnderConfigHome)
{
    TempDir home;
    ConfigHomeGuard guard(home.path());
    EXPECT_EQ(IniProfile::UserProfilePath(QStringLiteral("luma")),
              QtPath(home.path() / "LUMA" / "luma.ini"));

    Settings settings;
    settings.labelField = "901";
    settings.filterFields = {"200"};
    IniProfile profile(IniProfile::UserProfilePath(QString::fromStdString(ExecutableBaseName())));
    ASSERT_FALSE(StoreSettings(settings, profile));
    const fs::path file = home.path() / "LUMA" / "luma_settings_qt_tests.ini";
    ASSERT_TRUE(fs::exists(file)) << "the folder is created on first store";
    const std::string text = FileText(file);
    for (const char* line : {"[HOTDLG]", "FIELDNAME=901", "SETNEXT=1", "[SKFPDLG]", "COUNT=1",
                             "FP000=200", "[SFILEDLG]"}) {
        EXPECT_NE(text.find(line), std::string::npos) << line << " in\n" << text;
    }
}

TEST(IniProfile, ReadsAFileWrittenByHand)
{
    TempDir dir;
    const fs::path file = dir.path() / "luma.ini";
    std::ofstream(file) << "[HOTDLG]\nHOTSET=577\nFIELDNAME=901\nFIELDTEXT=\"##$a\xD0\x9E, 1\"\n"
                           "[SKFPDLG]\nCOUNT=2\nFP000=200\nFP001=700\nUSEFILTER=1\n";
    IniProfile profile(QtPath(file));
    const Settings loaded = LoadSettings(profile);
    EXPECT_EQ(loaded.hotMark, 577);
    EXPECT_EQ(loaded.labelField, "901");
    EXPECT_EQ(loaded.labelText, "##$aО, 1");
    EXPECT_EQ(loaded.filterFields, (std::vector<std::string>{"200", "700"}));
    EXPECT_TRUE(loaded.useFilter);
}

TEST(IniProfile, FailedWriteIsReportedAndLeavesNoFile)
{
    TempDir dir;
    std::ofstream(dir.path() / "LUMA") << "a file where the folder belongs";
    IniProfile profile(QtPath(dir.path() / "LUMA" / "luma.ini"));
    Settings settings;
    const auto error = StoreSettings(settings, profile);
    ASSERT_TRUE(error);
    EXPECT_NE(error->find("luma.ini"), std::string::npos) << *error;
    EXPECT_EQ(FileText(dir.path() / "LUMA"), "a file where the folder belongs");
}

}  // namespace
}  // namespace luma::test
