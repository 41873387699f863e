// The lint rules, each saying in plain words what the compiled cells hold because of the record.
//
// The rules read the records from the compiler's own field notes and the
// effects from the compiled cells; the fill and plan rules below follow the
// passes' own steps (a profile fills forward from its fill point; the plan
// goes on from the point it has reached), so the effect named is the one
// compiled.
#include "compile/lint.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "common/text_match.h"
#include "common/shown_text.h"
#include "common/warning_names.h"
#include "model/coding.h"
#include "model/train_cell.h"

namespace scenario::tool {
namespace {

constexpr std::int64_t kCell = kCellLength;     // metres of one train cell
constexpr std::int64_t kSteepest = 60;          // per mille; adhesion railways rarely exceed it
// The longest text a record's 16-bit length can hold; the model's limit,
// not the display limit of the tool's messages.
constexpr std::int64_t kLongestName = static_cast<std::int64_t>(scenario::kMaxTextBytes);

// Field indices after the keyword, as the record table lists them.
constexpr int kPosition = 0;
constexpr int kValue = 1;
constexpr int kCurveLength = 1;
constexpr int kRangeEnd = 1;
constexpr int kSignText = 1;
constexpr int kSlowSpeed = 1;
constexpr int kSlowLength = 2;
constexpr int kStationHours = 13;
constexpr int kStationMinutes = 14;
constexpr int kStationSeconds = 15;
constexpr int kStationName = 16;

std::string num(std::int64_t v) { return std::to_string(v); }
std::string metres(std::int64_t v) { return num(v) + " m"; }
std::string stretch(std::int64_t from, std::int64_t to) { return num(from) + "\u2013" + num(to) + " m"; }

// Halves to even, as the compiler rounds a position to its cell.
std::int64_t nearest(double v) { return static_cast<std::int64_t>(std::nearbyint(v)); }
std::int64_t cell_at(std::int64_t p) { return nearest(static_cast<double>(p) / kCell); }
std::int64_t cell_after_at(std::int64_t p) { return nearest(static_cast<double>(p) / kCell + 1.0); }
std::int64_t floor_cell(std::int64_t p) { return p >= 0 ? p / kCell : -((-p + kCell - 1) / kCell); }

std::optional<std::int64_t> number(const LintRecord& r, int i) {
  if (i < 0 || static_cast<std::size_t>(i) >= r.fields.size()) return std::nullopt;
  return r.fields[static_cast<std::size_t>(i)].number;
}

class Linter {
 public:
  Linter(const CompileResult& s, MessageSink& out) : s_(s), out_(out) {}

  void warn(const LintRecord& r, int field, std::string_view name, std::string text) {
    Message m;
    m.severity = Severity::Warning;
    m.name = std::string(name);
    m.source = r.source;
    m.at = static_cast<std::size_t>(field) < r.fields.size() ? r.fields[static_cast<std::size_t>(field)].offset
                                                              : r.record_offset;
    m.text = std::move(text);
    m.warning_name_shown = true;
    out_.push_back(std::move(m));
  }

  const TrainCell* cell(std::int64_t c) const {
    if (c < 0 || c >= static_cast<std::int64_t>(s_.scenario.TrainCells.size())) return nullptr;
    return &s_.scenario.TrainCells[static_cast<std::size_t>(c)];
  }

  const CompileResult& state() const { return s_; }

 private:
  const CompileResult& s_;
  MessageSink& out_;
};

// ---- profiles that fill forward: gradients, speed limits, adhesion ------

struct Profile {
  RecordKind kind;
  std::string_view unordered;  // the warning's name
  const char* rows;            // "gradient records"
  std::uint8_t TrainCell::*byte;
  std::string (*value)(int byte);
  std::string (*written)(std::int64_t value);
};

std::string gradient_text(int byte) {
  if (byte == 0) return "no gradient";
  return num(byte - kGradientBias) + " \u2030";
}
std::string gradient_written(std::int64_t v) { return num(v) + " \u2030"; }
std::string speed_text(int byte) { return num(byte * 5) + " km/h"; }
std::string speed_written(std::int64_t v) { return num(v) + " km/h"; }
std::string adhesion_text(int byte) { return "adhesion " + num(byte); }
std::string adhesion_written(std::int64_t v) { return "adhesion " + num(v); }

const Profile kProfiles[] = {
    {RecordKind::Gradient, "unordered-gradient", "gradient records", &TrainCell::Byte5, gradient_text, gradient_written},
    {RecordKind::SpeedProfile, "unordered-speed", "speed limit rows", &TrainCell::Byte4, speed_text, speed_written},
    {RecordKind::Adhesion, "unordered-adhesion", "adhesion rows", &TrainCell::Byte6, adhesion_text, adhesion_written},
};

// What the compiled cells first to last - 1 read, as "5 ‰ (6000–9000 m), ...".
std::string runs_text(const Linter& l, const Profile& p, std::int64_t first, std::int64_t last) {
  std::string out;
  std::int64_t from = first;
  for (std::int64_t c = first; c < last; ++c) {
    const TrainCell* here = l.cell(c);
    const TrainCell* next = l.cell(c + 1);
    if (here == nullptr) break;
    if (c + 1 < last && next != nullptr && (*next).*p.byte == (*here).*p.byte) continue;
    if (!out.empty()) out += ", ";
    out += p.value((*here).*p.byte) + " (" + stretch(from * kCell, (c + 1) * kCell) + ")";
    from = c + 1;
  }
  return out;
}

void check_profile(Linter& l, const std::vector<const LintRecord*>& rows, const Profile& p) {
  std::int64_t fill = 0;  // the first cell not yet written
  std::optional<std::int64_t> previous;
  bool first = true;
  for (const LintRecord* r : rows) {
    const auto pos = number(*r, kPosition);
    const auto value = number(*r, kValue);
    if (!pos || !value) continue;
    if (first && *pos > 0) {
      const TrainCell* c0 = l.cell(0);
      l.warn(*r, kPosition, "profile-start",
             "the first of the " + std::string(p.rows) + " is at " + metres(*pos) + ", not 0: the cells before it read " +
                 (c0 ? p.value((*c0).*p.byte) : std::string("nothing")));
    }
    first = false;
    const std::int64_t k = cell_at(*pos);
    const std::int64_t after = k > 0 ? std::max(fill + 1, k) : fill;
    if (previous && *pos <= *previous) {
      const std::string runs = runs_text(l, p, std::min(cell_at(*pos), fill), after);
      l.warn(*r, kPosition, p.unordered,
             std::string(p.rows) + " must ascend: this one at " + metres(*pos) + " follows one at " +
                 metres(*previous) + ", so " + p.written(*value) + " holds only from " + metres(after * kCell) +
                 (runs.empty() ? std::string() : "; before that the cells read " + runs));
    }
    fill = after;
    previous = pos;
  }
}

void check_values(Linter& l, const LintRecord& r) {
  const auto value = number(r, kValue);
  const auto pos = number(r, kPosition);
  if (!value || !pos) return;
  if (r.kind == RecordKind::SpeedProfile && *value == 0) {
    l.warn(r, kValue, "zero-speed", "the speed limit from " + metres(*pos) + " will be 0 km/h, up to the next row");
  }
  if (r.kind == RecordKind::Gradient) {
    const std::int64_t stored = *value + kGradientBias;
    if (stored < 0 || stored > 0xff) {
      const std::int64_t shown = static_cast<std::int64_t>(static_cast<std::uint8_t>(stored & 0xff)) - kGradientBias;
      l.warn(r, kValue, "steep-gradient",
             num(*value) + " \u2030 does not fit the cells' byte (\u2212100 to 155 \u2030): the cells will read " +
                 num(shown) + " \u2030");
    } else if (std::abs(*value) > kSteepest) {
      l.warn(r, kValue, "steep-gradient",
             num(*value) + " \u2030 is steeper than 60 \u2030, which adhesion railways rarely exceed; it is compiled "
             "as written");
    }
  }
}

// ---- the track plan's curves ----------------------------------------------

void check_curves(Linter& l, const std::vector<const LintRecord*>& curves) {
  std::int64_t c = 2;  // the next plan point
  std::optional<std::int64_t> previous_start;
  for (const LintRecord* r : curves) {
    const auto s = number(*r, kPosition);
    const auto n = number(*r, kCurveLength);
    if (!s || !n) continue;
    const std::int64_t end = *s + *n;
    const bool overlapping = previous_start && c > *s + 1;
    // The straight part runs on to the start, then the curve draws the
    // points up to its end: a length of 0 or less draws the straight part
    // alone. A curve that draws no point at all is told by no-effect.
    if (!overlapping && c <= *s && *n <= 0) {
      l.warn(*r, kCurveLength, "empty-curve",
             "this curve is " + metres(*n) + " long, so it draws no curved point: the plan runs straight on from " +
                 metres(*s));
    }
    if (overlapping) {
      const bool behind = *s < *previous_start;
      const std::string effect = c > end + 1 ? "so it draws nothing: the plan has already reached " + metres(c - 1)
                                             : "so it has no straight part and turns from " + metres(c - 1) + " to " +
                                                   metres(end) + " instead of from " + metres(*s);
      l.warn(*r, kPosition, behind ? "unordered-curve" : "overlapping-curve",
             std::string(behind ? "curves must ascend" : "curves must not overlap") + ": this one starts at " +
                 metres(*s) + ", behind the point the plan has reached (" + metres(c - 1) + "), " + effect);
    }
    if (c <= end) c = end + 1;
    previous_start = s;
  }
}

// ---- lists placed by position: any order compiles, but ----------------------

void check_order(Linter& l, const std::vector<const LintRecord*>& rows, std::string_view name, const char* what,
                 const std::string& effect) {
  std::optional<std::int64_t> previous;
  for (const LintRecord* r : rows) {
    const auto pos = number(*r, kPosition);
    if (!pos) continue;
    if (previous && *pos < *previous) {
      l.warn(*r, kPosition, name,
             std::string(what) + " at " + metres(*pos) + " comes after one at " + metres(*previous) + " in the file; " +
                 effect);
    }
    previous = pos;
  }
}

void check_signs(Linter& l, const std::vector<const LintRecord*>& signs) {
  std::optional<std::int64_t> previous;
  for (const LintRecord* r : signs) {
    const auto pos = number(*r, kPosition);
    if (!pos) continue;
    const TrainCell* c = l.cell(cell_after_at(*pos));
    // A sign the compiler refused (its cell was taken) got no row.
    if (previous && *pos < *previous && c && c->Kind == kind::kSign) {
      l.warn(*r, kPosition, "unordered-sign",
             "the sign at " + metres(*pos) + " comes after one at " + metres(*previous) +
                 " in the file: signs take scenario rows in file order, so it gets row " + num(c->Word1) +
                 ", below the row of a sign that stands further along the route");
    }
    previous = pos;
    if (r->fields.size() > kSignText && r->fields[kSignText].text.size() > kLongestName) {
      l.warn(*r, kSignText, "long-name",
             "a sign text of " + num(static_cast<std::int64_t>(r->fields[kSignText].text.size())) +
                 " bytes does not fit its 16-bit length (" + num(kLongestName) + " bytes): the files cannot be written");
    }
  }
}

void check_ranges(Linter& l, const std::vector<const LintRecord*>& ranges) {
  std::vector<std::pair<std::int64_t, std::int64_t>> earlier;
  for (const LintRecord* r : ranges) {
    const auto from = number(*r, kPosition);
    const auto to = number(*r, kRangeEnd);
    if (!from || !to) continue;
    for (const auto& [a, b] : earlier) {
      if (*from < b && a < *to) {
        const std::int64_t lo = std::max(*from, a), hi = std::min(*to, b);
        const TrainCell* c = l.cell(cell_at(lo));
        l.warn(*r, kPosition, "overlapping-range",
               "this montagna range (" + stretch(*from, *to) + ") overlaps an earlier one (" + stretch(a, b) +
                   "): from " + metres(lo) + " to " + metres(hi) + " the cells take this range's type" +
                   (c ? " (" + num(c->Byte3) + ")" : std::string()) + ", not the earlier one's");
        break;
      }
    }
    earlier.emplace_back(*from, *to);
  }
}

// ---- positions and cells -----------------------------------------------------

// Where a position lands: the cell the compiler gives it and the one its
// metres lie in (plus one for objects placed after their position).
void check_rounding(Linter& l, const LintRecord& r, int field, std::int64_t p, bool after, const char* what) {
  if (p % kCell == 0) return;
  const std::int64_t compiled = after ? cell_after_at(p) : cell_at(p);
  const std::int64_t written = floor_cell(p) + (after ? 1 : 0);
  if (compiled == written) return;
  l.warn(r, field, "rounded-position",
         metres(p) + " is no multiple of 50: the compiler rounds it (halves to even) and " + what + " goes to cell " +
             num(compiled) + " (" + stretch(compiled * kCell, (compiled + 1) * kCell) + "), not to cell " +
             num(written) + " where " + metres(p) + " lies" + (after ? " plus one" : ""));
}

void check_positions(Linter& l, const LintRecord& r) {
  const auto at = [&](int i) { return number(r, i); };
  switch (r.kind) {
    case RecordKind::Gradient:
    case RecordKind::SpeedProfile:
    case RecordKind::Adhesion:
      if (auto p = at(kPosition)) check_rounding(l, r, kPosition, *p, false, "its value's first cell");
      break;
    case RecordKind::Reduction:
      if (auto p = at(kPosition)) check_rounding(l, r, kPosition, *p, false, "the reduction");
      break;
    case RecordKind::Montagna:
      if (auto p = at(kPosition)) check_rounding(l, r, kPosition, *p, false, "the range's first cell");
      break;
    case RecordKind::Sign:
      if (auto p = at(kPosition)) check_rounding(l, r, kPosition, *p, true, "the sign");
      break;
    case RecordKind::SpeedBoards:
      if (auto p = at(kPosition)) check_rounding(l, r, kPosition, *p, true, "the board");
      break;
    case RecordKind::Signal:
      if (auto p = at(kPosition)) check_rounding(l, r, kPosition, *p, true, "the signal");
      break;
    case RecordKind::SlowOrder:
      if (auto x = at(kPosition)) {
        check_rounding(l, r, kPosition, *x, true, "the slow order's start");
        if (auto len = at(kSlowLength); len && *x % kCell == 0) {
          check_rounding(l, r, kSlowLength, *x + *len, true, "the slow order's end");
        }
      }
      if (auto v = at(kSlowSpeed); v && *v == 0) {
        l.warn(r, kSlowSpeed, "zero-speed", "this slow order's cells will carry a speed of 0 km/h");
      }
      break;
    default:
      break;
  }
}

// ---- stations -------------------------------------------------------------------

std::string clock_text(std::int64_t t) {
  char b[32];
  std::snprintf(b, sizeof b, "%02lld:%02lld:%02lld", static_cast<long long>(t / 3600),
                static_cast<long long>(t / 60 % 60), static_cast<long long>(t % 60));
  return b;
}

void check_stations(Linter& l, const std::vector<const LintRecord*>& stations) {
  std::optional<std::int64_t> previous_time;
  std::optional<std::int64_t> previous_pos;
  for (const LintRecord* r : stations) {
    const auto pos = number(*r, kPosition);
    if (pos && previous_pos && *pos < *previous_pos) {
      l.warn(*r, kPosition, "unordered-station",
             "the station at " + metres(*pos) + " comes after one at " + metres(*previous_pos) +
                 " in the file: stations take rows in file order along the route, and this one's zone cannot "
                 "start 350 m after the previous zone's end");
    }
    if (pos) previous_pos = pos;
    const auto h = number(*r, kStationHours), m = number(*r, kStationMinutes), s = number(*r, kStationSeconds);
    if (h && m && s) {
      const std::int64_t t = (*h * 60 + *m) * 60 + *s;
      if (t != 0 && previous_time && t < *previous_time) {
        l.warn(*r, kStationHours, "backwards-time",
               "the timetable runs backwards: this station's time " + clock_text(t) +
                   " is before the previous station's " + clock_text(*previous_time) + "; it is compiled as written");
      }
      if (t != 0) previous_time = t;
    }
    if (r->fields.size() > kStationName && r->fields[kStationName].text.size() > kLongestName) {
      l.warn(*r, kStationName, "long-name",
             "a station name of " + num(static_cast<std::int64_t>(r->fields[kStationName].text.size())) +
                 " bytes does not fit its 16-bit length (" + num(kLongestName) + " bytes): the files cannot be written");
    }
  }
}

}  // namespace

std::vector<LintRecord> records_read(const CompileResult& state, const SourceTexts& texts) {
  std::vector<LintRecord> out;
  if (!state.account) return out;
  const Account& a = *state.account;
  for (const AccountRecord& r : a.records) {
    LintRecord l;
    l.source = r.source;
    l.kind = r.kind;
    l.record_offset = r.start;
    const std::string_view text = texts.text(r.source);
    for (const FieldSpan& f : a.fields_of(r)) {
      std::optional<std::int64_t> number;
      if (f.numeric) number = f.number;
      l.fields.push_back({f.start, number, f.numeric ? std::string() : std::string(span_text(text, f.start, f.end))});
    }
    out.push_back(std::move(l));
  }
  return out;
}

void lint_warnings(const std::vector<LintRecord>& records, const CompileResult& state, MessageSink& out) {
  Linter l(state, out);
  std::map<RecordKind, std::vector<const LintRecord*>> by_kind;
  for (const LintRecord& r : records) {
    by_kind[r.kind].push_back(&r);
    check_positions(l, r);
    check_values(l, r);
  }
  for (const Profile& p : kProfiles) check_profile(l, by_kind[p.kind], p);
  if (state.CompileLine != 0) check_curves(l, by_kind[RecordKind::Curve]);
  check_ranges(l, by_kind[RecordKind::Montagna]);
  check_signs(l, by_kind[RecordKind::Sign]);
  check_stations(l, by_kind[RecordKind::Station]);
  check_order(l, by_kind[RecordKind::Signal], "unordered-signal", "the signal",
              "signals are placed by position, so it compiles the same, but the file no longer reads along the route");
  check_order(l, by_kind[RecordKind::SlowOrder], "unordered-slow-order", "the slow order",
              "slow orders are placed by position, so it compiles the same, but the file no longer reads along the "
              "route");
}

}  // namespace scenario::tool
