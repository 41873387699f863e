// Classification of scenario rows and train cells, and the runs of the cell profiles.
#include "common/scenario_view.h"

namespace scenario::tool {

bool is_blank_row(const ScenarioRecord& r) { return r == ScenarioRecord{}; }

RowUse use_of_row(const ScenarioRows& rows, int row) {
  if (row >= kChainageRows[0] && row <= kChainageRows[2]) return RowUse::Chainage;
  if (row == kRouteRow) return RowUse::Route;
  if (row == kStampRow) return RowUse::Stamp;
  if (row == kTrainRow) return RowUse::Train;
  if (row < 1 || row > kFirstSignRow) return RowUse::Unused;
  const ScenarioRecord& r = rows[static_cast<std::size_t>(row)];
  if (is_blank_row(r)) return RowUse::Unused;
  ScenarioRecord name_only;
  name_only.Name = r.Name;
  return r == name_only ? RowUse::Sign : RowUse::Station;
}

std::string row_use_name(RowUse use) {
  switch (use) {
    case RowUse::Unused: return "unused";
    case RowUse::Station: return "station";
    case RowUse::Sign: return "sign text";
    case RowUse::Chainage: return "chainage";
    case RowUse::Route: return "route";
    case RowUse::Stamp: return "route name and stamp";
    case RowUse::Train: return "train";
  }
  return "unused";
}

std::string kind_name(std::uint8_t kind) {
  switch (kind) {
    case kind::kEmpty: return "empty";
    case kind::kSignal: return "signal";
    case kind::kSlowEnd: return "slow-order end";
    case kind::kSlowStart: return "slow-order start";
    case kind::kSlowWarning: return "slow-order warning";
    case kind::kSlowApproach: return "slow-order approach";
    case kind::kSpeedBoard: return "speed indicator board";
    case kind::kStop: return "station stop";
    case kind::kRangeMarker: return "montagna marker";
    case kind::kReductionValue: return "speed reduction mark";
    case kind::kReductionPlain: return "speed reduction point";
    case kind::kSign: return "indication sign";
    default: return "kind " + std::to_string(kind);
  }
}

std::vector<StationView> stations_of(const ScenarioRows& rows) {
  std::vector<StationView> out;
  for (int r = 1; r <= kFirstSignRow; ++r) {
    if (use_of_row(rows, r) == RowUse::Station) out.push_back({r, &rows[static_cast<std::size_t>(r)]});
  }
  return out;
}

std::vector<SignView> signs_of(const ScenarioRows& rows, const std::vector<TrainCell>& cells) {
  std::vector<SignView> out;
  for (std::size_t i = 0; i < cells.size(); ++i) {
    if (cells[i].Kind != kind::kSign) continue;
    SignView s{i, cells[i].Word1, {}};
    if (s.row >= 0 && s.row < kScenarioRows) s.text = rows[static_cast<std::size_t>(s.row)].Name;
    out.push_back(s);
  }
  return out;
}

std::vector<std::size_t> cells_of_kind(const std::vector<TrainCell>& cells, std::uint8_t kind) {
  std::vector<std::size_t> out;
  for (std::size_t i = 0; i < cells.size(); ++i) {
    if (cells[i].Kind == kind) out.push_back(i);
  }
  return out;
}

std::vector<Run> runs_of(const std::vector<TrainCell>& cells, CellByte field) {
  std::vector<Run> out;
  for (std::size_t i = 0; i < cells.size(); ++i) {
    int v = cells[i].*field;
    if (!out.empty() && out.back().value == v && out.back().last + 1 == i) {
      out.back().last = i;
    } else {
      out.push_back({i, i, v});
    }
  }
  return out;
}

std::vector<Tunnel> tunnels_of(const std::vector<TrainCell>& cells) {
  std::vector<Tunnel> out;
  std::size_t i = 0;
  while (i < cells.size()) {
    if (cells[i].Byte3 == 0) {
      ++i;
      continue;
    }
    Tunnel t{i, i};
    bool marked = false;
    for (; i < cells.size() && cells[i].Byte3 != 0; ++i) {
      t.last = i;
      marked = marked || cells[i].Kind == kind::kRangeMarker;
    }
    if (marked) out.push_back(t);
  }
  return out;
}

std::string squeeze_blanks(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == ' ' && (out.empty() || out.back() == ' ' || out.back() == '(')) continue;
    if (c == ')' && !out.empty() && out.back() == ' ') out.pop_back();
    out.push_back(c);
  }
  while (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

}  // namespace scenario::tool
