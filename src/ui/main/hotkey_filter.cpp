#include "ui/main/hotkey_filter.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <utility>

namespace luma::ui {

HotkeyFilter::HotkeyFilter(std::function<bool()> ready, std::function<void(int id)> run,
                           NativeKeys native, QObject* parent)
    : QObject(parent), m_ready(std::move(ready)), m_run(std::move(run)), m_native(native)
{
    QCoreApplication::instance()->installEventFilter(this);
}

HotkeyFilter::~HotkeyFilter()
{
    QCoreApplication::instance()->removeEventFilter(this);
}

void HotkeyFilter::Arm(const HotkeyCodes& codes)
{
    m_codes = codes;
    m_armed = true;
}

void HotkeyFilter::Disarm()
{
    m_armed = false;
}

// Qt offers every key press first as a ShortcutOverride: accepting it keeps the key from the
// application's shortcuts, and the KeyPress that follows is eaten before the focus widget
// sees it. A key a widget did not take travels up to its parents, and each of them passes
// through here again: the first sight claims it, so the command runs once.
bool HotkeyFilter::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (!m_armed || (type != QEvent::ShortcutOverride && type != QEvent::KeyPress)) {
        return QObject::eventFilter(watched, event);
    }
    const int id = MatchHotkey(m_codes, HotkeyCodeOf(*static_cast<QKeyEvent*>(event), m_native));
    if (id == 0 || !m_ready()) {
        return QObject::eventFilter(watched, event);
    }
    event->accept();
    if (type == QEvent::KeyPress) {
        Run(id, *static_cast<QKeyEvent*>(event));
    }
    return true;
}

bool HotkeyFilter::IsStaleRepeat(const QKeyEvent& event) const
{
    // Quick commands keep up with any repeat rate and are never skipped.
    constexpr qint64 kSlowCommandMs = 20;
    return event.isAutoRepeat() && m_lastRun && m_lastRun->durationMs >= kSlowCommandMs &&
           event.timestamp() < m_lastRun->timestamp + static_cast<quint64>(m_lastRun->durationMs);
}

void HotkeyFilter::Run(int id, const QKeyEvent& event)
{
    if (IsStaleRepeat(event)) {
        return;
    }
    QElapsedTimer clock;
    clock.start();
    m_run(id);
    m_lastRun = LastRun{event.timestamp(), clock.elapsed()};
}

}  // namespace luma::ui
