#include "ui/settings/settings_page.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <algorithm>

namespace luma::ui {

SettingsPage::SettingsPage(QWidget* parent) : QWidget(parent), m_base(BaseUnitsOf(font())) {}

void SettingsPage::PlaceWidget(QWidget* widget, int x, int y, int width, int height)
{
    QRect rect = MapDialogRect(m_base, x, y, width, height);
    if (qobject_cast<QLabel*>(widget) || qobject_cast<QCheckBox*>(widget)) {
        rect.setWidth(std::max(rect.width(), widget->sizeHint().width()));
        rect.setHeight(std::max(rect.height(), widget->sizeHint().height()));
    }
    widget->setGeometry(rect);
}

void SettingsPage::AddLabel(const QString& text, int x, int y, int width, int height)
{
    Place(new QLabel(text, this), x, y, width, height);
}

// Group boxes are drawn behind the controls they frame and take no clicks from them.
void SettingsPage::AddGroupBox(const QString& title, int x, int y, int width, int height)
{
    auto* box = Place(new QGroupBox(title, this), x, y, width, height);
    box->lower();
}

void SettingsPage::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        event->accept();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

}  // namespace luma::ui
