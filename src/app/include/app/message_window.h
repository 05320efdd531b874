#pragma once
// A message shown while the program waits for something outside it, such as an installer.

#include <QWidget>

namespace luma::app {

class MessageWindow final : public QWidget {
    Q_OBJECT

public:
    // Shown at once, in the middle of the screen, with a wait cursor over the program's
    // windows, until it is destroyed. The operator cannot close it.
    explicit MessageWindow(const QString& message, QWidget* parent = nullptr);
    ~MessageWindow() override;

    QString Message() const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QString m_message;
};

}  // namespace luma::app
