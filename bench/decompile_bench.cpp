// Decompile speed: the built-in scenario and generated routes up to 1000 km, each a decompile and its check compile.
#include <benchmark/benchmark.h>

#include "bench_support.h"
#include "compiler/memorizza_percorso.h"
#include "content/text_writer.h"
#include "content/writers.h"
#include "decompile/decompile.h"
#include "route_generator.h"

namespace scenario::bench {
namespace {

BinaryFiles files_of(const std::string& line, const std::string& train) {
  CompileResult c = compile_texts(line, train);
  if (auto problem = compile_problem(c)) throw std::runtime_error("the route did not compile: " + *problem);
  return serialise_all(c);
}

void decompile_loop(benchmark::State& st, const BinaryFiles& files) {
  for (auto _ : st) {
    tool::DecompileOutcome out = tool::decompila(files);
    if (!out.pair) {
      st.SkipWithError("the files were refused");
      break;
    }
    benchmark::DoNotOptimize(out.pair->line.data());
  }
}

// The built-in pair's three files decompiled and checked.
void BM_DecompileBuiltIn(benchmark::State& st) {
  decompile_loop(st, files_of(render_lines(righe_linea()), render_lines(righe_treno())));
}
BENCHMARK(BM_DecompileBuiltIn)->Unit(benchmark::kMillisecond);

// A generated route of st.range(0) km.
void BM_DecompileScaling(benchmark::State& st) {
  const GeneratedSources src = generate_sources(static_cast<std::int32_t>(st.range(0)));
  decompile_loop(st, files_of(src.line, src.train));
  st.counters["km"] = static_cast<double>(st.range(0));
}
BENCHMARK(BM_DecompileScaling)->Arg(96)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace scenario::bench

BENCHMARK_MAIN();
