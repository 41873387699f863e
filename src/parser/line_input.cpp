// Field reads of the line source that keep the trace up to date, and the keyword tests.
#include "parser/line_input.h"

#include "parser/record_reading.h"

namespace scenario {
namespace {

// Moves the trace to the field just read, also when the read fails, so that a
// failure points at the field that caused it.
struct SegnaCampo {
  LineInput& li;
  ~SegnaCampo() {
    li.s.Trace.source = SourceId::Line;
    li.s.Trace.field_offset = li.in.field_offset();
  }
};

}  // namespace

std::string leggi_chiave(LineInput& li) {
  inizia_chiave(li.s);
  std::string field = leggi_testo(li);
  li.s.Trace.record_offset = li.in.field_offset();
  return field;
}

std::string leggi_testo(LineInput& li) {
  SegnaCampo segna{li};
  return leggi_campo(li.s, li.in, [&] { return li.in.read_text(); });
}

std::int32_t leggi_numero(LineInput& li) {
  SegnaCampo segna{li};
  return leggi_campo(li.s, li.in, [&] { return li.in.read_i32(); });
}

void annota_chiave(LineInput& li, FieldUse use, const std::string& field) {
  annota(li.s, SourceId::Line, use, li.s.Trace.record_offset, field);
}

void chiudi_ed_elimina(LineInput& li) { li.sources.remove(SourceId::Line); }

Diagnostic& termina(LineInput& li, Status status, std::optional<int> field) {
  chiudi_ed_elimina(li);
  return segnala(li.s, status, field);
}

}  // namespace scenario
