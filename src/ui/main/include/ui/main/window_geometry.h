#pragma once
// The stored window placement in Qt's terms.
//
// Windows keeps the restored window's outer frame, and knows a window's frame before showing
// it. On X11 and Wayland the frame belongs to the window manager and is known only once the
// window is mapped, so a frame stored there could only be turned back into a client area by
// guessing, and a wrong guess grows the window by its frame at every start: there the stored
// rectangle is the client area, which Qt places exactly.

#include <QRect>
#include <Qt>

#include "settings/window_placement.h"

class QWidget;

namespace luma::ui {

struct QtPlacement {
    QRect rect;  // restored (normal) rectangle: the outer frame or the client area, as above
    Qt::WindowStates state;
};

// Whether this platform's stored rectangle is the outer frame.
bool PlacementCoversFrame();

QtPlacement ToQt(const WindowPlacement& placement);
// `stored` gives the fields Qt has no use for (the minimised and maximised positions).
WindowPlacement FromQt(const QtPlacement& placement, const WindowPlacement& stored);

// The window's current placement.
QtPlacement PlacementOf(const QWidget& window, bool coversFrame);
// Moves and sizes a top-level window before it is shown.
void ApplyPlacement(QWidget& window, const QtPlacement& placement, bool coversFrame);

}  // namespace luma::ui
