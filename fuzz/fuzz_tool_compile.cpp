// Fuzz target: the authors' tool's compile of two sources (split at the first
// NUL byte) with field notes, its messages rendered as text and as JSON lines.
// Each rendering must stay within the bound the renderer states and within a
// bound of the input's size, be safe to show on a terminal, and the JSON
// must parse.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "common/diagnostics.h"
#include "compile/compile_command.h"
#include "compiler/compile.h"
#include "content/place_names.h"
#include "fuzz_compile.h"
#include "json_check.h"
#include "model/source_files.h"
#include "text_check.h"

namespace {

using namespace scenario;

// The bound of the input's size: whatever the sources hold, one rendering is
// at most kOutputFloor bytes plus kOutputPerInputByte per byte of the two
// sources. Quotes are cut to a window and messages of one name are held back
// after a few, so neither a long line nor many records can multiply the
// input's size.
constexpr std::size_t kOutputFloor = 16 * 1024;
constexpr std::size_t kOutputPerInputByte = 16;

// The bit of the input's size that chooses the -v rendering of every
// message over the JSON one (the lowest bit chooses -Werror).
constexpr std::size_t kEverythingBit = 2;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace scenario::fuzz;
  const SourcePair p = split_pair(as_text(data, size));
  tool::SourceTexts texts;
  texts.line_file = "Castrovelde_Ardis_linea.txt";
  texts.train_file = "Castrovelde_Ardis_R31708-.txt";
  texts.line = p.line;
  texts.train = p.train;

  // As the tool compiles: in memory, with field notes, here without the plan.
  SourceFiles sources = SourceFiles::in_memory(texts.line, texts.train);
  const CompileResult r = compile(ScenarioNames{std::string(names::kRouteName), std::string(names::kTrainCode)},
                                  CompileOptions{.line_plan = false, .account = true}, sources);
  const std::vector<tool::Message> ms = tool::compile_messages(r, texts, (size & 1) != 0).messages;

  // The default options, and -v with every message shown.
  const tool::RenderOptions defaults{};
  const tool::RenderOptions everything{.verbose = true, .max_per_name = 0};
  const std::size_t input_bound = kOutputFloor + kOutputPerInputByte * size;

  const std::size_t default_bound = tool::bound_of(ms, texts, defaults);

  const std::string text = tool::render_text(ms, texts, defaults);
  require(text.size() <= default_bound, "the text rendering exceeds the renderer's bound");
  require(text.size() <= input_bound, "the text rendering exceeds its bound of the input's size");
  require(is_display_text(text), "the text rendering holds a raw control byte or invalid UTF-8");

  // Then, by a bit of the input's size, either the JSON rendering or the -v
  // rendering of every message: each repeats most of the default text's work.
  if ((size & kEverythingBit) == 0) {
    const std::string json = tool::render_json(ms, texts, defaults);
    require(json.size() <= default_bound, "the JSON rendering exceeds the renderer's bound");
    require(json.size() <= input_bound, "the JSON rendering exceeds its bound of the input's size");
    require(is_json_lines(json), "the JSON rendering does not parse");
  } else {
    const std::string all = tool::render_text(ms, texts, everything);
    require(all.size() <= tool::bound_of(ms, texts, everything), "the -v rendering of every message exceeds its bound");
    require(is_display_text(all), "the -v rendering holds a raw control byte or invalid UTF-8");
  }
  return 0;
}
