#include "prog_window.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace luma::app {

BProgWindow::BProgWindow(const QString& title, QWidget* parent)
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
    connect(m_cancel, &QPushButton::clicked, this, &BProgWindow::Cancel);

    adjustSize();
    if (const QScreen* screen = this->screen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
    show();
    m_cancel->setFocus();
}

BProgWindow::~BProgWindow() = default;

void BProgWindow::SetRange(int low, int high)
{
    m_bar->setRange(low, high);
}

int BProgWindow::SetPos(int position)
{
    const int previous = m_bar->value();
    m_bar->setValue(position);
    return previous;
}

bool BProgWindow::DestroyWindow()
{
    const bool wasShown = isVisible();
    hide();
    return wasShown;
}

void BProgWindow::closeEvent(QCloseEvent* event)
{
    // The close box cancels; the window itself goes when the download has stopped.
    event->ignore();
    Cancel();
}

void BProgWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        Cancel();
        return;
    }
    QWidget::keyPressEvent(event);
}

void BProgWindow::Cancel()
{
    m_cancelled = true;
    m_cancel->setEnabled(false);
}

}  // namespace luma::app
