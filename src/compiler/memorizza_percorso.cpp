// The generator's path: the compile, then the write sequence of the three binary files.
#include "compiler/memorizza_percorso.h"

#include "model/binary_writers.h"
#include "platform/atomic_file.h"

namespace scenario {

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

BinaryFiles serialise_recorded(CompileState& s) {
  try {
    return serialise_all(s);
  } catch (const Failure& f) {
    const std::optional<std::int64_t> row = f.detail().row;
    Diagnostic d;
    if (row && *row >= 0 && *row < kScenarioRows) {
      d = diagnostica_a(Status::RuntimeFailure, s.Origin.names[static_cast<std::size_t>(*row)]);
      d.row = static_cast<std::int32_t>(*row);
    }
    d.status = Status::RuntimeFailure;
    d.failure = f.detail();
    s.Diagnostics.push_back(d);
    throw;
  }
}

CompileResult memorizza_percorso(const ScenarioNames& names, SourceFiles& sources, const std::filesystem::path& dir) {
  CompileResult r = compile(names, CompileOptions{}, sources);
  if (r.failure) throw *r.failure;
  if (!r.guard) write_all(serialise_recorded(r.state), dir, names);
  return r;
}

}  // namespace scenario
