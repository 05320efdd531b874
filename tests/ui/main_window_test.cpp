// The main dialog as the operator drives it, through its buttons and keys, every modal window
// scripted.

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QMenu>
#include <QTest>

#include "dialog_fixture.h"
#include "records/charset_detect.h"
#include "records/iso_record.h"
#include "records/record_store.h"
#include "marking/marking_texts.h"
#include "marking/recovery.h"
#include "res/resources.h"
#include "ui/main/find_dialog.h"
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

// A MARC-8 record under a MARC 21 leader that does not declare UTF-8: Latin letters with their
// diacritics written before them, and a Cyrillic 880 (Basic Cyrillic, ESC ( N) saying "Пушкин".
std::string Marc8Record(const std::string& title)
{
    luma::IsoRecord record;
    record.leader = "00000nam  2200000   4500";
    record.fields = {{"001", "1"},
                     {"245", "10\x1f" "a" + title},
                     {"880", "10\x1f" "a\x1b(N\x70\x55\x5B\x4B\x49\x4E\x1b(B"}};
    return luma::BuildRecord(record).bytes;
}

// The record view as it reads in `charset`, from a store of its own.
QString ViewIn(const QString& path, int record, luma::Charset charset)
{
    luma::RecordStore store;
    store.Open(path.toStdString(), charset);
    store.SetRecord(record);
    std::string view;
    for (int i = 0; i < store.GetFieldCount(); ++i) {
        view += (view.empty() ? "" : std::string(luma::kViewSeparator)) +
                luma::FormatViewLine(store.GetFieldName(i), store.GetFieldText(i));
    }
    return QString::fromStdString(view).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

QString NameOf(luma::Charset charset)
{
    return QString::fromUtf8(std::string(luma::CharsetName(charset)));
}

QStringList Ticked(const QMenu& menu)
{
    QStringList ticked;
    for (const QAction* action : menu.actions()) {
        if (action->isChecked()) {
            ticked.append(action->text());
        }
    }
    return ticked;
}

void Pick(QMenu& menu, luma::Charset charset)
{
    for (QAction* action : menu.actions()) {
        if (action->text() == NameOf(charset)) {
            action->trigger();
            return;
        }
    }
    QFAIL("no menu item for the set");
}

// Whether the file information's header gives the set the window reads in, and why.
bool InfoTellsCharset(DialogFixture& f)
{
    f.Dialog().OnFileInfo();
    const luma::MarkingSession& session = f.Dialog().Session();
    return f.prompter.dialogTexts.join(u'\n').contains(
        QStringLiteral("Кодировка: %1 (%2)")
            .arg(NameOf(session.FileCharset()), QString::fromUtf8(luma::EvidenceText(session.FileCharsetEvidence()))));
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

    // A MARC-8 file read in MARC-8, then in the sets the operator picks from "Кодировка": the
    // view, the tick, find and the file information follow; a set in which the mark would no
    // longer read as the label is refused, one in which it reads the same is taken, and the
    // working copy's note keeps it for restored work.
    void theEncodingMenuRereadsTheRecordsAndKeepsTrackOfTheMarks()
    {
        DialogFixture f;
        f.profile.PutString("HOTDLG", "FIELDTEXT", "##$aÉtudes");
        f.profile.PutInt("HOTDLG", "SETNEXT", 0);
        const QString path = f.ResultsFolder() + QStringLiteral("/../marc8.iso");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray::fromStdString(Marc8Record("De la solitude \xE1" "a la communaut\xE2" "e.") +
                                             Marc8Record("Une communaut\xE2" "e")));
        file.close();
        f.prompter.openPaths.push_back(path);
        f.Click("m_btnOpen");

        const luma::MarkingSession& session = f.Dialog().Session();
        QCOMPARE(session.FileCharset(), luma::Charset::Marc8);
        QVERIFY(session.FileCharsetEvidence() != luma::CharsetEvidence::ChosenByOperator);
        const QString marc8View = f.View();
        QVERIFY2(marc8View.normalized(QString::NormalizationForm_C)
                         .contains(QStringLiteral("De la solitude à la communauté.")) &&
                     marc8View.contains(QStringLiteral("Пушкин")),
                 qPrintable(marc8View));
        auto* menu = f.Dialog().findChild<QMenu*>(QStringLiteral("m_charsetMenu"));
        QVERIFY(menu);
        QStringList names;
        for (const luma::Charset charset : luma::AllCharsets()) {
            names.append(NameOf(charset));
        }
        QStringList items;
        for (const QAction* action : menu->actions()) {
            items.append(action->text());
        }
        QCOMPARE(items, names);
        QCOMPARE(Ticked(*menu), QStringList(NameOf(luma::Charset::Marc8)));
        QVERIFY2(InfoTellsCharset(f), qPrintable(f.prompter.dialogTexts.join(u'\n')));

        // Nothing is marked: any set is taken, and everything reads in it.
        Pick(*menu, luma::Charset::Windows1252);
        QCOMPARE(session.FileCharset(), luma::Charset::Windows1252);
        QCOMPARE(Ticked(*menu), QStringList(NameOf(luma::Charset::Windows1252)));
        QCOMPARE(f.View(), ViewIn(path, 0, luma::Charset::Windows1252));
        QVERIFY(f.View() != marc8View);
        QVERIFY2(InfoTellsCharset(f), qPrintable(f.prompter.dialogTexts.join(u'\n')));
        // The end of the second record's title as Windows-1252 reads it, which MARC-8 reads otherwise.
        const QString second = ViewIn(path, 1, luma::Charset::Windows1252);
        const QString secondTitle = second.mid(second.indexOf(QStringLiteral("$a")) + 2).section(u'\n', 0, 0);
        QVERIFY(!ViewIn(path, 1, luma::Charset::Marc8).contains(secondTitle.right(5)));
        f.prompter.dialogs.push_back([&](QDialog& dialog) {
            auto& find = dynamic_cast<luma::ui::FindDialog&>(dialog);
            find.TextEdit()->setText(secondTitle.right(5));
            find.DiacriticsCheck()->setChecked(true);
            QTest::mouseClick(find.findChild<QPushButton*>(QStringLiteral("m_btnFindNext")), Qt::LeftButton);
            return find.result() == QDialog::Accepted;
        });
        f.Dialog().OnFind();
        QCOMPARE(session.CurrentRecord(), 1);
        bool keptTick = false;
        f.prompter.dialogs.push_back([&](QDialog& dialog) {
            keptTick = dynamic_cast<luma::ui::FindDialog&>(dialog).DiacriticsCheck()->isChecked();
            return false;
        });
        f.Dialog().OnFind();
        QVERIFY(keptTick);

        // A mark whose É is one byte in Windows-1252: KOI8-R has no such letter, ISO-8859-1 the
        // same byte.
        f.Click("m_btnMark");
        QCOMPARE(session.MarkedCount(), 1);
        const QString markedView = f.View();
        Pick(*menu, luma::Charset::Koi8r);
        QVERIFY2(f.prompter.shown.last().startsWith(QStringLiteral("message: Кодировка не сменена")),
                 qPrintable(f.prompter.shown.last()));
        QCOMPARE(session.FileCharset(), luma::Charset::Windows1252);
        QCOMPARE(Ticked(*menu), QStringList(NameOf(luma::Charset::Windows1252)));
        QCOMPARE(f.View(), markedView);
        Pick(*menu, luma::Charset::Latin1);
        QCOMPARE(session.FileCharset(), luma::Charset::Latin1);
        QCOMPARE(session.MarkedCount(), 1);
        QCOMPARE(Ticked(*menu), QStringList(NameOf(luma::Charset::Latin1)));
        QCOMPARE(session.FileCharsetEvidence(), luma::CharsetEvidence::ChosenByOperator);
        QVERIFY2(InfoTellsCharset(f), qPrintable(f.prompter.dialogTexts.join(u'\n')));
        // Rewritten in place over a longer name.
        QFile note(QString::fromStdString(luma::NotePath(session.WorkPath())));
        QVERIFY(note.open(QIODevice::ReadOnly));
        const std::optional<luma::WorkingCopyNote> kept = luma::ParseNote(note.readAll().toStdString());
        QVERIFY(kept);
        QCOMPARE(kept->charset, luma::Charset::Latin1);
        QCOMPARE(kept->recordNumber, 2);
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
