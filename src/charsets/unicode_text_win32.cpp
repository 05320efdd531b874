// Unicode normalisation with the Win32 API (normaliz).

#include <windows.h>

#include <vector>

#include "charsets/charset.h"
#include "charsets/unicode_text.h"
#include "win32_wide.h"

namespace luma {
namespace {

// The text unchanged when Windows refuses it; the first call's length is only an estimate, so
// a buffer found too small is grown to the length the failed call gives.
std::wstring Normalized(NORM_FORM form, const std::wstring& text)
{
    if (text.empty()) return text;
    const int size = static_cast<int>(text.size());
    int length = ::NormalizeString(form, text.data(), size, nullptr, 0);
    for (int attempt = 0; attempt < 10 && length > 0; ++attempt) {
        std::wstring out(static_cast<std::size_t>(length), L'\0');
        const int written = ::NormalizeString(form, text.data(), size, out.data(), length);
        if (written > 0) {
            out.resize(static_cast<std::size_t>(written));
            return out;
        }
        if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER) {
            break;
        }
        length = -written;
    }
    return text;
}

}  // namespace

std::string ComposedNfc(std::string_view utf8)
{
    return win32::WideToUtf8(Normalized(NormalizationC, win32::ToWide(SanitizeUtf8(utf8), CP_UTF8)));
}

void AppendComposed(std::u32string_view letterAndMarks, std::string& utf8)
{
    std::wstring wide;
    for (const char32_t c : letterAndMarks) {
        if (c >= 0x10000) {
            wide += static_cast<wchar_t>(0xD800 + ((c - 0x10000) >> 10));
            wide += static_cast<wchar_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            wide += static_cast<wchar_t>(c);
        }
    }
    utf8 += win32::WideToUtf8(Normalized(NormalizationC, wide));
}

std::string CanonicalDecomposition(std::string_view utf8)
{
    return win32::WideToUtf8(Normalized(NormalizationD, win32::ToWide(SanitizeUtf8(utf8), CP_UTF8)));
}

std::string WithoutDiacritics(std::string_view utf8)
{
    const std::wstring decomposed = Normalized(NormalizationD, win32::ToWide(SanitizeUtf8(utf8), CP_UTF8));
    if (decomposed.empty()) return {};
    std::vector<WORD> types(decomposed.size());
    if (!::GetStringTypeW(CT_CTYPE3, decomposed.data(), static_cast<int>(decomposed.size()), types.data())) {
        return win32::WideToUtf8(Normalized(NormalizationC, decomposed));
    }
    std::wstring kept;
    kept.reserve(decomposed.size());
    for (std::size_t i = 0; i < decomposed.size(); ++i) {
        if ((types[i] & C3_NONSPACING) == 0) {
            kept += decomposed[i];
        }
    }
    return win32::WideToUtf8(Normalized(NormalizationC, kept));
}

}  // namespace luma
