// scenario_tool diff: what changed between two sets of binary files, in source terms where they can be rebuilt.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "common/cli.h"
#include "compiler/memorizza_percorso.h"

namespace scenario::tool {

// One change: a record added, removed, changed or moved (through the
// decompiler), or a run of cells, rows or plan points that differ.
struct Change {
  std::string what;    // "added", "removed", "changed", "moved", "cells", "rows", "points"
  std::string source;  // "line", "train", or the file: "dat", "sim", "linea"
  std::string old_text;
  std::string new_text;
};

// The changes from `before` to `after`; none when the files are the same.
std::vector<Change> differenze_tra(const BinaryFiles& before, const BinaryFiles& after);

// Writes the changes on `out` as text, as one JSON object ({"equal": ...,
// "changes": [{"change", "in", "old", "new"}, ...]}) or as a SARIF log with
// a note per change. Exit 0 when equal, 1 when they differ; a file that
// cannot be read is thrown as Failure (exit 2).
int run_diff(const DiffOptions& options, std::ostream& out);

}  // namespace scenario::tool
