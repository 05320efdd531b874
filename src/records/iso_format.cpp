#include "records/iso_format.h"

#include <charconv>

namespace luma::iso {

bool IsValidTag(std::string_view tag)
{
    return tag.size() == 3 && IsLetterOrDigit(tag[0]) && IsLetterOrDigit(tag[1]) && IsLetterOrDigit(tag[2]);
}

std::optional<EntryMap> UsableEntryMap(std::string_view leader)
{
    const auto length = DigitsAt(leader, 20, 1);
    const auto start = DigitsAt(leader, 21, 1);
    const auto implementation = DigitsAt(leader, 22, 1);
    if (!length || !start || !implementation || *length == 0 || *start == 0) {
        return std::nullopt;
    }
    return EntryMap{*length, *start, *implementation};
}

EntryMap EntryMapOf(std::string_view leader)
{
    return UsableEntryMap(leader).value_or(EntryMap{});
}

void AppendZeroPadded(std::string& out, std::uint64_t value, std::size_t width)
{
    // Written into room for any 64-bit number, then appended at once: a mark writes a few
    // dozen of these.
    char digits[20];
    const auto written = std::to_chars(digits, digits + sizeof digits, value);
    const auto count = static_cast<std::size_t>(written.ptr - digits);
    if (count < width) {
        out.append(width - count, '0');
    }
    out.append(digits, count);
}

std::size_t IndicatorCountOf(std::string_view leader)
{
    return static_cast<std::size_t>(DigitsAt(leader, 10, 1).value_or(2));
}

bool IsControlTag(std::string_view tag)
{
    return tag.size() == 3 && tag[0] == '0' && tag[1] == '0';
}

}  // namespace luma::iso
