#pragma once
// Dialog units, as window templates measure controls: a horizontal unit is a quarter of the
// dialog font's average character width, a vertical unit an eighth of its height.

#include <QFont>
#include <QRect>
#include <QSize>

namespace luma::ui {

struct DialogBaseUnits {
    int x = 0;  // pixels per 4 horizontal units
    int y = 0;  // pixels per 8 vertical units
};

// The average width is that of the Latin letters, rounded as Windows rounds it, so that a
// template laid out for a font keeps its proportions.
DialogBaseUnits BaseUnitsOf(const QFont& font);

QRect MapDialogRect(const DialogBaseUnits& base, int x, int y, int width, int height);
QSize MapDialogSize(const DialogBaseUnits& base, int width, int height);

}  // namespace luma::ui
