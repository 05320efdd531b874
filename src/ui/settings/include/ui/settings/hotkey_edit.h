#pragma once
// A key-chord editor in place of Windows' hotkey control: the combination pressed in it becomes
// its code (low byte the virtual key, high byte 1 Shift, 2 Ctrl, 4 Alt, 8 extended key), shown
// as text such as "Ctrl+Alt+N". Backspace or Delete alone clears it to 0 ("Нет"); Tab,
// Enter and Esc alone keep their usual meaning. Any key, with or without modifiers, is taken.

#include <QLineEdit>

#include "keys/qt/key_event_code.h"

namespace luma::ui {

class HotkeyEdit final : public QLineEdit {
    Q_OBJECT

public:
    explicit HotkeyEdit(NativeKeys native, QWidget* parent = nullptr);

    // The low 16 bits of what was set or pressed.
    int Code() const { return m_code; }
    void SetCode(int code);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void Show(int code);

    NativeKeys m_native;
    int m_code = 0;
};

}  // namespace luma::ui
