#include "json_dump.h"

#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "messages.h"
#include "records/charset_detect.h"
#include "records/record_problems.h"

namespace luma::cli {
namespace {

// Keeps the keys in the documented order, which readers of the dump see first.
using Json = nlohmann::ordered_json;

Json FieldsOfCurrentRecord(RecordStore& store) {
    Json fields = Json::array();
    for (int i = 0; i < store.GetFieldCount(); ++i) {
        fields.push_back(Json::array({store.GetFieldName(i), store.GetFieldText(i)}));
    }
    return fields;
}

Json ProblemTexts(const std::vector<Problem>& problems) {
    Json texts = Json::array();
    for (const Problem& problem : problems) {
        texts.push_back("offset " + std::to_string(problem.offset) + ": " + problem.message);
    }
    return texts;
}

}  // namespace

std::string RecordAsJsonLine(RecordStore& store, int index) {
    const std::vector<Problem> problems = ProblemsOfRecord(store, index);
    const RecordSpan span = store.GetRecordSpan(index);
    Json record;
    record["record"] = index + 1;
    record["offset"] = span.offset;
    record["length"] = span.length;
    record["charset"] = std::string(CharsetName(store.GetCharset()));
    record["leader"] = store.GetLeader();
    record["fields"] = FieldsOfCurrentRecord(store);
    record["problems"] = ProblemTexts(problems);
    if (index == 0) {
        // Once, with the first record: the set is the file's, and this is what the window's file
        // information shows for it.
        record["charset_evidence"] = CoreTextInEnglish(EvidenceText(store.GetDetection().evidence));
    }
    // A damaged leader may hold any byte; the dump must still be valid JSON.
    return record.dump(-1, ' ', false, Json::error_handler_t::replace);
}

}  // namespace luma::cli
