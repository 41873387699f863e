// Detection of the four kinds of warning from the compiler's field notes and the record table.
#include "compile/warnings.h"

#include <algorithm>

#include "common/shown_text.h"
#include "common/text_match.h"
#include "compile/keyword_spelling.h"
#include "parser/record_kinds.h"

namespace scenario::tool {
namespace {

// The keywords of a source as authors write them, for "did you mean" hints.
std::vector<std::string> keywords(SourceId source) {
  std::vector<std::string> out;
  for (const RecordLayout& layout : record_layouts(source)) {
    for (std::string_view k : keyword_spellings(layout.kind)) out.emplace_back(k);
  }
  return out;
}

Message warning_at(SourceId source, std::size_t field, std::string name, std::string message) {
  Message d;
  d.source = source;
  d.at = field;
  d.severity = Severity::Warning;
  d.name = std::move(name);
  d.text = std::move(message);
  d.warning_name_shown = true;
  return d;
}

bool is_fine(const std::string& text) { return lower_ascii(trim_blanks(text)) == "[fine]"; }

bool is_header(std::string_view text) {
  std::string_view t = trim_blanks(text);
  return !t.empty() && t.front() != '-' && t.find('[') != std::string_view::npos &&
         t.find(']') != std::string_view::npos;
}

bool is_number(std::string_view text) {
  std::string_view t = trim_blanks(text);
  if (!t.empty() && (t.front() == '-' || t.front() == '+')) t.remove_prefix(1);
  return !t.empty() && std::all_of(t.begin(), t.end(), [](char c) { return c >= '0' && c <= '9'; });
}

void after_fine(const CompileOutcome& r, std::vector<Message>& out) {
  for (SourceId source : {SourceId::Line, SourceId::Train}) {
    bool seen = false;
    for (const FieldNote& n : r.state.FieldNotes) {
      if (n.source != source) continue;
      if (seen && n.use == FieldUse::Record) {
        out.push_back(warning_at(source, n.offset, "after-end",
                                 in_quotes(n.text) + " comes after '[fine]', yet the compiler still reads it as a "
                                 "record; move it above '[fine]' or remove it"));
      }
      seen = seen || is_fine(n.text);
    }
  }
}

void unread_last(const CompileOutcome& r, std::vector<Message>& out) {
  for (const FieldNote& n : r.state.FieldNotes) {
    if (n.use != FieldUse::UnreadLast || is_fine(n.text) || trim_blanks(n.text).empty()) continue;
    out.push_back(warning_at(n.source, n.offset, "unread-last",
                             in_quotes(n.text) + " is the last field of the file, so the compiler never reads it; "
                             "a source ends with a '[fine]' line"));
  }
}

std::string unknown_message(const std::vector<std::string>& known, const std::string& text) {
  const std::string t(trim_blanks(text));
  if (is_number(t)) return "the value " + in_quotes(t) + " follows a complete record and is ignored; is it one value too many?";
  std::string message = in_quotes(t) + " matches no keyword and is ignored";
  const std::string lower = lower_ascii(t);
  for (const std::string& k : known) {
    if (lower == k) return message + "; its words are case-sensitive: did you mean '" + k + "'?";
  }
  if (auto hint = near_miss(lower, known)) message += "; did you mean '" + *hint + "'?";
  return message;
}

void unknown_keywords(const CompileOutcome& r, std::vector<Message>& out) {
  int curve_values = 0;        // without the track plan a curve and its two numbers match nothing
  bool after_unknown = false;  // the values that follow an unknown keyword are its own
  // Listed once per compile, not once per unknown field; by SourceId.
  const std::vector<std::string> words[] = {{}, keywords(SourceId::Line), keywords(SourceId::Train)};
  for (const FieldNote& n : r.state.FieldNotes) {
    const bool number = is_number(n.text);
    if (n.use != FieldUse::Ignored || !number) {
      curve_values = 0;
      after_unknown = false;
    }
    if (n.use != FieldUse::Ignored) continue;
    if (r.state.CompileLine == 0 && n.source == SourceId::Line &&
        starts_record(record_layout(RecordKind::Curve), n.text, true)) {
      curve_values = 2;
      continue;
    }
    if (number && (after_unknown || curve_values-- > 0)) continue;
    if (trim_blanks(n.text).empty() || n.text.find('-') != std::string::npos || is_header(n.text)) continue;
    const std::vector<std::string>& known = words[static_cast<std::size_t>(n.source)];
    out.push_back(warning_at(n.source, n.offset, "unknown-keyword", unknown_message(known, n.text)));
    after_unknown = !number;
  }
}

std::optional<std::int64_t> number_of(const NotedRecord& r, std::size_t field) {
  return field >= 1 && field <= r.fields.size() ? r.fields[field - 1].number : std::nullopt;
}

// The positions a record carries, by field: its first value and, for the
// kinds that span a stretch, where the stretch ends.
struct Reach {
  std::size_t field = 0;
  std::int64_t metres = 0;
};

std::vector<Reach> positions_of(const NotedRecord& r) {
  std::vector<Reach> out;
  const auto first = number_of(r, 1);
  if (!first) return out;
  out.push_back({1, *first});
  std::optional<std::size_t> end_field;
  std::int64_t base = 0;
  switch (r.kind) {
    case RecordKind::Montagna: end_field = 2; break;
    case RecordKind::Curve: end_field = 2, base = *first; break;
    case RecordKind::SlowOrder: end_field = 3, base = *first; break;
    default: break;
  }
  if (end_field) {
    if (auto v = number_of(r, *end_field)) out.push_back({*end_field, base + *v});
  }
  return out;
}

std::string reach_words(const NotedRecord& r, const Reach& p) {
  return "the " + std::string(record_layout(r.kind).name) + (p.field == 1 ? " at " : " reaching ") +
         std::to_string(p.metres) + " m";
}

void past_route_end(const CompileOutcome& r, std::vector<Message>& out) {
  if (r.state.CellCount < 0) return;
  const std::int64_t route = r.state.ScenarioTable[kRouteRow].End;
  if (route < 0) return;  // every record lies past such an end; the length's own error says why
  for (const FieldNote& n : r.state.FieldNotes) {
    for (const NotedRecord& rec : n.records) {
      const std::int32_t margin = margin_of(rec.kind);
      if (margin == 0) continue;  // a record without a position along the route
      for (const Reach& p : positions_of(rec)) {
        // A first value past the cells is the bound check's error, not a warning.
        const bool refused = p.field == 1 && oltre_le_celle(r.state, p.metres, margin);
        if (p.metres <= route || refused) continue;
        out.push_back(warning_at(n.source, rec.fields[p.field - 1].offset, "past-end",
                                 reach_words(rec, p) + " lies past the route's end at " + std::to_string(route) +
                                     " m; the compiler accepts it because the train cells run on " +
                                     std::to_string(kTailPastRoute) + " m beyond the end"));
        break;
      }
    }
  }
}

}  // namespace

std::vector<Message> field_warnings(const CompileOutcome& r) {
  std::vector<Message> out;
  after_fine(r, out);
  unread_last(r, out);
  unknown_keywords(r, out);
  past_route_end(r, out);
  return out;
}

}  // namespace scenario::tool
