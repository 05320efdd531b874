// The window placement and the view font as the main dialog reads them at start and writes
// them back.

#include <QTest>

#include "dialog_fixture.h"
#include "res/resources.h"
#include "settings/settings.h"
#include "ui/main/view_font.h"
#include "ui/main/window_geometry.h"

namespace {

luma::WindowPlacement Placement(std::uint32_t showCmd, std::uint32_t flags = 0)
{
    luma::WindowPlacement placement;
    placement.showCmd = showCmd;
    placement.flags = flags;
    placement.minPosition = {-1, -1};
    placement.maxPosition = {-8, -31};
    placement.normalPosition = {40, 30, 940, 670};
    return placement;
}

luma::LogFont StoredFont()
{
    luma::LogFont font;
    font.height = -19;
    font.weight = 700;
    font.italic = 1;
    font.charSet = 204;          // RUSSIAN_CHARSET
    font.quality = 5;            // CLEARTYPE_QUALITY
    font.pitchAndFamily = 0x31;  // FF_MODERN | FIXED_PITCH
    font.faceName = "DejaVu Sans Mono";
    return font;
}

}  // namespace

Q_DECLARE_METATYPE(luma::WindowPlacement)

class SettingsRoundTripTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { luma::res::Load(); }

    void thePlacementComesBackAsItWasStored_data()
    {
        QTest::addColumn<luma::WindowPlacement>("stored");
        QTest::addColumn<Qt::WindowStates>("state");
        QTest::newRow("normal") << Placement(luma::kShowNormal) << Qt::WindowStates(Qt::WindowNoState);
        QTest::newRow("maximised") << Placement(luma::kShowMaximized) << Qt::WindowStates(Qt::WindowMaximized);
        QTest::newRow("minimised from maximised")
            << Placement(luma::kShowMinimized, 2) << (Qt::WindowMinimized | Qt::WindowMaximized);
    }

    void thePlacementComesBackAsItWasStored()
    {
        QFETCH(luma::WindowPlacement, stored);
        QFETCH(Qt::WindowStates, state);
        QCOMPARE(luma::ui::ToQt(stored).state, state);
        luma::test::DialogFixture f;
        QVERIFY(!luma::StoreWindowPlacement(stored, f.profile));
        luma::ui::MainWindow& dialog = f.Dialog();
        QTRY_COMPARE(dialog.windowState(), state);
        if (state == Qt::WindowNoState) {
            QCOMPARE(dialog.frameGeometry(), QRect(40, 30, 900, 640));
        }
        dialog.Quit();
        QCOMPARE(luma::LoadWindowPlacement(f.profile), stored);
    }

    void firstStartKeepsTheTemplateFontAndStoresA44BytePlacement()
    {
        luma::test::DialogFixture f;
        QCOMPARE(f.Control<QWidget>("m_viewEdit")->font(), f.Dialog().font());
        f.Dialog().Quit();
        const std::optional<luma::SettingsBytes> pos = f.profile.GetBytes("MAIN", "POS");
        QVERIFY(pos && pos->size() == 44);
        const luma::WindowPlacement written = *luma::WindowPlacementFromBytes(*pos);
        QCOMPARE(written.showCmd, luma::kShowNormal);
        QCOMPARE(written.minPosition, (luma::WinPoint{-1, -1}));
        QCOMPARE(written.normalPosition.right - written.normalPosition.left, f.Dialog().frameGeometry().width());
    }

    void theStoredFontIsTheViewsAndIsStoredUnchanged()
    {
        luma::test::DialogFixture f;
        f.profile.PutBytes("SFILEDLG", "FONT", luma::LogFontToBytes(StoredFont()));
        const QFont view = f.Control<QWidget>("m_viewEdit")->font();
        QCOMPARE(view, f.Dialog().ViewFont().value_or(QFont()));
        QCOMPARE(view.pixelSize(), 19);
        QCOMPARE(view.weight(), QFont::Bold);
        QVERIFY(view.italic() && view.fixedPitch());
        QCOMPARE(view.family(), QStringLiteral("DejaVu Sans Mono"));
        f.Dialog().StoreSettings();
        QCOMPARE(f.profile.GetBytes("SFILEDLG", "FONT"), luma::LogFontToBytes(StoredFont()));
    }

    void aChangedFontKeepsTheFieldsQtHasNoUseFor()
    {
        const QFont base;
        QFont chosen = luma::ui::ToQFont(StoredFont(), base);
        chosen.setPointSize(12);  // 16 pixels at 96 DPI
        chosen.setWeight(QFont::Normal);
        const luma::LogFont written = luma::ui::FromQFont(chosen, StoredFont(), base);
        QCOMPARE(written.height, -16);
        QCOMPARE(written.weight, 400);
        QCOMPARE(written.charSet, std::uint8_t(204));
        QCOMPARE(written.quality, std::uint8_t(5));
        QCOMPARE(written.pitchAndFamily, std::uint8_t(0x31));
    }
};

QTEST_MAIN(SettingsRoundTripTest)
#include "settings_round_trip_test.moc"
