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
  const ScenarioNames names{std::string(names::kRouteName), std::string(names::kTrainCode)};
  SourceFiles sources = SourceFiles::in_memory(std::move(line), std::move(train));
  // A runtime failure after the passes (for example the post-processing of a
  // route without a length record) or a stamp guard failure ends the run
  // before any file is serialised.
  const CompileResult r = compile(names, CompileOptions{.line_plan = j != 0, .field_notes = false}, sources);
  if (r.failure || r.guard) return;
  try {
    BinaryFiles files = serialise_all(r.state);
    (void)files;
  } catch (const Failure&) {
    // A name too long for its 16-bit length.
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
