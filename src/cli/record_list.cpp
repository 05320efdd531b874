#include "record_list.h"

#include <charconv>
#include <sstream>

namespace luma::cli {
namespace {

constexpr int kLargestRange = 10'000'000;  // more records than any file holds

std::optional<int> ParseNumber(const std::string& text)
{
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end || value < 1) {
        return std::nullopt;
    }
    return value;
}

bool AppendItem(const std::string& item, std::vector<int>& numbers)
{
    const std::size_t hyphen = item.find('-');
    const auto first = ParseNumber(item.substr(0, hyphen));
    if (!first) {
        return false;
    }
    if (hyphen == std::string::npos) {
        numbers.push_back(*first);
        return true;
    }
    const auto last = ParseNumber(item.substr(hyphen + 1));
    if (!last || *last < *first || *last - *first > kLargestRange) {
        return false;
    }
    for (int number = *first; number <= *last; ++number) {
        numbers.push_back(number);
    }
    return true;
}

}  // namespace

std::optional<std::vector<int>> ParseRecordList(const std::string& list)
{
    std::vector<int> numbers;
    std::istringstream items(list);
    std::string item;
    while (std::getline(items, item, ',')) {
        if (!AppendItem(item, numbers)) {
            return std::nullopt;
        }
    }
    if (numbers.empty() || list.back() == ',') {
        return std::nullopt;
    }
    return numbers;
}

std::optional<std::vector<int>> ParseRecordText(std::string text)
{
    for (char& c : text) {
        if (c == ',' || c == '\n' || c == '\r' || c == '\t') {
            c = ' ';
        }
    }
    std::vector<int> numbers;
    std::istringstream items(text);
    std::string item;
    while (items >> item) {
        if (!AppendItem(item, numbers)) {
            return std::nullopt;
        }
    }
    return numbers;
}

}  // namespace luma::cli
