#include "records/field_text.h"

#include <algorithm>

#include "records/iso_format.h"

namespace luma {
namespace {

constexpr std::string_view kDollarEscape = "{dollar}";
constexpr char kDelimiterSign = '$';
constexpr char kBlankIndicatorSign = '#';

bool IsValidTag(std::string_view tag)
{
    if (tag.size() != 3) {
        return false;
    }
    for (const char c : tag) {
        if (c < 0x21 || c > 0x7E) {
            return false;
        }
    }
    return true;
}

void AppendEscapedDollars(std::string& out, std::string_view text)
{
    for (const char c : text) {
        if (c == kDelimiterSign) {
            out += kDollarEscape;
        } else {
            out += c;
        }
    }
}

// The notation applied to raw bytes. All signs are ASCII, which no byte of a multi-byte UTF-8
// character and no byte of the single-byte sets can be mistaken for.
std::string EscapeData(std::string_view data, std::size_t indicatorCount)
{
    std::string out;
    out.reserve(data.size() + 8);
    for (std::size_t i = 0; i < data.size(); ++i) {
        const char c = data[i];
        if (i < indicatorCount && c == ' ') {
            out += kBlankIndicatorSign;
        } else if (c == iso::kSubfieldDelimiter) {
            out += kDelimiterSign;
        } else if (c == kDelimiterSign) {
            out += kDollarEscape;
        } else {
            out += c;
        }
    }
    return out;
}

// The notation applied to a field's text in a set of code tables, where a byte such as '$' may
// be part of another character and a set chosen by an escape sequence ends with its subfield.
// Each indicator and each subfield is decoded on its own; once decoded, a '$' can only be a
// dollar sign.
std::string DecodeAndEscape(std::string_view data, std::size_t indicatorCount, TextCodec& codec)
{
    std::string out;
    out.reserve(data.size() + 8);
    const std::size_t indicators = std::min(indicatorCount, data.find(iso::kSubfieldDelimiter));
    for (std::size_t i = 0; i < indicators && i < data.size(); ++i) {
        if (data[i] == ' ') {
            out += kBlankIndicatorSign;
        } else {
            AppendEscapedDollars(out, codec.Decode(data.substr(i, 1)));
        }
    }
    std::size_t start = std::min(indicators, data.size());
    while (true) {
        const std::size_t end = std::min(data.find(iso::kSubfieldDelimiter, start), data.size());
        AppendEscapedDollars(out, codec.Decode(data.substr(start, end - start)));
        if (end == data.size()) {
            return out;
        }
        out += kDelimiterSign;
        start = end + 1;
        if (start < data.size()) {
            AppendEscapedDollars(out, codec.Decode(data.substr(start, 1)));  // the subfield code
            ++start;
        }
    }
}

std::string UnescapeText(std::string_view text, std::size_t indicatorCount)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (i < indicatorCount && text[i] == kBlankIndicatorSign) {
            out += ' ';
        } else if (text.substr(i, kDollarEscape.size()) == kDollarEscape) {
            out += kDelimiterSign;
            i += kDollarEscape.size() - 1;
        } else if (text[i] == kDelimiterSign) {
            out += iso::kSubfieldDelimiter;
        } else {
            out += text[i];
        }
    }
    return out;
}

}  // namespace

std::string FieldToText(const Field& field, std::size_t indicatorCount, TextCodec& codec)
{
    return FieldToText(field.tag, field.data, indicatorCount, codec);
}

std::string FieldToText(std::string_view tag, std::string_view data, std::size_t indicatorCount, TextCodec& codec)
{
    const std::size_t indicators = iso::IsControlTag(tag) ? 0 : indicatorCount;
    if (IsReadByCodeTables(codec.charset())) {
        return DecodeAndEscape(data, indicators, codec);
    }
    return codec.Decode(EscapeData(data, indicators));
}

FieldDataResult FieldFromText(std::string_view tag, std::string_view text,
                              std::size_t indicatorCount, TextCodec& codec)
{
    FieldDataResult result;
    if (!IsValidTag(tag)) {
        result.error = "the tag '" + std::string(tag) + "' must be three printable ASCII characters, such as 901";
        return result;
    }
    const std::size_t indicators = iso::IsControlTag(tag) ? 0 : indicatorCount;
    const std::string unescaped = UnescapeText(text, indicators);
    if (unescaped.find_first_of(std::string{iso::kFieldTerminator, iso::kRecordTerminator}) !=
        std::string::npos) {
        result.error = "the text holds a field or record terminator";
        return result;
    }
    auto encoded = codec.Encode(unescaped);
    if (!encoded) {
        result.error = "the text has characters that the file's character set (" +
                       std::string(CharsetName(codec.charset())) + ") cannot hold";
        return result;
    }
    result.data = std::move(*encoded);
    return result;
}

}  // namespace luma
