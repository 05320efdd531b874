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
        // A key of the test's own below the user's hive: HKLM is the machine's.
        const QString key = QStringLiteral("HKEY_CURRENT_USER\\Software\\LUMA-tests\\Policy-%1")
                                .arg(QCoreApplication::applicationPid());
        QSettings policy(key, QSettings::Registry64Format);
        QVERIFY(UpdateCheckAllowedByPolicy(key));  // no key at all
        policy.setValue(QStringLiteral("Other"), 0);
        policy.sync();
        QVERIFY(UpdateCheckAllowedByPolicy(key));  // the key, not the value
        policy.setValue(QStringLiteral("UpdateCheck"), 0);
        policy.sync();
        const bool offAtZero = !UpdateCheckAllowedByPolicy(key);
        policy.setValue(QStringLiteral("UpdateCheck"), 1);
        policy.sync();
        const bool onAtOne = UpdateCheckAllowedByPolicy(key);
        policy.clear();
        policy.sync();
        QSettings(QStringLiteral("HKEY_CURRENT_USER\\Software"), QSettings::Registry64Format)
            .remove(QStringLiteral("LUMA-tests"));
        QVERIFY(offAtZero);
        QVERIFY(onAtOne);
#endif
    }
};

QTEST_GUILESS_MAIN(UpdatePolicyTest)
#include "update_policy_test.moc"
