// Test helpers that need POSIX: iconv, the environment, resource limits.

#include <iconv.h>
#include <sys/resource.h>

#include <csignal>
#include <cstdlib>
#include <stdexcept>

#include "test_files.h"

namespace luma::test {

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

}  // namespace luma::test
