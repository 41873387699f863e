// Detection of the four kinds of warning from the compiler's field notes and the record table.
#include "compile/warnings.h"

#include <algorithm>

#include "common/shown_text.h"
#include "common/text_match.h"
#include "compile/keyword_spelling.h"
#include "compile/message_sink.h"
#include "model/general_rows.h"
#include "parser/field_reader.h"
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

constexpr std::string_view kUnknownKeyword = "unknown-keyword";

bool is_fine(const std::string& text) { return lower_ascii(trim_blanks(text)) == "[fine]"; }

bool is_number(std::string_view text) {
  std::string_view t = trim_blanks(text);
  if (!t.empty() && (t.front() == '-' || t.front() == '+')) t.remove_prefix(1);
  return !t.empty() && std::all_of(t.begin(), t.end(), [](char c) { return c >= '0' && c <= '9'; });
}

const Account* account_of(const CompileOutcome& r) {
  return r.state.account ? &*r.state.account : nullptr;
}

std::string_view text_of(const CompileOutcome& r, SourceId source, std::uint32_t start, std::uint32_t end) {
  return span_text(r.texts.text(source), start, end);
}

std::string_view text_of(const CompileOutcome& r, const KeywordEntry& k) { return text_of(r, k.source, k.start, k.end); }

std::size_t line_of(const CompileOutcome& r, SourceId source, std::size_t offset) {
  return place_of(r.texts.text(source), offset).line;
}

void after_fine(const CompileOutcome& r, MessageSink& out) {
  const Account* a = account_of(r);
  if (!a) return;
  for (SourceId source : {SourceId::Line, SourceId::Train}) {
    bool seen = false;
    for (const KeywordEntry& k : a->keywords) {
      if (k.source != source) continue;
      const std::string_view text = text_of(r, k);
      if (seen && k.use == KeywordUse::Record) {
        out.push_back(warning_at(source, k.start, "after-end",
                                 in_quotes(std::string(text)) + " comes after '[fine]', yet the compiler still reads it as a "
                                 "record; move it above '[fine]' or remove it"));
      }
      seen = seen || is_fine(std::string(text));
    }
  }
}

void unread_last(const CompileOutcome& r, MessageSink& out) {
  const Account* a = account_of(r);
  if (!a) return;
  for (const KeywordEntry& k : a->keywords) {
    const std::string text(text_of(r, k));
    if (k.use != KeywordUse::UnreadLast || is_fine(text) || trim_blanks(text).empty()) continue;
    out.push_back(warning_at(k.source, k.start, "unread-last",
                             in_quotes(text) + " is the last field of the file, so the compiler never reads it; "
                             "a source ends with a '[fine]' line"));
  }
}

// A keyword of the line source's general section, written exactly.
bool is_general_keyword(std::string_view text) {
  for (const RecordLayout& layout : record_layouts(Section::LineGeneral)) {
    for (std::string_view k : keyword_spellings(layout.kind)) {
      if (text == k) return true;
    }
  }
  return false;
}

std::string unknown_message(const std::vector<std::string>& known, const std::string& text) {
  const std::string t(trim_blanks(text));
  if (is_number(t)) return "the value " + in_quotes(t) + " follows a complete record and is ignored; is it one value too many?";
  // Written exactly as it should be, but where it is not read: no hint
  // repeats what was written.
  if (is_general_keyword(t)) {
    return in_quotes(t) + " is a record of the general section and is read only there; after that section it is "
                          "ignored";
  }
  std::string message = in_quotes(t) + " matches no keyword and is ignored";
  const std::string lower = lower_ascii(t);
  for (const std::string& k : known) {
    if (lower == k) return message + "; its words are case-sensitive: did you mean '" + k + "'?";
  }
  if (auto hint = near_miss(lower, known)) message += "; did you mean '" + *hint + "'?";
  return message;
}

// A keyword of the other source: which source it belongs in.
std::optional<std::string> other_source(SourceId source, std::string_view text) {
  if (source == SourceId::Line) {
    if (starts_any_record(Section::Train, text, true)) return std::string("the train source");
  } else if (starts_any_record(Section::LineGeneral, text, true) || starts_any_record(Section::LineBody, text, true)) {
    return std::string("the line source");
  }
  return std::nullopt;
}

void unknown_keywords(const CompileOutcome& r, MessageSink& out) {
  const Account* a = account_of(r);
  if (!a) return;
  int curve_values = 0;        // without the track plan a curve and its two numbers match nothing
  bool after_unknown = false;  // the values that follow an unknown keyword are its own
  // Listed once per compile, not once per unknown field; by SourceId.
  const std::vector<std::string> words[] = {{}, keywords(SourceId::Line), keywords(SourceId::Train)};
  for (const KeywordEntry& k : a->keywords) {
    const std::string text(text_of(r, k));
    const bool number = is_number(text);
    if (k.use != KeywordUse::Unmatched || !number) {
      curve_values = 0;
      after_unknown = false;
    }
    if (k.use != KeywordUse::Unmatched) continue;
    if (r.state.CompileLine == 0 && k.source == SourceId::Line &&
        starts_record(record_layout(RecordKind::Curve), text, true)) {
      curve_values = 2;
      continue;
    }
    if (number && (after_unknown || curve_values-- > 0)) continue;
    after_unknown = !number;
    if (k.comment_read_as_keyword) continue;  // told as a comment read as a keyword
    if (auto belongs = other_source(k.source, text)) {
      out.push_back(warning_at(k.source, k.start, "other-source",
                               in_quotes(std::string(trim_blanks(text))) + " is a keyword of " + *belongs +
                                   " and is ignored here; it belongs in " + *belongs));
      continue;
    }
    if (out.held_back(kUnknownKeyword, k.source, k.start)) continue;  // junk: one message per line
    const std::vector<std::string>& known = words[static_cast<std::size_t>(k.source)];
    out.push_back(warning_at(k.source, k.start, std::string(kUnknownKeyword), unknown_message(known, text)));
  }
}

// A third comment field in a row is no comment any more: the passes pass over
// two (ten in the line source's general section) and read the next as a keyword.
void comments_read(const CompileOutcome& r, MessageSink& out) {
  const Account* a = account_of(r);
  if (!a) return;
  for (const KeywordEntry& k : a->keywords) {
    if (!k.comment_read_as_keyword) continue;
    const std::string text(trim_blanks(text_of(r, k)));
    std::string what = k.use == KeywordUse::Record ? "it starts a record" : "it matches no keyword and is ignored";
    out.push_back(warning_at(k.source, k.start, "comment-read",
                             in_quotes(text) + ": the comment lines before it are skipped, but this one is read as a "
                             "keyword field (" + what + "); too many comment lines in a row"));
  }
}

// A source that the pass read without finding "[generale]": nothing in it counts.
void no_general(const CompileOutcome& r, MessageSink& out) {
  const Account* a = account_of(r);
  if (!a) return;
  for (SourceId source : {SourceId::Train}) {
    bool any = false, header = false;
    for (const KeywordEntry& k : a->keywords) {
      if (k.source != source) continue;
      any = true;
      header = header || k.use != KeywordUse::Preamble;
    }
    if (any && !header) {
      out.push_back(warning_at(source, 0, "no-general",
                               "nothing in this file is read: it has no '[generale]' line, and everything before "
                               "that line is passed over"));
    }
  }
}

// A train source whose "[generale]" no record follows: the pass reads the
// whole file and nothing in it reaches the files.
void empty_general(const CompileOutcome& r, MessageSink& out) {
  const Account* a = account_of(r);
  if (!a) return;
  const SourceId source = SourceId::Train;
  const auto header = std::find_if(a->keywords.begin(), a->keywords.end(), [&](const KeywordEntry& k) {
    return k.source == source && k.use == KeywordUse::Header;
  });
  if (header == a->keywords.end()) return;
  const bool any_record =
      std::any_of(a->records.begin(), a->records.end(), [&](const AccountRecord& rec) { return rec.source == source; });
  if (any_record) return;
  out.push_back(warning_at(source, header->start, "empty-general",
                           "no record follows '[generale]': nothing in this file reaches the files, and the train "
                           "would run with no stations, no signals and a speed limit of 0 all along the route"));
}

// A curve keyword that names one side while its letters read as the other:
// any "s" in the keyword makes a left curve.
void keyword_sides(const CompileOutcome& r, MessageSink& out) {
  const Account* a = account_of(r);
  if (!a) return;
  for (const AccountRecord& rec : a->records) {
    if (rec.kind != RecordKind::Curve) continue;
    const std::string lower = lower_ascii(text_of(r, rec.source, a->keywords[rec.keyword].start,
                                                  a->keywords[rec.keyword].end));
    const bool left = lower.find('s') != std::string::npos;
    const bool says_right = lower.find("destra") != std::string::npos || lower.find("dx") != std::string::npos;
    if (!(left && says_right)) continue;
    out.push_back(warning_at(rec.source, rec.start, "keyword-side",
                             in_quotes(std::string(trim_blanks(lower))) +
                                 " names a right curve, but any 's' in a curve keyword makes it turn left, and this "
                                 "one holds an 's'; write 'curva d' and the class for a right curve"));
  }
}

std::string record_words(const AccountRecord& rec) {
  const std::string_view name = record_layout(rec.kind).name;
  return "this " + std::string(name.empty() ? "record" : name);
}

// Records whose values a later record replaced, and records that write
// nothing. Only for passes that ran to their end: a pass that stopped at an
// error leaves the values in force unwritten, and the error says why.
void replaced_records(const CompileOutcome& r, MessageSink& out) {
  const Account* a = account_of(r);
  if (!a || r.state.report.StatusCode != 0) return;
  for (const AccountRecord& rec : a->records) {
    if (rec.fate == RecordFate::Overwritten && rec.overwritten_by >= 0) {
      const AccountRecord& by = a->records[static_cast<std::size_t>(rec.overwritten_by)];
      std::string where = "line " + std::to_string(line_of(r, by.source, by.start));
      if (by.source != rec.source) where += " of " + std::string(r.texts.file(by.source));
      out.push_back(warning_at(rec.source, rec.start, "overwritten",
                               record_words(rec) + " is replaced by the " +
                                   std::string(record_layout(by.kind).name) + " on " + where +
                                   ", which wins; nothing of this one reaches the files"));
    } else if (rec.fate == RecordFate::Overwritten) {
      out.push_back(warning_at(rec.source, rec.start, "overwritten",
                               record_words(rec) + " is replaced by " + std::string(owner_name(rec.overwritten_by)) +
                                   "; nothing of this one reaches the files"));
    } else if (rec.fate == RecordFate::NoEffect) {
      const std::string why = rec.kind == RecordKind::Curve
                                  ? "it draws no point of the plan, as the plan already reaches past its end"
                                  : "a later record at the same place takes its place";
      out.push_back(warning_at(rec.source, rec.start, "no-effect",
                               record_words(rec) + " writes nothing into the files: " + why));
    }
  }
}

std::optional<std::int64_t> number_of(const Account& a, const AccountRecord& r, std::size_t field) {
  if (field < 1 || field > r.field_count) return std::nullopt;
  const FieldSpan& f = a.fields_of(r)[field - 1];
  return f.numeric ? std::optional<std::int64_t>(f.number) : std::nullopt;
}

// The positions a record carries, by field: its first value and, for the
// kinds that span a stretch, where the stretch ends.
struct Reach {
  std::size_t field = 0;
  std::int64_t metres = 0;
};

std::vector<Reach> positions_of(const Account& a, const AccountRecord& r) {
  std::vector<Reach> out;
  const auto first = number_of(a, r, 1);
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
    if (auto v = number_of(a, r, *end_field)) out.push_back({*end_field, base + *v});
  }
  return out;
}

std::string reach_words(const AccountRecord& r, const Reach& p) {
  return "the " + std::string(record_layout(r.kind).name) + (p.field == 1 ? " at " : " reaching ") +
         std::to_string(p.metres) + " m";
}

void past_route_end(const CompileOutcome& r, MessageSink& out) {
  if (r.state.scenario.CellCount < 0) return;
  const std::int64_t route = general_field(r.state.scenario.ScenarioTable, kRouteLength);
  if (route < 0) return;  // every record lies past such an end; the length's own error says why
  const Account* a = account_of(r);
  if (!a) return;
  {
    for (const AccountRecord& rec : a->records) {
      const std::int32_t margin = margin_of(rec.kind);
      if (margin == 0) continue;  // a record without a position along the route
      for (const Reach& p : positions_of(*a, rec)) {
        // A first value past the cells is the bound check's error, not a warning.
        const bool refused = p.field == 1 && oltre_le_celle(r.state.scenario, p.metres, margin);
        if (p.metres <= route || refused) continue;
        out.push_back(warning_at(rec.source, a->fields_of(rec)[p.field - 1].start, "past-end",
                                 reach_words(rec, p) + " lies past the route's end at " + std::to_string(route) +
                                     " m; the compiler accepts it because the train cells run on " +
                                     std::to_string(kTailPastRoute) + " m beyond the end"));
        break;
      }
    }
  }
}

}  // namespace

void field_warnings(const CompileOutcome& r, MessageSink& out) {
  after_fine(r, out);
  unread_last(r, out);
  unknown_keywords(r, out);
  comments_read(r, out);
  no_general(r, out);
  empty_general(r, out);
  keyword_sides(r, out);
  replaced_records(r, out);
  past_route_end(r, out);
}

}  // namespace scenario::tool
