#pragma once
// Unicode normalisation of UTF-8 text: utf8proc on POSIX, the Win32 normalisation API on
// Windows. Invalid UTF-8 bytes become U+FFFD first (see SanitizeUtf8), so every result is valid.

#include <string>
#include <string_view>

namespace luma {

// The text in Normalization Form C: precomposed letters where Unicode has them.
std::string ComposedNfc(std::string_view utf8);

// Appends a letter and the combining marks that follow it, in Normalization Form C, as UTF-8.
// For readers that put marks after their letter one letter at a time: cheaper than composing
// whole texts, and the same, since no letter composes with the one before it.
void AppendComposed(std::u32string_view letterAndMarks, std::string& utf8);

// The text in Normalization Form D: each letter followed by its combining marks, which the
// MARC-8 and ISO 5426 writers need to put the marks before it.
std::string CanonicalDecomposition(std::string_view utf8);

// The text without its nonspacing marks after canonical decomposition, then composed again:
// "Communauté" gives "Communaute", "ё" gives "е". For finding text regardless of diacritics.
std::string WithoutDiacritics(std::string_view utf8);

}  // namespace luma
