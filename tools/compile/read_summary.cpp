// The records read by kind and the lines no field touched, from the compiler's account.
#include "compile/read_summary.h"

#include <algorithm>
#include <map>
#include <vector>

#include "parser/record_kinds.h"

namespace scenario::tool {
namespace {

bool blank(char c) { return c == ' ' || c == '\t'; }

// The start of every line of a text (a line ends at CR LF, LF or a lone CR).
std::vector<std::size_t> line_starts(std::string_view text) {
  std::vector<std::size_t> starts{0};
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    if (text[i] == '\r' || text[i] == '\n') starts.push_back(i + 1);
  }
  return starts;
}

std::size_t line_index(const std::vector<std::size_t>& starts, std::size_t offset) {
  return static_cast<std::size_t>(std::upper_bound(starts.begin(), starts.end(), offset) - starts.begin()) - 1;
}

// A record's name for a count: "chainage change (uno)" counts as a "chainage change".
std::string noun(RecordKind kind) {
  std::string n(record_layout(kind).name);
  if (const std::size_t p = n.find(" ("); p != std::string::npos) n.erase(p);
  return n;
}

std::string counted(std::size_t n, const std::string& word) {
  if (n == 1) return "1 " + word;
  return std::to_string(n) + " " + word + (word.ends_with('s') ? "" : "s");
}

}  // namespace

std::size_t lines_not_read(const Account& a, SourceId source, std::string_view text) {
  if (text.empty()) return 0;
  const std::vector<std::size_t> starts = line_starts(text);
  std::vector<bool> touched(starts.size(), false);
  const auto mark = [&](std::size_t from, std::size_t to) {
    if (from >= text.size()) return;
    const std::size_t last_byte = to > from ? std::min(to, text.size()) - 1 : from;
    const std::size_t first = line_index(starts, from);
    const std::size_t last = line_index(starts, last_byte);
    for (std::size_t l = first; l <= last; ++l) touched[l] = true;
  };
  for (const KeywordEntry& k : a.keywords) {
    if (k.source == source) mark(k.start, k.end);
  }
  for (const AccountRecord& r : a.records) {
    if (r.source == source) mark(r.start, r.end);
  }
  std::size_t n = 0;
  for (std::size_t l = 0; l < starts.size(); ++l) {
    if (touched[l]) continue;
    const std::size_t end = l + 1 < starts.size() ? starts[l + 1] : text.size();
    for (std::size_t i = starts[l]; i < end; ++i) {
      if (!blank(text[i]) && text[i] != '\r' && text[i] != '\n') {
        ++n;
        break;
      }
    }
  }
  return n;
}

std::string read_summary(const CompileState& state, const SourceTexts& texts) {
  if (!state.Accounting) return {};
  const Account& a = *state.Accounting;
  std::vector<std::pair<std::string, std::size_t>> kinds;  // in the order first read
  for (const AccountRecord& r : a.records) {
    const std::string n = noun(r.kind);
    auto it = std::find_if(kinds.begin(), kinds.end(), [&](const auto& k) { return k.first == n; });
    if (it == kinds.end()) {
      kinds.emplace_back(n, 1);
    } else {
      ++it->second;
    }
  }
  std::string out = "read " + counted(a.records.size(), "record");
  for (std::size_t i = 0; i < kinds.size(); ++i) out += (i == 0 ? ": " : ", ") + counted(kinds[i].second, kinds[i].first);
  std::size_t unread = 0;
  for (SourceId source : {SourceId::Line, SourceId::Train}) unread += lines_not_read(a, source, texts.text(source));
  return out + (unread == 0 ? "; every line is accounted for" : "; " + counted(unread, "line") + " not read");
}

}  // namespace scenario::tool
