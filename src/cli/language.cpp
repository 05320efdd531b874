#include "language.h"

#include <cstdlib>
#include <string>

#ifdef _WIN32
#include <windows.h>
#endif

namespace luma::cli {
namespace {

std::string_view BeforeAny(std::string_view text, std::string_view stops)
{
    return text.substr(0, text.find_first_of(stops));
}

#ifdef _WIN32
// The names and values asked for here are ASCII ("ru-RU"); anything else names no language.
std::string Narrow(const wchar_t* text)
{
    std::string narrow;
    for (const wchar_t* c = text; *c != L'\0'; ++c) {
        narrow += *c < 0x80 ? static_cast<char>(*c) : '?';
    }
    return narrow;
}

std::string EnvironmentVariable(const char* name)
{
    const std::wstring wideName(name, name + std::char_traits<char>::length(name));
    wchar_t value[64] = {};
    const DWORD length = ::GetEnvironmentVariableW(wideName.c_str(), value, 64);
    return length == 0 || length >= 64 ? std::string() : Narrow(value);
}
#else
std::string EnvironmentVariable(const char* name)
{
    const char* value = std::getenv(name);
    return value == nullptr ? std::string() : std::string(value);
}
#endif

std::string LocaleOfMessages()
{
#ifdef _WIN32
    wchar_t name[LOCALE_NAME_MAX_LENGTH] = {};
    if (::GetUserDefaultLocaleName(name, LOCALE_NAME_MAX_LENGTH) == 0) {
        return std::string();
    }
    return Narrow(name);
#else
    // The precedence of the locale categories for messages.
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        std::string locale = EnvironmentVariable(variable);
        if (!locale.empty()) {
            return locale;
        }
    }
    return std::string();
#endif
}

}  // namespace

Language ChooseLanguage(std::string_view lumaLang, std::string_view localeName)
{
    if (lumaLang == "ru") {
        return Language::Russian;
    }
    if (lumaLang == "en") {
        return Language::English;
    }
    // "ru_RU.UTF-8@euro" → "ru"; the language is what comes before "_" or "-".
    const std::string_view language = BeforeAny(localeName, "._-@");
    if (language.empty() || language == "C" || language == "POSIX" || language == "ru") {
        return Language::Russian;
    }
    return Language::English;
}

Language LanguageOfEnvironment()
{
    return ChooseLanguage(EnvironmentVariable("LUMA_LANG"), LocaleOfMessages());
}

}  // namespace luma::cli
