#pragma once
// The language the window and luma-cli speak in a run: one rule for both.

#include <string_view>

namespace luma {

enum class Language { Russian, English };

// LUMA_LANG when it is "ru" or "en"; otherwise the locale: Russian for a Russian one and for
// none at all (empty, "C", "POSIX", "C.UTF-8"), where the operator chose nothing, English for
// any other. `localeName` as POSIX ("ru_RU.UTF-8@euro") or Windows ("ru-RU") writes it.
inline Language ChooseLanguage(std::string_view lumaLang, std::string_view localeName)
{
    if (lumaLang == "ru") {
        return Language::Russian;
    }
    if (lumaLang == "en") {
        return Language::English;
    }
    // The language is what comes before the territory, the code set and the modifier.
    const std::string_view language = localeName.substr(0, localeName.find_first_of("._-@"));
    if (language.empty() || language == "C" || language == "POSIX" || language == "ru") {
        return Language::Russian;
    }
    return Language::English;
}

}  // namespace luma
