// Code-page conversion with the Win32 API.

#include <windows.h>

#include <utility>

#include "charsets/charset.h"
#include "win32_wide.h"

namespace luma {
namespace {

UINT CodePage(Charset charset)
{
    switch (charset) {
    case Charset::Windows1251: return 1251;
    case Charset::Koi8r: return 20866;
    case Charset::Cp866: return 866;
    case Charset::Utf8: return CP_UTF8;
    case Charset::Latin1: return 28591;
    case Charset::Windows1252: return 1252;
    case Charset::Ascii:  // text added to an ASCII file is written in 1251
    case Charset::Marc8:  // read through code tables, never through a code page
    case Charset::Iso5426: return 1251;
    }
    return 1251;
}

}  // namespace

namespace win32 {

std::wstring ToWide(std::string_view bytes, UINT codePage)
{
    if (bytes.empty()) return {};
    const int size = static_cast<int>(bytes.size());
    const int length = ::MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(codePage, 0, bytes.data(), size, wide.data(), length);
    return wide;
}

std::string WideToUtf8(const std::wstring& wide)
{
    if (wide.empty()) return {};
    const int size = static_cast<int>(wide.size());
    const int length = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, out.data(), length, nullptr, nullptr);
    return out;
}

}  // namespace win32

struct TextCodec::Handles {};

TextCodec::TextCodec(Charset charset) : m_charset(charset) {}
TextCodec::~TextCodec() = default;
TextCodec::TextCodec(TextCodec&& other) noexcept : m_charset(other.m_charset) {}
TextCodec& TextCodec::operator=(TextCodec&& other) noexcept
{
    m_charset = other.m_charset;
    return *this;
}

std::string TextCodec::DecodeCodePage(std::string_view bytes)
{
    // Single-byte code pages map every byte; an undefined one comes back as U+FFFD or a
    // private-use character, both valid UTF-8.
    return win32::WideToUtf8(win32::ToWide(bytes, CodePage(m_charset)));
}

std::optional<std::string> TextCodec::EncodeCodePage(std::string_view utf8)
{
    const std::wstring wide = win32::ToWide(utf8, CP_UTF8);
    if (wide.empty()) return std::string();
    const UINT codePage = CodePage(m_charset);
    const int size = static_cast<int>(wide.size());
    BOOL usedDefault = FALSE;
    const int length = ::WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide.data(), size,
                                             nullptr, 0, nullptr, &usedDefault);
    if (length <= 0 || usedDefault) return std::nullopt;
    std::string out(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide.data(), size, out.data(), length,
                          nullptr, &usedDefault);
    if (usedDefault) return std::nullopt;
    return out;
}

}  // namespace luma
