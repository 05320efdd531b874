#include "ui/settings/hotkey_page.h"

#include <QCheckBox>
#include <QLineEdit>

#include "ui/settings/hotkey_edit.h"

namespace luma::ui {

// Template 130; the controls are created in tab order, the texts and frames beside them.
HotkeyPage::HotkeyPage(NativeKeys native, QWidget* parent) : SettingsPage(parent)
{
    const auto addHotkey = [&](const char* name, int y) {
        auto* edit = Place(new HotkeyEdit(native, this), 15, y, 80, 14);
        edit->setObjectName(QLatin1String(name));
        return edit;
    };
    m_hkMark = addHotkey("m_hkMark", 29);
    m_hkUnmark = addHotkey("m_hkUnmark", 54);
    m_hkNext = addHotkey("m_hkNext", 79);
    m_hkPrev = addHotkey("m_hkPrev", 104);
    AddGroupBox(tr("Горячие кнопки"), 7, 7, 126, 126);
    AddLabel(tr("Пометить"), 15, 18, 81, 9);
    AddLabel(tr("Снять пометку"), 15, 44, 81, 9);
    AddLabel(tr("Далее"), 15, 69, 81, 9);
    AddLabel(tr("Назад"), 15, 94, 81, 9);

    AddGroupBox(tr("Параметры метки"), 141, 7, 150, 123);
    m_editLabelField = Place(new QLineEdit(this), 147, 29, 108, 14);
    m_editLabelField->setObjectName(QStringLiteral("m_editLabelField"));
    m_editLabelText = Place(new QLineEdit(this), 147, 79, 108, 14);
    m_editLabelText->setObjectName(QStringLiteral("m_editLabelText"));
    AddLabel(tr("Метка поля"), 148, 18, 81, 9);
    AddLabel(tr("Текст метки"), 147, 69, 81, 9);
    m_checkSetNext = Place(new QCheckBox(tr("Переход к следущей записи"), this), 148, 107, 127, 11);
    m_checkSetNext->setObjectName(QStringLiteral("m_checkSetNext"));

    // Added below the page's own controls, after them in the tab order: one row, each hotkey
    // after its caption.
    m_hkNextMarked = Place(new HotkeyEdit(native, this), 62, 149, 80, 14);
    m_hkNextMarked->setObjectName(QStringLiteral("m_hkNextMarked"));
    m_hkPrevMarked = Place(new HotkeyEdit(native, this), 202, 149, 80, 14);
    m_hkPrevMarked->setObjectName(QStringLiteral("m_hkPrevMarked"));
    AddGroupBox(tr("Помеченные записи"), 7, 134, 284, 34);
    AddLabel(tr("Следующая"), 15, 152, 45, 9);
    AddLabel(tr("Предыдущая"), 150, 152, 50, 9);
}

}  // namespace luma::ui
