// Versions in installer names and the program's own.

#include <QRegularExpression>
#include <QTest>

#include "app/update_version.h"

using luma::app::BGetVersion;
using luma::app::CompareVersions;
using luma::app::VersionNumbers;
using luma::app::VersionOf;

class UpdateVersionTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void ownVersionIsTheProjectsFourNumbers()
    {
        QCOMPARE(BGetVersion(), QStringLiteral(LUMA_VERSION));
        QVERIFY(QRegularExpression(QStringLiteral("^\\d+\\.\\d+\\.\\d+\\.\\d+$"))
                    .match(BGetVersion())
                    .hasMatch());
    }

    void groupsOfDigitsAreTheVersion()
    {
        QCOMPARE(*VersionOf(u"luma-1.0.0.3.exe"), (VersionNumbers{1, 0, 0, 3}));
        QCOMPARE(*VersionOf(u"luma_1_0_1_0.exe"), (VersionNumbers{1, 0, 1, 0}));
        QCOMPARE(*VersionOf(u"LUMA-2.10.exe"), (VersionNumbers{2, 10}));
        QCOMPARE(*VersionOf(u"luma-007.exe"), (VersionNumbers{7}));
        QCOMPARE(*VersionOf(u"0.1.0.0"), (VersionNumbers{0, 1, 0, 0}));
        QCOMPARE(*VersionOf(u"luma-18446744073709551615.exe"),
                 (VersionNumbers{18446744073709551615ULL}));
    }

    void noVersionWithoutDigitsOrWithAGroupTooLarge()
    {
        QVERIFY(!VersionOf(u"luma.exe"));
        QVERIFY(!VersionOf(u""));
        QVERIFY(!VersionOf(u"luma-18446744073709551616.exe"));
        QVERIFY(!VersionOf(u"luma-99999999999999999999999.exe"));
        // Digits of other scripts are not version digits.
        QVERIFY(!VersionOf(u"luma-\u0661\u0662.exe"));
    }

    void comparedNumericallyGroupByGroup()
    {
        QVERIFY(CompareVersions({1, 10}, {1, 9}) > 0);
        QVERIFY(CompareVersions({0, 1, 0, 1}, {0, 1, 0, 0}) > 0);
        QVERIFY(CompareVersions({0, 0, 9, 9}, {0, 1, 0, 0}) < 0);
        QVERIFY(CompareVersions({2}, {1, 99, 99, 99}) > 0);
    }

    void missingGroupsCountAsZero()
    {
        QVERIFY(CompareVersions({1, 2}, {1, 2, 0, 0}) == 0);
        QVERIFY(CompareVersions({1, 2, 0, 0, 0}, {1, 2}) == 0);
        QVERIFY(CompareVersions({1, 2, 0, 1}, {1, 2}) > 0);
        QVERIFY(CompareVersions({1, 2}, {1, 2, 0, 1}) < 0);
    }
};

QTEST_GUILESS_MAIN(UpdateVersionTest)
#include "update_version_test.moc"
