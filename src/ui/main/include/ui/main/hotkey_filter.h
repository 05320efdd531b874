#pragma once
// The four hotkeys, application-wide: a key filter on the application sees every key before
// the widget with the focus does, claims a combination that answers to an armed hotkey (so an
// edit box never types it) and runs its command. Armed and disarmed by the main dialog at the
// moments Windows would register and unregister system-wide hotkeys.

#include <QObject>

class QKeyEvent;
#include <functional>
#include <optional>

#include "keys/qt/key_event_code.h"
#include "keys/hotkey_code.h"

namespace luma::ui {

class HotkeyFilter final : public QObject {
    Q_OBJECT

public:
    // `ready` says whether a hotkey may run now; when it may not, its keys reach the widgets
    // as any other key. `run` gets the hotkey id, once per press and per key repeat that did
    // not come in while a slow command ran.
    HotkeyFilter(std::function<bool()> ready, std::function<void(int id)> run,
                 NativeKeys native, QObject* parent);
    ~HotkeyFilter() override;

    // Takes the codes as they are now; arming again replaces them.
    void Arm(const HotkeyCodes& codes);
    void Disarm();
    bool IsArmed() const { return m_armed; }
    const HotkeyCodes& ArmedCodes() const { return m_codes; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // A key held down repeats faster than a slow command (a mark on a large file) runs; the
    // repeats that came in while it ran are dropped, so that marking stops when the key is let
    // go instead of working through a backlog.
    bool IsStaleRepeat(const QKeyEvent& event) const;
    void Run(int id, const QKeyEvent& event);

    struct LastRun {
        quint64 timestamp = 0;  // of the key event, in the window system's milliseconds
        qint64 durationMs = 0;
    };

    std::function<bool()> m_ready;
    std::function<void(int)> m_run;
    NativeKeys m_native;
    bool m_armed = false;
    HotkeyCodes m_codes{};
    std::optional<LastRun> m_lastRun;
};

}  // namespace luma::ui
