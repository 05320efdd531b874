#pragma once
// The About box: the application icon and the version.

#include <QDialog>

namespace luma::ui {

class CAboutDlg final : public QDialog {
    Q_OBJECT

public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};

// "LUMA Version " and the project's version.
QString AboutVersionText();

}  // namespace luma::ui
