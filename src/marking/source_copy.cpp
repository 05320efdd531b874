#include "source_copy.h"

#include <fstream>

#include "platform/file_io.h"

namespace luma {
namespace {

constexpr std::size_t kCopyChunk = std::size_t{4} << 20;

}  // namespace

SourceCopy::SourceCopy(std::shared_ptr<const FileBytes> bytes, std::string source, std::string target,
                       FileFingerprint opened, bool inBackground, std::function<void()> copied)
    : m_bytes(std::move(bytes)), m_source(std::move(source)), m_target(std::move(target)), m_opened(opened), m_copied(std::move(copied))
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
    bool complete = m_bytes && m_bytes->size() == m_opened.size && CopyBytes() && !m_bytes->ChangedUnderneath();
    if (complete) {
        const std::optional<FileFingerprint> source = FingerprintOfFile(m_source);
        const std::optional<FileFingerprint> copy = FingerprintOfFile(m_target);
        // Bytes in memory are the file as it was opened whatever became of it; mapped ones follow
        // a file rewritten in place.
        const bool sourceKept = !m_bytes->IsMapped() || !source || source == m_opened;
        complete = sourceKept && copy && copy->size == m_opened.size && copy->hash == m_opened.hash;
    }
    if (complete && m_copied) {
        m_copied();
    }
    m_state = complete ? State::Complete : State::Failed;
}

bool SourceCopy::CopyBytes()
{
    std::ofstream out(PathFromUtf8(m_target), std::ios::binary | std::ios::trunc);
    const std::string_view bytes = m_bytes->view();
    for (std::size_t at = 0; at < bytes.size() && out && !m_cancel; at += kCopyChunk) {
        const std::string_view chunk = bytes.substr(at, kCopyChunk);
        out.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
    }
    out.flush();
    return !m_cancel && out.good();
}

}  // namespace luma
