// Rendering of diagnostics: compiler-style text with source excerpt and caret, and JSON lines.
#include "common/diagnostics.h"

#include <algorithm>

#include "common/json.h"
#include "parser/field_reader.h"

namespace scenario::tool {
namespace {

bool line_end(char c) { return c == '\r' || c == '\n'; }

struct Located {
  std::size_t line = 0;
  std::size_t column = 0;
};

Located locate(std::string_view text, std::size_t offset) {
  TextPlace p = place_of(text, clamp_to_content(text, offset));
  return {p.line, p.column};
}

int source_rank(SourceId id) { return id == SourceId::Line ? 1 : id == SourceId::Train ? 2 : 0; }

}  // namespace

bool SourceTexts::has(SourceId id) const {
  return (id == SourceId::Line && line.has_value()) || (id == SourceId::Train && train.has_value());
}

std::string_view SourceTexts::text(SourceId id) const {
  if (id == SourceId::Line && line) return *line;
  if (id == SourceId::Train && train) return *train;
  return {};
}

std::string SourceTexts::file(SourceId id) const {
  if (id == SourceId::Line) return line_file;
  if (id == SourceId::Train) return train_file;
  return "scenario_tool";
}

std::string severity_name(Severity s) {
  switch (s) {
    case Severity::Error: return "error";
    case Severity::Warning: return "warning";
    case Severity::Note: return "note";
  }
  return "error";
}

std::size_t clamp_to_content(std::string_view text, std::size_t offset) {
  if (offset < text.size()) return offset;
  std::size_t pos = text.size();
  while (pos > 0 && line_end(text[pos - 1])) --pos;
  return pos;
}

Excerpt excerpt_at(std::string_view text, std::size_t offset) {
  offset = clamp_to_content(text, offset);
  std::size_t start = offset;
  while (start > 0 && !line_end(text[start - 1])) --start;
  std::size_t end = offset;
  while (end < text.size() && !line_end(text[end])) ++end;
  Excerpt e;
  e.line.assign(text.substr(start, end - start));
  for (std::size_t i = start; i < offset; ++i) e.caret.push_back(text[i] == '\t' ? '\t' : ' ');
  e.caret.push_back('^');
  return e;
}

std::string render_text(const Diagnostic& d, const SourceTexts& texts) {
  const std::string_view text = texts.text(d.source);
  std::string out = texts.file(d.source);
  const bool placed = d.located && texts.has(d.source);
  if (placed) out += ":" + std::to_string(locate(text, d.record_offset).line);
  out += ": " + severity_name(d.severity) + ": " + d.message + "\n";
  if (!placed) return out;
  Excerpt e = excerpt_at(text, d.field_offset);
  return out + "  " + e.line + "\n  " + e.caret + "\n";
}

std::string render_json(const Diagnostic& d, const SourceTexts& texts) {
  const std::string_view text = texts.text(d.source);
  const bool placed = d.located && texts.has(d.source);
  Located record = placed ? locate(text, d.record_offset) : Located{};
  Located field = placed ? locate(text, d.field_offset) : Located{};
  JsonObject o;
  o.text("file", texts.file(d.source));
  o.number("line", static_cast<std::int64_t>(record.line));
  o.number("column", static_cast<std::int64_t>(field.line == record.line ? field.column : record.column));
  o.text("severity", severity_name(d.severity)).text("code", d.code).text("message", d.message);
  return o.str() + "\n";
}

void sort_diagnostics(std::vector<Diagnostic>& ds) {
  std::stable_sort(ds.begin(), ds.end(), [](const Diagnostic& a, const Diagnostic& b) {
    if (source_rank(a.source) != source_rank(b.source)) return source_rank(a.source) < source_rank(b.source);
    return a.record_offset < b.record_offset;
  });
}

}  // namespace scenario::tool
