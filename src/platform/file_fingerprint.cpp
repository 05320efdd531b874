// The fingerprint of a file: portable, through the standard library.

#include <filesystem>
#include <fstream>
#include <system_error>
#include <vector>

#include "platform/file_io.h"
#include "platform/mapped_file.h"

namespace luma {
namespace {

constexpr std::uint64_t kHashedEnd = std::uint64_t{1} << 20;

// FNV-1a: no cryptographic strength is needed to notice a rewrite, only speed.
void HashBytes(std::uint64_t& hash, const char* bytes, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i) {
        hash ^= static_cast<unsigned char>(bytes[i]);
        hash *= 0x100000001b3ULL;
    }
}

bool HashRange(std::ifstream& in, std::uint64_t offset, std::uint64_t length, std::uint64_t& hash)
{
    std::vector<char> buffer(static_cast<std::size_t>(length));
    in.seekg(static_cast<std::streamoff>(offset));
    in.read(buffer.data(), static_cast<std::streamsize>(length));
    if (static_cast<std::uint64_t>(in.gcount()) != length) {
        return false;
    }
    HashBytes(hash, buffer.data(), buffer.size());
    return true;
}

}  // namespace

std::optional<FileFingerprint> FingerprintOfFile(const std::string& path)
{
    const std::filesystem::path file = PathFromUtf8(path);
    std::error_code sizeError;
    std::error_code timeError;
    const std::uintmax_t size = std::filesystem::file_size(file, sizeError);
    const auto modified = std::filesystem::last_write_time(file, timeError);
    if (sizeError || timeError) {
        return std::nullopt;
    }
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    FileFingerprint fingerprint{size,
                                std::chrono::duration_cast<std::chrono::nanoseconds>(modified.time_since_epoch()).count(),
                                0xcbf29ce484222325ULL};
    const std::uint64_t head = std::min<std::uint64_t>(size, kHashedEnd);
    const std::uint64_t tailStart = std::max<std::uint64_t>(head, size - std::min<std::uint64_t>(size, kHashedEnd));
    if (!HashRange(in, 0, head, fingerprint.hash) || !HashRange(in, tailStart, size - tailStart, fingerprint.hash)) {
        return std::nullopt;
    }
    return fingerprint;
}

}  // namespace luma
