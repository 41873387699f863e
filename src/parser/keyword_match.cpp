// Sub-string tests on keyword fields.
#include "parser/keyword_match.h"

#include <algorithm>

namespace scenario {
namespace {

// Only A to Z fold: the sources are single-byte texts, and the keywords are
// plain ASCII words.
char minuscola(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

bool contiene(std::string_view field, std::string_view part) { return field.find(part) != std::string_view::npos; }

bool contiene_ci(std::string_view field, std::string_view part) {
  auto same = [](char a, char b) { return minuscola(a) == minuscola(b); };
  return std::search(field.begin(), field.end(), part.begin(), part.end(), same) != field.end();
}

}  // namespace scenario
