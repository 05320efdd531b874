#include "select_commands.h"

#include "marking/record_select.h"
#include "messages.h"
#include "platform/file_io.h"

namespace luma::cli {

int RunFind(const std::string& path, std::optional<Charset> charset, const FindQuery& query,
            const Voice& voice, std::ostream& out, std::ostream& err)
{
    RecordStore store;
    if (!OpenOrReport(store, path, charset, voice, err)) {
        return kExitUnreadable;
    }
    const std::vector<int> found = FindAllRecords(store, query, {});
    std::string lines;
    for (const int record : found) {
        lines += std::to_string(record + 1);
        lines += '\n';
    }
    out << lines;
    return found.empty() ? kExitProblems : kExitOk;
}

int RunExtract(const std::string& path, std::optional<Charset> charset, const LabelField& label,
               const std::string& output, const Voice& voice, std::ostream& out, std::ostream& err)
{
    RecordStore store;
    if (!OpenOrReport(store, path, charset, voice, err)) {
        return kExitUnreadable;
    }
    const std::vector<int> labelled = RecordsWithLabel(store, label.tag, label.text);
    if (labelled.empty()) {
        err << "luma-cli: "
            << voice.Say({"ни одна запись файла %1 не несёт метки %2 «%3»; %4 не записан",
                          "no record of %1 carries the label %2 '%3'; %4 is not written"},
                         {path, label.tag, label.text, output})
            << '\n';
        return kExitProblems;
    }
    const auto error = ReplaceFileAtomically(output, PiecesOfRecords(store.Records(), labelled),
                                             Durability::FlushToDisk);
    if (error) {
        err << "luma-cli: "
            << voice.Say({"не удаётся записать %1: %2", "cannot write %1: %2"},
                         {output, voice.CoreDetail(*error)})
            << '\n';
        return kExitUnreadable;
    }
    out << "extracted: " << labelled.size() << '\n';
    return kExitOk;
}

}  // namespace luma::cli
