// The compiler's shared state, owned by the compile driver and passed by reference.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/account.h"
#include "model/diagnostic.h"
#include "model/general_rows.h"
#include "model/line_plan.h"
#include "model/scenario_files.h"
#include "model/scenario_record.h"
#include "model/train_cell.h"

namespace scenario {

// The most fields a record reads after its keyword (the station's 17).
inline constexpr int kMaxRecordFields = 17;

// The tail of train cells past the route's end, in metres.
inline constexpr std::int32_t kTailPastRoute = 7000;

// Where the record being read stands, field by field. The passes keep it;
// a placement routine that refuses the record is handed it, so that the
// diagnostic names the record and the field at fault.
struct RecordAt {
  SourceId source = SourceId::None;
  RecordKind kind = RecordKind::None;  // None while a keyword field is read
  std::size_t record_offset = 0;       // the keyword field
  int fields_read = 0;                 // fields begun after the keyword, the one being read included
  std::array<std::size_t, kMaxRecordFields + 1> field_offsets{};  // [0] is the keyword
};

// Where a record stands, and the one field of it that matters.
struct RecordPlace {
  SourceId source = SourceId::None;
  RecordKind kind = RecordKind::None;
  std::size_t record_offset = 0;
  std::size_t field_offset = 0;
  int field_index = 0;
};

// A placed signal or slow order, for the rules checked after the passes.
struct PlacedRecord {
  std::int32_t position = 0;  // its first value, in metres
  RecordPlace place;          // the position field
};

// What the passes hand to the steps after them (the speed marks, the stamp
// guard): where the things they left came from, so that a rule broken there
// can name the record behind it. The passes fill it as they go.
struct Origins {
  std::vector<PlacedRecord> signals;
  std::vector<PlacedRecord> slow_orders;
  std::optional<RecordPlace> cell_one_word1;  // the first record that made cell 1's Word1 non-zero
  std::optional<RecordPlace> cell_one_word2;  // the same for Word2
};

// What the three files hold: the scenario table, the train cells, the plan.
struct Scenario {
  ScenarioRows ScenarioTable{};

  // Train cells 0 to CellCount; empty until the route length record is read.
  std::vector<TrainCell> TrainCells;
  std::int32_t CellCount = -1;

  LinePlan LineCells;
};

// What the compile says of the sources: the legacy status word, which keeps
// the last code, and every rule that broke, recorded where it broke, in the
// order it broke. Written through segnala and the recording calls beside it.
struct Report {
  std::int32_t StatusCode = 0;
  std::int32_t StatusPosition = 0;
  std::vector<Diagnostic> Diagnostics;
};

// The state of one compile: the scenario, the report and the account, which
// the compile hands back. The record being read and what the passes note as
// they go are the passes' own and live with them.
struct CompileState {
  std::string RouteName;
  std::string TrainCode;
  std::int32_t CompileLine = 0;

  Scenario scenario;
  Report report;
  // What became of every record, and who wrote each piece of output; kept
  // only when the caller asks (the authors' tool). The generator keeps none
  // and pays nothing for it.
  std::optional<Account> account;
};

// The sentence of the runtime failure that ended the passes, or "" when none did.
inline std::string frase_del_guasto(const Report& r) {
  for (auto it = r.Diagnostics.rbegin(); it != r.Diagnostics.rend(); ++it) {
    if (!it->failure_text.empty()) return it->failure_text;
  }
  return {};
}

// Sets the status word's code and records the broken rule at the record
// `at`, `field` being the index of the field at fault (0 the keyword; none
// for the record as a whole). Returns the diagnostic, for the caller to add
// the cell, the metres and what the cell held.
Diagnostic& segnala(Report& r, const RecordAt& at, Status status, std::optional<int> field);

// The diagnostic of a broken rule at a record remembered from the passes.
Diagnostic diagnostica_a(Status status, const RecordPlace& place);

// The last train cell of a route length: (RouteLength + kTailPastRoute) /
// kCellLength rounded half to even; negative when the length gives no cells.
std::int32_t ultima_cella(std::int32_t route_length);

// Creates the train cell array for a route length: cells 0 to
// ultima_cella(route_length), which becomes CellCount.
void crea_celle(CompileState& s, std::int32_t route_length);

// Checked access to a train cell; throws Failure outside 0..scenario.CellCount or when
// the array was never created.
TrainCell& cella(CompileState& s, std::int64_t index);
const TrainCell& cella(const CompileState& s, std::int64_t index);

// Whether a record at `position` lies past the train cells: (position +
// margin) / kCellLength, computed as a real, is greater than CellCount.
bool oltre_le_celle(const Scenario& s, std::int64_t position, std::int32_t margin);
inline bool oltre_le_celle(const CompileState& s, std::int64_t position, std::int32_t margin) {
  return oltre_le_celle(s.scenario, position, margin);
}

// Checked access to a scenario row (0..86).
ScenarioRecord& riga(CompileState& s, std::int64_t row);
const ScenarioRecord& riga(const CompileState& s, std::int64_t row);

// The stores: checked access to a cell or a row that is about to be written,
// noted in the account as written by `who` (by default the writer in
// progress: the record being read, or the compiler's step).
TrainCell& scrivi_cella(CompileState& s, std::int64_t index, CellLayer layer);
TrainCell& scrivi_cella(CompileState& s, std::int64_t index, CellLayer layer, Owner who);
ScenarioRecord& scrivi_riga(CompileState& s, std::int64_t row, RowField field);
ScenarioRecord& scrivi_riga(CompileState& s, std::int64_t row, RowField field, Owner who);
// The same for a general row's field named by what it holds.
template <typename T>
T& scrivi_campo(CompileState& s, const GeneralField<T>& f) {
  return scrivi_riga(s, f.row, f.field).*f.member;
}
template <typename T>
T& scrivi_campo(CompileState& s, const GeneralField<T>& f, Owner who) {
  return scrivi_riga(s, f.row, f.field, who).*f.member;
}
// A plan point was drawn by the writer in progress.
inline void scrivi_punto(CompileState& s, std::int64_t point) {
  if (s.account) conta_punto(*s.account, point, s.account->writer);
}

// The whole row is written by the writer in progress (a station's row).
ScenarioRecord& scrivi_riga_intera(CompileState& s, std::int64_t row);

// The writer in progress (kNone when no account is kept).
inline Owner scrivente_attuale(const CompileState& s) { return s.account ? s.account->writer : owner::kNone; }

// Makes `who` the writer in progress (for the compiler's own steps); returns
// the one it replaces.
Owner scrivente(CompileState& s, Owner who);

}  // namespace scenario
