// The two passes of the compiler and their common entry point.
#pragma once

#include <cstdint>

#include "model/compile_state.h"
#include "model/source_files.h"
#include "parser/pass_state.h"

namespace scenario {

// What a pass does after a step or a record; one rule for both passes.
enum class Seguito : std::uint8_t {
  Avanti,       // read the next keyword field
  FineLettura,  // leave the record loop; the end of the pass still runs
  Fermo,        // the pass has ended with an error code; nothing more runs
};

// What the line pass hands over: whether the train pass runs, and the next
// free sign row (80 when the line source has no sign).
struct LinePassResult {
  bool train_pass_follows = false;
  std::int32_t next_sign_row = kFirstSignRow;
};

// The line pass: reads and deletes the line source.
LinePassResult leggi_linea(PassState& ps, SourceFiles& sources);

// The train pass: reads and deletes the train source.
void leggi_treno(PassState& ps, SourceFiles& sources, std::int32_t next_sign_row);

// Both passes under one recovery: a runtime failure in either deletes the
// source texts that still exist, sets status 25 and returns normally.
// Returns where the things the passes left came from, for the steps after.
Origins memorizza_dati(CompileState& s, SourceFiles& sources);

}  // namespace scenario
