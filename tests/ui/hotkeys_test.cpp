// The four hotkeys: key events turned into codes whatever the layout, the moments they are
// armed, and what pressing them does wherever the focus is.

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QThread>
#include <QTimer>

#include "dialog_fixture.h"
#include "keys/hotkey_code.h"
#include "marking/marking_texts.h"
#include "res/resources.h"
#include "ui/main/hotkey_filter.h"
#include "keys/qt/key_event_code.h"
#include "ui/settings/hotkey_page.h"
#include "ui/settings/hotkey_edit.h"

using luma::test::DialogFixture;
using luma::ui::NativeKeys;

namespace {

constexpr int kCtrlAltN = 0x064E;
constexpr int kPlainN = 0x004E;
constexpr int kShiftInsert = 0x092D;  // as the editor records it: extended
constexpr int kRight = 0x0027;        // without the extended bit, as a hand-edited profile may hold it
constexpr int kLeft = 0x0825;

QString StatusLine(int current, int marked)
{
    return QString::fromStdString(luma::FormatStatusLine("sample", 6, current, marked));
}

void StoreHotkeys(DialogFixture& f, int mark, int unmark, int next, int prev)
{
    f.profile.PutInt("HOTDLG", "HOTSET", mark);
    f.profile.PutInt("HOTDLG", "HOTRESET", unmark);
    f.profile.PutInt("HOTDLG", "HOTNEXT", next);
    f.profile.PutInt("HOTDLG", "HOTPREV", prev);
}

luma::HotkeyCodes Codes(int mark, int unmark, int next, int prev)
{
    return {mark, unmark, next, prev, luma::kDefaultHotNextMarked, luma::kDefaultHotPrevMarked};
}

}  // namespace

Q_DECLARE_METATYPE(NativeKeys)

class HotkeysTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { luma::res::Load(); }

    void aKeyGivesTheSameCodeOnEveryLayout_data()
    {
        QTest::addColumn<NativeKeys>("native");
        QTest::addColumn<int>("key");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::addColumn<quint32>("scanCode");
        QTest::addColumn<quint32>("virtualKey");
        QTest::addColumn<int>("code");
        const auto ctrlAlt = Qt::KeyboardModifiers(Qt::ControlModifier | Qt::AltModifier);
        const auto x11 = NativeKeys::X11Keycodes;
        const auto windows = NativeKeys::WindowsVirtualKeys;
        const auto none = NativeKeys::None;
        QTest::newRow("X11, US layout") << x11 << int(Qt::Key_N) << ctrlAlt << 57u << 0x006Eu << kCtrlAltN;
        QTest::newRow("X11, Russian layout") << x11 << 0x0422 << ctrlAlt << 57u << 0x06D4u << kCtrlAltN;
        QTest::newRow("X11, Shift+Insert") << x11 << int(Qt::Key_Insert) << Qt::KeyboardModifiers(Qt::ShiftModifier)
                                           << 118u << 0xFF63u << kShiftInsert;
        QTest::newRow("X11, keypad Enter") << x11 << int(Qt::Key_Enter) << Qt::KeyboardModifiers(Qt::KeypadModifier)
                                           << 104u << 0xFF8Du << 0x080D;
        QTest::newRow("X11, keycode unknown") << x11 << int(Qt::Key_F5) << Qt::KeyboardModifiers() << 250u << 0u << 0x0074;
        QTest::newRow("Windows, Russian layout") << windows << 0x0422 << ctrlAlt << 0x31u << 0x4Eu << kCtrlAltN;
        QTest::newRow("Windows, grey Insert") << windows << int(Qt::Key_Insert) << Qt::KeyboardModifiers(Qt::ShiftModifier)
                                              << 0x152u << 0x2Du << kShiftInsert;
        QTest::newRow("Qt key, Russian letter") << none << 0x0422 << ctrlAlt << 0u << 0u << kCtrlAltN;
        QTest::newRow("Qt key, shifted digit") << none << int(Qt::Key_Exclam) << Qt::KeyboardModifiers(Qt::ShiftModifier)
                                               << 0u << 0u << 0x0131;
        QTest::newRow("Qt key, keypad 5") << none << int(Qt::Key_5) << Qt::KeyboardModifiers(Qt::KeypadModifier)
                                          << 0u << 0u << 0x0065;
        QTest::newRow("with the Windows key") << x11 << int(Qt::Key_N) << Qt::KeyboardModifiers(Qt::MetaModifier)
                                              << 57u << 0x006Eu << 0;
        QTest::newRow("no key at all") << none << int(Qt::Key_unknown) << Qt::KeyboardModifiers() << 0u << 0u << 0;
    }

    void aKeyGivesTheSameCodeOnEveryLayout()
    {
        QFETCH(NativeKeys, native);
        QFETCH(int, key);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        QFETCH(quint32, scanCode);
        QFETCH(quint32, virtualKey);
        QFETCH(int, code);
        const QKeyEvent event(QEvent::KeyPress, key, modifiers, scanCode, virtualKey, 0);
        QCOMPARE(luma::ui::HotkeyCodeOf(event, native), code);
    }

    void theHotkeysAreArmedAtTheirMoments()
    {
        DialogFixture f;
        StoreHotkeys(f, kCtrlAltN, 0, 0, 0);
        const luma::ui::HotkeyFilter& hotkeys = f.Dialog().Hotkeys();
        f.Dialog().OnActivateApp(false);
        QVERIFY(!hotkeys.IsArmed());
        f.Dialog().OnActivateApp(true);
        QVERIFY(hotkeys.IsArmed());
        QCOMPARE(hotkeys.ArmedCodes(), Codes(kCtrlAltN, 0, 0, 0));
        f.Dialog().OnActivateApp(false);
        f.OpenSample();
        QVERIFY(hotkeys.IsArmed());

        // Free while the settings dialog is open; armed after it with the codes then current.
        bool armedInside = true;
        f.prompter.settings.push_back([&](luma::ui::SettingsDialog& dialog) {
            armedInside = hotkeys.IsArmed();
            dialog.Hotkeys()->m_hkPrev->SetCode(kLeft);
            return false;
        });
        f.Click("m_btnSettings");
        QVERIFY(!armedInside);
        QVERIFY(hotkeys.IsArmed());
        QCOMPARE(hotkeys.ArmedCodes(), Codes(kCtrlAltN, 0, 0, 0));

        f.prompter.settings.push_back([&](luma::ui::SettingsDialog& dialog) {
            armedInside = hotkeys.IsArmed();
            dialog.Hotkeys()->m_hkPrev->SetCode(kLeft);
            return true;
        });
        f.Click("m_btnSettings");
        QVERIFY(!armedInside);
        QVERIFY(hotkeys.IsArmed());
        QCOMPARE(hotkeys.ArmedCodes(), Codes(kCtrlAltN, 0, 0, kLeft));
    }

    // Find's own keys give way to a hotkey the operator put on them; without one they find.
    void anOperatorsHotkeyWinsOverTheFindKeys()
    {
        constexpr int kF3 = 0x0072;
        DialogFixture f;
        StoreHotkeys(f, kF3, 0, 0, 0);
        f.OpenSample();
        f.Click("m_btnNext");  // the first record carries the label already
        auto* view = f.Control<QPlainTextEdit>("m_viewEdit");
        QTest::keyClick(view, Qt::Key_F3);
        QCOMPARE(f.Status(), StatusLine(3, 3));
        // Shortcuts answer in the active window only.
        f.Dialog().show();
        f.Dialog().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&f.Dialog()));
        QTest::keyClick(view, Qt::Key_F, Qt::ControlModifier);
        QCOMPARE(f.prompter.shown.last(), QStringLiteral("dialog: Найти"));
    }

    void hotkeysRunTheirCommandsAndTheViewNeverTypesThem()
    {
        DialogFixture f;
        StoreHotkeys(f, kPlainN, kShiftInsert, kRight, kLeft);
        f.OpenSample();
        auto* view = f.Control<QPlainTextEdit>("m_viewEdit");
        view->setFocus();

        QTest::keyClick(view, Qt::Key_Right);  // recorded without the extended bit: the same key
        QCOMPARE(f.Status(), StatusLine(2, 2));
        QTest::keyClick(view, Qt::Key_N);
        QCOMPARE(f.Status(), StatusLine(3, 3));  // marked, and on to the next record
        QCOMPARE(f.View(), QString::fromStdString(f.Dialog().Session().ViewText()).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
        QTest::keyClick(view, Qt::Key_Left);
        QTest::keyClick(view, Qt::Key_Insert, Qt::ShiftModifier);
        QCOMPARE(f.Status(), StatusLine(3, 2));

        // Held down, a hotkey repeats its command.
        for (int i = 0; i < 2; ++i) {
            QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier, QString(), true);
            QApplication::sendEvent(view, &repeat);
        }
        QCOMPARE(f.Status(), StatusLine(5, 2));
        QVERIFY(f.prompter.shown.endsWith(QStringLiteral("open: .iso")));
    }

    void repeatsThatCameInWhileASlowCommandRanAreDropped()
    {
        QList<int> runs;
        QWidget target;
        luma::ui::HotkeyFilter filter([] { return true; },
                                      [&runs](int id) {
                                          runs.append(id);
                                          QThread::msleep(50);  // as slow as a mark on a big file
                                      },
                                      luma::ui::NativeKeys::None, nullptr);
        filter.Arm({kPlainN, 0, 0, 0});
        // A key held down from t = 1000 ms, repeating every 30 ms, then tapped again.
        const auto press = [&target](quint64 timestamp, bool repeat) {
            QKeyEvent event(QEvent::KeyPress, Qt::Key_N, Qt::NoModifier, QString(), repeat);
            event.setTimestamp(timestamp);
            QApplication::sendEvent(&target, &event);
        };
        press(1000, false);
        press(1030, true);  // came in while the first mark ran: dropped
        press(1060, true);  // after it: runs
        press(1090, true);
        press(1100, false);  // a new press always runs
        QCOMPARE(runs, QList<int>({1, 1, 1}));

        // Quick commands run on every repeat, whatever the timestamps say.
        runs.clear();
        luma::ui::HotkeyFilter quick([] { return true; }, [&runs](int id) { runs.append(id); },
                                     luma::ui::NativeKeys::None, nullptr);
        filter.Disarm();
        quick.Arm({0, 0, kPlainN, 0});
        for (int i = 0; i < 3; ++i) {
            press(2000, true);
        }
        QCOMPARE(runs, QList<int>({3, 3, 3}));
    }

    void hotkeysWaitForAFileAndForOurModalWindowsToClose()
    {
        DialogFixture f;
        StoreHotkeys(f, kPlainN, 0, 0, 0);
        f.Dialog().OnActivateApp(true);
        auto* view = f.Control<QPlainTextEdit>("m_viewEdit");
        QTest::keyClick(view, Qt::Key_N, Qt::NoModifier);
        QCOMPARE(f.View(), QStringLiteral("n"));  // no file: an ordinary key
        QVERIFY(f.prompter.shown.isEmpty());

        f.OpenSample();
        f.Click("m_btnNext");
        QDialog question(&f.Dialog());
        auto* answer = new QLineEdit(&question);
        QTimer::singleShot(0, &question, [&] {
            QTest::keyClick(answer, Qt::Key_N);
            question.accept();
        });
        question.exec();
        QCOMPARE(answer->text(), QStringLiteral("n"));
        QCOMPARE(f.Status(), StatusLine(2, 2));
        QTest::keyClick(view, Qt::Key_N);
        QCOMPARE(f.Status(), StatusLine(3, 3));
    }

    void theSettingsDialogTakesAHotkeysCombinationAndTheLowestIdWins()
    {
        DialogFixture f;
        StoreHotkeys(f, kCtrlAltN, 0, 0, 0);
        f.OpenSample();
        f.Click("m_btnNext");
        f.prompter.settings.push_back([](luma::ui::SettingsDialog& dialog) {
            luma::ui::HotkeyEdit* next = dialog.Hotkeys()->m_hkNext;
            next->setFocus();
            QTest::keyClick(next, Qt::Key_N, Qt::ControlModifier | Qt::AltModifier);
            return true;
        });
        f.Click("m_btnSettings");
        QCOMPARE(f.Status(), StatusLine(2, 2));  // nothing was marked meanwhile
        QCOMPARE(f.profile.GetInt("HOTDLG", "HOTNEXT"), std::optional<int>(kCtrlAltN));

        // Mark and next now share the combination: mark, the lower id, answers.
        QTest::keyClick(f.Control<QPlainTextEdit>("m_viewEdit"), Qt::Key_N, Qt::ControlModifier | Qt::AltModifier);
        QCOMPARE(f.Status(), StatusLine(3, 3));
        for (int id : {0, -1, 7}) {
            f.Dialog().OnHotKey(id);
        }
        QCOMPARE(f.Status(), StatusLine(3, 3));
        QCOMPARE(f.prompter.shown, (QStringList{QStringLiteral("open: .iso"), QStringLiteral("settings")}));
    }

    void theEditorRecordsClearsAndPassesKeysOn()
    {
        QWidget page;
        auto* edit = new luma::ui::HotkeyEdit(NativeKeys::None, &page);
        auto* after = new QLineEdit(&page);
        page.show();
        page.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&page));
        QCOMPARE(edit->text(), QStringLiteral("Нет"));
        edit->setFocus();
        QTest::keyPress(edit, Qt::Key_Control, Qt::ControlModifier | Qt::AltModifier);
        QCOMPARE(edit->text(), QStringLiteral("Ctrl+Alt+"));
        QTest::keyRelease(edit, Qt::Key_Control, Qt::AltModifier);
        QCOMPARE(edit->text(), QStringLiteral("Нет"));
        QCOMPARE(edit->Code(), 0);
        // A Russian layout's letter is the key's US letter.
        QTest::sendKeyEvent(QTest::Press, edit, Qt::Key(0x0422), QStringLiteral("т"), Qt::ControlModifier | Qt::AltModifier);
        QCOMPARE(edit->Code(), kCtrlAltN);
        QCOMPARE(edit->text(), QStringLiteral("Ctrl+Alt+N"));
        QTest::keyClick(edit, Qt::Key_Insert, Qt::ShiftModifier);
        QCOMPARE(edit->Code(), kShiftInsert);
        QCOMPARE(edit->text(), QStringLiteral("Shift+Insert"));
        QTest::keyClick(edit, Qt::Key_Backspace);
        QCOMPARE(edit->Code(), 0);
        edit->SetCode(0x7F064E);
        QCOMPARE(edit->Code(), kCtrlAltN);
        QTest::keyClick(edit, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), after);
        QCOMPARE(edit->Code(), kCtrlAltN);
    }
};

QTEST_MAIN(HotkeysTest)
#include "hotkeys_test.moc"
