#pragma once
// The settings tests every profile must pass, parameterised by where the profile keeps its
// values. A store can be opened again, as the program's next run opens the same profile.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>

#include "settings/settings.h"

namespace luma::test {

class ProfileStore {
public:
    virtual ~ProfileStore() = default;
    // A new profile object over the stored values; the previous one is gone by then.
    virtual std::unique_ptr<SettingsProfile> Open() = 0;
};

struct ProfileKind {
    std::string name;
    std::function<std::unique_ptr<ProfileStore>()> create;
};

// Names the profile in test output instead of dumping the object's bytes.
inline void PrintTo(const ProfileKind& kind, std::ostream* out)
{
    *out << kind.name;
}

inline std::string ProfileKindName(const testing::TestParamInfo<ProfileKind>& info)
{
    return info.param.name;
}

class SettingsStoreTest : public testing::TestWithParam<ProfileKind> {
protected:
    void SetUp() override
    {
        m_store = GetParam().create();
        m_profile = m_store->Open();
    }
    void TearDown() override
    {
        m_profile.reset();
        m_store.reset();
    }

    SettingsProfile& Profile() { return *m_profile; }
    // Closes the profile and opens it again, as the next run would.
    SettingsProfile& Reopen()
    {
        m_profile.reset();
        m_profile = m_store->Open();
        return *m_profile;
    }
    void Store(Settings& settings) { ASSERT_FALSE(StoreSettings(settings, Profile())); }
    Settings LoadInNextRun() { return LoadSettings(Reopen()); }

private:
    std::unique_ptr<ProfileStore> m_store;
    std::unique_ptr<SettingsProfile> m_profile;
};

}  // namespace luma::test
