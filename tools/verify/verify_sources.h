// verify --sources: the binary files held against what their sources compile to, byte for byte.
#pragma once

#include <filesystem>
#include <optional>
#include <ostream>

#include "common/cli.h"

namespace scenario::tool {

// The binary files to hold against the sources; absent ones are not compared.
struct BinarySet {
  std::optional<std::filesystem::path> sim, dat, linea;
};

// Compiles the sources in `dir` (the pair chosen as `check` chooses it) in
// memory and compares each file of `files` with the bytes they give. Prints
// one line per file: "same bytes as the sources", or the first cell, row or
// plan point that differs, with the record of the sources that wrote it.
// Returns the number of files that differ (a source that does not compile
// counts as every file differing). Throws Failure when a source cannot be read.
std::size_t compare_with_sources(const std::filesystem::path& dir, const VerifyOptions& options,
                                 const BinarySet& files, std::ostream& out);

}  // namespace scenario::tool
