#include "settings/memory_profile.h"

namespace luma {
namespace {

template <typename T>
std::optional<T> ValueOfKind(const MemoryProfile::Value* value)
{
    if (value == nullptr || !std::holds_alternative<T>(*value)) {
        return std::nullopt;
    }
    return std::get<T>(*value);
}

}  // namespace

const MemoryProfile::Value* MemoryProfile::Find(std::string_view section,
                                                std::string_view entry) const
{
    const auto found = m_values.find(Key{section, entry});
    return found == m_values.end() ? nullptr : &found->second;
}

void MemoryProfile::Put(std::string_view section, std::string_view entry, Value value)
{
    if (m_failWrites) {
        if (!m_firstError) {
            m_firstError = "cannot write " + std::string(section) + "/" + std::string(entry);
        }
        return;
    }
    m_values[Key{section, entry}] = std::move(value);
}

std::optional<int> MemoryProfile::GetInt(std::string_view section, std::string_view entry)
{
    return ValueOfKind<int>(Find(section, entry));
}

std::optional<std::string> MemoryProfile::GetString(std::string_view section,
                                                    std::string_view entry)
{
    return ValueOfKind<std::string>(Find(section, entry));
}

std::optional<SettingsBytes> MemoryProfile::GetBytes(std::string_view section,
                                                     std::string_view entry)
{
    return ValueOfKind<SettingsBytes>(Find(section, entry));
}

void MemoryProfile::PutInt(std::string_view section, std::string_view entry, int value)
{
    Put(section, entry, value);
}

void MemoryProfile::PutString(std::string_view section, std::string_view entry,
                              std::string_view utf8)
{
    Put(section, entry, std::string(utf8));
}

void MemoryProfile::PutBytes(std::string_view section, std::string_view entry,
                             const SettingsBytes& bytes)
{
    Put(section, entry, bytes);
}

std::optional<std::string> MemoryProfile::Flush()
{
    return std::exchange(m_firstError, std::nullopt);
}

void MemoryProfile::Remove(std::string_view section, std::string_view entry)
{
    m_values.erase(Key{section, entry});
}

}  // namespace luma
