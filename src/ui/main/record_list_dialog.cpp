#include "ui/main/record_list_dialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace luma::ui {

RecordListDialog::RecordListDialog(const QString& title, const QString& header, const QStringList& columns,
                             const QVector<RecordListRow>& rows, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(title);
    resize(640, 420);
    auto* layout = new QVBoxLayout(this);
    if (!header.isEmpty()) {
        auto* label = new QLabel(header, this);
        label->setObjectName(QStringLiteral("m_header"));
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        layout->addWidget(label);
    }
    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("m_list"));
    m_list->setHeaderLabels(columns);
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    for (const RecordListRow& row : rows) {
        auto* item = new QTreeWidgetItem(m_list, row.cells);
        item->setData(0, Qt::UserRole, row.record);
    }
    m_list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_list->header()->setStretchLastSection(true);
    if (m_list->topLevelItemCount() > 0) {
        m_list->setCurrentItem(m_list->topLevelItem(0));
    }
    layout->addWidget(m_list);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    layout->addWidget(buttons);

    // itemActivated: a double click, or Enter on the current row.
    connect(m_list, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
        const int record = item->data(0, Qt::UserRole).toInt();
        if (record >= 0) {
            m_chosen = record;
            accept();
        }
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    m_list->setFocus();
}

}  // namespace luma::ui
