// Unicode normalisation with utf8proc.

#include <utf8proc.h>

#include <cstdlib>
#include <memory>

#include "charsets/charset.h"
#include "charsets/unicode_text.h"

namespace luma {
namespace {

// utf8proc_map on text already made valid; the text as it came if utf8proc still refuses it.
std::string Mapped(const std::string& valid, utf8proc_option_t options)
{
    utf8proc_uint8_t* mapped = nullptr;
    const utf8proc_ssize_t length =
        utf8proc_map(reinterpret_cast<const utf8proc_uint8_t*>(valid.data()),
                     static_cast<utf8proc_ssize_t>(valid.size()), &mapped, options);
    const std::unique_ptr<utf8proc_uint8_t, decltype(&std::free)> owner(mapped, &std::free);
    if (length < 0) {
        return valid;
    }
    return std::string(reinterpret_cast<const char*>(mapped), static_cast<std::size_t>(length));
}

}  // namespace

std::string ComposedNfc(std::string_view utf8)
{
    return Mapped(SanitizeUtf8(utf8), static_cast<utf8proc_option_t>(UTF8PROC_STABLE | UTF8PROC_COMPOSE));
}

void AppendComposed(std::u32string_view letterAndMarks, std::string& utf8)
{
    // Decomposed into a buffer on the stack, then composed in place: no allocation.
    constexpr utf8proc_ssize_t kRoom = 64;
    utf8proc_int32_t buffer[kRoom];
    utf8proc_ssize_t length = 0;
    const auto options = static_cast<utf8proc_option_t>(UTF8PROC_STABLE | UTF8PROC_DECOMPOSE);
    for (const char32_t c : letterAndMarks) {
        int boundclass = UTF8PROC_BOUNDCLASS_START;
        const utf8proc_ssize_t added = length < kRoom
            ? utf8proc_decompose_char(static_cast<utf8proc_int32_t>(c), buffer + length, kRoom - length, options, &boundclass)
            : -1;
        if (added < 0 || length + added > kRoom) {
            std::string plain;
            for (const char32_t d : letterAndMarks) {
                utf8proc_uint8_t bytes[4];
                plain.append(reinterpret_cast<const char*>(bytes),
                             static_cast<std::size_t>(utf8proc_encode_char(static_cast<utf8proc_int32_t>(d), bytes)));
            }
            utf8 += ComposedNfc(plain);
            return;
        }
        length += added;
    }
    length = utf8proc_normalize_utf32(buffer, length, static_cast<utf8proc_option_t>(UTF8PROC_STABLE | UTF8PROC_COMPOSE));
    for (utf8proc_ssize_t i = 0; i < length; ++i) {
        utf8proc_uint8_t bytes[4];
        utf8.append(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(utf8proc_encode_char(buffer[i], bytes)));
    }
}

std::string CanonicalDecomposition(std::string_view utf8)
{
    return Mapped(SanitizeUtf8(utf8), static_cast<utf8proc_option_t>(UTF8PROC_STABLE | UTF8PROC_DECOMPOSE));
}

std::string WithoutDiacritics(std::string_view utf8)
{
    // UTF8PROC_STRIPMARK would also drop the spacing marks (Mc), the vowel signs of Indic
    // scripts, which are letters to their readers: only the nonspacing ones (Mn) go.
    const std::string decomposed = CanonicalDecomposition(utf8);
    std::string kept;
    kept.reserve(decomposed.size());
    const auto* bytes = reinterpret_cast<const utf8proc_uint8_t*>(decomposed.data());
    utf8proc_ssize_t at = 0;
    const auto size = static_cast<utf8proc_ssize_t>(decomposed.size());
    while (at < size) {
        utf8proc_int32_t codepoint = 0;
        const utf8proc_ssize_t length = utf8proc_iterate(bytes + at, size - at, &codepoint);
        if (length <= 0) {
            break;  // cannot happen on decomposed valid text
        }
        if (utf8proc_category(codepoint) != UTF8PROC_CATEGORY_MN) {
            kept.append(decomposed, static_cast<std::size_t>(at), static_cast<std::size_t>(length));
        }
        at += length;
    }
    return ComposedNfc(kept);
}

}  // namespace luma
