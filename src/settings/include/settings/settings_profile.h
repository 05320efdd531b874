#pragma once
// Where settings are kept: sections of named entries holding an int, a string or bytes, as the
// Windows registry keeps them. An entry never written reads as absent, so that the settings can
// tell "absent" (take the default) from any stored value.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace luma {

using SettingsBytes = std::vector<std::uint8_t>;

class SettingsProfile {
public:
    virtual ~SettingsProfile() = default;

    // Nothing when the entry is absent or holds a value of another kind.
    virtual std::optional<int> GetInt(std::string_view section, std::string_view entry) = 0;
    // UTF-8.
    virtual std::optional<std::string> GetString(std::string_view section,
                                                 std::string_view entry) = 0;
    virtual std::optional<SettingsBytes> GetBytes(std::string_view section,
                                                  std::string_view entry) = 0;

    // A failed write leaves the earlier value; the profile remembers the first failure and
    // reports it from Flush.
    virtual void PutInt(std::string_view section, std::string_view entry, int value) = 0;
    virtual void PutString(std::string_view section, std::string_view entry,
                           std::string_view utf8) = 0;
    virtual void PutBytes(std::string_view section, std::string_view entry,
                          const SettingsBytes& bytes) = 0;

    // Makes the writes so far durable. The first failure since the last Flush, if any.
    virtual std::optional<std::string> Flush() = 0;
};

}  // namespace luma
