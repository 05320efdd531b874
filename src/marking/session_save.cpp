// Save and exit. A results file is written atomically from the record buffers, so a failed
// save never destroys an earlier results file, and the working copy is deleted only once its
// marks are saved or given up.

#include "marking/operator_scopes.h"
#include "marking/marking_session.h"
#include "marking/marking_texts.h"
#include "platform/file_ops.h"
#include "marking/recovery.h"
#include "source_copy.h"
#include "records/record_files.h"

namespace luma {

bool MarkingSession::OnSave()
{
    return SaveToChosenFile();
}

bool MarkingSession::Quit()
{
    m_display.StoreWindowPlacement();
    if (!SaveBeforeLeaving()) {
        return false;
    }
    CloseSession();
    m_display.SessionEnded();
    return true;
}

// Asks "Сохранить?" when marks are unsaved. True when the caller may leave the marks behind:
// nothing was unsaved, they were saved, or the operator said No.
bool MarkingSession::SaveBeforeLeaving()
{
    if (!m_modified) {
        return true;
    }
    switch (m_operator.AskYesNoCancel(m_operator.Translate(kSaveQuestion))) {
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
    const std::optional<std::string> target = m_operator.AskResultsPath(m_resultDir + m_fileTitle + ".iso");
    if (!target) {
        return false;
    }
    // With no file open there is nothing to save.
    if (!m_fileOpen) {
        m_operator.ShowMessage(m_operator.Translate(kSaveFailed));
        return false;
    }
    if (!m_chosenSource.empty() && IsSameFile(*target, m_chosenSource)) {
        m_operator.ShowMessage(m_operator.Translate(kSourceNotOverwritten));
        return false;
    }
    if (!CheckSourceBeforeSave()) {
        return false;
    }
    // The results are written from the record buffers, which the working copy only mirrors: a
    // temporary folder cleaned out, or a working copy deleted or overwritten by another
    // program, must not cost the marks or put foreign bytes into the results file.
    std::optional<std::string> error;
    {
        BusyScope busy(m_operator);
        error = WriteResultsFile(*target, m_records);
    }
    if (error) {
        m_operator.ShowMessage(WithDetail(m_operator.Translate(kSaveFailed), *error));
        return false;
    }
    MarkSaved();
    return true;
}

void MarkingSession::MarkUnsaved()
{
    if (!m_modified) {
        m_modified = true;
        m_display.ShowModified(ModifiedImage::Unsaved);
    }
}

void MarkingSession::MarkSaved()
{
    m_modified = false;
    m_display.ShowModified(ModifiedImage::NothingUnsaved);
}

void MarkingSession::CloseSession()
{
    m_store.Close();
    // Windows deletes no file a view is open on: the records let go of the copy they may read.
    if (m_records.SharedBytes() && m_records.SharedBytes()->IsMapped()) {
        m_records = {};
    }
    m_fileOpen = false;
    m_sourceCopy.reset();  // stops a copy under way before its file goes
    if (!m_workPath.empty()) {
        RemoveWorkingCopy(m_workPath, m_workNote);
        m_workPath.clear();
    }
}

}  // namespace luma
