// The rules each binary file and a set of them must keep, checked with every read bounded.
//
// The rules are those the compiler keeps for every file it writes, whatever
// the sources held: sizes and counts, type tags, cell kinds, fields that
// nothing fills staying 0, the stamp marks and check codes, and the track
// plan's points, each of which follows exactly from the two before it.
#include "verify/verify_checks.h"

#include <array>
#include <cmath>
#include <limits>

#include "common/binary_files.h"
#include "common/scenario_view.h"
#include "model/binary_readers.h"
#include "model/coding.h"
#include "model/binary_writers.h"
#include "model/compile_state.h"
#include "model/general_rows.h"
#include "model/line_plan.h"
#include "parser/record_kinds.h"
#include "parser/track_plan.h"
#include "placement/stamp.h"

namespace scenario::tool {
namespace {

constexpr std::size_t kNameOffset = 16;  // the name's bytes, after its 16-bit length at 14
constexpr std::int32_t kMaxStationRow = kFirstSignRow - 1;
constexpr std::uint8_t kFirstKindWithoutStop = 25;
constexpr std::int32_t kStationZoneExtra = 50;    // the third flag's addition to an ordinary zone's end
constexpr std::int32_t kShortZoneEnd = 150;        // kinds 5 and 6 end 150 m past the position
constexpr std::int32_t kStationLengthStep = 100;

std::string num(std::int64_t v) { return std::to_string(v); }

// ---- .sim -------------------------------------------------------------

// One field of a row: its name, its value and its offset within the row.
struct RowField {
  const char* name;
  std::int64_t value;
  std::size_t offset;
};

std::array<RowField, 15> numeric_fields(const ScenarioRecord& r) {
  const std::size_t n = r.Name.size();
  return {{{"Kind", r.Kind, 0},
           {"Start", r.Start, 1},
           {"End", r.End, 5},
           {"Position", r.Position, 9},
           {"Flag", r.Flag, 13},
           {"Word1", r.Word1, 16 + n},
           {"Word2", r.Word2, 18 + n},
           {"Word3", r.Word3, 20 + n},
           {"Word4", r.Word4, 22 + n},
           {"Word5", r.Word5, 24 + n},
           {"Byte1", r.Byte1, 26 + n},
           {"Byte2", r.Byte2, 27 + n},
           {"Byte3", r.Byte3, 28 + n},
           {"Byte4", r.Byte4, 29 + n},
           {"Time", r.Time, 30 + n}}};
}

std::size_t field_offset(const ScenarioRecord& r, std::string_view field) {
  for (const RowField& f : numeric_fields(r)) {
    if (field == f.name) return f.offset;
  }
  return kNameOffset;
}

class SimChecker {
 public:
  SimChecker(const ScenarioRows& rows, const std::vector<std::size_t>& offsets, std::vector<Mismatch>& out)
      : rows_(rows), offsets_(offsets), out_(out) {}

  void report(int row, std::string_view field, const std::string& problem) {
    const ScenarioRecord& r = rows_[static_cast<std::size_t>(row)];
    out_.push_back({offsets_[static_cast<std::size_t>(row)] + field_offset(r, field),
                    "row " + num(row) + " " + std::string(field), problem});
  }

  // Every field outside `used` (and the name, unless used) must be 0.
  void only(int row, std::initializer_list<std::string_view> used, const std::string& why) {
    const ScenarioRecord& r = rows_[static_cast<std::size_t>(row)];
    auto is_used = [&](std::string_view f) {
      for (std::string_view u : used) {
        if (u == f) return true;
      }
      return false;
    };
    if (!r.Name.empty() && !is_used("Name")) {
      report(row, "Name", "holds a text of " + num(static_cast<std::int64_t>(r.Name.size())) + " bytes; " + why);
    }
    for (const RowField& f : numeric_fields(r)) {
      if (f.value != 0 && !is_used(f.name)) report(row, f.name, "holds " + num(f.value) + "; " + why);
    }
  }

  void station(int row) {
    const ScenarioRecord& r = rows_[static_cast<std::size_t>(row)];
    const std::int64_t pos = r.Position, start = r.Start, end = r.End;
    if (pos % kCellMetres != 0) report(row, "Position", "holds " + num(pos) + ", which is no multiple of 50");
    std::int64_t length = pos - start;
    std::int64_t expected_end = 0;
    bool end_may_add = false;
    if (r.Kind == 5 || r.Kind == 6) {
      expected_end = pos + kShortZoneEnd;
    } else if (r.Kind == 7 || r.Kind == 8) {
      expected_end = pos + length;
    } else {
      length = 2 * (pos - start);
      expected_end = pos + length / 2 + (r.Byte3 != 0 ? kStationZoneExtra : 0);
      end_may_add = row == 1;  // the first station keeps the 50 its third flag added before it was cleared
    }
    if (length % kStationLengthStep != 0) {
      report(row, "Start", "holds " + num(start) + ": the zone's start lies " + num(pos - start) +
                               " m before the position, which gives no station length in whole 100 m");
    }
    if (end != expected_end && !(end_may_add && end == expected_end + kStationZoneExtra)) {
      report(row, "End", "holds " + num(end) + ", but a kind " + num(r.Kind) + " station at " + num(pos) +
                             " whose zone starts at " + num(start) + " ends at " + num(expected_end));
    }
    if (row == 1 && (r.Byte3 != 0 || r.Byte4 != 0)) {
      report(row, r.Byte3 != 0 ? "Byte3" : "Byte4", "is not 0; the first station's second and third flags are cleared");
    }
  }

  void all(std::string_view file_name) {
    only(0, {}, "row 0 is never filled");
    std::size_t stations = 0;
    while (stations < kMaxStationRow && use_of_row(rows_, static_cast<int>(stations) + 1) == RowUse::Station) {
      ++stations;
      station(static_cast<int>(stations));
    }
    for (int row = static_cast<int>(stations) + 2; row <= kFirstSignRow; ++row) {
      only(row, {"Name"},
           "stations fill rows 1 to " + num(static_cast<std::int64_t>(stations)) +
               " in a row, and the rows above them hold nothing but sign texts");
    }
    for (int row : kChainageRows) only(row, {"Start", "End", "Position"}, "a chainage row holds nothing else");
    only(kRouteRow, {"Start", "End", "Position"}, "row 84 holds only braked mass, route length and cars");
    only(kStampRow, {"Start", "End", "Position", "Name", "Word1", "Time"},
         "row 85 holds only the background values, the route name and the stamps");
    only(kTrainRow, {"Start", "End", "Position", "Name", "Word1", "Word3", "Word4", "Word5"},
         "row 86 holds only the signal repetition, the train code, sand and the clock");
    route_row();
    stamps(file_name);
  }

 private:
  void route_row() {
    const std::int64_t length = general_field(rows_, kRouteLength);
    if (length > kMaxRouteLength) {
      report(kRouteRow, "End", "holds the route length " + num(length) + " m; the compiler accepts at most " +
                                   num(kMaxRouteLength));
    }
    const std::int64_t codes = general_field(rows_, kRepetitionCodes);
    if (codes != 0 && codes != 4 && codes != 9) {
      report(kTrainRow, "Position", "holds " + num(codes) + "; the signal repetition has 4, 9 or 0 codes");
    }
  }

  void stamps(std::string_view file_name) {
    const ScenarioNames names{general_field(rows_, kRouteName), general_field(rows_, kTrainCode)};
    const std::int16_t mark = general_field(rows_, kStampMark);
    if (mark != kRowMark) {
      report(kStampRow, "Word1", "holds " + num(mark) + "; the stamp puts the mark 610 here");
    }
    const std::int32_t code = weighted_code(names);
    const std::int32_t held = general_field(rows_, kCheckCode);
    if (held != code) {
      report(kStampRow, "Time",
             "holds " + num(held) + ", but the check code of route '" + names.RouteName + "' and train '" +
                 names.TrainCode + "' is " + num(code));
    }
    const std::string expected = names.RouteName + "_" + names.TrainCode + std::string(kScenarioFileSuffix);
    if (!file_name.empty() && file_name != expected) {
      report(kStampRow, "Name", "names route '" + names.RouteName + "' and train '" + names.TrainCode +
                                    "' (row 86), so the file would be " + expected + ", not " +
                                    std::string(file_name));
    }
  }

  const ScenarioRows& rows_;
  const std::vector<std::size_t>& offsets_;
  std::vector<Mismatch>& out_;
};

// ---- .dat -------------------------------------------------------------

bool is_cell_kind(std::uint8_t k) {
  return k <= kind::kSpeedBoard || (k >= kind::kStop && k <= kind::kSign);
}

TrainCell cell_at(std::string_view bytes, std::size_t c) { return decode_cell(bytes.data() + kCellBytes * c); }

struct CellField {
  const char* name;
  std::int64_t value;
  std::size_t offset;
};

std::array<CellField, 11> cell_fields(const TrainCell& c) {
  return {{{"Kind", c.Kind, 0},
           {"Word1", c.Word1, 1},
           {"Word2", c.Word2, 3},
           {"Word3", c.Word3, 5},
           {"Word4", c.Word4, 7},
           {"Byte1", c.Byte1, 9},
           {"Byte2", c.Byte2, 10},
           {"Byte3", c.Byte3, 11},
           {"Byte4", c.Byte4, 12},
           {"Byte5", c.Byte5, 13},
           {"Byte6", c.Byte6, 14}}};
}

Mismatch cell_mismatch(std::size_t cell, std::string_view field, const std::string& problem) {
  std::size_t offset = kCellBytes * cell;
  for (const CellField& f : cell_fields(TrainCell{})) {
    if (field == f.name) offset += f.offset;
  }
  return {offset, "cell " + num(static_cast<std::int64_t>(cell)) + " " + std::string(field), problem};
}

// Every reading of a name <route>_<train>.dat: one per "_" in it.
std::vector<ScenarioNames> names_of_file(std::string_view file_name, std::string_view suffix) {
  std::vector<ScenarioNames> out;
  if (file_name.size() <= suffix.size() || file_name.substr(file_name.size() - suffix.size()) != suffix) return out;
  const std::string stem(file_name.substr(0, file_name.size() - suffix.size()));
  for (std::size_t cut = stem.find('_'); cut != std::string::npos; cut = stem.find('_', cut + 1)) {
    out.push_back({stem.substr(0, cut), stem.substr(cut + 1)});
  }
  return out;
}

void check_cell(const TrainCell& c, std::size_t i, std::vector<Mismatch>& out) {
  if (!is_cell_kind(c.Kind)) {
    out.push_back(cell_mismatch(i, "Kind", "holds " + num(c.Kind) + ", which is no cell kind (0 to 6, 10 to 14)"));
    return;
  }
  if (c.Kind == kind::kEmpty || c.Kind == kind::kRangeMarker) {
    for (const CellField& f : cell_fields(c)) {
      const std::string_view name = f.name;
      const bool object_field = name == "Word1" || name == "Word2" || name == "Word3" || name == "Word4" || name == "Byte1";
      const bool stamp = i == 1 && (name == "Word1" || name == "Word2");
      if (object_field && !stamp && f.value != 0) {
        out.push_back(cell_mismatch(i, f.name, "holds " + num(f.value) + " in a cell of kind " + num(c.Kind) + " (" +
                                                   kind_name(c.Kind) + "), which carries no object value"));
      }
    }
  }
  if (c.Kind == kind::kSlowApproach && (c.Word1 < 1 || c.Word1 > 4)) {
    out.push_back(cell_mismatch(i, "Word1", "holds " + num(c.Word1) + "; a slow-order approach cell counts 1 to 4"));
  }
  if (c.Kind == kind::kStop && (c.Word1 < 1 || c.Word1 > kMaxStationRow)) {
    out.push_back(cell_mismatch(i, "Word1", "holds " + num(c.Word1) + "; a stopping point names a station row, 1 to " +
                                                num(kMaxStationRow)));
  }
  if (c.Kind == kind::kSign && (c.Word1 < 1 || c.Word1 > kFirstSignRow)) {
    out.push_back(cell_mismatch(i, "Word1", "holds " + num(c.Word1) + "; a sign cell names a sign row, 1 to " +
                                                num(kFirstSignRow)));
  }
}

// ---- linea.dat ---------------------------------------------------------

std::string tag_name(LineTag t) {
  switch (t) {
    case LineTag::Empty: return "0 (empty)";
    case LineTag::Int16: return "2 (16-bit)";
    case LineTag::Real: return "5 (real)";
  }
  return "?";
}

std::string real_text(double v) {
  char b[40];
  std::snprintf(b, sizeof b, "%.17g", v);
  return b;
}

const char* const kColumn[] = {"X", "Y"};

std::string point_field(int col, std::int64_t m) { return std::string(kColumn[col]) + " of point " + num(m); }

// Whether (x, y) follows from the two points before it: a straight step, or
// one curved step of any class to either side, computed as the compiler does.
struct Step {
  bool matches = false;
  bool x_matches = false;
  double nearest_x = 0, nearest_y = 0;
};

Step next_point(double x1, double x2, double y1, double y2, double x, double y) {
  Step s;
  auto consider = [&](PuntoPiano p) {
    const double px = p.x, py = p.y;
    if (px == x && py == y) s.matches = true;
    if (px == x) s.x_matches = true;
    if (std::abs(px - x) + std::abs(py - y) < std::abs(s.nearest_x - x) + std::abs(s.nearest_y - y) ||
        (s.nearest_x == 0 && s.nearest_y == 0)) {
      s.nearest_x = px;
      s.nearest_y = py;
    }
  };
  consider(passo_dritto(x1, x2, y1, y2));
  for (double rate : kCurveRates) {
    for (double a : {rate, -rate}) consider(passo_curvo(x1, x2, y1, y2, a));
  }
  return s;
}

void check_plan(const std::vector<PlanValue>& v, std::int64_t last, std::vector<Mismatch>& out) {
  const std::size_t column = static_cast<std::size_t>(last) + 1;
  auto at = [&](int col, std::int64_t m) -> const PlanValue& {
    return v[static_cast<std::size_t>(col) * column + static_cast<std::size_t>(m)];
  };
  bool tags_right = true;
  for (int col = 0; col < 2; ++col) {
    std::int64_t wrong = 0;
    for (std::int64_t m = 0; m <= last; ++m) {
      const LineTag expected = m <= 1 ? LineTag::Int16 : m <= last - 2 ? LineTag::Real : LineTag::Empty;
      if (at(col, m).tag == expected) continue;
      if (wrong++ == 0) {
        out.push_back({at(col, m).offset, point_field(col, m) + " type tag",
                       "holds " + tag_name(at(col, m).tag) + "; point " + num(m) + " of " + num(last) +
                           " is stored as " + tag_name(expected)});
      }
    }
    if (wrong > 1) out.back().problem += " (and " + num(wrong - 1) + " more points of this column are tagged wrong)";
    tags_right = tags_right && wrong == 0;
  }
  const double start[2][2] = {{0, 0}, {0, 1}};  // X and Y of points 0 and 1: the origin, heading along +Y
  for (int col = 0; col < 2; ++col) {
    for (int m = 0; m < 2; ++m) {
      if (at(col, m).value != start[col][m]) {
        out.push_back({at(col, m).offset + 2, point_field(col, m),
                       "holds " + real_text(at(col, m).value) + "; the plan starts at (0, 0), (0, 1)"});
      }
    }
  }
  if (!tags_right) return;
  std::int64_t wrong = 0;
  for (std::int64_t m = 2; m <= last - 2; ++m) {
    const Step s = next_point(at(0, m - 1).value, at(0, m - 2).value, at(1, m - 1).value, at(1, m - 2).value,
                              at(0, m).value, at(1, m).value);
    if (s.matches) continue;
    if (wrong++ > 0) continue;
    const int col = s.x_matches ? 1 : 0;
    out.push_back({at(col, m).offset + 2, point_field(col, m),
                   "holds " + real_text(at(col, m).value) + ", but no straight or curved step from the two points "
                   "before it leads there (the nearest gives " + real_text(col == 0 ? s.nearest_x : s.nearest_y) +
                   ")"});
  }
  if (wrong > 1) out.back().problem += "; " + num(wrong - 1) + " more points do not follow from theirs";
}

}  // namespace

std::int16_t plain_code(const ScenarioNames& names) {
  CompileState s;
  general_field(s.scenario.ScenarioTable, kRouteName) = names.RouteName;
  general_field(s.scenario.ScenarioTable, kTrainCode) = names.TrainCode;
  return codice_gara_og(s);
}

std::int32_t weighted_code(const ScenarioNames& names) {
  CompileState s;
  general_field(s.scenario.ScenarioTable, kRouteName) = names.RouteName;
  general_field(s.scenario.ScenarioTable, kTrainCode) = names.TrainCode;
  return codice_gara_st(s);
}

SimFacts verify_sim(std::string_view bytes, std::string_view file_name) {
  SimFacts f;
  std::size_t at = 0;
  for (int row = 0; row < kScenarioRows; ++row) {
    const std::string field = "row " + num(row);
    const std::size_t left = bytes.size() - at;
    if (left < kNameOffset || left < kRowFixedBytes + DecodeFixed16(bytes.data() + at + kNameOffset - 2)) {
      f.mismatches.push_back({at, field, "the file ends inside row " + num(row) + " after " +
                                             num(static_cast<std::int64_t>(bytes.size())) +
                                             " bytes; a .sim holds 87 rows of 34 bytes and their names"});
      return f;
    }
    f.row_offsets.push_back(at);
    at += kRowFixedBytes + DecodeFixed16(bytes.data() + at + kNameOffset - 2);
  }
  if (at != bytes.size()) {
    f.mismatches.push_back({at, "end of file", num(static_cast<std::int64_t>(bytes.size() - at)) +
                                                   " bytes follow row 86, the last row"});
    return f;
  }
  f.rows = decode_sim(bytes, file_name).rows;
  SimChecker(*f.rows, f.row_offsets, f.mismatches).all(file_name);
  return f;
}

DatFacts verify_dat(std::string_view bytes, std::string_view file_name) {
  DatFacts f;
  if (bytes.size() % kCellBytes != 0) {
    const std::size_t whole = bytes.size() / kCellBytes;
    f.mismatches.push_back({whole * kCellBytes, "cell " + num(static_cast<std::int64_t>(whole)),
                            "the file ends " + num(static_cast<std::int64_t>(bytes.size() % kCellBytes)) +
                                " bytes into this cell; a train .dat holds whole cells of 15 bytes"});
    return f;
  }
  if (bytes.size() < 2 * kCellBytes) {
    f.mismatches.push_back({bytes.size(), "cell 1", "the file holds " +
                                                        num(static_cast<std::int64_t>(bytes.size() / kCellBytes)) +
                                                        " cells; cell 1 carries the stamps, so there are at least 2"});
    return f;
  }
  for (std::size_t i = 0; i < bytes.size() / kCellBytes; ++i) f.cells.push_back(cell_at(bytes, i));
  for (std::size_t i = 0; i < f.cells.size(); ++i) check_cell(f.cells[i], i, f.mismatches);
  const TrainCell& stamp = f.cells[1];
  if (stamp.Word1 != kCellMark) {
    f.mismatches.push_back(cell_mismatch(1, "Word1", "holds " + num(stamp.Word1) + "; the stamp puts the mark 5121 here"));
  }
  const std::vector<ScenarioNames> readings = names_of_file(file_name, kTrainFileSuffix);
  bool named = readings.empty();
  for (const ScenarioNames& n : readings) named = named || plain_code(n) == stamp.Word2;
  if (!named) {
    const ScenarioNames& n = readings.back();
    f.mismatches.push_back(cell_mismatch(1, "Word2", "holds " + num(stamp.Word2) + ", but the check code of route '" +
                                                         n.RouteName + "' and train '" + n.TrainCode +
                                                         "', as the file is named, is " + num(plain_code(n))));
  }
  for (std::size_t i = f.cells.size() - 2; i < f.cells.size(); ++i) {
    for (const char* field : {"Byte4", "Byte5", "Byte6"}) {
      for (const CellField& c : cell_fields(f.cells[i])) {
        if (std::string_view(c.name) == field && c.value != 0) {
          f.mismatches.push_back(cell_mismatch(i, field, "holds " + num(c.value) +
                                                             "; the profiles leave the last two cells at 0"));
        }
      }
    }
  }
  return f;
}

LineFacts verify_linea(std::string_view bytes) {
  LineFacts f;
  f.size = bytes.size();
  std::optional<DecodeFault> fault;
  const std::vector<PlanValue> v = read_plan_values(bytes, fault);
  if (fault) {
    f.mismatches.push_back({fault->offset, fault->field, fault->problem});
    return f;
  }
  if (v.size() % 2 != 0 || v.size() < 8) {
    f.mismatches.push_back({bytes.size(), "end of file", "the file holds " + num(static_cast<std::int64_t>(v.size())) +
                                                             " values; a plan holds an X and a Y column of equal "
                                                             "length, at least 4 points each"});
    return f;
  }
  f.last_point = static_cast<std::int64_t>(v.size() / 2) - 1;
  check_plan(v, *f.last_point, f.mismatches);
  return f;
}

std::vector<SetMismatch> verify_set(const SimFacts* sim, const DatFacts* dat, const LineFacts* linea) {
  std::vector<SetMismatch> out;
  if (sim == nullptr || !sim->rows) return out;
  const ScenarioRows& rows = *sim->rows;
  const std::int32_t length = general_field(rows, kRouteLength);
  if (dat != nullptr && !dat->cells.empty()) {
    const std::int64_t cells = static_cast<std::int64_t>(dat->cells.size());
    const std::int64_t expected = static_cast<std::int64_t>(ultima_cella(length)) + 1;
    if (cells != expected) {
      out.push_back({SetFile::Dat, {static_cast<std::size_t>(std::min(cells, std::max<std::int64_t>(expected, 0))) *
                                        kCellBytes,
                                    "cell count",
                                    "the file holds " + num(cells) + " cells, but the route length " + num(length) +
                                        " m in the .sim gives " + num(expected) + " (one per 50 m, 7000 m past the end)"}});
    }
    const ScenarioNames names{general_field(rows, kRouteName), general_field(rows, kTrainCode)};
    if (dat->cells[1].Word2 != plain_code(names)) {
      out.push_back({SetFile::Dat, cell_mismatch(1, "Word2", "holds " + num(dat->cells[1].Word2) +
                                                                 ", but the .sim's route '" + names.RouteName +
                                                                 "' and train '" + names.TrainCode + "' give " +
                                                                 num(plain_code(names)) +
                                                                 ": the files are not of one scenario")});
    }
    for (std::size_t c = 0; c < dat->cells.size(); ++c) {
      const TrainCell& cell = dat->cells[c];
      if (cell.Kind == kind::kStop && cell.Word1 >= 1 && cell.Word1 <= kMaxStationRow) {
        const ScenarioRecord& r = rows[static_cast<std::size_t>(cell.Word1)];
        const std::int64_t stop = static_cast<std::int64_t>(std::nearbyint(r.End / static_cast<double>(kCellMetres))) - 1;
        if (use_of_row(rows, cell.Word1) != RowUse::Station || r.Kind >= kFirstKindWithoutStop ||
            stop != static_cast<std::int64_t>(c)) {
          out.push_back({SetFile::Dat, cell_mismatch(c, "Word1", "names row " + num(cell.Word1) +
                                                                     ", but that row's station stops in cell " +
                                                                     num(stop) + ", not here")});
        }
      }
      if (cell.Kind == kind::kSign && cell.Word1 >= 1 && cell.Word1 <= kFirstSignRow &&
          use_of_row(rows, cell.Word1) == RowUse::Station) {
        out.push_back({SetFile::Dat, cell_mismatch(c, "Word1", "names row " + num(cell.Word1) +
                                                                   ", which holds a station, not a sign text")});
      }
    }
  }
  if (linea != nullptr && linea->last_point && *linea->last_point != length + kTailPastRoute) {
    out.push_back({SetFile::Linea, {linea->size, "point count",
                                    "the plan runs to point " + num(*linea->last_point) + ", but the route length " +
                                        num(length) + " m in the .sim makes it run to " + num(length + kTailPastRoute)}});
  }
  return out;
}

}  // namespace scenario::tool
