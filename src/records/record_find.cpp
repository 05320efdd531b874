#include "records/record_find.h"

#include <algorithm>
#include <optional>

#include "charsets/unicode_text.h"
#include "platform/two_halves.h"
#include "records/field_text_search.h"

namespace luma {
namespace {

// Often enough for a progress bar and a cancel button, rarely enough to cost nothing.
constexpr int kRecordsPerProgressCall = 256;

// The record `steps` records away from `from` around the file, and whether that passed its end.
std::pair<int, bool> RecordAround(int from, int steps, FindDirection direction, int count)
{
    const int position = direction == FindDirection::Forward ? from + steps : from - steps;
    const int record = (position % count + count) % count;
    return {record, record != position};
}

// The records of [from, to) that match, in file order.
std::vector<int> MatchingRecords(RecordMatcher& matcher, int from, int to)
{
    std::vector<int> found;
    for (int record = from; record < to; ++record) {
        if (matcher.Matches(record)) {
            found.push_back(record);
        }
    }
    return found;
}

// Puts the store back on its record when a search has moved it.
class ShownRecordKeeper {
public:
    explicit ShownRecordKeeper(RecordStore& store) : m_store(store), m_shown(store.GetCurRecord()) {}
    ~ShownRecordKeeper()
    {
        if (m_store.GetCurRecord() != m_shown) {
            m_store.SetRecord(m_shown);
        }
    }
    ShownRecordKeeper(const ShownRecordKeeper&) = delete;
    ShownRecordKeeper& operator=(const ShownRecordKeeper&) = delete;

private:
    RecordStore& m_store;
    int m_shown;
};

}  // namespace

RecordMatcher::RecordMatcher(RecordStore& store, FindQuery query, FieldFilter isShown, Way way)
    : m_store(store),
      m_query(std::move(query)),
      m_wanted(m_query.ignoreDiacritics ? WithoutDiacritics(m_query.text) : m_query.text),
      m_foldedText(FoldCase(m_wanted)),
      m_isShown(std::move(isShown))
{
    if (way == Way::Fast) {
        m_fast = FieldTextSearch::Prepare(store.GetCharset(), m_query, m_isShown);
    }
}

RecordMatcher::~RecordMatcher() = default;

bool RecordMatcher::Matches(int record)
{
    if (m_query.text.empty() || record < 0 || record >= m_store.GetRecordCount()) {
        return false;
    }
    // A change not yet committed is in the store's parsed record only.
    if (m_fast && !m_store.HasPendingChange(record)) {
        return m_fast->Matches(m_store.Records()[static_cast<std::size_t>(record)], record);
    }
    return MatchesAsShown(record);
}

bool RecordMatcher::MatchesAsShown(int record)
{
    m_store.SetRecord(record);
    for (int field = 0; field < m_store.GetFieldCount(); ++field) {
        if (!IsSearched(m_store.GetFieldName(field))) {
            continue;
        }
        const std::string shown = m_store.GetFieldText(field);
        const std::string text = m_query.ignoreDiacritics ? WithoutDiacritics(shown) : shown;
        const bool found = m_query.matchCase ? text.find(m_wanted) != std::string::npos
                                             : FoldCase(text).find(m_foldedText) != std::string::npos;
        if (found) {
            return true;
        }
    }
    return false;
}

bool RecordMatcher::IsSearched(const std::string& tag) const
{
    return (m_query.fieldTag.empty() || tag == m_query.fieldTag) && (!m_isShown || m_isShown(tag));
}

FindResult FindRecord(RecordStore& store, const FindQuery& query, int from, FindDirection direction,
                      const FieldFilter& isShown, const FindProgress& progress)
{
    FindResult result;
    const int count = store.GetRecordCount();
    if (query.text.empty() || count == 0) {
        return result;
    }
    const ShownRecordKeeper keeper(store);
    RecordMatcher matcher(store, query, isShown);
    from = std::clamp(from, -1, count);
    for (int done = 0; done < count; ++done) {
        if (progress && done > 0 && done % kRecordsPerProgressCall == 0 && !progress(done, count)) {
            result.cancelled = true;
            return result;
        }
        const auto [record, wrapped] = RecordAround(from, done + 1, direction, count);
        if (matcher.Matches(record)) {
            result.record = record;
            result.wrapped = wrapped;
            return result;
        }
    }
    return result;
}

std::vector<int> FindAllRecords(RecordStore& store, const FindQuery& query, const FieldFilter& isShown)
{
    const ShownRecordKeeper keeper(store);
    const int count = store.GetRecordCount();
    RecordMatcher matcher(store, query, isShown);
    // A large file is searched in two halves at once where the search only reads the records'
    // bytes: each half has a matcher of its own, and neither moves the store. A filter of
    // shown tags belongs to the caller, who may not expect it to be asked from another thread.
    std::optional<RecordMatcher> second;
    if (static_cast<std::size_t>(count) >= kRecordsWorthAThread && matcher.SearchesBytes() && !store.HasPendingChanges() && !isShown) {
        second.emplace(store, query, isShown);
    }
    if (!second) {
        return MatchingRecords(matcher, 0, count);
    }
    std::vector<int> found;
    std::vector<int> later;
    InTwoHalves(
        static_cast<std::size_t>(count), kRecordsWorthAThread,
        [&](std::size_t from, std::size_t to) { found = MatchingRecords(matcher, static_cast<int>(from), static_cast<int>(to)); },
        [&](std::size_t from, std::size_t to) { later = MatchingRecords(*second, static_cast<int>(from), static_cast<int>(to)); });
    found.insert(found.end(), later.begin(), later.end());
    return found;
}

}  // namespace luma
