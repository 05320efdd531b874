#pragma once
// Finding the records whose fields, as the record view shows them, contain a text. The window's
// find and `luma-cli find` both search with this.

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "records/record_store.h"
#include "records/case_fold.h"

namespace luma {

struct FindQuery {
    std::string text;      // UTF-8, as typed; empty finds nothing
    std::string fieldTag;  // empty: every field; else only fields with this tag (compared whole)
    bool matchCase = false;  // without it, both sides are compared case-folded (see FoldCase)
    bool ignoreDiacritics = false;  // both sides compared without their diacritics: "e" finds "é"
};

enum class FindDirection { Forward, Backward };

struct FindResult {
    std::optional<int> record;  // index of the record found
    bool wrapped = false;       // the search passed the end (or the start, backward) to find it
    bool cancelled = false;
};

// Which tags the record view shows; an empty function shows every tag.
using FieldFilter = std::function<bool(const std::string& tag)>;
// Told how many of `total` records have been searched; false cancels the search.
using FindProgress = std::function<bool(int done, int total)>;

// Searches from the record after `from` (before it, backward), wrapping once around the file and
// ending at `from` itself, so a file where only `from` matches finds `from`, wrapped. A `from` of
// -1 forward (of the record count backward) searches the whole file once without wrapping.
// A record matches when one of its fields that the view shows and the query's tag allows
// contains the text. `progress` (may be empty) is called every few hundred records, not per
// record. The store is left on the record it was on: the caller moves to the record found the
// way it moves anywhere, so that its view and status follow.
FindResult FindRecord(RecordStore& store, const FindQuery& query, int from, FindDirection direction,
                      const FieldFilter& isShown, const FindProgress& progress);

// Every matching record's index, in file order. The store is left on the record it was on.
std::vector<int> FindAllRecords(RecordStore& store, const FindQuery& query, const FieldFilter& isShown);

class FieldTextSearch;

// Tells whether records of a store match a query, which it prepares once. It searches the
// records' own bytes where it can (see FieldTextSearch) and the record view's text otherwise.
class RecordMatcher {
public:
    // Plain: always the record view's text, record by record; the fast way must agree with it.
    enum class Way { Fast, Plain };

    RecordMatcher(RecordStore& store, FindQuery query, FieldFilter isShown, Way way = Way::Fast);
    ~RecordMatcher();
    RecordMatcher(const RecordMatcher&) = delete;
    RecordMatcher& operator=(const RecordMatcher&) = delete;

    // May move the store's current record.
    bool Matches(int record);
    // Whether records are searched in the file's bytes rather than through the record view.
    bool SearchesBytes() const { return m_fast != nullptr; }

private:
    bool MatchesAsShown(int record);
    bool IsSearched(const std::string& tag) const;

    RecordStore& m_store;
    FindQuery m_query;
    std::string m_wanted;  // the query's text, without diacritics when they are ignored
    std::string m_foldedText;
    FieldFilter m_isShown;
    std::unique_ptr<FieldTextSearch> m_fast;  // none when the plain way is asked for or needed
};

}  // namespace luma
