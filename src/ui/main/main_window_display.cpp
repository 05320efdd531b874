// What the marking session shows: the record, the status line, the indicator, the buttons.

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <utility>

#include "ui/main/main_window.h"
#include "session_text.h"
#include "res/resources.h"
#include "ui/main/window_geometry.h"

namespace luma::ui {

void MainWindow::ShowViewText(const std::string& text)
{
    m_viewEdit->setPlainText(FromSession(text));
}

void MainWindow::ShowStatusText(const std::string& text)
{
    m_statusText = FromSession(text);
    SetStatusLine(QString());
}

void MainWindow::ShowStatusNote(const std::string& note)
{
    SetStatusLine(FromSession(note));
}

// The session's line, then a passing note, then what the operator should know of the file.
void MainWindow::SetStatusLine(const QString& note)
{
    QString line = m_statusText;
    for (const QString& extra : {note, m_damageNote}) {
        if (!extra.isEmpty()) {
            line += QStringLiteral("     ") + extra;
        }
    }
    m_statusLine->setText(line);
    m_statusLine->setCursorPosition(0);
}

// The indicator takes the size of its picture, as a bitmap static control does.
void MainWindow::ShowModified(ModifiedImage image)
{
    switch (image) {
    case ModifiedImage::None:
        m_indicator->clear();
        return;
    case ModifiedImage::NothingUnsaved:
        m_indicator->setPixmap(res::SavedBitmap());
        break;
    case ModifiedImage::Unsaved:
        m_indicator->setPixmap(res::UnsavedBitmap());
        break;
    }
    m_indicator->resize(m_indicator->pixmap().size());
}

void MainWindow::EnableRecordButtons()
{
    SetRecordButtonsEnabled(true);
}

void MainWindow::StoreWindowPlacement()
{
    luma::StoreWindowPlacement(FromQt(PlacementOf(*this, PlacementCoversFrame()), m_storedPlacement), m_profile);
    m_profile.Flush();
}

void MainWindow::SessionEnded()
{
    done(QDialog::Accepted);
}

}  // namespace luma::ui
