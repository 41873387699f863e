// The run sequence and the program's own fatal report.
#include "app/form_load.h"

#include <cstdio>

#include "platform/platform.h"
#include "content/place_names.h"
#include "content/writers.h"
#include "compiler/memorizza_percorso.h"

namespace scenario {

std::string errore_text(const std::string& a) { return " Errore n. " + a; }

int errore(const std::string& a) {
  platform::message_box(platform::kProgramTitle, errore_text(a));
  std::fflush(nullptr);
  return kErroreExitStatus;
}

std::optional<Status> Form_Load(const std::filesystem::path& dir) {
  const ScenarioNames names{std::string(names::kRouteName), std::string(names::kTrainCode)};
  platform::WaitWindow window;
  window.show();

  dati_linea(dir, names);
  dati_treno(dir, names);
  dati_note(dir, names);
  dati_rallentamenti(dir, names);
  dati_scheda(dir, names);

  SourceFiles sources = SourceFiles::on_disk(line_source_file(dir, names), train_source_file(dir, names));
  return memorizza_percorso(names, sources, dir).guard;
}

}  // namespace scenario
