// Start-up: the update check runs first, and the main dialog follows whatever it did.

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "app/luma_app.h"
#include "app/update_version.h"
#include "test_http_server.h"
#include "ui/main/main_window.h"
#include "update_key.h"
#include "update_test_support.h"

using luma::test::InstallerScript;
using luma::test::ReadMarker;
using luma::test::ScriptedUpdatePrompter;
using luma::test::SignatureOf;
using luma::test::TempFolderScope;
using luma::test::TestHttpServer;

namespace {

QString NewerInstaller()
{
    luma::app::VersionNumbers version = *luma::app::VersionOf(luma::app::BGetVersion());
    ++version.last();
    QStringList groups;
    for (const quint64 group : version) {
        groups.append(QString::number(group));
    }
    return QStringLiteral("luma-") + groups.join(u'.') + QStringLiteral(".exe");
}

luma::ui::MainWindow* VisibleMainDialog()
{
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* dialog = qobject_cast<luma::ui::MainWindow*>(window); dialog && dialog->isVisible()) {
            return dialog;
        }
    }
    return nullptr;
}

}  // namespace

class LumaAppTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_config;
    std::unique_ptr<TempFolderScope> m_temp;
    std::unique_ptr<TestHttpServer> m_server;
    std::unique_ptr<QTemporaryDir> m_markers;

    QString Marker() const { return m_markers->filePath(QStringLiteral("installer-ran")); }

    // Runs start-up; when the main dialog shows, notes what the installer had done by then and
    // ends the dialog with Esc. What the marker held when the main dialog appeared.
    QStringList StartUp(ScriptedUpdatePrompter& prompter, int& status)
    {
        QStringList markerAtMainDialog;
        bool mainShown = false;
        QTimer poll;
        connect(&poll, &QTimer::timeout, this, [&] {
            luma::ui::MainWindow* dialog = VisibleMainDialog();
            if (!dialog || mainShown) {
                return;
            }
            mainShown = true;
            markerAtMainDialog = ReadMarker(Marker());
            QTest::keyClick(dialog, Qt::Key_Escape);
        });
        poll.start(10);
        // A main dialog that never shows ends the test by its time limit.
        status = luma::app::LumaApp(std::nullopt, prompter, kUpdateKeyPem).Start();
        if (!mainShown) {
            markerAtMainDialog = QStringList{QStringLiteral("main dialog never shown")};
        }
        return markerAtMainDialog;
    }

private Q_SLOTS:
    void initTestCase()
    {
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config.path()));
    }

    void init()
    {
        m_markers = std::make_unique<QTemporaryDir>();
        m_temp = std::make_unique<TempFolderScope>();
        m_server = std::make_unique<TestHttpServer>();
        QVERIFY(m_server->Start());
        TestHttpServer::Resource installer;
        installer.body = InstallerScript(Marker(), 300);
        m_server->ServeListing("/update/", {NewerInstaller()});
        m_server->Serve("/update/" + NewerInstaller().toUtf8(), installer);
        TestHttpServer::Resource signature;
        signature.body = SignatureOf(installer.body, QStringLiteral(LUMA_TEST_UPDATE_PRIVATE_KEY));
        m_server->Serve("/update/" + NewerInstaller().toUtf8() + ".sig", signature);
    }

    void cleanup()
    {
        qunsetenv("LUMA_UPDATE_SERVER");
        m_server.reset();
        m_markers.reset();
        m_temp.reset();
    }

    void installerRunsBeforeTheMainDialog()
    {
        qputenv("LUMA_UPDATE_SERVER", m_server->Origin().toUtf8());
        ScriptedUpdatePrompter prompter;
        prompter.answers = {true};
        int status = -1;
        const QStringList marker = StartUp(prompter, status);
        QCOMPARE(status, 0);
        QCOMPARE(prompter.titles, QStringList{QStringLiteral("Новая версия LUMA")});
        QCOMPARE(marker.size(), 2);
        QVERIFY(marker[0].endsWith(QStringLiteral("/update.exe")));
        QVERIFY2(m_temp->Entries().isEmpty(), qPrintable(m_temp->Entries().join(u' ')));
    }

    void emptyServerSettingMakesNoConnection()
    {
        qputenv("LUMA_UPDATE_SERVER", "");
        ScriptedUpdatePrompter prompter;
        int status = -1;
        QCOMPARE(StartUp(prompter, status), QStringList());
        QCOMPARE(status, 0);
        QVERIFY(prompter.titles.isEmpty());
        QCOMPARE(m_server->Connections(), 0);
    }
};

QTEST_MAIN(LumaAppTest)
#include "luma_app_test.moc"
