// The main dialog as the operator drives it, through its buttons and keys, every modal window
// scripted.

#include <QFile>
#include <QTest>

#include "dialog_fixture.h"
#include "records/record_store.h"
#include "marking/marking_texts.h"
#include "marking/recovery.h"
#include "res/resources.h"
#include "ui/main/go_to_dialog.h"

using luma::test::DialogFixture;

namespace {

QString StatusLine(int count, int current, int marked)
{
    return QString::fromStdString(luma::FormatStatusLine("sample", count, current, marked));
}

// The view starts with field 001, whose last digit is the record's number in the sample.
int RecordShown(DialogFixture& f)
{
    return f.View().section(u'\n', 0, 0).right(1).toInt();
}

const char* const kRecordButtons[] = {"m_btnFirst", "m_btnPrev", "m_btnMark", "m_btnUnmark",
                                      "m_btnNext", "m_btnGoTo", "m_btnLast"};

}  // namespace

class MainDialogTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { luma::res::Load(); }

    void theRecordButtonsWorkOnlyOnceAFileIsOpen()
    {
        DialogFixture f;
        for (const char* name : kRecordButtons) {
            QVERIFY2(!f.Control(name)->isEnabled() && !f.Control(name)->toolTip().isEmpty(), name);
        }
        QVERIFY(f.IndicatorShows(QPixmap()));
        QCOMPARE(f.Dialog().focusWidget(), f.Control("m_btnExit"));
        f.OpenSample();
        for (const char* name : kRecordButtons) {
            QVERIFY2(f.Control(name)->isEnabled(), name);
        }
        QVERIFY(f.IndicatorShows(luma::res::SavedBitmap()));
        QCOMPARE(f.Status(), StatusLine(6, 1, 2));
        QCOMPARE(f.WorkingCopies().size(), 1);
    }

    void openOffersTheResultsFileToResume_data()
    {
        QTest::addColumn<bool>("resume");
        QTest::newRow("resumed") << true;
        QTest::newRow("declined") << false;
    }

    void openOffersTheResultsFileToResume()
    {
        QFETCH(bool, resume);
        DialogFixture f;
        // An earlier pass saved a one-record results file of the same name: the sample's second.
        luma::RecordStore sample;
        QCOMPARE(sample.Open(f.SamplePath().toStdString()), 0);
        sample.SetRecord(1);
        QFile results(f.ResultsFolder() + QStringLiteral("/sample.iso"));
        QVERIFY(results.open(QIODevice::WriteOnly));
        results.write(QByteArray::fromStdString(sample.GetIsoBuffer()));
        results.close();

        f.prompter.yesNo.push_back(resume);
        f.OpenSample();
        QCOMPARE(f.prompter.shown, QStringList({QStringLiteral("open: .iso"),
                                                QStringLiteral("ask: Вы уже работали с данным файлом\nПродолжить работу?")}));
        QCOMPARE(f.Status(), resume ? StatusLine(1, 1, 0) : StatusLine(6, 1, 2));
        QCOMPARE(RecordShown(f), resume ? 2 : 1);
    }

    void aFileNamedAtStartIsOpenedWithoutTheOpenDialog()
    {
        DialogFixture f;
        QVERIFY(QFile::copy(f.SamplePath(), f.ResultsFolder() + QStringLiteral("/sample.iso")));
        f.prompter.yesNo.push_back(true);
        f.Dialog().OpenAtStart(f.SamplePath());
        QCOMPARE(f.prompter.shown.size(), 1);
        QVERIFY(f.prompter.shown.at(0).startsWith(QStringLiteral("ask: ")));
        QCOMPARE(f.Status(), StatusLine(6, 1, 2));
    }

    void markUnmarkAndSaveDriveTheIndicator()
    {
        DialogFixture f;
        f.OpenSample();
        f.Click("m_btnMark");  // record 1 already carries the label tag
        QCOMPARE(f.Status(), StatusLine(6, 1, 2));
        QVERIFY(f.IndicatorShows(luma::res::SavedBitmap()));

        f.Click("m_btnNext");
        f.Click("m_btnMark");
        QCOMPARE(f.Status(), StatusLine(6, 3, 3));  // marked, then on to the next record
        QVERIFY(f.IndicatorShows(luma::res::UnsavedBitmap()));
        QCOMPARE(f.Control<QLabel>("m_indicator")->size(), QSize(21, 20));
        f.Click("m_btnPrev");
        f.Click("m_btnUnmark");
        QCOMPARE(f.Status(), StatusLine(6, 3, 2));

        f.prompter.savePaths.push_back(f.ResultsFolder() + QStringLiteral("/saved.iso"));
        f.Click("m_btnSave");
        QCOMPARE(f.prompter.shown.last(),
                 QString(QStringLiteral("save: ") + f.ResultsFolder() + QLatin1Char(luma::kFolderSeparator) +
                         QStringLiteral("sample.iso")));
        QVERIFY(QFile::exists(f.ResultsFolder() + QStringLiteral("/saved.iso")));
        QVERIFY(f.IndicatorShows(luma::res::SavedBitmap()));
        QCOMPARE(f.Control<QLabel>("m_indicator")->size(), QSize(23, 23));
    }

    void navigationStopsAtBothEnds()
    {
        DialogFixture f;
        f.OpenSample();
        const std::pair<const char*, int> steps[] = {{"m_btnPrev", 1}, {"m_btnNext", 2}, {"m_btnLast", 6},
                                                     {"m_btnNext", 6}, {"m_btnPrev", 5}, {"m_btnFirst", 1}};
        for (const auto& [button, record] : steps) {
            f.Click(button);
            QCOMPARE(RecordShown(f), record);
            QCOMPARE(f.Status(), StatusLine(6, record, 2));
        }
    }

    void goToTakesTheNumberAsTyped_data()
    {
        QTest::addColumn<std::optional<int>>("number");
        QTest::addColumn<int>("record");
        QTest::newRow("cancelled") << std::optional<int>() << 3;
        QTest::newRow("empty") << std::optional<int>(luma::ui::LeadingNumber(QString())) << 1;
        QTest::newRow("0") << std::optional<int>(0) << 1;
        QTest::newRow("4") << std::optional<int>(4) << 4;
        QTest::newRow("above the count") << std::optional<int>(7) << 6;
        QTest::newRow("pasted 12ab") << std::optional<int>(luma::ui::LeadingNumber(QStringLiteral("12ab"))) << 6;
        QTest::newRow("pasted int's least") << std::optional<int>(INT_MIN) << 1;
    }

    void goToTakesTheNumberAsTyped()
    {
        QFETCH(std::optional<int>, number);
        QFETCH(int, record);
        DialogFixture f;
        f.OpenSample();
        f.Click("m_btnNext");
        f.Click("m_btnNext");
        f.prompter.recordNumbers.push_back(number);
        f.Click("m_btnGoTo");
        QCOMPARE(f.Status(), StatusLine(6, record, 2));
        QCOMPARE(RecordShown(f), record);
    }

    void everyWayOutRunsTheExitProcedure_data()
    {
        QTest::addColumn<int>("way");
        const char* const ways[] = {"Exit button", "Esc", "close box", "Enter in the view", "Enter in the status line"};
        for (int way = 0; way < 5; ++way) {
            QTest::newRow(ways[way]) << way;
        }
    }

    void everyWayOutRunsTheExitProcedure()
    {
        QFETCH(int, way);
        DialogFixture f;
        f.OpenSample();
        f.Click("m_btnNext");
        f.Click("m_btnMark");
        luma::ui::MainWindow& dialog = f.Dialog();
        const auto leave = [&] {
            switch (way) {
            case 0: f.Click("m_btnExit"); break;
            case 1: QTest::keyClick(&dialog, Qt::Key_Escape); break;
            case 2: dialog.close(); break;
            case 3: QTest::keyClick(f.Control<QPlainTextEdit>("m_viewEdit"), Qt::Key_Return); break;
            default: QTest::keyClick(f.Control<QLineEdit>("m_statusLine"), Qt::Key_Return); break;
            }
        };
        // Unsaved marks: the question comes, Cancel keeps the window; the placement is written.
        f.prompter.yesNoCancel.push_back(luma::ui::Answer::Cancel);
        leave();
        QCOMPARE(f.prompter.shown.last(), QStringLiteral("ask: Сохранить?"));
        QVERIFY(dialog.isVisible() && f.profile.GetBytes("MAIN", "POS"));
        QCOMPARE(f.WorkingCopies().size(), 1);

        f.prompter.yesNoCancel.push_back(luma::ui::Answer::No);
        leave();
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(f.WorkingCopies().isEmpty());
    }

    void theAboutBoxAnswersItsCommandsOnly()
    {
        DialogFixture f;
        for (unsigned id : {0x10u, 0x1Fu, 0x20u, 0xF010u /* move */, 0x0u}) {
            f.Dialog().OnSystemCommand(id);
        }
        QCOMPARE(f.prompter.shown, QStringList(2, QStringLiteral("about")));
    }

    void firstStartWithoutAProfileUsesTheDefaults()
    {
        DialogFixture f;
        f.profile = {};
        QCOMPARE(f.Dialog().CurrentSettings(), luma::Settings());
        QVERIFY(f.profile.Values().empty() && !f.Dialog().ViewFont());
        QVERIFY(f.Dialog().Session().AdvanceAfterMark());
        // Without a label there is nothing to mark with, and the operator is told so.
        f.OpenSample();
        f.Click("m_btnMark");
        QVERIFY(f.prompter.shown.last().startsWith(QStringLiteral("message: Поле метки не настроено!")));
    }

    void storedSettingsReachTheSession()
    {
        DialogFixture f;
        f.profile.PutInt("HOTDLG", "SETNEXT", 0);
        f.profile.PutInt("SKFPDLG", "COUNT", 2);
        f.profile.PutString("SKFPDLG", "FP000", "200");
        f.profile.PutString("SKFPDLG", "FP001", "901");
        f.profile.PutInt("SKFPDLG", "USEFILTER", 1);
        f.OpenSample();
        QCOMPARE(f.View(), QStringLiteral("200     1#$aЕвгений Онегин$eроман в стихах$fА. С. Пушкин\n____\n901     ##$aОтобрано"));
        f.Click("m_btnNext");
        f.Click("m_btnMark");
        QCOMPARE(f.Status(), StatusLine(6, 2, 3));  // no step after the mark
    }

    // A run killed with unsaved marks left the sample, with a third mark, as a working copy and
    // its note, and no process holds the note.
    void workLeftByAKilledRunComesBackUnsaved()
    {
        DialogFixture f;
        luma::RecordStore sample;
        QCOMPARE(sample.Open(f.SamplePath().toStdString()), 0);
        std::string left;
        for (int r = 0; r < sample.GetRecordCount(); ++r) {
            sample.SetRecord(r);
            if (r == 1) {
                QCOMPARE(sample.AddField("901", "##$aОтобрано"), 0);
            }
            left += sample.GetIsoBuffer();
        }
        const QString leftCopy = f.TempFolder() + QStringLiteral("/NEWleft");
        QFile copy(leftCopy);
        QVERIFY(copy.open(QIODevice::WriteOnly));
        copy.write(QByteArray::fromStdString(left));
        copy.close();
        QFile note(leftCopy + QStringLiteral(".luma"));
        QVERIFY(note.open(QIODevice::WriteOnly));
        const luma::WorkingCopyNote written{f.SamplePath().toStdString(), "sample", 1796638500, 1,
                                            sample.GetCharset()};
        note.write(QByteArray::fromStdString(luma::FormatNote(written)));
        note.close();

        f.prompter.yesNo.push_back(true);
        QVERIFY(f.Dialog().RecoverAtStart());
        QCOMPARE(f.prompter.shown.size(), 1);
        QVERIFY(f.prompter.shown[0].startsWith(QStringLiteral("ask: Найдена несохранённая работа с файлом ") + f.SamplePath() + QStringLiteral(" (")));
        QCOMPARE(f.Status(), StatusLine(6, 1, 3));
        QVERIFY(f.IndicatorShows(luma::res::UnsavedBitmap()));
        for (const char* name : kRecordButtons) {
            QVERIFY2(f.Control(name)->isEnabled(), name);
        }
        QCOMPARE(f.WorkingCopies().size(), 1);
        QVERIFY(!QFile::exists(leftCopy) && !QFile::exists(leftCopy + QStringLiteral(".luma")));

        // The marks are unsaved: leaving asks.
        f.prompter.yesNoCancel.push_back(luma::ui::Answer::No);
        QTest::keyClick(&f.Dialog(), Qt::Key_Escape);
        QCOMPARE(f.prompter.shown.last(), QStringLiteral("ask: Сохранить?"));
        QVERIFY(f.WorkingCopies().isEmpty());
    }
};

QTEST_MAIN(MainDialogTest)
#include "main_window_test.moc"
