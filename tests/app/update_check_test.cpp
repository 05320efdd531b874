// The whole update check against a real HTTP server on 127.0.0.1: what the operator sees, what
// is downloaded, what runs, and that start-up always goes on.

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

#include "app/progress_window.h"
#include "app/update_check.h"
#include "app/update_location.h"
#include "app/update_version.h"
#include "test_http_server.h"
#include "update_key.h"
#include "update_test_support.h"

using luma::app::CheckForUpdate;
using luma::test::InstallerScript;
using luma::test::ReadMarker;
using luma::test::ScriptedUpdatePrompter;
using luma::test::SignatureOf;
using luma::test::TempFolderScope;
using luma::test::TestHttpServer;
using luma::test::VisibleWindows;
using luma::test::WindowWatcher;
using Delivery = TestHttpServer::Delivery;

namespace {

const QString kTestPrivateKey = QStringLiteral(LUMA_TEST_UPDATE_PRIVATE_KEY);

luma::app::UpdateSource SourceAt(const QString& server)
{
    return {server, kUpdateKeyPem};
}

// The own version with its last group raised or lowered by one, as an installer name.
QString InstallerNamed(int step, const QString& separator = QStringLiteral("."))
{
    luma::app::VersionNumbers version = *luma::app::VersionOf(luma::app::BGetVersion());
    version.last() = version.last() + static_cast<quint64>(step < 0 ? 0 : step);
    if (step < 0) {
        // Lower: the first group above 0, less one.
        for (quint64& group : version) {
            if (group > 0) {
                --group;
                break;
            }
        }
    }
    QStringList groups;
    for (const quint64 group : version) {
        groups.append(QString::number(group));
    }
    return QStringLiteral("luma-") + groups.join(separator) + QStringLiteral(".exe");
}

// What the server offers as the installer's signature.
enum class Signed { None, Damaged, AnotherFile, AnotherKey, NotASignature, Good };

// The signature the server offers beside the installer `body`.
QByteArray SignatureFor(Signed kind, const QByteArray& body)
{
    const QByteArray good = SignatureOf(body, kTestPrivateKey);
    if (good.isEmpty()) {
        return {};  // the test fails on the missing signature
    }
    QByteArray damaged = good;
    damaged[damaged.size() - 5] = static_cast<char>(damaged[damaged.size() - 5] ^ 0x20);
    switch (kind) {
    case Signed::None:
        return {};
    case Signed::Damaged:
        return damaged;
    case Signed::AnotherFile:
        return SignatureOf(body + "\n", kTestPrivateKey);
    case Signed::AnotherKey:
        return SignatureOf(body, QStringLiteral(LUMA_OTHER_PRIVATE_KEY));
    case Signed::NotASignature:
        return "<html>404</html>";
    case Signed::Good:
        break;
    }
    return good;
}

}  // namespace

Q_DECLARE_METATYPE(Signed)

class UpdateCheckTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TempFolderScope> m_temp;
    std::unique_ptr<TestHttpServer> m_server;
    std::unique_ptr<QTemporaryDir> m_markers;
    ScriptedUpdatePrompter m_prompter;
    QSslConfiguration m_tls = QSslConfiguration::defaultConfiguration();

    QString Marker() const { return m_markers->filePath(QStringLiteral("installer-ran")); }

    // Publishes `newest` with the installer script, beside older names, and beside it
    // `signature`: by default the test key's signature of the installer; none when empty.
    void PublishInstaller(const TestHttpServer::Resource& resource,
                          const QString& newest = InstallerNamed(1),
                          std::optional<QByteArray> signature = std::nullopt)
    {
        if (!signature) {
            signature = SignatureOf(resource.body, kTestPrivateKey);
            QVERIFY(!signature->isEmpty());
        }
        m_server->ServeListing("/update/", {InstallerNamed(0), newest, InstallerNamed(-1),
                                            QStringLiteral("readme.txt")});
        m_server->Serve("/update/" + newest.toUtf8(), resource);
        if (!signature->isEmpty()) {
            TestHttpServer::Resource file;
            file.body = *signature;
            m_server->Serve("/update/" + newest.toUtf8() + ".sig", file);
        }
    }

    TestHttpServer::Resource Installer(int sleepMs = 0)
    {
        TestHttpServer::Resource installer;
        installer.body = InstallerScript(Marker(), sleepMs);
        return installer;
    }

    void Check() { CheckForUpdate({m_server->Origin(), kUpdateKeyPem, m_tls}, m_prompter); }

    // Nothing of the check is left: no window, no folder, no file.
    void VerifyNoTrace()
    {
        QCOMPARE(VisibleWindows(), 0);
        QVERIFY2(m_temp->Entries().isEmpty(), qPrintable(m_temp->Entries().join(u' ')));
    }

private Q_SLOTS:
    void init()
    {
        m_markers = std::make_unique<QTemporaryDir>();
        m_temp = std::make_unique<TempFolderScope>();
        m_server = std::make_unique<TestHttpServer>();
        QVERIFY(m_server->Start());
        m_prompter = ScriptedUpdatePrompter();
        m_tls = QSslConfiguration::defaultConfiguration();
    }

    void cleanup()
    {
        QCOMPARE(m_prompter.unexpected, 0);
        m_server.reset();
        m_markers.reset();
        m_temp.reset();
    }

    void noServerMeansNoCheckAndNoNetwork()
    {
        m_server->ServeListing("/update/", {InstallerNamed(1)});
        WindowWatcher watcher;
        QElapsedTimer clock;
        clock.start();
        CheckForUpdate(SourceAt(QString()), m_prompter);
        CheckForUpdate(SourceAt(QStringLiteral("   ")), m_prompter);
        QVERIFY(clock.elapsed() < 200);
        QVERIFY(m_prompter.titles.isEmpty());
        QCOMPARE(m_server->Connections(), 0);
        // Not even the temporary folder was made.
        VerifyNoTrace();
    }

    void malformedServerMeansNoCheck()
    {
        m_server->ServeListing("/update/", {InstallerNamed(1)});
        const QString port = QString::number(m_server->Port());
        for (const QString& server : QStringList{QStringLiteral("127.0.0.1:") + port, QStringLiteral("ftp://127.0.0.1:") + port,
              QStringLiteral("http://127.0.0.1:") + port + QStringLiteral("/update/"),
              QStringLiteral("http://user@127.0.0.1:") + port,
              QStringLiteral("http://127.0.0.1:") + port + QStringLiteral("?x")}) {
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("no update check")));
            CheckForUpdate(SourceAt(server), m_prompter);
        }
        QVERIFY(m_prompter.titles.isEmpty());
        QCOMPARE(m_server->Connections(), 0);
        VerifyNoTrace();
    }

    void nothingNewerShowsNothing()
    {
        m_server->ServeListing("/update/", {InstallerNamed(0), InstallerNamed(0, QStringLiteral("_")),
                                            InstallerNamed(-1), QStringLiteral("other-99.exe"),
                                            QStringLiteral("luma-99.zip"), QStringLiteral("luma.exe")});
        WindowWatcher watcher;
        Check();
        QVERIFY(m_prompter.titles.isEmpty());
        QVERIFY(!watcher.progressShown);
        QVERIFY(!watcher.waitShown);
        QCOMPARE(m_server->Requests(), QList<QByteArray>{"/update/"});
        VerifyNoTrace();
    }

    void declinedDownloadsNothing()
    {
        PublishInstaller(Installer());
        m_prompter.answers = {false};
        WindowWatcher watcher;
        Check();
        QCOMPARE(m_prompter.titles, QStringList{QStringLiteral("Новая версия LUMA")});
        QCOMPARE(m_prompter.texts,
                 QStringList{QStringLiteral(
                     "Появилось обновление для программы 'LUMA'.\nВ процессе установки все "
                     "запущенные копии 'LUMA' будут закрыты!\n\nУстанавить сейчас?")});
        QCOMPARE(m_server->Requests(), QList<QByteArray>{"/update/"});
        QVERIFY(!watcher.progressShown);
        QVERIFY(ReadMarker(Marker()).isEmpty());
        VerifyNoTrace();
    }

    void acceptedDownloadsRunsAndDeletes()
    {
        // The separator form of the name does not matter.
        PublishInstaller(Installer(600), InstallerNamed(1, QStringLiteral("_")));
        m_prompter.answers = {true};
        WindowWatcher watcher;
        bool progressGoneWhileWaiting = true;
        QStringList markerWhileWaiting;
        watcher.onWait = [&] {
            markerWhileWaiting = ReadMarker(Marker());
            for (QWidget* window : QApplication::topLevelWidgets()) {
                if (qobject_cast<luma::app::ProgressWindow*>(window) && window->isVisible()) {
                    progressGoneWhileWaiting = false;
                }
            }
        };
        Check();

        QCOMPARE(m_prompter.titles.size(), 1);
        QVERIFY(watcher.progressShown);
        QCOMPARE(watcher.progressTitle, QStringLiteral("Копирование обновления"));
        QVERIFY(watcher.waitShown);
        QCOMPARE(watcher.waitText, QStringLiteral("Обновление программы. ЖДИТЕ..."));
        QVERIFY(!watcher.bothShown);
        QVERIFY(progressGoneWhileWaiting);
        // The wait message was up while the installer ran.
        QCOMPARE(markerWhileWaiting.size(), 2);

        const QStringList marker = ReadMarker(Marker());
        QCOMPARE(marker.size(), 2);
        const QFileInfo ran(marker[0]);
        QCOMPARE(ran.fileName(), QStringLiteral("update.exe"));
        QCOMPARE(ran.dir().dirName().left(12), QStringLiteral("luma-update-"));
        QCOMPARE(ran.dir().path(), QDir(m_temp->Path()).filePath(ran.dir().dirName()));
        QCOMPARE(marker[1], QStringLiteral("700"));
        QCOMPARE(m_server->RequestsFor("/update/" + InstallerNamed(1, QStringLiteral("_")).toUtf8()), 1);
        // Deleted after the run, with its folder.
        QVERIFY(!ran.exists());
        VerifyNoTrace();
    }

    void progressFollowsTheDownload()
    {
        TestHttpServer::Resource installer = Installer();
        installer.body += "# " + QByteArray(60000, 'x') + "\n";
        installer.delivery = Delivery::Slowly;
        installer.chunkSize = 6000;
        installer.intervalMs = 40;
        PublishInstaller(installer);
        m_prompter.answers = {true};
        WindowWatcher watcher;
        int maximum = 0;
        QList<int> values;
        watcher.onProgress = [&](luma::app::ProgressWindow& window) {
            maximum = window.ProgressBar()->maximum();
            if (values.isEmpty() || values.last() != window.ProgressBar()->value()) {
                values.append(window.ProgressBar()->value());
            }
        };
        Check();
        QCOMPARE(maximum, installer.body.size());
        QVERIFY2(values.size() >= 4, qPrintable(QString::number(values.size())));
        QVERIFY(std::is_sorted(values.begin(), values.end()));
        QCOMPARE(ReadMarker(Marker()).size(), 2);
        VerifyNoTrace();
    }

    void cancelDuringASlowDownload()
    {
        TestHttpServer::Resource installer = Installer();
        installer.body += "# " + QByteArray(100000, 'x') + "\n";
        installer.delivery = Delivery::Slowly;
        installer.chunkSize = 1000;
        installer.intervalMs = 20;  // 2 s in all
        PublishInstaller(installer);
        m_prompter.answers = {true};
        WindowWatcher watcher;
        QElapsedTimer sinceCancel;
        watcher.onProgress = [&](luma::app::ProgressWindow& window) {
            if (!sinceCancel.isValid() && window.ProgressBar()->value() > 0) {
                QTest::mouseClick(window.CancelButton(), Qt::LeftButton);
                sinceCancel.start();
            }
        };
        QElapsedTimer clock;
        clock.start();
        Check();
        QVERIFY(sinceCancel.isValid());
        QVERIFY2(sinceCancel.elapsed() < 500, qPrintable(QString::number(sinceCancel.elapsed())));
        QVERIFY(clock.elapsed() < 1800);
        QVERIFY(watcher.progressShown);
        QVERIFY(!watcher.waitShown);
        QVERIFY(ReadMarker(Marker()).isEmpty());
        VerifyNoTrace();
    }

    void connectionClosedMidwayRunsNothing()
    {
        TestHttpServer::Resource installer = Installer();
        installer.body += "# " + QByteArray(50000, 'x') + "\n";
        installer.delivery = Delivery::CloseMidway;
        PublishInstaller(installer);
        m_prompter.answers = {true};
        WindowWatcher watcher;
        Check();
        QVERIFY(!watcher.waitShown);
        QVERIFY(ReadMarker(Marker()).isEmpty());
        VerifyNoTrace();
    }

    void silentServerIsGivenUpWithinFiveSeconds()
    {
        PublishInstaller(Installer());
        m_server->SetSilent(true);
        WindowWatcher watcher;
        QElapsedTimer clock;
        clock.start();
        Check();
        QVERIFY2(clock.elapsed() < 5500, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(m_server->Connections(), 1);
        QVERIFY(m_prompter.titles.isEmpty());
        QVERIFY(!watcher.progressShown);
        VerifyNoTrace();
    }

    // Only the test key's signature of exactly the downloaded file lets it run; anything else
    // is told to the operator, and the download is deleted unrun.
    void onlyTheKeysSignatureOfTheInstallerRuns_data()
    {
        QTest::addColumn<Signed>("kind");
        QTest::addColumn<QString>("warning");
        const QString bad = QString::fromUtf8(luma::app::kUpdateBadSignatureText);
        QTest::newRow("none") << Signed::None << QString::fromUtf8(luma::app::kUpdateUnsignedText);
        QTest::newRow("damaged") << Signed::Damaged << bad;
        QTest::newRow("of another file") << Signed::AnotherFile << bad;
        QTest::newRow("by another key") << Signed::AnotherKey << bad;
        QTest::newRow("not a signature") << Signed::NotASignature << bad;
        QTest::newRow("good") << Signed::Good << QString();
    }

    void onlyTheKeysSignatureOfTheInstallerRuns()
    {
        QFETCH(Signed, kind);
        QFETCH(QString, warning);
        const TestHttpServer::Resource script = Installer();
        const QByteArray signature = SignatureFor(kind, script.body);
        QVERIFY(kind == Signed::None || !signature.isEmpty());
        PublishInstaller(script, InstallerNamed(1), signature);
        m_prompter.answers = {true};
        WindowWatcher watcher;
        Check();
        const QByteArray installer = "/update/" + InstallerNamed(1).toUtf8();
        QCOMPARE(m_server->RequestsFor(installer), 1);
        QCOMPARE(m_server->RequestsFor(installer + ".sig"), 1);
        if (warning.isEmpty()) {
            QCOMPARE(ReadMarker(Marker()).size(), 2);
            QVERIFY(m_prompter.warnings.isEmpty());
        } else {
            QVERIFY(ReadMarker(Marker()).isEmpty());
            QVERIFY(!watcher.waitShown);
            QCOMPARE(m_prompter.warningTitles, QStringList{QStringLiteral("Обновление не установлено")});
            QCOMPARE(m_prompter.warnings, QStringList{warning});
        }
        VerifyNoTrace();
    }

    // https with a certificate of an authority the client trusts works as http does; with any
    // other certificate nothing is read from the server.
    void httpsNeedsATrustedCertificate()
    {
        const std::optional<luma::test::TestCertificate> certificate = luma::test::MakeTestCertificate();
        QVERIFY(certificate);
        m_server = std::make_unique<TestHttpServer>();
        QVERIFY(m_server->Start(certificate->server));
        QVERIFY(m_server->Origin().startsWith(QStringLiteral("https://127.0.0.1:")));
        PublishInstaller(Installer());

        Check();  // the system's authorities only
        QVERIFY(m_prompter.titles.isEmpty());
        QVERIFY(m_server->Requests().isEmpty());
        VerifyNoTrace();

        m_tls = certificate->client;
        m_prompter.answers = {true};
        Check();
        QCOMPARE(m_prompter.titles.size(), 1);
        QCOMPARE(m_server->RequestsFor("/update/" + InstallerNamed(1).toUtf8() + ".sig"), 1);
        QCOMPARE(ReadMarker(Marker()).size(), 2);
        VerifyNoTrace();
    }

    void installerThatCannotRunIsStillDeleted()
    {
        TestHttpServer::Resource installer;
        installer.body = QByteArray("MZ\x90\0\3\0\0\0", 8) + "not for this system";
        PublishInstaller(installer);
        m_prompter.answers = {true};
        Check();
        QCOMPARE(m_server->RequestsFor("/update/" + InstallerNamed(1).toUtf8()), 1);
        VerifyNoTrace();
    }

    void locationIsTheServerWithUpdateFolder()
    {
        using luma::app::UpdateLocation;
        QCOMPARE(UpdateLocation(QStringLiteral("http://updates.example"))->toString(),
                 QStringLiteral("http://updates.example/update/"));
        QCOMPARE(UpdateLocation(QStringLiteral(" http://10.0.0.5:8080/ "))->toString(),
                 QStringLiteral("http://10.0.0.5:8080/update/"));
        QCOMPARE(UpdateLocation(QStringLiteral("https://updates.example:8443"))->toString(),
                 QStringLiteral("https://updates.example:8443/update/"));
        QVERIFY(!UpdateLocation(QString()));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("no update check")));
        QVERIFY(!UpdateLocation(QStringLiteral("http://")));
    }

    void environmentOverridesTheBuiltInServer()
    {
        using luma::app::ConfiguredUpdateServer;
        const QByteArray saved = qgetenv("LUMA_UPDATE_SERVER");
        const bool wasSet = qEnvironmentVariableIsSet("LUMA_UPDATE_SERVER");
        qunsetenv("LUMA_UPDATE_SERVER");
        QCOMPARE(ConfiguredUpdateServer(), QStringLiteral(LUMA_BUILT_IN_UPDATE_SERVER));
        qputenv("LUMA_UPDATE_SERVER", "http://127.0.0.1:1");
        QCOMPARE(ConfiguredUpdateServer(), QStringLiteral("http://127.0.0.1:1"));
        // Set but empty: no update check, whatever was built in.
        qputenv("LUMA_UPDATE_SERVER", "");
        QCOMPARE(ConfiguredUpdateServer(), QString());
        if (wasSet) {
            qputenv("LUMA_UPDATE_SERVER", saved);
        } else {
            qunsetenv("LUMA_UPDATE_SERVER");
        }
    }
};

QTEST_MAIN(UpdateCheckTest)
#include "update_check_test.moc"
