#include "ui/main/window_geometry.h"

#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

namespace luma::ui {
namespace {

constexpr std::uint32_t kRestoreToMaximized = 2;  // WPF_RESTORETOMAXIMIZED
constexpr std::uint32_t kMinimize = 6;            // SW_MINIMIZE
constexpr std::uint32_t kShowMinNoActive = 7;     // SW_SHOWMINNOACTIVE

}  // namespace

bool PlacementCoversFrame()
{
    const QString platform = QGuiApplication::platformName();
    return platform != QLatin1String("xcb") && !platform.startsWith(QLatin1String("wayland"));
}

QtPlacement ToQt(const WindowPlacement& placement)
{
    const WinRect& r = placement.normalPosition;
    QtPlacement result{QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1)), Qt::WindowNoState};
    switch (placement.showCmd) {
    case kShowMinimized:
    case kMinimize:
    case kShowMinNoActive:
        result.state = Qt::WindowMinimized;
        if (placement.flags & kRestoreToMaximized) {
            result.state |= Qt::WindowMaximized;
        }
        break;
    case kShowMaximized:
        result.state = Qt::WindowMaximized;
        break;
    default:
        break;
    }
    return result;
}

WindowPlacement FromQt(const QtPlacement& placement, const WindowPlacement& stored)
{
    WindowPlacement result;
    result.minPosition = stored.minPosition;
    result.maxPosition = stored.maxPosition;
    if (placement.state & Qt::WindowMinimized) {
        result.showCmd = kShowMinimized;
        if (placement.state & Qt::WindowMaximized) {
            result.flags = kRestoreToMaximized;
        }
    } else if (placement.state & Qt::WindowMaximized) {
        result.showCmd = kShowMaximized;
    }
    const QRect& f = placement.rect;
    result.normalPosition = {f.left(), f.top(), f.left() + f.width(), f.top() + f.height()};
    return result;
}

QtPlacement PlacementOf(const QWidget& window, bool coversFrame)
{
    QRect rect = window.normalGeometry();
    if (coversFrame) {
        const QRect client = window.geometry();
        const QRect frame = window.frameGeometry();
        rect = rect.marginsAdded(QMargins(client.left() - frame.left(), client.top() - frame.top(),
                                          frame.right() - client.right(), frame.bottom() - client.bottom()));
    }
    return {rect, window.windowState()};
}

void ApplyPlacement(QWidget& window, const QtPlacement& placement, bool coversFrame)
{
    window.setWindowState(Qt::WindowNoState);
    if (coversFrame) {
        window.winId();  // the native window knows its frame
        const QMargins margins = window.windowHandle() ? window.windowHandle()->frameMargins() : QMargins();
        window.move(placement.rect.topLeft());
        window.resize(placement.rect.marginsRemoved(margins).size());
    } else {
        window.setGeometry(placement.rect);
    }
    window.setWindowState(placement.state);
}

}  // namespace luma::ui
