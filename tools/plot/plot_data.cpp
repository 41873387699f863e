// Locating the scenario to draw: its sources compiled in memory, or its .sim, train .dat and linea.dat decoded.
#include "plot/plot_data.h"

#include <algorithm>

#include "common/in_memory_compile.h"
#include "common/scenario_dir.h"
#include "common/scenario_view.h"
#include "common/source_dir.h"
#include "compile/compile_command.h"
#include "compile/lint.h"
#include "compiler/compile.h"
#include "compiler/memorizza_percorso.h"
#include "model/general_rows.h"
#include "model/scenario_files.h"
#include "platform/failure.h"

namespace scenario::tool {
namespace {

constexpr std::int32_t kCountsDown = 1;       // a chainage row's Position when the chainage falls along the route
constexpr std::int32_t kCountDownShift = 100;  // added to a counting-down row's End when the rows are ordered
constexpr int kTunnelTypeAbove = 10;           // a "montagna" type above this is a tunnel
constexpr std::size_t kMontagnaFields = 3;     // start, end, type

std::optional<std::string> read_if_present(const std::filesystem::path& file) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(file, ec)) return std::nullopt;
  return read_binary_file(file);
}

// Signals and tunnels as the binary files tell them.
void read_marks_from_cells(PlotData& d) {
  for (std::size_t c : cells_of_kind(d.cells, kind::kSignal)) {
    d.signals.push_back({c, static_cast<std::int32_t>((static_cast<std::int64_t>(c) - 1) * kCellMetres), false});
  }
  for (const Tunnel& t : tunnels_of(d.cells)) {
    d.tunnels.push_back({static_cast<std::int32_t>(t.first * kCellMetres),
                         static_cast<std::int32_t>((t.last + 1) * kCellMetres)});
  }
  d.tunnels_complete = false;
}

// Signals with the positions written in the train source, tunnels as the
// line source's ranges give them.
void read_marks_from_state(PlotData& d, const CompileResult& state, const SourceTexts& texts) {
  // The signals as written: the first field of each signal record the compiler placed.
  for (const AccountRecord& r : state.account->records) {
    if (r.kind != RecordKind::Signal || r.fate != RecordFate::Used || r.field_count < 1) continue;
    const std::int64_t position = state.account->fields_of(r)[0].number;
    const std::int64_t cell = position / kCellMetres + 1;
    if (cell < 0 || cell >= static_cast<std::int64_t>(d.cells.size())) continue;
    if (d.cells[static_cast<std::size_t>(cell)].Kind != kind::kSignal) continue;
    d.signals.push_back({static_cast<std::size_t>(cell), static_cast<std::int32_t>(position), true});
  }
  std::sort(d.signals.begin(), d.signals.end(), [](const SignalMark& a, const SignalMark& b) { return a.cell < b.cell; });
  for (const LintRecord& r : records_read(state, texts)) {
    if (r.kind != RecordKind::Montagna || r.fields.size() < kMontagnaFields) continue;
    const auto& from = r.fields[0].number;
    const auto& to = r.fields[1].number;
    const auto& type = r.fields[2].number;
    if (!from || !to || !type || *type <= kTunnelTypeAbove) continue;
    d.tunnels.push_back({static_cast<std::int32_t>(*from), static_cast<std::int32_t>(*to)});
  }
  d.tunnels_complete = true;
}

}  // namespace

std::int32_t drawn_route_length(const ScenarioRows& rows, std::size_t cell_count) {
  const std::int64_t reach = static_cast<std::int64_t>(cell_count) * kCellMetres;
  const std::int32_t declared = general_field(rows, kRouteLength);
  if (declared > 0 && declared <= reach) return declared;
  return static_cast<std::int32_t>(std::max<std::int64_t>(reach - kTailPastRoute, kCellMetres));
}

std::int64_t chainage_at(const ScenarioRows& rows, std::int64_t metres) {
  const ScenarioRecord* in_force = nullptr;
  for (int row : kChainageRows) {
    const ScenarioRecord& r = rows[static_cast<std::size_t>(row)];
    if (r.Start <= metres && (in_force == nullptr || r.Start > in_force->Start)) in_force = &r;
  }
  if (in_force == nullptr) return metres;
  if (in_force->Position == kCountsDown) return static_cast<std::int64_t>(in_force->End) - kCountDownShift - metres;
  return static_cast<std::int64_t>(in_force->End) + metres;
}

PlotData plot_data_of(const std::string& sim, const std::string& dat, const std::optional<std::string>& linea,
                      const std::string& sim_name) {
  PlotData d;
  d.rows = decode_sim(sim, sim_name).rows;
  d.route = general_field(d.rows, kRouteName);
  d.train = general_field(d.rows, kTrainCode);
  d.cells = decode_dat(dat, d.route + "_" + d.train + ".dat");
  if (linea) d.plan = decode_linea(*linea, d.route + "_linea.dat");
  d.route_length = drawn_route_length(d.rows, d.cells.size());
  return d;
}

PlotData load_plot_data(const std::filesystem::path& dir, const std::string& route, const std::string& train) {
  const std::filesystem::path sim = choose_sim_file(dir, route, train);
  const SimFile table = decode_sim(read_binary_file(sim), sim.filename().string());
  const std::string route_name = general_field(table.rows, kRouteName);
  const std::string train_code = general_field(table.rows, kTrainCode);
  const std::filesystem::path dat = dir / (route_name + "_" + train_code + ".dat");
  if (!std::filesystem::exists(dat)) {
    throw Failure(sim.filename().string() + " names route '" + route_name + "' and train '" + train_code + "', but " +
                  dat.string() + " does not exist");
  }
  PlotData d = plot_data_of(read_binary_file(sim), read_binary_file(dat),
                            read_if_present(dir / (route_name + "_linea.dat")), sim.filename().string());
  d.origin = PlotOrigin::BinaryFiles;
  d.folder = dir;
  read_marks_from_cells(d);
  const ScenarioNames names{route_name, train_code};
  std::error_code ec;
  const auto written = std::filesystem::last_write_time(sim, ec);
  for (const std::filesystem::path& source : {line_source_file(dir, names), train_source_file(dir, names)}) {
    std::error_code source_ec;
    const auto changed = std::filesystem::last_write_time(source, source_ec);
    if (!ec && !source_ec && changed > written) d.newer_sources.push_back(source.string());
  }
  return d;
}

std::optional<PlotData> compile_plot_data(const std::filesystem::path& dir_or_file, const std::string& route,
                                          const std::string& train) {
  CompileOptions options;
  options.source_dir = dir_or_file;
  options.route = route;
  options.train = train;
  std::optional<CompileSession> session;
  try {
    session = open_session(options);
  } catch (const Failure&) {
    return std::nullopt;  // no pair of sources to compile here: the binary files are drawn
  }
  if (!session->texts.line || !session->texts.train) return std::nullopt;
  const InMemoryCompile compiled = compile_in_memory(session->names, session->texts.line, session->texts.train,
                                                     scenario::CompileOptions{.line_plan = true, .account = true});
  const CompileResult& result = compiled.result;
  const std::optional<BinaryFiles>& files = compiled.files;
  if (!files) {
    throw Failure("the sources in " + session->options.source_dir.string() +
                      " compile to no binary files; scenario_tool check says why",
                  FailureDetail{.kind = FailureKind::Missing, .expected = "binary files"});
  }
  PlotData d = plot_data_of(files->sim, files->dat, files->linea,
                            session->names.RouteName + "_" + session->names.TrainCode + ".sim");
  d.origin = PlotOrigin::Sources;
  d.folder = session->options.source_dir;
  d.source_errors = compile_messages(result, session->texts, false).errors;
  read_marks_from_state(d, result, session->texts);
  return d;
}

}  // namespace scenario::tool
