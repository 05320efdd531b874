#include "records/record_store.h"

#include <algorithm>

#include "records/charset_detect.h"
#include "records/field_text.h"
#include "records/iso_format.h"
#include "records/laid_out_record.h"
#include "platform/mapped_file.h"
#include "platform/prefetch.h"
#include "platform/two_halves.h"

namespace luma {
namespace {

// A mapped file of this size or more is indexed with its second half faulted in meanwhile.
constexpr std::size_t kWorthFaultingAhead = std::size_t{64} << 20;

// Indexing a large mapped file waits mostly for its pages to be mapped in, one fault at a time:
// a second thread faults in the second half meanwhile, and the pass finds it in place.
RecordIndex IndexWithPagesAhead(const FileBytes& bytes)
{
    const std::string_view view = bytes.view();
    if (!bytes.IsMapped()) {
        return IndexRecords(view);
    }
    RecordIndex index;
    InTwoHalves(
        view.size(), kWorthFaultingAhead, [&](std::size_t, std::size_t) { index = IndexRecords(view); },
        [&](std::size_t from, std::size_t to) { FaultInPages(view.substr(from, to - from)); });
    return index;
}

}  // namespace

RecordStore::RecordStore() = default;
RecordStore::~RecordStore() = default;
RecordStore::RecordStore(RecordStore&&) noexcept = default;
RecordStore& RecordStore::operator=(RecordStore&&) noexcept = default;

int RecordStore::Open(const std::string& path, std::optional<Charset> charset)
{
    Close();
    MapResult read = ReadOrMapWholeFile(path);
    if (read.error) {
        return Fail("cannot open " + path + ": " + *read.error);
    }
    return OpenBytes(std::move(read.bytes), path, charset);
}

int RecordStore::OpenBytes(std::string_view bytes, std::string displayName, std::optional<Charset> charset)
{
    return OpenBytes(FileBytes(bytes), std::move(displayName), charset);
}

int RecordStore::OpenBytes(FileBytes bytes, std::string displayName, std::optional<Charset> charset)
{
    return OpenShared(std::make_shared<const FileBytes>(std::move(bytes)), std::move(displayName), charset);
}

int RecordStore::OpenShared(std::shared_ptr<const FileBytes> shared, std::string displayName,
                     std::optional<Charset> charset)
{
    Close();
    if (!shared || shared->empty()) {
        return Fail(displayName + " is empty");
    }
    RecordIndex index = IndexWithPagesAhead(*shared);
    if (index.records.empty()) {
        return Fail(displayName + " holds no ISO 2709 record");
    }
    m_file = RecordBufferList(shared, index.records);
    m_index = std::move(index);
    m_shifts.Reset(m_index.records.size());
    m_path = std::move(displayName);
    m_detection = charset ? CharsetDetection{*charset, CharsetEvidence::ChosenByOperator}
                          : DetectCharset(*shared, CurrentRecord());
    m_charset = m_detection.charset;
    m_codec = TextCodec(m_charset);
    return 0;
}

int RecordStore::OpenRecords(const RecordBufferList& records, std::string displayName, Charset charset,
                             CharsetEvidence evidence)
{
    Close();
    RecordIndex index;
    index.records.reserve(records.size());
    std::uint64_t offset = 0;
    for (std::size_t i = 0; i < records.size(); ++i) {
        index.records.push_back({offset, records[i].size()});
        offset += records[i].size();
    }
    if (offset == 0) {
        return Fail(displayName + " holds no ISO 2709 record");
    }
    m_file = records;
    m_index = std::move(index);
    m_shifts.Reset(m_index.records.size());
    m_path = std::move(displayName);
    m_charset = charset;
    m_detection = {charset, evidence};
    m_codec = TextCodec(m_charset);
    return 0;
}

void RecordStore::SetCharset(Charset charset)
{
    m_charset = charset;
    m_codec = TextCodec(charset);
    m_lastEncoded.reset();
}

int RecordStore::OpenRecords(const std::vector<std::string>& records, std::string displayName, Charset charset)
{
    return OpenRecords(RecordBufferList::FromRecords(records), std::move(displayName), charset);
}

int RecordStore::Close()
{
    m_path.clear();
    m_file = {};
    m_index = {};
    m_shifts.Reset(0);
    m_charset = Charset::Ascii;
    m_detection = {};
    m_codec = TextCodec(Charset::Ascii);
    m_current = 0;
    m_parsedIndex = -1;
    m_parsed = {};
    m_changed.clear();
    m_lastError.reset();
    return 0;
}

int RecordStore::GetRecordCount() const
{
    return static_cast<int>(m_index.records.size());
}

int RecordStore::SetRecord(int index)
{
    m_current = HasRecord() ? std::clamp(index, 0, GetRecordCount() - 1) : 0;
    return 0;
}

int RecordStore::GetCurRecord() const
{
    return m_current;
}

bool RecordStore::HasRecord() const
{
    return !m_index.records.empty();
}

const IsoRecord& RecordStore::CurrentRecord()
{
    static const IsoRecord kNoRecord;
    if (!HasRecord()) {
        return kNoRecord;
    }
    if (const auto changed = m_changed.find(m_current); changed != m_changed.end()) {
        std::optional<IsoRecord>& record = changed->second.record;
        if (!record) {
            record = ParseRecord(changed->second.bytes, m_current, GetRecordSpan(m_current).offset);
        }
        return *record;
    }
    if (m_parsedIndex != m_current) {
        const RecordSpan span = GetRecordSpan(m_current);
        m_parsed = ParseRecord(RecordBytes(m_current), m_current, span.offset);
        m_parsedIndex = m_current;
    }
    return m_parsed;
}

// The current record, to be changed: the parsed one is taken rather than copied.
IsoRecord RecordStore::RecordToChange()
{
    const IsoRecord& current = CurrentRecord();
    if (&current == &m_parsed) {
        m_parsedIndex = -1;
        return std::move(m_parsed);
    }
    return current;
}

TextCodec& RecordStore::CodecFor(const IsoRecord& record)
{
    if (m_charset == Charset::Ascii) {
        return DeclaresUtf8(record) ? m_utf8Codec : m_cp1251Codec;
    }
    // A MARC 21 file gathered from several catalogues mixes MARC-8 records with UTF-8 ones,
    // which say so in leader/09.
    if (m_charset == Charset::Marc8 && record.leader.size() > 9 && record.leader[9] == 'a') {
        return m_utf8Codec;
    }
    return m_codec;
}

int RecordStore::GetFieldCount()
{
    return static_cast<int>(CurrentRecord().fields.size());
}

std::string RecordStore::GetFieldName(int index)
{
    const auto& fields = CurrentRecord().fields;
    if (index < 0 || index >= static_cast<int>(fields.size())) {
        return {};
    }
    return fields[static_cast<std::size_t>(index)].tag;
}

std::string RecordStore::GetFieldText(int index)
{
    const IsoRecord& record = CurrentRecord();
    if (index < 0 || index >= static_cast<int>(record.fields.size())) {
        return {};
    }
    return FieldToText(record.fields[static_cast<std::size_t>(index)],
                       iso::IndicatorCountOf(record.leader), CodecFor(record));
}

std::string RecordStore::GetFieldText(const std::string& tag)
{
    const auto& fields = CurrentRecord().fields;
    const auto found = std::find_if(fields.begin(), fields.end(),
                                    [&](const Field& field) { return field.tag == tag; });
    return found == fields.end() ? std::string() : GetFieldText(static_cast<int>(found - fields.begin()));
}

int RecordStore::AddField(const std::string& tag, const std::string& text)
{
    if (!HasRecord()) {
        return Fail("no record is open");
    }
    if (InsertFieldInPlace(tag, text)) {
        m_lastError.reset();
        return 0;
    }
    IsoRecord changed = RecordToChange();
    FieldDataResult data = FieldFromText(tag, text, iso::IndicatorCountOf(changed.leader), CodecFor(changed));
    if (data.error) {
        return Fail("cannot add field " + tag + ": " + *data.error);
    }
    const auto after = std::find_if(changed.fields.rbegin(), changed.fields.rend(),
                                    [&](const Field& field) { return field.tag <= tag; });
    changed.fields.insert(after.base(), Field{tag, std::move(data.data)});
    return StoreChange(std::move(changed));
}

// An unchanged record laid out as a build lays it out takes the field without a parse; the
// bytes are those that parsing, inserting and building give. False when it takes the long way.
bool RecordStore::InsertFieldInPlace(const std::string& tag, const std::string& text)
{
    if (CodecDependsOnRecord() || m_changed.count(m_current) != 0) {
        return false;
    }
    const std::string_view bytes = RecordBytes(m_current);
    const FieldDataResult& data = EncodeForFile(tag, text, iso::IndicatorCountOf(bytes.substr(0, iso::kLeaderLength)));
    if (data.error) {
        return false;
    }
    std::optional<std::string> inserted = InsertField(bytes, tag, data.data);
    if (!inserted) {
        return false;
    }
    m_changed[m_current] = ChangedRecord{std::nullopt, std::move(*inserted)};
    return true;
}

const FieldDataResult& RecordStore::EncodeForFile(const std::string& tag, const std::string& text, std::size_t indicatorCount)
{
    const bool same = m_lastEncoded && m_lastEncoded->tag == tag && m_lastEncoded->text == text &&
                      m_lastEncoded->indicatorCount == indicatorCount && m_lastEncoded->charset == m_charset;
    if (!same) {
        m_lastEncoded = EncodedText{tag, text, indicatorCount, m_charset, FieldFromText(tag, text, indicatorCount, m_codec), std::nullopt};
    }
    return m_lastEncoded->data;
}

int RecordStore::DelField(int index)
{
    if (index < 0 || index >= GetFieldCount()) {
        return Fail("no field " + std::to_string(index + 1) + " in this record");
    }
    IsoRecord changed = RecordToChange();
    changed.fields.erase(changed.fields.begin() + index);
    return StoreChange(std::move(changed));
}

int RecordStore::StoreChange(IsoRecord changed)
{
    BuildResult built = BuildRecord(changed);
    if (built.error) {
        return Fail("cannot change the record: " + *built.error);
    }
    if (RecordBytes(m_current) == built.bytes) {
        m_changed.erase(m_current);  // changed back to the bytes of the file
    } else {
        m_changed[m_current] = ChangedRecord{std::move(changed), std::move(built.bytes)};
    }
    m_lastError.reset();
    return 0;
}

bool RecordStore::HasFieldWithTag(const std::string& tag) const
{
    return HasRecord() && HasFieldWithTagAt(m_current, tag);
}

bool RecordStore::HasFieldWithTagAt(int index, const std::string& tag) const
{
    if (const auto changed = m_changed.find(index); changed != m_changed.end()) {
        const std::optional<IsoRecord>& record = changed->second.record;
        if (!record) {
            return luma::HasFieldWithTag(changed->second.bytes, tag);
        }
        return std::any_of(record->fields.begin(), record->fields.end(),
                           [&](const Field& field) { return field.tag == tag; });
    }
    return luma::HasFieldWithTag(RecordBytes(index), tag);
}

std::vector<int> RecordStore::RecordsWithTag(const std::string& tag) const
{
    // A look at every record's directory is bound by memory, not by the processor: it only
    // reads the store, so a large file is looked through in two halves at once.
    const int count = GetRecordCount();
    std::vector<char> has(static_cast<std::size_t>(count));
    // Each record's leader and directory is a wait for memory of its own: asking for those of
    // a few records ahead keeps several fetches under way instead of one at a time.
    constexpr std::size_t kRecordsAhead = 12;
    constexpr std::size_t kUsualHead = 256;
    const auto look = [&](std::size_t from, std::size_t to) {
        for (std::size_t index = from; index < to; ++index) {
            if (index + kRecordsAhead < to) {
                PrefetchBytes(RecordBytes(static_cast<int>(index + kRecordsAhead)), kUsualHead);
            }
            has[index] = HasFieldWithTagAt(static_cast<int>(index), tag);
        }
    };
    InTwoHalves(static_cast<std::size_t>(count), kRecordsWorthAThread, look, look);
    std::vector<int> records;
    for (int index = 0; index < count; ++index) {
        if (has[static_cast<std::size_t>(index)]) {
            records.push_back(index);
        }
    }
    return records;
}

int RecordStore::CountFieldsEqual(const std::string& tag, const std::string& text)
{
    // Most records have no field of the tag, and the directory tells so without parsing.
    if (!HasFieldWithTag(tag)) {
        return 0;
    }
    if (const std::optional<int> count = CountLaidOutFieldsEqual(tag, text)) {
        return *count;
    }
    int count = 0;
    for (int i = 0; i < GetFieldCount(); ++i) {
        // The tag test first: converting every field's text to UTF-8 is the costly part.
        if (GetFieldName(i) == tag && GetFieldText(i) == text) {
            ++count;
        }
    }
    return count;
}

// A record laid out as a build lays it out, as most are and every changed one is, gives from
// its directory the fields a parse would give: counting its labels needs no parse. Nothing for
// other records, and in a file where the codec depends on the record.
std::optional<int> RecordStore::CountLaidOutFieldsEqual(const std::string& tag, const std::string& text)
{
    if (CodecDependsOnRecord()) {
        return std::nullopt;
    }
    std::string_view bytes = RecordBytes(m_current);
    if (const auto changed = m_changed.find(m_current); changed != m_changed.end()) {
        if (changed->second.record) {
            return std::nullopt;
        }
        bytes = changed->second.bytes;
    }
    const auto fields = LaidOutFields(bytes);
    if (!fields) {
        return std::nullopt;
    }
    const std::size_t indicators = iso::IndicatorCountOf(bytes.substr(0, iso::kLeaderLength));
    return static_cast<int>(std::count_if(fields->begin(), fields->end(), [&](const FieldView& field) {
        return field.tag == tag && FieldDataReadsAs(tag, text, indicators, field.data);
    }));
}

// Whether a field's data reads as the text. The label a run of marks writes is the last text
// encoded: its bytes are decoded once, not once for every record marked.
bool RecordStore::FieldDataReadsAs(const std::string& tag, const std::string& text, std::size_t indicatorCount,
                            std::string_view data)
{
    const auto readsAs = [&] { return FieldToText(Field{tag, std::string(data)}, indicatorCount, m_codec) == text; };
    EncodedText* const last = m_lastEncoded ? &*m_lastEncoded : nullptr;
    if (!last || last->data.error || last->data.data != data || last->tag != tag || last->text != text ||
        last->indicatorCount != indicatorCount || last->charset != m_charset) {
        return readsAs();
    }
    if (!last->readsBack) {
        last->readsBack = readsAs();
    }
    return *last->readsBack;
}

int RecordStore::CommitChange(std::string displayName)
{
    if (!m_index.problems.empty()) {
        return -1;
    }
    if (const auto changed = m_changed.find(m_current); changed != m_changed.end()) {
        std::string& bytes = changed->second.bytes;
        // A stray record terminator inside could make a reopen frame the record differently.
        if (bytes.find(iso::kRecordTerminator) + 1 != bytes.size()) {
            return -1;
        }
        const auto slot = static_cast<std::size_t>(m_current);
        const auto oldLength = static_cast<std::int64_t>(m_file[slot].size());
        m_shifts.Grow(slot, static_cast<std::int64_t>(bytes.size()) - oldLength);
        m_file.Replace(slot, std::move(bytes));
    }
    m_changed.clear();
    m_parsedIndex = -1;
    m_parsed = {};
    m_path = std::move(displayName);
    m_lastError.reset();
    return 0;
}

bool RecordStore::ReplaceSharedBytes(std::shared_ptr<const FileBytes> bytes)
{
    if (!m_file.ReplaceSharedBytes(std::move(bytes))) {
        return false;
    }
    m_parsedIndex = -1;  // parsed from the bytes given up
    return true;
}

std::string RecordStore::GetIsoBuffer()
{
    if (!HasRecord()) {
        return {};
    }
    if (const auto changed = m_changed.find(m_current); changed != m_changed.end()) {
        return changed->second.bytes;
    }
    return std::string(RecordBytes(m_current));
}

std::string RecordStore::GetLeader()
{
    return CurrentRecord().leader;
}

std::string_view RecordStore::RecordBytes(int index) const
{
    return m_file[static_cast<std::size_t>(index)];
}

RecordSpan RecordStore::GetRecordSpan(int index) const
{
    if (index < 0 || index >= GetRecordCount()) {
        return {};
    }
    const auto slot = static_cast<std::size_t>(index);
    const auto offset = static_cast<std::int64_t>(m_index.records[slot].offset) + m_shifts.ShiftOf(slot);
    return {static_cast<std::uint64_t>(offset), m_file[slot].size()};
}

const std::vector<Problem>& RecordStore::RecordProblems()
{
    return CurrentRecord().problems;
}

int RecordStore::Fail(std::string message)
{
    const bool aboutRecord = HasRecord();
    m_lastError = Problem{std::move(message), aboutRecord ? m_current : -1,
                          aboutRecord ? GetRecordSpan(m_current).offset : 0};
    return -1;
}

}  // namespace luma
