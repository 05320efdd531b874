// The settings dialog and its pages: what they show, what OK hands over and stores, what
// Cancel keeps, and the filter list's rules.

#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QTabWidget>
#include <QTest>

#include "dialog_fixture.h"
#include "keys/hotkey_code.h"
#include "res/resources.h"
#include "ui/settings/folders_page.h"
#include "ui/settings/filter_page.h"
#include "ui/settings/hotkey_page.h"
#include "ui/settings/hotkey_edit.h"
#include "ui/settings/settings_target.h"
#include "ui/settings/settings_dialog.h"

using luma::test::DialogFixture;
using luma::ui::SettingsDialog;

namespace {

// A main window as far as the filter page sees one.
class FakeMain final : public luma::ui::SettingsTarget {
public:
    luma::Settings settings;
    std::vector<std::string> tags;

    const luma::Settings& CurrentSettings() const override { return settings; }
    std::vector<std::string> CurrentRecordTags() const override { return tags; }
    void SetFilterFields(std::vector<std::string> fields) override { settings.filterFields = std::move(fields); }
    void SetUseFilter(bool useFilter) override { settings.useFilter = useFilter; }
    QFont CurrentViewFont() const override { return {}; }
    void SetViewFont(const QFont&) override {}
};

QStringList Texts(const std::vector<std::string>& texts)
{
    QStringList list;
    for (const std::string& text : texts) {
        list.append(QString::fromStdString(text));
    }
    return list;
}

QStringList ComboItems(const QComboBox* combo)
{
    QStringList items;
    for (int i = 0; i < combo->count(); ++i) {
        items.append(combo->itemText(i));
    }
    return items;
}

void Add(luma::ui::FilterPage& page, const QString& text)
{
    page.m_comboTag->setEditText(text);
    page.OnAddClicked();
}

void Select(luma::ui::FilterPage& page, const QString& entry)
{
    page.m_listFilter->findItems(entry, Qt::MatchExactly).first()->setSelected(true);
}

QFont ChosenFont(int pixels)
{
    QFont font(QStringLiteral("DejaVu Sans Mono"));
    font.setPixelSize(pixels);
    return font;
}

}  // namespace

class SettingsDialogTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { luma::res::Load(); }

    void itOpensOnTheHotkeyPageFilledFromTheMainWindow()
    {
        DialogFixture f;
        f.profile.PutInt("HOTDLG", "HOTSET", 0x064E);
        f.profile.PutInt("HOTDLG", "HOTPREV", 0x092D);
        f.profile.PutInt("HOTDLG", "SETNEXT", 0);
        f.profile.PutString("SFILEDLG", "SOURCEDIR", "/data/in/");
        QStringList texts;
        f.prompter.settings.push_back([&](SettingsDialog& dialog) {
            const luma::ui::HotkeyPage* hot = dialog.Hotkeys();
            texts << dialog.windowTitle() << dialog.Tabs()->tabText(0) << dialog.Tabs()->tabText(1)
                  << dialog.Tabs()->tabText(2) << hot->m_hkMark->text() << hot->m_hkUnmark->text()
                  << hot->m_hkPrev->text() << hot->m_editLabelField->text() << hot->m_editLabelText->text()
                  << dialog.Folders()->m_editSource->text() << dialog.Folders()->m_editResult->text();
            const bool hotShown = dialog.Tabs()->currentWidget() == hot && hot->isVisible() &&
                                  dialog.Tabs()->geometry().contains(hot->geometry().translated(dialog.Tabs()->pos()));
            texts << QString::number(hotShown) << QString::number(hot->m_checkSetNext->isChecked())
                  << QString::number(dialog.Filter()->m_comboTag->count());
            return false;
        });
        f.Click("m_btnSettings");
        QCOMPARE(texts, (QStringList{QStringLiteral("Настройка"), QStringLiteral("Гор. Клав."), QStringLiteral("Фильтр"),
                                     QStringLiteral("Общие"), QStringLiteral("Ctrl+Alt+N"), QStringLiteral("Нет"),
                                     QStringLiteral("Shift+Insert"), QStringLiteral("901"), QStringLiteral("##$aОтобрано"),
                                     QStringLiteral("/data/in/"), f.ResultsFolder(), QStringLiteral("1"),
                                     QStringLiteral("0"), QStringLiteral("0")}));
    }

    void okHandsOverAndStoresCancelKeepsAllButTheFilter_data()
    {
        QTest::addColumn<bool>("ok");
        QTest::newRow("OK") << true;
        QTest::newRow("Cancel") << false;
    }

    void okHandsOverAndStoresCancelKeepsAllButTheFilter()
    {
        QFETCH(bool, ok);
        DialogFixture f;
        f.OpenSample();
        f.prompter.settings.push_back([&](SettingsDialog& dialog) {
            luma::ui::HotkeyPage* hot = dialog.Hotkeys();
            QTest::keyClick(hot->m_hkUnmark, Qt::Key_U, Qt::ControlModifier);
            hot->m_editLabelField->setText(QStringLiteral("902"));
            hot->m_editLabelText->clear();
            QTest::keyClicks(hot->m_editLabelText, QStringLiteral("##$aX"));
            QTest::mouseClick(hot->m_checkSetNext, Qt::LeftButton);
            dialog.Folders()->m_editSource->setText(QStringLiteral("/data/in"));
            dialog.ShowPage(1);
            Add(*dialog.Filter(), QStringLiteral("200"));
            QTest::mouseClick(dialog.Filter()->m_checkUseFilter, Qt::LeftButton);
            QTest::mouseClick(dialog.findChild<QPushButton*>(QLatin1String(ok ? "m_btnOk" : "m_btnCancel")), Qt::LeftButton);
            return dialog.result() == QDialog::Accepted;
        });
        f.Click("m_btnSettings");

        const luma::Settings& now = f.Dialog().CurrentSettings();
        // The filter is in effect either way: the view shows field 200 alone.
        QCOMPARE(f.View(), QStringLiteral("200     1#$aЕвгений Онегин$eроман в стихах$fА. С. Пушкин"));
        QVERIFY(now.useFilter);
        QCOMPARE(Texts(now.filterFields), QStringList{QStringLiteral("200")});
        if (ok) {
            QCOMPARE(now.hotUnmark, 0x0255);
            QCOMPARE(now.labelField, std::string("902"));
            QCOMPARE(now.labelText, std::string("##$aX"));
            QVERIFY(!now.advanceAfterMark);
            QCOMPARE(now.sourceDir, DialogFixture::StoredFolder("/data/in"));
            QCOMPARE(f.profile.GetInt("HOTDLG", "HOTRESET"), std::optional<int>(0x0255));
            QCOMPARE(f.profile.GetString("SFILEDLG", "SOURCEDIR"),
                     std::optional<std::string>(DialogFixture::StoredFolder("/data/in")));
            QCOMPARE(f.profile.GetInt("SKFPDLG", "USEFILTER"), std::optional<int>(1));
            QCOMPARE(f.Dialog().Session().LabelField(), std::string("902"));
        } else {
            QCOMPARE(now.hotUnmark, 0);
            QCOMPARE(now.labelField, std::string("901"));
            QVERIFY(now.advanceAfterMark && now.sourceDir.empty());
            QVERIFY(!f.profile.GetInt("HOTDLG", "HOTRESET") && !f.profile.GetInt("SKFPDLG", "COUNT"));
            QCOMPARE(f.Dialog().Session().LabelField(), std::string("901"));
        }
    }

    void theFilterListKeepsItsRules()
    {
        FakeMain main;
        main.settings.filterFields = {"700", "200"};
        luma::ui::FilterPage page(main);
        QCOMPARE(page.Entries(), (QStringList{QStringLiteral("200"), QStringLiteral("700")}));
        page.OnDeleteClicked();  // nothing selected: the list is written back all the same
        QCOMPARE(Texts(main.settings.filterFields), page.Entries());

        Add(page, QStringLiteral("245"));
        for (const char* refused : {"24", "2", "70", ""}) {
            Add(page, QLatin1String(refused));
        }
        Add(page, QStringLiteral("2450"));
        Add(page, QStringLiteral("abc"));
        Add(page, QStringLiteral("ABC"));
        Add(page, QStringLiteral("Abd"));
        const QStringList expected{QStringLiteral("200"), QStringLiteral("245"), QStringLiteral("2450"),
                                   QStringLiteral("700"), QStringLiteral("abc"), QStringLiteral("Abd")};
        QCOMPARE(page.Entries(), expected);
        QCOMPARE(Texts(main.settings.filterFields), expected);

        for (const QString& entry : expected.mid(1)) {
            Select(page, entry);
            page.OnDeleteClicked();
        }
        Select(page, QStringLiteral("200"));
        page.OnDeleteClicked();  // the last entry stays
        QCOMPARE(page.Entries(), QStringList{QStringLiteral("200")});
        QCOMPARE(Texts(main.settings.filterFields), QStringList{QStringLiteral("200")});
    }

    void theSwitchesShowWhatIsInEffect_data()
    {
        QTest::addColumn<int>("stored");
        QTest::addColumn<bool>("checked");
        QTest::newRow("0") << 0 << false;
        QTest::newRow("1") << 1 << true;
        // Any other stored value is on, for the filter and for stepping on alike, and shows so.
        QTest::newRow("2") << 2 << true;
    }

    void theSwitchesShowWhatIsInEffect()
    {
        QFETCH(int, stored);
        QFETCH(bool, checked);
        DialogFixture f;
        f.profile.PutInt("SKFPDLG", "USEFILTER", stored);
        f.profile.PutInt("HOTDLG", "SETNEXT", stored);
        QList<bool> shown;
        f.prompter.settings.push_back([&](SettingsDialog& dialog) {
            QCheckBox* useFilter = dialog.Filter()->m_checkUseFilter;
            QCheckBox* setNext = dialog.Hotkeys()->m_checkSetNext;
            shown << useFilter->isChecked() << setNext->isChecked();
            dialog.ShowPage(1);
            QTest::mouseClick(useFilter, Qt::LeftButton);
            shown << f.Dialog().CurrentSettings().useFilter;
            QTest::mouseClick(useFilter, Qt::LeftButton);
            QTest::mouseClick(useFilter, Qt::LeftButton);
            dialog.ShowPage(0);
            QTest::mouseClick(setNext, Qt::LeftButton);
            return true;
        });
        f.Click("m_btnSettings");
        QCOMPARE(shown, (QList<bool>{checked, checked, !checked}));
        QCOMPARE(f.profile.GetInt("SKFPDLG", "USEFILTER"), std::optional<int>(checked ? 0 : 1));
        QCOMPARE(f.profile.GetInt("HOTDLG", "SETNEXT"), std::optional<int>(checked ? 0 : 1));
    }

    void theTagBoxOffersTheCurrentRecordsTagsSorted()
    {
        FakeMain main;
        main.tags = {"700", "245", "001", "245", "a10", "A01"};
        luma::ui::FilterPage page(main);
        QCOMPARE(ComboItems(page.m_comboTag), (QStringList{QStringLiteral("001"), QStringLiteral("245"), QStringLiteral("245"),
                                                           QStringLiteral("700"), QStringLiteral("A01"), QStringLiteral("a10")}));
        QVERIFY(page.m_comboTag->currentText().isEmpty());

        DialogFixture f;
        f.OpenSample();
        f.Click("m_btnLast");
        QStringList offered;
        f.prompter.settings.push_back([&](SettingsDialog& dialog) {
            offered = ComboItems(dialog.Filter()->m_comboTag);
            return false;
        });
        f.Click("m_btnSettings");
        QCOMPARE(offered.join(u' '), QStringLiteral("001 005 010 100 101 200 210 215 606 700 801"));
    }

    void enterAndEscInsideAPageCloseNothing()
    {
        DialogFixture f;
        QList<bool> open;
        f.prompter.settings.push_back([&](SettingsDialog& dialog) {
            for (int key : {Qt::Key_Return, Qt::Key_Escape}) {
                QTest::keyClick(dialog.Hotkeys()->m_editLabelText, Qt::Key(key));
                QTest::keyClick(dialog.Hotkeys()->m_hkMark, Qt::Key(key));
                open << dialog.isVisible();
            }
            QTest::keyClick(dialog.findChild<QPushButton*>(QStringLiteral("m_btnCancel")), Qt::Key_Escape);
            open << dialog.isVisible();
            return dialog.result() == QDialog::Accepted;
        });
        f.Click("m_btnSettings");
        QCOMPARE(open, (QList<bool>{true, true, false}));
        QVERIFY(!f.profile.GetInt("HOTDLG", "HOTSET"));
    }

    void theFoldersPageChoosesFoldersAndAFontThatOutlivesCancel()
    {
        DialogFixture f;
        f.prompter.fonts = {ChosenFont(15), std::nullopt, ChosenFont(21)};
        f.prompter.folders = {QStringLiteral("/srv/source"), std::nullopt};
        f.prompter.settings.push_back([](SettingsDialog& dialog) {
            for (int i = 0; i < 3; ++i) {
                dialog.Folders()->OnFontClicked();
            }
            return false;
        });
        f.Click("m_btnSettings");
        QCOMPARE(f.Control<QWidget>("m_viewEdit")->font().pixelSize(), 21);
        QVERIFY(!f.profile.GetBytes("SFILEDLG", "FONT"));

        f.prompter.settings.push_back([](SettingsDialog& dialog) {
            dialog.Folders()->OnBrowseSourceClicked();
            dialog.Folders()->OnBrowseResultClicked();  // cancelled: the folder stays
            return true;
        });
        f.Click("m_btnSettings");
        const std::optional<luma::LogFont> stored = luma::LogFontFromBytes(*f.profile.GetBytes("SFILEDLG", "FONT"));
        QVERIFY(stored);
        QCOMPARE(stored->height, -21);
        QCOMPARE(stored->faceName, std::string("DejaVu Sans Mono"));
        QCOMPARE(f.profile.GetString("SFILEDLG", "SOURCEDIR"),
                 std::optional<std::string>(DialogFixture::StoredFolder("/srv/source")));
        QCOMPARE(f.profile.GetString("SFILEDLG", "RESULTDIR"),
                 std::optional<std::string>(DialogFixture::StoredFolder(f.ResultsFolder().toStdString())));
        QVERIFY(f.prompter.shown.contains(QStringLiteral("folder: Целевая директория")));
    }
};

QTEST_MAIN(SettingsDialogTest)
#include "settings_dialog_test.moc"
