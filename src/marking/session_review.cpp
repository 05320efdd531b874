// Walking the marked records: the records that carry the label as the operator set it.

#include "marking_session.h"
#include "marking_texts.h"

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
    const int from = m_iso.GetCurRecord();
    for (int record = from + step; record >= 0 && record < m_iso.GetRecordCount(); record += step) {
        m_iso.SetRecord(record);
        if (CountLabelFields(m_iso) > 0) {
            RenderRecord();
            return;
        }
    }
    m_iso.SetRecord(from);
    RenderRecord();
    m_host.ShowStatusNote(std::string(step > 0 ? kNoMarkedAfter : kNoMarkedBefore));
}

std::vector<int> MarkingSession::MarkedRecords()
{
    std::vector<int> marked;
    if (!m_fileOpen) {
        return marked;
    }
    const int current = m_iso.GetCurRecord();
    for (int record = 0; record < m_iso.GetRecordCount(); ++record) {
        m_iso.SetRecord(record);
        if (CountLabelFields(m_iso) > 0) {
            marked.push_back(record);
        }
    }
    m_iso.SetRecord(current);
    return marked;
}

}  // namespace luma
