#pragma once
// A list of records to choose from — the marked records, the problems of a file — with a few
// lines about them above. A double click or Enter on a row that names a record goes to it.

#include <QDialog>
#include <QStringList>
#include <QVector>
#include <optional>

class QTreeWidget;

namespace luma::ui {

struct RecordListRow {
    QStringList cells;
    int record = -1;  // 0-based; -1 for a row that names no record
};

class RecordListDialog final : public QDialog {
    Q_OBJECT

public:
    RecordListDialog(const QString& title, const QString& header, const QStringList& columns,
                  const QVector<RecordListRow>& rows, QWidget* parent = nullptr);

    // The record of the row chosen; read it after the dialog was accepted.
    std::optional<int> Chosen() const { return m_chosen; }
    QTreeWidget* List() const { return m_list; }

private:
    QTreeWidget* m_list = nullptr;
    std::optional<int> m_chosen;
};

}  // namespace luma::ui
