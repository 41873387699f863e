// The two source texts the compiler reads: on disk, or in memory.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "model/compile_state.h"

namespace scenario {

// On disk, the compiler deletes a source text once it has read it. In memory
// (fuzzing, benchmarks, the authors' tool) "deleting" only forgets the text,
// so an author's files are never touched.
class SourceFiles {
 public:
  static SourceFiles on_disk(std::filesystem::path line, std::filesystem::path train);
  static SourceFiles in_memory(std::optional<std::string> line, std::optional<std::string> train);

  bool exists(SourceId id) const;
  // The whole text; throws Failure when it cannot be opened or read.
  std::string load(SourceId id) const;
  // Deletes the text when it exists; throws Failure when that fails.
  void remove(SourceId id);
  // The file name used in messages.
  std::string display_name(SourceId id) const;

 private:
  struct Entry {
    std::filesystem::path path;
    std::optional<std::string> text;
  };
  const Entry& entry(SourceId id) const;
  Entry& entry(SourceId id);

  bool on_disk_ = false;
  Entry line_;
  Entry train_;
};

}  // namespace scenario
