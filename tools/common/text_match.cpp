// Case folding, sub-string tests and the edit distance behind "did you mean".
#include "common/text_match.h"

#include <algorithm>

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

std::size_t edit_distance(std::string_view a, std::string_view b) {
  std::vector<std::size_t> row(b.size() + 1);
  for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    std::size_t diagonal = row[0];
    row[0] = i;
    for (std::size_t j = 1; j <= b.size(); ++j) {
      std::size_t above = row[j];
      std::size_t replace = diagonal + (a[i - 1] == b[j - 1] ? 0 : 1);
      row[j] = std::min({above + 1, row[j - 1] + 1, replace});
      diagonal = above;
    }
  }
  return row[b.size()];
}

std::optional<std::string> near_miss(std::string_view word, const std::vector<std::string>& candidates) {
  const std::size_t allowed = word.size() >= 6 ? 2 : 1;
  std::optional<std::string> best;
  std::size_t best_distance = allowed + 1;
  for (const std::string& c : candidates) {
    // The distance is at least the difference of the lengths; a field far
    // longer than any keyword (a whole line of a binary file) costs nothing.
    if (word.size() > c.size() + allowed || c.size() > word.size() + allowed) continue;
    std::size_t d = edit_distance(word, c);
    if (d > 0 && d < best_distance) {
      best = c;
      best_distance = d;
    }
  }
  return best;
}

}  // namespace scenario::tool
