#pragma once
// The About box: the application icon and the version.

#include <QDialog>

namespace luma::ui {

class AboutDialog final : public QDialog {
    Q_OBJECT

public:
    explicit AboutDialog(QWidget* parent = nullptr);
};

// "LUMA Version " and the project's version.
QString AboutVersionText();

}  // namespace luma::ui
