// The compiler's shared state, owned by the compile driver and passed by reference.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "model/diagnostic.h"
#include "model/line_plan.h"
#include "model/scenario_files.h"
#include "model/scenario_record.h"
#include "model/train_cell.h"

namespace scenario {

// The "montagna" range list: entries 1 to 80 (entry 0 is never used).
struct RangeList {
  static constexpr int kCapacity = 80;
  std::array<std::int32_t, kCapacity + 1> Starts{};
  std::array<std::int32_t, kCapacity + 1> Ends{};
  std::int32_t Count = 0;
  std::int32_t Flag = 0;  // set for one call when the type came in above 10
};

// Where the passes stand in their source text: the keyword field of the
// record being handled and the last field read. It lets an author's tool
// point at the record that set the status word.
struct SourceTrace {
  SourceId source = SourceId::None;
  std::size_t record_offset = 0;
  std::size_t field_offset = 0;
};

// What the passes did with a keyword field, noted for the authors' tool.
enum class FieldUse : std::uint8_t {
  Record,      // it started at least one record
  Ignored,     // it matched no record (section headers included)
  UnreadLast,  // it was the last field of the text, so it was never examined
};

struct FieldNote {
  SourceId source = SourceId::None;
  FieldUse use = FieldUse::Ignored;
  std::size_t offset = 0;  // byte offset of the field in its text
  std::string text;
};

struct CompileState {
  std::string RouteName;
  std::string TrainCode;
  std::int32_t CompileLine = 0;

  ScenarioRows ScenarioTable{};

  // Train cells 0 to CellCount; empty until the route length record is read.
  std::vector<TrainCell> TrainCells;
  std::int32_t CellCount = -1;

  LinePlan LineCells;
  RangeList Ranges;

  std::int32_t StatusCode = 0;
  std::int32_t StatusPosition = 0;

  SourceTrace Trace;

  // The reason of the runtime failure that ended the passes with status 25.
  std::string LastFailure;

  // Every rule that broke, recorded where it broke, in the order it broke.
  // The status word above keeps only the last; the authors' tool reports these.
  std::vector<Diagnostic> Diagnostics;

  // Filled only when NoteFields is set (the authors' tool); the generator
  // leaves it off and pays nothing for it.
  bool NoteFields = false;
  std::vector<FieldNote> FieldNotes;
};

// Records a keyword field's use when notes are wanted.
inline void annota(CompileState& s, SourceId source, FieldUse use, std::size_t offset, const std::string& text) {
  if (s.NoteFields) s.FieldNotes.push_back(FieldNote{source, use, offset, text});
}

// Creates the train cell array for a route length: cells 0 to CellCount,
// CellCount = (RouteLength + 7000) / 50 rounded half to even.
void crea_celle(CompileState& s, std::int32_t route_length);

// Checked access to a train cell; throws Failure outside 0..CellCount or when
// the array was never created.
TrainCell& cella(CompileState& s, std::int64_t index);
const TrainCell& cella(const CompileState& s, std::int64_t index);

// Whether a record at `position` lies past the train cells: (position +
// margin) / 50, computed as a real, is greater than CellCount.
bool oltre_le_celle(const CompileState& s, std::int64_t position, std::int32_t margin);

// Checked access to a scenario row (0..86).
ScenarioRecord& riga(CompileState& s, std::int64_t row);

}  // namespace scenario
