#pragma once
// The record view's stored font in Qt's terms. Heights are pixels at 96 DPI both ways, as the
// stored value was written on Windows; fields Qt has no use for are kept from the stored value.

#include <QFont>

#include "settings/log_font.h"

namespace luma::ui {

// `base` gives what the stored value leaves open (a zero height keeps base's size).
QFont ToQFont(const LogFont& stored, const QFont& base);
// `stored` gives the fields QFont has no equivalent for; a font equal to ToQFont(stored, base)
// gives `stored` back unchanged.
LogFont FromQFont(const QFont& font, const LogFont& stored, const QFont& base);

}  // namespace luma::ui
