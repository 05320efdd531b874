#pragma once
// The font every window of LUMA shows its texts in: one family that has both Latin and Cyrillic
// letters, since a line such as "Файл: sample     Всего записей: 6" mixes them.

#include <QFont>
#include <QString>
#include <optional>

namespace luma::ui {

// True when `family` has Latin and Cyrillic letters.
bool CoversLatinAndCyrillic(const QString& family);

// The family to show `font`'s texts in instead of the one it resolves to, when that one lacks
// Latin or Cyrillic letters: a common interface font that has both, else the first family that
// does. Nothing when the resolved family has both, or no family has.
std::optional<QString> FamilyForTexts(const QFont& font);

// Makes the application's font one of FamilyForTexts, keeping its size. Call once at start-up,
// before the first window.
void ChooseWindowFont();

}  // namespace luma::ui
