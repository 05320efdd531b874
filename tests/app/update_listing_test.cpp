// Reading installer names from the index pages of ordinary HTTP servers.

#include <QTest>

#include "app/update_listing.h"
#include "test_http_server.h"

using luma::app::FileUrl;
using luma::app::ListedFileNames;
using luma::app::NewestInstaller;
using luma::app::VersionNumbers;

namespace {

const QUrl kLocation(QStringLiteral("http://updates.example:8080/update/"));

QStringList Names(const char* page)
{
    return ListedFileNames(QByteArray(page), kLocation);
}

}  // namespace

class UpdateListingTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void pythonHttpServerPage()
    {
        const QByteArray page = luma::test::TestHttpServer::ListingPage(
            {QStringLiteral("luma-1.0.0.3.exe"), QStringLiteral("luma 2 (копия).exe"),
             QStringLiteral("a&b.txt")});
        QCOMPARE(ListedFileNames(page, kLocation),
                 (QStringList{QStringLiteral("luma-1.0.0.3.exe"),
                              QStringLiteral("luma 2 (копия).exe"), QStringLiteral("a&b.txt")}));
    }

    void apacheAndNginxPages()
    {
        // Apache: sort links with queries, the parent folder, an icon table.
        QCOMPARE(Names("<table><tr><th><a href=\"?C=N;O=D\">Name</a></th></tr>"
                       "<tr><td><a href=\"/\">Parent Directory</a></td></tr>"
                       "<tr><td><img src=\"/icons/unknown.gif\"></td>"
                       "<td><a href=\"luma-1.0.0.4.exe\">luma-1.0.0.4.exe</a></td></tr></table>"),
                 QStringList{QStringLiteral("luma-1.0.0.4.exe")});
        // nginx: the parent folder and a sub-folder.
        QCOMPARE(Names("<pre><a href=\"../\">../</a>\n<a href=\"old/\">old/</a>\n"
                       "<a href=\"luma_1_0_1_0.exe\">luma_1_0_1_0.exe</a> 07-Dec-2026 08:00 10\n"
                       "</pre>"),
                 QStringList{QStringLiteral("luma_1_0_1_0.exe")});
    }

    void iisPageWithAbsolutePathsAndCapitals()
    {
        QCOMPARE(Names("<pre><A HREF=\"/\">[To Parent Directory]</A><br><br>"
                       " 7.12.2026 8:00 10 <A HREF=\"/update/luma-1.2.exe\">luma-1.2.exe</A><br>"
                       " 7.12.2026 8:00 10 <a HREF='/update/LUMA-1.3.EXE'>LUMA-1.3.EXE</a><br>"
                       " 7.12.2026 8:00 10 <a class=x href=luma-1.4.exe>luma-1.4.exe</a></pre>"),
                 (QStringList{QStringLiteral("luma-1.2.exe"), QStringLiteral("LUMA-1.3.EXE"),
                              QStringLiteral("luma-1.4.exe")}));
    }

    void fullUrlOfTheSameLocationCounts()
    {
        QCOMPARE(Names("<a href=\"http://updates.example:8080/update/luma-3.exe\">x</a>"),
                 QStringList{QStringLiteral("luma-3.exe")});
    }

    void linksLeadingElsewhereAreNotFilesOfTheLocation()
    {
        QCOMPARE(Names("<a href=\"http://other.example:8080/update/luma-9.exe\">other host</a>"
                       "<a href=\"http://updates.example:8081/update/luma-9.exe\">other port</a>"
                       "<a href=\"https://updates.example:8080/update/luma-9.exe\">scheme</a>"
                       "<a href=\"//other.example/update/luma-9.exe\">scheme-relative</a>"
                       "<a href=\"http://user@updates.example:8080/update/luma-9.exe\">user</a>"
                       "<a href=\"../luma-9.exe\">parent</a>"
                       "<a href=\"/luma-9.exe\">root</a>"
                       "<a href=\"/update2/luma-9.exe\">other folder</a>"
                       "<a href=\"sub/luma-9.exe\">sub-folder</a>"
                       "<a href=\"sub%2Fluma-9.exe\">encoded slash</a>"
                       "<a href=\"..%2Fluma-9.exe\">encoded parent</a>"
                       "<a href=\"luma-9.exe?x=1\">query</a>"
                       "<a href=\"\">empty</a>"
                       "<a href=\"./\">self</a>"),
                 QStringList());
    }

    void entitiesAndPercentEncodingAreDecoded()
    {
        QCOMPARE(Names("<a href=\"luma&amp;1.exe\">a</a><a href=\"luma%201.exe\">b</a>"
                       "<a href=\"luma&#45;2.exe\">c</a><a href=\"luma&#x2D;3.exe\">d</a>"
                       "<a href=\"luma-%D0%B0.exe\">e</a><a href=\"luma-4.exe#top\">f</a>"),
                 (QStringList{QStringLiteral("luma&1.exe"), QStringLiteral("luma 1.exe"),
                              QStringLiteral("luma-2.exe"), QStringLiteral("luma-3.exe"),
                              QStringLiteral("luma-а.exe"), QStringLiteral("luma-4.exe")}));
    }

    void eachNameOnce()
    {
        QCOMPARE(Names("<a href=\"luma-1.exe\">luma-1.exe</a><a href=\"./luma-1.exe\">again</a>"),
                 QStringList{QStringLiteral("luma-1.exe")});
    }

    void damagedPagesGiveWhatCanBeRead()
    {
        QCOMPARE(Names("<a href=\"luma-1.exe\"><a href=\"unterminated"), QStringList{QStringLiteral("luma-1.exe")});
        QCOMPARE(Names("\xff\xfe<a href=\"luma-\xff.exe\">"), QStringList{QStringLiteral("luma-\uFFFD.exe")});
        QCOMPARE(Names("<a href=\"luma&#0;&#1114112;&#xD800;.exe\">"),
                 QStringList{QStringLiteral("luma\uFFFD\uFFFD\uFFFD.exe")});
        QCOMPARE(ListedFileNames(QByteArray(), kLocation), QStringList());
    }

    void newestMatchingInstaller()
    {
        const auto newest = NewestInstaller(
            {QStringLiteral("luma-1.0.0.3.exe"), QStringLiteral("luma_1_0_1_0.exe"),
             QStringLiteral("luma-1.0.0.10.exe"), QStringLiteral("readme-9.txt"),
             QStringLiteral("luma-9.zip"), QStringLiteral("other-9.exe"),
             QStringLiteral("luma-9.exe.txt")},
            QStringLiteral("luma*.exe"));
        QVERIFY(newest);
        QCOMPARE(newest->name, QStringLiteral("luma_1_0_1_0.exe"));
        QCOMPARE(newest->version, (VersionNumbers{1, 0, 1, 0}));
    }

    void patternIgnoresCase()
    {
        const auto newest = NewestInstaller({QStringLiteral("LUMA-2.EXE"), QStringLiteral("luma-1.exe")},
                                            QStringLiteral("luma*.exe"));
        QVERIFY(newest);
        QCOMPARE(newest->name, QStringLiteral("LUMA-2.EXE"));
    }

    void namesWithoutVersionArePassedOver()
    {
        QVERIFY(!NewestInstaller({QStringLiteral("luma.exe"), QStringLiteral("luma-setup.exe")},
                                 QStringLiteral("luma*.exe")));
        const auto newest = NewestInstaller({QStringLiteral("luma.exe"), QStringLiteral("luma-0.1.exe")},
                                            QStringLiteral("luma*.exe"));
        QVERIFY(newest);
        QCOMPARE(newest->name, QStringLiteral("luma-0.1.exe"));
    }

    void ofEqualVersionsTheFirstListed()
    {
        const auto newest = NewestInstaller({QStringLiteral("luma-1.2.exe"), QStringLiteral("luma_1_2_0_0.exe")},
                                            QStringLiteral("luma*.exe"));
        QVERIFY(newest);
        QCOMPARE(newest->name, QStringLiteral("luma-1.2.exe"));
    }

    void fileUrlEncodesTheName()
    {
        QCOMPARE(FileUrl(kLocation, QStringLiteral("luma 1#?.exe")).toEncoded(),
                 QByteArray("http://updates.example:8080/update/luma%201%23%3F.exe"));
        QCOMPARE(FileUrl(kLocation, QStringLiteral("luma-1.exe")).toString(),
                 QStringLiteral("http://updates.example:8080/update/luma-1.exe"));
    }
};

QTEST_GUILESS_MAIN(UpdateListingTest)
#include "update_listing_test.moc"
