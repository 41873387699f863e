// Speed of the compiler, the file output and the whole run, and how the
// compile grows with the route's length.
#include <benchmark/benchmark.h>

#include <string>

#include "app/form_load.h"
#include "bench_support.h"
#include "content/place_names.h"
#include "content/text_writer.h"
#include "content/writers.h"
#include "route_generator.h"

namespace scenario::bench {
namespace {

const ScenarioNames kNames{std::string(names::kRouteName), std::string(names::kTrainCode)};

// Stops the benchmark with the reason when a compile did not end cleanly, so
// that a figure never stands for a run that gave up half-way.
bool compiled_cleanly(benchmark::State& st, const CompileResult& c) {
  if (auto problem = compile_problem(c)) {
    st.SkipWithError(problem->c_str());
    return false;
  }
  return true;
}

void BM_CompileBuiltIn(benchmark::State& st) {
  const std::string line = render_lines(righe_linea());
  const std::string train = render_lines(righe_treno());
  for (auto _ : st) {
    CompileResult c = compile_texts(line, train);
    if (!compiled_cleanly(st, c)) break;
    benchmark::DoNotOptimize(c.scenario.TrainCells.data());
  }
}
BENCHMARK(BM_CompileBuiltIn)->Unit(benchmark::kMillisecond);

void BM_CompileAndWrite(benchmark::State& st) {
  const std::string line = render_lines(righe_linea());
  const std::string train = render_lines(righe_treno());
  ScratchDir dir;
  for (auto _ : st) {
    CompileResult c = compile_texts(line, train);
    if (!compiled_cleanly(st, c)) break;
    write_all(serialise_all(c), dir.path(), kNames);
  }
}
BENCHMARK(BM_CompileAndWrite)->Unit(benchmark::kMillisecond);

// The program's whole job without a display: five text files, the compile,
// the three binary files.
void BM_WholeRun(benchmark::State& st) {
  ScratchDir dir;
  MutedStderr muted;
  for (auto _ : st) {
    if (Form_Load(dir.path()).has_value()) {
      st.SkipWithError("the stamp guard stopped the run");
      break;
    }
  }
}
BENCHMARK(BM_WholeRun)->Unit(benchmark::kMillisecond);

// Compile and serialisation of a generated route of st.range(0) km; the
// per_km counter is the time per kilometre and must not grow with length.
void BM_Scaling(benchmark::State& st) {
  const auto km = static_cast<std::int32_t>(st.range(0));
  const GeneratedSources src = generate_sources(km);
  std::size_t bytes = 0;
  for (auto _ : st) {
    CompileResult c = compile_texts(src.line, src.train);
    if (!compiled_cleanly(st, c)) break;
    BinaryFiles files = serialise_all(c);
    bytes = files.sim.size() + files.dat.size() + (files.linea ? files.linea->size() : 0);
    benchmark::DoNotOptimize(files.dat.data());
  }
  st.counters["km"] = static_cast<double>(km);
  st.counters["per_km"] = benchmark::Counter(static_cast<double>(km),
                                             benchmark::Counter::kIsIterationInvariantRate |
                                                 benchmark::Counter::kInvert);
  st.counters["out_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_Scaling)->Arg(96)->Arg(250)->Arg(500)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace scenario::bench

BENCHMARK_MAIN();
