#pragma once
// Constants and small helpers of the ISO 2709 record layout.

#include <cstddef>
#include <cstdint>
#include <charconv>
#include <optional>
#include <string>
#include <string_view>

namespace luma::iso {

inline constexpr char kRecordTerminator = 0x1D;
inline constexpr char kFieldTerminator = 0x1E;
inline constexpr char kSubfieldDelimiter = 0x1F;
inline constexpr std::size_t kLeaderLength = 24;
inline constexpr std::size_t kMaxRecordLength = 99999;

// Bytes that end records and fields.
inline constexpr bool IsTerminator(char c)
{
    return c == kRecordTerminator || c == kFieldTerminator;
}

inline constexpr bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// What tags are made of: ASCII letters and digits.
inline constexpr bool IsLetterOrDigit(char c)
{
    return IsDigit(c) || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// A tag any directory can hold: three ASCII letters or digits.
bool IsValidTag(std::string_view tag);

// The unsigned decimal number written in `text`, or nullopt unless every byte is a digit.
// Inline: the directory walks call it for every entry of every record.
inline std::optional<std::uint64_t> ParseDigits(std::string_view text)
{
    if (text.empty() || text.size() > 18 || !IsDigit(text.front())) {  // 18 digits fit in 64 bits;
        return std::nullopt;                                            // from_chars takes a '-'
    }
    std::uint64_t value = 0;
    const char* const end = text.data() + text.size();
    if (std::from_chars(text.data(), end, value).ptr != end) {
        return std::nullopt;
    }
    return value;
}

// The number at [pos, pos + width) of `bytes`, or nullopt when out of range or not all digits.
inline std::optional<std::uint64_t> DigitsAt(std::string_view bytes, std::size_t pos,
                                             std::size_t width)
{
    if (pos > bytes.size() || bytes.size() - pos < width) {
        return std::nullopt;
    }
    return ParseDigits(bytes.substr(pos, width));
}

// Lengths of the parts of a directory entry, taken from leader positions 20-22.
struct EntryMap {
    std::size_t lengthDigits = 4;
    std::size_t startDigits = 5;
    std::size_t implementationDigits = 0;
    std::size_t EntrySize() const { return 3 + lengthDigits + startDigits + implementationDigits; }
};

// The entry map leader positions 20-22 give: three digits, the first two not zero; nothing
// when they are unusable.
std::optional<EntryMap> UsableEntryMap(std::string_view leader);
// The leader's entry map; the standard 4/5/0 where the leader's digits are unusable.
EntryMap EntryMapOf(std::string_view leader);

// The largest number `digits` decimal digits can write.
inline constexpr std::uint64_t LargestNumber(std::size_t digits)
{
    std::uint64_t power = 1;
    for (std::size_t i = 0; i < digits; ++i) {
        power *= 10;
    }
    return power - 1;
}

// Appends `value` in decimal, zero-padded on the left to at least `width` digits.
void AppendZeroPadded(std::string& out, std::uint64_t value, std::size_t width);

// Indicator count from leader position 10; 2 when the leader does not give a digit.
std::size_t IndicatorCountOf(std::string_view leader);

// Tags 001-009 (and 000) hold control fields: data without indicators or subfields.
bool IsControlTag(std::string_view tag);

}  // namespace luma::iso
