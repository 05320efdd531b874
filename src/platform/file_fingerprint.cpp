// The fingerprint of a file: portable, through the standard library.

#include <filesystem>
#include <fstream>
#include <system_error>
#include <vector>

#include "platform/byte_hash.h"
#include "platform/file_io.h"
#include "platform/mapped_file.h"

namespace luma {
namespace {

constexpr std::uint64_t kHashedEnd = std::uint64_t{1} << 20;

bool HashRange(std::ifstream& in, std::uint64_t offset, std::uint64_t length, std::uint64_t& hash)
{
    std::vector<char> buffer(static_cast<std::size_t>(length));
    in.seekg(static_cast<std::streamoff>(offset));
    in.read(buffer.data(), static_cast<std::streamsize>(length));
    if (static_cast<std::uint64_t>(in.gcount()) != length) {
        return false;
    }
    hash = HashBytes(std::string_view(buffer.data(), buffer.size()), hash);
    return true;
}

// The two ranges hashed: the first MiB, and the last MiB after it.
std::pair<std::uint64_t, std::uint64_t> HashedEnds(std::uint64_t size)
{
    const std::uint64_t head = std::min<std::uint64_t>(size, kHashedEnd);
    return {head, std::max<std::uint64_t>(head, size - std::min<std::uint64_t>(size, kHashedEnd))};
}

}  // namespace

FileFingerprint FingerprintOfBytes(std::string_view bytes, std::int64_t modified)
{
    const auto [head, tailStart] = HashedEnds(bytes.size());
    const std::uint64_t hash = HashBytes(bytes.substr(static_cast<std::size_t>(tailStart)),
                                         HashBytes(bytes.substr(0, static_cast<std::size_t>(head))));
    return {bytes.size(), modified, hash};
}

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
                                kByteHashStart};
    const auto [head, tailStart] = HashedEnds(size);
    if (!HashRange(in, 0, head, fingerprint.hash) || !HashRange(in, tailStart, size - tailStart, fingerprint.hash)) {
        return std::nullopt;
    }
    return fingerprint;
}

}  // namespace luma
