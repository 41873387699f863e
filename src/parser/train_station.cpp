// The station record: its table row, its zone, approach marks and stopping point.
#include <utility>

#include "model/legacy_math.h"
#include "parser/record_kinds.h"
#include "parser/record_reading.h"
#include "parser/train_pass.h"

namespace scenario::treno {
namespace {

constexpr std::int32_t kStationLengthUnit = 100;
// The approach marks before a stopping point are 81 to 84.
constexpr std::int32_t kApproachMarkBase = 80;

// Fields 4 to 17 of the station line, after the position, kind and length.
void leggi_campi(TrainPass& p, ScenarioRecord& row) {
  row.Flag = leggi_u8(p);
  row.Byte4 = leggi_u8(p);
  row.Byte3 = leggi_u8(p);
  row.Word1 = leggi_i16(p);
  row.Word2 = leggi_i16(p);
  row.Byte1 = leggi_u8(p);
  row.Word3 = leggi_i16(p);
  row.Word4 = leggi_i16(p);
  row.Word5 = leggi_i16(p);
  row.Byte2 = leggi_u8(p);
  std::int32_t hours = leggi_i32(p);
  std::int32_t minutes = leggi_i32(p);
  std::int32_t seconds = leggi_i32(p);
  row.Time = add32(mul32(add32(mul32(hours, 60), minutes), 60), seconds);
  row.Name = leggi_testo(p);
}

// The zone by kind: 5 and 6 reach 150 m past the position, 7 and 8 the length
// on both sides, the others half the length on each side (50 m more at the
// end when the third flag is set).
void zona(ScenarioRecord& row, std::int32_t length) {
  std::int32_t pos = row.Position;
  if (row.Kind == 5 || row.Kind == 6) {
    row.End = add32(pos, 150);
    row.Start = sub32(pos, length);
    row.Byte3 = 0;
  } else if (row.Kind == 7 || row.Kind == 8) {
    row.Start = sub32(pos, length);
    row.End = add32(pos, length);
    row.Byte3 = 0;
  } else {
    row.Start = sub32(pos, length / 2);
    row.End = add32(pos, length / 2);
    if (row.Byte3 != 0) row.End = add32(row.End, kCellLength);
  }
}

bool ferma(const ScenarioRecord& row) { return row.Kind < 25; }

// Marks 81 to 84 in the four cells before the stopping point, none at or
// before cell 1; kinds 5 and 6 get none.
void marca_avvicinamento(TrainPass& p, const ScenarioRecord& row) {
  if (!ferma(row) || row.Kind == 5 || row.Kind == 6) return;
  for (std::int32_t j = 1; j <= 4; ++j) {
    std::int32_t c = round_to_i32(row.End / static_cast<double>(kCellLength) - j - 1);
    if (c > 1) scrivi_cella(p.s, c, CellLayer::Approach).Byte2 = low8(kApproachMarkBase + j);
  }
}

// The stopping point takes its cell whatever the cell held.
Seguito punto_fermata(TrainPass& p, const ScenarioRecord& row) {
  if (!ferma(row)) return Seguito::Avanti;
  std::int32_t c = round_to_i32(row.End / static_cast<double>(kCellLength) - 1);
  if (c <= 1) {
    Diagnostic& d = segnala(p.pass, Status::StopInCellOne, 1);
    d.cell = c;
    d.metres = row.Position;
    d.row = p.k;
    return termina(p, std::nullopt);
  }
  TrainCell& cell = scrivi_cella(p.s, c, CellLayer::Object);
  cell.Kind = kind::kStop;
  cell.Word1 = low16(p.k);
  return Seguito::Avanti;
}

Seguito distanza(TrainPass& p, const ScenarioRecord& row) {
  if (p.k <= 1) return Seguito::Avanti;
  if (sub32(row.Start, kMinimumSpacing) < riga(std::as_const(p.s), p.k - 1).End) {
    Diagnostic& d = segnala(p.pass, Status::StationTooClose, 1);
    d.metres = row.Position;
    d.row = p.k;
    return termina(p, row.Position);
  }
  return Seguito::Avanti;
}

}  // namespace

Seguito leggi_stazione(TrainPass& p) {
  ScenarioRecord& row = scrivi_riga_intera(p.s, p.k);
  row.Position = leggi_i32(p);
  if (oltre_le_celle(p.s, row.Position, margin_of(RecordKind::Station))) return oltre_limite(p, row.Position);
  if (row.Position % kCellLength != 0) {
    Diagnostic& d = segnala(p.pass, Status::StationNotWhole, 1);
    d.metres = row.Position;
    d.row = p.k;
    return termina(p, row.Position);
  }
  row.Kind = leggi_u8(p);
  std::int32_t length = leggi_i32(p);
  if (length % kStationLengthUnit != 0) {
    Diagnostic& d = segnala(p.pass, Status::StationLengthNotWhole, 3);
    d.metres = row.Position;
    d.row = p.k;
    return termina(p, row.Position);
  }
  leggi_campi(p, row);
  zona(row, length);
  if (length < 600) row.Byte4 = 0;
  if (p.k == 1) {
    row.Byte3 = 0;
    row.Byte4 = 0;
  }
  marca_avvicinamento(p, row);
  if (Seguito n = punto_fermata(p, row); n != Seguito::Avanti) return n;
  if (Seguito n = distanza(p, row); n != Seguito::Avanti) return n;
  ++p.k;
  if (p.k >= p.next_sign_row) {
    segnala(p.pass, Status::TooManyStations, std::nullopt).row = p.k - 1;
    return termina(p, std::nullopt);
  }
  return Seguito::Avanti;
}

}  // namespace scenario::treno
