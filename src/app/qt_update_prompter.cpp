#include "qt_update_prompter.h"

#include <QKeyEvent>
#include <QMessageBox>

namespace luma::app {
namespace {

// The question has no way out but its two answers: Esc must not answer No for the operator.
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

}  // namespace

bool QtUpdatePrompter::AskYesNo(const QString& title, const QString& text)
{
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::Yes);
    IgnoreEscape ignoreEscape;
    box.installEventFilter(&ignoreEscape);
    return box.exec() == QMessageBox::Yes;
}

}  // namespace luma::app
