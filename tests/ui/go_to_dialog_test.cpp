// The go-to dialog: what can be typed and pasted, and the number it gives.

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QTest>
#include <climits>

#include "ui/main/go_to_dialog.h"

class JumpDlgTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void theLeadingNumberIsReadAsAtoiReadsIt_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("number");
        QTest::newRow("empty") << QString() << 0;
        QTest::newRow("12ab") << QStringLiteral("12ab") << 12;
        QTest::newRow("ab12") << QStringLiteral("ab12") << 0;
        QTest::newRow("white space and sign") << QStringLiteral(" \t-5x") << -5;
        QTest::newRow("beyond int") << QStringLiteral("99999999999") << INT_MAX;
        QTest::newRow("below int") << QStringLiteral("-99999999999") << INT_MIN;
        QTest::newRow("other scripts' digits") << QStringLiteral("٣") << 0;
    }

    void theLeadingNumberIsReadAsAtoiReadsIt()
    {
        QFETCH(QString, text);
        QFETCH(int, number);
        QCOMPARE(luma::ui::LeadingNumber(text), number);
    }

    void onlyDigitsCanBeTypedButPastedTextIsTaken()
    {
        luma::ui::GoToDialog dialog;
        dialog.show();
        QLineEdit* edit = dialog.NumberEdit();
        QCOMPARE(dialog.focusWidget(), edit);
        QTest::keyClicks(edit, QStringLiteral("1a2 -b3"));
        QCOMPARE(edit->text(), QStringLiteral("123"));
        edit->clear();
        QGuiApplication::clipboard()->setText(QStringLiteral("12ab"));
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.Number(), 12);
    }

    void enterConfirmsAnEmptyEditAndEscCancels()
    {
        luma::ui::GoToDialog confirmed;
        confirmed.show();
        QTest::keyClick(confirmed.NumberEdit(), Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(confirmed.result(), int(QDialog::Accepted));
        QCOMPARE(confirmed.Number(), 0);

        luma::ui::GoToDialog cancelled;
        cancelled.show();
        QTest::keyClick(cancelled.NumberEdit(), Qt::Key_Escape);
        QCOMPARE(cancelled.result(), int(QDialog::Rejected));
    }
};

QTEST_MAIN(JumpDlgTest)
#include "go_to_dialog_test.moc"
