// The window's languages: how the language is chosen; the English window, its settings, find
// and go-to dialogs with no Russian text left in any widget, the session's composed texts in
// English; the Russian window with Qt's own buttons in Russian.

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QTabWidget>
#include <QTest>
#include <QTranslator>
#include <algorithm>

#include "app/progress_window.h"
#include "app/qt_texts.h"
#include "app/update_check.h"
#include "dialog_fixture.h"
#include "marking/marking_texts.h"
#include "ui/main/find_dialog.h"
#include "ui/main/go_to_dialog.h"
#include "ui/settings/settings_dialog.h"

using luma::app::ChooseLanguage;
using luma::app::Language;
using luma::test::DialogFixture;

namespace {

bool HasCyrillic(const QString& text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.unicode() >= 0x0400 && c.unicode() <= 0x04FF; });
}

// Every text `root` and the widgets and actions inside it show, each with where it was found;
// but the record view's and the label text's, which are the file's and the operator's data.
QStringList ShownTexts(QWidget* root)
{
    QStringList texts;
    const auto add = [&texts](const QObject* where, const QString& text) {
        if (!text.isEmpty()) {
            texts.append(QLatin1String(where->metaObject()->className()) + u' ' + where->objectName() +
                         QStringLiteral(": ") + text);
        }
    };
    QList<QWidget*> widgets = root->findChildren<QWidget*>();
    widgets.prepend(root);
    for (QWidget* widget : widgets) {
        if (widget->objectName() == u"m_viewEdit" || widget->objectName() == u"m_editLabelText") {
            continue;
        }
        add(widget, widget->windowTitle());
        add(widget, widget->toolTip());
        if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            add(widget, button->text());
        } else if (auto* label = qobject_cast<QLabel*>(widget)) {
            add(widget, label->text());
        } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
            add(widget, edit->text());
            add(widget, edit->placeholderText());
        } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
            add(widget, group->title());
        } else if (auto* tabs = qobject_cast<QTabWidget*>(widget)) {
            for (int i = 0; i < tabs->count(); ++i) {
                add(widget, tabs->tabText(i));
            }
        }
        for (const QAction* action : widget->actions()) {
            add(action, action->text());
            add(action, action->toolTip());
        }
    }
    return texts;
}

QStringList RussianOf(const QStringList& texts)
{
    QStringList russian;
    for (const QString& text : texts) {
        if (HasCyrillic(text)) {
            russian.append(text);
        }
    }
    return russian;
}

}  // namespace

class LanguageTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void ChoosesLanguage_data()
    {
        QTest::addColumn<QString>("lumaLang");
        QTest::addColumn<QString>("locale");
        QTest::addColumn<bool>("russian");
        QTest::newRow("no locale") << QString() << QString() << true;
        QTest::newRow("C") << QString() << QStringLiteral("C") << true;
        QTest::newRow("C.UTF-8") << QString() << QStringLiteral("C.UTF-8") << true;
        QTest::newRow("POSIX") << QString() << QStringLiteral("POSIX") << true;
        QTest::newRow("Russian") << QString() << QStringLiteral("ru_RU.UTF-8") << true;
        QTest::newRow("Russian, Qt's name") << QString() << QStringLiteral("ru_UA") << true;
        QTest::newRow("English") << QString() << QStringLiteral("en_US.UTF-8") << false;
        QTest::newRow("German") << QString() << QStringLiteral("de_DE@euro") << false;
        QTest::newRow("LUMA_LANG=en, Russian") << QStringLiteral("en") << QStringLiteral("ru_RU.UTF-8") << false;
        QTest::newRow("LUMA_LANG=ru, German") << QStringLiteral("ru") << QStringLiteral("de_DE.UTF-8") << true;
        QTest::newRow("LUMA_LANG=en, C") << QStringLiteral("en") << QStringLiteral("C") << false;
        QTest::newRow("LUMA_LANG unknown") << QStringLiteral("fr") << QStringLiteral("ru_RU.UTF-8") << true;
    }
    void ChoosesLanguage()
    {
        QFETCH(QString, lumaLang);
        QFETCH(QString, locale);
        QFETCH(bool, russian);
        QCOMPARE(ChooseLanguage(lumaLang, locale) == Language::Russian, russian);
    }

    void EnglishWindowShowsNoRussian()
    {
        QTranslator qtTexts;
        QTranslator lumaTexts;
        QVERIFY(luma::app::InstallTexts(Language::English, qtTexts, lumaTexts));

        DialogFixture f;
        f.Dialog().show();
        f.OpenSample();
        QCOMPARE(f.Status(), QStringLiteral("File: sample     Records: 6     Current: 1    Marked: 2"));
        QCOMPARE(f.Control("m_btnExit")->text(), QStringLiteral("Exit"));
        const QStringList shown = ShownTexts(&f.Dialog());
        QVERIFY(shown.size() > 20);
        QVERIFY2(RussianOf(shown).isEmpty(), qPrintable(RussianOf(shown).join(u'\n')));

        QStringList settingsShown;
        f.prompter.settings.push_back([&settingsShown](luma::ui::SettingsDialog& dialog) {
            settingsShown = ShownTexts(&dialog);
            return false;
        });
        f.Click("m_btnSettings");
        QVERIFY(settingsShown.size() > 20);
        QVERIFY2(RussianOf(settingsShown).isEmpty(), qPrintable(RussianOf(settingsShown).join(u'\n')));

        luma::ui::FindDialog find({}, &f.Dialog());
        luma::ui::GoToDialog jump(&f.Dialog());
        luma::app::ProgressWindow progress(luma::app::UpdateText(luma::app::kUpdateProgressTitle));
        for (QWidget* dialog : {static_cast<QWidget*>(&find), static_cast<QWidget*>(&jump),
                                static_cast<QWidget*>(&progress)}) {
            const QStringList texts = ShownTexts(dialog);
            QVERIFY(!texts.isEmpty());
            QVERIFY2(RussianOf(texts).isEmpty(), qPrintable(RussianOf(texts).join(u'\n')));
        }

        // The session's questions and messages are composed from translated parts.
        f.Click("m_btnNext");
        f.Click("m_btnMark");  // record 2 had no label
        QCOMPARE(f.Status(), QStringLiteral("File: sample     Records: 6     Current: 3    Marked: 3"));
        f.prompter.yesNoCancel.push_back(luma::ui::Answer::No);
        f.Click("m_btnExit");
        QVERIFY2(f.prompter.shown.contains(QStringLiteral("ask: Save?")), qPrintable(f.prompter.shown.join(u'\n')));
        QVERIFY2(RussianOf(f.prompter.shown).isEmpty(), qPrintable(f.prompter.shown.join(u'\n')));
    }

    void RussianWindowWithQtsTextsInRussian()
    {
        QTranslator qtTexts;
        QTranslator lumaTexts;
        QVERIFY(luma::app::InstallTexts(Language::Russian, qtTexts, lumaTexts));
        QMessageBox box(QMessageBox::NoIcon, QStringLiteral("LUMA"), QStringLiteral("Сохранить?"),
                        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        QCOMPARE(box.button(QMessageBox::Yes)->text(), QStringLiteral("&Да"));
        QCOMPARE(box.button(QMessageBox::No)->text(), QStringLiteral("&Нет"));
        QCOMPARE(box.button(QMessageBox::Cancel)->text(), QStringLiteral("Отмена"));

        DialogFixture f;
        f.Dialog().show();
        f.OpenSample();
        QCOMPARE(f.Status(), QString::fromStdString(luma::FormatStatusLine("sample", 6, 1, 2)));
        QCOMPARE(f.Control("m_btnExit")->text(), QStringLiteral("Выход"));
    }
};

QTEST_MAIN(LanguageTest)
#include "language_test.moc"
