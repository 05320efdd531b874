// Finding records by their text: beside the marking, never changing what it has done or must
// save.

#include "marking/marking_session.h"
#include "marking/marking_texts.h"
#include "marking/operator_scopes.h"

namespace luma {

bool MarkingSession::Find(const FindQuery& query, FindDirection direction)
{
    if (!m_fileOpen || query.text.empty()) {
        return false;
    }
    FieldFilter shown;
    if (m_useFilter) {
        shown = [this](const std::string& tag) { return IsFieldShown(tag); };
    }
    FindResult result;
    {
        ProgressScope progress(m_operator);
        result = FindRecord(m_store, query, m_store.GetCurRecord(), direction, shown, [this](int done, int total) {
            return m_operator.ReportProgress(m_operator.Translate(kFindProgress), static_cast<std::uint64_t>(done),
                                         static_cast<std::uint64_t>(total));
        });
    }
    if (result.record) {
        GoToRecord(*result.record);
    } else {
        RenderRecord();
    }
    if (result.cancelled) {
        m_display.ShowStatusNote(m_operator.Translate(kFindCancelled));
    } else if (!result.record) {
        m_display.ShowStatusNote(m_operator.Translate(kFindNothing));
    } else if (result.wrapped) {
        m_display.ShowStatusNote(
            m_operator.Translate(direction == FindDirection::Forward ? kFindWrappedToStart : kFindWrappedToEnd));
    }
    return result.record.has_value();
}

}  // namespace luma
