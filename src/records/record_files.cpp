#include "records/record_files.h"

#include "platform/file_io.h"

namespace luma {

std::string JoinRecords(const std::vector<std::string>& records)
{
    std::size_t size = 0;
    for (const std::string& record : records) {
        size += record.size();
    }
    std::string bytes;
    bytes.reserve(size);
    for (const std::string& record : records) {
        bytes += record;
    }
    return bytes;
}

// The working copy is a scratch file: the rename keeps it whole if the process dies, and
// flushing tens of megabytes to disk on every mark would make marking as slow as the disk.
std::optional<std::string> WriteRecords(const std::string& path, const RecordBufferList& records)
{
    return ReplaceFileAtomically(path, records.Pieces(), Durability::ProcessCrashOnly);
}

std::optional<std::string> WriteResultsFile(const std::string& path, const RecordBufferList& records)
{
    return ReplaceFileAtomically(path, records.Pieces(), Durability::FlushToDisk);
}

}  // namespace luma
