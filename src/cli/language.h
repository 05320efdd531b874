#pragma once
// The language luma-cli speaks in a run: the window's rule, in standard C++ (the command line
// has no Qt). Messages and help texts follow it; what goes to standard output never does.

#include <string_view>

namespace luma::cli {

enum class Language { Russian, English };

// LUMA_LANG when it is "ru" or "en"; otherwise the locale: Russian for a Russian one and for
// none at all (empty, "C", "POSIX", "C.UTF-8"), where the operator chose nothing, English for
// any other. `localeName` as POSIX ("ru_RU.UTF-8@euro") or Windows ("ru-RU") writes it.
Language ChooseLanguage(std::string_view lumaLang, std::string_view localeName);

// The choice for this process: LUMA_LANG, then the locale of messages (LC_ALL, LC_MESSAGES,
// LANG; on Windows the user's locale, which is what the window asks Qt for).
Language LanguageOfEnvironment();

}  // namespace luma::cli
