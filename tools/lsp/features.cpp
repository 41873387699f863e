// Hover, completion, outline, go to definition, references, did-you-mean and move fixes, and column formatting over a compiled pair.
#include "lsp/features.h"

#include <algorithm>

#include "common/text_match.h"
#include "compile/keyword_spelling.h"
#include "content/writers.h"
#include "model/binary_writers.h"
#include "model/status.h"
#include "parser/record_kinds.h"

namespace scenario::tool::lsp {
namespace {

constexpr int kSymbolModule = 2;
constexpr int kSymbolField = 8;
constexpr int kCompletionModule = 9;
constexpr int kCompletionSnippet = 15;
constexpr int kSnippetFormat = 2;
constexpr std::int32_t kMetresPerCell = 50;
constexpr std::string_view kHintStart = "did you mean '";

std::string_view text_of(const Pair& pair, SourceId source) {
  const PairFile& f = pair.file(source);
  return f.text ? std::string_view(f.text->latin1()) : std::string_view{};
}

std::string shown(const Pair& pair, SourceId source, std::uint32_t start, std::uint32_t end) {
  return latin1_to_utf8(trim_blanks(testo_di(text_of(pair, source), start, end)));
}

// The record whose fields cover `offset`; the last one when records overlap.
const AccountRecord* record_at(const Account& a, SourceId source, std::size_t offset) {
  const AccountRecord* found = nullptr;
  for (const AccountRecord& r : a.records) {
    if (r.source == source && r.start <= offset && offset < std::max(r.end, a.keywords[r.keyword].end)) found = &r;
  }
  return found;
}

// -1 for the keyword, else the index of the field after it.
int field_at(const Account& a, const AccountRecord& r, std::size_t offset) {
  const auto fields = a.fields_of(r);
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (fields[i].start <= offset && offset < fields[i].end) return static_cast<int>(i);
  }
  return -1;
}

std::string line_of(const Pair& pair, const AccountRecord& r) {
  const PairFile& f = pair.file(r.source);
  if (!f.text) return "?";
  return f.path.filename().string() + ":" +
         std::to_string(f.text->position_of(r.start, PositionEncoding::Utf32).line + 1);
}

std::string owner_text(const Pair& pair, const Account& a, Owner o) {
  if (o >= 0 && static_cast<std::size_t>(o) < a.records.size()) {
    const AccountRecord& r = a.records[static_cast<std::size_t>(o)];
    return "the " + std::string(record_layout(r.kind).name) + " record at " + line_of(pair, r);
  }
  return std::string(owner_name(o));
}

std::string fate_text(const Pair& pair, const Account& a, const AccountRecord& r) {
  switch (r.fate) {
    case RecordFate::Used: return "in force";
    case RecordFate::NoEffect: return "read, but it changes nothing in the output";
    case RecordFate::Overwritten: return "everything it wrote was written again by " + owner_text(pair, a, r.overwritten_by);
    case RecordFate::Refused: return "refused: a rule broke here";
    case RecordFate::Unfinished: return "unfinished: the text ended inside it";
  }
  return "";
}

const char* layer_name(std::uint8_t part) {
  constexpr const char* kNames[] = {"object", "approach marks", "range type", "speed limit", "gradient", "adhesion"};
  return part < kCellLayers ? kNames[part] : "?";
}

const char* row_field_name(std::uint8_t part) {
  constexpr const char* kNames[] = {"kind",  "start", "end",   "position", "flag",  "name",  "word 1", "word 2",
                                    "word 3", "word 4", "word 5", "byte 1", "byte 2", "byte 3", "byte 4", "time"};
  return part < kRowFields ? kNames[part] : "?";
}

std::string writes_text(const Pair& pair, const Account& a, const AccountRecord& r, Owner self) {
  std::string out;
  std::string last_rows;
  for (const WriteRun& w : a.writes_of(r)) {
    std::string run;
    if (w.target == Target::Cell) {
      run = w.first == w.last ? "cell " + std::to_string(w.first) + " (" + std::to_string(w.first * kMetresPerCell) + " m), "
                              : "cells " + std::to_string(w.first) + "–" + std::to_string(w.last) + " (" +
                                    std::to_string(w.first * kMetresPerCell) + "–" +
                                    std::to_string(w.last * kMetresPerCell) + " m), ";
      run += layer_name(w.part);
      const Owner now = a.cell_owner(w.first, static_cast<CellLayer>(w.part));
      if (now != self) run += "; cell " + std::to_string(w.first) + " is held by " + owner_text(pair, a, now);
    } else if (w.target == Target::Row) {
      // The fields of one row come as runs of their own: one line per row range, naming its fields.
      const std::string rows = "scenario rows " + std::to_string(w.first) + "–" + std::to_string(w.last) + ": ";
      if (rows == last_rows) {
        out.pop_back();
        out += std::string(", ") + row_field_name(w.part) + "\n";
        continue;
      }
      run = rows + row_field_name(w.part);
      last_rows = rows;
    } else {
      run = "plan points " + std::to_string(w.first) + "–" + std::to_string(w.last);
    }
    out += "- " + run + "\n";
  }
  return out.empty() ? "- nothing\n" : out;
}

const char* type_name(FieldType t) {
  switch (t) {
    case FieldType::Text: return "text";
    case FieldType::Int32: return "whole number";
    case FieldType::Int16: return "16-bit whole number";
    case FieldType::Byte: return "byte";
  }
  return "";
}

Json location_of(const Pair& pair, const Account& a, const AccountRecord& r, PositionEncoding encoding) {
  const PairFile& f = pair.file(r.source);
  return {{"uri", f.uri}, {"range", range_json(*f.text, r.start, a.keywords[r.keyword].end, encoding)}};
}

std::string snippet_escaped(std::string_view s) {
  std::string out;
  for (char c : s) {
    if (c == '$' || c == '}' || c == '\\') out.push_back('\\');
    out.push_back(c);
  }
  return out;
}

bool is_number(std::string_view t) {
  t = trim_blanks(t);
  if (!t.empty() && (t.front() == '-' || t.front() == '+')) t.remove_prefix(1);
  return !t.empty() && std::all_of(t.begin(), t.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::vector<std::string> split_fields(std::string_view line) {
  std::vector<std::string> out;
  std::size_t from = 0;
  for (std::size_t comma; (comma = line.find(',', from)) != std::string_view::npos; from = comma + 1) {
    out.emplace_back(line.substr(from, comma - from));
  }
  out.emplace_back(line.substr(from));
  return out;
}

// Aligns runs of lines that start with the same keyword and hold as many
// fields: each numeric field is right-aligned to the widest of its column,
// after one blank. Text fields, comments and line ends are kept as written.
std::string aligned(std::string_view text) {
  struct Line {
    std::string body;
    std::string end;
  };
  std::vector<Line> lines;
  for (std::size_t i = 0; i < text.size();) {
    std::size_t e = i;
    while (e < text.size() && text[e] != '\n' && text[e] != '\r') ++e;
    std::size_t n = e;
    if (n < text.size() && text[n] == '\r') ++n;
    if (n < text.size() && text[n] == '\n' && (n == e || text[e] == '\r')) ++n;
    lines.push_back({std::string(text.substr(i, e - i)), std::string(text.substr(e, n - e))});
    i = n;
  }
  std::string out;
  for (std::size_t i = 0; i < lines.size();) {
    const std::vector<std::string> first = split_fields(lines[i].body);
    std::size_t j = i + 1;
    const auto same_run = [&](const std::vector<std::string>& f) {
      return f.size() == first.size() && f.size() > 1 && lower_ascii(trim_blanks(f[0])) == lower_ascii(trim_blanks(first[0]));
    };
    while (j < lines.size() && same_run(split_fields(lines[j].body))) ++j;
    if (first.size() < 2 || trim_blanks(first[0]).empty() || trim_blanks(first[0]).front() == '-') j = i + 1;
    std::vector<std::vector<std::string>> run;
    for (std::size_t k = i; k < j; ++k) run.push_back(split_fields(lines[k].body));
    std::vector<std::size_t> width(first.size(), 0);
    for (const auto& f : run) {
      for (std::size_t c = 1; c < f.size(); ++c) {
        if (is_number(f[c])) width[c] = std::max(width[c], trim_blanks(f[c]).size());
      }
    }
    for (std::size_t k = 0; k < run.size(); ++k) {
      std::string line = run[k][0];
      for (std::size_t c = 1; c < run[k].size(); ++c) {
        line += ',';
        if (first.size() > 1 && is_number(run[k][c])) {
          const std::string_view v = trim_blanks(run[k][c]);
          line += std::string(1 + width[c] - v.size(), ' ') + std::string(v);
        } else {
          line += run[k][c];
        }
      }
      out += line + lines[i + k].end;
    }
    i = j;
  }
  return out;
}

}  // namespace

Json hover_at(const Pair& pair, SourceId source, std::size_t offset, PositionEncoding encoding) {
  const Account* a = pair.account();
  if (!a) return nullptr;
  const AccountRecord* r = record_at(*a, source, offset);
  if (!r) return nullptr;
  const RecordLayout& layout = record_layout(r->kind);
  const Owner self = static_cast<Owner>(r - a->records.data());
  const int field = field_at(*a, *r, offset);
  std::string md;
  std::pair<std::size_t, std::size_t> range{r->start, a->keywords[r->keyword].end};
  if (field < 0) {
    md = "**" + std::string(layout.name) + "** record\n\nFields:\n";
    for (std::size_t i = 0; i < layout.fields.size(); ++i) {
      md += std::to_string(i + 1) + ". " + std::string(layout.fields[i].meaning) + " (" +
            type_name(layout.fields[i].type) + ")\n";
    }
  } else {
    const FieldSpan& f = a->fields_of(*r)[static_cast<std::size_t>(field)];
    range = {f.start, f.end};
    const std::size_t i = static_cast<std::size_t>(field);
    const FieldLayout* fl = i < layout.fields.size() ? &layout.fields[i] : nullptr;
    md = "**" + std::string(fl ? fl->meaning : "a field") + "** (" + (fl ? type_name(fl->type) : "") + ") of a " +
         std::string(layout.name) + " record\n\nRead as: " +
         (f.numeric ? std::to_string(f.number) : "'" + shown(pair, source, f.start, f.end) + "'") + "\n";
  }
  md += "\nStatus: " + fate_text(pair, *a, *r) + "\n\nWrites:\n" + writes_text(pair, *a, *r, self);
  return {{"contents", {{"kind", "markdown"}, {"value", md}}},
          {"range", range_json(*pair.file(source).text, range.first, range.second, encoding)}};
}

Json completion_at(const Pair& pair, SourceId source, std::size_t offset) {
  Section section = source == SourceId::Train ? Section::Train : Section::LineGeneral;
  if (const Account* a = pair.account(); a && source == SourceId::Line) {
    for (const KeywordEntry& k : a->keywords) {
      if (k.source != source || k.use != KeywordUse::Header || k.start >= offset) continue;
      if (lower_ascii(trim_blanks(testo_di(text_of(pair, source), k.start, k.end))) != "[generale]") {
        section = Section::LineBody;
      }
    }
  }
  Json items = Json::array();
  for (const std::string& line : source == SourceId::Train ? righe_treno() : righe_linea()) {
    if (line.empty() || line.front() != '[') continue;
    items.push_back({{"label", line}, {"kind", kCompletionModule}, {"detail", "section"}});
  }
  for (const RecordLayout& layout : record_layouts(section)) {
    for (std::string_view keyword : keyword_spellings(layout.kind)) {
      std::string snippet = snippet_escaped(keyword);
      std::string doc;
      int n = 1;
      for (const FieldLayout& f : layout.fields) {
        snippet += ", ${" + std::to_string(n++) + ":" + snippet_escaped(f.meaning) + "}";
        doc += "- " + std::string(f.meaning) + " (" + type_name(f.type) + ")\n";
      }
      items.push_back({{"label", std::string(keyword)},
                       {"kind", kCompletionSnippet},
                       {"detail", std::string(layout.name)},
                       {"documentation", {{"kind", "markdown"}, {"value", doc}}},
                       {"insertTextFormat", kSnippetFormat},
                       {"insertText", snippet}});
    }
  }
  return items;
}

Json document_symbols(const Pair& pair, SourceId source, PositionEncoding encoding) {
  Json out = Json::array();
  const Account* a = pair.account();
  const PairFile& file = pair.file(source);
  if (!a || !file.text) return out;
  const EditorText& text = *file.text;
  Json* section = nullptr;
  // Records and headers in the order of the text: (start, is a header, index).
  struct Item {
    std::uint32_t start;
    bool header;
    std::size_t index;
  };
  std::vector<Item> order;
  for (std::size_t i = 0; i < a->keywords.size(); ++i) {
    const KeywordEntry& k = a->keywords[i];
    if (k.source == source && k.use == KeywordUse::Header) order.push_back({k.start, true, i});
  }
  for (std::size_t i = 0; i < a->records.size(); ++i) {
    if (a->records[i].source == source) order.push_back({a->records[i].start, false, i});
  }
  std::stable_sort(order.begin(), order.end(), [](const Item& x, const Item& y) { return x.start < y.start; });
  for (const Item& item : order) {
    if (item.header) {
      const KeywordEntry& k = a->keywords[item.index];
      out.push_back({{"name", shown(pair, source, k.start, k.end)},
                     {"kind", kSymbolModule},
                     {"range", range_json(text, k.start, k.end, encoding)},
                     {"selectionRange", range_json(text, k.start, k.end, encoding)},
                     {"children", Json::array()}});
      section = &out.back();
      continue;
    }
    const AccountRecord& r = a->records[item.index];
    const RecordLayout& layout = record_layout(r.kind);
    std::string name(layout.name);
    std::string detail;
    const auto fields = a->fields_of(r);
    for (std::size_t i = 0; i < fields.size() && i < layout.fields.size(); ++i) {
      if (layout.fields[i].type == FieldType::Text) name += " " + shown(pair, source, fields[i].start, fields[i].end);
    }
    const bool placed = !layout.fields.empty() && (layout.fields[0].meaning.find("position") != std::string_view::npos ||
                                                   layout.fields[0].meaning.find("start") != std::string_view::npos);
    if (placed && !fields.empty() && fields[0].numeric) detail = "at " + std::to_string(fields[0].number) + " m";
    const std::uint32_t keyword_end = a->keywords[r.keyword].end;
    Json symbol{{"name", name},
                {"detail", detail},
                {"kind", kSymbolField},
                {"range", range_json(text, r.start, std::max(r.end, keyword_end), encoding)},
                {"selectionRange", range_json(text, r.start, keyword_end, encoding)}};
    if (section) {
      (*section)["children"].push_back(std::move(symbol));
      (*section)["range"]["end"] = (*section)["children"].back()["range"]["end"];
    } else {
      out.push_back(std::move(symbol));
    }
  }
  return out;
}

Json definition_at(const Pair& pair, SourceId source, std::size_t offset, PositionEncoding encoding) {
  const Account* a = pair.account();
  if (!a) return nullptr;
  const AccountRecord* r = record_at(*a, source, offset);
  if (!r) return nullptr;
  const Owner self = static_cast<Owner>(r - a->records.data());
  const auto is_record = [&](Owner o) { return o >= 0 && static_cast<std::size_t>(o) < a->records.size() && o != self; };
  // A repeated record goes to the one that wins; a record whose cell is taken, to the one that holds it.
  Owner target = is_record(r->overwritten_by) ? r->overwritten_by : owner::kNone;
  for (const WriteRun& w : a->writes_of(*r)) {
    if (target != owner::kNone || w.target != Target::Cell) continue;
    const Owner now = a->cell_owner(w.first, static_cast<CellLayer>(w.part));
    if (is_record(now)) target = now;
  }
  if (target == owner::kNone) return nullptr;
  const AccountRecord& t = a->records[static_cast<std::size_t>(target)];
  if (!pair.file(t.source).text) return nullptr;
  return location_of(pair, *a, t, encoding);
}

namespace {

// The places in a record's text fields that name something: a station's
// whole name, or each parenthesised group of a sign's text. Blanks around a
// name are not part of it.
struct NamePlace {
  std::uint32_t start;
  std::uint32_t end;
};

std::vector<NamePlace> names_in(const Pair& pair, const Account& a, const AccountRecord& r) {
  std::vector<NamePlace> out;
  const std::string_view text = text_of(pair, r.source);
  const RecordLayout& layout = record_layout(r.kind);
  const auto fields = a.fields_of(r);
  const auto add = [&](std::uint32_t start, std::uint32_t end) {
    const std::string_view s = span_text(text, start, end);
    const std::string_view t = trim_blanks(s);
    if (t.empty()) return;
    const auto from = static_cast<std::uint32_t>(start + (t.data() - s.data()));
    out.push_back({from, static_cast<std::uint32_t>(from + t.size())});
  };
  for (std::size_t i = 0; i < fields.size() && i < layout.fields.size(); ++i) {
    if (layout.fields[i].type != FieldType::Text) continue;
    const FieldSpan& f = fields[i];
    if (r.kind != RecordKind::Sign) {
      add(f.start, f.end);
      continue;
    }
    // A sign's text is up to three groups, "(Galleria)(  Sorba  )".
    const std::string_view s = span_text(text, f.start, f.end);
    for (std::size_t open = s.find('('); open != std::string_view::npos; open = s.find('(', open + 1)) {
      const std::size_t close = s.find(')', open + 1);
      if (close == std::string_view::npos) break;
      add(static_cast<std::uint32_t>(f.start + open + 1), static_cast<std::uint32_t>(f.start + close));
      open = close;
    }
  }
  return out;
}

}  // namespace

Json references_at(const Pair& pair, SourceId source, std::size_t offset, bool include_declaration,
                   PositionEncoding encoding) {
  const Account* a = pair.account();
  if (!a) return nullptr;
  const AccountRecord* here = record_at(*a, source, offset);
  if (!here) return nullptr;
  // The name under the cursor: a station's name wherever the cursor stands on
  // its record, or the sign group the cursor is in.
  std::string name;
  for (const NamePlace& p : names_in(pair, *a, *here)) {
    if (here->kind == RecordKind::Station || (p.start <= offset && offset <= p.end)) {
      name = std::string(span_text(text_of(pair, source), p.start, p.end));
      break;
    }
  }
  if (name.empty()) return nullptr;
  Json out = Json::array();
  for (const AccountRecord& r : a->records) {
    const PairFile& f = pair.file(r.source);
    if (!f.text || (!include_declaration && &r == here)) continue;
    for (const NamePlace& p : names_in(pair, *a, r)) {
      if (span_text(text_of(pair, r.source), p.start, p.end) != name) continue;
      out.push_back({{"uri", f.uri}, {"range", range_json(*f.text, p.start, p.end, encoding)}});
    }
  }
  return out;
}

Json code_actions(const Json& params) {
  Json out = Json::array();
  if (!params.is_object() || !params.contains("context") || !params["context"].is_object()) return out;
  const Json diagnostics = params["context"].value("diagnostics", Json::array());
  const std::string uri = params.at("textDocument").at("uri").get<std::string>();
  if (!diagnostics.is_array()) return out;
  for (const Json& d : diagnostics) {
    if (!d.is_object() || !d.contains("message") || !d["message"].is_string() || !d.contains("range")) continue;
    const std::string message = d["message"].get<std::string>();
    const std::size_t at = message.find(kHintStart);
    if (at == std::string::npos) continue;
    const std::size_t from = at + kHintStart.size();
    const std::size_t to = message.find('\'', from);
    if (to == std::string::npos) continue;
    const std::string replacement = message.substr(from, to - from);
    out.push_back({{"title", "Replace with '" + replacement + "'"},
                   {"kind", "quickfix"},
                   {"diagnostics", Json::array({d})},
                   {"isPreferred", true},
                   {"edit", {{"changes", {{uri, Json::array({{{"range", d["range"]}, {"newText", replacement}}})}}}}}});
  }
  return out;
}

namespace {

// The warnings that name a record standing out of its kind's order. A
// station behind the one before it is an error rather (its zone would start
// before the previous zone's end), which the compiler names by its code.
constexpr std::string_view kUnorderedPrefix = "unordered-";

// The ordering diagnostics of one request whose moves are checked.
constexpr std::size_t kMaxMovesChecked = 8;

bool names_order(const std::string& code) {
  return code.rfind(kUnorderedPrefix, 0) == 0 || code == std::to_string(static_cast<int>(Status::StationTooClose));
}

std::size_t line_start(std::string_view text, std::size_t at) {
  while (at > 0 && text[at - 1] != '\n' && text[at - 1] != '\r') --at;
  return at;
}

// One past the line end (its CR, LF or CR LF included) of the line holding `at`.
std::size_t line_after(std::string_view text, std::size_t at) {
  while (at < text.size() && text[at] != '\n' && text[at] != '\r') ++at;
  if (at < text.size() && text[at] == '\r') ++at;
  if (at < text.size() && text[at] == '\n') ++at;
  return at;
}

// The line end the text uses: its first one, else CR LF as the built-in sources have.
std::string_view line_end_of(std::string_view text) {
  const std::size_t at = text.find_first_of("\r\n");
  if (at == std::string_view::npos) return "\r\n";
  if (text[at] == '\r') return at + 1 < text.size() && text[at + 1] == '\n' ? "\r\n" : "\r";
  return "\n";
}

std::optional<std::int64_t> position_of(const Account& a, const AccountRecord& r) {
  const auto fields = a.fields_of(r);
  if (fields.empty() || !fields[0].numeric) return std::nullopt;
  return fields[0].number;
}

// True when no record but `self` has a field on the bytes [from, to).
bool lines_hold_only(const Account& a, const AccountRecord& self, std::size_t from, std::size_t to) {
  return std::none_of(a.records.begin(), a.records.end(), [&](const AccountRecord& r) {
    return &r != &self && r.source == self.source && r.start < to && std::max(r.end, a.keywords[r.keyword].end) > from;
  });
}

std::size_t count_named(const CompileReport& report, std::string_view name) {
  return static_cast<std::size_t>(std::count_if(report.messages.begin(), report.messages.end(),
                                                 [&](const Message& m) { return m.name == name; }));
}

// A fix that moves the record the warning names (its whole lines) before the
// first record of its kind that stands further along the route. It is offered
// only when the moved text compiles with no more errors than before and with
// fewer warnings of the same name, none of them on the moved record.
std::optional<Json> move_into_place(const Pair& pair, SourceId source, const Json& d, PositionEncoding encoding) {
  const Account* a = pair.account();
  const PairFile& f = pair.file(source);
  if (!a || !f.text || !d.contains("code") || !d["code"].is_string() || !d.contains("range")) return std::nullopt;
  const std::string name = d["code"].get<std::string>();
  if (!names_order(name)) return std::nullopt;
  const Json& start = d["range"].at("start");
  const std::size_t offset =
      f.text->offset_of({start.at("line").get<std::size_t>(), start.at("character").get<std::size_t>()}, encoding);
  const AccountRecord* r = record_at(*a, source, offset);
  if (!r) return std::nullopt;
  const auto position = position_of(*a, *r);
  if (!position) return std::nullopt;
  const AccountRecord* before = nullptr;
  for (const AccountRecord& t : a->records) {
    if (t.source != source || t.kind != r->kind || t.start >= r->start) continue;
    const auto p = position_of(*a, t);
    if (p && *p > *position && (!before || t.start < before->start)) before = &t;
  }
  if (!before) return std::nullopt;
  const std::string& text = f.text->latin1();
  const std::size_t from = line_start(text, r->start);
  const std::size_t to = line_after(text, std::max(r->end, a->keywords[r->keyword].end));
  const std::size_t insert = line_start(text, before->start);
  if (!lines_hold_only(*a, *r, from, to) || !lines_hold_only(*a, *before, insert, before->start + 1)) return std::nullopt;
  std::string block = text.substr(from, to - from);
  if (to == text.size() && (block.empty() || (block.back() != '\n' && block.back() != '\r'))) {
    block += line_end_of(text);
  }
  const std::string moved = text.substr(0, insert) + block + text.substr(insert, from - insert) + text.substr(to);

  CompileSession again;
  again.options = pair.session.options;
  again.names = pair.names;
  again.texts = pair.session.texts;
  (source == SourceId::Line ? again.texts.line : again.texts.train) = moved;
  compile_in_memory(again);
  const CompileReport report = compile_messages(again.state, again.texts, again.options.warnings,
                                                again.options.max_diagnostics);
  const std::size_t moved_from = insert, moved_to = insert + block.size();
  const bool named_again = std::any_of(report.messages.begin(), report.messages.end(), [&](const Message& m) {
    return m.name == name && m.source == source && m.at && *m.at >= moved_from && *m.at < moved_to;
  });
  if (named_again || report.errors > pair.report.errors || count_named(report, name) >= count_named(pair.report, name)) {
    return std::nullopt;
  }
  const EditorText& t = *f.text;
  const std::string what(record_layout(r->kind).name);
  const Json edits = Json::array({{{"range", range_json(t, insert, insert, encoding)}, {"newText", latin1_to_utf8(block)}},
                                  {{"range", range_json(t, from, to, encoding)}, {"newText", ""}}});
  return Json{{"title", "Move this " + what + " before the " + what + " at " + line_of(pair, *before)},
              {"kind", "quickfix"},
              {"diagnostics", Json::array({d})},
              {"isPreferred", true},
              {"edit", {{"changes", {{f.uri, edits}}}}}};
}

}  // namespace

Json move_actions(const Pair& pair, SourceId source, const Json& params, PositionEncoding encoding) {
  Json out = Json::array();
  if (!params.is_object() || !params.contains("context") || !params["context"].is_object()) return out;
  const Json diagnostics = params["context"].value("diagnostics", Json::array());
  if (!diagnostics.is_array()) return out;
  std::size_t checked = 0;
  for (const Json& d : diagnostics) {
    if (!d.is_object() || !d.contains("code") || !d["code"].is_string() || !names_order(d["code"].get<std::string>())) {
      continue;
    }
    // Each move is checked by a compile: an editor that sends every diagnostic
    // of the file gets the first few, not a wait of seconds.
    if (++checked > kMaxMovesChecked) break;
    try {
      if (auto action = move_into_place(pair, source, d, encoding)) out.push_back(std::move(*action));
    } catch (const Json::exception&) {
      // A diagnostic whose range the editor did not send whole offers no move.
    }
  }
  return out;
}

Formatting format_source(const Pair& pair, SourceId source, PositionEncoding encoding) {
  Formatting result;
  const PairFile& f = pair.file(source);
  if (!f.text) return result;
  if (!f.text->unmappable().empty()) {
    result.refused = "the text holds characters that Latin-1 cannot hold; formatting would lose them";
    return result;
  }
  if (!pair.files) {
    result.refused = "the sources do not compile to files yet, so formatting cannot show that it changes none";
    return result;
  }
  const std::string before = f.text->latin1();
  const std::string after = aligned(before);
  if (after == before) return result;
  CompileSession again;
  again.options.check_only = true;
  again.names = pair.names;
  again.texts = pair.session.texts;
  (source == SourceId::Line ? again.texts.line : again.texts.train) = after;
  const std::optional<BinaryFiles> files = compile_in_memory(again, PlanBytes::Skipped);
  // Both compiles left the line file's bytes out: the pair's are serialised
  // once and the aligned text's plan is compared with them in place.
  const CompileResult& compiled = pair.session.state;
  const std::optional<std::string> linea =
      compiled.CompileLine != 0 ? std::optional(serialise_linea(compiled.scenario.LineCells)) : std::nullopt;
  if (!files || !plan_matches(again.state, linea) || files->sim != pair.files->sim || files->dat != pair.files->dat) {
    result.refused = "aligning the fields would change the compiled files, so the text is left as it is";
    return result;
  }
  result.edits.push_back({{"range", range_json(*f.text, 0, before.size(), encoding)}, {"newText", latin1_to_utf8(after)}});
  return result;
}

}  // namespace scenario::tool::lsp
