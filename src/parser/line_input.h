// Reading the line source field by field, with the trace and the keyword tests.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "model/compile_state.h"
#include "model/source_files.h"
#include "parser/field_reader.h"
#include "parser/keyword_match.h"
#include "parser/pass_state.h"

namespace scenario {

// The line source being read, the passes' state and the state it fills.
struct LineInput {
  PassState& pass;
  CompileState& s;  // pass.s
  SourceFiles& sources;
  FieldReader in;
};

// Reads a keyword field: no record is in progress until one starts at it.
std::string leggi_chiave(LineInput& li);
// Reads a text or a 32-bit number belonging to the current record.
std::string leggi_testo(LineInput& li);
std::int32_t leggi_numero(LineInput& li);

// Closes the line source and deletes it.
void chiudi_ed_elimina(LineInput& li);

// Closes and deletes the line source, then sets and records the status that
// ends the pass (at the record in progress and its field `field`).
Diagnostic& termina(LineInput& li, Status status, std::optional<int> field);

}  // namespace scenario
