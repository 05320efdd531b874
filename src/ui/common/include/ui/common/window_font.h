#pragma once
// The font every window of LUMA shows its texts in: one family that has both Latin and Cyrillic
// letters, since a line such as "Файл: sample     Всего записей: 6" mixes them.

#include <QString>

namespace luma::ui {

// True when `family` has Latin and Cyrillic letters.
bool CoversLatinAndCyrillic(const QString& family);

// Keeps the application's font when it resolves to a family with both scripts; else makes it,
// at its size, a common interface family that has both, or failing those the first family that
// does. Call once at start-up, before the first window.
void ChooseWindowFont();

}  // namespace luma::ui
