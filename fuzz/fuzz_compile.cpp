// One in-memory compile of two source texts, as the fuzz targets run it.
#include "fuzz_compile.h"

#include "content/place_names.h"
#include "content/text_writer.h"
#include "content/writers.h"
#include "model/compile_state.h"
#include "platform/failure.h"
#include "compiler/memorizza_percorso.h"
#include "model/source_files.h"

namespace scenario::fuzz {

void compile_texts(std::optional<std::string> line, std::optional<std::string> train, std::int32_t j) {
  CompileState state;
  state.RouteName = std::string(names::kRouteName);
  state.TrainCode = std::string(names::kTrainCode);
  SourceFiles sources = SourceFiles::in_memory(std::move(line), std::move(train));
  try {
    // A stamp guard failure ends the run before any file is serialised.
    if (compila(state, j, sources)) return;
    BinaryFiles files = serialise_all(state);
    (void)files;
  } catch (const Failure&) {
    // For example the post-processing of a route without a length record.
  }
}

const std::string& built_in_line() {
  static const std::string text = render_lines(righe_linea());
  return text;
}

const std::string& built_in_train() {
  static const std::string text = render_lines(righe_treno());
  return text;
}

}  // namespace scenario::fuzz
