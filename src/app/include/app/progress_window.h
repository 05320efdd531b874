#pragma once
// The progress window of the installer download: a title, a progress bar and a cancel button.

#include <QWidget>

class QProgressBar;
class QPushButton;

namespace luma::app {

class ProgressWindow final : public QWidget {
    Q_OBJECT

public:
    // Shown at once, in the middle of the screen.
    explicit ProgressWindow(const QString& title, QWidget* parent = nullptr);
    ~ProgressWindow() override;

    void SetRange(int low, int high);
    // The previous position.
    int SetPos(int position);
    // True once the operator has asked to cancel: the cancel button, Esc or the close box.
    bool CheckCancelButton() const { return m_cancelled; }
    // Closes the window; false when it was closed already.
    bool DestroyWindow();

    QProgressBar* ProgressBar() const { return m_bar; }
    QPushButton* CancelButton() const { return m_cancel; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Cancel();

    QProgressBar* m_bar;
    QPushButton* m_cancel;
    bool m_cancelled = false;
};

}  // namespace luma::app
