#pragma once
// The bytes of a working copy: the record buffers one after another, with nothing between them.

#include <optional>
#include <string>
#include <vector>

#include "records/record_buffer_list.h"

namespace luma {

std::string JoinRecords(const std::vector<std::string>& records);

// Replaces the file's contents with the joined records atomically: a killed process or a full
// disk leaves the earlier contents. It is not flushed to disk (see the definition). An error
// message on failure.
std::optional<std::string> WriteRecords(const std::string& path, const RecordBufferList& records);

// Replaces a results file with the joined records atomically and flushes it to disk before the
// rename, so that neither a killed process nor a lost machine leaves part of it. An error
// message on failure; an earlier file is then as it was.
std::optional<std::string> WriteResultsFile(const std::string& path, const RecordBufferList& records);

}  // namespace luma
