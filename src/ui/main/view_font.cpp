#include "ui/main/view_font.h"

#include <QFontMetricsF>
#include <QString>
#include <algorithm>
#include <cmath>

namespace luma::ui {
namespace {

constexpr std::uint8_t kFixedPitch = 1;  // FIXED_PITCH
constexpr double kPixelsPerPoint = 96.0 / 72.0;

QFont::StyleHint HintOf(std::uint8_t pitchAndFamily)
{
    switch (pitchAndFamily & 0xF0) {
    case 0x10:  // FF_ROMAN
        return QFont::Serif;
    case 0x20:  // FF_SWISS
        return QFont::SansSerif;
    case 0x30:  // FF_MODERN
        return QFont::TypeWriter;
    case 0x40:  // FF_SCRIPT
        return QFont::Cursive;
    case 0x50:  // FF_DECORATIVE
        return QFont::Decorative;
    default:
        return QFont::AnyStyle;
    }
}

int PixelHeight(const QFont& font)
{
    if (font.pixelSize() > 0) {
        return font.pixelSize();
    }
    return static_cast<int>(std::lround(font.pointSizeF() * kPixelsPerPoint));
}

}  // namespace

QFont ToQFont(const LogFont& stored, const QFont& base)
{
    QFont font = base;
    if (!stored.faceName.empty()) {
        font.setFamily(QString::fromStdString(stored.faceName));
    }
    font.setStyleHint(HintOf(stored.pitchAndFamily));
    font.setFixedPitch((stored.pitchAndFamily & 0x03) == kFixedPitch);
    if (stored.height < 0) {
        font.setPixelSize(-stored.height);
    } else if (stored.height > 0) {
        // A positive height is the cell, leading included: the character height is the part
        // of it the font's own proportions give to the em.
        QFont cell = font;
        cell.setPixelSize(stored.height);
        const double cellHeight = QFontMetricsF(cell).height();
        const double em = cellHeight > 0 ? stored.height * stored.height / cellHeight : stored.height;
        font.setPixelSize(std::max(1, static_cast<int>(std::lround(em))));
    }
    font.setWeight(stored.weight <= 0 ? QFont::Normal
                                      : static_cast<QFont::Weight>(std::clamp(stored.weight, 1, 1000)));
    font.setItalic(stored.italic != 0);
    font.setUnderline(stored.underline != 0);
    font.setStrikeOut(stored.strikeOut != 0);
    return font;
}

LogFont FromQFont(const QFont& font, const LogFont& stored, const QFont& base)
{
    if (font == ToQFont(stored, base)) {
        return stored;
    }
    LogFont result = stored;
    result.height = -PixelHeight(font);
    result.weight = font.weight();
    result.italic = font.italic() ? 1 : 0;
    result.underline = font.underline() ? 1 : 0;
    result.strikeOut = font.strikeOut() ? 1 : 0;
    result.faceName = font.family().toStdString();
    return result;
}

}  // namespace luma::ui
