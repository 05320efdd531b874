// Saving only the marked records, as they stand, to a file of their own: beside the marking,
// never changing what it has done or must save.

#include <filesystem>
#include <system_error>

#include "marking/marking_session.h"
#include "marking/marking_texts.h"
#include "marking/operator_scopes.h"
#include "marking/record_select.h"
#include "platform/file_io.h"
#include "platform/file_ops.h"

namespace luma {

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
    if (!CheckSourceBeforeSave()) {
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
