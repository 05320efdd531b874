#include "test_files.h"

#include <iconv.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "marking/iso_record.h"

namespace luma::test {

std::string Record(const RawFields& fields, const std::string& leader)
{
    IsoRecord record;
    record.leader = leader;
    for (const auto& [tag, data] : fields) {
        record.fields.push_back({tag, data});
    }
    BuildResult built = BuildRecord(record);
    if (built.error) {
        throw std::runtime_error(*built.error);
    }
    return built.bytes;
}

std::string DataField(const std::string& notation)
{
    std::string data = notation;
    std::replace(data.begin(), data.end(), '$', kSub);
    return data;
}

std::string Encode(const std::string& utf8, const char* charset)
{
    iconv_t handle = iconv_open(charset, "UTF-8");
    std::string in = utf8;
    std::string out(in.size() * 4 + 16, '\0');
    char* inPtr = in.data();
    char* outPtr = out.data();
    std::size_t inLeft = in.size();
    std::size_t outLeft = out.size();
    const std::size_t rc = iconv(handle, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(handle);
    if (rc == static_cast<std::size_t>(-1)) {
        throw std::runtime_error("test text cannot be encoded");
    }
    out.resize(out.size() - outLeft);
    return out;
}

TempDir::TempDir()
{
    static std::atomic<int> counter{0};
    m_path = std::filesystem::temp_directory_path() /
             ("luma-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    std::filesystem::create_directories(m_path);
}

TempDir::~TempDir()
{
    std::error_code ec;
    std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(m_path, ec);
}

std::string TempDir::Write(const std::string& name, const std::string& bytes) const
{
    const std::filesystem::path file = m_path / name;
    std::ofstream(file, std::ios::binary) << bytes;
    return file.string();
}

std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

TempFolderGuard::TempFolderGuard(const std::string& folder)
{
    if (const char* previous = std::getenv("TMPDIR")) {
        m_previous = previous;
    }
    ::setenv("TMPDIR", folder.c_str(), 1);
}

TempFolderGuard::~TempFolderGuard()
{
    if (m_previous) {
        ::setenv("TMPDIR", m_previous->c_str(), 1);
    } else {
        ::unsetenv("TMPDIR");
    }
}

FileSizeLimit::FileSizeLimit(std::size_t bytes)
{
    // Past the limit a write fails with EFBIG instead of the process being signalled.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    m_previous = limit.rlim_cur;
    limit.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &limit);
}

FileSizeLimit::~FileSizeLimit()
{
    rlimit limit{};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = m_previous;
    ::setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, SIG_DFL);
}

std::string CorpusFile(const std::string& relativePath)
{
    const std::filesystem::path file = std::filesystem::path(LUMA_CORPUS_DIR) / relativePath;
    return std::filesystem::exists(file) ? file.string() : std::string();
}

std::vector<std::string> CorpusFiles()
{
    std::vector<std::string> files;
    std::error_code ec;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(LUMA_CORPUS_DIR, ec)) {
        if (entry.is_regular_file() && entry.path().filename() != "README.md") {
            files.push_back(entry.path().string());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace luma::test
