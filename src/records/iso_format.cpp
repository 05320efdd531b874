#include "records/iso_format.h"

#include <limits>

namespace luma::iso {

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
