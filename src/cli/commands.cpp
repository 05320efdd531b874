#include "commands.h"

#include "marking/recovery.h"

#include <vector>

#include "json_dump.h"
#include "messages.h"
#include "records/record_problems.h"
#include "records/record_store.h"

namespace luma::cli {
namespace {

int CountFieldsEqualTo(RecordStore& store, const LabelField& label) {
    int matches = 0;
    for (const int record : store.RecordsWithTag(label.tag)) {
        store.SetRecord(record);
        matches += store.CountFieldsEqual(label.tag, label.text);
    }
    return matches;
}

void DumpCurrentRecordAsText(RecordStore& store, std::ostream& out) {
    out << "=== " << store.GetCurRecord() + 1 << '\n';
    for (int field = 0; field < store.GetFieldCount(); ++field) {
        out << store.GetFieldName(field) << "     " << store.GetFieldText(field) << '\n';
    }
}

}  // namespace

bool OpenOrReport(RecordStore& store, const std::string& path, std::optional<Charset> charset,
                  const Voice& voice, std::ostream& err) {
    // A session's working copy reads as the records it holds: its journal over its source.
    if (const std::optional<WorkingCopyRecords> work = ReadWorkingCopyRecords(path)) {
        return store.OpenRecords(work->records, path, charset.value_or(work->charset)) == 0;
    }
    if (store.Open(path, charset) == 0) {
        return true;
    }
    // The store's message names the file and the reason.
    const std::optional<Problem>& error = store.LastError();
    err << "luma-cli: "
        << (error ? voice.CoreDetail(error->message)
                  : voice.Say({"не удаётся открыть %1", "cannot open %1"}, {path}))
        << '\n';
    return false;
}

int RunCount(const std::string& path, std::optional<Charset> charset, const std::optional<LabelField>& label,
             const Voice& voice, std::ostream& out, std::ostream& err) {
    RecordStore store;
    if (!OpenOrReport(store, path, charset, voice, err)) {
        return kExitUnreadable;
    }
    out << "records: " << store.GetRecordCount() << '\n';
    if (label) {
        out << "marked: " << CountFieldsEqualTo(store, *label) << '\n';
    }
    return kExitOk;
}

int RunDump(const std::string& path, std::optional<Charset> charset, bool asJson, const Voice& voice,
            std::ostream& out, std::ostream& err) {
    RecordStore store;
    if (!OpenOrReport(store, path, charset, voice, err)) {
        return kExitUnreadable;
    }
    for (int record = 0; record < store.GetRecordCount(); ++record) {
        if (asJson) {
            out << RecordAsJsonLine(store, record) << '\n';
        } else {
            store.SetRecord(record);
            DumpCurrentRecordAsText(store, out);
        }
    }
    return kExitOk;
}

int RunCheck(const std::string& path, std::optional<Charset> charset, const Voice& voice, std::ostream& out,
             std::ostream& err) {
    RecordStore store;
    if (!OpenOrReport(store, path, charset, voice, err)) {
        return kExitUnreadable;
    }
    int damagedRecords = 0;
    for (int record = 0; record < store.GetRecordCount(); ++record) {
        const std::vector<Problem> problems = ProblemsOfRecord(store, record);
        damagedRecords += problems.empty() ? 0 : 1;
        for (const Problem& problem : problems) {
            out << problem.Describe() << '\n';
        }
    }
    const std::vector<Problem> unattached = ProblemsOfNoRecord(store);
    for (const Problem& problem : unattached) {
        out << problem.Describe() << '\n';
    }
    out << store.GetRecordCount() << " records, " << damagedRecords << " with problems\n";
    return damagedRecords == 0 && unattached.empty() ? kExitOk : kExitProblems;
}

}  // namespace luma::cli
