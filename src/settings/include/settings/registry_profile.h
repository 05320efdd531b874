#pragma once
// The settings profile in the Windows registry: HKEY_CURRENT_USER\<key path>\<section>, one
// value per entry; ints as REG_DWORD, strings as REG_SZ through the UTF-16 API, bytes as
// REG_BINARY of their exact length, as the earlier Windows program wrote them. Windows only.

#include <optional>
#include <string>

#include "settings/settings_profile.h"

namespace luma {

class RegistryProfile final : public SettingsProfile {
public:
    // `keyPath` below HKEY_CURRENT_USER, UTF-8, e.g. "Software\\LUMA\\luma".
    explicit RegistryProfile(std::string keyPath);

    // Software\LUMA\<applicationName>.
    static std::string ApplicationKeyPath(const std::string& applicationName);
    // Removes the key with everything below it; an error text when it exists and stays.
    static std::optional<std::string> DeleteKey(const std::string& keyPath);

    std::optional<int> GetInt(std::string_view section, std::string_view entry) override;
    std::optional<std::string> GetString(std::string_view section,
                                         std::string_view entry) override;
    std::optional<SettingsBytes> GetBytes(std::string_view section,
                                          std::string_view entry) override;
    void PutInt(std::string_view section, std::string_view entry, int value) override;
    void PutString(std::string_view section, std::string_view entry,
                   std::string_view utf8) override;
    void PutBytes(std::string_view section, std::string_view entry,
                  const SettingsBytes& bytes) override;
    std::optional<std::string> Flush() override;

private:
    // Keeps the first failed write for Flush.
    void Remember(std::string_view section, std::string_view entry, long status);

    std::string m_keyPath;
    std::optional<std::string> m_firstError;
};

}  // namespace luma
