// The real modal windows behind the prompter, answered with keys. Qt's own dialogs, not the
// platform's, so that the keys reach them.

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <functional>

#include "res/resources.h"
#include "ui/main/qt_prompter.h"

namespace {

// Runs `answer` on the modal window once it is up; the test's TIMEOUT ends a window it missed.
void WhenModal(std::function<void(QWidget*)> answer)
{
    auto* poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, answer] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            poll->stop();
            poll->deleteLater();
            answer(modal);
        }
    });
    poll->start(20);
}

}  // namespace

class DialogsSmokeTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void enterAnswersYesAndEscDoesNotAnswerAYesNoQuestion()
    {
        luma::ui::QtPrompter prompter;
        WhenModal([](QWidget* box) {
            QTest::keyClick(box, Qt::Key_Escape);
            QVERIFY(box->isVisible());
            QTest::keyClick(box, Qt::Key_Return);
        });
        QVERIFY(prompter.AskYesNo(nullptr, QStringLiteral("Продолжить работу?")));
    }

    void theGoToDialogGivesTheTypedNumber()
    {
        luma::ui::QtPrompter prompter;
        WhenModal([](QWidget* dialog) {
            QTest::keyClicks(dialog->focusWidget(), QStringLiteral("5"));
            QTest::keyClick(dialog->focusWidget(), Qt::Key_Return);
        });
        QCOMPARE(prompter.AskRecordNumber(nullptr), std::optional<int>(5));
    }
};

int main(int argc, char** argv)
{
    QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    QApplication application(argc, argv);
    luma::res::Load();
    DialogsSmokeTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "dialogs_smoke_test.moc"
