// The run sequence and the program's own fatal report.
#include "app/form_load.h"

#include <cstdio>
#include <cstdlib>

#include "platform/platform.h"
#include "content/place_names.h"
#include "content/writers.h"
#include "compiler/memorizza_percorso.h"

namespace scenario {

std::string errore_text(const std::string& a) { return " Errore n. " + a; }

void errore(const std::string& a) {
  platform::message_box(platform::kProgramTitle, errore_text(a));
  std::fflush(nullptr);
  std::exit(1);
}

int Form_Load(const std::filesystem::path& dir) {
  const ScenarioNames names{std::string(names::kRouteName), std::string(names::kTrainCode)};
  platform::WaitWindow window;
  window.show();

  dati_linea(dir, names);
  dati_treno(dir, names);
  dati_note(dir, names);
  dati_rallentamenti(dir, names);
  dati_scheda(dir, names);

  CompileState state;
  state.RouteName = names.RouteName;
  state.TrainCode = names.TrainCode;
  SourceFiles sources = SourceFiles::on_disk(line_source_file(dir, names), train_source_file(dir, names));
  if (auto code = memorizza_percorso(state, 1, sources, dir)) errore(*code);
  return 0;
}

}  // namespace scenario
