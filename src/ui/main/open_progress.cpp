#include "ui/main/open_progress.h"

#include <QCoreApplication>
#include <algorithm>
#include <QProgressDialog>

namespace luma::ui {
namespace {

// The bar counts in thousandths, whatever the number of records.
constexpr int kSteps = 1000;

int StepOf(quint64 done, quint64 total)
{
    return total == 0 ? 0 : static_cast<int>(std::min(done, total) * kSteps / total);
}

}  // namespace

OpenProgress::OpenProgress(QWidget* parent) : m_parent(parent) {}

OpenProgress::~OpenProgress() = default;

bool OpenProgress::Report(const QString& caption, quint64 done, quint64 total)
{
    if (!m_window) {
        m_window = std::make_unique<QProgressDialog>(
            caption, QCoreApplication::translate("OpenProgress", "Отмена"), 0, kSteps, m_parent);
        m_window->setObjectName(QStringLiteral("openProgress"));
        m_window->setWindowTitle(QCoreApplication::applicationName());
        m_window->setWindowModality(Qt::WindowModal);
        m_window->setAutoClose(false);
        m_window->setAutoReset(false);
        m_window->setMinimumDuration(m_delayMs);
        // The first value starts the clock the delay runs on.
        m_window->setValue(0);
    }
    m_window->setLabelText(caption);
    // Once shown, a modal progress window lets events through here: repaints, and its Cancel.
    m_window->setValue(StepOf(done, total));
    return !m_window->wasCanceled();
}

void OpenProgress::End()
{
    m_window.reset();
}

}  // namespace luma::ui
