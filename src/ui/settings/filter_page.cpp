#include "ui/settings/filter_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <algorithm>

#include "ui/settings/settings_target.h"

namespace luma::ui {
namespace {

// Case-insensitive, and stable for texts that differ in case alone.
bool SortsBefore(const QString& a, const QString& b)
{
    const int folded = a.compare(b, Qt::CaseInsensitive);
    return folded != 0 ? folded < 0 : a < b;
}

QStringList Sorted(QStringList texts)
{
    std::stable_sort(texts.begin(), texts.end(), SortsBefore);
    return texts;
}

}  // namespace

// Template 138; the controls are created in tab order.
FilterPage::FilterPage(SettingsTarget& main, QWidget* parent) : SettingsPage(parent), m_pMain(main)
{
    m_listFilter = Place(new QListWidget(this), 7, 7, 137, 122);
    m_listFilter->setObjectName(QStringLiteral("m_listFilter"));
    auto* add = Place(new QPushButton(tr("Добавить"), this), 146, 135, 51, 12);
    add->setObjectName(QStringLiteral("m_btnAdd"));
    auto* remove = Place(new QPushButton(tr("Удалить"), this), 146, 7, 51, 12);
    remove->setObjectName(QStringLiteral("m_btnDelete"));
    m_checkUseFilter = Place(new QCheckBox(tr("Использовать фильтр"), this), 223, 137, 88, 10);
    m_checkUseFilter->setObjectName(QStringLiteral("m_checkUseFilter"));
    m_comboTag = new QComboBox(this);
    m_comboTag->setObjectName(QStringLiteral("m_comboTag"));
    m_comboTag->setEditable(true);
    // The typed text is what counts: no completion from the offered tags, and Enter adds
    // nothing of its own to the offer.
    m_comboTag->setCompleter(nullptr);
    m_comboTag->setInsertPolicy(QComboBox::NoInsert);
    Place(m_comboTag, 7, 135, 137, 12);
    m_comboTag->resize(m_comboTag->width(), m_comboTag->sizeHint().height());

    const Settings& settings = main.CurrentSettings();
    m_checkUseFilter->setChecked(settings.useFilter);
    for (const std::string& tag : settings.filterFields) {
        AddEntry(QString::fromStdString(tag));
    }
    QStringList tags;
    for (const std::string& tag : main.CurrentRecordTags()) {
        tags.append(QString::fromStdString(tag));
    }
    m_comboTag->addItems(Sorted(tags));
    m_comboTag->setCurrentIndex(-1);
    m_comboTag->clearEditText();

    connect(add, &QPushButton::clicked, this, &FilterPage::OnAddClicked);
    connect(remove, &QPushButton::clicked, this, &FilterPage::OnDeleteClicked);
    connect(m_checkUseFilter, &QCheckBox::clicked, this, &FilterPage::OnUseFilterClicked);
}

QStringList FilterPage::Entries() const
{
    QStringList entries;
    for (int i = 0; i < m_listFilter->count(); ++i) {
        entries.append(m_listFilter->item(i)->text());
    }
    return entries;
}

void FilterPage::AddEntry(const QString& text)
{
    const QStringList entries = Entries();
    const auto place = std::upper_bound(entries.begin(), entries.end(), text, SortsBefore);
    m_listFilter->insertItem(static_cast<int>(place - entries.begin()), text);
}

void FilterPage::OnAddClicked()
{
    const QString text = m_comboTag->currentText();
    const QStringList entries = Entries();
    const bool present = std::any_of(entries.begin(), entries.end(), [&](const QString& entry) {
        return entry.startsWith(text, Qt::CaseInsensitive);
    });
    if (present || text.isEmpty()) {
        return;
    }
    AddEntry(text);
    RebuildFilterFields();
}

void FilterPage::OnDeleteClicked()
{
    const QList<QListWidgetItem*> selected = m_listFilter->selectedItems();
    if (!selected.isEmpty() && m_listFilter->count() > 1) {
        delete selected.first();
    }
    RebuildFilterFields();
}

void FilterPage::OnUseFilterClicked(bool checked)
{
    m_pMain.SetUseFilter(checked);
}

void FilterPage::RebuildFilterFields()
{
    std::vector<std::string> fields;
    for (const QString& entry : Entries()) {
        fields.push_back(entry.toStdString());
    }
    m_pMain.SetFilterFields(std::move(fields));
}

}  // namespace luma::ui
