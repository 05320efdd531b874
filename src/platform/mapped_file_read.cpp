// Until mapping is in place: the file is read whole.

#include "platform/file_io.h"
#include "platform/mapped_file.h"

namespace luma {

MapResult MapWholeFile(const std::string& path)
{
    ReadResult read = ReadWholeFile(path);
    return {std::move(read.bytes), std::move(read.error)};
}

}  // namespace luma
