#include "ui/main/go_to_dialog.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <climits>

#include "ui/common/dialog_units.h"

namespace luma::ui {

int LeadingNumber(const QString& text)
{
    qsizetype i = 0;
    while (i < text.size() && QStringView(u" \t\n\v\f\r").contains(text.at(i))) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text.at(i) == u'+' || text.at(i) == u'-')) {
        negative = text.at(i) == u'-';
        ++i;
    }
    long long value = 0;
    for (; i < text.size() && text.at(i) >= u'0' && text.at(i) <= u'9'; ++i) {
        value = value * 10 + (text.at(i).unicode() - u'0');
        if (value > static_cast<long long>(INT_MAX) + 1) {
            value = static_cast<long long>(INT_MAX) + 1;
        }
    }
    value = negative ? -value : value;
    if (value > INT_MAX) {
        return INT_MAX;
    }
    return static_cast<int>(value);
}

GoToDialog::GoToDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    const DialogBaseUnits base = BaseUnitsOf(font());
    setFixedSize(MapDialogSize(base, 186, 90));
    // No caption bar: the raised frame is all that sets the dialog off from the main window.
    auto* frame = new QFrame(this);
    frame->setFrameStyle(QFrame::Panel | QFrame::Raised);
    frame->setLineWidth(2);
    frame->setGeometry(rect());

    // Template order, which is also the tab order.
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setGeometry(MapDialogRect(base, 69, 69, 50, 14));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setGeometry(MapDialogRect(base, 129, 69, 50, 14));
    m_numberEdit = new QLineEdit(this);
    m_numberEdit->setObjectName(QStringLiteral("m_numberEdit"));
    m_numberEdit->setGeometry(MapDialogRect(base, 36, 26, 112, 15));
    m_numberEdit->installEventFilter(this);
    auto* prompt = new QLabel(tr("Введите номер записи"), this);
    prompt->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    prompt->setGeometry(MapDialogRect(base, 7, 7, 172, 18));

    connect(ok, &QPushButton::clicked, this, &GoToDialog::OnOkClicked);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    // The number is all this dialog is for: it is typed at once, and Enter still confirms.
    m_numberEdit->setFocus();
}

void GoToDialog::OnOkClicked()
{
    m_number = LeadingNumber(m_numberEdit->text());
    accept();
}

// Typing is limited to digits; pasted text is taken as it is, and its leading number counts.
bool GoToDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_numberEdit && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const QString text = key->text();
        const bool command = key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
        if (!command && !text.isEmpty() && text.at(0).isPrint() &&
            !std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; })) {
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace luma::ui
