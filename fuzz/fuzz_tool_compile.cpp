// Fuzz target: the authors' tool's compile of two sources (split at the first
// NUL byte) with field notes, reported as text and as JSON. The output must
// stay within a stated bound of the input's size, be safe to show on a
// terminal, and parse as JSON lines under --diagnostics=json.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <sstream>
#include <string>

#include "compile/compile_command.h"
#include "content/place_names.h"
#include "fuzz_compile.h"
#include "json_check.h"
#include "text_check.h"

namespace {

using namespace scenario;

// The stated bound: whatever the sources hold, one report (stdout and stderr
// together) is at most kOutputFloor bytes plus kOutputPerInputByte per byte of
// the two sources. Quotes are cut to a window and messages of one name are
// held back after a few, so neither a long line nor many records can
// multiply the input's size.
constexpr std::size_t kOutputFloor = 16 * 1024;
constexpr std::size_t kOutputPerInputByte = 16;

struct Report {
  int status = 0;
  std::string out;
  std::string err;
};

tool::CompileSession session_of(const fuzz::SourcePair& p) {
  tool::CompileSession s;
  s.options.check_only = true;  // report, write nothing
  s.options.no_line = true;
  s.names = ScenarioNames{std::string(names::kRouteName), std::string(names::kTrainCode)};
  s.texts.line_file = "Castrovelde_Ardis_linea.txt";
  s.texts.train_file = "Castrovelde_Ardis_R31708-.txt";
  s.texts.line = p.line;
  s.texts.train = p.train;
  return s;
}

// Compiles and reports as text (or, when `json` is set, reports the same
// compilation again as JSON lines with -v's status codes).
Report report(tool::CompileSession& s, bool json) {
  std::ostringstream out, err;
  Report r;
  s.options.json = json;
  s.options.verbose = json;
  r.status = json ? tool::report_compile(s, std::nullopt, out, err) : tool::run_compile(s, out, err);
  r.out = out.str();
  r.err = err.str();
  return r;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace scenario::fuzz;
  const SourcePair p = split_pair(as_text(data, size));
  const std::size_t bound = kOutputFloor + kOutputPerInputByte * size;

  tool::CompileSession session = session_of(p);
  const Report text = report(session, false);
  require(text.out.size() + text.err.size() <= bound, "the text report exceeds its bound");
  require(is_display_text(text.out) && is_display_text(text.err),
          "the text report holds a raw control byte or invalid UTF-8");

  const Report json = report(session, true);
  require(json.out.size() + json.err.size() <= bound, "the JSON report exceeds its bound");
  require(is_json_lines(json.out), "the JSON report does not parse");
  require(is_display_text(json.err), "the summary under JSON holds a raw control byte or invalid UTF-8");
  require(text.status == json.status, "the text and JSON reports end with different statuses");
  return 0;
}
