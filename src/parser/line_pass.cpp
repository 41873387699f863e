// The line pass: reads the line source into the scenario table, the train
// cells and the track plan, then deletes it.
#include "platform/failure.h"
#include "model/legacy_math.h"
#include "parser/line_steps.h"
#include "parser/passes.h"
#include "parser/record_reading.h"
#include "parser/track_plan.h"
#include "placement/placement.h"

namespace scenario {
namespace {

// Before the body: empty range list, the first two plan points. The body
// needs the train cells, which only a route length record creates.
void prepara_corpo(PassState& ps) {
  CompileState& s = ps.s;
  if (s.scenario.TrainCells.empty()) {
    throw Failure("the line source has no route length record before its body, so there are no train cells",
                  FailureDetail{.kind = FailureKind::Missing, .expected = "train cells", .indexed = Indexed::TrainCell});
  }
  ps.ranges.Count = 0;
  if (s.CompileLine != 0) {
    inizio_tracciato(s.scenario.LineCells);
    for (std::int32_t m = 0; m < kFirstDrawnPoint; ++m) {
      if (s.account) conta_punto(*s.account, m, owner::kPlanStart);
    }
  }
}

// The gradient in force fills the cells up to CellCount - 3 (at least the
// cell at the fill index); the last three cells keep 0.
void completa_pendenze(CompileState& s, Contatori& k) {
  do {
    scrivi_cella(s, k.f, CellLayer::Gradient, k.g_owner).Byte5 = low8(add32(k.g, kGradientBias));
    ++k.f;
  } while (k.f < sub32(s.scenario.CellCount, 2));
}

// The plan runs straight on to point RouteLength + 6998; the last two points stay empty.
void completa_tracciato(CompileState& s, Contatori& k) {
  constexpr std::int32_t kEmptyPlanPoints = 2;
  std::int32_t last = add32(general_field(s.scenario.ScenarioTable, kRouteLength), kTailPastRoute - kEmptyPlanPoints);
  const Owner before = scrivente(s, owner::kTail);
  for (; k.c <= last; ++k.c) {
    punto_dritto(s.scenario.LineCells, k.c);
    scrivi_punto(s, k.c);
  }
  scrivente(s, before);
}

LinePassResult finisci(LineInput& li, Contatori& k) {
  chiudi_ed_elimina(li);
  completa_pendenze(li.s, k);
  if (li.s.CompileLine != 0) completa_tracciato(li.s, k);
  return LinePassResult{true, k.r};
}

}  // namespace

LinePassResult leggi_linea(PassState& ps, SourceFiles& sources) {
  CompileState& s = ps.s;
  scrivi_campo(s, kRouteName, owner::kNames) = s.RouteName;
  scrivi_campo(s, kTrainCode, owner::kNames) = s.TrainCode;
  inizia_sorgente(ps, SourceId::Line);
  if (!sources.exists(SourceId::Line)) {
    segnala(ps, Status::NoLineSource, std::nullopt);
    return LinePassResult{};
  }
  const std::string text = sources.load(SourceId::Line);
  LineInput li{ps, s, sources, FieldReader(text)};
  try {
    Contatori k;
    if (cerca_generale(li) == Seguito::Fermo) return LinePassResult{false, k.r};
    if (leggi_generale(li) == Seguito::Fermo) return LinePassResult{false, k.r};
    fine_dei_record(ps);
    progressive_ordina(s);
    prepara_corpo(ps);
    if (leggi_corpo(li, k) == Seguito::Fermo) return LinePassResult{false, k.r};
    fine_dei_record(ps);
    return finisci(li, k);
  } catch (const Failure& f) {
    registra_guasto(ps, li.in, f);
    throw;
  }
}

}  // namespace scenario
