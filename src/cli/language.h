#pragma once
// The language luma-cli speaks in a run: the window's rule, in standard C++ (the command line
// has no Qt). Messages and help texts follow it; what goes to standard output never does.

#include "texts/language.h"

namespace luma::cli {

using luma::Language;

// The choice for this process: LUMA_LANG, then the locale of messages (LC_ALL, LC_MESSAGES,
// LANG; on Windows the user's locale, which is what the window asks Qt for).
Language LanguageOfEnvironment();

}  // namespace luma::cli
