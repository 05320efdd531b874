// The record view, the status line, and the moves between records that end in them.

#include "marking/marking_session.h"
#include "marking/marking_texts.h"
#include "records/iso_record.h"

namespace luma {

std::vector<std::string> MarkingSession::CurrentRecordTags() const
{
    std::vector<std::string> tags;
    const int current = CurrentRecord();
    if (current < 0 || current >= static_cast<int>(m_records.size())) {
        return tags;
    }
    for (const Field& field : ParseRecord(m_records[static_cast<std::size_t>(current)], current, 0).fields) {
        tags.push_back(field.tag);
    }
    return tags;
}

void MarkingSession::RenderRecord()
{
    FollowSourceCopy();
    m_viewText.clear();
    for (int i = 0; i < m_store.GetFieldCount(); ++i) {
        const std::string tag = m_store.GetFieldName(i);
        if (!IsFieldShown(tag)) {
            continue;
        }
        if (!m_viewText.empty()) {
            m_viewText += kViewSeparator;
        }
        m_viewText += FormatViewLine(tag, m_store.GetFieldText(i));
    }
    m_display.ShowViewText(m_viewText);
    ShowStatus(m_fileTitle, m_store.GetRecordCount(), m_store.GetCurRecord() + 1);
    KeepPlaceInNote();
}

// With the filter on, only tags on the list are shown, compared whole and case-sensitively.
bool MarkingSession::IsFieldShown(const std::string& tag) const
{
    if (!m_useFilter) {
        return true;
    }
    for (const std::string& shown : m_filterFields) {
        if (shown == tag) {
            return true;
        }
    }
    return false;
}

void MarkingSession::ShowStatus(const std::string& title, int recordCount, int currentNumber)
{
    m_display.ShowStatusText(FormatStatusLine(title, recordCount, currentNumber, m_markedCount,
                                            m_operator.Translate(kStatusLineFormat)));
}

void MarkingSession::OnFirstRecord()
{
    GoToRecord(0);
}

void MarkingSession::OnPrevRecord()
{
    GoToRecord(m_store.GetCurRecord() - 1);
}

void MarkingSession::OnNextRecord()
{
    GoToRecord(m_store.GetCurRecord() + 1);
}

void MarkingSession::OnLastRecord()
{
    GoToRecord(m_store.GetRecordCount() - 1);
}

void MarkingSession::GoToRecord(int index)
{
    m_store.SetRecord(index);
    RenderRecord();
}

}  // namespace luma
