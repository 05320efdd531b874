// Where the main dialog's controls go: the layout formulas, and the dialog units they start from.

#include <QTest>

#include "dialog_fixture.h"
#include "res/resources.h"
#include "ui/common/dialog_units.h"
#include "ui/main/main_layout.h"

class LayoutTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { luma::res::Load(); }

    // 800 x 600 with record buttons of 36 x 33 and command buttons of 75 x 26; record buttons
    // of other sizes all take Last's, command buttons Exit's.
    void theWorkedExampleComesOutExactly()
    {
        luma::test::DialogFixture f;
        f.Control("m_btnLast")->resize(36, 33);
        f.Control("m_btnFirst")->resize(50, 50);
        f.Control("m_btnExit")->resize(75, 26);
        f.Control("m_btnSave")->resize(10, 10);
        f.Dialog().resize(800, 600);
        QTRY_COMPARE(f.Dialog().size(), QSize(800, 600));
        QCOMPARE(f.Control<QWidget>("m_viewEdit")->geometry(), QRect(10, 10, 690, 510));
        QCOMPARE(f.Control<QWidget>("m_indicator")->pos(), QPoint(10, 540));
        QCOMPARE(f.Control<QWidget>("m_statusLine")->geometry(), QRect(10, 570, 780, 20));
        const std::pair<const char*, int> record[] = {{"m_btnLast", 670}, {"m_btnGoTo", 629}, {"m_btnNext", 588},
                                                      {"m_btnUnmark", 547}, {"m_btnMark", 506}, {"m_btnPrev", 465},
                                                      {"m_btnFirst", 424}};
        for (const auto& [name, x] : record) {
            QCOMPARE(f.Control(name)->geometry(), QRect(x, 525, 36, 33));
        }
        const std::pair<const char*, int> command[] = {{"m_btnExit", 10}, {"m_btnOpen", 56}, {"m_btnSettings", 102},
                                                       {"m_btnSave", 148}};
        for (const auto& [name, y] : command) {
            QCOMPARE(f.Control(name)->geometry(), QRect(715, y, 75, 26));
        }
        // Every later size change places them again.
        f.Dialog().resize(640, 480);
        QTRY_COMPARE(f.Control("m_btnLast")->geometry(), QRect(510, 405, 36, 33));
    }

    void aTinyClientAreaGivesEmptyControls()
    {
        const luma::ui::MainLayout layout = luma::ui::LayOutMainDialog({60, 50}, {36, 33}, {75, 26}, {21, 20});
        QCOMPARE(layout.view, QRect(10, 10, 0, 0));
        QCOMPARE(layout.status, QRect(10, 20, 40, 20));
    }

    void dialogUnitsRoundAsWindowsDoes()
    {
        // MS Shell Dlg 8 at 96 DPI: 6 pixels per 4 units across, 13 per 8 down.
        const luma::ui::DialogBaseUnits windows{6, 13};
        QCOMPARE(luma::ui::MapDialogSize(windows, 458, 286), QSize(687, 465));
        QCOMPARE(luma::ui::MapDialogRect(windows, 401, 7, 24, 20), QRect(602, 11, 36, 33));  // halves round up
    }
};

QTEST_MAIN(LayoutTest)
#include "layout_test.moc"
