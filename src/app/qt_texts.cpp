#include "app/qt_texts.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>

namespace luma::app {

Language ChooseLanguage(const QString& lumaLang, const QString& localeName)
{
    if (lumaLang == u"ru") {
        return Language::Russian;
    }
    if (lumaLang == u"en") {
        return Language::English;
    }
    // "ru_RU.UTF-8@euro" → "ru_RU"; the language is what comes before "_".
    const QString name = localeName.section(u'.', 0, 0).section(u'@', 0, 0);
    const QString language = name.section(u'_', 0, 0).section(u'-', 0, 0);
    if (language.isEmpty() || language == u"C" || language == u"POSIX" || language == u"ru") {
        return Language::Russian;
    }
    return Language::English;
}

Language LanguageOfEnvironment()
{
    QString locale;
#ifdef Q_OS_WIN
    locale = QLocale::system().name();
#else
    // The precedence of the locale categories for messages.
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        locale = qEnvironmentVariable(variable);
        if (!locale.isEmpty()) {
            break;
        }
    }
#endif
    return ChooseLanguage(qEnvironmentVariable("LUMA_LANG"), locale);
}

bool InstallTexts(Language language, QTranslator& qtTexts, QTranslator& lumaTexts)
{
    if (language == Language::Russian) {
        return InstallRussianQtTexts(qtTexts);
    }
    if (!lumaTexts.load(QStringLiteral(":/translations/luma_en.qm"))) {
        return false;
    }
    return QCoreApplication::installTranslator(&lumaTexts);
}

bool InstallRussianQtTexts(QTranslator& translator)
{
    const QLocale russian(QLocale::Russian);
    const QString name = QStringLiteral("qtbase");
    const QString separator = QStringLiteral("_");
    if (!translator.load(russian, name, separator, QStringLiteral(":/translations")) &&
        !translator.load(russian, name, separator,
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        return false;
    }
    return QCoreApplication::installTranslator(&translator);
}

}  // namespace luma::app
