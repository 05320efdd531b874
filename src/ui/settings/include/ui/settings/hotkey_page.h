#pragma once
// The first page of the settings dialog, "Гор. Клав.": the four hotkeys, the label field's tag
// and text, and whether mark and unmark step on to the next record; below them, the two
// hotkeys that walk the marked records. A passive holder: the
// settings dialog fills it and reads it back at OK.

#include "ui/settings/settings_page.h"
#include "keys/qt/key_event_code.h"

class QCheckBox;
class QLineEdit;

namespace luma::ui {

class HotkeyEdit;

class HotkeyPage final : public SettingsPage {
    Q_OBJECT

public:
    explicit HotkeyPage(NativeKeys native, QWidget* parent = nullptr);

    HotkeyEdit* m_hkMark = nullptr;
    HotkeyEdit* m_hkUnmark = nullptr;
    HotkeyEdit* m_hkNext = nullptr;
    HotkeyEdit* m_hkPrev = nullptr;
    QLineEdit* m_editLabelField = nullptr;
    QLineEdit* m_editLabelText = nullptr;
    QCheckBox* m_checkSetNext = nullptr;
    HotkeyEdit* m_hkNextMarked = nullptr;
    HotkeyEdit* m_hkPrevMarked = nullptr;
};

}  // namespace luma::ui
