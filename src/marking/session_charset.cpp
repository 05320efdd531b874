// The operator's choice of the set the records' text is read in, when the one found at open
// reads wrong. Only the reading changes: the records' bytes, and so the working copy, stay.

#include "marking/marking_session.h"
#include "marking/marking_texts.h"

namespace luma {

bool MarkingSession::ChangeCharset(Charset charset)
{
    if (!m_fileOpen) {
        return false;
    }
    if (charset == m_charset) {
        return true;
    }
    // Counted, not foreseen from the label's bytes: records of a MARC-8 file that say they are
    // UTF-8, and those of an all-ASCII file, keep their own reading whatever the set.
    m_store.SetCharset(charset);
    const int marks = CountMarks();
    if (m_markedCount > 0 && marks != m_markedCount) {
        m_store.SetCharset(m_charset);
        m_operator.ShowMessage(m_operator.Translate(kCharsetNotChanged));
        return false;
    }
    m_charset = charset;
    m_charsetEvidence = CharsetEvidence::ChosenByOperator;
    m_markedCount = marks;
    // Restored work is read in the set of the note, so that it shows what the operator saw. A
    // note that cannot be rewritten keeps the earlier set, as one that cannot follow the record
    // keeps the earlier record.
    if (m_workNote) {
        m_workNote->SetCharset(charset);
    }
    RenderRecord();
    return true;
}

}  // namespace luma
