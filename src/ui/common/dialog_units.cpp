#include "ui/common/dialog_units.h"

#include <QFontMetrics>
#include <QString>

namespace luma::ui {
namespace {

// Windows' MulDiv for the non-negative values templates hold: rounds halves up.
int MulDiv(int value, int numerator, int denominator)
{
    return (value * numerator * 2 + denominator) / (denominator * 2);
}

}  // namespace

DialogBaseUnits BaseUnitsOf(const QFont& font)
{
    const QFontMetrics metrics(font);
    const int letters =
        metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return {(letters / 26 + 1) / 2, metrics.height()};
}

QRect MapDialogRect(const DialogBaseUnits& base, int x, int y, int width, int height)
{
    return {MulDiv(x, base.x, 4), MulDiv(y, base.y, 8), MulDiv(width, base.x, 4),
            MulDiv(height, base.y, 8)};
}

QSize MapDialogSize(const DialogBaseUnits& base, int width, int height)
{
    return MapDialogRect(base, 0, 0, width, height).size();
}

}  // namespace luma::ui
