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

// A JSON string literal of a source text (its bytes as Latin-1 characters).
std::string json_text(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    const auto b = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (b < 0x20 || b >= 0x80) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", b);
      out += escaped;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

std::string framed(const std::string& body) { return "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body; }

// An editor's session on the train source: open, change, the requests at a
// station's line, and shutdown.
std::string lsp_session(const std::string& train) {
  const std::string uri = "\"file:///fuzz/" + std::string(names::kRouteName) + "_" + std::string(names::kTrainCode) + "-.txt\"";
  const std::string doc = "{\"textDocument\":{\"uri\":" + uri;
  const std::string at = doc + "},\"position\":{\"line\":5,\"character\":3}";
  std::string out = framed(R"({"jsonrpc":"2.0","method":"initialized","params":{}})");
  out += framed(R"({"jsonrpc":"2.0","method":"textDocument/didOpen","params":)" + doc +
                R"(,"languageId":"scenario","version":1,"text":)" + json_text(train) + "}}}");
  out += framed(R"({"jsonrpc":"2.0","method":"textDocument/didChange","params":)" + doc +
                R"(,"version":2},"contentChanges":[{"text":)" + json_text(train + "stazzione, 10\r\n") + "}]}}");
  int id = 1;
  for (const char* method : {"hover", "completion", "definition", "references"}) {
    out += framed(R"({"jsonrpc":"2.0","id":)" + std::to_string(id++) + R"(,"method":"textDocument/)" + method +
                  R"(","params":)" + at + "}}");
  }
  // A quick fix asked for an ordering warning on the station's line.
  out += framed(R"({"jsonrpc":"2.0","id":)" + std::to_string(id++) +
                R"(,"method":"textDocument/codeAction","params":)" + doc +
                R"(},"range":{"start":{"line":5,"character":10},"end":{"line":5,"character":15}},)"
                R"("context":{"diagnostics":[{"range":{"start":{"line":5,"character":10},)"
                R"("end":{"line":5,"character":15}},"code":"unordered-station","message":"m"}]}}})");
  for (const char* method : {"documentSymbol", "formatting"}) {
    out += framed(R"({"jsonrpc":"2.0","id":)" + std::to_string(id++) + R"(,"method":"textDocument/)" + method +
                  R"(","params":)" + doc + "}}}");
  }
  out += framed(R"({"jsonrpc":"2.0","id":99,"method":"shutdown"})");
  out += framed(R"({"jsonrpc":"2.0","method":"exit"})");
  return out;
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
    write_seed(root / "fuzz_lsp", "session", lsp_session(companion_train()));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "fuzz_seeds: %s\n", e.what());
    return 2;
  }
  return 0;
}
