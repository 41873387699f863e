// The yardstick for the whole run: a copy of its six files that reaches the disk.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/form_load.h"
#include "bench_support.h"
#include "content/place_names.h"
#include "model/scenario_files.h"

namespace scenario::bench {
namespace {

// The six files a run leaves in `dir`.
std::vector<std::filesystem::path> run_outputs(const std::filesystem::path& dir) {
  const ScenarioNames n{std::string(names::kRouteName), std::string(names::kTrainCode)};
  return {line_file(dir, n), scenario_file(dir, n),  train_file(dir, n),
          note_file(dir, n), rallentamenti_file(dir, n), scheda_file(dir, n)};
}

bool sync_path(const std::filesystem::path& p) {
  const int fd = ::open(p.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool synced = ::fsync(fd) == 0;
  return ::close(fd) == 0 && synced;
}

// cp of the six files a run leaves, then an fsync of each copy: what any
// program that writes the same bytes durably must at least spend.
void BM_DurableCopy(benchmark::State& st) {
  ScratchDir from;
  ScratchDir to;
  {
    MutedStderr muted;
    if (Form_Load(from.path()).has_value()) {
      st.SkipWithError("the stamp guard stopped the run that makes the files to copy");
      return;
    }
  }
  const std::vector<std::filesystem::path> files = run_outputs(from.path());
  for (auto _ : st) {
    for (const auto& f : files) {
      const std::filesystem::path copy = to.path() / f.filename();
      std::filesystem::copy_file(f, copy, std::filesystem::copy_options::overwrite_existing);
      if (!sync_path(copy)) {
        st.SkipWithError("cannot sync a copy");
        return;
      }
    }
  }
}
BENCHMARK(BM_DurableCopy)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace scenario::bench
