// A long open shows its progress window over the main dialog; Cancel keeps the file that was
// open before, untouched.

#include <QApplication>
#include <QFile>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "dialog_fixture.h"
#include "res/resources.h"

using luma::test::DialogFixture;

namespace {

// The sample's six records, over and over: a file long enough to report progress many times.
QString WriteLongFile(DialogFixture& f, int copies)
{
    QFile sample(f.SamplePath());
    if (!sample.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QByteArray records = sample.readAll();
    const QString path = f.ResultsFolder() + QStringLiteral("/../long.iso");
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly)) {
        return {};
    }
    for (int i = 0; i < copies; ++i) {
        out.write(records);
    }
    return path;
}

// Runs `act` on the progress window the first time the open lets events through while it shows.
void WhenProgressShows(luma::ui::MainWindow& dialog, std::function<void(QProgressDialog&)> act)
{
    auto* timer = new QTimer(&dialog);
    timer->setInterval(0);
    QObject::connect(timer, &QTimer::timeout, timer, [&dialog, timer, act] {
        QProgressDialog* window = dialog.Progress().Window();
        if (window != nullptr && window->isVisible()) {
            timer->stop();
            timer->deleteLater();
            act(*window);
        }
    });
    timer->start();
}

constexpr int kCopies = 2000;  // 12,000 records

}  // namespace

class OpenProgressTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { luma::res::Load(); }

    void aLongOpenShowsProgressThenTheFirstRecord()
    {
        DialogFixture f;
        const QString path = WriteLongFile(f, kCopies);
        QVERIFY(!path.isEmpty());
        f.Dialog().Progress().SetDelay(0);
        int shownAt = -1;
        WhenProgressShows(f.Dialog(), [&](QProgressDialog& window) {
            shownAt = window.value();
            QVERIFY(window.isModal());
            QVERIFY(window.labelText().contains(QStringLiteral("long")));
        });
        f.Dialog().OpenAtStart(path);
        QVERIFY2(shownAt >= 0, "the progress window never showed");
        QVERIFY(shownAt < 1000);
        QVERIFY(f.Dialog().Progress().Window() == nullptr);  // closed once the open ended
        QCOMPARE(f.Dialog().Session().RecordCount(), 6 * kCopies);
        QVERIFY(f.View().startsWith(QStringLiteral("001")));
        QCOMPARE(f.WorkingCopies().size(), 1);
    }

    void cancelKeepsTheFileOpenBefore()
    {
        DialogFixture f;
        f.OpenSample();
        f.Click("m_btnNext");
        f.Click("m_btnMark");  // unsaved work on record 2
        const QString status = f.Status();
        const QString view = f.View();
        const QStringList copies = f.WorkingCopies();
        QFile work(f.TempFolder() + u'/' + copies.value(0));
        QVERIFY(work.open(QIODevice::ReadOnly));
        const QByteArray workBytes = work.readAll();
        work.close();

        const QString path = WriteLongFile(f, kCopies);
        f.Dialog().Progress().SetDelay(0);
        bool cancelled = false;
        WhenProgressShows(f.Dialog(), [&cancelled](QProgressDialog& window) {
            QTest::mouseClick(window.findChild<QPushButton*>(), Qt::LeftButton);
            cancelled = true;
        });
        f.prompter.yesNoCancel.push_back(luma::ui::Answer::No);  // leave the marks unsaved for now
        f.prompter.openPaths.push_back(path);
        f.Click("m_btnOpen");

        QVERIFY(cancelled);
        QVERIFY(f.Dialog().Progress().Window() == nullptr);
        QCOMPARE(f.Status(), status);
        QCOMPARE(f.View(), view);
        QVERIFY(f.Dialog().Session().IsModified());
        QCOMPARE(f.WorkingCopies(), copies);
        QVERIFY(work.open(QIODevice::ReadOnly));
        QCOMPARE(work.readAll(), workBytes);
        work.close();  // Windows replaces no file that is open
        // The session goes on as before the open.
        f.Click("m_btnPrev");
        f.Click("m_btnUnmark");
        QCOMPARE(f.Dialog().Session().MarkedCount(), 2);
    }

    void aSmallFileOpensWithoutTheWindow()
    {
        DialogFixture f;
        bool shown = false;
        WhenProgressShows(f.Dialog(), [&](QProgressDialog&) { shown = true; });
        f.OpenSample();
        QVERIFY(!shown);
        QVERIFY(f.Dialog().Progress().Window() == nullptr);
    }

    void writesShowABusyCursorOnlyWhileTheyRun()
    {
        DialogFixture f;
        f.OpenSample();
        f.Click("m_btnNext");
        f.Click("m_btnMark");
        QVERIFY(QApplication::overrideCursor() == nullptr);
        f.prompter.savePaths.push_back(f.ResultsFolder() + QStringLiteral("/out.iso"));
        f.Click("m_btnSave");
        QVERIFY(QApplication::overrideCursor() == nullptr);
        QVERIFY(QFile::exists(f.ResultsFolder() + QStringLiteral("/out.iso")));
    }
};

QTEST_MAIN(OpenProgressTest)
#include "open_progress_test.moc"
