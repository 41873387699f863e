// Plain-words explanations of every status code, the stamp guard and a failure of the driver.
#include "compile/status_messages.h"

#include <cmath>

#include "compile/record_lookup.h"
#include "common/scenario_view.h"
#include "common/shown_text.h"
#include "common/text_match.h"

namespace scenario::tool {
namespace {

using std::to_string;

std::string num(std::optional<std::int64_t> v) { return v ? to_string(*v) : std::string("?"); }

// A diagnostic at field `index` of a record (0 is the keyword).
Message at_field(const CompileOutcome& r, const FoundRecord& f, std::size_t index, std::string message) {
  Message d;
  d.source = f.source;
  d.at = index < f.fields.size() ? f.fields[index].offset : r.state.Trace.field_offset;
  d.text = std::move(message);
  return d;
}

Message at_end(const CompileOutcome& r, SourceId source, std::string message) {
  Message d;
  d.source = source;
  d.at = r.texts.text(source).size();
  d.text = std::move(message);
  return d;
}

Message whole_file(SourceId source, std::string message) {
  Message d;
  d.source = source;
  d.text = std::move(message);
  return d;
}

std::string cell_text(std::int64_t c) {
  return "cell " + to_string(c) + " (" + to_string(c * kCellMetres) + " m)";
}

std::string holding(const CompileState& s, std::int64_t c) {
  if (c < 0 || c >= static_cast<std::int64_t>(s.TrainCells.size())) return "no such cell";
  std::uint8_t k = s.TrainCells[static_cast<std::size_t>(c)].Kind;
  if (k == kind::kEmpty) return "no object but already a value";
  return "a " + kind_name(k) + " (kind " + to_string(k) + ")";
}

const char* kFreeCell = "it needs a cell that is empty or holds only a montagna marker";

// ---- the line source ----

Message route_too_long(const CompileOutcome& r, const FoundRecord& f) {
  return at_field(r, f, 1, "the route length is " + to_string(r.state.ScenarioTable[kRouteRow].End) +
                               " m; it must be at most 1000000 m");
}

Message chainage_not_whole(const CompileOutcome& r) {
  for (const FoundRecord& f : noted_records(r, SourceId::Line, 3)) {
    if (f.fields.empty() || f.fields[0].text.find("progressiva") == std::string::npos) continue;
    auto start = number_at(f.fields, 1), base = number_at(f.fields, 2);
    if (start && *start % 50 != 0) {
      return at_field(r, f, 1, "this chainage change starts at " + num(start) +
                                   " m, which is not a multiple of 50; chainage starts and base values "
                                   "must be multiples of 50");
    }
    if (base && *base % 50 != 0) {
      return at_field(r, f, 2, "this chainage change has the base value " + num(base) +
                                   " m, which is not a multiple of 50; chainage starts and base values "
                                   "must be multiples of 50");
    }
  }
  return at_end(r, SourceId::Line, "a chainage change start or base value is not a multiple of 50");
}

Message repetition_not_whole(const CompileOutcome& r, const FoundRecord& f, bool start) {
  const ScenarioRecord& row = r.state.ScenarioTable[kTrainRow];
  return at_field(r, f, start ? 1 : 2,
                  std::string("the signal repetition ") + (start ? "starts at " : "ends at ") +
                      to_string(start ? row.Start : row.End) + " m, which is not a multiple of 50");
}

Message repetition_codes(const CompileOutcome& r, const FoundRecord& f) {
  const std::string kw = f.fields.empty() ? "" : f.fields[0].text;
  return at_field(r, f, 0, "the signal repetition keyword " + in_quotes(kw) +
                               " names neither 4 nor 9 codes; write it as 'ripetizione segnali 4 codici' "
                               "or with a 9");
}

Message sign_cell_taken(const CompileOutcome& r, const FoundRecord& f) {
  const std::int64_t p = r.state.StatusPosition, c = cell_after_position(p);
  return at_field(r, f, 1, "the indication sign at " + to_string(p) + " m goes to " + cell_text(c) +
                               ", which already holds " + holding(r.state, c) + "; " + kFreeCell);
}

Message curve_failed(const CompileOutcome& r, const FoundRecord& f) {
  const std::string kw = f.fields.empty() ? "" : f.fields[0].text;
  if (kw.find_first_of("123456") == std::string::npos) {
    return at_field(r, f, 0, "the curve keyword " + in_quotes(kw) +
                                 " has no class digit 1 to 6; write it as 'curvas4' (left) or 'curvad5' "
                                 "(right), the digit giving the radius");
  }
  return at_field(r, f, 1, "this curve carries the track plan past point 1000000; curves must start in "
                           "increasing order within the route");
}

Message no_general(const CompileOutcome& r) {
  return at_end(r, SourceId::Line, "no field before the end of the line source holds '[generale]'; the "
                                   "general section must open with a '[generale]' line followed by its records");
}

Message indicator_cell_taken(const CompileOutcome& r, const FoundRecord& f) {
  const std::int64_t p = r.state.StatusPosition, c = cell_after_position(p);
  return at_field(r, f, 1, "the speed indicator board at " + to_string(p) + " m goes to " + cell_text(c) +
                               ", which already holds " + holding(r.state, c) + "; " + kFreeCell);
}

// ---- the train source ----

Message reduction_cell_taken(const CompileOutcome& r, const FoundRecord& f) {
  const std::int64_t p = r.state.StatusPosition, c = cell_at(p);
  return at_field(r, f, 1, "the speed reduction at " + to_string(p) + " m goes to " + cell_text(c) +
                               ", which already holds " + holding(r.state, c) + "; " + kFreeCell);
}

Message station_position(const CompileOutcome& r, const FoundRecord& f) {
  return at_field(r, f, 1, "the station position " + to_string(r.state.StatusPosition) +
                               " m is not a multiple of 50");
}

Message station_length(const CompileOutcome& r, const FoundRecord& f) {
  return at_field(r, f, 3, "the station length " + num(number_at(f.fields, 3)) + " m is not a multiple of 100");
}

Message too_many_stations(const CompileOutcome& r, const FoundRecord& f) {
  const std::int32_t signs = line_sign_count(r), free_row = kFirstSignRow - signs;
  std::string taken = signs == 0 ? "no indication sign takes rows of the scenario table"
                                 : "the line source's " + to_string(signs) + " indication signs take rows " +
                                       to_string(free_row + 1) + " to 80 of the scenario table";
  return at_field(r, f, 0, "too many stations: " + taken + ", which leaves room for " + to_string(free_row - 2) +
                               " stations; this is station " + to_string(traced_station_number(r)));
}

Message station_spacing(const CompileOutcome& r, const FoundRecord& f) {
  const std::int32_t k = traced_station_number(r);
  if (k < 2 || k >= kScenarioRows) return at_field(r, f, 1, "this station lies too close to the one before");
  const ScenarioRecord& row = r.state.ScenarioTable[static_cast<std::size_t>(k)];
  const ScenarioRecord& prev = r.state.ScenarioTable[static_cast<std::size_t>(k - 1)];
  const std::int64_t gap = std::int64_t{row.Start} - prev.End;
  std::string where = gap >= 0 ? "starts " + to_string(gap) + " m after the previous zone ends"
                               : "starts " + to_string(-gap) + " m before the previous zone ends";
  return at_field(r, f, 1, "the station zone " + where + "; at least 350 m are needed (this zone runs from " +
                               to_string(row.Start) + " to " + to_string(row.End) + " m, the zone of " +
                               shown(prev.Name) + " ends at " + to_string(prev.End) + " m)");
}

Message stop_in_cell_one(const CompileOutcome& r, const FoundRecord& f) {
  const std::int32_t k = traced_station_number(r);
  std::int32_t end = k >= 1 && k < kScenarioRows ? r.state.ScenarioTable[static_cast<std::size_t>(k)].End : 0;
  const std::int64_t c = static_cast<std::int64_t>(std::nearbyint(end / 50.0 - 1));
  return at_field(r, f, 1, "the station zone ends at " + to_string(end) + " m, which puts its stopping point in " +
                               cell_text(c) + "; stopping points must fall in cell 2 or later, so the zone must "
                               "end at 150 m or later");
}

Message signal_cell_taken(const CompileOutcome& r, const FoundRecord& f) {
  const std::int64_t p = r.state.StatusPosition, c = cell_after_position(p);
  return at_field(r, f, 1, "the signal at " + to_string(p) + " m goes to " + cell_text(c) +
                               ", which already holds " + holding(r.state, c) + "; " + kFreeCell);
}

Message slow_order_cell_taken(const CompileOutcome& r, const FoundRecord& f, std::int32_t code) {
  const std::int64_t x = r.state.StatusPosition;
  const auto l = number_at(f.fields, 3);
  std::int64_t c = 0;
  std::string which;
  std::size_t field = 1;
  if (code == 17) {
    c = cell_after_position(x - 1200), which = "its warning point, 1200 m before the start,";
  } else if (code == 18) {
    c = cell_after_position(x), which = "its start";
  } else if (code == 19) {
    c = cell_after_position(x + l.value_or(0)), which = "its end, " + num(l) + " m further,", field = 3;
  } else {
    const std::int64_t b = cell_at(x - 1200);
    c = b;
    for (std::int64_t i = b; i > b - 4; --i) {
      if (i >= 0 && i < static_cast<std::int64_t>(r.state.TrainCells.size()) &&
          !is_free(r.state.TrainCells[static_cast<std::size_t>(i)])) {
        c = i;
        break;
      }
    }
    which = "one of the four approach cells before its warning point", field = 5;
  }
  return at_field(r, f, field, "the slow order at " + to_string(x) + " m: " + which + " falls in " +
                                   cell_text(c) + ", which already holds " + holding(r.state, c) + "; " +
                                   kFreeCell);
}

Message out_of_bounds(const CompileOutcome& r, const FoundRecord& f) {
  const std::int64_t p = number_at(f.fields, 1).value_or(r.state.StatusPosition);
  const std::int32_t margin = f.kind ? f.kind->margin : 100;
  const std::string what = f.kind ? std::string(f.kind->name) : "this record";
  return at_field(r, f, 1, "the " + what + " at " + to_string(p) + " m lies beyond the train cells: the route is " +
                               to_string(r.state.ScenarioTable[kRouteRow].End) + " m long, the cells reach " +
                               to_string(std::int64_t{r.state.CellCount} * kCellMetres) + " m, and a " + what +
                               " may stand at " + to_string(std::int64_t{r.state.CellCount} * 50 - margin) +
                               " m at most; the compiler reads nothing after it");
}

Message post_processing(const CompileOutcome& r, std::int32_t code) {
  const std::int64_t p = r.state.StatusPosition, c = cell_at(p);
  std::string what = code == 11   ? "the two cells before the signal in " + cell_text(c) +
                                      ", which stands within 1000 m behind a slow-order warning, hold no free cell "
                                      "or speed mark for the automatic speed mark"
                     : code == 12 ? "one of the three windows of cells before the slow-order start in " +
                                        cell_text(c) + " has no free cell for its automatic speed mark"
                                  : "there is no free cell for an automatic speed mark inside or just after the "
                                    "slow order near " + cell_text(c);
  for (const FoundRecord& f : noted_records(r, SourceId::Train, 3)) {
    auto x = number_at(f.fields, 1);
    auto l = number_at(f.fields, 3);
    if (f.kind && f.kind->name == "slow order" && x && p >= *x - 2250 && p <= *x + l.value_or(0) + 700) {
      return at_field(r, f, 1, what);
    }
  }
  return at_end(r, SourceId::Train, what);
}

// The field a failed read was looking at: the end of the text when the text
// ran out, else the quoted field text of the reason at or after the last
// field read; otherwise that last field.
std::size_t failed_field(std::string_view text, std::size_t last_read, const std::string& reason) {
  if (reason.find("text has ended") != std::string::npos) return text.size();
  const std::size_t open = reason.find('\'');
  const std::size_t close = open == std::string::npos ? open : reason.find('\'', open + 1);
  if (close == std::string::npos || close == open + 1) return last_read;
  const std::size_t at = text.find(reason.substr(open + 1, close - open - 1), last_read);
  return at == std::string_view::npos ? last_read : at;
}

Message runtime_failure(const CompileOutcome& r) {
  std::string reason = r.state.LastFailure;
  if (reason.rfind("line ", 0) == 0 && reason.find(": ") != std::string::npos) {
    reason = reason.substr(reason.find(": ") + 2);  // the place is in FILE:LINE already
  }
  const SourceId source = r.state.Trace.source;
  if (source == SourceId::None || !r.texts.has(source)) {
    // The reason would name the in-memory stand-in, not the author's file.
    return whole_file(source == SourceId::None ? SourceId::Train : source,
                      std::string(source == SourceId::Line ? "the line" : "the train") +
                          " source does not exist");
  }
  Message d = at_field(r, traced_record(r, 0), 0, "the compiler stops reading: " + shown(reason));
  d.at = failed_field(r.texts.text(source), r.state.Trace.field_offset, reason);
  return d;
}

Message status_error(const CompileOutcome& r) {
  const std::int32_t code = r.state.StatusCode;
  const FoundRecord f = traced_record(r, 16);
  switch (code) {
    case 1: return route_too_long(r, f);
    case 2: return chainage_not_whole(r);
    case 3: return repetition_not_whole(r, f, true);
    case 4: return repetition_not_whole(r, f, false);
    case 5: return repetition_codes(r, f);
    case 6: return sign_cell_taken(r, f);
    case 7: return reduction_cell_taken(r, f);
    case 8: return station_position(r, f);
    case 9: return station_length(r, f);
    case 10: return too_many_stations(r, f);
    case 11: case 12: case 13: return post_processing(r, code);
    case 15: {
      auto found = first_out_of_bounds(r);
      return out_of_bounds(r, found ? *found : f);
    }
    case 16: return signal_cell_taken(r, f);
    case 17: case 18: case 19: case 20: return slow_order_cell_taken(r, f, code);
    case 21: return indicator_cell_taken(r, f);
    case 22: return station_spacing(r, f);
    case 24: return stop_in_cell_one(r, f);
    case 25: return runtime_failure(r);
    case 101: return whole_file(SourceId::Line, "the line source does not exist");
    case 102: return no_general(r);
    case 103: return curve_failed(r, f);
    default: return at_field(r, f, 0, "the compiler set status " + to_string(code));
  }
}

// Status 15 from the line source stays set while the train pass runs, and
// the first signal or slow order then ends that pass as well.
std::optional<Message> stale_bound_note(const CompileOutcome& r, const Message& error) {
  if (r.state.StatusCode != 15 || error.source != SourceId::Line || r.state.Trace.source != SourceId::Train) {
    return std::nullopt;
  }
  FoundRecord f = traced_record(r, 1);
  if (!f.kind || (f.kind->name != "signal" && f.kind->name != "slow order")) return std::nullopt;
  Message note = at_field(r, f, 1, "the train pass stops after this " + std::string(f.kind->name) +
                                          ", because the line source's status 15 is still set; the rest of the "
                                          "train source is not read");
  note.severity = Severity::Note;
  return note;
}

Message guard_error(const CompileOutcome& r) {
  const std::string prefix = "the stamp guard stops the generator with \" Errore n. " + *r.guard_code + "\": ";
  const std::string cell = holding(r.state, 1);
  if (auto f = first_record_in_cell_one(r)) {
    const std::int64_t p = number_at(f->fields, 1).value_or(0);
    return at_field(r, *f, 1, prefix + "the " + std::string(f->kind->name) + " at " + to_string(p) + " m puts " +
                                  cell + " into cell 1, which is reserved for the check codes; place it further "
                                  "along the route");
  }
  return at_end(r, SourceId::Train, prefix + "cell 1 holds " + cell +
                                        " left by the automatic speed marks; cell 1 is reserved for the check codes");
}

}  // namespace

std::vector<Message> error_diagnostics(const CompileOutcome& r) {
  std::vector<Message> out;
  if (r.state.StatusCode != 0) {
    Message e = status_error(r);
    e.name = to_string(r.state.StatusCode);
    e.position = r.state.StatusPosition;
    if (auto note = stale_bound_note(r, e)) e.notes.push_back(*note);
    out.push_back(e);
  }
  if (r.guard_code) {
    Message g = guard_error(r);
    g.name = *r.guard_code;
    out.push_back(g);
  }
  if (r.driver_failure) {
    std::string text = "the generator then stops and writes no binary file: " + shown(*r.driver_failure);
    // After a status error it is a note at that error's place; alone, an error.
    if (out.empty()) {
      Message d = at_end(r, SourceId::Line, text);
      d.name = "failure";
      out.push_back(d);
    } else {
      Message d = out.front();
      d.notes.clear();
      d.text = text;
      d.severity = Severity::Note;
      d.name = "failure";
      out.front().notes.push_back(d);
    }
  }
  return out;
}

}  // namespace scenario::tool
