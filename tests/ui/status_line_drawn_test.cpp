// The status line draws its text whatever the file is called and whatever the window's language:
// the window's font has Latin and Cyrillic in one family. The Windows build runs this on the
// Windows platform under Wine with the system's own fonts, where a font without Cyrillic once
// left every line that mixed the scripts blank while its text was there.

#include <QApplication>
#include <QFontInfo>
#include <QTest>

#include "dialog_fixture.h"
#include "ui/common/window_font.h"

using luma::test::DialogFixture;

namespace {

// Pixels of the field that are text rather than background or frame.
int TextPixels(QWidget* field)
{
    const QImage image = field->grab().toImage();
    int count = 0;
    for (int y = 2; y < image.height() - 2; ++y) {
        for (int x = 2; x < image.width() - 2; ++x) {
            count += qGray(image.pixel(x, y)) < 128 ? 1 : 0;
        }
    }
    return count;
}

}  // namespace

class StatusLineDrawnTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        luma::ui::ChooseWindowFont();  // as the program does at start
        const QString family = QFontInfo(QApplication::font()).family();
        QVERIFY2(luma::ui::CoversLatinAndCyrillic(family), qPrintable(family));
    }

    void latinAndCyrillicLinesAreDrawn()
    {
        DialogFixture fixture;
        fixture.OpenSample();
        QVERIFY2(fixture.Status().startsWith(QStringLiteral("Файл: sample ")), qPrintable(fixture.Status()));
        auto* line = fixture.Control<QLineEdit>("m_statusLine");
        // About sixty letters of some thirty pixels each; none at all when the line is blank.
        const QString texts[] = {
            fixture.Status(),
            QStringLiteral("File: sample     Records: 6     Current: 1    Marked: 0"),
            QStringLiteral("Файл: Каталог     Всего записей: 6     Текущая: 1    Помечено: 0"),
        };
        for (const QString& text : texts) {
            line->setText(text);
            line->setCursorPosition(0);
            QVERIFY2(TextPixels(line) > 300, qPrintable(text));
        }
    }
};

QTEST_MAIN(StatusLineDrawnTest)
#include "status_line_drawn_test.moc"
