// Errors built from what the compiler recorded: the record, the field and its meaning, the cell, the typed reason.
#include "compile/error_messages.h"

#include <algorithm>
#include <cmath>

#include "common/scenario_view.h"
#include "common/shown_text.h"
#include "common/text_match.h"
#include "model/coding.h"
#include "model/general_rows.h"
#include "model/legacy_math.h"
#include "parser/record_kinds.h"
#include "parser/train_pass.h"
#include "placement/placement.h"

namespace scenario::tool {
namespace {

using std::to_string;

constexpr std::int32_t kChainageUnit = 50;
constexpr std::int32_t kStationLengthUnit = 100;
constexpr int kStationLengthField = 3;
constexpr std::string_view kGeneralHeader = "[generale]";
constexpr const char* kFreeCell = "it needs a cell that is empty or holds only a montagna marker";

// What the messages read besides the diagnostic itself.
struct Context {
  const CompileResult& state;
  const SourceTexts& texts;
};

std::string cell_words(std::int64_t c) {
  return "cell " + to_string(c) + " (" + to_string(c * kCellLength) + " m)";
}

std::string holding(std::optional<std::uint8_t> kind) {
  if (!kind) return "something";
  if (*kind == kind::kEmpty) return "no object but already a value";
  return with_article(kind_name(*kind));
}

const RecordLayout& layout_of(const Diagnostic& d) { return record_layout(d.record); }

std::string record_name(const Diagnostic& d) {
  const std::string_view name = layout_of(d).name;
  return name.empty() ? "record" : std::string(name);
}

// "the station's length, field 3"; "the station keyword" for field 0.
std::string field_words(RecordKind kind, int index) {
  const RecordLayout& layout = record_layout(kind);
  if (kind == RecordKind::None) return "this field";
  if (index == 0) return "the " + std::string(layout.name.empty() ? "record" : layout.name) + " keyword";
  if (index >= 1 && index <= static_cast<int>(layout.fields.size())) {
    return std::string(layout.fields[static_cast<std::size_t>(index - 1)].meaning) + ", field " + to_string(index);
  }
  return "field " + to_string(index);
}

std::string field_words(const Diagnostic& d) { return field_words(d.record, d.field_index.value_or(0)); }

// The field words as the subject of a sentence: "the station's length, field 3,".
std::string subject(const Diagnostic& d) {
  const std::string words = field_words(d);
  return d.field_index.value_or(0) == 0 ? words : words + ",";
}

// The record of the compiler's account at the diagnostic's keyword.
const AccountRecord* noted_record(const Context& c, const Diagnostic& d) {
  if (!d.record_offset || !c.state.account) return nullptr;
  for (const AccountRecord& r : c.state.account->records) {
    if (r.source == d.source && r.start == *d.record_offset && r.kind == d.record) return &r;
  }
  return nullptr;
}

// The keyword field's text as the compiler read it.
std::string keyword_text(const Context& c, const Diagnostic& d) {
  if (!d.record_offset || !c.state.account) return {};
  for (const KeywordEntry& k : c.state.account->keywords) {
    if (k.source == d.source && k.start == *d.record_offset) {
      return std::string(span_text(c.texts.text(d.source), k.start, k.end));
    }
  }
  return {};
}

std::optional<std::int64_t> field_value(const Context& c, const Diagnostic& d, int index) {
  const AccountRecord* r = noted_record(c, d);
  if (r == nullptr || index < 1 || index > static_cast<int>(r->field_count)) return std::nullopt;
  const FieldSpan& f = c.state.account->fields_of(*r)[static_cast<std::size_t>(index - 1)];
  return f.numeric ? std::optional<std::int64_t>(f.number) : std::nullopt;
}

std::string value_words(std::optional<std::int64_t> v) { return v ? to_string(*v) : std::string("?"); }

// The end of the keyword's line: where a field the line lacks belongs.
std::size_t line_end_after(std::string_view text, std::size_t offset) {
  const std::size_t end = text.find_first_of("\r\n", offset);
  return end == std::string_view::npos ? text.size() : end;
}

Message error_at(const Context& c, const Diagnostic& d, std::string text) {
  Message m;
  m.name = to_string(status_number(d.status));
  m.source = d.source;
  if (d.source != SourceId::None && c.texts.has(d.source)) {
    if (d.field_offset) {
      m.at = d.field_offset;
    } else if (d.record_offset) {
      m.at = d.record_offset;
    }
  }
  m.text = std::move(text);
  return m;
}

// A record whose line holds fewer fields than its kind reads takes the next
// line's fields in their place; the message says so first.
bool is_short(const Diagnostic& d) {
  const std::size_t wanted = layout_of(d).fields.size();
  return d.fields_on_line && wanted > 0 && static_cast<std::size_t>(*d.fields_on_line) < wanted;
}

std::string short_words(const Diagnostic& d) {
  const std::size_t wanted = layout_of(d).fields.size();
  const int on_line = d.fields_on_line.value_or(0);
  return "this " + record_name(d) + " record is short: its line holds " + to_string(on_line) + " of its " +
         to_string(wanted) + " fields after the keyword, so a field is missing";
}

// A record whose failed field was read from a later line than its keyword.
bool read_past_its_line(const Diagnostic& d) {
  return d.short_after && d.field_index && *d.field_index >= *d.short_after;
}

// ---- rules the passes check ----

std::string not_multiple(const Context& c, const Diagnostic& d, std::int32_t unit) {
  const int index = d.field_index.value_or(1);
  std::optional<std::int64_t> v = field_value(c, d, index);
  if (!v && d.metres) v = *d.metres;
  return subject(d) + " is " + value_words(v) + " m, which is not a multiple of " + to_string(unit);
}

std::string cell_taken(const Diagnostic& d, std::string_view what) {
  return "the " + std::string(what) + " at " + value_words(d.metres) + " m (" + field_words(d) + ") goes to " +
         cell_words(d.cell.value_or(0)) + ", which already holds " + holding(d.cell_holds) + "; " + kFreeCell;
}

std::string slow_order_cell(const Context& c, const Diagnostic& d) {
  std::string which;
  switch (d.status) {
    case Status::SlowOrderWarningTaken:
      which = "its warning point, " + to_string(kWarningDistance) + " m before its start,";
      break;
    case Status::SlowOrderStartTaken: which = "its start"; break;
    case Status::SlowOrderEndTaken: which = "its end (" + field_words(d) + ")"; break;
    default: which = "one of the four approach cells before its warning point"; break;
  }
  return "the slow order at " + value_words(field_value(c, d, 1)) + " m: " + which + " falls in " + cell_words(d.cell.value_or(0)) + ", which already holds " +
         holding(d.cell_holds) + "; " + kFreeCell;
}

std::int32_t noted_signs(const Context& c) {
  std::int32_t n = 0;
  if (!c.state.account) return n;
  for (const AccountRecord& r : c.state.account->records) n += r.kind == RecordKind::Sign;
  return n;
}

std::string too_many_stations(const Context& c, const Diagnostic& d) {
  const std::int32_t signs = noted_signs(c), free_row = kFirstSignRow - signs;
  const std::string taken = signs == 0 ? "no indication sign takes rows of the scenario table"
                                       : "the line source's " + counted(static_cast<std::size_t>(signs), "indication sign") +
                                             (signs == 1 ? " takes rows " : " take rows ") +
                                             to_string(free_row + 1) + " to " + to_string(kFirstSignRow) +
                                             " of the scenario table";
  return "too many stations: " + taken + ", which leaves room for " + to_string(std::max(free_row - 2, 0)) +
         " stations; this is station " + value_words(d.row);
}

const ScenarioRecord* row_of(const Context& c, std::optional<std::int32_t> row) {
  if (!row || *row < 0 || *row >= kScenarioRows) return nullptr;
  return &c.state.scenario.ScenarioTable[static_cast<std::size_t>(*row)];
}

std::string station_too_close(const Context& c, const Diagnostic& d) {
  const ScenarioRecord* row = row_of(c, d.row);
  const ScenarioRecord* prev = d.row ? row_of(c, *d.row - 1) : nullptr;
  if (row == nullptr || prev == nullptr) return "this station lies too close to the one before";
  const std::int64_t gap = std::int64_t{row->Start} - prev->End;
  const std::string where = gap >= 0 ? "starts " + to_string(gap) + " m after the previous zone ends"
                                     : "starts " + to_string(-gap) + " m before the previous zone ends";
  return "the station zone at " + value_words(d.metres) + " m (" + field_words(d) + ") " + where + "; at least " +
         to_string(kMinimumSpacing) + " m are needed (this zone runs from " + to_string(row->Start) + " to " +
         to_string(row->End) + " m, the zone of " + shown(prev->Name) + " ends at " + to_string(prev->End) + " m)";
}

std::string stop_in_cell_one(const Context& c, const Diagnostic& d) {
  const ScenarioRecord* row = row_of(c, d.row);
  const std::int32_t end = row ? row->End : 0;
  return "the station zone ends at " + to_string(end) + " m (from " + field_words(d) + ", and " +
         field_words(RecordKind::Station, kStationLengthField) + "), which puts its stopping point in " +
         cell_words(d.cell.value_or(0)) + "; stopping points must fall in cell 2 or later, so the zone must end at " +
         to_string(3 * kCellLength) + " m or later";
}

std::string past_train_cells(const Context& c, const Diagnostic& d) {
  const std::int64_t cells_end = std::int64_t{c.state.scenario.CellCount} * kCellLength;
  const std::string what = record_name(d);
  return "the " + what + " at " + value_words(d.metres) + " m (" + field_words(d) +
         ") lies beyond the train cells: the route is " +
         to_string(general_field(c.state.scenario.ScenarioTable, kRouteLength)) + " m long, the cells reach " +
         to_string(cells_end) + " m, and " + with_article(what) + " may stand at " +
         to_string(cells_end - margin_of(d.record)) + " m at most; the compiler reads nothing after it";
}

std::string post_processing(const Diagnostic& d) {
  const std::string cell = cell_words(d.cell.value_or(0));
  const std::string field = d.record == RecordKind::None ? "" : " (" + field_words(d) + ")";
  switch (d.status) {
    case Status::SignalMarkNoRoom:
      return "the two cells before this signal" + field + " in " + cell +
             " hold no free cell or speed mark for the automatic speed mark that a signal within 1000 m behind a "
             "slow-order warning needs";
    case Status::SlowOrderApproachNoRoom:
      return "one of the three windows of cells before this slow order's start" + field + ", in " + cell +
             ", has no free cell for its automatic speed mark";
    default:
      return "there is no free cell for an automatic speed mark inside or just after this slow order" + field +
             ", near " + cell;
  }
}

std::string curve_failed(const Context& c, const Diagnostic& d) {
  if (d.field_index.value_or(0) == 0) {
    return "the curve keyword " + in_quotes(keyword_text(c, d)) +
           " has no class digit 1 to 6; write it as 'curvas4' (left) or 'curvad5' (right), the digit giving the "
           "radius";
  }
  return "this curve carries the track plan past its last point; curves must start in increasing order within "
         "the route";
}

// A line of the line source that is a near miss of "[generale]": the header
// the author meant to write. The passes never read it as a field of a
// record, so the text is looked at line by line.
std::optional<std::size_t> misspelt_general(const Context& c) {
  constexpr std::size_t kLongestGuess = 2 * kGeneralHeader.size();
  const std::string_view text = c.texts.text(SourceId::Line);
  for (std::size_t start = 0; start < text.size();) {
    std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = trim_blanks(text.substr(start, end - start));
    if (line.size() <= kLongestGuess && near_miss(lower_ascii(line), {std::string(kGeneralHeader)})) {
      return static_cast<std::size_t>(line.data() - text.data());
    }
    start = end + 1;
  }
  return std::nullopt;
}

Message no_general_section(const Context& c, const Diagnostic& d) {
  Message m = error_at(c, d, "");
  if (auto at = misspelt_general(c)) {
    m.at = *at;
    m.text = "the line source has no '[generale]' line, so the compiler finds no general section; did you mean "
             "'[generale]'?";
  } else {
    m.text = "no field before the end of the line source holds '[generale]'; the general section must open with a "
             "'[generale]' line followed by its records";
  }
  return m;
}

// ---- runtime failures, by their typed reason ----

std::string full_list(const Diagnostic& d) {
  const FailureDetail& f = *d.failure;
  if (d.record == RecordKind::Sign) {
    return "one indication sign too many: the scenario table holds at most " + to_string(f.high - f.low + 1) +
           " signs, in rows " + to_string(f.low) + " to " + to_string(f.high);
  }
  return "one " + record_name(d) + " too many: the list holds at most " + to_string(f.high);
}

// A speed the cells' byte cannot hold: the bound a cell holds, in km/h, and
// the written speeds that round into it.
std::string speed_too_wide(const Diagnostic& d) {
  const FailureDetail& f = *d.failure;
  const auto cell_speed = [](std::int64_t written) {
    return static_cast<std::int64_t>(std::nearbyint(static_cast<double>(written) / treno::kSpeedStep)) *
           treno::kSpeedStep;
  };
  const bool low = f.value < f.low;
  const std::string bound = low ? "lowest" : "largest";
  return subject(d) + " is " + to_string(f.value) + " km/h; " + to_string(cell_speed(low ? f.low : f.high)) +
         " km/h is the " + bound + " speed a cell holds (in steps of " + to_string(treno::kSpeedStep) +
         " km/h, so " + (low ? "at least " : "at most ") + to_string(low ? f.low : f.high) +
         " km/h may be written); the compiler stops reading here";
}

// The lowest position whose cell leaves room behind it for a signal's
// approach marks; positions round to their cell as the compiler rounds them.
std::int32_t lowest_signal_position() {
  std::int32_t p = 0;
  while (cell_after(p) < kSignalApproachReach) ++p;
  return p;
}

std::int64_t next_multiple(std::int64_t v, std::int64_t unit) { return (v + unit - 1) / unit * unit; }

// A record that needs a cell or plan point outside the arrays the route length made.
std::string outside_the_route(const Context& c, const Diagnostic& d) {
  const FailureDetail& f = *d.failure;
  const std::string what = "this " + record_name(d) + " (" + field_words(d) + ")";
  const std::string stop = "; the compiler stops reading here";
  if (f.indexed == Indexed::PlanPoint) {
    return what + " needs line plan point " + to_string(f.value) + " (" + to_string(f.value) +
           " m), but the line plan holds points 0 to " + to_string(f.high) + " m" + stop;
  }
  if (d.record == RecordKind::Signal && f.value < f.low) {
    const std::int32_t lowest = lowest_signal_position();
    return "the signal at " + value_words(field_value(c, d, 1)) + " m (" + field_words(d) + ") needs its " +
           to_string(kSignalApproachMarks) + " approach marks in the " + to_string(kSignalApproachReach) +
           " cells behind its own, down to " + cell_words(f.value) + ", before the first train cell; a signal may "
           "stand at " + to_string(lowest) + " m at the lowest (" + to_string(next_multiple(lowest, kChainageUnit)) +
           " m as a multiple of " + to_string(kChainageUnit) + ")" + stop;
  }
  if (f.value < f.low) {
    return what + " needs " + cell_words(f.value) + ", before the first train cell (cell 0, at 0 m)" + stop;
  }
  return what + " needs " + cell_words(f.value) + ", past the last train cell (" + cell_words(f.high) + ")" + stop;
}

std::string record_failure(const Context& c, const Diagnostic& d) {
  const FailureDetail& f = *d.failure;
  const std::string field = subject(d);
  switch (f.kind) {
    case FailureKind::NotANumber:
      return field + " holds " + in_quotes(f.found) + ", which is not a number (" + f.expected +
             " expected); the compiler stops reading here";
    case FailureKind::TooWide:
      if (d.record == RecordKind::SpeedProfile) return speed_too_wide(d);
      if (d.row) {
        const std::string text = d.record == RecordKind::None ? "a name of the scenario" : field;
        return text + " is " + to_string(f.value) + " bytes long; a text holds at most " + to_string(f.high) +
               " bytes, so the files cannot be written";
      }
      return field + " is " + shown(f.found) + ", which does not fit " + f.expected + " (" + to_string(f.low) +
             " to " + to_string(f.high) + "); the compiler stops reading here";
    case FailureKind::TextEnded:
      return "the file ends before " + field_words(d) + "; the compiler stops reading here";
    case FailureKind::Full: return full_list(d);
    case FailureKind::OutOfRange:
      if (d.record == RecordKind::RouteLength) {
        const std::optional<std::int64_t> length = d.metres ? std::optional<std::int64_t>(*d.metres) : field_value(c, d, 1);
        return field + " is " + value_words(length) + " m; a route's length cannot be negative";
      }
      if (f.indexed == Indexed::TrainCell || f.indexed == Indexed::PlanPoint) return outside_the_route(c, d);
      return "this " + record_name(d) + " (" + field_words(d) + ") needs " + f.expected + " " + shown(f.found) +
             ", outside " + to_string(f.low) + " to " + to_string(f.high) + "; the compiler stops reading here";
    case FailureKind::Missing:
      return "this " + record_name(d) + " needs " + f.expected + ", which do not exist: the line source has no "
             "route length record";
    case FailureKind::Io: break;
  }
  return "the compiler stops reading at this " + record_name(d);
}

// A record whose line lacks its last fields: the compiler read the next
// line's first field in their place. The error stands where the missing
// field belongs, at the end of the record's own line.
Message short_record_failure(const Context& c, const Diagnostic& d) {
  Message m = error_at(c, d, "");
  const int index = d.field_index.value_or(1);
  const int on_line = d.fields_on_line.value_or(index - 1);
  if (d.record_offset && c.texts.has(d.source)) m.at = line_end_after(c.texts.text(d.source), *d.record_offset);
  std::string text = "this " + record_name(d) + " record is short: its line ends after " +
                     (on_line == 0 ? "the keyword" : field_words(d.record, on_line)) + ", so " + subject(d) +
                     " is missing";
  const FailureDetail& f = *d.failure;
  if (f.kind == FailureKind::NotANumber) {
    text += "; the compiler read " + in_quotes(f.found) + " from the next line in its place and stops there";
  } else if (f.kind == FailureKind::TextEnded) {
    text += "; the file ends there";
  } else {
    text += "; the compiler read the next line's first field in its place and stops there";
  }
  m.text = std::move(text);
  return m;
}

Message runtime_failure(const Context& c, const Diagnostic& d) {
  if (!d.failure) return error_at(c, d, "the compiler stops reading here");
  const FailureDetail& f = *d.failure;
  if (f.kind == FailureKind::Io) {
    Message m = error_at(c, d, "");
    m.at.reset();
    m.text = std::string(d.source == SourceId::Line ? "the line" : "the train") + " source does not exist";
    return m;
  }
  if (d.record == RecordKind::None) {
    if (f.kind == FailureKind::TextEnded && c.texts.has(d.source) && c.texts.text(d.source).empty()) {
      return error_at(c, d, std::string(d.source == SourceId::Line ? "the line" : "the train") +
                                " source is empty: there is no field to read, and the compiler stops here");
    }
    if (f.kind == FailureKind::Missing) {
      return error_at(c, d, "the line source has no route length record ('lunghezza percorso'), so there are no "
                            "train cells and the generator writes no binary file");
    }
    if (d.row) return error_at(c, d, record_failure(c, d));  // a name that does not fit its record
    return error_at(c, d, "the compiler stops here: " + record_failure(c, d));
  }
  if (read_past_its_line(d)) return short_record_failure(c, d);
  return error_at(c, d, record_failure(c, d));
}

Message guard_error(const Context& c, const Diagnostic& d) {
  const std::string code = to_string(status_number(d.status));
  const std::string prefix = "the stamp guard stops the generator with \" Errore n. " + code + "\": ";
  if (d.by_speed_marks) {
    Message m = error_at(c, d, prefix + "cell 1 holds " + holding(d.cell_holds) +
                                   " left by the automatic speed marks of a slow order near the route's start; "
                                   "cell 1 is reserved for the check codes");
    m.source = SourceId::Train;
    return m;
  }
  if (d.record == RecordKind::None) {
    return error_at(c, d, prefix + "row " + value_words(d.row) + " of the scenario table is not empty before the "
                                   "stamps");
  }
  return error_at(c, d, prefix + "the " + record_name(d) + " at " + value_words(field_value(c, d, 1)) + " m (" +
                            field_words(d) + ") puts " + holding(d.cell_holds) +
                            " into cell 1, which is reserved for the check codes; place it further along the route");
}

Message status_error(const Context& c, const Diagnostic& d) {
  switch (d.status) {
    case Status::RouteTooLong:
      return error_at(c, d, subject(d) + " is " + value_words(field_value(c, d, 1)) + " m; a route is at most " +
                                to_string(kMaxRouteLength) + " m long");
    case Status::ChainageNotWhole:
    case Status::RepetitionStartNotWhole:
    case Status::RepetitionEndNotWhole:
    case Status::StationNotWhole: return error_at(c, d, not_multiple(c, d, kChainageUnit));
    case Status::StationLengthNotWhole: return error_at(c, d, not_multiple(c, d, kStationLengthUnit));
    case Status::RepetitionCodes:
      return error_at(c, d, "the signal repetition keyword " + in_quotes(keyword_text(c, d)) +
                                " names neither 4 nor 9 codes; write it as 'ripetizione segnali 4 codici' or with "
                                "a 9");
    case Status::SignCellTaken: return error_at(c, d, cell_taken(d, "indication sign"));
    case Status::ReductionCellTaken: return error_at(c, d, cell_taken(d, "speed reduction"));
    case Status::SignalCellTaken: return error_at(c, d, cell_taken(d, "signal"));
    case Status::BoardCellTaken: return error_at(c, d, cell_taken(d, "speed indicator board"));
    case Status::TooManyStations: return error_at(c, d, too_many_stations(c, d));
    case Status::SignalMarkNoRoom:
    case Status::SlowOrderApproachNoRoom:
    case Status::SlowOrderMarkNoRoom: return error_at(c, d, post_processing(d));
    case Status::PastTrainCells: return error_at(c, d, past_train_cells(c, d));
    case Status::SlowOrderWarningTaken:
    case Status::SlowOrderStartTaken:
    case Status::SlowOrderEndTaken:
    case Status::SlowOrderApproachTaken: return error_at(c, d, slow_order_cell(c, d));
    case Status::StationTooClose: return error_at(c, d, station_too_close(c, d));
    case Status::StopInCellOne: return error_at(c, d, stop_in_cell_one(c, d));
    case Status::RuntimeFailure: return runtime_failure(c, d);
    case Status::NoLineSource: {
      Message m = error_at(c, d, "the line source does not exist");
      m.at.reset();
      return m;
    }
    case Status::NoGeneralSection: return no_general_section(c, d);
    case Status::CurveFailed: return error_at(c, d, curve_failed(c, d));
    case Status::GuardWord1:
    case Status::GuardWord2: return guard_error(c, d);
    case Status::Ok: break;
  }
  return error_at(c, d, "the compiler set status " + to_string(status_number(d.status)));
}

// A status that only repeats an earlier one: the train pass ends at the
// first signal or slow order while the line source's bound check still
// stands.
Message restated_note(const Context& c, const Diagnostic& d) {
  Message m = error_at(c, d, "the train pass stops after this " + record_name(d) + ", because the line source's "
                             "status " + to_string(status_number(d.status)) + " is still set; the rest of the "
                             "train source is not read");
  m.severity = Severity::Note;
  return m;
}

// The failure after the passes that stops the generator, shown after an error.
Message stop_note(const Context& c, const Diagnostic& d, const Message& error) {
  Message m = error;
  m.notes.clear();
  m.severity = Severity::Note;
  m.name = to_string(status_number(d.status));
  m.position.reset();
  m.at.reset();  // about the run, not the error's field
  std::string why = d.failure && d.failure->kind == FailureKind::Missing
                        ? "the passes stopped before they made the train cells"
                        : record_failure(c, d);
  m.text = "the generator then stops and writes no binary file: " + why;
  return m;
}

// The route length record that holds the route's length, from the account.
std::optional<RecordPlace> route_length_place(const Context& c) {
  if (!c.state.account) return std::nullopt;
  const Account& a = *c.state.account;
  const Owner who = a.row_owner(kRouteLength.row, kRouteLength.field);
  if (who < 0 || static_cast<std::size_t>(who) >= a.records.size()) return std::nullopt;
  const AccountRecord& r = a.records[static_cast<std::size_t>(who)];
  if (r.kind != RecordKind::RouteLength || r.field_count < 1) return std::nullopt;
  return RecordPlace{r.source, r.kind, r.start, a.fields_of(r)[0].start, 1};
}

// A negative route length is the error, at the length record, whatever the
// records after it then run into; those become its notes.
std::optional<Message> negative_length(const Context& c) {
  const std::optional<RecordPlace> place = route_length_place(c);
  const std::int32_t length = general_field(c.state.scenario.ScenarioTable, kRouteLength);
  if (!place || length >= 0) return std::nullopt;
  const Diagnostic d = diagnostica_a(Status::RuntimeFailure, *place);
  Message m = error_at(c, d, subject(d) + " is " + to_string(length) + " m; a route's length cannot be negative");
  m.name = "negative-length";
  return m;
}

bool at_route_length(const Context& c, const Diagnostic& d) {
  const std::optional<RecordPlace> place = route_length_place(c);
  return place && d.source == place->source && d.record == RecordKind::RouteLength &&
         d.record_offset == place->record_offset;
}

// What a short route leads to: a record past its cells or its plan.
bool follows_from_the_length(const Diagnostic& d) {
  if (d.status == Status::PastTrainCells) return true;
  return d.status == Status::RuntimeFailure && d.failure && d.failure->kind == FailureKind::OutOfRange &&
         (d.failure->indexed == Indexed::TrainCell || d.failure->indexed == Indexed::PlanPoint);
}

bool follows_an_error(const Diagnostic& d) {
  return d.status == Status::RuntimeFailure && d.record == RecordKind::None &&
         (d.source == SourceId::None || (d.failure && d.failure->kind == FailureKind::Missing));
}

}  // namespace

std::vector<Message> error_messages(const CompileResult& state, const SourceTexts& texts) {
  const Context c{state, texts};
  std::vector<Message> out;
  bool said_no_cells = false;  // an error already says the train cells were never made
  const std::optional<Message> short_route = negative_length(c);
  if (short_route) out.push_back(*short_route);
  for (const Diagnostic& d : state.report.Diagnostics) {
    const bool no_cells = d.failure && d.failure->kind == FailureKind::Missing;
    if (short_route && at_route_length(c, d)) continue;  // the same fact, already the first error
    if (short_route && follows_from_the_length(d)) {
      Message note = status_error(c, d);
      note.severity = Severity::Note;
      note.text = "because of it: " + note.text;
      out.front().notes.push_back(std::move(note));
      continue;
    }
    if (!out.empty() && d.restated) {
      out.back().notes.push_back(restated_note(c, d));
      continue;
    }
    if (!out.empty() && follows_an_error(d)) {
      if (!(no_cells && said_no_cells)) out.back().notes.push_back(stop_note(c, d, out.back()));
      continue;
    }
    Message m = status_error(c, d);
    // A short record whose failure is not already told as a missing field.
    if (is_short(d) && !(d.status == Status::RuntimeFailure && read_past_its_line(d))) {
      m.text = short_words(d) + "; " + m.text;
    }
    said_no_cells = said_no_cells || (no_cells && d.record == RecordKind::None);
    out.push_back(std::move(m));
  }
  // The error that set the status word (the last one with its code) shows its position.
  const std::string code = to_string(state.report.StatusCode);
  for (auto it = out.rbegin(); it != out.rend(); ++it) {
    if (it->name == code) {
      it->position = state.report.StatusPosition;
      break;
    }
  }
  return out;
}

}  // namespace scenario::tool
