#pragma once
// Case folding for finding text: upper-case letters become their lower-case partners, so that a
// search without "match case" compares folded text. Known letters: ASCII, Latin-1, Cyrillic
// (U+0400-U+045F, Ё/ё included, and the paired letters of U+0460-U+04FF such as Ѣ/ѣ). The core
// keeps its own table rather than ICU, which the Windows build does not have: the same answers
// on both systems.

#include <cstddef>
#include <string>
#include <string_view>

namespace luma {

// The text with every known upper-case letter folded. Each folded character keeps its length in
// bytes, so the result is as long as the text; bytes that are not UTF-8 are kept as they are.
std::string FoldCase(std::string_view utf8);

// Folds text[from, end) in place.
void FoldCaseInPlace(std::string& text, std::size_t from = 0);

}  // namespace luma
