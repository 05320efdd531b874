#include "app/progress_window.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace luma::app {

ProgressWindow::ProgressWindow(const QString& title, QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      m_bar(new QProgressBar(this)),
      m_cancel(new QPushButton(tr("Отмена"), this))
{
    setWindowTitle(title);
    m_bar->setRange(0, 100);
    m_bar->setValue(0);
    m_bar->setTextVisible(true);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(m_bar);
    layout->addLayout(buttons);

    m_bar->setMinimumWidth(fontMetrics().averageCharWidth() * 48);
    connect(m_cancel, &QPushButton::clicked, this, &ProgressWindow::Cancel);

    adjustSize();
    if (const QScreen* screen = this->screen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
    show();
    m_cancel->setFocus();
}

ProgressWindow::~ProgressWindow() = default;

void ProgressWindow::SetRange(int low, int high)
{
    m_bar->setRange(low, high);
}

int ProgressWindow::SetPos(int position)
{
    const int previous = m_bar->value();
    m_bar->setValue(position);
    return previous;
}

bool ProgressWindow::DestroyWindow()
{
    const bool wasShown = isVisible();
    hide();
    return wasShown;
}

void ProgressWindow::closeEvent(QCloseEvent* event)
{
    // The close box cancels; the window itself goes when the download has stopped.
    event->ignore();
    Cancel();
}

void ProgressWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        Cancel();
        return;
    }
    QWidget::keyPressEvent(event);
}

void ProgressWindow::Cancel()
{
    m_cancelled = true;
    m_cancel->setEnabled(false);
}

}  // namespace luma::app
