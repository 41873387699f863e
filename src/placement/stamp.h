// The stamp marks and the two check codes computed from the scenario's names.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "model/compile_state.h"
#include "model/status.h"

namespace scenario {

// The marks the stamps put in row 85 Word1 and in train cell 1 Word1.
inline constexpr std::int16_t kRowMark = 610;
inline constexpr std::int16_t kCellMark = 5121;

// Sum of the codes of the 25 characters of the code text.
std::int16_t codice_gara_og(const CompileState& s);
// Weighted sum (i x code of the i-th character) over the same 25 characters.
std::int32_t codice_gara_st(const CompileState& s);

// The guard and the stamps. Returns GuardWord1 (1250) or GuardWord2 (1251)
// when the guard fails; the program then reports it through errore and
// writes no file.
std::optional<Status> timbra(CompileState& s);

}  // namespace scenario
