// Finding records by their text, and saving only the marked records: beside the marking, never
// changing what it has done or must save.

#include <filesystem>
#include <system_error>

#include "marking/operator_scopes.h"
#include "marking/marking_session.h"
#include "marking/marking_texts.h"
#include "platform/file_io.h"
#include "platform/file_ops.h"
#include "marking/record_select.h"

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
        result = FindRecord(m_iso, query, m_iso.GetCurRecord(), direction, shown, [this](int done, int total) {
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

void MarkingSession::OnSaveMarked()
{
    if (!m_fileOpen) {
        return;
    }
    const std::vector<int> marked = MarkedRecords();
    if (marked.empty()) {
        m_operator.ShowMessage(m_operator.Translate(kNothingMarked));
        return;
    }
    AppendFolderSeparator(m_resultDir);
    const std::optional<std::string> target = m_operator.AskResultsPath(m_resultDir + m_fileTitle + "-marked.iso");
    if (!target) {
        return;
    }
    if (IsSameFile(*target, m_sourcePath)) {
        m_operator.ShowMessage(m_operator.Translate(kSourceNotOverwritten));
        return;
    }
    std::error_code ec;
    if (std::filesystem::exists(PathFromUtf8(*target), ec) &&
        !m_operator.AskYesNo(WithDetail(m_operator.Translate(kReplaceQuestion), *target))) {
        return;
    }
    std::optional<std::string> error;
    {
        BusyScope busy(m_operator);
        error = ReplaceFileAtomically(*target, PiecesOfRecords(m_records, marked), Durability::FlushToDisk);
    }
    if (error) {
        m_operator.ShowMessage(WithDetail(m_operator.Translate(kSaveFailed), *error));
        return;
    }
    m_display.ShowStatusNote(m_operator.Translate(kMarkedSaved) + std::to_string(marked.size()));
}

}  // namespace luma
