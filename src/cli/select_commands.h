#pragma once
// `luma-cli find` and `extract`: choosing records by their text or by their label.

#include <optional>
#include <ostream>
#include <string>

#include "commands.h"
#include "records/record_find.h"

namespace luma::cli {

// The 1-based number of every record whose fields contain the query's text, one a line, in file
// order. Exit 0 when any matched, 1 when none did, 2 when FILE cannot be read.
int RunFind(const std::string& path, std::optional<Charset> charset, const FindQuery& query,
            const Voice& voice, std::ostream& out, std::ostream& err);

// Writes to `output` only the records that carry the label, byte for byte as FILE holds them,
// atomically and flushed to disk, and prints "extracted: N". Exit 1 when no record carries it
// (nothing is written), 2 when FILE cannot be read or OUT cannot be written (an existing OUT is
// left as it was).
int RunExtract(const std::string& path, std::optional<Charset> charset, const LabelField& label,
               const std::string& output, const Voice& voice, std::ostream& out, std::ostream& err);

}  // namespace luma::cli
