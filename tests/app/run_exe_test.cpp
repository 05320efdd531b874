// Running the downloaded installer: directly, never through a shell, and waiting for its end.

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "app/run_exe.h"
#include "update_test_support.h"

using luma::app::BRunExe;
using luma::test::InstallerScript;
using luma::test::ReadMarker;

class RunExeTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    QString Write(const QString& name, const QByteArray& content)
    {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size()) {
            return {};
        }
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        return path;
    }

private Q_SLOTS:
    void runsTheFileAndWaitsForItsEnd()
    {
        const QString marker = m_dir.filePath(QStringLiteral("marker"));
        const QString installer =
            Write(QStringLiteral("update.exe"), InstallerScript(marker, 400, 7));
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(BRunExe(installer), std::optional<int>(7));
        QVERIFY(clock.elapsed() >= 400);
        QCOMPARE(ReadMarker(marker).value(0), installer);
        // Made executable for this user only.
        QCOMPARE(QFileInfo(installer).permissions() & (QFile::ExeGroup | QFile::ExeOther |
                                                         QFile::WriteGroup | QFile::WriteOther),
                 QFile::Permissions());
        QVERIFY(QFileInfo(installer).permissions() & QFile::ExeOwner);
    }

    void eventsGoOnWhileItRuns()
    {
        const QString installer = Write(QStringLiteral("update.exe"),
                                        InstallerScript(m_dir.filePath(QStringLiteral("m")), 500));
        int ticks = 0;
        QTimer timer;
        connect(&timer, &QTimer::timeout, this, [&ticks] { ++ticks; });
        timer.start(20);
        QCOMPARE(BRunExe(installer), std::optional<int>(0));
        QVERIFY2(ticks >= 10, qPrintable(QString::number(ticks)));
    }

    void noShellReadsThePathOrTheFile()
    {
        // Shell syntax in the folder's name stays part of the name.
        const QString folder = m_dir.filePath(QStringLiteral("a b;touch pwned $(touch pwned2)"));
        QVERIFY(QDir().mkpath(folder));
        const QString marker = m_dir.filePath(QStringLiteral("marker"));
        const QString path = folder + QStringLiteral("/update.exe");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(InstallerScript(marker));
        file.close();
        QCOMPARE(BRunExe(path), std::optional<int>(0));
        QCOMPARE(ReadMarker(marker).value(0), path);
        QVERIFY(!QFileInfo::exists(QDir::current().filePath(QStringLiteral("pwned"))));
        QVERIFY(!QFileInfo::exists(QDir::current().filePath(QStringLiteral("pwned2"))));

        // A text without "#!" is no program: a shell would run it, exec does not.
        const QString marker2 = m_dir.filePath(QStringLiteral("marker2"));
        const QString text =
            Write(QStringLiteral("text.exe"), "echo ran > '" + marker2.toUtf8() + "'\n");
        QCOMPARE(BRunExe(text), std::nullopt);
        QVERIFY(!QFileInfo::exists(marker2));
    }

    void aBareNameIsNotLookedUpInPath()
    {
        // "true" is in PATH; as a file name it means ./true, which is not there.
        QVERIFY(!QFileInfo::exists(QStringLiteral("true")));
        QCOMPARE(BRunExe(QStringLiteral("true")), std::nullopt);
    }

    void missingFileDoesNotRun()
    {
        QCOMPARE(BRunExe(m_dir.filePath(QStringLiteral("missing.exe"))), std::nullopt);
    }

    void itsInputIsEmpty()
    {
        // An installer that reads its input must not wait for an operator who cannot type.
        const QString installer = Write(QStringLiteral("read.exe"), "#!/bin/sh\nread line\nexit 3\n");
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(BRunExe(installer), std::optional<int>(3));
        QVERIFY(clock.elapsed() < 5000);
    }
};

QTEST_GUILESS_MAIN(RunExeTest)
#include "run_exe_test.moc"
