// Compiling the sources in memory and naming the first cell, row or plan point where the files part from them.
#include "verify/verify_sources.h"

#include <string>
#include <vector>

#include "common/binary_files.h"
#include "common/diagnostics.h"
#include "common/in_memory_compile.h"
#include "common/shown_text.h"
#include "common/source_dir.h"
#include "compiler/compile.h"
#include "compiler/memorizza_percorso.h"
#include "model/scenario_files.h"
#include "parser/record_kinds.h"
#include "platform/failure.h"

namespace scenario::tool {
namespace {

// The sources as compiled, and what they left.
struct Compiled {
  SourceTexts texts;
  CompileResult result;
  std::optional<BinaryFiles> files;
};

// "written by the speed limit at valle/Valle_R100-.txt:9:1", by one of the
// compiler's own steps, or by nobody when the value is what an unwritten field
// holds.
std::string writer_words(const Compiled& c, Owner who, bool drawn = false) {
  const Account& a = *c.result.account;
  const std::string by = drawn ? "drawn by " : "written by ";
  if (who == owner::kNone) return drawn ? "which nothing in the sources draws" : "which nothing in the sources writes";
  if (who < 0 || static_cast<std::size_t>(who) >= a.records.size()) return by + std::string(owner_name(who));
  const AccountRecord& r = a.records[static_cast<std::size_t>(who)];
  const TextPlace p = text_place(c.texts.text(r.source), r.start);
  return by + "the " + std::string(record_layout(r.kind).name) + " at " + shown_utf8(c.texts.file(r.source)) +
         ":" + std::to_string(p.line) + ":" + std::to_string(p.column);
}

// A cell's fields in file order, with the layer of the owner map each belongs to.
struct CellField {
  const char* name;
  CellLayer layer;
  std::int64_t (*get)(const TrainCell&);
};
const CellField kCellFields[] = {
    {"kind", CellLayer::Object, [](const TrainCell& c) -> std::int64_t { return c.Kind; }},
    {"word 1", CellLayer::Object, [](const TrainCell& c) -> std::int64_t { return c.Word1; }},
    {"word 2", CellLayer::Object, [](const TrainCell& c) -> std::int64_t { return c.Word2; }},
    {"word 3", CellLayer::Object, [](const TrainCell& c) -> std::int64_t { return c.Word3; }},
    {"word 4", CellLayer::Object, [](const TrainCell& c) -> std::int64_t { return c.Word4; }},
    {"signal time (byte 1)", CellLayer::Object, [](const TrainCell& c) -> std::int64_t { return c.Byte1; }},
    {"approach mark (byte 2)", CellLayer::Approach, [](const TrainCell& c) -> std::int64_t { return c.Byte2; }},
    {"range type (byte 3)", CellLayer::Range, [](const TrainCell& c) -> std::int64_t { return c.Byte3; }},
    {"speed limit / 5 (byte 4)", CellLayer::Speed, [](const TrainCell& c) -> std::int64_t { return c.Byte4; }},
    {"gradient + 100 (byte 5)", CellLayer::Gradient, [](const TrainCell& c) -> std::int64_t { return c.Byte5; }},
    {"adhesion (byte 6)", CellLayer::Adhesion, [](const TrainCell& c) -> std::int64_t { return c.Byte6; }},
};

std::string dat_difference(const Compiled& c, std::string_view bytes, const std::string& name) {
  const std::vector<TrainCell> file = decode_dat(bytes, name);
  const std::vector<TrainCell>& want = c.result.scenario.TrainCells;
  for (std::size_t i = 0; i < file.size() && i < want.size(); ++i) {
    if (file[i] == want[i]) continue;
    for (const CellField& f : kCellFields) {
      const std::int64_t got = f.get(file[i]), expected = f.get(want[i]);
      if (got == expected) continue;
      return "train cell " + std::to_string(i) + " (" + std::to_string(static_cast<std::int64_t>(i) * kCellLength) +
             " m), " + f.name + ": the file holds " + std::to_string(got) + ", the sources give " +
             std::to_string(expected) + ", " +
             writer_words(c, c.result.account->cell_owner(static_cast<std::int64_t>(i), f.layer));
    }
  }
  return "the file has " + std::to_string(file.size()) + " train cells, the sources give " +
         std::to_string(want.size());
}

struct RowFieldView {
  const char* name;
  RowField field;
  std::string (*get)(const ScenarioRecord&);
};
template <typename T>
std::string text_of(T v) {
  return std::to_string(v);
}
const RowFieldView kRowFieldViews[] = {
    {"kind", RowField::Kind, [](const ScenarioRecord& r) { return text_of(+r.Kind); }},
    {"start", RowField::Start, [](const ScenarioRecord& r) { return text_of(r.Start); }},
    {"end", RowField::End, [](const ScenarioRecord& r) { return text_of(r.End); }},
    {"position", RowField::Position, [](const ScenarioRecord& r) { return text_of(r.Position); }},
    {"flag", RowField::Flag, [](const ScenarioRecord& r) { return text_of(+r.Flag); }},
    {"name", RowField::Name, [](const ScenarioRecord& r) { return quoted_utf8(r.Name); }},
    {"word 1", RowField::Word1, [](const ScenarioRecord& r) { return text_of(r.Word1); }},
    {"word 2", RowField::Word2, [](const ScenarioRecord& r) { return text_of(r.Word2); }},
    {"word 3", RowField::Word3, [](const ScenarioRecord& r) { return text_of(r.Word3); }},
    {"word 4", RowField::Word4, [](const ScenarioRecord& r) { return text_of(r.Word4); }},
    {"word 5", RowField::Word5, [](const ScenarioRecord& r) { return text_of(r.Word5); }},
    {"byte 1", RowField::Byte1, [](const ScenarioRecord& r) { return text_of(+r.Byte1); }},
    {"byte 2", RowField::Byte2, [](const ScenarioRecord& r) { return text_of(+r.Byte2); }},
    {"byte 3", RowField::Byte3, [](const ScenarioRecord& r) { return text_of(+r.Byte3); }},
    {"byte 4", RowField::Byte4, [](const ScenarioRecord& r) { return text_of(+r.Byte4); }},
    {"time", RowField::Time, [](const ScenarioRecord& r) { return text_of(r.Time); }},
};

std::string sim_difference(const Compiled& c, std::string_view bytes, const std::string& name) {
  const SimFile file = decode_sim(bytes, name);
  for (int row = 0; row < kScenarioRows; ++row) {
    const ScenarioRecord& got = file.rows[static_cast<std::size_t>(row)];
    const ScenarioRecord& want = c.result.scenario.ScenarioTable[static_cast<std::size_t>(row)];
    if (got == want) continue;
    for (const RowFieldView& f : kRowFieldViews) {
      if (f.get(got) == f.get(want)) continue;
      return "scenario row " + std::to_string(row) + ", " + f.name + ": the file holds " + f.get(got) +
             ", the sources give " + f.get(want) + ", " +
             writer_words(c, c.result.account->row_owner(row, f.field));
    }
  }
  return "the bytes differ where no row field does";
}

std::string point_words(const LineCell& p) {
  switch (p.tag) {
    case LineTag::Empty: return "nothing";
    case LineTag::Int16: return std::to_string(static_cast<std::int64_t>(p.value));
    case LineTag::Real: break;
  }
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.17g", p.value);
  return buffer;
}

std::string linea_difference(const Compiled& c, std::string_view bytes, const std::string& name) {
  const LineValues file = decode_linea(bytes, name);
  const LinePlan& plan = c.result.scenario.LineCells;
  const std::size_t points = static_cast<std::size_t>(plan.last_point() + 1);
  if (file.x.size() != points) {
    return "the file has " + std::to_string(file.x.size()) + " plan points, the sources give " +
           std::to_string(points);
  }
  for (std::size_t m = 0; m < points; ++m) {
    for (int col = 0; col < 2; ++col) {
      const LineCell got = (col == 0 ? file.x : file.y)[m];
      const LineCell want = plan.get(static_cast<std::int64_t>(m), col);
      if (got.tag == want.tag && (got.tag == LineTag::Empty || got.value == want.value)) continue;
      return std::string("plan point ") + std::to_string(m) + " m, " + (col == 0 ? "X" : "Y") + ": the file holds " +
             point_words(got) + ", the sources give " + point_words(want) + ", " +
             writer_words(c, c.result.account->plan_owner(static_cast<std::int64_t>(m)), true);
    }
  }
  return "the bytes differ where no plan point does";
}

Compiled compile_sources(const std::filesystem::path& dir, const VerifyOptions& options, bool line_plan) {
  const SourceSelection chosen = select_sources(dir, options.route, options.train);
  Compiled c;
  const std::filesystem::path line = line_source_file(chosen.dir, chosen.names);
  const std::filesystem::path train = train_source_file(chosen.dir, chosen.names);
  c.texts.line_file = line.string();
  c.texts.train_file = train.string();
  c.texts.line = read_binary_file(line);
  c.texts.train = read_binary_file(train);
  InMemoryCompile compiled = compile_in_memory(chosen.names, c.texts.line, c.texts.train,
                                               scenario::CompileOptions{.line_plan = line_plan, .account = true});
  c.result = std::move(compiled.result);
  c.files = std::move(compiled.files);
  return c;
}

}  // namespace

std::size_t compare_with_sources(const std::filesystem::path& dir, const VerifyOptions& options,
                                 const BinarySet& files, std::ostream& out) {
  const Compiled c = compile_sources(dir, options, files.linea.has_value());
  if (c.files && c.result.report.StatusCode != 0) {
    out << shown_utf8(dir.string()) << ": the sources have errors ('scenario_tool check' lists them); the files "
        << "are compared with what the generator writes from them all the same\n";
  }
  std::size_t differing = 0;
  const auto compare = [&](const std::optional<std::filesystem::path>& path, const std::string* want,
                           std::string (*difference)(const Compiled&, std::string_view, const std::string&)) {
    if (!path) return;
    const std::string shown = shown_utf8(path->string());
    if (!c.files) {
      out << shown << ": the sources in " << shown_utf8(dir.string())
          << " compile to no file ('scenario_tool check' says why)\n";
      ++differing;
      return;
    }
    const std::string bytes = read_binary_file(*path);
    if (bytes == *want) {
      out << shown << ": same bytes as the sources\n";
      return;
    }
    ++differing;
    std::string what;
    try {
      what = difference(c, bytes, path->filename().string());
    } catch (const Failure& f) {
      what = f.what();
    }
    out << shown << ": differs from the sources: " << what << "\n";
  };
  const BinaryFiles none;
  const BinaryFiles& f = c.files ? *c.files : none;
  compare(files.sim, &f.sim, sim_difference);
  compare(files.dat, &f.dat, dat_difference);
  compare(files.linea, f.linea ? &*f.linea : &f.sim, linea_difference);
  return differing;
}

}  // namespace scenario::tool
