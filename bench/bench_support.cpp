// Compiles, scratch directories and a muted stderr for the benchmarks.
#include "bench_support.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <stdexcept>

#include "content/place_names.h"
#include "model/source_files.h"

namespace scenario::bench {

CompileResult compile_texts(const std::string& line, const std::string& train) {
  SourceFiles sources = SourceFiles::in_memory(line, train);
  return compile(ScenarioNames{std::string(names::kRouteName), std::string(names::kTrainCode)}, CompileOptions{},
                 sources);
}

std::optional<std::string> compile_problem(const CompileResult& c) {
  const CompileResult& s = c;
  if (c.guard) return "stamp guard " + std::to_string(status_number(*c.guard));
  if (c.failure) return c.failure->what();
  if (const std::string f = frase_del_guasto(s.report); !f.empty()) return f;
  if (s.report.StatusCode != 0) {
    return "status " + std::to_string(s.report.StatusCode) + " at " + std::to_string(s.report.StatusPosition) + " m";
  }
  return std::nullopt;
}

ScratchDir::ScratchDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "scenario_bench_XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot create a scratch directory");
  path_ = pattern;
}

ScratchDir::~ScratchDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

MutedStderr::MutedStderr() {
  std::fflush(stderr);
  saved_ = ::dup(STDERR_FILENO);
  int null = ::open("/dev/null", O_WRONLY);
  if (null >= 0) {
    ::dup2(null, STDERR_FILENO);
    ::close(null);
  }
}

MutedStderr::~MutedStderr() {
  std::fflush(stderr);
  if (saved_ >= 0) {
    ::dup2(saved_, STDERR_FILENO);
    ::close(saved_);
  }
}

}  // namespace scenario::bench
