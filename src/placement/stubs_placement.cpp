// Temporary stubs until the placement routines land.
#include "placement/placement.h"
#include "placement/post_processing.h"
#include "placement/stamp.h"

namespace scenario {
std::int32_t minimo(std::int32_t x, std::int32_t y) { return x > y ? y : x; }
void progressive_ordina(CompileState&) {}
void memo_montagna(CompileState&, std::int32_t, std::int32_t, std::int32_t) {}
void memo_indicatori_v_max(CompileState&, std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                           std::int32_t, std::int32_t, std::int32_t, std::int32_t) {}
void memo_segnale(CompileState&, std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                  std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t) {}
void memo_rallentamento(CompileState&, std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                        std::int32_t) {}
void elabora_celle(CompileState& s) { cella(s, 0); }
std::int16_t codice_gara_og(const CompileState&) { return 0; }
std::int32_t codice_gara_st(const CompileState&) { return 0; }
std::optional<std::string> timbra(CompileState&) { return std::nullopt; }
}  // namespace scenario
