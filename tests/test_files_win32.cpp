// Test helpers on Windows: the core's own code-page conversion stands in for iconv, and TMP
// names the temporary folder.

#include <cstdlib>
#include <optional>
#include <stdexcept>
#include <string_view>

#include "charsets/charset.h"
#include "test_files.h"

namespace luma::test {

std::string Encode(const std::string& utf8, const char* charset)
{
    const std::optional<Charset> target = CharsetFromName(charset);
    if (!target) {
        throw std::runtime_error("no such test charset");
    }
    const auto encoded = TextCodec(*target).Encode(utf8);
    if (!encoded) {
        throw std::runtime_error("test text cannot be encoded");
    }
    return *encoded;
}

// GetTempPath takes the folder from TMP first.
TempFolderGuard::TempFolderGuard(const std::string& folder)
{
    if (const char* previous = std::getenv("TMP")) {
        m_previous = previous;
    }
    ::_putenv_s("TMP", folder.c_str());
}

TempFolderGuard::~TempFolderGuard()
{
    ::_putenv_s("TMP", m_previous ? m_previous->c_str() : "");
}

}  // namespace luma::test
