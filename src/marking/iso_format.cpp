#include "iso_format.h"

#include <limits>

namespace luma::iso {

std::optional<std::uint64_t> ParseDigits(std::string_view text)
{
    if (text.empty() || text.size() > 18) {  // 18 digits always fit in 64 bits
        return std::nullopt;
    }
    std::uint64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
    }
    return value;
}

std::optional<std::uint64_t> DigitsAt(std::string_view bytes, std::size_t pos, std::size_t width)
{
    if (pos > bytes.size() || bytes.size() - pos < width) {
        return std::nullopt;
    }
    return ParseDigits(bytes.substr(pos, width));
}

namespace {

std::optional<std::size_t> DigitAt(std::string_view leader, std::size_t pos)
{
    if (pos >= leader.size() || leader[pos] < '0' || leader[pos] > '9') {
        return std::nullopt;
    }
    return static_cast<std::size_t>(leader[pos] - '0');
}

}  // namespace

EntryMap EntryMapOf(std::string_view leader)
{
    EntryMap map;
    const auto length = DigitAt(leader, 20);
    const auto start = DigitAt(leader, 21);
    const auto implementation = DigitAt(leader, 22);
    if (length && start && implementation && *length > 0 && *start > 0) {
        map.lengthDigits = *length;
        map.startDigits = *start;
        map.implementationDigits = *implementation;
    }
    return map;
}

std::size_t IndicatorCountOf(std::string_view leader)
{
    return DigitAt(leader, 10).value_or(2);
}

bool IsControlTag(std::string_view tag)
{
    return tag.size() == 3 && tag[0] == '0' && tag[1] == '0';
}

}  // namespace luma::iso
