// The source file behind the session: its copy beside the working copy, and what is done when
// another program changes the source while it is open.

#include "marking/marking_session.h"
#include "marking/marking_texts.h"
#include "platform/file_io.h"
#include "source_copy.h"

namespace luma {

bool MarkingSession::IsSourceCopied() const
{
    return m_readingCopy || (m_sourceCopy && m_sourceCopy->GetState() == SourceCopy::State::Complete);
}

// A session restored from a complete copy takes that copy over; any other copies its source.
void MarkingSession::StartSourceCopy(const OpenedFile& file)
{
    m_sourceCopy.reset();
    m_readingCopy = false;
    m_sourceLost = false;
    m_sourceFingerprint = file.fingerprint;
    if (m_workPath.empty() || !file.fingerprint) {
        return;
    }
    const std::string target = SourceCopyPath(m_workPath);
    if (!file.copyPath.empty()) {
        std::error_code ec;
        std::filesystem::rename(PathFromUtf8(file.copyPath), PathFromUtf8(target), ec);
        if (!ec && m_workNote && m_workNote->SetSourceCopied()) {
            m_readingCopy = true;
        }
        return;
    }
    std::shared_ptr<HeldNote> note = m_workNote;
    const bool inBackground = file.fingerprint->size >= m_backgroundCopyFrom;
    m_sourceCopy = std::make_unique<SourceCopy>(m_records.SharedBytes(), file.path, target, *file.fingerprint,
                                                inBackground, [note] {
        if (note) {
            note->SetSourceCopied();
        }
    });
    FollowSourceCopy();
}

void MarkingSession::FollowSourceCopy()
{
    const std::shared_ptr<const FileBytes>& bytes = m_records.SharedBytes();
    const bool changed = bytes && bytes->ChangedUnderneath();
    // Bytes held in memory are safe from other programs as they are; mapped ones are not.
    if (!m_readingCopy && bytes && bytes->IsMapped() && m_sourceCopy &&
        m_sourceCopy->GetState() == SourceCopy::State::Complete) {
        MapResult copy = MapWholeFile(m_sourceCopy->Target());
        auto shared = std::make_shared<const FileBytes>(std::move(copy.bytes));
        if (!copy.error && m_records.ReplaceSharedBytes(shared)) {
            m_store.ReplaceSharedBytes(shared);
            m_readingCopy = true;
            m_sourceCopy.reset();  // and with it the last view of the source
            if (changed) {
                m_operator.ShowMessage(m_operator.Translate(kSourceChangedUsingCopy));
            }
            return;
        }
    }
    if (changed && !m_readingCopy && !m_sourceLost) {
        m_sourceLost = true;
        m_operator.ShowMessage(m_operator.Translate(kSourceChanged));
    }
}

// A results file written from a source another program has changed would hold its bytes, or
// the zeros standing in for the bytes it lost: a save then waits for the copy, or for the source
// to come back as it was.
bool MarkingSession::CheckSourceBeforeSave()
{
    FollowSourceCopy();
    const std::shared_ptr<const FileBytes>& bytes = m_records.SharedBytes();
    if (m_readingCopy || !bytes || !bytes->IsMapped() || m_workPath.empty()) {
        return true;
    }
    if (m_sourceLost || (m_sourceFingerprint && FingerprintOfFile(m_sourcePath) != m_sourceFingerprint)) {
        m_sourceLost = true;
        m_operator.ShowMessage(m_operator.Translate(kSourceChanged));
        return false;
    }
    return true;
}

}  // namespace luma
