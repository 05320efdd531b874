#pragma once
// The settings profile on platforms without a registry: an INI file through QSettings, one INI
// group per section. Ints are written as numbers and bytes as QByteArray, so that each reads
// back as the kind it was written as.

#include <QSettings>
#include <QString>

#include <memory>
#include <optional>
#include <string>

#include "settings/settings_profile.h"

namespace luma {

class IniProfile final : public SettingsProfile {
public:
    explicit IniProfile(const QString& filePath);

    // $XDG_CONFIG_HOME/LUMA/<applicationName>.ini (~/.config when the variable is unset).
    static QString UserProfilePath(const QString& applicationName);

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
    QSettings m_settings;
};

}  // namespace luma
