#include "settings/log_font.h"

#include <algorithm>
#include <string_view>

#include "charsets/charset.h"
#include "settings/byte_layout.h"

namespace luma {
namespace {

constexpr std::size_t kFaceNameMaxChars = LogFont::kFaceNameSize - 1;

// Windows-1251 bytes of the face name, at most 31; characters the code page lacks and
// invalid UTF-8 become '?'.
std::string FaceNameBytes(std::string_view utf8)
{
    TextCodec codec(Charset::Windows1251);
    std::string bytes;
    while (!utf8.empty() && bytes.size() < kFaceNameMaxChars) {
        const std::size_t length = std::max<std::size_t>(Utf8SequenceLength(utf8), 1);
        const std::optional<std::string> encoded = codec.Encode(utf8.substr(0, length));
        bytes += encoded ? *encoded : std::string("?");
        utf8.remove_prefix(length);
    }
    return bytes;
}

std::string FaceNameText(std::string_view bytes)
{
    bytes = bytes.substr(0, bytes.find('\0'));
    return TextCodec(Charset::Windows1251).Decode(bytes);
}

}  // namespace

SettingsBytes LogFontToBytes(const LogFont& font)
{
    ByteLayoutWriter out(LogFont::kSize);
    out.I32(font.height);
    out.I32(font.width);
    out.I32(font.escapement);
    out.I32(font.orientation);
    out.I32(font.weight);
    out.U8(font.italic);
    out.U8(font.underline);
    out.U8(font.strikeOut);
    out.U8(font.charSet);
    out.U8(font.outPrecision);
    out.U8(font.clipPrecision);
    out.U8(font.quality);
    out.U8(font.pitchAndFamily);
    const std::string face = FaceNameBytes(font.faceName);
    for (std::size_t i = 0; i < LogFont::kFaceNameSize; ++i) {
        out.U8(i < face.size() ? static_cast<std::uint8_t>(face[i]) : 0);
    }
    return out.Take();
}

std::optional<LogFont> LogFontFromBytes(const SettingsBytes& bytes)
{
    if (bytes.size() != LogFont::kSize) {
        return std::nullopt;
    }
    ByteLayoutReader in(bytes);
    LogFont font;
    font.height = in.I32();
    font.width = in.I32();
    font.escapement = in.I32();
    font.orientation = in.I32();
    font.weight = in.I32();
    font.italic = in.U8();
    font.underline = in.U8();
    font.strikeOut = in.U8();
    font.charSet = in.U8();
    font.outPrecision = in.U8();
    font.clipPrecision = in.U8();
    font.quality = in.U8();
    font.pitchAndFamily = in.U8();
    std::string face;
    for (std::size_t i = 0; i < LogFont::kFaceNameSize; ++i) {
        face += static_cast<char>(in.U8());
    }
    font.faceName = FaceNameText(face);
    return font;
}

}  // namespace luma
