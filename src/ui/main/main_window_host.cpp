// What the marking session asks the operator and shows: the main dialog's side of it.

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <utility>

#include "ui/main/main_window.h"
#include "ui/common/prompter.h"
#include "res/resources.h"
#include "ui/main/window_geometry.h"

namespace luma::ui {
namespace {

// The session's texts are UTF-8 with Windows line breaks.
QString FromSession(const std::string& text)
{
    return QString::fromStdString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

std::optional<std::string> ToSession(const std::optional<QString>& path)
{
    if (!path) {
        return std::nullopt;
    }
    return path->toStdString();
}

}  // namespace

// The core's texts are in the catalogue's "luma" context.
std::string MainWindow::Translate(std::string_view text)
{
    return QCoreApplication::translate("luma", std::string(text).c_str()).toStdString();
}

std::optional<std::string> MainWindow::AskOpenPath(const std::string& initialName)
{
    if (m_startPath) {
        return std::exchange(m_startPath, std::nullopt);
    }
    return ToSession(m_prompter.GetOpenFileName(this, FromSession(initialName)));
}

std::optional<std::string> MainWindow::AskResultsPath(const std::string& suggestedName)
{
    return ToSession(m_prompter.GetSaveFileName(this, FromSession(suggestedName)));
}

bool MainWindow::AskYesNo(const std::string& question)
{
    return m_prompter.AskYesNo(this, FromSession(question));
}

Reply MainWindow::AskYesNoCancel(const std::string& question)
{
    return m_prompter.AskYesNoCancel(this, FromSession(question));
}

void MainWindow::ShowMessage(const std::string& text)
{
    m_prompter.ShowMessage(this, FromSession(text));
}

void MainWindow::ReportError(const std::string& text)
{
    m_prompter.ShowError(this, FromSession(text));
}

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

bool MainWindow::ReportProgress(const std::string& caption, std::uint64_t done, std::uint64_t total)
{
    return m_openProgress.Report(FromSession(caption), done, total);
}

void MainWindow::EndProgress()
{
    m_openProgress.End();
}

void MainWindow::ShowBusy(bool busy)
{
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QApplication::restoreOverrideCursor();
    }
}

}  // namespace luma::ui
