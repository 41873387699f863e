// The generator's path: the compile, then the write sequence of the three binary files.
#include "compiler/memorizza_percorso.h"

#include "model/binary_writers.h"
#include "platform/atomic_file.h"

namespace scenario {

BinaryFiles serialise_all(const CompileResult& r, PlanBytes plan) {
  BinaryFiles f;
  if (r.CompileLine != 0 && plan == PlanBytes::Serialised) f.linea = serialise_linea(r.scenario.LineCells);
  f.sim = serialise_sim(r.scenario.ScenarioTable);
  f.dat = serialise_dat(r.scenario.TrainCells);
  return f;
}

bool plan_matches(const CompileResult& r, const std::optional<std::string>& linea) {
  if (!linea) return r.CompileLine == 0;
  return r.CompileLine != 0 && linea_matches(r.scenario.LineCells, *linea);
}

void write_all(const BinaryFiles& files, const std::filesystem::path& dir, const ScenarioNames& names) {
  if (files.linea) write_file_atomically(line_file(dir, names), *files.linea);
  write_file_atomically(scenario_file(dir, names), files.sim);
  write_file_atomically(train_file(dir, names), files.dat);
}

namespace {

// The record that wrote a row's name, and the name's field in it: its last text field.
std::optional<RecordPlace> name_place(const Account& a, std::int64_t row) {
  const Owner who = a.row_owner(row, RowField::Name);
  if (who < 0 || static_cast<std::size_t>(who) >= a.records.size()) return std::nullopt;
  const AccountRecord& r = a.records[static_cast<std::size_t>(who)];
  const std::span<const FieldSpan> fields = a.fields_of(r);
  for (std::size_t i = fields.size(); i-- > 0;) {
    if (!fields[i].numeric) return RecordPlace{r.source, r.kind, r.start, fields[i].start, static_cast<int>(i + 1)};
  }
  return std::nullopt;
}

}  // namespace

BinaryFiles serialise_recorded(CompileResult& r, PlanBytes plan) {
  try {
    return serialise_all(r, plan);
  } catch (const Failure& f) {
    const std::optional<std::int64_t> row = f.detail().row;
    Diagnostic d;
    if (row && *row >= 0 && *row < kScenarioRows) {
      if (r.account) {
        if (const std::optional<RecordPlace> place = name_place(*r.account, *row)) {
          d = diagnostica_a(Status::RuntimeFailure, *place);
        }
      }
      d.row = static_cast<std::int32_t>(*row);
    }
    d.status = Status::RuntimeFailure;
    d.failure = f.detail();
    r.report.Diagnostics.push_back(d);
    throw;
  }
}

CompileResult memorizza_percorso(const ScenarioNames& names, SourceFiles& sources, const std::filesystem::path& dir) {
  CompileResult r = compile(names, CompileOptions{}, sources);
  if (r.failure) throw *r.failure;
  if (!r.guard) write_all(serialise_recorded(r), dir, names);
  return r;
}

}  // namespace scenario
