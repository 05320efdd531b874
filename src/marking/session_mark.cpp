// Mark and unmark: one field of the current record changes, the record buffer list takes the
// record's new buffer, and the journal takes the record.

#include <utility>

#include "marking/operator_scopes.h"
#include "marking/marking_session.h"
#include "marking/marking_texts.h"
#include "platform/prefetch.h"
#include "records/iso_format.h"

namespace luma {

void MarkingSession::OnMark()
{
    if (!iso::IsValidTag(m_labelField)) {
        m_operator.ShowMessage(m_operator.Translate(kLabelNotSetUp));
        return;
    }
    if (!CheckCurrentRecordInList()) {
        return;
    }
    const LabelChange change = AddLabelField();
    if (change.changed && CommitRecord(change.delta)) {
        MarkUnsaved();
    }
}

void MarkingSession::OnUnmark()
{
    const int field = FindLabelField();
    if (field >= 0) {
        if (!CheckCurrentRecordInList()) {
            return;
        }
        const LabelChange change = RemoveLabelField(field);
        if (change.refused || !CommitRecord(change.delta)) {
            return;
        }
    }
    RenderRecord();
    // Also when nothing was removed: an unmark counts as a change.
    MarkUnsaved();
}

bool MarkingSession::ApplyToRecords(const std::vector<int>& records, LabelAction action)
{
    if (action == LabelAction::Mark && !iso::IsValidTag(m_labelField)) {
        m_operator.ShowMessage(m_operator.Translate(kLabelNotSetUp));
        return false;
    }
    // What the changed records held before, to put back should the journal not take them.
    std::vector<std::size_t> changedRecords;
    std::vector<std::string> before;
    const int markedBefore = m_markedCount;
    bool stopped = false;
    for (auto record = records.begin(); record != records.end() && !stopped; ++record) {
        PrefetchNextRecord(record + 1 == records.end() ? -1 : record[1]);
        std::string previous(*record >= 0 && static_cast<std::size_t>(*record) < m_records.size()
                                 ? m_records[static_cast<std::size_t>(*record)]
                                 : std::string_view());
        const std::optional<bool> outcome = ApplyToRecord(*record, action);
        stopped = !outcome;
        if (outcome.value_or(false)) {
            changedRecords.push_back(static_cast<std::size_t>(*record));
            before.push_back(std::move(previous));
        }
    }
    const bool changed = !changedRecords.empty();
    if (const std::optional<std::string> error = changed ? WriteWorkingCopy(changedRecords) : std::nullopt) {
        for (std::size_t i = changedRecords.size(); i-- > 0;) {
            m_records.Replace(changedRecords[i], before[i]);
        }
        m_markedCount = markedBefore;
        ReopenStore();
        RenderRecord();
        m_operator.ShowMessage(WithDetail(m_operator.Translate(kWorkingCopyWriteFailed), *error));
        return false;
    }
    RenderRecord();
    if (changed || action == LabelAction::Unmark) {
        MarkUnsaved();
    }
    return !stopped;
}

// A mark reads all of a record and rebuilds it: the next record's bytes, often far from this
// one's in a large file, are asked for while this one is worked on.
void MarkingSession::PrefetchNextRecord(int record) const
{
    constexpr std::size_t kLargeRecord = 4096;
    if (record >= 0 && static_cast<std::size_t>(record) < m_records.size()) {
        PrefetchBytes(m_records[static_cast<std::size_t>(record)], kLargeRecord);
    }
}

// Whether the record changed; nothing when it cannot be changed (the reason shown). The change
// goes into the list and the store, not yet into the working copy.
std::optional<bool> MarkingSession::ApplyToRecord(int record, LabelAction action)
{
    m_store.SetRecord(record);
    if (m_store.GetCurRecord() != record) {
        m_operator.ReportError(m_operator.Translate(kNoCurrentRecord));
        return std::nullopt;
    }
    if (!CheckCurrentRecordInList()) {
        return std::nullopt;
    }
    const int field = action == LabelAction::Unmark ? FindLabelField() : -1;
    if (action == LabelAction::Unmark && field < 0) {
        return false;
    }
    const LabelChange change = action == LabelAction::Mark ? AddLabelField() : RemoveLabelField(field);
    if (change.refused) {
        return std::nullopt;
    }
    if (change.changed) {
        TakeChange(change.delta);
    }
    return change.changed;
}

// The label field goes in unless the record has a field with the label tag.
MarkingSession::LabelChange MarkingSession::AddLabelField()
{
    if (HasFieldWithLabelTag()) {
        return {};
    }
    // Without a field of the label tag the record has no label field to count before.
    if (m_store.AddField(m_labelField, m_labelText) != 0) {
        ShowStoreRefusal();
        return {true, false, 0};
    }
    return {false, true, CountLabelFields(m_store)};
}

MarkingSession::LabelChange MarkingSession::RemoveLabelField(int field)
{
    const int before = CountLabelFields(m_store);
    if (m_store.DelField(field) != 0) {
        ShowStoreRefusal();
        return {true, false, 0};
    }
    return {false, true, CountLabelFields(m_store) - before};
}

// Checked before the store changes: a record the list does not hold (no file, or a file
// without records) cannot be committed, and neither can one of a store that disagrees with
// the list about the records there are.
bool MarkingSession::CheckCurrentRecordInList()
{
    const int current = m_store.GetCurRecord();
    const int listed = static_cast<int>(m_records.size());
    if (current >= 0 && current < listed && m_store.GetRecordCount() == listed) {
        return true;
    }
    m_operator.ReportError(m_operator.Translate(kNoCurrentRecord));
    return false;
}

// A record with any field of the label tag counts as marked, whatever that field's text.
bool MarkingSession::HasFieldWithLabelTag()
{
    return m_store.HasFieldWithTag(m_labelField);
}

// The first field equal to the label field, tag and text; -1 when there is none.
int MarkingSession::FindLabelField()
{
    for (int i = 0; i < m_store.GetFieldCount(); ++i) {
        if (m_store.GetFieldName(i) == m_labelField && m_store.GetFieldText(i) == m_labelText) {
            return i;
        }
    }
    return -1;
}

// Fields of the store's current record equal to the label field: what the marked count counts.
int MarkingSession::CountLabelFields(RecordStore& store) const
{
    return store.CountFieldsEqual(m_labelField, m_labelText);
}

// Fields equal to the label field over all records of the store.
int MarkingSession::CountMarks()
{
    const int current = m_store.GetCurRecord();
    int count = 0;
    for (int record = 0; record < m_store.GetRecordCount(); ++record) {
        m_store.SetRecord(record);
        count += CountLabelFields(m_store);
    }
    m_store.SetRecord(current);
    return count;
}

// `delta` is the change of the record's label fields, measured rather than assumed: a label
// text the notation writes differently than it reads back adds a field that does not count.
bool MarkingSession::CommitRecord(int delta)
{
    const auto slot = static_cast<std::size_t>(m_store.GetCurRecord());
    std::string previous(m_records[slot]);
    m_records.Replace(slot, m_store.GetIsoBuffer());
    m_savedRecord = m_store.GetCurRecord();
    if (const std::optional<std::string> error = WriteWorkingCopy({slot})) {
        m_records.Replace(slot, std::move(previous));
        ReopenStore();  // drops the change the store holds in memory
        RenderRecord();
        m_operator.ShowMessage(WithDetail(m_operator.Translate(kWorkingCopyWriteFailed), *error));
        return false;
    }
    m_markedCount += delta;
    TakeChangeIntoStore();
    m_store.SetRecord(m_savedRecord);
    if (m_advanceAfterMark) {
        m_store.SetRecord(m_store.GetCurRecord() + 1);
    }
    RenderRecord();
    return true;
}

// A change of the current record that no working copy has to hold yet.
void MarkingSession::TakeChange(int delta)
{
    const auto slot = static_cast<std::size_t>(m_store.GetCurRecord());
    m_savedRecord = m_store.GetCurRecord();
    m_markedCount += delta;
    // The store keeps the change it refuses to commit, and the list takes it from there.
    if (m_store.CommitChange(WorkingName()) == 0) {
        m_records.TakeRecordOf(m_store.Records(), slot);
    } else {
        m_records.Replace(slot, m_store.GetIsoBuffer());
        ReopenStore();
    }
}

// The store takes the change in place, which is what reading back the rewritten working copy
// would give; only a file with framing problems is read back whole.
void MarkingSession::TakeChangeIntoStore()
{
    if (m_store.CommitChange(WorkingName()) != 0) {
        ReopenStore();
    }
}

// What the store calls the file: the working copy, which it mirrors, or the file itself.
std::string MarkingSession::WorkingName() const
{
    return m_workPath.empty() ? m_store.GetPath() : m_workPath;
}

std::optional<std::string> MarkingSession::WriteWorkingCopy(const std::vector<std::size_t>& changed)
{
    if (m_workPath.empty()) {
        return std::nullopt;  // a session without a working copy
    }
    BusyScope busy(m_operator);
    return m_journal.Append(changed, m_records);
}

// The store takes the records of the list, which the working copy holds, from memory rather
// than from the temporary folder, framed as the list is, in the character set found at open.
void MarkingSession::ReopenStore()
{
    m_store.OpenRecords(m_records, WorkingName(), m_charset, m_charsetEvidence);
    m_store.SetRecord(m_savedRecord);
}

void MarkingSession::ShowStoreRefusal()
{
    const std::optional<Problem>& error = m_store.LastError();
    m_operator.ShowMessage(
        WithDetail(m_operator.Translate(kRecordNotChanged), error ? error->message : std::string()));
}

}  // namespace luma
