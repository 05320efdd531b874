#include "ui/main/window_operator.h"

#include <QApplication>
#include <QCoreApplication>
#include <utility>

#include "ui/common/prompter.h"
#include "ui/main/open_progress.h"
#include "session_text.h"

namespace luma::ui {
namespace {

std::optional<std::string> ToSession(const std::optional<QString>& path)
{
    if (!path) {
        return std::nullopt;
    }
    return path->toStdString();
}

}  // namespace

WindowOperator::WindowOperator(Prompter& prompter, QWidget& window, OpenProgress& progress)
    : m_prompter(prompter), m_window(window), m_progress(progress)
{
}

// The core's texts are in the catalogue's "luma" context.
std::string WindowOperator::Translate(std::string_view text)
{
    return QCoreApplication::translate("luma", std::string(text).c_str()).toStdString();
}

std::optional<std::string> WindowOperator::AskOpenPath(const std::string& initialName)
{
    if (m_startPath) {
        return std::exchange(m_startPath, std::nullopt);
    }
    return ToSession(m_prompter.GetOpenFileName(&m_window, FromSession(initialName)));
}

std::optional<std::string> WindowOperator::AskResultsPath(const std::string& suggestedName)
{
    return ToSession(m_prompter.GetSaveFileName(&m_window, FromSession(suggestedName)));
}

bool WindowOperator::AskYesNo(const std::string& question)
{
    return m_prompter.AskYesNo(&m_window, FromSession(question));
}

Reply WindowOperator::AskYesNoCancel(const std::string& question)
{
    switch (m_prompter.AskYesNoCancel(&m_window, FromSession(question))) {
    case Answer::Yes:
        return Reply::Yes;
    case Answer::No:
        return Reply::No;
    case Answer::Cancel:
        break;
    }
    return Reply::Cancel;
}

void WindowOperator::ShowMessage(const std::string& text)
{
    m_prompter.ShowMessage(&m_window, FromSession(text));
}

void WindowOperator::ReportError(const std::string& text)
{
    m_prompter.ShowError(&m_window, FromSession(text));
}

bool WindowOperator::ReportProgress(const std::string& caption, std::uint64_t done, std::uint64_t total)
{
    return m_progress.Report(FromSession(caption), done, total);
}

void WindowOperator::EndProgress()
{
    m_progress.End();
}

void WindowOperator::ShowBusy(bool busy)
{
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QApplication::restoreOverrideCursor();
    }
}

}  // namespace luma::ui
