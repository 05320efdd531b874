#include "records/record_checks.h"

#include <algorithm>

#include "records/iso_format.h"

namespace luma {
namespace {

using iso::DigitsAt;

bool IsAsciiLower(char c) { return c >= 'a' && c <= 'z'; }

// Indicators are digits, lower-case letters or blanks; '#' for a blank and the fill character
// '|' are common enough in real files to pass.
bool IsIndicator(char c)
{
    return iso::IsDigit(c) || IsAsciiLower(c) || c == ' ' || c == '#' || c == '|';
}

}  // namespace

std::vector<Finding> CheckLeader(std::string_view leader)
{
    std::vector<Finding> found;
    if (!DigitsAt(leader, 10, 1)) {
        found.push_back({10, "indicator count " + Quoted(leader.substr(10, 1)) +
                                 " is not a digit; 2 indicators are read"});
    }
    if (!DigitsAt(leader, 11, 1)) {
        found.push_back({11, "subfield code length " + Quoted(leader.substr(11, 1)) +
                                 " is not a digit; one-character codes are read"});
    }
    if (!iso::UsableEntryMap(leader)) {
        found.push_back({20, "entry map " + Quoted(leader.substr(20, 3)) +
                                 " is not usable; entries of a 4-digit length and a 5-digit "
                                 "start are read"});
    }
    return found;
}

std::vector<Finding> CheckTag(std::string_view tag)
{
    if (std::all_of(tag.begin(), tag.end(), iso::IsLetterOrDigit)) {
        return {};
    }
    return {{0, "tag " + Quoted(tag) + " is not three letters or digits"}};
}

std::vector<Finding> CheckFieldData(std::string_view tag, std::string_view data,
                                    std::size_t indicatorCount)
{
    std::vector<Finding> found;
    const std::string field = "field " + Printable(tag) + ": ";
    if (const std::size_t at = data.find(iso::kRecordTerminator); at != std::string_view::npos) {
        found.push_back({at, field + "a record terminator inside the data"});
    }
    if (const std::size_t at = data.find(iso::kFieldTerminator); at != std::string_view::npos) {
        found.push_back({at, field + "a field terminator inside the data"});
    }
    if (iso::IsControlTag(tag)) {
        return found;
    }
    const std::size_t count = std::min(indicatorCount, data.size());
    const std::string_view indicators = data.substr(0, count);
    if (!std::all_of(indicators.begin(), indicators.end(), IsIndicator)) {
        found.push_back(
            {0, field + "indicators " + Quoted(indicators) + " are not digits, letters or blanks"});
    }
    if (data.size() > count && data[count] != iso::kSubfieldDelimiter) {
        const std::size_t first = std::min(data.find(iso::kSubfieldDelimiter, count), data.size());
        found.push_back({count, field + std::to_string(first - count) +
                                    " bytes between the indicators and the first subfield"});
    }
    return found;
}

std::string Printable(std::string_view bytes)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string text;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte >= 0x7F) {
            text += {'\\', 'x', kHex[byte >> 4], kHex[byte & 0x0F]};
        } else {
            text += c;
        }
    }
    return text;
}

std::string Quoted(std::string_view bytes)
{
    return "'" + Printable(bytes) + "'";
}

}  // namespace luma
