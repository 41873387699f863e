// The preamble and the general section of the line source.
#include <string>

#include "model/legacy_math.h"
#include "parser/line_steps.h"
#include "parser/record_kinds.h"
#include "parser/record_reading.h"

namespace scenario {
namespace {

constexpr int kGeneralCommentSkips = 10;

// A field that holds "-" is a comment: the next field takes its place, up to
// ten times in a row, with no test for the end of the text.
void salta_commenti(LineInput& li, std::string& field) {
  for (int i = 0; i < kGeneralCommentSkips && contiene(field, "-"); ++i) {
    annota_chiave(li.pass, li.in, KeywordUse::Comment);
    field = leggi_chiave(li);
  }
}

// The route length creates the train cells and, when the plan is compiled, the plan.
Seguito lunghezza(LineInput& li) {
  CompileState& s = li.s;
  std::int32_t length = leggi_numero(li);
  scrivi_campo(s, kRouteLength) = length;
  li.pass.route_length = luogo_corrente(li.pass, 1);
  if (length > kMaxRouteLength) {
    termina(li, Status::RouteTooLong, 1).metres = length;
    return Seguito::Fermo;
  }
  crea_celle(s, length);
  if (s.CompileLine != 0) s.scenario.LineCells.create(add32(length, kTailPastRoute));
  return Seguito::Avanti;
}

// A chainage triple: route position, chainage base value, direction flag.
Seguito terna(LineInput& li, int row) {
  ScenarioRecord& rec = riga(li.s, row);
  scrivi_riga(li.s, row, RowField::Start).Start = leggi_numero(li);
  scrivi_riga(li.s, row, RowField::End).End = leggi_numero(li);
  scrivi_riga(li.s, row, RowField::Position).Position = leggi_numero(li);
  const RecordAt& r = li.pass.reading.at;
  li.pass.chainages.push_back(ChainageRead{r.kind,
                                           r.record_offset,
                                           {r.field_offsets[1], r.field_offsets[2], r.field_offsets[3]},
                                           rec.Start,
                                           rec.End,
                                           rec.Position});
  return Seguito::Avanti;
}

// Signal repetition: start and end must be multiples of 50; the keyword
// carries the number of codes, 4 or 9, stored as 0 when the end is 0.
Seguito ripetizione(LineInput& li, const std::string& field) {
  const std::int32_t start = scrivi_campo(li.s, kRepetitionStart) = leggi_numero(li);
  const std::int32_t end = scrivi_campo(li.s, kRepetitionEnd) = leggi_numero(li);
  std::int32_t& codes = scrivi_campo(li.s, kRepetitionCodes);
  if (start % kCellLength != 0) {
    termina(li, Status::RepetitionStartNotWhole, 1).metres = start;
    return Seguito::Fermo;
  }
  if (end % kCellLength != 0) {
    termina(li, Status::RepetitionEndNotWhole, 2).metres = end;
    return Seguito::Fermo;
  }
  if (contiene(field, "4")) {
    codes = 4;
  } else if (contiene(field, "9")) {
    codes = 9;
  } else {
    termina(li, Status::RepetitionCodes, 0);
    return Seguito::Fermo;
  }
  if (end == 0) codes = 0;
  return Seguito::Avanti;
}

bool e_intestazione(const std::string& field) {
  std::size_t first = field.find_first_not_of(" \t");
  bool comment = first != std::string::npos && field[first] == '-';
  return !comment && contiene(field, "[") && contiene(field, "]");
}

Seguito sfondo(LineInput& li, const GeneralField<std::int32_t>& background) {
  scrivi_campo(li.s, background) = leggi_numero(li);
  return Seguito::Avanti;
}

// Reads the fields of one general record.
Seguito leggi_record(LineInput& li, RecordKind kind, const std::string& f) {
  switch (kind) {
    case RecordKind::RouteLength:
      return lunghezza(li);
    case RecordKind::ChainageThree:
      return terna(li, kChainageRows[0]);
    case RecordKind::ChainageTwo:
      return terna(li, kChainageRows[1]);
    case RecordKind::ChainageOne:
      return terna(li, kChainageRows[2]);
    case RecordKind::BackgroundOne:
      return sfondo(li, kBackgroundOne);
    case RecordKind::BackgroundTwo:
      return sfondo(li, kBackgroundTwo);
    case RecordKind::BackgroundThree:
      return sfondo(li, kBackgroundThree);
    case RecordKind::SignalRepetition:
      return ripetizione(li, f);
    default:
      return Seguito::Avanti;
  }
}

// Every record the field starts, in table order; each reads its own fields.
Seguito record_generali(LineInput& li, const std::string& f) {
  for (const RecordLayout& layout : record_layouts(Section::LineGeneral)) {
    if (!starts_record(layout, f, li.s.CompileLine != 0)) continue;
    inizia_record(li.pass, layout.kind);
    const std::size_t from = li.s.report.Diagnostics.size();
    const Seguito seguito = leggi_record(li, layout.kind, f);
    dopo_record(li.pass, li.in, from);
    if (seguito == Seguito::Fermo) return Seguito::Fermo;
  }
  return Seguito::Avanti;
}

}  // namespace

Seguito cerca_generale(LineInput& li) {
  for (;;) {
    std::string field = leggi_chiave(li);
    if (li.in.at_end()) {
      annota_chiave(li.pass, li.in, KeywordUse::UnreadLast);
      termina(li, Status::NoGeneralSection, 0);
      return Seguito::Fermo;
    }
    if (contiene_ci(field, "[generale]")) {
      annota_chiave(li.pass, li.in, KeywordUse::Header);
      return Seguito::Avanti;
    }
    annota_chiave(li.pass, li.in, KeywordUse::Preamble);
  }
}

Seguito leggi_generale(LineInput& li) {
  while (!li.in.at_end()) {
    std::string field = leggi_chiave(li);
    if (li.in.at_end()) {
      annota_chiave(li.pass, li.in, KeywordUse::UnreadLast);
      break;
    }
    salta_commenti(li, field);
    const bool starts = starts_any_record(Section::LineGeneral, field, li.s.CompileLine != 0);
    annota_chiave(li.pass, li.in, starts ? KeywordUse::Record : KeywordUse::Unmatched, contiene(field, "-"));
    if (record_generali(li, field) == Seguito::Fermo) return Seguito::Fermo;
    if (e_intestazione(field)) break;
  }
  return Seguito::Avanti;
}

}  // namespace scenario
