// The progress window, the wait message, the progress callback between them and the download,
// and the real update question.

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QTranslator>

#include "app/message_window.h"
#include "app/progress_window.h"
#include "app/qt_texts.h"
#include "app/qt_update_prompter.h"
#include "app/update_check.h"

using luma::app::MessageWindow;
using luma::app::ProgressWindow;
using luma::app::UpdateProgressCallback;

namespace {

const QString kTitle = QString::fromUtf8(luma::app::kUpdateProgressTitle);

QMessageBox* VisibleMessageBox()
{
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* box = qobject_cast<QMessageBox*>(window); box && box->isVisible()) {
            return box;
        }
    }
    return nullptr;
}

// Should a check fail before the box is answered, the test must not wait on it forever.
void AnswerNoLater(QObject* context)
{
    QTimer::singleShot(3000, context, [] {
        if (QMessageBox* box = VisibleMessageBox()) {
            box->button(QMessageBox::No)->click();
        }
    });
}

}  // namespace

class UpdateWindowsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void progressWindowIsShownAtOnce()
    {
        const ProgressWindow window(kTitle);
        QVERIFY(window.isVisible());
        QVERIFY(window.isWindow());
        QCOMPARE(window.windowTitle(), QStringLiteral("Копирование обновления"));
        QCOMPARE(window.CancelButton()->text(), QStringLiteral("Отмена"));
        QVERIFY(window.CancelButton()->isEnabled());
        QCOMPARE(window.ProgressBar()->minimum(), 0);
        QCOMPARE(window.ProgressBar()->maximum(), 100);
        QCOMPARE(window.ProgressBar()->value(), 0);
        QVERIFY(!window.CheckCancelButton());
        const QRect screen = window.screen()->availableGeometry();
        QVERIFY(screen.contains(window.frameGeometry().center()));
    }

    void cancelButtonEscapeAndCloseBoxAskToCancel()
    {
        ProgressWindow byButton(kTitle);
        QTest::mouseClick(byButton.CancelButton(), Qt::LeftButton);
        QVERIFY(byButton.CheckCancelButton());
        QVERIFY(!byButton.CancelButton()->isEnabled());
        // The window stays until the download has stopped.
        QVERIFY(byButton.isVisible());

        ProgressWindow byKey(kTitle);
        QTest::keyClick(&byKey, Qt::Key_Escape);
        QVERIFY(byKey.CheckCancelButton());
        QVERIFY(byKey.isVisible());

        ProgressWindow byCloseBox(kTitle);
        QVERIFY(!byCloseBox.close());
        QVERIFY(byCloseBox.CheckCancelButton());
        QVERIFY(byCloseBox.isVisible());
    }

    void destroyWindowCloses()
    {
        ProgressWindow window(kTitle);
        QVERIFY(window.DestroyWindow());
        QVERIFY(!window.isVisible());
        QVERIFY(!window.DestroyWindow());
        QVERIFY(!window.CheckCancelButton());
    }

    void callbackSetsRangeAndPositionAndReportsCancel()
    {
        ProgressWindow window(kTitle);
        QCOMPARE(UpdateProgressCallback(&window, 8000, 0), 0);
        QCOMPARE(window.ProgressBar()->maximum(), 8000);
        QCOMPARE(window.ProgressBar()->value(), 0);
        QCOMPARE(UpdateProgressCallback(&window, 0, 3000), 0);
        QCOMPARE(window.ProgressBar()->maximum(), 8000);
        QCOMPARE(window.ProgressBar()->value(), 3000);
        QCOMPARE(UpdateProgressCallback(&window, 8000, 4000), 0);
        QCOMPARE(window.ProgressBar()->value(), 4000);
        QTest::mouseClick(window.CancelButton(), Qt::LeftButton);
        QCOMPARE(UpdateProgressCallback(&window, 8000, 5000), 1);
        QCOMPARE(window.ProgressBar()->value(), 5000);
    }

    void callbackWithNothingOnlyPollsCancel()
    {
        ProgressWindow window(kTitle);
        window.SetRange(0, 700);
        window.SetPos(300);
        QCOMPARE(UpdateProgressCallback(&window, 0, 0), 0);
        QCOMPARE(UpdateProgressCallback(&window, -1, -1), 0);
        QCOMPARE(window.ProgressBar()->maximum(), 700);
        QCOMPARE(window.ProgressBar()->value(), 300);
        window.close();  // the close box
        QCOMPARE(UpdateProgressCallback(&window, 0, 0), 1);
        QCOMPARE(window.ProgressBar()->maximum(), 700);
        QCOMPARE(window.ProgressBar()->value(), 300);
    }

    void waitMessageShownUntilDestroyed()
    {
        const QString text = QString::fromUtf8(luma::app::kUpdateWaitText);
        QCOMPARE(text, QStringLiteral("Обновление программы. ЖДИТЕ..."));
        QWidget* shown = nullptr;
        {
            MessageWindow wait(text);
            shown = &wait;
            QVERIFY(wait.isVisible());
            QCOMPARE(wait.Message(), text);
            QCOMPARE(wait.windowTitle(), text);
            const QLabel* label = wait.findChild<QLabel*>();
            QVERIFY(label);
            QCOMPARE(label->text(), text);
            QVERIFY(label->isVisible());
            QVERIFY(!wait.close());
            QVERIFY(wait.isVisible());
            QVERIFY(QApplication::overrideCursor());
            QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
            QVERIFY(QApplication::topLevelWidgets().contains(shown));
        }
        QVERIFY(!QApplication::overrideCursor());
        QVERIFY(!QApplication::topLevelWidgets().contains(shown));
    }

    // Qt's own texts are Russian like the rest: the system's on Linux, the executable's own
    // on Windows.
    void realQuestionYes()
    {
        QTranslator qtTexts;
        QVERIFY2(luma::app::InstallRussianQtTexts(qtTexts),
                 "no qtbase_ru.qm (Debian package qt6-translations-l10n)");
        bool seen = false;
        QTimer::singleShot(50, this, [&seen] {
            QMessageBox* box = VisibleMessageBox();
            QVERIFY(box);
            seen = true;
            QCOMPARE(box->windowTitle(), QStringLiteral("Новая версия LUMA"));
            QCOMPARE(box->text(),
                     QStringLiteral("Появилось обновление для программы 'LUMA'.\nВ процессе "
                                    "установки все запущенные копии 'LUMA' будут закрыты!\n\n"
                                    "Устанавить сейчас?"));
            QCOMPARE(box->icon(), QMessageBox::Question);
            QCOMPARE(box->standardButtons(), QMessageBox::Yes | QMessageBox::No);
            QCOMPARE(box->defaultButton(), box->button(QMessageBox::Yes));
            QCOMPARE(box->button(QMessageBox::Yes)->text(), QStringLiteral("&Да"));
            QCOMPARE(box->button(QMessageBox::No)->text(), QStringLiteral("&Нет"));
            QVERIFY(!box->parentWidget());
            QVERIFY(box->isModal());
            // Esc is no answer; Enter takes the default.
            QTest::keyClick(box, Qt::Key_Escape);
            QVERIFY(box->isVisible());
            QTest::keyClick(box, Qt::Key_Return);
        });
        AnswerNoLater(this);
        luma::app::QtUpdatePrompter prompter;
        QVERIFY(prompter.AskYesNo(QString::fromUtf8(luma::app::kUpdatePromptTitle),
                                  QString::fromUtf8(luma::app::kUpdatePromptText)));
        QVERIFY(seen);
        QCoreApplication::removeTranslator(&qtTexts);
    }
};

QTEST_MAIN(UpdateWindowsTest)
#include "update_windows_test.moc"
