// Small text helpers: case folding, sub-string tests and near-miss hints.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace scenario::tool {

std::string lower_ascii(std::string_view s);
bool contains_ci(std::string_view text, std::string_view part);
std::string_view trim_blanks(std::string_view s);

// The bytes [start, end) of a text, clamped to the text: a field of a source
// as the compiler's account names it.
std::string_view span_text(std::string_view text, std::size_t start, std::size_t end);

// "a signal", "an indication sign": the noun with its indefinite article,
// "an" before a vowel letter.
std::string with_article(std::string_view noun);

// "0 signs", "1 sign", "2 signs": a count and its noun, plural by adding "s".
std::string counted(std::size_t n, std::string_view noun);

// Levenshtein distance (insert, delete, replace, each costing 1).
std::size_t edit_distance(std::string_view a, std::string_view b);

// The same distance when it is at most `limit`, and limit + 1 when it is
// more; stops as soon as the answer is known.
std::size_t edit_distance_within(std::string_view a, std::string_view b, std::size_t limit);

// The candidate nearest to `word` when it is a plausible typing slip: at most
// one edit for short words, two for words of six characters or more. Exact
// matches are not hints and give nothing.
std::optional<std::string> near_miss(std::string_view word, const std::vector<std::string>& candidates);

}  // namespace scenario::tool
