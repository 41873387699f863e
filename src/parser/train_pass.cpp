// The train pass: the field loop, the keyword tests and the end of pass.
#include "parser/train_pass.h"

#include <cmath>
#include <span>

#include "model/legacy_math.h"
#include "parser/keyword_match.h"
#include "parser/passes.h"
#include "parser/record_kinds.h"
#include "parser/record_reading.h"

namespace scenario {
namespace treno {

std::string leggi_testo(TrainPass& p) {
  return leggi_campo(p.pass, p.reader, [&] { return p.reader.read_text(); });
}

std::int32_t leggi_i32(TrainPass& p) {
  return leggi_campo(p.pass, p.reader, [&] { return p.reader.read_i32(); });
}

std::int16_t leggi_i16(TrainPass& p) {
  return leggi_campo(p.pass, p.reader, [&] { return p.reader.read_i16(); });
}

std::uint8_t leggi_u8(TrainPass& p) {
  return leggi_campo(p.pass, p.reader, [&] { return p.reader.read_u8(); });
}

Seguito oltre_limite(TrainPass& p, std::int32_t position) {
  segnala(p.pass, Status::PastTrainCells, 1).metres = position;
  p.s.report.StatusPosition = position;
  return Seguito::FineLettura;
}

Seguito termina(TrainPass& p, std::optional<std::int32_t> position) {
  p.sources.remove(SourceId::Train);
  if (position) p.s.report.StatusPosition = *position;
  return Seguito::Fermo;
}

std::uint8_t quinto(std::int32_t speed) { return round_to_u8(speed / static_cast<double>(kSpeedStep)); }

namespace {

// The lowest and highest speeds as written that round into a cell's byte.
bool entra_in_un_byte(std::int32_t speed) {
  const double q = std::nearbyint(speed / static_cast<double>(kSpeedStep));
  return q >= 0 && q <= kLargestByte;
}

std::int32_t velocita_estrema(std::int32_t from, std::int32_t step) {
  while (entra_in_un_byte(from + step)) from += step;
  return from;
}

}  // namespace

std::uint8_t quinto_in_vigore(TrainPass& p) {
  try {
    return quinto(p.speed);
  } catch (const Failure&) {
    if (!p.speed_place) throw;
    Diagnostic d = diagnostica_a(Status::RuntimeFailure, *p.speed_place);
    d.failure = FailureDetail{.kind = FailureKind::TooWide,
                              .expected = "a speed limit in km/h",
                              .found = std::to_string(p.speed),
                              .value = p.speed,
                              .low = velocita_estrema(0, -1),
                              .high = velocita_estrema(kLargestByte * kSpeedStep, 1)};
    p.s.report.Diagnostics.push_back(std::move(d));
    p.pass.reading.failure_recorded = true;
    throw;
  }
}

namespace {

// Reads the fields of one record and places it.
Seguito leggi(TrainPass& p, RecordKind kind) {
  switch (kind) {
    case RecordKind::Mass:
      return leggi_massa(p);
    case RecordKind::Cars:
      return leggi_vetture(p);
    case RecordKind::SpeedProfile:
      return leggi_velocita(p);
    case RecordKind::Adhesion:
      return leggi_aderenza(p);
    case RecordKind::Clock:
      return leggi_orologio(p);
    case RecordKind::Sand:
      return leggi_sabbia(p);
    case RecordKind::Signal:
      return leggi_segnale(p);
    case RecordKind::SlowOrder:
      return leggi_rallentamento(p);
    case RecordKind::Reduction:
      return leggi_abbattimento(p);
    case RecordKind::Station:
      return leggi_stazione(p);
    default:
      return Seguito::Avanti;
  }
}

bool riconosce(const RecordLayout& layout, std::string_view field) { return starts_record(layout, field, true); }

// Runs every record whose keywords the field holds, in table order.
Seguito esegui(TrainPass& p, const std::string& field, bool comment_read_as_keyword) {
  const bool any = starts_any_record(Section::Train, field, true);
  annota_chiave(p.pass, p.reader, any ? KeywordUse::Record : KeywordUse::Unmatched, comment_read_as_keyword);
  for (const RecordLayout& r : record_layouts(Section::Train)) {
    if (!riconosce(r, field)) continue;
    inizia_record(p.pass, r.kind);
    const std::size_t from = p.s.report.Diagnostics.size();
    Seguito next = leggi(p, r.kind);
    dopo_record(p.pass, p.reader, from);
    if (next != Seguito::Avanti) return next;
  }
  return Seguito::Avanti;
}

// Reads a keyword field and makes it the record being handled. Returns false
// when it was the last field of the text, which is never examined.
bool leggi_parola(TrainPass& p, std::string& field) {
  inizia_chiave(p.pass);
  field = leggi_testo(p);
  if (!p.reader.at_end()) return true;
  annota_chiave(p.pass, p.reader, KeywordUse::UnreadLast);
  return false;
}

// A field holding "-" is a comment and the next one is taken in its place,
// at most this many times in a row.
constexpr int kCommentSkips = 2;

// The loop over keyword fields, passing over comments.
Seguito leggi_record(TrainPass& p) {
  std::string field;
  while (!p.reader.at_end()) {
    if (!leggi_parola(p, field)) return Seguito::FineLettura;
    for (int skipped = 0; skipped < kCommentSkips && contiene(field, "-"); ++skipped) {
      annota_chiave(p.pass, p.reader, KeywordUse::Comment);
      if (!leggi_parola(p, field)) return Seguito::FineLettura;
    }
    Seguito next = esegui(p, field, contiene(field, "-"));
    if (next != Seguito::Avanti) return next;
  }
  return Seguito::FineLettura;
}

// Everything up to the first field holding "[generale]" is passed over; at
// least one field is read, so an empty text is a read failure.
void cerca_generale(TrainPass& p) {
  do {
    inizia_chiave(p.pass);
    if (contiene_ci(leggi_testo(p), "[generale]")) {
      annota_chiave(p.pass, p.reader, KeywordUse::Header);
      return;
    }
    annota_chiave(p.pass, p.reader, KeywordUse::Preamble);
  } while (!p.reader.at_end());
}

// The profiles' last values run on to cell CellCount - 3 (at least one cell
// is written); the last cells keep 0.
void completa_profili(TrainPass& p) {
  do {
    scrivi_cella(p.s, p.speed_fill, CellLayer::Speed, p.speed_owner).Byte4 = quinto_in_vigore(p);
    ++p.speed_fill;
  } while (p.speed_fill < p.s.scenario.CellCount - 2);
  do {
    scrivi_cella(p.s, p.adhesion_fill, CellLayer::Adhesion, p.adhesion_owner).Byte6 = low8(p.adhesion);
    ++p.adhesion_fill;
  } while (p.adhesion_fill < p.s.scenario.CellCount - 2);
}

// The chainage record that left a row as it stands after the sort (a flag of
// 1 added 100 to its base); the last one read when several match.
const ChainageRead* record_della_terna(const PassState& ps, const ScenarioRecord& r) {
  for (auto it = ps.chainages.rbegin(); it != ps.chainages.rend(); ++it) {
    const std::int32_t end = it->flag == 1 ? add32(it->base, kCountdownBaseShift) : it->base;
    if (it->start == r.Start && end == r.End && it->flag == r.Position) return &*it;
  }
  return nullptr;
}

// A chainage row that is not whole: recorded at the line source's record behind it.
void segnala_terna(PassState& ps, const ScenarioRecord& r) {
  const bool start = r.Start % kCellLength != 0;
  Diagnostic d;
  d.status = Status::ChainageNotWhole;
  d.source = SourceId::Line;
  d.metres = start ? r.Start : r.End;
  if (const ChainageRead* c = record_della_terna(ps, r)) {
    d.record = c->kind;
    d.record_offset = c->record_offset;
    d.field_index = start ? 1 : 2;
    d.field_offset = c->field_offsets[start ? 0 : 1];
    if (!start) d.metres = c->base;
  }
  ps.s.report.Diagnostics.push_back(d);
}

// The chainage triples' starts and ends must be whole cells.
void controlla_progressive(PassState& ps) {
  CompileState& s = ps.s;
  for (int row : kChainageRows) {
    const ScenarioRecord& r = s.scenario.ScenarioTable[static_cast<std::size_t>(row)];
    if (r.Start % kCellLength != 0 || r.End % kCellLength != 0) {
      s.report.StatusCode = status_number(Status::ChainageNotWhole);
      segnala_terna(ps, r);
    }
  }
}

void fine_passata(TrainPass& p) {
  fine_dei_record(p.pass);
  p.sources.remove(SourceId::Train);
  completa_profili(p);
  controlla_progressive(p.pass);
}

}  // namespace
}  // namespace treno

void leggi_treno(PassState& ps, SourceFiles& sources, std::int32_t next_sign_row) {
  inizia_sorgente(ps, SourceId::Train);
  std::string text = sources.load(SourceId::Train);
  treno::TrainPass p{ps, ps.s, sources, FieldReader(text), next_sign_row};
  try {
    treno::cerca_generale(p);
    if (treno::leggi_record(p) == Seguito::Fermo) return;
    treno::fine_passata(p);
  } catch (const Failure& f) {
    if (!ps.reading.failure_recorded) registra_guasto(ps, p.reader, f);
    throw;
  }
}

}  // namespace scenario
