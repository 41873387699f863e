// Case folding, sub-string tests and the edit distance behind "did you mean".
#include "common/text_match.h"

#include <algorithm>
#include <array>

#include "parser/keyword_match.h"

namespace scenario::tool {

std::string lower_ascii(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

bool contains_ci(std::string_view text, std::string_view part) { return contiene_ci(text, part); }

std::string_view trim_blanks(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

std::string with_article(std::string_view noun) {
  const char first = noun.empty() ? ' ' : lower_ascii(noun.substr(0, 1))[0];
  const bool vowel = std::string_view("aeiou").find(first) != std::string_view::npos;
  return (vowel ? "an " : "a ") + std::string(noun);
}

std::string counted(std::size_t n, std::string_view noun) {
  return std::to_string(n) + " " + std::string(noun) + (n == 1 ? "" : "s");
}

std::size_t edit_distance_within(std::string_view a, std::string_view b, std::size_t limit) {
  // The distance is at least the difference of the lengths.
  if (std::max(a.size(), b.size()) - std::min(a.size(), b.size()) > limit) return limit + 1;
  // One row of the table, on the stack for keyword-sized words, so that a
  // hint for every unknown field of a long source costs no allocation.
  constexpr std::size_t kStackRow = 64;
  std::array<std::size_t, kStackRow> stack_row;
  std::vector<std::size_t> heap_row;
  std::size_t* row = stack_row.data();
  if (b.size() + 1 > kStackRow) {
    heap_row.resize(b.size() + 1);
    row = heap_row.data();
  }
  for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    std::size_t diagonal = row[0];
    row[0] = i;
    std::size_t row_least = row[0];
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t above = row[j];
      const std::size_t replace = diagonal + (a[i - 1] == b[j - 1] ? 0 : 1);
      row[j] = std::min(std::min(above, row[j - 1]) + 1, replace);
      row_least = std::min(row_least, row[j]);
      diagonal = above;
    }
    // No cell of a later row is below the least of this one.
    if (row_least > limit) return limit + 1;
  }
  return std::min(row[b.size()], limit + 1);
}

std::size_t edit_distance(std::string_view a, std::string_view b) {
  return edit_distance_within(a, b, std::max(a.size(), b.size()));
}

std::optional<std::string> near_miss(std::string_view word, const std::vector<std::string>& candidates) {
  const std::size_t allowed = word.size() >= 6 ? 2 : 1;
  std::optional<std::string> best;
  std::size_t best_distance = allowed + 1;
  for (const std::string& c : candidates) {
    // Only distances below the best so far matter: the row-by-row bound
    // stops a field far from a keyword (a whole line of a binary file)
    // after a row or two, or before the first when the lengths differ.
    const std::size_t d = edit_distance_within(word, c, best_distance - 1);
    if (d > 0 && d < best_distance) {
      best = c;
      best_distance = d;
    }
  }
  return best;
}

std::string_view span_text(std::string_view text, std::size_t start, std::size_t end) {
  if (start > text.size()) start = text.size();
  if (end > text.size()) end = text.size();
  if (end < start) end = start;
  return text.substr(start, end - start);
}

}  // namespace scenario::tool
