// The body of the line source: gradients, curves, ranges, speed boards and signs.
#include <array>
#include <optional>
#include <string>

#include "platform/failure.h"
#include "model/legacy_math.h"
#include "parser/line_steps.h"
#include "parser/record_kinds.h"
#include "parser/record_reading.h"
#include "parser/track_plan.h"
#include "placement/placement.h"

namespace scenario {
namespace {

constexpr int kBodyCommentSkips = 2;

// A record's first value must leave its cell, with its kind's margin to
// spare, inside the train cells; otherwise status 15 at that value.
bool fuori_limite(LineInput& li, RecordKind kind, std::int32_t v) {
  if (!oltre_le_celle(li.s, v, margin_of(kind))) return false;
  segnala(li.pass, Status::PastTrainCells, 1).metres = v;
  li.s.report.StatusPosition = v;
  return true;
}

Seguito termina_con(LineInput& li, Status status, int field) {
  termina(li, status, field);
  return Seguito::Fermo;
}

// After a placement routine: a status above 0 ends the pass at the record's
// first value.
Seguito dopo_collocazione(LineInput& li, std::int32_t posizione) {
  if (li.s.report.StatusCode <= 0) return Seguito::Avanti;
  chiudi_ed_elimina(li);
  li.s.report.StatusPosition = posizione;
  return Seguito::Fermo;
}

void scrivi_pendenza(CompileState& s, Contatori& k) {
  scrivi_cella(s, k.f, CellLayer::Gradient, k.g_owner).Byte5 = low8(add32(k.g, kGradientBias));
}

// The gradient in force up to this record fills the cells up to its cell; the
// cell at the fill index is written even when the index has passed it.
Seguito pendenza(LineInput& li, Contatori& k) {
  std::int32_t p = leggi_numero(li);
  std::int32_t value = leggi_numero(li);
  if (fuori_limite(li, RecordKind::Gradient, p)) return Seguito::FineLettura;
  std::int32_t target = cell_of(p);
  if (target > 0) {
    do {
      scrivi_pendenza(li.s, k);
      ++k.f;
    } while (k.f < target);
  }
  k.g = value;
  k.g_owner = scrivente_attuale(li.s);
  return Seguito::Avanti;
}

// Advances the plan counter past a point; beyond the last point a plan may
// reach the curve is refused.
bool avanza(Contatori& k) {
  ++k.c;
  return k.c <= kLastPlanPoint;
}

// A straight part up to the curve's start, then the curved part to its end.
Seguito curva(LineInput& li, Contatori& k, const std::string& field) {
  std::int32_t start = leggi_numero(li);
  std::int32_t length = leggi_numero(li);
  if (fuori_limite(li, RecordKind::Curve, start)) return Seguito::FineLettura;
  std::optional<double> a = tasso_di_curva(field);
  if (!a) return termina_con(li, Status::CurveFailed, 0);
  LinePlan& plan = li.s.scenario.LineCells;
  while (k.c <= start) {
    punto_dritto(plan, k.c);
    scrivi_punto(li.s, k.c);
    if (!avanza(k)) return termina_con(li, Status::CurveFailed, 1);
  }
  std::int32_t end = add32(start, length);
  while (k.c <= end) {
    punto_curvo(plan, k.c, *a);
    scrivi_punto(li.s, k.c);
    if (!avanza(k)) return termina_con(li, Status::CurveFailed, 2);
  }
  return Seguito::Avanti;
}

Seguito montagna(LineInput& li) {
  std::int32_t inizio = leggi_numero(li);
  std::int32_t fine = leggi_numero(li);
  std::int32_t tipo = leggi_numero(li);
  if (fuori_limite(li, RecordKind::Montagna, inizio)) return Seguito::FineLettura;
  memo_montagna(li.s, li.pass.ranges, inizio, fine, tipo);
  return dopo_collocazione(li, inizio);
}

Seguito indicatori(LineInput& li) {
  std::array<std::int32_t, 9> v{};
  for (std::int32_t& x : v) x = leggi_numero(li);
  if (fuori_limite(li, RecordKind::SpeedBoards, v[0])) return Seguito::FineLettura;
  memo_indicatori_v_max(li.s, li.pass.reading.at, v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8]);
  return dopo_collocazione(li, v[0]);
}

// The sign takes the cell after its position and the next sign row, counting
// down from row 80; row 0 is never a sign row.
Seguito cartello(LineInput& li, Contatori& k) {
  std::int32_t p = leggi_numero(li);
  std::string text = leggi_testo(li);
  if (fuori_limite(li, RecordKind::Sign, p)) return Seguito::FineLettura;
  const std::int32_t c = cell_after(p);
  TrainCell& cell = cella(li.s, c);
  if (!is_free(cell)) {
    li.s.report.StatusPosition = p;
    Diagnostic& d = termina(li, Status::SignCellTaken, 1);
    d.cell = c;
    d.metres = p;
    d.cell_holds = cell.Kind;
    return Seguito::Fermo;
  }
  if (k.r < 1) {
    throw Failure("the sign at " + std::to_string(p) + " m has no scenario row left (rows 80 to 1 hold " +
                      "signs already)",
                  FailureDetail{.kind = FailureKind::Full,
                                .expected = "a free scenario row for the sign",
                                .value = p,
                                .low = 1,
                                .high = kFirstSignRow});
  }
  scrivi_cella(li.s, c, CellLayer::Object);
  cell.Kind = kind::kSign;
  cell.Word1 = low16(k.r);
  scrivi_riga(li.s, k.r, RowField::Name).Name = text;
  --k.r;
  return Seguito::Avanti;
}

// Reads the fields of one body record and places it.
Seguito leggi_record(LineInput& li, Contatori& k, RecordKind kind, const std::string& f) {
  switch (kind) {
    case RecordKind::Gradient:
      return pendenza(li, k);
    case RecordKind::Curve:
      return curva(li, k, f);
    case RecordKind::Montagna:
      return montagna(li);
    case RecordKind::SpeedBoards:
      return indicatori(li);
    case RecordKind::Sign:
      return cartello(li, k);
    default:
      return Seguito::Avanti;
  }
}

// Every record the field starts, in table order, one after the other.
Seguito record_corpo(LineInput& li, Contatori& k, const std::string& f) {
  for (const RecordLayout& layout : record_layouts(Section::LineBody)) {
    if (!starts_record(layout, f, li.s.CompileLine != 0)) continue;
    inizia_record(li.pass, layout.kind);
    const std::size_t from = li.s.report.Diagnostics.size();
    Seguito d = leggi_record(li, k, layout.kind, f);
    dopo_record(li.pass, li.in, from);
    if (d != Seguito::Avanti) return d;
  }
  return Seguito::Avanti;
}

// Reads the next keyword field, passing over up to two comment fields. False
// when the text ends with the field read, which is then never examined.
bool chiave_del_corpo(LineInput& li, std::string& field) {
  field = leggi_chiave(li);
  for (int i = 0; i < kBodyCommentSkips && !li.in.at_end() && contiene(field, "-"); ++i) {
    annota_chiave(li.pass, li.in, KeywordUse::Comment);
    field = leggi_chiave(li);
  }
  if (!li.in.at_end()) return true;
  annota_chiave(li.pass, li.in, KeywordUse::UnreadLast);
  return false;
}

}  // namespace

Seguito leggi_corpo(LineInput& li, Contatori& k) {
  std::string field;
  while (!li.in.at_end() && chiave_del_corpo(li, field)) {
    const bool starts = starts_any_record(Section::LineBody, field, li.s.CompileLine != 0);
    annota_chiave(li.pass, li.in, starts ? KeywordUse::Record : KeywordUse::Unmatched, contiene(field, "-"));
    Seguito d = record_corpo(li, k, field);
    if (d == Seguito::Fermo) return Seguito::Fermo;
    if (d == Seguito::FineLettura) break;
  }
  return Seguito::Avanti;
}

}  // namespace scenario
