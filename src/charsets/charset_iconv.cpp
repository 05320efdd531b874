// Code-page conversion with glibc's iconv.

#include <iconv.h>

#include <cerrno>
#include <cstdint>
#include <utility>

#include "charsets/charset.h"

namespace luma {
namespace {

// iconv_open's failure value, (iconv_t)-1.
bool IsOpen(iconv_t handle)
{
    return handle != reinterpret_cast<iconv_t>(static_cast<std::intptr_t>(-1));
}

const char* IconvName(Charset charset)
{
    switch (charset) {
    case Charset::Windows1251: return "CP1251";
    case Charset::Koi8r: return "KOI8-R";
    case Charset::Cp866: return "CP866";
    case Charset::Utf8: return "UTF-8";
    case Charset::Latin1: return "ISO-8859-1";
    case Charset::Windows1252: return "CP1252";
    case Charset::Ascii:  // text added to an ASCII file is written in 1251
    case Charset::Marc8:  // read through code tables, never through iconv
    case Charset::Iso5426: return "CP1251";
    }
    return "CP1251";
}

// Runs one conversion over `in`; on an invalid input sequence calls onInvalid(out) and skips
// one byte. Gives false when onInvalid says to stop.
template <typename OnInvalid>
bool Convert(iconv_t handle, std::string_view in, std::string& out, OnInvalid onInvalid)
{
    iconv(handle, nullptr, nullptr, nullptr, nullptr);
    char* inPtr = const_cast<char*>(in.data());  // iconv's signature is not const-correct
    std::size_t inLeft = in.size();
    char buffer[1024];
    while (inLeft > 0) {
        char* outPtr = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t rc = iconv(handle, &inPtr, &inLeft, &outPtr, &outLeft);
        out.append(buffer, sizeof buffer - outLeft);
        if (rc != static_cast<std::size_t>(-1) || errno == E2BIG) {
            continue;
        }
        if (!onInvalid(out)) {
            return false;
        }
        ++inPtr;
        --inLeft;
    }
    return true;
}

}  // namespace

struct TextCodec::Handles {
    iconv_t decode = nullptr;
    iconv_t encode = nullptr;
    ~Handles()
    {
        if (decode != nullptr && IsOpen(decode)) iconv_close(decode);
        if (encode != nullptr && IsOpen(encode)) iconv_close(encode);
    }
};

TextCodec::TextCodec(Charset charset) : m_charset(charset), m_handles(new Handles) {}

TextCodec::~TextCodec() { delete m_handles; }

TextCodec::TextCodec(TextCodec&& other) noexcept
    : m_charset(other.m_charset), m_handles(std::exchange(other.m_handles, nullptr))
{
}

TextCodec& TextCodec::operator=(TextCodec&& other) noexcept
{
    if (this != &other) {
        delete m_handles;
        m_charset = other.m_charset;
        m_handles = std::exchange(other.m_handles, nullptr);
    }
    return *this;
}

std::string TextCodec::DecodeCodePage(std::string_view bytes)
{
    if (m_handles == nullptr) {
        return SanitizeUtf8(bytes);
    }
    if (m_handles->decode == nullptr) {
        m_handles->decode = iconv_open("UTF-8", IconvName(m_charset));
    }
    if (!IsOpen(m_handles->decode)) {
        return SanitizeUtf8(bytes);
    }
    std::string out;
    out.reserve(bytes.size() * 2);
    Convert(m_handles->decode, bytes, out, [](std::string& o) {
        o += "\xEF\xBF\xBD";
        return true;
    });
    return out;
}

std::optional<std::string> TextCodec::EncodeCodePage(std::string_view utf8)
{
    if (m_handles == nullptr) {
        return std::nullopt;
    }
    if (m_handles->encode == nullptr) {
        m_handles->encode = iconv_open(IconvName(m_charset), "UTF-8");
    }
    if (!IsOpen(m_handles->encode)) {
        return std::nullopt;
    }
    std::string out;
    if (!Convert(m_handles->encode, utf8, out, [](std::string&) { return false; })) {
        return std::nullopt;
    }
    return out;
}

}  // namespace luma
