// What the benchmarks share: compiles, a scratch directory, a muted stderr.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "model/compile_state.h"
#include "compiler/memorizza_percorso.h"

namespace scenario::bench {

// Compiles two texts in memory with the built-in names.
CompileResult compile_texts(const std::string& line, const std::string& train);

// Why a compile did not end cleanly (guard, runtime failure, status word).
std::optional<std::string> compile_problem(const CompileResult& c);

// A fresh directory under the system's temporary directory, removed with
// everything in it when the object goes.
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// Sends stderr to /dev/null while it lives (the console wait window writes
// "Attendere" on every run).
class MutedStderr {
 public:
  MutedStderr();
  ~MutedStderr();
  MutedStderr(const MutedStderr&) = delete;
  MutedStderr& operator=(const MutedStderr&) = delete;

 private:
  int saved_ = -1;
};

}  // namespace scenario::bench
