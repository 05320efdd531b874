#include "test_files.h"

#include <algorithm>
#include <atomic>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

#include "records/iso_record.h"
#include "platform/file_io.h"

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

TempDir::TempDir()
{
    // A random part keeps test processes running side by side apart.
    static const unsigned int run = std::random_device{}();
    static std::atomic<int> counter{0};
    m_path = std::filesystem::temp_directory_path() /
             ("luma-test-" + std::to_string(run) + "-" + std::to_string(counter++));
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
    return PathToUtf8(file);
}

std::string ReadBytes(const std::string& path)
{
    std::ifstream in(PathFromUtf8(path), std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

std::string CorpusFile(const std::string& relativePath)
{
    const std::filesystem::path file = std::filesystem::path(LUMA_CORPUS_DIR) / relativePath;
    return std::filesystem::exists(file) ? PathToUtf8(file) : std::string();
}

std::vector<std::string> CorpusFiles()
{
    std::vector<std::string> files;
    std::error_code ec;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(LUMA_CORPUS_DIR, ec)) {
        if (entry.is_regular_file() && entry.path().filename() != "README.md") {
            files.push_back(PathToUtf8(entry.path()));
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace luma::test
