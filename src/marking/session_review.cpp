// Walking the marked records: the records that carry the label as the operator set it.

#include "marking/marking_session.h"
#include "marking/marking_texts.h"
#include "marking/record_select.h"
#include "records/record_title.h"

namespace luma {

void MarkingSession::OnNextMarked()
{
    GoToMarked(1);
}

void MarkingSession::OnPrevMarked()
{
    GoToMarked(-1);
}

void MarkingSession::GoToMarked(int step)
{
    if (!m_fileOpen) {
        return;
    }
    const int from = m_store.GetCurRecord();
    for (int record = from + step; record >= 0 && record < m_store.GetRecordCount(); record += step) {
        m_store.SetRecord(record);
        if (CountLabelFields(m_store) > 0) {
            RenderRecord();
            return;
        }
    }
    m_store.SetRecord(from);
    RenderRecord();
    m_display.ShowStatusNote(m_operator.Translate(step > 0 ? kNoMarkedAfter : kNoMarkedBefore));
}

std::vector<int> MarkingSession::MarkedRecords()
{
    return m_fileOpen ? RecordsWithLabel(m_store, m_labelField, m_labelText) : std::vector<int>();
}

std::string MarkingSession::TitleOfRecord(int record)
{
    const int current = m_store.GetCurRecord();
    m_store.SetRecord(record);
    std::string title = RecordTitle(m_store);
    m_store.SetRecord(current);
    return title;
}

}  // namespace luma
