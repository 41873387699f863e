// The compile driver and the write sequence of the three binary files.
#include "compiler/memorizza_percorso.h"

#include "model/scenario_files.h"
#include "platform/atomic_file.h"
#include "model/binary_writers.h"
#include "parser/passes.h"
#include "placement/post_processing.h"
#include "placement/stamp.h"

namespace scenario {

std::optional<std::string> compila(CompileState& s, std::int32_t j, SourceFiles& sources) {
  s.CompileLine = j;
  s.StatusCode = 0;
  for (auto& row : s.ScenarioTable) row = ScenarioRecord{};
  // A state reused for a second compile must not let the arrays of the first
  // stand in for a source that never sizes them.
  s.TrainCells.clear();
  s.CellCount = -1;
  s.LineCells.clear();
  s.Ranges = RangeList{};
  s.FieldNotes.clear();
  memorizza_dati(s, sources);
  elabora_celle(s);
  return timbra(s);
}

BinaryFiles serialise_all(const CompileState& s) {
  BinaryFiles f;
  if (s.CompileLine != 0) f.linea = serialise_linea(s.LineCells);
  f.sim = serialise_sim(s.ScenarioTable);
  f.dat = serialise_dat(s.TrainCells);
  return f;
}

void write_all(const BinaryFiles& files, const std::filesystem::path& dir, const ScenarioNames& names) {
  if (files.linea) write_file_atomically(line_file(dir, names), *files.linea);
  write_file_atomically(scenario_file(dir, names), files.sim);
  write_file_atomically(train_file(dir, names), files.dat);
}

std::optional<std::string> memorizza_percorso(CompileState& s, std::int32_t j, SourceFiles& sources,
                                              const std::filesystem::path& dir) {
  if (auto code = compila(s, j, sources)) return code;
  write_all(serialise_all(s), dir, ScenarioNames{s.RouteName, s.TrainCode});
  return std::nullopt;
}

}  // namespace scenario
