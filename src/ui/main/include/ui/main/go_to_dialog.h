#pragma once
// The go-to dialog: asks for a record number, 1-based as the operator counts.

#include <QDialog>
#include <QString>

class QLineEdit;

namespace luma::ui {

// The number at the start of `text` as C's atoi reads it: leading white space, an optional
// sign, then digits up to the first other character; 0 without digits. Beyond int it saturates.
int LeadingNumber(const QString& text);

class GoToDialog final : public QDialog {
    Q_OBJECT

public:
    explicit GoToDialog(QWidget* parent = nullptr);

    // The number confirmed with OK; read it only after the dialog was accepted.
    int Number() const { return m_number; }
    QLineEdit* NumberEdit() const { return m_numberEdit; }

    void OnOkClicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* m_numberEdit = nullptr;
    int m_number = 0;
};

}  // namespace luma::ui
