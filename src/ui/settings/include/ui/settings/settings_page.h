#pragma once
// A page of the settings dialog: its controls placed in dialog units, as the page's template
// places them. Enter and Esc inside a page close nothing; only the dialog's own buttons do.

#include <QWidget>

#include "ui/common/dialog_units.h"

namespace luma::ui {

class SettingsPage : public QWidget {
    Q_OBJECT

public:
    explicit SettingsPage(QWidget* parent = nullptr);

protected:
    // Puts `widget` at a template rectangle. A text a toolkit font makes wider than the
    // template allowed widens the control rather than being cut.
    template <typename W>
    W* Place(W* widget, int x, int y, int width, int height)
    {
        PlaceWidget(widget, x, y, width, height);
        return widget;
    }
    // A static text or a group box.
    void AddLabel(const QString& text, int x, int y, int width, int height);
    void AddGroupBox(const QString& title, int x, int y, int width, int height);

    void keyPressEvent(QKeyEvent* event) override;

private:
    void PlaceWidget(QWidget* widget, int x, int y, int width, int height);

    DialogBaseUnits m_base;
};

}  // namespace luma::ui
