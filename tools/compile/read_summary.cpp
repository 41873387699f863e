// The records read by kind and the lines no field touched, from the compiler's account.
#include "compile/read_summary.h"

#include <algorithm>
#include <map>
#include <vector>

#include "parser/record_kinds.h"

namespace scenario::tool {
namespace {

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

std::string read_summary(const CompileResult& state, const SourceTexts& texts) {
  if (!state.account) return {};
  const Account& a = *state.account;
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
  for (SourceId source : {SourceId::Line, SourceId::Train}) unread += righe_non_lette(a, source, texts.text(source));
  return out + (unread == 0 ? "; every line is accounted for" : "; " + counted(unread, "line") + " not read");
}

}  // namespace scenario::tool
