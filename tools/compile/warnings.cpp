// Detection of the four kinds of warning from the compiler's field notes.
#include "compile/warnings.h"

#include <algorithm>
#include <charconv>

#include "compile/record_lookup.h"
#include "common/shown_text.h"
#include "common/text_match.h"

namespace scenario::tool {
namespace {

const std::vector<std::string>& keywords(SourceId source) {
  static const std::vector<std::string> line = {
      "lunghezza percorso", "progressiva chilometrica uno", "progressiva chilometrica due",
      "progressiva chilometrica tre", "sfondo uno", "sfondo due", "sfondo tre", "ripetizione segnali 4 codici",
      "pendenza", "curvas4", "curvad4", "curvas5", "curvad5", "montagna", "indicatori_vmax", "cartello_indicatore"};
  static const std::vector<std::string> train = {
      "percentuale massa frenata", "numero vetture", "velocita", "aderenza", "orologio", "sabbia",
      "segnale", "rallentamento", "abbattimento", "stazione"};
  return source == SourceId::Line ? line : train;
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

std::string unknown_message(SourceId source, const std::string& text) {
  const std::string t(trim_blanks(text));
  if (is_number(t)) return "the value " + in_quotes(t) + " follows a complete record and is ignored; is it one value too many?";
  std::string message = in_quotes(t) + " matches no keyword and is ignored";
  const std::string lower = lower_ascii(t);
  for (const std::string& k : keywords(source)) {
    if (lower == k) return message + "; its words are case-sensitive: did you mean '" + k + "'?";
  }
  if (auto hint = near_miss(lower, keywords(source))) message += "; did you mean '" + *hint + "'?";
  return message;
}

void unknown_keywords(const CompileOutcome& r, std::vector<Message>& out) {
  int curve_values = 0;        // without the track plan a curve and its two numbers match nothing
  bool after_unknown = false;  // the values that follow an unknown keyword are its own
  for (const FieldNote& n : r.state.FieldNotes) {
    const bool number = is_number(n.text);
    if (n.use != FieldUse::Ignored || !number) {
      curve_values = 0;
      after_unknown = false;
    }
    if (n.use != FieldUse::Ignored) continue;
    if (r.state.CompileLine == 0 && n.source == SourceId::Line && contains_ci(n.text, "curva")) {
      curve_values = 2;
      continue;
    }
    if (number && (after_unknown || curve_values-- > 0)) continue;
    if (trim_blanks(n.text).empty() || n.text.find('-') != std::string::npos || is_header(n.text)) continue;
    out.push_back(warning_at(n.source, n.offset, "unknown-keyword", unknown_message(n.source, n.text)));
    after_unknown = !number;
  }
}

// The positions a record carries: its first value and, for ranges, the end.
std::vector<std::pair<std::size_t, std::int64_t>> positions_of(const FoundRecord& f) {
  std::vector<std::pair<std::size_t, std::int64_t>> out;
  auto first = number_at(f.fields, 1);
  if (!first) return out;
  out.emplace_back(1, *first);
  const std::string_view name = f.kind->name;
  if (name == "montagna range") {
    if (auto end = number_at(f.fields, 2)) out.emplace_back(2, *end);
  } else if (name == "curve") {
    if (auto length = number_at(f.fields, 2)) out.emplace_back(2, *first + *length);
  } else if (name == "slow order") {
    if (auto length = number_at(f.fields, 3)) out.emplace_back(3, *first + *length);
  }
  return out;
}

void past_route_end(const CompileOutcome& r, std::vector<Message>& out) {
  if (r.state.CellCount < 0) return;
  const std::int64_t route = r.state.ScenarioTable[kRouteRow].End;
  for (SourceId source : {SourceId::Line, SourceId::Train}) {
    for (const FoundRecord& f : noted_records(r, source, 3)) {
      if (f.kind == nullptr) continue;
      for (const auto& [index, p] : positions_of(f)) {
        const bool refused = index == 1 && (static_cast<double>(p) + f.kind->margin) / 50.0 > r.state.CellCount;
        if (p <= route || refused) continue;
        out.push_back(warning_at(source, f.fields[index].offset, "past-end",
                                 "the " + std::string(f.kind->name) + (index == 1 ? " at " : " reaching ") +
                                     std::to_string(p) + " m lies past the route's end at " +
                                     std::to_string(route) + " m; the compiler accepts it because the train "
                                     "cells run on 7000 m beyond the end"));
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
