#include "update_test_support.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProgressBar>
#include <QSslKey>
#include <QTemporaryDir>
#include <QWidget>

#include "app/message_window.h"
#include "app/progress_window.h"

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

void ScriptedUpdatePrompter::Warn(const QString& title, const QString& text)
{
    warningTitles.append(title);
    warnings.append(text);
}

namespace {

bool RunTool(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(program, arguments);
    return process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

QByteArray SignatureOf(const QByteArray& body, const QString& privateKey)
{
    const QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("installer.exe"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(body) != body.size()) {
        return {};
    }
    file.close();
    if (!RunTool(QStringLiteral(LUMA_SIGN_UPDATE), {privateKey, path})) {
        return {};
    }
    return ReadFile(path + QStringLiteral(".sig"));
}

std::optional<TestCertificate> MakeTestCertificate()
{
    const QTemporaryDir dir;
    const QString key = dir.filePath(QStringLiteral("key.pem"));
    const QString certificate = dir.filePath(QStringLiteral("certificate.pem"));
    if (!RunTool(QStringLiteral("openssl"),
                 {QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"),
                  QStringLiteral("ec"), QStringLiteral("-pkeyopt"),
                  QStringLiteral("ec_paramgen_curve:P-256"), QStringLiteral("-nodes"),
                  QStringLiteral("-days"), QStringLiteral("2"), QStringLiteral("-subj"),
                  QStringLiteral("/CN=127.0.0.1"), QStringLiteral("-addext"),
                  QStringLiteral("subjectAltName=IP:127.0.0.1"), QStringLiteral("-keyout"), key,
                  QStringLiteral("-out"), certificate})) {
        return std::nullopt;
    }
    const QSslCertificate cert(ReadFile(certificate), QSsl::Pem);
    const QSslKey privateKey(ReadFile(key), QSsl::Ec, QSsl::Pem);
    if (cert.isNull() || privateKey.isNull()) {
        return std::nullopt;
    }
    TestCertificate result{QSslConfiguration::defaultConfiguration(),
                           QSslConfiguration::defaultConfiguration()};
    result.server.setLocalCertificate(cert);
    result.server.setPrivateKey(privateKey);
    result.server.setPeerVerifyMode(QSslSocket::VerifyNone);
    result.client.setCaCertificates({cert});
    return result;
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
    app::ProgressWindow* progress = nullptr;
    app::MessageWindow* wait = nullptr;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (!window->isVisible()) {
            continue;
        }
        if (auto* p = qobject_cast<app::ProgressWindow*>(window)) {
            progress = p;
        } else if (auto* m = qobject_cast<app::MessageWindow*>(window)) {
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
