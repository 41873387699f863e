// In-memory compiles for the fuzz targets, and the line-end property.
#include "fuzz_compile.h"

#include <cstdio>
#include <cstdlib>
#include <iterator>

#include "compiler/compile.h"
#include "compiler/memorizza_percorso.h"
#include "content/place_names.h"
#include "content/text_writer.h"
#include "content/writers.h"
#include "model/source_files.h"
#include "model/status.h"
#include "platform/failure.h"

namespace scenario::fuzz {
namespace {

// A 3 km route and a train for it that compile cleanly, with CR LF line ends
// as the generator writes. Short, so that the plan target draws its plan.
constexpr std::string_view kCompanionLine = R"([generale]
lunghezza percorso,    3000
progressiva chilometrica uno,    0,    0,    0
progressiva chilometrica due,    1000,    1500,    1
progressiva chilometrica tre,    0,    0,    0
sfondo uno,    100
sfondo due,    1
sfondo tre,    200
ripetizione segnali 4 codici,    0    ,0
[curve]
curvas4,  250,  400
curvad5,  1500,  500
[pendenze]
- Altitudine iniziale = 9 m.
pendenza,   0,    0
pendenza,  500,   3
pendenza,  2000,   -5
[montagne]
montagna,   1000,  1400,  11
[cartelli]
indicatori_vmax,  550,  80,  80,  80,  0,  ,  ,  ,  0
[indicazioni]
cartello_indicatore,  950,   (Galleria)(Prova)
[fine]
)";

constexpr std::string_view kCompanionTrain = R"([generale]
numero vetture,    3
percentuale massa frenata,    120
sabbia,    300
orologio,    8   6   30
[aderenze]
aderenza,   0,    100
[vel_limite]
velocita,       0,    80
velocita,   2000,    60
[stazioni]
stazione,       0, 12,  500,  1, 0, 0,  4,1,0,  2,1,1,    1,   8, 7, 0, PRIMA
stazione,    1500, 12,  300,  1, 0, 0,  4,1,0,  2,1,1,   30,   8,15, 0, SECONDA
stazione,    2900,  2,  600,  1, 1, 0,  1,1,0,  2,1,1,    0,   8,30, 0, ULTIMA
[rallentamenti]
[segnali]
segnale,    1000,   1, 4, 1,  0, 0,    0,  0,0,0, 0
segnale,    2200,   2, 4, 1,  0, 0,    0,  0,0,0, 0
[fine]
)";

constexpr std::string_view kLineEnds[] = {"\r\n", "\n", "\r"};
constexpr const char* kLineEndBroken[] = {
    "the sources with CR LF line ends compile differently",
    "the sources with LF line ends compile differently",
    "the sources with CR line ends compile differently",
};

bool has_line_end(const std::optional<std::string>& text) {
  return text && text->find_first_of("\r\n") != std::string::npos;
}

std::optional<std::string> rewritten(const std::optional<std::string>& text, std::string_view end) {
  if (!text) return std::nullopt;
  return with_line_ends(*text, end);
}

}  // namespace

Outcome compile_texts(std::optional<std::string> line, std::optional<std::string> train, bool line_plan) {
  const ScenarioNames names{std::string(names::kRouteName), std::string(names::kTrainCode)};
  SourceFiles sources = SourceFiles::in_memory(std::move(line), std::move(train));
  const CompileResult r = compile(names, CompileOptions{.line_plan = line_plan}, sources);
  Outcome o;
  o.status = r.report.StatusCode;
  o.position = r.report.StatusPosition;
  o.cell_count = r.scenario.CellCount;
  if (r.guard) o.guard = status_number(*r.guard);
  o.failed = r.failure.has_value();
  if (o.failed || o.guard) return o;
  try {
    BinaryFiles files = serialise_all(r);
    o.linea = std::move(files.linea);
    o.sim = std::move(files.sim);
    o.dat = std::move(files.dat);
  } catch (const Failure&) {
    o.serialise_failed = true;
  }
  return o;
}

bool compiles_to(std::optional<std::string> line, std::optional<std::string> train, bool line_plan,
                 const BinaryFiles& expected) {
  const ScenarioNames names{std::string(names::kRouteName), std::string(names::kTrainCode)};
  SourceFiles sources = SourceFiles::in_memory(std::move(line), std::move(train));
  const CompileResult r = compile(names, CompileOptions{.line_plan = line_plan}, sources);
  if (r.report.StatusCode != 0 || r.guard || r.failure) return false;
  try {
    const BinaryFiles files = serialise_all(r, PlanBytes::Skipped);
    return plan_matches(r, expected.linea) && files.sim == expected.sim && files.dat == expected.dat;
  } catch (const Failure&) {
    return false;
  }
}

std::string with_line_ends(std::string_view text, std::string_view end) {
  std::string out;
  out.reserve(text.size() + text.size() / 8);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      out += end;
    } else {
      out += c;
    }
  }
  return out;
}

void require(bool holds, const char* what) {
  if (holds) return;
  std::fprintf(stderr, "property broken: %s\n", what);
  std::fflush(stderr);
  std::abort();
}

void check_line_end_form(const std::optional<std::string>& line, const std::optional<std::string>& train,
                         bool line_plan, const Outcome& expected, std::size_t choice) {
  if (!has_line_end(line) && !has_line_end(train)) return;
  const std::size_t form = choice % std::size(kLineEnds);
  const std::string_view end = kLineEnds[form];
  std::optional<std::string> l = rewritten(line, end), t = rewritten(train, end);
  // Texts already written that way compile again as they are: then the
  // check is that two compiles of the same input agree.
  const bool same = l == line && t == train;
  require(compile_texts(std::move(l), std::move(t), line_plan) == expected,
          same ? "two compiles of the same sources differ" : kLineEndBroken[form]);
}

SourcePair split_pair(const std::string& input) {
  const std::size_t cut = input.find('\0');
  if (cut == std::string::npos) return {input, std::nullopt};
  return {input.substr(0, cut), input.substr(cut + 1)};
}

const std::string& companion_line() {
  static const std::string text = with_line_ends(kCompanionLine, "\r\n");
  return text;
}

const std::string& companion_train() {
  static const std::string text = with_line_ends(kCompanionTrain, "\r\n");
  return text;
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
