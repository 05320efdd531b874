#include "source_copy.h"

#include <fstream>
#include <vector>

#include "platform/file_io.h"

namespace luma {
namespace {

constexpr std::size_t kCopyChunk = std::size_t{4} << 20;

}  // namespace

SourceCopy::SourceCopy(std::string source, std::string target, FileFingerprint opened, bool inBackground,
                       std::function<void()> copied)
    : m_source(std::move(source)), m_target(std::move(target)), m_opened(opened), m_copied(std::move(copied))
{
    if (inBackground) {
        m_thread = std::thread([this] { Run(); });
    } else {
        Run();
    }
}

SourceCopy::~SourceCopy()
{
    m_cancel = true;
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

void SourceCopy::Run()
{
    bool complete = CopyBytes();
    if (complete) {
        const std::optional<FileFingerprint> source = FingerprintOfFile(m_source);
        const std::optional<FileFingerprint> copy = FingerprintOfFile(m_target);
        complete = source == m_opened && copy && copy->size == m_opened.size && copy->hash == m_opened.hash;
    }
    if (complete && m_copied) {
        m_copied();
    }
    m_state = complete ? State::Complete : State::Failed;
}

bool SourceCopy::CopyBytes()
{
    std::ifstream in(PathFromUtf8(m_source), std::ios::binary);
    std::ofstream out(PathFromUtf8(m_target), std::ios::binary | std::ios::trunc);
    std::vector<char> buffer(kCopyChunk);
    while (in && out && !m_cancel) {
        in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
        out.write(buffer.data(), in.gcount());
    }
    out.flush();
    return !m_cancel && in.eof() && !in.bad() && out.good();
}

}  // namespace luma
