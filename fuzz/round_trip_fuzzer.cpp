// Reads arbitrary bytes, marks every record it can, writes the records out and reads them back,
// as a marking session does with its working copy. Beyond crashes, it stops on any record whose
// fields do not survive the trip: a written record must read back to the fields it was given,
// and the joined buffers must read back to the same records.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "records/record_store.h"
#include "records/record_framing.h"

namespace {

using Fields = std::vector<std::pair<std::string, std::string>>;

const std::string kLabelTag = "901";
const std::string kLabelText = "##$aОтобрано";

[[noreturn]] void Fail(const char* what, int record)
{
    std::fprintf(stderr, "round trip broken: %s (record %d)\n", what, record);
    std::abort();
}

Fields CurrentFields(luma::RecordStore& store)
{
    Fields fields;
    const int count = store.GetFieldCount();
    for (int i = 0; i < count; ++i) {
        fields.emplace_back(store.GetFieldName(i), store.GetFieldText(i));
    }
    return fields;
}

Fields ReadBack(const std::string& bytes, luma::Charset charset, int record)
{
    luma::RecordStore again;
    if (again.OpenBytes(bytes, "round trip", charset) != 0 || again.GetRecordCount() != 1) {
        Fail("a written record does not read back as one record", record);
    }
    again.SetRecord(0);
    return CurrentFields(again);
}

// Whether `changed` is `reference` with one label field inserted somewhere.
bool AddsOneLabel(const Fields& changed, const Fields& reference)
{
    for (std::size_t i = 0; i < changed.size(); ++i) {
        if (changed[i] != std::make_pair(kLabelTag, kLabelText)) {
            continue;
        }
        Fields without = changed;
        without.erase(without.begin() + static_cast<std::ptrdiff_t>(i));
        if (without == reference) {
            return true;
        }
    }
    return false;
}

// Marks the current record, checks the written form, commits it and returns its buffer.
std::string MarkAndCheck(luma::RecordStore& store, int record)
{
    const Fields reference = CurrentFields(store);
    if (store.AddField(kLabelTag, kLabelText) != 0) {
        return store.GetIsoBuffer();
    }
    const std::string marked = store.GetIsoBuffer();
    const Fields changed = CurrentFields(store);
    if (!AddsOneLabel(changed, reference)) {
        Fail("marking did more than add the label field", record);
    }
    if (ReadBack(marked, store.GetCharset(), record) != changed) {
        Fail("a marked record reads back with other fields", record);
    }
    if (store.CommitChange("round trip") == 0 && store.GetIsoBuffer() != marked) {
        Fail("a committed record differs from the record written", record);
    }
    return marked;
}

std::string Join(const std::vector<std::string>& buffers)
{
    std::string joined;
    for (const std::string& buffer : buffers) {
        joined += buffer;
    }
    return joined;
}

bool AllFrameThemselves(const luma::RecordBufferList& list)
{
    for (std::size_t r = 0; r < list.size(); ++r) {
        if (!luma::FramesItself(list[r])) {
            return false;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    luma::RecordStore file;
    if (file.OpenBytes(std::string(reinterpret_cast<const char*>(data), size), "fuzz") != 0) {
        return 0;
    }
    // The buffer list as a session takes it at open: records whose damaged framing depends on
    // their neighbours are rebuilt first, and the store holds the list as it frames it.
    luma::RecordBufferList list = file.Records();
    if (!file.FileProblems().empty()) {
        luma::RebuildMisframedRecords(list);
    }
    luma::RecordStore store;
    if (store.OpenRecords(list, "working copy", file.GetCharset()) != 0) {
        return 0;
    }
    std::vector<std::string> buffers;
    for (int r = 0; r < store.GetRecordCount(); ++r) {
        store.SetRecord(r);
        // Every other record is marked, so unchanged records sit between changed ones.
        buffers.push_back(r % 2 == 0 ? MarkAndCheck(store, r) : store.GetIsoBuffer());
    }
    // The working copy, read by a fresh store as after a crash, gives the same records: always
    // for a cleanly framed file, and for a damaged one once every record frames itself (a
    // record kept as it came, for a terminator inside its data, may read back otherwise).
    if (!file.FileProblems().empty() &&
        !AllFrameThemselves(list)) {
        return 0;
    }
    luma::RecordStore reread;
    if (reread.OpenBytes(Join(buffers), "working copy", store.GetCharset()) != 0 ||
        reread.GetRecordCount() != static_cast<int>(buffers.size())) {
        Fail("the joined buffers read back as a different number of records", -1);
    }
    for (int r = 0; r < reread.GetRecordCount(); ++r) {
        reread.SetRecord(r);
        if (reread.GetIsoBuffer() != buffers[static_cast<std::size_t>(r)]) {
            Fail("the joined buffers read back as other records", r);
        }
    }
    return 0;
}
