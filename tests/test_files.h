#pragma once
// Helpers the core tests share: records built from raw fields, temporary folders, the corpus.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace luma::test {

inline constexpr char kSub = 0x1F;  // subfield delimiter, for building field data in tests

using RawFields = std::vector<std::pair<std::string, std::string>>;

// A record in canonical layout with these tags and raw field data.
std::string Record(const RawFields& fields, const std::string& leader = "00000nam  2200000   4500");

// Field data of a data field: two indicators, then "$a..." with "$" as the delimiter.
std::string DataField(const std::string& notation);

// Re-encodes UTF-8 text with iconv (the core's codec on Windows), for building files in other character sets.
std::string Encode(const std::string& utf8, const char* charset);

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return m_path; }
    // Writes a file into the folder and gives its path.
    std::string Write(const std::string& name, const std::string& bytes) const;

private:
    std::filesystem::path m_path;
};

std::string ReadBytes(const std::string& path);

// Points TMPDIR (TMP on Windows), where working copies go, at `folder` for the guard's life.
class TempFolderGuard {
public:
    explicit TempFolderGuard(const std::string& folder);
    ~TempFolderGuard();
    TempFolderGuard(const TempFolderGuard&) = delete;
    TempFolderGuard& operator=(const TempFolderGuard&) = delete;

private:
    std::optional<std::string> m_previous;
};

#ifndef _WIN32
// Lowers the size any file may grow to, so that a write fails midway as on a full disk.
// Windows has no such per-process limit.
class FileSizeLimit {
public:
    explicit FileSizeLimit(std::size_t bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    std::uint64_t m_previous = 0;
};
#endif

// Path of a file in the third-party corpus; empty when the corpus folder is absent.
std::string CorpusFile(const std::string& relativePath);
std::vector<std::string> CorpusFiles();

}  // namespace luma::test

// Skips the current test when the corpus is absent, saying why.
#define LUMA_REQUIRE_CORPUS()                                                          \
    do {                                                                               \
        if (::luma::test::CorpusFiles().empty()) {                                     \
            GTEST_SKIP() << "corpus folder " LUMA_CORPUS_DIR " is absent";             \
        }                                                                              \
    } while (false)
