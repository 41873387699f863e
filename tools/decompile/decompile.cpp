// Rebuilding the line and train sources from the three binary files, checked by compiling them back.
//
// Every value is read back as the one record that writes it in the
// canonical form (positions on the 50 m grid, one record where a profile
// changes, curves from the exact step of each plan point). The compiler's own
// marks (speed marks, approach marks, the tail, the stamps) are left to the
// compiler. The pair is then compiled in memory: it is kept only when all the
// files come out the same, byte for byte; otherwise the cells, rows or plan
// points that differ are named (the first twenty, then how many more) and
// nothing is kept.
#include "decompile/decompile.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <span>

#include "common/in_memory_compile.h"
#include "common/scenario_view.h"
#include "compiler/compile.h"
#include "model/account.h"
#include "model/binary_readers.h"
#include "model/compile_state.h"
#include "model/general_rows.h"
#include "model/source_files.h"
#include "parser/record_kinds.h"
#include "parser/track_plan.h"
#include "placement/placement.h"
#include "platform/failure.h"

namespace scenario::tool {
namespace {

// Reasons listed one by one; the rest are counted.
constexpr std::size_t kShownReasons = 20;
constexpr int kX = 0;
constexpr int kY = 1;
// The plan's last two points stay empty.
constexpr std::int32_t kEmptyPlanPoints = 2;
// The profiles (gradient, speed, adhesion) fill cells 0 to CellCount - 3.
constexpr std::int32_t kUnfilledProfileCells = 2;
// A signal's approach mark 2 cells behind it holds sides x 10 + 1.
constexpr std::int32_t kFirstSignalMarkGap = 2;
constexpr std::int32_t kSlowApproachCells = 4;
constexpr std::int32_t kSecondsPerHour = 3600;
constexpr std::int32_t kSecondsPerMinute = 60;
constexpr std::uint8_t kFlaggedRangeShift = 10;
// A flagged range puts a marker in every 4th of its cells.
constexpr std::int32_t kMarkerEvery = 4;
// The type a range takes when it starts within 150 m of the last one's end.
constexpr std::uint8_t kJoinedRangeType = 3;
constexpr std::uint8_t kShortZoneKinds[] = {5, 6};
constexpr std::uint8_t kWideZoneKinds[] = {7, 8};
constexpr std::int32_t kSignalTimeRaised = 101;
// The value of the compiler's speed marks (kind 12).
constexpr std::int16_t kSpeedMarkValue = 180;
// Compiles spent looking for reductions of 180 among the speed marks.
constexpr int kReductionRounds = 16;

std::string num(std::int64_t v) { return std::to_string(v); }

std::int32_t floor_div(std::int32_t a, std::int32_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }
std::int32_t floor_mod(std::int32_t a, std::int32_t b) { return a - floor_div(a, b) * b; }

bool among(std::uint8_t k, std::span<const std::uint8_t> kinds) {
  for (std::uint8_t x : kinds) {
    if (x == k) return true;
  }
  return false;
}

// "keyword,  a,  b": each value after a comma and two blanks, as the line source writes them.
std::string campi(std::string_view keyword, std::initializer_list<std::int64_t> values) {
  std::string line(keyword);
  for (std::int64_t v : values) line += ",  " + num(v);
  return line;
}

// The numbers right-aligned in their widths, as the train source writes them.
std::string colonne(std::string_view keyword, std::span<const std::int32_t> values, std::span<const std::size_t> widths) {
  std::string line(keyword);
  line += ',';
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (i > 0) line += ',';
    const std::string number = num(values[i]);
    if (number.size() < widths[i]) line.append(widths[i] - number.size(), ' ');
    line += number;
  }
  return line;
}

constexpr std::array<std::size_t, 2> kProfileWidths = {8, 6};
constexpr std::array<std::size_t, 16> kStationWidths = {8, 3, 5, 3, 2, 2, 3, 1, 1, 3, 1, 1, 5, 4, 2, 2};
constexpr std::array<std::size_t, 11> kSignalWidths = {8, 4, 2, 2, 3, 2, 5, 3, 1, 1, 2};

std::string testo(const std::vector<std::string>& lines) {
  std::string out;
  for (const std::string& l : lines) out += l + "\r\n";
  return out;
}

// The reasons of a refusal: the first kShownReasons written out, the rest
// only counted. A file can differ at every cell or metre of a long route; a
// reason for each would flood the report, and naming a reason's record
// counts the lines of a source up to it.
class Reasons {
 public:
  void add(std::string text) {
    add_lazily([&] { return std::move(text); });
  }
  // `text()` gives the reason; it is called only while reasons are shown.
  template <typename Text>
  void add_lazily(Text text) {
    if (shown_.size() < kShownReasons) {
      shown_.push_back(text());
    } else {
      ++more_;
    }
  }
  bool empty() const { return shown_.empty(); }
  std::vector<std::string> take() && {
    if (more_ > 0) shown_.push_back(num(more_) + " more cells, rows or plan points differ");
    return std::move(shown_);
  }

 private:
  std::vector<std::string> shown_;
  std::int64_t more_ = 0;
};

// What the decoders gave, and the reasons found so far.
struct Lettura {
  ScenarioRows rows{};
  std::vector<TrainCell> cells;
  std::optional<LinePlan> plan;
  std::int32_t last_cell = 0;
  Reasons reasons;
};

// The cells a profile fills, 0 to CellCount - 3.
std::int32_t last_profile_cell(const Lettura& f) { return f.last_cell - kUnfilledProfileCells - 1; }

// One record at cell 0 and one where the layer's value changes.
template <typename Value>
void profilo(const Lettura& f, std::vector<std::string>& out, std::string_view keyword, Value value) {
  std::int32_t previous = 0;
  for (std::int32_t c = 0; c <= last_profile_cell(f); ++c) {
    const std::int32_t v = value(f.cells[static_cast<std::size_t>(c)]);
    if (c == 0 || v != previous) out.push_back(campi(keyword, {std::int64_t{c} * kCellLength, v}));
    previous = v;
  }
}

// ---- line source -------------------------------------------------------

void generale_linea(const Lettura& f, std::vector<std::string>& out) {
  const ScenarioRows& r = f.rows;
  out.push_back("[generale]");
  out.push_back("lunghezza percorso,    " + num(general_field(r, kRouteLength)));
  // Rows 81 to 83 as the sort left them; a counting-down triple (flag 1)
  // holds its base plus 100.
  constexpr std::array<std::string_view, 3> kChainageWords = {"tre", "due", "uno"};
  for (int n = 2; n >= 0; --n) {
    const ScenarioRecord& row = r[static_cast<std::size_t>(kChainageRows[n])];
    const std::int32_t base = row.Position == 1 ? row.End - kCountdownBaseShift : row.End;
    out.push_back("progressiva chilometrica " + std::string(kChainageWords[static_cast<std::size_t>(n)]) + ",    " +
                  num(row.Start) + ",    " + num(base) + ",    " + num(row.Position));
  }
  out.push_back("sfondo uno,    " + num(general_field(r, kBackgroundOne)));
  out.push_back("sfondo due,    " + num(general_field(r, kBackgroundTwo)));
  out.push_back("sfondo tre,    " + num(general_field(r, kBackgroundThree)));
  const std::string codes = general_field(r, kRepetitionCodes) == 9 ? "9" : "4";
  out.push_back("ripetizione segnali " + codes + " codici,    " + num(general_field(r, kRepetitionStart)) + ",    " +
                num(general_field(r, kRepetitionEnd)));
}

// Which step drew point m from the two before it: 0 straight, else the rate.
// The step of the point before is tried first: a curve runs on for many
// points, so most points are found with one step computed.
std::optional<double> passo_di(const LinePlan& p, std::int32_t m, std::optional<double> before) {
  const double x1 = p.real(m - 1, kX), x2 = p.real(m - 2, kX), y1 = p.real(m - 1, kY), y2 = p.real(m - 2, kY);
  const double x = p.real(m, kX), y = p.real(m, kY);
  if (before && *before != 0) {
    const PuntoPiano curvo = passo_curvo(x1, x2, y1, y2, *before);
    if (curvo.x == x && curvo.y == y) return before;
  }
  const PuntoPiano dritto = passo_dritto(x1, x2, y1, y2);
  if (dritto.x == x && dritto.y == y) return 0.0;
  for (double rate : kCurveRates) {
    for (double a : {rate, -rate}) {
      const PuntoPiano curvo = passo_curvo(x1, x2, y1, y2, a);
      if (curvo.x == x && curvo.y == y) return a;
    }
  }
  return std::nullopt;
}

std::string parola_di_curva(double a) {
  for (std::size_t i = 0; i < kCurveRates.size(); ++i) {
    if (kCurveRates[i] == a || -kCurveRates[i] == a) return std::string("curva") + (a > 0 ? "d" : "s") + num(i + 1);
  }
  return "curva";
}

bool tagged(const LinePlan& p, std::int64_t m, LineTag tag) {
  return p.get(m, kX).tag == tag && p.get(m, kY).tag == tag;
}

// The curve records: each run of points turned by one rate.
void curve(Lettura& f, std::vector<std::string>& out) {
  out.push_back("[curve]");
  out.push_back("- curves from the step of every plan point: the rate of its class and side");
  const LinePlan& p = *f.plan;
  const std::int32_t last = p.last_point();
  const std::int32_t route = general_field(f.rows, kRouteLength);
  if (static_cast<std::int64_t>(last) != std::int64_t{route} + kTailPastRoute) {
    f.reasons.add("linea.dat: the plan runs to point " + num(last) + ", but the route length " + num(route) +
                  " m in the .sim makes it run to " + num(std::int64_t{route} + kTailPastRoute));
    return;
  }
  if (!tagged(p, 0, LineTag::Int16) || !tagged(p, 1, LineTag::Int16) || p.real(0, kX) != 0 || p.real(0, kY) != 0 ||
      p.real(1, kX) != 0 || p.real(1, kY) != 1) {
    f.reasons.add("plan points 0 and 1: the compiler starts every plan at (0, 0), (0, 1)");
    return;
  }
  for (std::int32_t m = last - kEmptyPlanPoints + 1; m <= last; ++m) {
    if (!tagged(p, m, LineTag::Empty)) f.reasons.add("plan point " + num(m) + ": the last two points stay empty");
  }
  std::optional<double> run;
  std::int32_t run_start = 0;
  auto close = [&](std::int32_t end) {
    if (run && *run != 0) out.push_back(campi(parola_di_curva(*run), {run_start - 1, end - run_start + 1}));
  };
  for (std::int32_t m = kFirstDrawnPoint; m <= last - kEmptyPlanPoints; ++m) {
    const std::optional<double> a = tagged(p, m, LineTag::Real) ? passo_di(p, m, run) : std::nullopt;
    if (!a) {
      f.reasons.add("plan point " + num(m) + ": no straight or curved step of any class leads there from the "
                    "two points before it");
      return;
    }
    if (!run || *a != *run) {
      close(m - 1);
      run = a;
      run_start = m;
    }
  }
  close(last - kEmptyPlanPoints);
}

void pendenze(const Lettura& f, std::vector<std::string>& out) {
  out.push_back("[pendenze]");
  out.push_back("- gradients from byte 5 of the cells less 100: one record where it changes");
  profilo(f, out, "pendenza", [](const TrainCell& c) { return std::int32_t{c.Byte5} - kGradientBias; });
}

// A run of cells of one type in byte 3: cells a to e - 1.
struct Corsa {
  std::int32_t a = 0;
  std::int32_t e = 0;
  std::uint8_t type = 0;
};

std::vector<Corsa> corse(const Lettura& f) {
  std::vector<Corsa> out;
  const auto n = static_cast<std::int32_t>(f.cells.size());
  for (std::int32_t c = 0; c < n;) {
    const std::uint8_t type = f.cells[static_cast<std::size_t>(c)].Byte3;
    std::int32_t e = c + 1;
    while (e < n && f.cells[static_cast<std::size_t>(e)].Byte3 == type) ++e;
    if (type != 0) out.push_back({c, e, type});
    c = e;
  }
  return out;
}

bool marcatore(const Lettura& f, std::int32_t c) { return f.cells[static_cast<std::size_t>(c)].Kind == kind::kRangeMarker; }

void montagna(std::vector<std::string>& out, std::int32_t a, std::int32_t e, std::int32_t tipo) {
  out.push_back(campi("montagna", {std::int64_t{a} * kCellLength, std::int64_t{e} * kCellLength, tipo}));
}

// One run as ranges: a flagged range marks every 4th cell from its start
// (where nothing else stands), so the markers' phase gives where each
// flagged range starts, and the first empty cell in that phase where it
// has ended; the part after it joins it and takes type 3.
void corsa_in_montagne(const Lettura& f, const Corsa& run, std::vector<std::string>& out) {
  for (std::int32_t start = run.a; start < run.e;) {
    std::int32_t m = start;
    while (m < run.e && !marcatore(f, m)) ++m;
    if (m == run.e) {
      montagna(out, start, run.e, run.type);
      return;
    }
    const std::int32_t flagged = m - (kMarkerEvery - 1);
    if ((m - start) % kMarkerEvery != kMarkerEvery - 1 && flagged > start) {
      montagna(out, start, flagged, run.type);
      start = flagged;
      continue;
    }
    std::int32_t k = start + kMarkerEvery - 1;
    while (k < run.e && f.cells[static_cast<std::size_t>(k)].Kind != kind::kEmpty) k += kMarkerEvery;
    // The range ended after its last marker and by cell k; a range flagged
    // after it, whose first marker follows, starts where this one ends.
    std::int32_t end = std::min(k, run.e);
    std::int32_t next = k - kMarkerEvery + 1;
    while (next < run.e && !marcatore(f, next)) ++next;
    if (next < run.e && next - (kMarkerEvery - 1) > std::max(k - kMarkerEvery, start) &&
        next - (kMarkerEvery - 1) < end) {
      end = next - (kMarkerEvery - 1);
    }
    montagna(out, start, end, run.type + kFlaggedRangeShift);
    start = end;
  }
}

// Ranges from byte 3 of the cells. A run of type 3 between two runs of one
// other type is a range nested in a longer one: the longer range first,
// then the nested one, which its nearness forces to type 3.
void montagne(Lettura& f, std::vector<std::string>& out) {
  out.push_back("[montagne]");
  out.push_back("- ranges from byte 3 of the cells: a run with range markers was flagged (type plus 10)");
  const std::vector<Corsa> runs = corse(f);
  for (std::size_t i = 0; i < runs.size(); ++i) {
    if (i + 2 < runs.size() && runs[i].e == runs[i + 1].a && runs[i + 1].e == runs[i + 2].a &&
        runs[i + 1].type == kJoinedRangeType && runs[i].type == runs[i + 2].type && runs[i].type != kJoinedRangeType) {
      const Corsa whole{runs[i].a, runs[i + 2].e, runs[i].type};
      corsa_in_montagne(f, whole, out);
      montagna(out, runs[i + 1].a, runs[i + 1].e, kJoinedRangeType);
      i += 2;
      continue;
    }
    corsa_in_montagne(f, runs[i], out);
  }
}

// The position that places an object in cell c: the cell after its own.
std::int64_t posizione_dopo(std::size_t c) { return (static_cast<std::int64_t>(c) - 1) * kCellLength; }

// A word v x 20 + d / 5, read back with d in 0 to 95.
std::pair<std::int32_t, std::int32_t> velocita_di_tabella(std::int16_t w) {
  return {floor_div(w, 20), floor_mod(w, 20) * 5};
}

void indicatori(const Lettura& f, std::vector<std::string>& out) {
  out.push_back("[cartelli]");
  for (std::size_t c = 0; c < f.cells.size(); ++c) {
    const TrainCell& cell = f.cells[c];
    if (cell.Kind != kind::kSpeedBoard) continue;
    const auto [vas, vad] = velocita_di_tabella(cell.Word1);
    const auto [vbs, vbd] = velocita_di_tabella(cell.Word2);
    const auto [vcs, vcd] = velocita_di_tabella(cell.Word3);
    out.push_back(campi("indicatori_vmax", {posizione_dopo(c), vas, vbs, vcs, floor_div(cell.Word4, 10), vad, vbd, vcd,
                                            floor_mod(cell.Word4, 10)}));
  }
}

// Signs, in the order that gives each its row: rows count down from 80.
void cartelli(Lettura& f, std::vector<std::string>& out) {
  out.push_back("[indicazioni]");
  std::array<std::optional<std::size_t>, kFirstSignRow + 1> cell_of_row{};
  for (std::size_t c = 0; c < f.cells.size(); ++c) {
    const TrainCell& cell = f.cells[c];
    if (cell.Kind != kind::kSign) continue;
    if (cell.Word1 < 1 || cell.Word1 > kFirstSignRow || cell_of_row[static_cast<std::size_t>(cell.Word1)]) {
      f.reasons.add_lazily([&] {
        return "cell " + num(static_cast<std::int64_t>(c)) + ": a sign naming row " + num(cell.Word1) +
               ", which no one sign record can give";
      });
      continue;
    }
    cell_of_row[static_cast<std::size_t>(cell.Word1)] = c;
  }
  int row = kFirstSignRow;
  for (; row >= 1 && cell_of_row[static_cast<std::size_t>(row)]; --row) {
    const std::size_t c = *cell_of_row[static_cast<std::size_t>(row)];
    out.push_back("cartello_indicatore,  " + num(posizione_dopo(c)) + ",   " + f.rows[static_cast<std::size_t>(row)].Name);
  }
  for (int r = row; r >= 1; --r) {
    if (cell_of_row[static_cast<std::size_t>(r)]) {
      f.reasons.add("row " + num(r) + ": a sign text, but row " + num(row) +
                    " above it has no sign cell, and sign rows are taken from 80 down without a gap");
      return;
    }
  }
}

std::string sorgente_linea(Lettura& f) {
  std::vector<std::string> out;
  out.push_back("- line source rebuilt from the binary files by scenario_tool decompile");
  generale_linea(f, out);
  if (f.plan) curve(f, out);
  pendenze(f, out);
  montagne(f, out);
  indicatori(f, out);
  cartelli(f, out);
  out.push_back("[fine]");
  return testo(out);
}

// ---- train source ------------------------------------------------------

void generale_treno(const Lettura& f, std::vector<std::string>& out) {
  const ScenarioRows& r = f.rows;
  out.push_back("[generale]");
  out.push_back("numero vetture,    " + num(general_field(r, kCars)));
  out.push_back("percentuale massa frenata,    " + num(general_field(r, kBrakedMass)));
  out.push_back("sabbia,    " + num(general_field(r, kSand)));
  // Hours, minutes and seconds separated by blanks only.
  out.push_back("orologio,    " + num(general_field(r, kClockHours)) + std::string(15, ' ') +
                num(general_field(r, kClockMinutes)) + std::string(13, ' ') + num(general_field(r, kClockSeconds)) +
                " ");
  out.push_back("[aderenze]");
  out.push_back("- adhesion from byte 6 of the cells: one record where it changes");
  profilo(f, out, "aderenza", [](const TrainCell& c) { return std::int32_t{c.Byte6}; });
  out.push_back("[vel_limite]");
  out.push_back("- speed limits from byte 4 of the cells times 5");
  for (std::int32_t c = 0, previous = -1; c <= last_profile_cell(f); ++c) {
    const std::int32_t v = std::int32_t{f.cells[static_cast<std::size_t>(c)].Byte4} * 5;
    if (v != previous) {
      const std::array<std::int32_t, 2> values = {c * kCellLength, v};
      out.push_back(colonne("velocita", values, kProfileWidths));
    }
    previous = v;
  }
}

// The station of row k: the length and the third flag from its zone.
std::string stazione(const ScenarioRecord& row, int k) {
  std::int32_t length = row.Position - row.Start;
  std::int32_t third = row.Byte3;
  if (!among(row.Kind, kShortZoneKinds) && !among(row.Kind, kWideZoneKinds)) {
    length *= 2;
    // The first station's third flag is cleared after it added 50 m to the zone's end.
    if (k == 1) third = row.End == row.Position + length / 2 + kCellLength ? 1 : 0;
  }
  const std::array<std::int32_t, 16> values = {row.Position,
                                               row.Kind,
                                               length,
                                               row.Flag,
                                               row.Byte4,
                                               third,
                                               row.Word1,
                                               row.Word2,
                                               row.Byte1,
                                               row.Word3,
                                               row.Word4,
                                               row.Word5,
                                               row.Byte2,
                                               row.Time / kSecondsPerHour,
                                               row.Time % kSecondsPerHour / kSecondsPerMinute,
                                               row.Time % kSecondsPerMinute};
  return colonne("stazione", values, kStationWidths) + ", " + row.Name;
}

void stazioni(const Lettura& f, std::vector<std::string>& out) {
  out.push_back("[stazioni]");
  for (int k = 1; k < kFirstSignRow && use_of_row(f.rows, k) == RowUse::Station; ++k) {
    out.push_back(stazione(f.rows[static_cast<std::size_t>(k)], k));
  }
}

// A slow order from its start cell: the end is the next end cell with the
// same speed and flag; the approach flag from the four approach cells.
void rallentamenti(const Lettura& f, std::vector<std::string>& out) {
  out.push_back("[rallentamenti]");
  const auto n = static_cast<std::int32_t>(f.cells.size());
  for (std::int32_t st = 0; st < n; ++st) {
    const TrainCell& start = f.cells[static_cast<std::size_t>(st)];
    if (start.Kind != kind::kSlowStart) continue;
    const std::int64_t x = posizione_dopo(static_cast<std::size_t>(st));
    std::int64_t length = 0;
    for (std::int32_t e = st + 1; e < n; ++e) {
      const TrainCell& end = f.cells[static_cast<std::size_t>(e)];
      if (end.Kind == kind::kSlowEnd && end.Word1 == start.Word1 && end.Word3 == start.Word3) {
        length = std::int64_t{e - st} * kCellLength;
        break;
      }
    }
    const std::int64_t b = st - 1 - kWarningDistance / kCellLength;
    bool approach = b - (kSlowApproachCells - 1) >= 0 && b < n;
    for (std::int32_t i = 0; approach && i < kSlowApproachCells; ++i) {
      const TrainCell& a = f.cells[static_cast<std::size_t>(b - i)];
      approach = a.Kind == kind::kSlowApproach && a.Word1 == i + 1;
    }
    out.push_back(campi("rallentamento", {x, start.Word1, length, start.Word3, approach ? 1 : 0, start.Word2}));
  }
}

// A signal from its cell: the sides from its first approach mark (else
// word 4's last digit), left kind 2 when it holds a time.
void segnali(const Lettura& f, std::vector<std::string>& out) {
  out.push_back("[segnali]");
  for (std::size_t i = 0; i < f.cells.size(); ++i) {
    const TrainCell& c = f.cells[i];
    if (c.Kind != kind::kSignal) continue;
    std::int32_t sides = floor_mod(c.Word4, 10);
    if (i >= kFirstSignalMarkGap) {
      const std::int32_t mark = f.cells[i - kFirstSignalMarkGap].Byte2;
      if (mark % 10 == 1) sides = mark / 10;
    }
    std::int32_t sx = sides / 3;
    if (c.Byte1 != 0) sx = 2;
    const std::int32_t dx = sides - 3 * sx;
    const std::int32_t rapp = floor_div(c.Word4 - sides, 10);
    const std::int32_t tempo = c.Byte1 == kSignalTimeRaised ? kSignalTimeRaised : c.Byte1;
    const std::array<std::int32_t, 11> values = {static_cast<std::int32_t>(posizione_dopo(i)),
                                                 sx,
                                                 floor_div(c.Word1, 10),
                                                 floor_div(c.Word2, 10),
                                                 floor_div(c.Word3, 10),
                                                 rapp,
                                                 dx,
                                                 floor_mod(c.Word1, 10),
                                                 floor_mod(c.Word2, 10),
                                                 floor_mod(c.Word3, 10),
                                                 tempo};
    out.push_back(colonne("segnale", values, kSignalWidths));
  }
}

void abbattimenti(const std::vector<std::int32_t>& cells, const Lettura& f, std::vector<std::string>& out) {
  if (cells.empty()) return;
  out.push_back("[abbattimenti]");
  out.push_back("- speed reductions: the kind 12 and 13 cells that are not the compiler's own speed marks");
  for (std::int32_t c : cells) {
    const TrainCell& cell = f.cells[static_cast<std::size_t>(c)];
    out.push_back(campi("abbattimento", {std::int64_t{c} * kCellLength, cell.Kind == kind::kReductionValue ? cell.Word1 : 0}));
  }
}

std::string sorgente_treno(const Lettura& f, const std::vector<std::int32_t>& reductions) {
  std::vector<std::string> out;
  out.push_back("- train source rebuilt from the binary files by scenario_tool decompile");
  generale_treno(f, out);
  stazioni(f, out);
  rallentamenti(f, out);
  segnali(f, out);
  abbattimenti(reductions, f, out);
  out.push_back("[codici]");
  out.push_back("[fine]");
  return testo(out);
}

// ---- compiling back ----------------------------------------------------

// The rebuilt pair compiled; its files only when it compiles clean. The
// account, which names the record that wrote each piece, is kept only when
// asked: it is needed only to explain a difference. The plan's file is not
// serialised: the compiled plan is compared with the file's bytes in place.
using Ricompilato = InMemoryCompile;

Ricompilato ricompila(const SourcePair& pair, bool line_plan, bool account = false) {
  Ricompilato r = compile_in_memory(pair.names, pair.line, pair.train,
                                    scenario::CompileOptions{.line_plan = line_plan, .account = account},
                                    PlanBytes::Skipped);
  if (r.result.report.StatusCode != 0) r.files.reset();
  return r;
}

// The record or compiler step that wrote a piece of the recompiled output.
std::string autore(const Ricompilato& r, const SourcePair& pair, Owner who) {
  const Account& a = *r.result.account;
  if (who < 0 || static_cast<std::size_t>(who) >= a.records.size()) return std::string(owner_name(who));
  const AccountRecord& rec = a.records[static_cast<std::size_t>(who)];
  const std::string& text = rec.source == SourceId::Line ? pair.line : pair.train;
  std::size_t line = 1;
  for (std::size_t i = 0; i < rec.start && i < text.size(); ++i) line += text[i] == '\n' ? 1 : 0;
  return "the " + std::string(record_layout(rec.kind).name) + " record on line " + num(static_cast<std::int64_t>(line)) +
         " of the rebuilt " + (rec.source == SourceId::Line ? "line" : "train") + " source";
}

std::string cella_testo(const TrainCell& c) {
  return "kind " + num(c.Kind) + " words " + num(c.Word1) + " " + num(c.Word2) + " " + num(c.Word3) + " " +
         num(c.Word4) + " bytes " + num(c.Byte1) + " " + num(c.Byte2) + " " + num(c.Byte3) + " " + num(c.Byte4) +
         " " + num(c.Byte5) + " " + num(c.Byte6);
}

// The first layer of the cell that differs, for its writer.
CellLayer strato_diverso(const TrainCell& a, const TrainCell& b) {
  if (a.Kind != b.Kind || a.Word1 != b.Word1 || a.Word2 != b.Word2 || a.Word3 != b.Word3 || a.Word4 != b.Word4 ||
      a.Byte1 != b.Byte1) {
    return CellLayer::Object;
  }
  if (a.Byte2 != b.Byte2) return CellLayer::Approach;
  if (a.Byte3 != b.Byte3) return CellLayer::Range;
  if (a.Byte4 != b.Byte4) return CellLayer::Speed;
  if (a.Byte5 != b.Byte5) return CellLayer::Gradient;
  return CellLayer::Adhesion;
}

void differenze(const Lettura& f, const Ricompilato& r, const SourcePair& pair, Reasons& reasons) {
  const Scenario& s = r.result.scenario;
  const Account& a = *r.result.account;
  if (s.TrainCells.size() != f.cells.size()) {
    reasons.add(".dat: the files hold " + num(static_cast<std::int64_t>(f.cells.size())) +
                " cells, the rebuilt sources give " + num(static_cast<std::int64_t>(s.TrainCells.size())));
  } else {
    for (std::size_t c = 0; c < f.cells.size(); ++c) {
      if (f.cells[c] == s.TrainCells[c]) continue;
      const auto i = static_cast<std::int64_t>(c);
      reasons.add_lazily([&] {
        return "cell " + num(i) + " (" + num(i * kCellLength) + " m): the file holds " + cella_testo(f.cells[c]) +
               "; the rebuilt sources give " + cella_testo(s.TrainCells[c]) + ", written by " +
               autore(r, pair, a.cell_owner(i, strato_diverso(f.cells[c], s.TrainCells[c])));
      });
    }
  }
  for (int row = 0; row < kScenarioRows; ++row) {
    const auto k = static_cast<std::size_t>(row);
    if (f.rows[k] == s.ScenarioTable[k]) continue;
    reasons.add_lazily([&] {
      return "row " + num(row) + " (" + row_use_name(use_of_row(f.rows, row)) +
             "): no record the rebuilt sources hold gives what the file holds there";
    });
  }
  if (f.plan && s.LineCells.exists()) {
    const LinePlan& want = *f.plan;
    const LinePlan& got = s.LineCells;
    if (want.last_point() != got.last_point()) {
      reasons.add("linea.dat: the plan has " + num(want.last_point() + 1) + " points, the rebuilt sources give " +
                  num(got.last_point() + 1));
      return;
    }
    for (std::int64_t m = 0; m <= want.last_point(); ++m) {
      bool same = true;
      for (int col : {kX, kY}) {
        const LineCell x = want.get(m, col), y = got.get(m, col);
        // Bit for bit: -0.0 and 0.0 are equal values in other bytes.
        same = same && x.tag == y.tag &&
               (x.tag == LineTag::Empty || std::bit_cast<std::uint64_t>(x.value) == std::bit_cast<std::uint64_t>(y.value));
      }
      if (same) continue;
      reasons.add_lazily(
          [&] { return "plan point " + num(m) + ": the rebuilt sources draw it elsewhere, by " + autore(r, pair, a.plan_owner(m)); });
    }
  }
}

// The reductions the sources held. A kind 13 cell, and a kind 12 cell whose
// value is not the speed marks' 180, is one for sure. A kind 12 cell of 180
// is a speed mark, unless the compile leaves that cell without one: such
// cells are taken one at a time from the start of the route, since each
// reduction moves the marks after it.
std::vector<std::int32_t> riduzioni_certe(const Lettura& f) {
  std::vector<std::int32_t> out;
  for (std::size_t c = 0; c < f.cells.size(); ++c) {
    const TrainCell& cell = f.cells[c];
    if (cell.Kind == kind::kReductionPlain || (cell.Kind == kind::kReductionValue && cell.Word1 != kSpeedMarkValue)) {
      out.push_back(static_cast<std::int32_t>(c));
    }
  }
  return out;
}

// The first cell whose kind 12 of 180 the compile does not give.
std::optional<std::int32_t> riduzione_mancante(const Lettura& f, const Ricompilato& r) {
  const std::vector<TrainCell>& got = r.result.scenario.TrainCells;
  for (std::size_t c = 0; c < f.cells.size() && c < got.size(); ++c) {
    const TrainCell& cell = f.cells[c];
    if (cell.Kind == kind::kReductionValue && cell.Word1 == kSpeedMarkValue && got[c] != cell) {
      return static_cast<std::int32_t>(c);
    }
  }
  return std::nullopt;
}

Lettura leggi(const BinaryFiles& files) {
  Lettura f;
  try {
    f.rows = decode_sim(files.sim, ".sim").rows;
    f.cells = decode_dat(files.dat, ".dat");
    if (files.linea) f.plan = decode_linea(*files.linea, "linea.dat");
  } catch (const Failure& e) {
    f.reasons.add(e.what());
    return f;
  }
  const std::int32_t route = general_field(f.rows, kRouteLength);
  if (route < 0 || route > kMaxRouteLength) {
    f.reasons.add("row 84: the route length " + num(route) + " m is outside what the compiler accepts (0 to " +
                  num(kMaxRouteLength) + ")");
    return f;
  }
  f.last_cell = ultima_cella(route);
  if (static_cast<std::int64_t>(f.cells.size()) != std::int64_t{f.last_cell} + 1) {
    f.reasons.add(".dat: the file holds " + num(static_cast<std::int64_t>(f.cells.size())) +
                  " cells, but the route length " + num(route) + " m gives " + num(std::int64_t{f.last_cell} + 1));
  }
  return f;
}

}  // namespace

DecompileOutcome decompila(const BinaryFiles& files) {
  DecompileOutcome outcome;
  Lettura f = leggi(files);
  if (!f.reasons.empty()) {
    outcome.reasons = std::move(f.reasons).take();
    return outcome;
  }
  SourcePair pair;
  pair.names = ScenarioNames{general_field(f.rows, kRouteName), general_field(f.rows, kTrainCode)};
  pair.line = sorgente_linea(f);
  if (!f.reasons.empty()) {
    outcome.reasons = std::move(f.reasons).take();
    return outcome;
  }
  const bool line_plan = f.plan.has_value();
  std::vector<std::int32_t> reductions = riduzioni_certe(f);
  pair.train = sorgente_treno(f, reductions);
  Ricompilato r = ricompila(pair, line_plan);
  for (int round = 0; round < kReductionRounds && r.files; ++round) {
    const std::optional<std::int32_t> c = riduzione_mancante(f, r);
    if (!c) break;
    reductions.insert(std::upper_bound(reductions.begin(), reductions.end(), *c), *c);
    pair.train = sorgente_treno(f, reductions);
    r = ricompila(pair, line_plan);
  }
  if (!r.files) {
    const Report& s = r.result.report;
    std::string why = r.result.failure ? std::string(r.result.failure->what())
                      : r.result.guard ? "the stamp guard fails with code " + num(status_number(*r.result.guard))
                                       : "the compiler sets status " + num(s.StatusCode) + " at " +
                                             num(s.StatusPosition) + " m";
    outcome.reasons.push_back("the sources rebuilt from the files do not compile clean: " + why +
                              "; files written from sources with errors, or by another program, cannot be rebuilt");
    return outcome;
  }
  const bool same = r.files->sim == files.sim && r.files->dat == files.dat &&
                    plan_matches(r.result, files.linea);
  if (same) {
    outcome.pair = std::move(pair);
    return outcome;
  }
  Reasons reasons;
  r = ricompila(pair, line_plan, true);
  differenze(f, r, pair, reasons);
  if (reasons.empty()) reasons.add("the rebuilt sources give other bytes where no cell, row or point differs");
  outcome.reasons = std::move(reasons).take();
  return outcome;
}

}  // namespace scenario::tool
