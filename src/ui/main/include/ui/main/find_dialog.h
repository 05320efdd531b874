#pragma once
// "Найти": the text to find, the one field to look in, whether case counts and whether diacritics
// do. The window runs the search the operator chose a direction for, and F3 / Shift+F3 repeat it;
// the choices stay for the next find until the program ends.

#include <QDialog>

#include "records/record_find.h"

class QCheckBox;
class QLineEdit;

namespace luma::ui {

class FindDialog final : public QDialog {
    Q_OBJECT

public:
    FindDialog(const FindQuery& last, QWidget* parent = nullptr);

    FindQuery Query() const;
    FindDirection Direction() const { return m_direction; }

    QLineEdit* TextEdit() const { return m_editText; }
    QLineEdit* FieldEdit() const { return m_editField; }
    QCheckBox* CaseCheck() const { return m_checkCase; }
    QCheckBox* DiacriticsCheck() const { return m_checkDiacritics; }

private:
    void FindIn(FindDirection direction);

    QLineEdit* m_editText = nullptr;
    QLineEdit* m_editField = nullptr;
    QCheckBox* m_checkCase = nullptr;
    QCheckBox* m_checkDiacritics = nullptr;
    FindDirection m_direction = FindDirection::Forward;
};

}  // namespace luma::ui
