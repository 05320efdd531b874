#pragma once
// An event filter for Yes/No message boxes: such a box offers no way out but its two answers,
// so Esc must not answer No for the operator.

#include <QEvent>
#include <QKeyEvent>
#include <QObject>

namespace luma::ui {

class IgnoreEscape final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress &&
            static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
            return true;
        }
        return QObject::eventFilter(watched, event);
    }
};

}  // namespace luma::ui
