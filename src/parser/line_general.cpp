// The preamble and the general section of the line source.
#include <string>

#include "model/legacy_math.h"
#include "parser/line_steps.h"

namespace scenario {
namespace {

constexpr std::int32_t kMaxRouteLength = 1000000;
constexpr int kGeneralCommentSkips = 10;

// A field that holds "-" is a comment: the next field takes its place, up to
// ten times in a row, with no test for the end of the text.
void salta_commenti(LineInput& li, std::string& field) {
  for (int i = 0; i < kGeneralCommentSkips && contiene(field, "-"); ++i) field = leggi_chiave(li);
}

// The route length creates the train cells and, when the plan is compiled, the plan.
Seguito lunghezza(LineInput& li) {
  CompileState& s = li.s;
  std::int32_t length = leggi_numero(li);
  riga(s, kRouteRow).End = length;
  if (length > kMaxRouteLength) {
    termina(li, 1);
    return Seguito::Termina;
  }
  crea_celle(s, length);
  if (s.CompileLine != 0) s.LineCells.create(add32(length, 7000));
  return Seguito::Prosegui;
}

// A chainage triple: route position, chainage base value, direction flag.
Seguito terna(LineInput& li, int row) {
  ScenarioRecord& rec = riga(li.s, row);
  rec.Start = leggi_numero(li);
  rec.End = leggi_numero(li);
  rec.Position = leggi_numero(li);
  return Seguito::Prosegui;
}

// Signal repetition: start and end must be multiples of 50; the keyword
// carries the number of codes, 4 or 9, stored as 0 when the end is 0.
Seguito ripetizione(LineInput& li, const std::string& field) {
  ScenarioRecord& rec = riga(li.s, kTrainRow);
  rec.Start = leggi_numero(li);
  rec.End = leggi_numero(li);
  std::int32_t code = 0;
  if (rec.Start % 50 != 0) {
    code = 3;
  } else if (rec.End % 50 != 0) {
    code = 4;
  } else if (contiene(field, "4")) {
    rec.Position = 4;
  } else if (contiene(field, "9")) {
    rec.Position = 9;
  } else {
    code = 5;
  }
  if (code != 0) {
    termina(li, code);
    return Seguito::Termina;
  }
  if (rec.End == 0) rec.Position = 0;
  return Seguito::Prosegui;
}

bool e_intestazione(const std::string& field) {
  std::size_t first = field.find_first_not_of(" \t");
  bool comment = first != std::string::npos && field[first] == '-';
  return !comment && contiene(field, "[") && contiene(field, "]");
}

bool ha(const std::string& f, const char* a, const char* b) { return contiene(f, a) && contiene(f, b); }

Seguito sfondo(LineInput& li, std::int32_t ScenarioRecord::*field) {
  riga(li.s, kStampRow).*field = leggi_numero(li);
  return Seguito::Prosegui;
}

// A general record: the test on its keyword field and the reading of its fields.
struct RecordGenerale {
  bool (*trova)(const std::string& f);
  Seguito (*leggi)(LineInput& li, const std::string& f);
};

// In the order the tests are made; the route length test ignores case, the
// word tests of the others do not.
constexpr RecordGenerale kRecordGenerali[] = {
    {[](const std::string& f) { return contiene_ci(f, "percorso") && contiene_ci(f, "lunghezza"); },
     [](LineInput& li, const std::string&) { return lunghezza(li); }},
    {[](const std::string& f) { return ha(f, "tre", "progressiva"); },
     [](LineInput& li, const std::string&) { return terna(li, kChainageRows[0]); }},
    {[](const std::string& f) { return ha(f, "due", "progressiva"); },
     [](LineInput& li, const std::string&) { return terna(li, kChainageRows[1]); }},
    {[](const std::string& f) { return ha(f, "uno", "progressiva"); },
     [](LineInput& li, const std::string&) { return terna(li, kChainageRows[2]); }},
    {[](const std::string& f) { return ha(f, "sfondo", "uno"); },
     [](LineInput& li, const std::string&) { return sfondo(li, &ScenarioRecord::Start); }},
    {[](const std::string& f) { return ha(f, "sfondo", "due"); },
     [](LineInput& li, const std::string&) { return sfondo(li, &ScenarioRecord::Position); }},
    {[](const std::string& f) { return ha(f, "sfondo", "tre"); },
     [](LineInput& li, const std::string&) { return sfondo(li, &ScenarioRecord::End); }},
    {[](const std::string& f) { return ha(f, "segnali", "ripetizione"); }, ripetizione},
};

bool avvia_record(const std::string& f) {
  for (const RecordGenerale& rec : kRecordGenerali) {
    if (rec.trova(f)) return true;
  }
  return false;
}

// Every record the field starts, in table order; each reads its own fields.
Seguito record_generali(LineInput& li, const std::string& f) {
  for (const RecordGenerale& rec : kRecordGenerali) {
    if (rec.trova(f) && rec.leggi(li, f) == Seguito::Termina) return Seguito::Termina;
  }
  return Seguito::Prosegui;
}

}  // namespace

Seguito cerca_generale(LineInput& li) {
  for (;;) {
    std::string field = leggi_chiave(li);
    if (li.in.at_end()) {
      termina(li, 102);
      return Seguito::Termina;
    }
    if (contiene_ci(field, "[generale]")) return Seguito::Prosegui;
  }
}

Seguito leggi_generale(LineInput& li) {
  while (!li.in.at_end()) {
    std::string field = leggi_chiave(li);
    if (li.in.at_end()) {
      annota_chiave(li, FieldUse::UnreadLast, field);
      break;
    }
    salta_commenti(li, field);
    annota_chiave(li, avvia_record(field) ? FieldUse::Record : FieldUse::Ignored, field);
    if (record_generali(li, field) == Seguito::Termina) return Seguito::Termina;
    if (e_intestazione(field)) break;
  }
  return Seguito::Prosegui;
}

}  // namespace scenario
