// Save and exit. A results file is written by an atomic copy of the working copy, so a failed
// save never destroys an earlier results file, and the working copy is deleted only once its
// marks are saved or given up.

#include "marking_session.h"
#include "marking_texts.h"
#include "platform/file_ops.h"

namespace luma {

bool MarkingSession::OnSave()
{
    return SaveToChosenFile();
}

bool MarkingSession::QuitDialog()
{
    m_host.StoreWindowPlacement();
    if (!SaveBeforeLeaving()) {
        return false;
    }
    CloseSession();
    m_host.EndDialog();
    return true;
}

// Asks "Сохранить?" when marks are unsaved. True when the caller may leave the marks behind:
// nothing was unsaved, they were saved, or the operator said No.
bool MarkingSession::SaveBeforeLeaving()
{
    if (!m_modified) {
        return true;
    }
    switch (m_host.AskYesNoCancel(std::string(kSaveQuestion))) {
    case Reply::Yes:
        return SaveToChosenFile();
    case Reply::No:
        return true;
    case Reply::Cancel:
        break;
    }
    return false;
}

bool MarkingSession::SaveToChosenFile()
{
    AppendFolderSeparator(m_resultDir);
    const std::optional<std::string> target = m_host.AskResultsPath(m_resultDir + m_fileTitle + ".iso");
    if (!target) {
        return false;
    }
    // With no file open there is no working copy to save.
    if (m_workPath.empty() || CopyFileAtomically(m_workPath, *target)) {
        m_host.ShowMessage(std::string(kSaveFailed));
        return false;
    }
    MarkSaved();
    return true;
}

void MarkingSession::MarkUnsaved()
{
    if (!m_modified) {
        m_modified = true;
        m_host.ShowModified(ModifiedImage::Unsaved);
    }
}

void MarkingSession::MarkSaved()
{
    m_modified = false;
    m_host.ShowModified(ModifiedImage::NothingUnsaved);
}

void MarkingSession::CloseSession()
{
    m_iso.Close();
    if (!m_workPath.empty()) {
        RemoveFile(m_workPath);
        m_workPath.clear();
    }
}

}  // namespace luma
