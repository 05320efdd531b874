#include "ui/settings/hotkey_edit.h"

#include <QCoreApplication>
#include <QKeyEvent>

#include "keys/hotkey_code.h"

namespace luma::ui {

HotkeyEdit::HotkeyEdit(NativeKeys native, QWidget* parent) : QLineEdit(parent), m_native(native)
{
    // Only keys change it: no typing, pasting, dropping or input method.
    setReadOnly(true);
    setContextMenuPolicy(Qt::NoContextMenu);
    setAcceptDrops(false);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    Show(m_code);
}

void HotkeyEdit::SetCode(int code)
{
    m_code = code & 0xFFFF;
    Show(m_code);
}

void HotkeyEdit::Show(int code)
{
    // "Нет" is the core's text, translated as the session's texts are; key names stay as they are.
    setText(QCoreApplication::translate("luma", HotkeyText(code).c_str()));
}

// A combination pressed here is the editor's, before any shortcut of the window can take it.
bool HotkeyEdit::event(QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        const int code = HotkeyCodeOf(*static_cast<QKeyEvent*>(event), m_native);
        if (code != 0 && ClassifyChordKey(code) != ChordKey::PassOn) {
            event->accept();
            return true;
        }
    }
    return QLineEdit::event(event);
}

void HotkeyEdit::keyPressEvent(QKeyEvent* event)
{
    const int code = HotkeyCodeOf(*event, m_native);
    if (code == 0) {
        event->ignore();
        return;
    }
    switch (ClassifyChordKey(code)) {
    case ChordKey::Record:
        SetCode(code);
        break;
    case ChordKey::Clear:
        SetCode(0);
        break;
    case ChordKey::Modifier:
        // While only modifiers are held they are shown, as a promise of the key to come.
        Show(HeldModifiers(code));
        break;
    case ChordKey::PassOn:
        event->ignore();
        return;
    }
    event->accept();
}

void HotkeyEdit::keyReleaseEvent(QKeyEvent* event)
{
    Show(m_code);
    event->accept();
}

void HotkeyEdit::focusOutEvent(QFocusEvent* event)
{
    Show(m_code);
    QLineEdit::focusOutEvent(event);
}

}  // namespace luma::ui
