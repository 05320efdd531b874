#include "update_test_support.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProgressBar>
#include <QWidget>

#include "app/msg_window.h"
#include "app/prog_window.h"

namespace luma::test {

bool ScriptedUpdatePrompter::AskYesNo(const QString& title, const QString& text)
{
    titles.append(title);
    texts.append(text);
    if (answers.empty()) {
        ++unexpected;
        return false;
    }
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
}

QByteArray InstallerScript(const QString& marker, int sleepMs, int exitCode)
{
    const QByteArray path = marker.toUtf8();
    QByteArray script = "#!/bin/sh\n"
                        "printf '%s\\n' \"$0\" > '" + path + ".part'\n"
                        "stat -c %a \"$(dirname \"$0\")\" >> '" + path + ".part'\n"
                        "mv '" + path + ".part' '" + path + "'\n";
    if (sleepMs > 0) {
        script += "sleep " + QByteArray::number(sleepMs / 1000.0, 'f', 3) + "\n";
    }
    script += "exit " + QByteArray::number(exitCode) + "\n";
    return script;
}

QStringList ReadMarker(const QString& marker)
{
    QFile file(marker);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
}

int VisibleWindows()
{
    int count = 0;
    for (const QWidget* window : QApplication::topLevelWidgets()) {
        count += window->isVisible() ? 1 : 0;
    }
    return count;
}

TempFolderScope::TempFolderScope()
    : m_saved(qgetenv("TMPDIR")), m_wasSet(qEnvironmentVariableIsSet("TMPDIR"))
{
    qputenv("TMPDIR", QFile::encodeName(m_dir.path()));
}

TempFolderScope::~TempFolderScope()
{
    if (m_wasSet) {
        qputenv("TMPDIR", m_saved);
    } else {
        qunsetenv("TMPDIR");
    }
}

QStringList TempFolderScope::Entries() const
{
    return QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                        QDir::NoDotAndDotDot);
}

WindowWatcher::WindowWatcher()
{
    connect(&m_timer, &QTimer::timeout, this, &WindowWatcher::Look);
    m_timer.start(5);
}

void WindowWatcher::Look()
{
    app::BProgWindow* progress = nullptr;
    app::BMsg* wait = nullptr;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (!window->isVisible()) {
            continue;
        }
        if (auto* p = qobject_cast<app::BProgWindow*>(window)) {
            progress = p;
        } else if (auto* m = qobject_cast<app::BMsg*>(window)) {
            wait = m;
        }
    }
    if (progress) {
        progressShown = true;
        progressTitle = progress->windowTitle();
        progressMaximum = progress->ProgressBar()->maximum();
        progressValue = progress->ProgressBar()->value();
    }
    if (wait) {
        waitShown = true;
        waitText = wait->Message();
    }
    if (progress && wait) {
        bothShown = true;
    }
    if (progress && onProgress) {
        onProgress(*progress);
    }
    if (wait && onWait) {
        onWait();
    }
}

}  // namespace luma::test
