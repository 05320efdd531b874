#include "ui/common/window_font.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <optional>

// Windows names its dialog font by an alias, "MS Shell Dlg", that the system maps to a real
// family (Tahoma, Segoe UI). Where that family is missing, as in a Wine prefix without Wine's own
// fonts, Qt resolves the alias to the first family it knows: on Debian that is DejaVu Math TeX
// Gyre, which has no Cyrillic. Qt then takes the Cyrillic letters from another family, and a line
// edit sized for the dialog font draws a line that mixes the two nowhere at all, since the math
// font's tall glyph boxes push its text out of the field. One family for both scripts avoids that.

namespace luma::ui {

bool CoversLatinAndCyrillic(const QString& family)
{
    const QList<QFontDatabase::WritingSystem> systems = QFontDatabase::writingSystems(family);
    return systems.contains(QFontDatabase::Latin) && systems.contains(QFontDatabase::Cyrillic);
}

namespace {

// Interface families, in order of preference, that have both scripts where they are installed.
constexpr const char* kPreferredFamilies[] = {
    "Segoe UI", "Tahoma", "Microsoft Sans Serif", "Arial", "DejaVu Sans", "Liberation Sans", "Noto Sans",
};

bool IsTextFamily(const QString& family)
{
    return !QFontDatabase::isFixedPitch(family) && !QFontDatabase::isPrivateFamily(family) &&
           !QFontDatabase::writingSystems(family).contains(QFontDatabase::Symbol);
}

// The family to show `font`'s texts in instead of the one it resolves to; nothing when that one
// has both scripts, or no family has.
std::optional<QString> FamilyForTexts(const QFont& font)
{
    if (CoversLatinAndCyrillic(QFontInfo(font).family())) {
        return std::nullopt;
    }
    for (const char* preferred : kPreferredFamilies) {
        const QString family = QString::fromLatin1(preferred);
        if (QFontDatabase::hasFamily(family) && CoversLatinAndCyrillic(family)) {
            return family;
        }
    }
    for (const QString& family : QFontDatabase::families(QFontDatabase::Cyrillic)) {
        if (CoversLatinAndCyrillic(family) && IsTextFamily(family)) {
            return family;
        }
    }
    return std::nullopt;
}

}  // namespace

void ChooseWindowFont()
{
    QFont font = QApplication::font();
    if (const std::optional<QString> family = FamilyForTexts(font)) {
        font.setFamilies({*family});
        QApplication::setFont(font);
    }
}

}  // namespace luma::ui
