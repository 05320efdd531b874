#pragma once
// A settings profile held in memory, for tests and for runs that must not touch the user's
// profile. It keeps the kind of every value, as the registry does.

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <variant>

#include "settings/settings_profile.h"

namespace luma {

class MemoryProfile final : public SettingsProfile {
public:
    using Value = std::variant<int, std::string, SettingsBytes>;
    using Key = std::pair<std::string, std::string>;  // section, entry

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

    const std::map<Key, Value>& Values() const { return m_values; }
    void Remove(std::string_view section, std::string_view entry);
    // From now on every write fails and leaves the stored value, as a read-only store would.
    void FailWrites() { m_failWrites = true; }

private:
    const Value* Find(std::string_view section, std::string_view entry) const;
    void Put(std::string_view section, std::string_view entry, Value value);

    std::map<Key, Value> m_values;
    bool m_failWrites = false;
    std::optional<std::string> m_firstError;
};

}  // namespace luma
