// The machine policy that turns the update check off, in the registry as an MSI install writes it.

#include <QCoreApplication>
#include <QSettings>
#include <QTest>

#include "app/update_location.h"

using luma::app::UpdateCheckAllowedByPolicy;

class UpdatePolicyTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void onlyAZeroTurnsTheCheckOff()
    {
#ifndef Q_OS_WIN
        QSKIP("the update policy is a Windows registry value");
#else
        // A key of the test's own below the user's hive (HKLM is the machine's), beside, not
        // below, the keys other tests make and delete meanwhile.
        const QString name = QStringLiteral("LUMA-policy-test-%1").arg(QCoreApplication::applicationPid());
        const QString key = QStringLiteral("HKEY_CURRENT_USER\\Software\\") + name;
        bool absentAllows = false, otherValueAllows = false, zeroTurnsOff = false, oneAllows = false;
        {
            QSettings policy(key, QSettings::Registry64Format);
            absentAllows = UpdateCheckAllowedByPolicy(key);
            policy.setValue(QStringLiteral("Other"), 0);
            policy.sync();
            otherValueAllows = UpdateCheckAllowedByPolicy(key);
            policy.setValue(QStringLiteral("UpdateCheck"), 0);
            policy.sync();
            zeroTurnsOff = !UpdateCheckAllowedByPolicy(key);
            policy.setValue(QStringLiteral("UpdateCheck"), 1);
            policy.sync();
            oneAllows = UpdateCheckAllowedByPolicy(key);
        }
        QSettings(QStringLiteral("HKEY_CURRENT_USER\\Software"), QSettings::Registry64Format).remove(name);
        QVERIFY(absentAllows);
        QVERIFY(otherValueAllows);
        QVERIFY(zeroTurnsOff);
        QVERIFY(oneAllows);
#endif
    }
};

QTEST_GUILESS_MAIN(UpdatePolicyTest)
#include "update_policy_test.moc"
