// The train source's general, profile, signal, slow-order and reduction records.
#include "model/legacy_math.h"
#include "parser/record_kinds.h"
#include "parser/record_reading.h"
#include "parser/train_pass.h"
#include "placement/placement.h"

namespace scenario::treno {
namespace {

constexpr int kSpeedField = 2;  // the speed limit record's speed, after its position

// Writes the speed in force into the cells from the fill index up to the
// cell before n (at least one cell), never past the last cell.
void riempi_velocita(TrainPass& p, std::int32_t n) {
  do {
    if (p.speed_fill >= p.s.scenario.CellCount) return;
    scrivi_cella(p.s, p.speed_fill, CellLayer::Speed, p.speed_owner).Byte4 = quinto_in_vigore(p);
    ++p.speed_fill;
  } while (p.speed_fill < n);
}

// The same for the adhesion; a fill pushed past the last cell is a failure.
void riempi_aderenza(TrainPass& p, std::int32_t n) {
  do {
    scrivi_cella(p.s, p.adhesion_fill, CellLayer::Adhesion, p.adhesion_owner).Byte6 = low8(p.adhesion);
    ++p.adhesion_fill;
  } while (p.adhesion_fill < n);
}

// After a placement that left a status: ends the pass at the record's
// position. A code the placement did not set itself is one still standing
// from the line pass (its bound check); this record only ends the pass with it.
Seguito termina_qui(TrainPass& p, std::size_t recorded, std::int32_t position) {
  if (p.s.report.Diagnostics.size() == recorded) {
    segnala(p.pass, static_cast<Status>(p.s.report.StatusCode), 1).restated = true;
    p.s.report.Diagnostics.back().metres = position;
  }
  return termina(p, position);
}

}  // namespace

Seguito leggi_massa(TrainPass& p) {
  scrivi_campo(p.s, kBrakedMass) = leggi_i32(p);
  return Seguito::Avanti;
}

Seguito leggi_vetture(TrainPass& p) {
  scrivi_campo(p.s, kCars) = leggi_i32(p);
  return Seguito::Avanti;
}

Seguito leggi_velocita(TrainPass& p) {
  std::int32_t position = leggi_i32(p);
  std::int32_t speed = leggi_i32(p);
  if (oltre_le_celle(p.s, position, margin_of(RecordKind::SpeedProfile))) return oltre_limite(p, position);
  std::int32_t n = cell_of(position);
  if (n > 0) riempi_velocita(p, n);
  p.speed = speed;
  p.speed_owner = scrivente_attuale(p.s);
  p.speed_place = luogo_corrente(p.pass, kSpeedField);
  return Seguito::Avanti;
}

Seguito leggi_aderenza(TrainPass& p) {
  std::int32_t position = leggi_i32(p);
  std::int32_t a = leggi_i32(p);
  if (oltre_le_celle(p.s, position, margin_of(RecordKind::Adhesion))) return oltre_limite(p, position);
  std::int32_t n = cell_of(position);
  if (n > 0) riempi_aderenza(p, n);
  p.adhesion = a;
  p.adhesion_owner = scrivente_attuale(p.s);
  return Seguito::Avanti;
}

Seguito leggi_orologio(TrainPass& p) {
  scrivi_campo(p.s, kClockHours) = leggi_i16(p);
  scrivi_campo(p.s, kClockMinutes) = leggi_i16(p);
  scrivi_campo(p.s, kClockSeconds) = leggi_i16(p);
  return Seguito::Avanti;
}

Seguito leggi_sabbia(TrainPass& p) {
  scrivi_campo(p.s, kSand) = leggi_i16(p);
  return Seguito::Avanti;
}

Seguito leggi_segnale(TrainPass& p) {
  std::int32_t v[11];
  for (std::int32_t& value : v) value = leggi_i32(p);
  std::int32_t posizione = v[0];
  if (oltre_le_celle(p.s, posizione, margin_of(RecordKind::Signal))) return oltre_limite(p, posizione);
  const std::size_t recorded = p.s.report.Diagnostics.size();
  memo_segnale(p.s, p.pass.reading.at, v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], v[9], v[10]);
  if (p.s.report.StatusCode > 0) return termina_qui(p, recorded, posizione);
  p.pass.origins.signals.push_back(PlacedRecord{posizione, luogo_corrente(p.pass, 1)});
  return Seguito::Avanti;
}

Seguito leggi_rallentamento(TrainPass& p) {
  std::int32_t v[6];
  for (std::int32_t& value : v) value = leggi_i32(p);
  std::int32_t x = v[0];
  if (oltre_le_celle(p.s, x, margin_of(RecordKind::SlowOrder))) return oltre_limite(p, x);
  const std::size_t recorded = p.s.report.Diagnostics.size();
  memo_rallentamento(p.s, p.pass.reading.at, v[0], v[1], v[2], v[3], v[4], v[5]);
  if (p.s.report.StatusCode > 0) return termina_qui(p, recorded, x);
  p.pass.origins.slow_orders.push_back(PlacedRecord{x, luogo_corrente(p.pass, 1)});
  return Seguito::Avanti;
}

Seguito leggi_abbattimento(TrainPass& p) {
  std::int32_t position = leggi_i32(p);
  std::int32_t w = leggi_i32(p);
  if (oltre_le_celle(p.s, position, margin_of(RecordKind::Reduction))) return oltre_limite(p, position);
  const std::int32_t n = cell_of(position);
  TrainCell& c = cella(p.s, n);
  if (!is_free(c)) {
    Diagnostic& d = segnala(p.pass, Status::ReductionCellTaken, 1);
    d.cell = n;
    d.metres = position;
    d.cell_holds = c.Kind;
    return termina(p, position);
  }
  scrivi_cella(p.s, n, CellLayer::Object);
  if (w > 0) {
    c.Kind = kind::kReductionValue;
    c.Word1 = low16(w);
  } else {
    c.Kind = kind::kReductionPlain;
  }
  return Seguito::Avanti;
}

}  // namespace scenario::treno
