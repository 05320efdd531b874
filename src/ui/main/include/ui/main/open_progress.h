#pragma once
// The progress window of a long open: window-modal, with a Cancel button, shown only once the
// open has taken longer than a moment, so that small files open without a flash.

#include <QString>
#include <QtGlobal>
#include <memory>

class QProgressDialog;
class QWidget;

namespace luma::ui {

class OpenProgress {
public:
    explicit OpenProgress(QWidget* parent);
    ~OpenProgress();
    OpenProgress(const OpenProgress&) = delete;
    OpenProgress& operator=(const OpenProgress&) = delete;

    // How long an open runs before the window appears.
    void SetDelay(int milliseconds) { m_delayMs = milliseconds; }
    // Shows `done` of `total`; false once the operator has pressed Cancel.
    bool Report(const QString& caption, quint64 done, quint64 total);
    // Closes the window, if it was shown, and forgets the Cancel.
    void End();

    // The window while an open runs, for tests; null otherwise.
    QProgressDialog* Window() const { return m_window.get(); }

private:
    QWidget* m_parent;
    int m_delayMs = 500;
    std::unique_ptr<QProgressDialog> m_window;
};

}  // namespace luma::ui
