// Writes seed inputs for the fuzz targets: the built-in sources, the small
// companions, and the binary files compiled from them.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

#include "compiler/compile.h"
#include "compiler/memorizza_percorso.h"
#include "content/place_names.h"
#include "fuzz_compile.h"
#include "model/binary_writers.h"
#include "model/source_files.h"

namespace {

namespace fs = std::filesystem;
using namespace scenario;
using namespace scenario::fuzz;

// Points of the plan kept in the line file seed: enough for its first curve.
constexpr std::int32_t kSeedPlanPoints = 300;

// The first byte of a fuzz_binary_files input: which kind of file follows.
constexpr char kSimSeed = 0, kDatSeed = 1, kLineaSeed = 2;

void write_seed(const fs::path& dir, const std::string& name, const std::string& bytes) {
  fs::create_directories(dir);
  std::ofstream out(dir / name, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write a seed in " + dir.string());
}

std::string pair(const std::string& line, const std::string& train) { return line + std::string(1, '\0') + train; }

// The companions compiled with the plan: their .sim, .dat and the start of the plan.
void write_binary_seeds(const fs::path& dir) {
  SourceFiles sources = SourceFiles::in_memory(companion_line(), companion_train());
  const CompileResult r = compile(ScenarioNames{std::string(names::kRouteName), std::string(names::kTrainCode)},
                                  CompileOptions{}, sources);
  if (r.guard || r.failure || r.report.StatusCode != 0) throw std::runtime_error("the companions do not compile");
  const BinaryFiles files = serialise_all(r);
  LinePlan start;
  start.create(kSeedPlanPoints - 1);
  for (std::int32_t m = 0; m < kSeedPlanPoints; ++m) {
    for (int col = 0; col < 2; ++col) {
      const LineCell c = r.scenario.LineCells.get(m, col);
      if (c.tag == LineTag::Int16) start.set_int(m, col, static_cast<std::int16_t>(c.value));
      if (c.tag == LineTag::Real) start.set_real(m, col, c.value);
    }
  }
  write_seed(dir, "sim", std::string(1, kSimSeed) + files.sim);
  write_seed(dir, "dat", std::string(1, kDatSeed) + files.dat);
  write_seed(dir, "linea_start", std::string(1, kLineaSeed) + serialise_linea(start));
}

}  // namespace

// Usage: fuzz_seeds CORPUS_ROOT; writes CORPUS_ROOT/<target>/<seed>.
int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: fuzz_seeds CORPUS_ROOT\n", stderr);
    return 2;
  }
  try {
    const fs::path root = argv[1];
    write_seed(root / "fuzz_line", "built_in", built_in_line());
    write_seed(root / "fuzz_line", "companion", companion_line());
    write_seed(root / "fuzz_train", "built_in", built_in_train());
    write_seed(root / "fuzz_train", "companion", companion_train());
    for (const char* target : {"fuzz_pair", "fuzz_tool_compile", "fuzz_decompile"}) {
      write_seed(root / target, "built_in", pair(built_in_line(), built_in_train()));
      write_seed(root / target, "companion", pair(companion_line(), companion_train()));
    }
    write_binary_seeds(root / "fuzz_binary_files");
  } catch (const std::exception& e) {
    std::fprintf(stderr, "fuzz_seeds: %s\n", e.what());
    return 2;
  }
  return 0;
}
