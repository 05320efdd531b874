// Finding records by their text, and saving only the marked records: beside the marking, never
// changing what it has done or must save.

#include <filesystem>
#include <system_error>

#include "marking/host_scopes.h"
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
        ProgressScope progress(m_host);
        result = FindRecord(m_iso, query, m_iso.GetCurRecord(), direction, shown, [this](int done, int total) {
            return m_host.ReportProgress(m_host.Translate(kFindProgress), static_cast<std::uint64_t>(done),
                                         static_cast<std::uint64_t>(total));
        });
    }
    if (result.record) {
        GoToRecord(*result.record);
    } else {
        RenderRecord();
    }
    if (result.cancelled) {
        m_host.ShowStatusNote(m_host.Translate(kFindCancelled));
    } else if (!result.record) {
        m_host.ShowStatusNote(m_host.Translate(kFindNothing));
    } else if (result.wrapped) {
        m_host.ShowStatusNote(
            m_host.Translate(direction == FindDirection::Forward ? kFindWrappedToStart : kFindWrappedToEnd));
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
        m_host.ShowMessage(m_host.Translate(kNothingMarked));
        return;
    }
    AppendFolderSeparator(m_resultDir);
    const std::optional<std::string> target = m_host.AskResultsPath(m_resultDir + m_fileTitle + "-marked.iso");
    if (!target) {
        return;
    }
    if (IsSameFile(*target, m_sourcePath)) {
        m_host.ShowMessage(m_host.Translate(kSourceNotOverwritten));
        return;
    }
    std::error_code ec;
    if (std::filesystem::exists(PathFromUtf8(*target), ec) &&
        !m_host.AskYesNo(WithDetail(m_host.Translate(kReplaceQuestion), *target))) {
        return;
    }
    std::optional<std::string> error;
    {
        BusyScope busy(m_host);
        error = ReplaceFileAtomically(*target, PiecesOfRecords(m_records, marked), Durability::FlushToDisk);
    }
    if (error) {
        m_host.ShowMessage(WithDetail(m_host.Translate(kSaveFailed), *error));
        return;
    }
    m_host.ShowStatusNote(m_host.Translate(kMarkedSaved) + std::to_string(marked.size()));
}

}  // namespace luma
