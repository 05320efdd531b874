#include "qt_texts.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>

namespace luma::app {

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
