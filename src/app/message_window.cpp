#include "app/message_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

namespace luma::app {

MessageWindow::MessageWindow(const QString& message, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), m_message(message)
{
    // No title bar is shown; the title names the window to the window system.
    setWindowTitle(message);

    auto* frame = new QFrame(this);
    frame->setFrameStyle(QFrame::Panel | QFrame::Raised);
    frame->setLineWidth(2);
    auto* text = new QLabel(message, frame);
    text->setTextFormat(Qt::PlainText);
    text->setAlignment(Qt::AlignCenter);
    QFont font = text->font();
    font.setBold(true);
    text->setFont(font);
    const int margin = fontMetrics().height() * 2;
    auto* inner = new QVBoxLayout(frame);
    inner->setContentsMargins(margin * 2, margin, margin * 2, margin);
    inner->addWidget(text);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(frame);

    adjustSize();
    if (const QScreen* screen = this->screen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    show();
}

MessageWindow::~MessageWindow()
{
    QApplication::restoreOverrideCursor();
}

QString MessageWindow::Message() const
{
    return m_message;
}

void MessageWindow::closeEvent(QCloseEvent* event)
{
    event->ignore();
}

}  // namespace luma::app
