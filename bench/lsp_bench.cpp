// Time from an editor's didChange to the published diagnostics of both sources, for the built-in pair and a 1000 km route.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "content/text_writer.h"
#include "content/writers.h"
#include "lsp/server.h"
#include "model/scenario_files.h"
#include "route_generator.h"

namespace scenario::bench {
namespace {

using tool::lsp::Frame;
using tool::lsp::Json;

constexpr std::int32_t kLongRouteKm = 1000;
constexpr int kSamples = 200;
constexpr double kP95 = 0.95;

// A server with both sources of a pair open; each change sends the train
// source again, one character different each time, as typing does.
class OpenPair {
 public:
  OpenPair(const std::string& line, const std::string& train) : train_(tool::lsp::latin1_to_utf8(train)) {
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "lsp_bench";
    const ScenarioNames names{"Castrovelde_Ardis", "R31708"};
    // The pair is found on disk, as the editor's files are.
    std::filesystem::create_directories(dir);
    std::ofstream(line_source_file(dir, names), std::ios::binary) << line;
    std::ofstream(train_source_file(dir, names), std::ios::binary) << train;
    line_uri_ = tool::lsp::uri_of_path(line_source_file(dir, names));
    train_uri_ = tool::lsp::uri_of_path(train_source_file(dir, names));
    send({{"jsonrpc", "2.0"}, {"id", 1}, {"method", "initialize"}, {"params", {{"capabilities", Json::object()}}}});
    open(line_uri_, tool::lsp::latin1_to_utf8(line));
    open(train_uri_, train_);
  }
  // Returns how many files had their diagnostics published: both, when the pair compiled.
  std::size_t change() {
    ++version_;
    const std::string text = train_ + "-" + std::to_string(version_ % 10) + "\r\n";
    std::size_t shown = 0;
    for (const std::string& body : send({{"jsonrpc", "2.0"},
                                         {"method", "textDocument/didChange"},
                                         {"params",
                                          {{"textDocument", {{"uri", train_uri_}, {"version", version_}}},
                                           {"contentChanges", {{{"text", text}}}}}}})) {
      shown += body.find("publishDiagnostics") != std::string::npos ? 1 : 0;
    }
    return shown;
  }

 private:
  std::vector<std::string> send(const Json& m) { return server_.handle({Frame{m.dump(), ""}}); }
  void open(const std::string& uri, const std::string& text) {
    send({{"jsonrpc", "2.0"},
          {"method", "textDocument/didOpen"},
          {"params", {{"textDocument", {{"uri", uri}, {"languageId", "scenario"}, {"version", 1}, {"text", text}}}}}});
  }
  tool::lsp::Server server_;
  std::string train_;
  std::string line_uri_, train_uri_;
  std::int64_t version_ = 1;
};

double p95(const std::vector<double>& v) {
  std::vector<double> s(v);
  std::sort(s.begin(), s.end());
  return s[static_cast<std::size_t>(kP95 * static_cast<double>(s.size() - 1))];
}

constexpr std::size_t kPairFiles = 2;

void run(benchmark::State& st, OpenPair& pair) {
  for (auto _ : st) {
    if (pair.change() != kPairFiles) {
      st.SkipWithError("the change did not publish the diagnostics of both sources");
      break;
    }
  }
}

void BM_LspChangeBuiltIn(benchmark::State& st) {
  static OpenPair pair(render_lines(righe_linea()), render_lines(righe_treno()));
  run(st, pair);
}
BENCHMARK(BM_LspChangeBuiltIn)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(kSamples)
    ->ComputeStatistics("p95", p95)
    ->ReportAggregatesOnly(true);

void BM_LspChangeLongRoute(benchmark::State& st) {
  static const GeneratedSources sources = generate_sources(kLongRouteKm);
  static OpenPair pair(sources.line, sources.train);
  run(st, pair);
}
BENCHMARK(BM_LspChangeLongRoute)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(kSamples)
    ->ComputeStatistics("p95", p95)
    ->ReportAggregatesOnly(true);

}  // namespace
}  // namespace scenario::bench

BENCHMARK_MAIN();
