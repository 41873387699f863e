// A lenient field splitter over one record of a source text.
#include "compile/record_scan.h"

#include <charconv>

namespace scenario::tool {
namespace {

bool blank(char c) { return c == ' ' || c == '\t'; }
bool line_end(char c) { return c == '\r' || c == '\n'; }

void skip_blanks(std::string_view t, std::size_t& pos) {
  while (pos < t.size() && blank(t[pos])) ++pos;
}

// One comma, or one line end (CR LF, CR or LF).
void consume_separator(std::string_view t, std::size_t& pos) {
  if (pos >= t.size()) return;
  if (t[pos] == ',') {
    ++pos;
  } else if (t[pos] == '\r') {
    ++pos;
    if (pos < t.size() && t[pos] == '\n') ++pos;
  } else if (t[pos] == '\n') {
    ++pos;
  }
}

RawField take(std::string_view t, std::size_t& pos, bool numeric) {
  skip_blanks(t, pos);
  RawField f{pos, {}};
  while (pos < t.size() && t[pos] != ',' && !line_end(t[pos]) && !(numeric && blank(t[pos]))) ++pos;
  f.text.assign(t.substr(f.offset, pos - f.offset));
  if (numeric) skip_blanks(t, pos);
  consume_separator(t, pos);
  return f;
}

}  // namespace

std::vector<RawField> record_fields(std::string_view text, std::size_t offset, std::size_t numbers) {
  std::vector<RawField> out;
  if (offset >= text.size()) return out;
  std::size_t pos = offset;
  out.push_back(take(text, pos, false));
  for (std::size_t i = 0; i < numbers && pos < text.size(); ++i) out.push_back(take(text, pos, true));
  return out;
}

std::optional<std::int64_t> number_of(const RawField& field) {
  std::string_view s = field.text;
  if (s.empty()) return 0;
  if (s.front() == '+') s.remove_prefix(1);
  std::int64_t v = 0;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
  return v;
}

std::optional<std::int64_t> number_at(const std::vector<RawField>& fields, std::size_t index) {
  if (index >= fields.size()) return std::nullopt;
  return number_of(fields[index]);
}

}  // namespace scenario::tool
