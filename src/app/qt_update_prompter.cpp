#include "app/qt_update_prompter.h"

#include <QMessageBox>

#include "ui/common/ignore_escape.h"

namespace luma::app {

bool QtUpdatePrompter::AskYesNo(const QString& title, const QString& text)
{
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::Yes);
    ui::IgnoreEscape ignoreEscape;
    box.installEventFilter(&ignoreEscape);
    return box.exec() == QMessageBox::Yes;
}

void QtUpdatePrompter::Warn(const QString& title, const QString& text)
{
    QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::Ok);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

}  // namespace luma::app
