// The update client against a real HTTP server on 127.0.0.1.

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHostAddress>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>
#include <unistd.h>

#include "app/update_client.h"
#include "test_http_server.h"
#include "update_test_support.h"

using luma::app::UpdateClient;
using luma::test::TempFolderScope;
using luma::test::TestHttpServer;
using Delivery = TestHttpServer::Delivery;

namespace {

const QString kPattern = QStringLiteral("luma*.exe");
const QString kVersion = QStringLiteral("1.0.0.3");

QByteArray Payload(int size)
{
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i) {
        bytes[i] = static_cast<char>('a' + i % 26);
    }
    return bytes;
}

// Progress as the check's callback sees it; can cancel after a number of polls.
struct ProgressLog {
    int calls = 0;
    int polls = 0;
    int lastTotal = 0;
    int lastPosition = 0;
    int cancelAfterPolls = -1;  // -1: never

    static int Callback(void* context, int total, int position)
    {
        auto* log = static_cast<ProgressLog*>(context);
        ++log->calls;
        if (total <= 0 && position <= 0) {
            ++log->polls;
        }
        if (total > 0) {
            log->lastTotal = total;
        }
        if (position > 0) {
            log->lastPosition = position;
        }
        if (log->cancelAfterPolls >= 0 && log->polls > log->cancelAfterPolls) {
            return 1;
        }
        return 0;
    }
};

}  // namespace

class UpdateClientTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TestHttpServer> m_server;
    std::unique_ptr<TempFolderScope> m_temp;

    QUrl Location() const { return QUrl(m_server->Origin() + QStringLiteral("/update/")); }
    QString LocalPath() const { return m_temp->Path() + QStringLiteral("/download/update.exe"); }

    void Publish(const QString& name, const TestHttpServer::Resource& resource)
    {
        m_server->ServeListing("/update/", {name});
        m_server->Serve("/update/" + QUrl::toPercentEncoding(name), resource);
    }

    int Download(UpdateClient& client, ProgressLog& log)
    {
        return client.BGetUpdate(Location(), kPattern, LocalPath(), &ProgressLog::Callback, &log);
    }

private Q_SLOTS:
    void init()
    {
        m_temp = std::make_unique<TempFolderScope>();
        QVERIFY(QDir().mkpath(m_temp->Path() + QStringLiteral("/download")));
        m_server = std::make_unique<TestHttpServer>();
        QVERIFY(m_server->Start());
    }

    void cleanup()
    {
        m_server.reset();
        m_temp.reset();
    }

    void tempPathIsAPrivateFolderOfItsOwn()
    {
        QString path;
        {
            UpdateClient client;
            path = client.BGetTempPath();
            QVERIFY(path.endsWith(u'/'));
            QCOMPARE(client.BGetTempPath(), path);
            QVERIFY(path.startsWith(m_temp->Path() + u'/'));
            struct stat info {};
            QCOMPARE(::lstat(QFile::encodeName(path).constData(), &info), 0);
            QVERIFY(S_ISDIR(info.st_mode));
            QCOMPARE(info.st_mode & 07777, 0700u);
            QCOMPARE(info.st_uid, ::getuid());
            QFile file(path + QStringLiteral("update.exe"));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("x");
        }
        QVERIFY(!QFileInfo::exists(path));
        QCOMPARE(m_temp->Entries(), QStringList{QStringLiteral("download")});
    }

    void noFolderWhereNoneCanBeMade()
    {
        for (const char* folder : {"/nonexistent/folder", "relative"}) {
            qputenv("TMPDIR", folder);
            UpdateClient client;
            QCOMPARE(client.BGetTempPath(), QString());
        }
        QTemporaryDir notAFolder;
        const QString file = notAFolder.filePath(QStringLiteral("file"));
        QFile(file).open(QIODevice::WriteOnly);
        qputenv("TMPDIR", QFile::encodeName(file));
        UpdateClient client;
        QCOMPARE(client.BGetTempPath(), QString());
    }

    void newerInstallerIsReported()
    {
        m_server->ServeListing("/update/", {QStringLiteral("luma-1.0.0.2.exe"),
                                            QStringLiteral("luma_1_0_0_4.exe")});
        UpdateClient client;
        QCOMPARE(client.BCheckUpdate(Location(), kPattern, kVersion), 1);
        QCOMPARE(m_server->Requests(), QList<QByteArray>{"/update/"});
    }

    void sameOrOlderOrUnmatchedIsNothingToInstall()
    {
        UpdateClient client;
        m_server->ServeListing("/update/", {QStringLiteral("luma-1.0.0.3.exe"),
                                            QStringLiteral("luma_1_0_0_3_0.exe"),
                                            QStringLiteral("luma-0.9.exe")});
        QCOMPARE(client.BCheckUpdate(Location(), kPattern, kVersion), 0);
        m_server->ServeListing("/update/", {QStringLiteral("setup-9.exe"),
                                            QStringLiteral("luma-9.msi"), QStringLiteral("luma.exe")});
        QCOMPARE(client.BCheckUpdate(Location(), kPattern, kVersion), 0);
        m_server->ServeListing("/update/", {});
        QCOMPARE(client.BCheckUpdate(Location(), kPattern, kVersion), 0);
    }

    void ownVersionWithoutNumbersChecksNothing()
    {
        m_server->ServeListing("/update/", {QStringLiteral("luma-9.exe")});
        UpdateClient client;
        QVERIFY(client.BCheckUpdate(Location(), kPattern, QStringLiteral("unknown")) < 0);
        QCOMPARE(m_server->Connections(), 0);
    }

    void listingNotFoundOrRefusedIsAFailure()
    {
        UpdateClient client;
        QVERIFY(client.BCheckUpdate(Location(), kPattern, kVersion) < 0);  // 404

        QTcpServer closed;
        QVERIFY(closed.listen(QHostAddress::LocalHost, 0));
        const QUrl refused(QStringLiteral("http://127.0.0.1:%1/update/").arg(closed.serverPort()));
        closed.close();
        QElapsedTimer clock;
        clock.start();
        QVERIFY(client.BCheckUpdate(refused, kPattern, kVersion) < 0);
        QVERIFY(clock.elapsed() < 2000);
    }

    void silentServerIsGivenUpWithinTheLimit()
    {
        m_server->ServeListing("/update/", {QStringLiteral("luma-9.exe")});
        m_server->SetSilent(true);
        UpdateClient::Limits limits;
        limits.check = std::chrono::milliseconds(700);
        UpdateClient client(limits);
        QElapsedTimer clock;
        clock.start();
        QVERIFY(client.BCheckUpdate(Location(), kPattern, kVersion) < 0);
        QVERIFY2(clock.elapsed() >= 650 && clock.elapsed() < 1500,
                 qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(m_server->RequestsFor("/update/"), 1);
    }

    void slowListingCountsAgainstTheLimit()
    {
        TestHttpServer::Resource page;
        page.body = TestHttpServer::ListingPage({QStringLiteral("luma-9.exe")}) + QByteArray(4000, ' ');
        page.delivery = Delivery::Slowly;
        page.chunkSize = 100;
        page.intervalMs = 50;  // 2 s in all
        m_server->Serve("/update/", page);
        UpdateClient::Limits limits;
        limits.check = std::chrono::milliseconds(600);
        UpdateClient client(limits);
        QElapsedTimer clock;
        clock.start();
        QVERIFY(client.BCheckUpdate(Location(), kPattern, kVersion) < 0);
        QVERIFY(clock.elapsed() < 1500);
    }

    void oversizedListingIsRefused()
    {
        TestHttpServer::Resource page;
        page.body = TestHttpServer::ListingPage({QStringLiteral("luma-9.exe")}) + QByteArray(2000, ' ');
        m_server->Serve("/update/", page);
        UpdateClient::Limits limits;
        limits.maxListingSize = 1000;
        UpdateClient client(limits);
        QVERIFY(client.BCheckUpdate(Location(), kPattern, kVersion) < 0);
        limits.maxListingSize = 100000;
        UpdateClient roomier(limits);
        QCOMPARE(roomier.BCheckUpdate(Location(), kPattern, kVersion), 1);
    }

    void redirectIsNotFollowed()
    {
        TestHttpServer elsewhere;
        QVERIFY(elsewhere.Start());
        elsewhere.ServeListing("/update/", {QStringLiteral("luma-9.exe")});
        TestHttpServer::Resource redirect;
        redirect.status = 302;
        redirect.extraHeaders = "Location: " + elsewhere.Origin().toUtf8() + "/update/\r\n";
        m_server->Serve("/update/", redirect);
        UpdateClient client;
        QVERIFY(client.BCheckUpdate(Location(), kPattern, kVersion) < 0);
        QCOMPARE(elsewhere.Connections(), 0);
    }

    void downloadsTheNewestCompleteFile()
    {
        const QByteArray body = Payload(300000);
        TestHttpServer::Resource file;
        file.body = body;
        m_server->ServeListing("/update/", {QStringLiteral("luma-1.0.0.9.exe"),
                                            QStringLiteral("luma-1.0.1.0.exe"),
                                            QStringLiteral("luma-1.0.0.10.exe")});
        m_server->Serve("/update/luma-1.0.1.0.exe", file);
        UpdateClient client;
        ProgressLog log;
        QCOMPARE(Download(client, log), 1);
        QFile stored(LocalPath());
        QVERIFY(stored.open(QIODevice::ReadOnly));
        QCOMPARE(stored.readAll(), body);
        QCOMPARE(m_server->RequestsFor("/update/luma-1.0.1.0.exe"), 1);
        QCOMPARE(m_server->RequestsFor("/update/luma-1.0.0.10.exe"), 0);
        QCOMPARE(log.lastTotal, body.size());
        QCOMPARE(log.lastPosition, body.size());
        QVERIFY(log.polls >= 1);
        // Only the installer is left in the folder: no partial file beside it.
        QCOMPARE(QDir(QFileInfo(LocalPath()).path()).entryList(QDir::Files),
                 QStringList{QStringLiteral("update.exe")});
    }

    void nameIsEncodedInTheRequest()
    {
        TestHttpServer::Resource file;
        file.body = "installer";
        Publish(QStringLiteral("luma 1.0.1 (новая).exe"), file);
        UpdateClient client;
        ProgressLog log;
        QCOMPARE(Download(client, log), 1);
        QVERIFY(!m_server->Requests().last().contains(' '));
        QCOMPARE(QByteArray::fromPercentEncoding(m_server->Requests().last()),
                 "/update/" + QStringLiteral("luma 1.0.1 (новая).exe").toUtf8());
    }

    void withoutAnnouncedLengthTheWholeBodyCounts()
    {
        TestHttpServer::Resource file;
        file.body = Payload(5000);
        file.delivery = Delivery::NoLength;
        Publish(QStringLiteral("luma-2.exe"), file);
        UpdateClient client;
        ProgressLog log;
        QCOMPARE(Download(client, log), 1);
        QCOMPARE(QFileInfo(LocalPath()).size(), 5000);
        QCOMPARE(log.lastTotal, 0);
    }

    void connectionClosedMidwayLeavesNoFile()
    {
        TestHttpServer::Resource file;
        file.body = Payload(200000);
        file.delivery = Delivery::CloseMidway;
        Publish(QStringLiteral("luma-2.exe"), file);
        UpdateClient client;
        ProgressLog log;
        QCOMPARE(Download(client, log), 0);
        QVERIFY(!QFileInfo::exists(LocalPath()));
        QVERIFY(QDir(QFileInfo(LocalPath()).path()).isEmpty());
    }

    void stalledDownloadIsGivenUp()
    {
        TestHttpServer::Resource file;
        file.body = Payload(200000);
        file.delivery = Delivery::StallMidway;
        Publish(QStringLiteral("luma-2.exe"), file);
        UpdateClient::Limits limits;
        limits.stall = std::chrono::milliseconds(500);
        UpdateClient client(limits);
        ProgressLog log;
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(Download(client, log), 0);
        QVERIFY(clock.elapsed() < 3000);
        QVERIFY(!QFileInfo::exists(LocalPath()));
        QVERIFY(QDir(QFileInfo(LocalPath()).path()).isEmpty());
    }

    void cancelIsHeardWhileNothingArrives()
    {
        TestHttpServer::Resource file;
        file.body = Payload(10000);
        file.delivery = Delivery::StallMidway;
        Publish(QStringLiteral("luma-2.exe"), file);
        UpdateClient client;  // the default stall limit is far away
        ProgressLog log;
        log.cancelAfterPolls = 5;
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(Download(client, log), 0);
        QVERIFY(clock.elapsed() < 3000);
        QVERIFY(!QFileInfo::exists(LocalPath()));
    }

    void errorStatusIsAFailure()
    {
        TestHttpServer::Resource file;
        file.body = "<html>Internal error</html>";
        file.status = 500;
        Publish(QStringLiteral("luma-2.exe"), file);
        UpdateClient client;
        ProgressLog log;
        QCOMPARE(Download(client, log), 0);
        QVERIFY(!QFileInfo::exists(LocalPath()));
    }

    void oversizedInstallerIsRefused()
    {
        TestHttpServer::Resource file;
        file.body = Payload(5000);
        Publish(QStringLiteral("luma-2.exe"), file);
        UpdateClient::Limits limits;
        limits.maxInstallerSize = 4999;
        UpdateClient client(limits);
        ProgressLog log;
        QCOMPARE(Download(client, log), 0);
        QVERIFY(!QFileInfo::exists(LocalPath()));

        file.delivery = Delivery::NoLength;  // found out while it arrives
        Publish(QStringLiteral("luma-2.exe"), file);
        QCOMPARE(Download(client, log), 0);
        QVERIFY(!QFileInfo::exists(LocalPath()));
    }

    void fileLeftFromBeforeIsNotTakenForTheDownload()
    {
        QFile stale(LocalPath());
        QVERIFY(stale.open(QIODevice::WriteOnly));
        stale.write("planted");
        stale.close();
        TestHttpServer::Resource file;
        file.body = Payload(5000);
        file.delivery = Delivery::CloseMidway;
        Publish(QStringLiteral("luma-2.exe"), file);
        UpdateClient client;
        ProgressLog log;
        QCOMPARE(Download(client, log), 0);
        QVERIFY(!QFileInfo::exists(LocalPath()));
    }
};

QTEST_GUILESS_MAIN(UpdateClientTest)
#include "update_client_test.moc"
