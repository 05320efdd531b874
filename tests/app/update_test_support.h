#pragma once
// What the update tests share: a scripted answer to the update question, a stand-in installer
// that leaves a marker file, a watch on the windows the check shows, and a temporary folder of
// the test's own.

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>
#include <deque>
#include <functional>
#include <optional>

#include "app/update_prompter.h"

namespace luma::app {
class ProgressWindow;
}

namespace luma::test {

// Answers the update question from a script. A question without a scripted answer is
// answered No and counted in `unexpected`. Warnings are recorded.
class ScriptedUpdatePrompter final : public app::UpdatePrompter {
public:
    std::deque<bool> answers;
    QStringList titles, texts;
    QStringList warningTitles, warnings;
    int unexpected = 0;

    bool AskYesNo(const QString& title, const QString& text) override;
    void Warn(const QString& title, const QString& text) override;
};

// The signature tools/sign-update makes of `body` with the PEM private key at `privateKey`;
// empty when that failed.
QByteArray SignatureOf(const QByteArray& body, const QString& privateKey);

// A self-signed certificate for 127.0.0.1, made with openssl for this run: the server's TLS
// settings, and the client's with this certificate as its only trusted authority.
struct TestCertificate {
    QSslConfiguration server;
    QSslConfiguration client;
};
std::optional<TestCertificate> MakeTestCertificate();

// A shell script served as the installer. When run it writes to `marker` the path it was run
// as, then the mode of its folder (octal, as stat prints it), waits `sleepMs` and ends with
// `exitCode`.
QByteArray InstallerScript(const QString& marker, int sleepMs = 0, int exitCode = 0);

// The marker's lines, or nothing when the installer has not run.
QStringList ReadMarker(const QString& marker);

// The top-level windows visible now.
int VisibleWindows();

// Points TMPDIR (QDir::tempPath) at a new empty folder for the life of this object.
class TempFolderScope {
public:
    TempFolderScope();
    ~TempFolderScope();
    TempFolderScope(const TempFolderScope&) = delete;
    TempFolderScope& operator=(const TempFolderScope&) = delete;

    QString Path() const { return m_dir.path(); }
    // What the folder holds, names only.
    QStringList Entries() const;

private:
    QTemporaryDir m_dir;
    QByteArray m_saved;
    bool m_wasSet;
};

// Looks at the top-level windows every few milliseconds while the event loop runs (the check
// runs its own loops) and records what the operator would have seen.
class WindowWatcher final : public QObject {
    Q_OBJECT

public:
    WindowWatcher();

    bool progressShown = false;
    bool waitShown = false;
    bool bothShown = false;
    QString progressTitle;
    QString waitText;
    int progressMaximum = 0;
    int progressValue = 0;
    // Called at each look while the progress window is visible.
    std::function<void(app::ProgressWindow&)> onProgress;
    // Called at each look while the wait message is visible.
    std::function<void()> onWait;

private:
    void Look();

    QTimer m_timer;
};

}  // namespace luma::test
