#pragma once
// The subcommands of luma-cli. Each reads one record file and writes its report to `out`,
// errors to `err` in the voice of the run, and gives the process exit code.

#include <optional>
#include <ostream>
#include <string>

#include "charsets/charset.h"

namespace luma {
class RecordStore;
}

namespace luma::cli {

class Voice;

inline constexpr int kExitOk = 0;
inline constexpr int kExitProblems = 1;    // `check` found damage
inline constexpr int kExitUnreadable = 2;  // no records could be read from the file
inline constexpr int kExitInternal = 3;    // an unexpected failure, such as running out of memory
inline constexpr int kExitUsage = 64;      // the command line was wrong (as sysexits.h has it)

// A field as the operator marks records with it: tag and text in the field text notation.
struct LabelField {
    std::string tag;
    std::string text;
};

// Opens the file, in `charset` when the operator named one, or tells on `err` why it cannot;
// false then.
bool OpenOrReport(RecordStore& store, const std::string& path, std::optional<Charset> charset,
                  const Voice& voice, std::ostream& err);

// "records: N", and with a label "marked: M", the fields equal to it over all records.
int RunCount(const std::string& path, std::optional<Charset> charset, const std::optional<LabelField>& label,
             const Voice& voice, std::ostream& out, std::ostream& err);

// Every record as "=== N" and "TAG     TEXT" lines, or as one JSON object per line.
int RunDump(const std::string& path, std::optional<Charset> charset, bool asJson, const Voice& voice,
            std::ostream& out, std::ostream& err);

// One line per problem in file order, then "N records, M with problems".
int RunCheck(const std::string& path, std::optional<Charset> charset, const Voice& voice, std::ostream& out,
             std::ostream& err);

}  // namespace luma::cli
