#include "ui/main/find_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>

namespace luma::ui {

FindDialog::FindDialog(const FindQuery& last, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(tr("Найти"));
    m_editText = new QLineEdit(QString::fromStdString(last.text), this);
    m_editText->setObjectName(QStringLiteral("m_editText"));
    m_editText->setMinimumWidth(260);
    m_editText->selectAll();
    m_editField = new QLineEdit(QString::fromStdString(last.fieldTag), this);
    m_editField->setObjectName(QStringLiteral("m_editField"));
    m_editField->setMaxLength(3);
    m_editField->setMaximumWidth(60);
    m_editField->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9A-Za-z]{0,3}")), this));
    m_checkCase = new QCheckBox(tr("учитывать регистр"), this);
    m_checkCase->setObjectName(QStringLiteral("m_checkCase"));
    m_checkCase->setChecked(last.matchCase);
    m_checkDiacritics = new QCheckBox(tr("без учёта диакритики"), this);
    m_checkDiacritics->setObjectName(QStringLiteral("m_checkDiacritics"));
    m_checkDiacritics->setChecked(last.ignoreDiacritics);

    auto* next = new QPushButton(tr("Найти далее"), this);
    next->setObjectName(QStringLiteral("m_btnFindNext"));
    next->setDefault(true);
    auto* previous = new QPushButton(tr("Найти назад"), this);
    previous->setObjectName(QStringLiteral("m_btnFindPrev"));
    auto* close = new QPushButton(tr("Закрыть"), this);

    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel(tr("Текст:"), this), 0, 0);
    layout->addWidget(m_editText, 0, 1, 1, 2);
    layout->addWidget(next, 0, 3);
    layout->addWidget(new QLabel(tr("только в поле"), this), 1, 0);
    layout->addWidget(m_editField, 1, 1);
    layout->addWidget(previous, 1, 3);
    layout->addWidget(m_checkCase, 2, 1, 1, 2);
    layout->addWidget(close, 2, 3);
    layout->addWidget(m_checkDiacritics, 3, 1, 1, 2);

    connect(next, &QPushButton::clicked, this, [this] { FindIn(FindDirection::Forward); });
    connect(previous, &QPushButton::clicked, this, [this] { FindIn(FindDirection::Backward); });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    m_editText->setFocus();
}

FindQuery FindDialog::Query() const
{
    return {m_editText->text().toStdString(), m_editField->text().toStdString(), m_checkCase->isChecked(),
            m_checkDiacritics->isChecked()};
}

void FindDialog::FindIn(FindDirection direction)
{
    if (m_editText->text().isEmpty()) {
        m_editText->setFocus();
        return;
    }
    m_direction = direction;
    accept();
}

}  // namespace luma::ui
