#pragma once
// Record lists as typed on the command line: 1-based numbers and ranges, "1,5,10-12".

#include <optional>
#include <string>
#include <vector>

namespace luma::cli {

// The 1-based numbers in list order, ranges expanded; nullopt when the list is malformed
// (empty items, a range that runs backwards, anything but digits, commas and hyphens).
std::optional<std::vector<int>> ParseRecordList(const std::string& list);

// The same items as a program writes them, one a line or separated by commas, spaces or tabs:
// what `luma-cli find` prints. An empty text gives an empty list; nullopt when an item is malformed.
std::optional<std::vector<int>> ParseRecordText(std::string text);

}  // namespace luma::cli
