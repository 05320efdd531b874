#pragma once
// Where the main dialog's controls go for a client area of a given size: the record view fills
// the upper left, the status line runs along the bottom, the modified indicator and the row of
// record buttons sit between them, and the command buttons stack at the upper right.

#include <QRect>
#include <QSize>
#include <array>

namespace luma::ui {

struct MainLayout {
    QRect view;
    QRect indicator;
    QRect status;
    // Right to left: last, go to, next, unmark, mark, previous, first.
    std::array<QRect, 7> recordButtons;
    // Top to bottom: exit, open, settings, save.
    std::array<QRect, 4> commandButtons;
};

// Every record button takes `recordButton`'s size and every command button `commandButton`'s;
// the indicator keeps its own. Extents that come out negative in a tiny client area are zero.
MainLayout LayOutMainDialog(QSize client, QSize recordButton, QSize commandButton, QSize indicator);

}  // namespace luma::ui
