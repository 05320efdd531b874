#pragma once
// The record store: one open ISO 2709 file and a current record. The file is read once and
// never written; changes to records live in memory until the caller writes the buffers out.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "records/charset_detect.h"
#include "records/field_text.h"
#include "records/iso_record.h"
#include "charsets/charset.h"
#include "records/offset_shifts.h"
#include "records/problem.h"
#include "records/record_buffer_list.h"
#include "records/record_index.h"

namespace luma {

// Looking through a file of this many records or more is done in two halves at once.
inline constexpr std::size_t kRecordsWorthAThread = 20000;

class RecordStore {
public:
    RecordStore();
    ~RecordStore();
    RecordStore(const RecordStore&) = delete;
    RecordStore& operator=(const RecordStore&) = delete;
    RecordStore(RecordStore&&) noexcept;
    RecordStore& operator=(RecordStore&&) noexcept;

    // Opens a file, dropping any file open before. 0 on success; -1 when the file cannot be
    // read, is empty, or holds no ISO 2709 record at all (see LastError()); the store is then
    // empty. Damage inside records does not fail the open: see Problems().
    // `charset` skips detection: a caller reopening a file it wrote passes the set found at
    // the first open, so a label text cannot tip the decision.
    int Open(const std::string& path, std::optional<Charset> charset = std::nullopt);
    // Opens bytes already in memory, as Open does with a file's contents: a copy of them, or
    // the bytes themselves.
    int OpenBytes(std::string_view bytes, std::string displayName,
                  std::optional<Charset> charset = std::nullopt);
    int OpenBytes(FileBytes bytes, std::string displayName, std::optional<Charset> charset = std::nullopt);
    // As OpenBytes, sharing bytes another store or list holds rather than copying them.
    int OpenShared(std::shared_ptr<const FileBytes> bytes, std::string displayName,
                   std::optional<Charset> charset = std::nullopt);
    // Opens records given one by one, framed as given rather than found again in their bytes,
    // so that the store holds exactly the records of the list whatever damage they carry. The
    // list's bytes are shared, not copied.
    int OpenRecords(const RecordBufferList& records, std::string displayName, Charset charset,
                    CharsetEvidence evidence = CharsetEvidence::ChosenByOperator);
    int OpenRecords(const std::vector<std::string>& records, std::string displayName, Charset charset);
    int Close();

    int GetRecordCount() const;
    // Out-of-range indices are clamped to the first or last record.
    int SetRecord(int index);
    int GetCurRecord() const;

    // Fields of the current record; 0 with no file open.
    int GetFieldCount();
    // Tag and text of a field; empty for an index outside the record.
    std::string GetFieldName(int index);
    std::string GetFieldText(int index);
    // Text of the current record's first field with that tag; empty when there is none.
    std::string GetFieldText(const std::string& tag);

    // Inserts a field after the last field whose tag is not greater. 0 on success; -1 when
    // the text is refused (see LastError()), and the record is then unchanged.
    int AddField(const std::string& tag, const std::string& text);
    // Removes that field of the current record. 0 on success, -1 for an index outside it.
    int DelField(int index);

    // Whether the current record has a field with that tag; cheaper than walking the fields.
    bool HasFieldWithTag(const std::string& tag) const;
    // Indices, in file order, of the records with a field of the tag: the only ones where
    // CountFieldsEqual can find anything.
    std::vector<int> RecordsWithTag(const std::string& tag) const;
    // Fields of the current record whose tag and text equal these: what a label count counts.
    int CountFieldsEqual(const std::string& tag, const std::string& text);

    // Takes the current record's change into the store's bytes, as if the store had reopened
    // the file the caller rewrote with it, named `displayName`; every other change is dropped,
    // as a reopen would drop it. -1, with nothing changed, when the file has framing problems
    // (a reopen could frame it differently): the caller then reopens.
    int CommitChange(std::string displayName);

    // The current record as a complete ISO 2709 record: an unchanged record byte for byte as
    // in the file, a changed one rebuilt.
    std::string GetIsoBuffer();

    // Beyond the record store contract: what callers need to report and check files.
    Charset GetCharset() const { return m_charset; }
    // The set found when the file was opened, and why.
    const CharsetDetection& GetDetection() const { return m_detection; }
    // Reads the records' text in another set from now on, as the operator may choose when the
    // detected one reads wrong. The records' bytes, changed or not, stay as they are.
    void SetCharset(Charset charset);
    const std::string& GetPath() const { return m_path; }
    std::string GetLeader();
    RecordSpan GetRecordSpan(int index) const;
    // Every record as the file now holds it: as read, or as a committed change left it.
    const RecordBufferList& Records() const { return m_file; }
    // Reads the records from a copy of the bytes they were read from (see
    // RecordBufferList::ReplaceSharedBytes). False, with nothing changed, for other bytes.
    bool ReplaceSharedBytes(std::shared_ptr<const FileBytes> bytes);
    // Whether the record has a change not yet committed, which Records() does not show.
    bool HasPendingChange(int index) const { return m_changed.count(index) != 0; }
    bool HasPendingChanges() const { return !m_changed.empty(); }
    // Framing problems found at open, in file order.
    const std::vector<Problem>& FileProblems() const { return m_index.problems; }
    // Problems inside the current record, found when it was parsed.
    const std::vector<Problem>& RecordProblems();
    // Bytes of the current record's fields that its set cannot read (shown as U+FFFD), for a set
    // read through code tables: one problem for each field with such bytes.
    std::vector<Problem> UnreadableTextProblems();
    // The error of the last failed operation.
    const std::optional<Problem>& LastError() const { return m_lastError; }

private:
    struct ChangedRecord {
        std::optional<IsoRecord> record;  // parsed when first asked for
        std::string bytes;
    };

    const IsoRecord& CurrentRecord();
    IsoRecord RecordToChange();
    TextCodec& CodecFor(const IsoRecord& record);
    // In an ASCII file a record's fields tell its set; in a MARC-8 file, its leader.
    bool CodecDependsOnRecord() const { return m_charset == Charset::Ascii || m_charset == Charset::Marc8; }
    bool HasRecord() const;
    int Fail(std::string message);
    int StoreChange(IsoRecord changed);
    bool InsertFieldInPlace(const std::string& tag, const std::string& text);
    // The bytes of a record as the file now holds it: as read, or as a committed change left it.
    std::string_view RecordBytes(int index) const;

    std::string m_path;
    // The records' bytes, shared with the lists made from them; a commit moves no other record.
    RecordBufferList m_file;
    // Spans as the file was opened, the problems found then, and how far the records have moved.
    RecordIndex m_index;
    OffsetShifts m_shifts;
    Charset m_charset = Charset::Ascii;
    CharsetDetection m_detection;
    TextCodec m_codec{Charset::Ascii};
    // Records of an all-ASCII file are written in Windows-1251, or UTF-8 where they say so.
    TextCodec m_utf8Codec{Charset::Utf8};
    TextCodec m_cp1251Codec{Charset::Windows1251};
    int m_current = 0;

    // The parsed current record, and every record changed since the open.
    int m_parsedIndex = -1;
    IsoRecord m_parsed;
    std::map<int, ChangedRecord> m_changed;

    // The field data a text was last encoded to: a run of marks adds one label to thousands of
    // records, and encoding it is a good part of each.
    struct EncodedText {
        std::string tag;
        std::string text;
        std::size_t indicatorCount = 0;
        Charset charset = Charset::Ascii;
        FieldDataResult data;
        std::optional<bool> readsBack;  // whether `data` reads as `text`, once asked
    };
    bool HasFieldWithTagAt(int index, const std::string& tag) const;
    std::optional<int> CountLaidOutFieldsEqual(const std::string& tag, const std::string& text);
    bool FieldDataReadsAs(const std::string& tag, const std::string& text, std::size_t indicatorCount,
                          std::string_view data);
    const FieldDataResult& EncodeForFile(const std::string& tag, const std::string& text, std::size_t indicatorCount);
    std::optional<EncodedText> m_lastEncoded;

    std::optional<Problem> m_lastError;
};

}  // namespace luma
