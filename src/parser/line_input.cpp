// Field reads of the line source that keep the trace up to date, and the keyword tests.
#include "parser/line_input.h"

#include "parser/record_reading.h"

namespace scenario {
std::string leggi_chiave(LineInput& li) {
  inizia_chiave(li.pass);
  return leggi_testo(li);
}

std::string leggi_testo(LineInput& li) {
  return leggi_campo(li.pass, li.in, [&] { return li.in.read_text(); });
}

std::int32_t leggi_numero(LineInput& li) {
  return leggi_campo(li.pass, li.in, [&] { return li.in.read_i32(); });
}

void chiudi_ed_elimina(LineInput& li) { li.sources.remove(SourceId::Line); }

Diagnostic& termina(LineInput& li, Status status, std::optional<int> field) {
  chiudi_ed_elimina(li);
  return segnala(li.pass, status, field);
}

}  // namespace scenario
