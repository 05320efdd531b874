#include "ui/main/main_layout.h"

#include <algorithm>

namespace luma::ui {
namespace {

QRect Place(int x, int y, int width, int height)
{
    return {x, y, std::max(width, 0), std::max(height, 0)};
}

}  // namespace

MainLayout LayOutMainDialog(QSize client, QSize recordButton, QSize commandButton, QSize indicator)
{
    const int w = client.width();
    const int h = client.height();
    MainLayout layout;
    layout.view = Place(10, 10, w - 110, h - 90);
    layout.indicator = Place(10, h - 60, indicator.width(), indicator.height());
    layout.status = Place(10, h - 30, w - 20, 20);
    const int bw = recordButton.width();
    for (int i = 0; i < static_cast<int>(layout.recordButtons.size()); ++i) {
        layout.recordButtons[static_cast<std::size_t>(i)] =
            Place(w - 130 - i * (bw + 5), h - 75, bw, recordButton.height());
    }
    const int ew = commandButton.width();
    const int eh = commandButton.height();
    for (int i = 0; i < static_cast<int>(layout.commandButtons.size()); ++i) {
        layout.commandButtons[static_cast<std::size_t>(i)] = Place(w - ew - 10, 10 + i * (eh + 20), ew, eh);
    }
    return layout;
}

}  // namespace luma::ui
