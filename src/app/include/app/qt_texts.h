#pragma once
// The window's language and its texts. LUMA's texts are written in Russian, the system's own
// language, and its English catalogue (translations/luma_en.ts) travels in the program's
// resources; Qt's own texts (the buttons of message boxes, the file dialogs, the standard
// context menus) come from Qt's catalogue of the same language, so the window reads as one.

#include <QString>
#include <QTranslator>

namespace luma::app {

enum class Language { Russian, English };

// LUMA_LANG when it is "ru" or "en"; otherwise the locale: Russian for a Russian one and for
// none at all (empty, "C", "POSIX", "C.UTF-8"), where the operator chose nothing, English for
// any other. `localeName` as POSIX ("ru_RU.UTF-8") or Qt ("ru_RU") writes it.
Language ChooseLanguage(const QString& lumaLang, const QString& localeName);

// The choice for this process: LUMA_LANG, then the locale of messages (LC_ALL, LC_MESSAGES,
// LANG on Linux; the user's locale on Windows).
Language LanguageOfEnvironment();

// Installs the texts of `language`: Qt's own into `qtTexts` (Russian from qtbase_ru; Qt's
// built-in texts are English) and LUMA's into `lumaTexts` (English from luma_en; the sources
// are Russian). The translators must outlive the window. False when a catalogue the language
// needs was not found; the texts it would have given stay as written then.
bool InstallTexts(Language language, QTranslator& qtTexts, QTranslator& lumaTexts);

// Loads Qt's Russian texts into `translator` and installs it: from the executable where it
// carries them (the static Windows build), else from the system's Qt. False when neither has
// them; Qt's English texts stay then.
bool InstallRussianQtTexts(QTranslator& translator);

}  // namespace luma::app
