// The settings profile in the registry, through the UTF-16 API: REG_SZ values are UTF-16 in the
// registry whichever API wrote them, so text written by an ANSI program reads back correctly.

#include <windows.h>

#include <utility>

#include "settings/registry_profile.h"
#include "platform/wide_text_win32.h"

namespace luma {
namespace {

// An open registry key, closed at the end of its scope.
class Key {
public:
    Key() = default;
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;
    ~Key()
    {
        if (m_handle != nullptr) ::RegCloseKey(m_handle);
    }
    HKEY* Out() { return &m_handle; }
    HKEY Get() const { return m_handle; }

private:
    HKEY m_handle = nullptr;
};

std::string ErrorText(const std::string& what, LSTATUS status)
{
    return what + ": Windows error " + std::to_string(status);
}

struct RawValue {
    DWORD type = REG_NONE;
    std::string bytes;
};

// The value's type and bytes, or nothing when the key or the value is absent.
std::optional<RawValue> QueryValue(const std::wstring& keyPath, std::string_view entry)
{
    Key key;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, keyPath.c_str(), 0, KEY_QUERY_VALUE, key.Out()) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    const std::wstring name = WideFromUtf8(entry);
    RawValue value;
    DWORD size = 0;
    LSTATUS status = ::RegQueryValueExW(key.Get(), name.c_str(), nullptr, &value.type, nullptr,
                                        &size);
    // The value may grow between the two calls: ask again with the new size.
    while (status == ERROR_SUCCESS || status == ERROR_MORE_DATA) {
        value.bytes.resize(size);
        status = ::RegQueryValueExW(key.Get(), name.c_str(), nullptr, &value.type,
                                    reinterpret_cast<BYTE*>(value.bytes.data()), &size);
        if (status == ERROR_SUCCESS) {
            value.bytes.resize(size);
            return value;
        }
    }
    return std::nullopt;
}

// REG_SZ data need not end with a zero, and may hold more than one.
std::string TextOfRegSz(const std::string& bytes)
{
    std::wstring wide(bytes.size() / sizeof(wchar_t), L'\0');
    bytes.copy(reinterpret_cast<char*>(wide.data()), wide.size() * sizeof(wchar_t));
    wide.resize(std::wstring_view(wide.c_str()).size());
    return Utf8FromWide(wide);
}

}  // namespace

RegistryProfile::RegistryProfile(std::string keyPath) : m_keyPath(std::move(keyPath)) {}

std::string RegistryProfile::ApplicationKeyPath(const std::string& applicationName)
{
    return "Software\\LUMA\\" + applicationName;
}

std::optional<std::string> RegistryProfile::DeleteKey(const std::string& keyPath)
{
    const LSTATUS status = ::RegDeleteTreeW(HKEY_CURRENT_USER, WideFromUtf8(keyPath).c_str());
    if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) {
        return ErrorText("cannot delete HKEY_CURRENT_USER\\" + keyPath, status);
    }
    if (status == ERROR_SUCCESS) {
        ::RegDeleteKeyW(HKEY_CURRENT_USER, WideFromUtf8(keyPath).c_str());
    }
    return std::nullopt;
}

std::optional<int> RegistryProfile::GetInt(std::string_view section, std::string_view entry)
{
    const auto value = QueryValue(WideFromUtf8(m_keyPath + "\\" + std::string(section)), entry);
    if (!value || value->type != REG_DWORD || value->bytes.size() != sizeof(DWORD)) {
        return std::nullopt;
    }
    DWORD number = 0;
    value->bytes.copy(reinterpret_cast<char*>(&number), sizeof number);
    return static_cast<int>(number);
}

std::optional<std::string> RegistryProfile::GetString(std::string_view section,
                                                      std::string_view entry)
{
    const auto value = QueryValue(WideFromUtf8(m_keyPath + "\\" + std::string(section)), entry);
    if (!value || value->type != REG_SZ) {
        return std::nullopt;
    }
    return TextOfRegSz(value->bytes);
}

std::optional<SettingsBytes> RegistryProfile::GetBytes(std::string_view section,
                                                       std::string_view entry)
{
    const auto value = QueryValue(WideFromUtf8(m_keyPath + "\\" + std::string(section)), entry);
    if (!value || value->type != REG_BINARY) {
        return std::nullopt;
    }
    return SettingsBytes(value->bytes.begin(), value->bytes.end());
}

namespace {

LSTATUS SetValue(const std::string& keyPath, std::string_view entry, DWORD type,
                 const void* data, std::size_t size)
{
    Key key;
    const LSTATUS status =
        ::RegCreateKeyExW(HKEY_CURRENT_USER, WideFromUtf8(keyPath).c_str(), 0, nullptr,
                          REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr, key.Out(), nullptr);
    if (status != ERROR_SUCCESS) {
        return status;
    }
    return ::RegSetValueExW(key.Get(), WideFromUtf8(entry).c_str(), 0, type,
                            static_cast<const BYTE*>(data), static_cast<DWORD>(size));
}

}  // namespace

void RegistryProfile::PutInt(std::string_view section, std::string_view entry, int value)
{
    const DWORD number = static_cast<DWORD>(value);
    Remember(section, entry,
             SetValue(m_keyPath + "\\" + std::string(section), entry, REG_DWORD, &number,
                      sizeof number));
}

void RegistryProfile::PutString(std::string_view section, std::string_view entry,
                                std::string_view utf8)
{
    const std::wstring wide = WideFromUtf8(utf8);
    // The terminating zero is part of REG_SZ data.
    Remember(section, entry,
             SetValue(m_keyPath + "\\" + std::string(section), entry, REG_SZ, wide.c_str(),
                      (wide.size() + 1) * sizeof(wchar_t)));
}

void RegistryProfile::PutBytes(std::string_view section, std::string_view entry,
                               const SettingsBytes& bytes)
{
    Remember(section, entry,
             SetValue(m_keyPath + "\\" + std::string(section), entry, REG_BINARY, bytes.data(),
                      bytes.size()));
}

std::optional<std::string> RegistryProfile::Flush()
{
    return std::exchange(m_firstError, std::nullopt);
}

void RegistryProfile::Remember(std::string_view section, std::string_view entry, long status)
{
    if (status != ERROR_SUCCESS && !m_firstError) {
        m_firstError = ErrorText("cannot write HKEY_CURRENT_USER\\" + m_keyPath + "\\" +
                                     std::string(section) + " " + std::string(entry),
                                 status);
    }
}

}  // namespace luma
