// Parsing of scenario_tool's command line and the help texts built from the same option tables.
#include "common/cli.h"

#include <charconv>
#include <cmath>
#include <map>
#include <string_view>

#include "common/text_match.h"
#include "common/warning_names.h"

namespace scenario::tool {
namespace {

struct OptionDef {
  std::string_view name;  // long name without the dashes
  char short_name = 0;
  std::string_view value_name;  // empty: a switch without value
  std::string_view help;
};

constexpr OptionDef kHelp{"help", 'h', "", "show this help"};
constexpr OptionDef kDiagnostics{"diagnostics", 0, "FORMAT",
                                 "'text' (default), 'json' (one object per line) or 'sarif' (SARIF 2.1.0)"};
constexpr OptionDef kColor{"color", 0, "WHEN", "colour the messages: 'auto' (on a terminal, default), 'always', 'never'"};

// How errors are reported, shared by every command, then --help.
std::vector<OptionDef> with_report_options(std::vector<OptionDef> defs) {
  defs.insert(defs.end(), {kDiagnostics, kColor, kHelp});
  return defs;
}

// The options that shape the diagnostics, shared by compile and check.
std::vector<OptionDef> with_diagnostic_options(std::vector<OptionDef> defs) {
  defs.insert(defs.end(),
              {
                  {"werror", 0, "", "treat warnings as errors, as -Werror does; -WNAME, -Wno-NAME, -Werror=NAME,\n"
                                    "-Wno-error=NAME switch one, -w all ('scenario_tool help warnings')"},
                  {"max-diagnostics", 0, "N", "show at most N diagnostics of one kind (default 20; 0 shows all)"},
                  {"verbose", 'v', "", "also show each error's status code and position"},
              });
  return with_report_options(defs);
}

const std::vector<OptionDef>& compile_options() {
  static const std::vector<OptionDef> defs = with_diagnostic_options({
      {"route", 0, "NAME", "route name; needed when SOURCEDIR holds more than one line source"},
      {"train", 0, "CODE", "train code; needed when SOURCEDIR holds more than one train source"},
      {"no-line", 0, "", "do not compile the track plan; <route>_linea.dat is not written"},
      {"output", 'o', "OUTDIR", "directory for the three binary files, created when missing (default: SOURCEDIR)"},
      {"force", 0, "", "write the files even when the sources have errors, as the generator does"},
  });
  return defs;
}

const std::vector<OptionDef>& check_options() {
  static const std::vector<OptionDef> defs = with_diagnostic_options({
      {"route", 0, "NAME", "route name; needed when DIR holds more than one line source"},
      {"train", 0, "CODE", "train code; needed when DIR holds more than one train source"},
      {"no-line", 0, "", "do not compile the track plan (its curve checks are skipped too)"},
  });
  return defs;
}

const std::vector<OptionDef>& init_options() {
  static const std::vector<OptionDef> defs = with_report_options({
      {"route", 0, "NAME", "route name of the new sources (default: Castrovelde_Ardis)"},
      {"train", 0, "CODE", "train code of the new sources (default: R31708)"},
      {"force", 0, "", "replace source files that already exist"},
  });
  return defs;
}

const std::vector<OptionDef>& verify_options() {
  static const std::vector<OptionDef> defs = with_report_options({
      {"route", 0, "NAME", "with a folder: the route, when it holds more than one scenario"},
      {"train", 0, "CODE", "with a folder: the train, when it holds more than one scenario"},
      {"sources", 0, "DIR", "compile the sources in DIR in memory and compare the files with them, byte for byte"},
  });
  return defs;
}

const std::vector<OptionDef>& dump_options() {
  static const std::vector<OptionDef> defs = with_report_options({
      {"json", 0, "", "print JSON instead of text"},
      {"every", 0, "N", "for a linea.dat: show a point every N metres (default 1000)"},
      {"output", 'o', "FILE", "write to FILE instead of standard output ('-')"},
  });
  return defs;
}

const std::vector<OptionDef>& plot_options() {
  static const std::vector<OptionDef> defs = with_report_options({
      {"route", 0, "NAME", "the route, when DIR holds more than one scenario"},
      {"train", 0, "CODE", "the train, when DIR holds more than one scenario"},
      {"output", 'o', "FILE.svg", "where to write the picture, '-' for standard output "
                                  "(default: DIR/<route>_<train>.svg)"},
      {"from", 0, "KM", "draw the stretch from KM (route distance; default: the start)"},
      {"to", 0, "KM", "draw the stretch up to KM (route distance; default: the end)"},
  });
  return defs;
}

const std::vector<OptionDef>& decompile_options() {
  static const std::vector<OptionDef> defs = with_report_options({
      {"route", 0, "NAME", "with a folder: the route, when it holds more than one scenario"},
      {"train", 0, "CODE", "with a folder: the train, when it holds more than one scenario"},
      {"output", 'o', "OUTDIR", "directory for the two sources, created when missing (default: the files' folder)"},
      {"force", 0, "", "replace source files that already exist"},
  });
  return defs;
}

const std::vector<OptionDef>& diff_options() {
  static const std::vector<OptionDef> defs = with_report_options({
      {"route", 0, "NAME", "with folders: the route, when they hold more than one scenario"},
      {"train", 0, "CODE", "with folders: the train, when they hold more than one scenario"},
  });
  return defs;
}

const std::vector<OptionDef>& options_of(Command c) {
  static const std::vector<OptionDef> none = {kHelp};
  switch (c) {
    case Command::Init: return init_options();
    case Command::Check: return check_options();
    case Command::Compile: return compile_options();
    case Command::Verify: return verify_options();
    case Command::Dump: return dump_options();
    case Command::Plot: return plot_options();
    case Command::Decompile: return decompile_options();
    case Command::Diff: return diff_options();
    case Command::Lsp:
    case Command::None:
    case Command::Help: break;
  }
  return none;
}

struct ParsedOptions {
  std::map<std::string, std::string, std::less<>> values;  // long name -> value ("" for switches)
  std::vector<std::string> positionals;
  std::vector<std::string> warning_options;  // -W..., -w
  std::string error;
};

std::vector<std::string> spelled_options(const std::vector<OptionDef>& defs) {
  std::vector<std::string> out;
  for (const auto& s : defs) out.push_back("--" + std::string(s.name));
  return out;
}

std::string unknown_option(std::string_view arg, const std::vector<OptionDef>& defs) {
  std::string msg = "unknown option '" + std::string(arg) + "'";
  std::string_view word = arg.substr(0, arg.find('='));
  if (auto hint = near_miss(word, spelled_options(defs))) msg += " (did you mean '" + *hint + "'?)";
  return msg;
}

const OptionDef* find_long(const std::vector<OptionDef>& defs, std::string_view name) {
  for (const auto& s : defs) {
    if (s.name == name) return &s;
  }
  return nullptr;
}

const OptionDef* find_short(const std::vector<OptionDef>& defs, char c) {
  for (const auto& s : defs) {
    if (s.short_name != 0 && s.short_name == c) return &s;
  }
  return nullptr;
}

// Takes the option at args[i] (and its value), advancing i; sets out.error on failure.
void take_option(const std::vector<std::string>& args, std::size_t& i, const std::vector<OptionDef>& defs,
                 ParsedOptions& out) {
  const std::string& arg = args[i];
  const OptionDef* def = nullptr;
  std::optional<std::string> inline_value;
  if (arg.rfind("--", 0) == 0) {
    std::string_view body = std::string_view(arg).substr(2);
    std::size_t eq = body.find('=');
    def = find_long(defs, body.substr(0, eq));
    if (eq != std::string_view::npos) inline_value = std::string(body.substr(eq + 1));
  } else {
    // A short option; one that takes a value may carry it attached (-oDIR).
    def = find_short(defs, arg[1]);
    if (def != nullptr && arg.size() > 2) {
      if (def->value_name.empty()) def = nullptr;
      else inline_value = arg.substr(2);
    }
  }
  if (def == nullptr) {
    out.error = unknown_option(arg, defs);
    return;
  }
  std::string name(def->name);
  if (def->value_name.empty()) {
    if (inline_value) out.error = "option '--" + name + "' takes no value";
    out.values[name] = "";
    return;
  }
  if (inline_value) {
    out.values[name] = *inline_value;
  } else if (i + 1 < args.size()) {
    out.values[name] = args[++i];
  } else {
    out.error = "option '--" + name + "' needs a value (" + std::string(def->value_name) + ")";
  }
}

ParsedOptions parse_options(const std::vector<std::string>& args, const std::vector<OptionDef>& defs) {
  ParsedOptions out;
  bool options_done = false;
  for (std::size_t i = 1; i < args.size() && out.error.empty(); ++i) {
    const std::string& arg = args[i];
    if (!options_done && arg == "--") {
      options_done = true;
    } else if (!options_done && arg.size() > 1 && arg[0] == '-') {
      const bool warning_option = (arg.rfind("-W", 0) == 0 && arg.size() > 2) || arg == "-w";
      if (warning_option && find_long(defs, "werror") != nullptr) {
        out.warning_options.push_back(arg);
      } else {
        take_option(args, i, defs, out);
      }
    } else {
      out.positionals.push_back(arg);
    }
  }
  return out;
}

std::optional<std::string> value_of(const ParsedOptions& p, std::string_view name) {
  auto it = p.values.find(name);
  if (it == p.values.end()) return std::nullopt;
  return it->second;
}

bool has(const ParsedOptions& p, std::string_view name) { return p.values.count(name) != 0; }

std::string one_positional(const ParsedOptions& p, std::string_view what, std::string& error) {
  if (p.positionals.size() == 1) return p.positionals[0];
  if (p.positionals.empty()) {
    error = "missing " + std::string(what);
  } else {
    error = "expected one " + std::string(what) + ", got " + std::to_string(p.positionals.size()) + " ('" +
            p.positionals[1] + "' is one too many)";
  }
  return {};
}

// At most one positional; the current folder when there is none.
std::string optional_positional(const ParsedOptions& p, std::string_view what, std::string& error) {
  if (p.positionals.empty()) return ".";
  return one_positional(p, what, error);
}

void fill_compile(const ParsedOptions& p, Invocation& inv) {
  CompileOptions& o = inv.compile;
  o.route = value_of(p, "route").value_or("");
  o.train = value_of(p, "train").value_or("");
  o.no_line = has(p, "no-line");
  if (auto out = value_of(p, "output")) o.out_dir = *out;
  o.force = has(p, "force");
  o.werror = has(p, "werror");
  o.warnings.all_errors = o.werror;
  for (const std::string& w : p.warning_options) {
    if (auto error = take_warning_option(w, o.warnings)) {
      inv.error = *error;
      return;
    }
  }
  o.format = inv.format;
  o.verbose = has(p, "verbose");
  if (auto max = value_of(p, "max-diagnostics")) {
    std::size_t n = 0;
    auto [end, ec] = std::from_chars(max->data(), max->data() + max->size(), n);
    if (ec != std::errc() || end != max->data() + max->size()) {
      inv.error = "--max-diagnostics takes a whole number (0 shows all), not '" + *max + "'";
      return;
    }
    o.max_diagnostics = n;
  }
  if (inv.command == Command::Check) {
    o.check_only = true;
    o.source_dir = optional_positional(p, "DIR or FILE", inv.error);
  } else {
    o.source_dir = optional_positional(p, "SOURCEDIR or FILE", inv.error);
  }
}

// A name from the command line becomes part of file names and of the
// scenario table: it must not be empty, leave the folder or hold a character
// that no file name can carry.
std::string bad_name(const ParsedOptions& p, std::string_view option, std::string_view what) {
  const auto name = value_of(p, option);
  if (!name) return "";
  if (name->empty()) return "--" + std::string(option) + " is empty; give " + std::string(what) + " or leave the option out";
  for (char c : *name) {
    const auto u = static_cast<unsigned char>(c);
    if (c == '/' || c == '\\' || c == ':' || u < 0x20 || u == 0x7F) {
      return "--" + std::string(option) + " '" + *name + "' holds a character that a file name cannot carry";
    }
  }
  return "";
}

void fill_init(const ParsedOptions& p, Invocation& inv) {
  InitOptions& o = inv.init;
  o.route = value_of(p, "route").value_or("");
  o.train = value_of(p, "train").value_or("");
  o.force = has(p, "force");
  for (const std::string& problem : {bad_name(p, "route", "a route name"), bad_name(p, "train", "a train code")}) {
    if (!problem.empty()) {
      inv.error = problem;
      return;
    }
  }
  o.dir = optional_positional(p, "DIR", inv.error);
}

void fill_verify(const ParsedOptions& p, Invocation& inv) {
  VerifyOptions& o = inv.verify;
  o.route = value_of(p, "route").value_or("");
  o.train = value_of(p, "train").value_or("");
  if (auto sources = value_of(p, "sources")) o.sources = *sources;
  if (p.positionals.empty()) o.paths.emplace_back(".");
  for (const std::string& path : p.positionals) o.paths.emplace_back(path);
}

void fill_dump(const ParsedOptions& p, Invocation& inv) {
  DumpOptions& o = inv.dump;
  o.json = has(p, "json");
  if (auto every = value_of(p, "every")) {
    std::int32_t n = 0;
    auto [end, ec] = std::from_chars(every->data(), every->data() + every->size(), n);
    if (ec != std::errc() || end != every->data() + every->size() || n <= 0) {
      inv.error = "--every takes a whole number of metres above 0, not '" + *every + "'";
      return;
    }
    o.every = n;
  }
  if (auto out = value_of(p, "output")) o.output = *out;
  o.file = one_positional(p, "FILE", inv.error);
}

// A distance in km: digits with an optional fraction after a full stop.
std::optional<double> kilometres_of(const std::string& text) {
  double km = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), km, std::chars_format::fixed);
  if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(km) || km < 0) return std::nullopt;
  return km;
}

void fill_plot(const ParsedOptions& p, Invocation& inv) {
  if (auto out = value_of(p, "output")) inv.plot.output = *out;
  for (auto [name, km] : {std::pair{"from", &inv.plot.from_km}, std::pair{"to", &inv.plot.to_km}}) {
    auto value = value_of(p, name);
    if (!value) continue;
    *km = kilometres_of(*value);
    if (!*km) {
      inv.error = std::string("--") + name + " takes a distance in km of 0 or more, such as 12.5, not '" + *value + "'";
      return;
    }
  }
  if (inv.plot.from_km && inv.plot.to_km && *inv.plot.from_km >= *inv.plot.to_km) {
    inv.error = "--from must lie before --to";
    return;
  }
  inv.plot.route = value_of(p, "route").value_or("");
  inv.plot.train = value_of(p, "train").value_or("");
  inv.plot.dir = optional_positional(p, "DIR", inv.error);
}

void fill_decompile(const ParsedOptions& p, Invocation& inv) {
  DecompileOptions& o = inv.decompile;
  o.route = value_of(p, "route").value_or("");
  o.train = value_of(p, "train").value_or("");
  if (auto out = value_of(p, "output")) o.out_dir = *out;
  o.force = has(p, "force");
  o.format = inv.format;
  o.path = optional_positional(p, "DIR or FILE", inv.error);
}

void fill_diff(const ParsedOptions& p, Invocation& inv) {
  DiffOptions& o = inv.diff;
  o.route = value_of(p, "route").value_or("");
  o.train = value_of(p, "train").value_or("");
  o.format = inv.format;
  constexpr std::size_t kSetsCompared = 2;
  if (p.positionals.size() == kSetsCompared) {
    o.before = p.positionals[0];
    o.after = p.positionals[1];
  } else if (p.positionals.size() < kSetsCompared) {
    inv.error = p.positionals.empty() ? "missing OLD and NEW" : "missing NEW";
  } else {
    inv.error = "expected OLD and NEW, got " + std::to_string(p.positionals.size()) + " ('" +
                p.positionals[kSetsCompared] + "' is one too many)";
  }
}

constexpr Command kCommands[] = {Command::Init, Command::Check, Command::Compile, Command::Verify,
                                 Command::Dump, Command::Plot,  Command::Decompile, Command::Diff};

Command command_of(std::string_view word) {
  if (word == "init") return Command::Init;
  if (word == "check") return Command::Check;
  if (word == "verify") return Command::Verify;
  if (word == "compile") return Command::Compile;
  if (word == "dump") return Command::Dump;
  if (word == "plot") return Command::Plot;
  if (word == "decompile") return Command::Decompile;
  if (word == "diff") return Command::Diff;
  if (word == "help") return Command::Help;
  if (word == "lsp") return Command::Lsp;
  return Command::None;
}

// The column where the options' help texts start.
constexpr std::size_t kHelpColumn = 28;

std::string options_help(const std::vector<OptionDef>& defs) {
  std::string out = "\nOptions:\n";
  for (const auto& s : defs) {
    std::string left = "  ";
    if (s.short_name) {
      left.append("-").push_back(s.short_name);
      left += ", ";
    } else {
      left += "    ";
    }
    left.append("--").append(s.name);
    if (!s.value_name.empty()) left.append(s.name == "diagnostics" || s.name == "color" ? "=" : " ").append(s.value_name);
    if (left.size() < kHelpColumn) left.resize(kHelpColumn, ' ');
    else left += "  ";
    // A help text of two lines continues under the first.
    std::string help(s.help);
    for (std::size_t at = help.find('\n'); at != std::string::npos; at = help.find('\n', at + 1)) {
      help.insert(at + 1, std::string(kHelpColumn, ' '));
    }
    out += left + help + "\n";
  }
  return out;
}

}  // namespace

std::string command_name(Command c);

namespace {

std::vector<std::string> command_words() {
  std::vector<std::string> words;
  for (Command c : kCommands) words.push_back(command_name(c));
  words.push_back("help");
  words.push_back("--help");
  words.push_back("--version");
  return words;
}

// `help COMMAND`: the help of that command.
void help_for(const std::vector<std::string>& args, Invocation& inv) {
  if (args.size() > 2) {
    inv.error = "'help' takes at most one command, got " + std::to_string(args.size() - 1);
    return;
  }
  if (args[1] == "warnings") {
    inv.warnings_help = true;
    return;
  }
  inv.command = command_of(args[1]);
  if (inv.command != Command::None) return;
  inv.error = "unknown command '" + args[1] + "'";
  if (auto hint = near_miss(args[1], command_words())) inv.error += "; did you mean '" + *hint + "'?";
}

}  // namespace

std::string warnings_help() {
  std::string out =
      "Warnings of check and compile. -Wno-NAME turns one off, -Werror=NAME makes it an error,\n"
      "-WNAME or -Wno-error=NAME a warning; -Werror (--werror) makes them all errors and -w turns\n"
      "them all off, but those marked as errors by default stay errors until an option names\n"
      "them. None changes the compiled files.\n\n";
  for (const WarningName& w : warning_names()) {
    std::string left = "  " + std::string(w.name);
    if (left.size() < 24) left.resize(24, ' ');
    else left += "  ";
    out += left + std::string(w.when) + (w.by_default == WarningLevel::Error ? " (an error by default)" : "") + "\n";
  }
  return out;
}

std::string version_text() {
#if defined(__clang__)
  const std::string compiler = "clang " __clang_version__;
#elif defined(__GNUC__)
  const std::string compiler = "GCC " __VERSION__;
#else
  const std::string compiler = "an unnamed compiler";
#endif
#ifdef SCENARIO_BUILD_TYPE
  const std::string build = SCENARIO_BUILD_TYPE;
#else
  const std::string build = "unnamed";
#endif
  return std::string("scenario_tool ") + kToolVersion + "\n" +
         "build: " + (build.empty() ? "unnamed" : build) + ", " + compiler + "\n" +
         "writes: <route>_<train>.sim, <route>_<train>.dat and <route>_linea.dat byte for byte as the\n"
         "        generator does; diagnostics as text, JSON lines or SARIF " + kSarifVersion + "; plot as SVG " +
         kSvgVersion + "\n";
}

std::string command_name(Command c) {
  switch (c) {
    case Command::Init: return "init";
    case Command::Check: return "check";
    case Command::Compile: return "compile";
    case Command::Verify: return "verify";
    case Command::Dump: return "dump";
    case Command::Plot: return "plot";
    case Command::Decompile: return "decompile";
    case Command::Diff: return "diff";
    case Command::Help: return "help";
    case Command::Lsp: return "lsp";
    case Command::None: break;
  }
  return "";
}

namespace {

// The value of --NAME=VALUE or --NAME VALUE among the options (before "--").
std::optional<std::string> scanned_value(const std::vector<std::string>& args, std::string_view name) {
  const std::string spelled = "--" + std::string(name);
  std::optional<std::string> found;
  for (std::size_t i = 0; i < args.size() && args[i] != "--"; ++i) {
    if (args[i] == spelled && i + 1 < args.size()) found = args[++i];
    else if (args[i].rfind(spelled + "=", 0) == 0) found = args[i].substr(spelled.size() + 1);
  }
  return found;
}

// The report format and colour, read first so that every later error is
// reported as asked; an unknown value is itself a usage error.
void take_report_options(const std::vector<std::string>& args, Invocation& inv) {
  if (auto format = scanned_value(args, "diagnostics")) {
    if (*format == "json") inv.format = DiagnosticsFormat::Json;
    else if (*format == "sarif") inv.format = DiagnosticsFormat::Sarif;
    else if (*format != "text") inv.error = "--diagnostics takes 'text', 'json' or 'sarif', not '" + *format + "'";
  }
  if (auto color = scanned_value(args, "color")) {
    if (*color == "always") inv.color = ColorMode::Always;
    else if (*color == "never") inv.color = ColorMode::Never;
    else if (*color != "auto" && inv.error.empty())
      inv.error = "--color takes 'auto', 'always' or 'never', not '" + *color + "'";
  }
}

}  // namespace

Invocation parse_command_line(const std::vector<std::string>& args) {
  Invocation inv;
  take_report_options(args, inv);
  if (!inv.error.empty()) return inv;
  if (args.empty()) {
    inv.error = "no command given; run 'scenario_tool --help' for the commands";
    return inv;
  }
  const std::string& first = args[0];
  if (first == "--version") {
    inv.version = true;
    return inv;
  }
  if (first == "--help" || first == "-h" || first == "help") {
    inv.help = true;
    if (first == "help" && args.size() > 1) help_for(args, inv);
    return inv;
  }
  inv.command = command_of(first);
  if (inv.command == Command::None || inv.command == Command::Help) {
    inv.command = Command::None;
    const char* what = first.size() > 1 && first[0] == '-' ? "option" : "command";
    inv.error = std::string("unknown ") + what + " '" + first + "'";
    if (auto hint = near_miss(first, command_words())) {
      inv.error += "; did you mean '" + *hint + "'?";
    } else {
      inv.error += "; run 'scenario_tool --help' for the commands";
    }
    return inv;
  }
  ParsedOptions p = parse_options(args, options_of(inv.command));
  if (!p.error.empty()) {
    inv.error = p.error + "; run 'scenario_tool " + command_name(inv.command) + " --help' for the options";
    return inv;
  }
  if (has(p, "help")) {
    inv.help = true;
    return inv;
  }
  if (inv.command == Command::Init) fill_init(p, inv);
  if (inv.command == Command::Compile || inv.command == Command::Check) fill_compile(p, inv);
  if (inv.command == Command::Verify) fill_verify(p, inv);
  if (inv.command == Command::Dump) fill_dump(p, inv);
  if (inv.command == Command::Plot) fill_plot(p, inv);
  if (inv.command == Command::Decompile) fill_decompile(p, inv);
  if (inv.command == Command::Diff) fill_diff(p, inv);
  return inv;
}

const char* const kExitStatusHelp =
    "\nExit status: 0 clean (warnings alone do not count); 1 errors in the sources or files,\n"
    "or warnings under --werror; 2 an unusable command line, or a file that cannot be found,\n"
    "read or written.\n";

// What each command's exit statuses mean, for its own help.
std::string exit_status_help(Command c) {
  switch (c) {
    case Command::Init:
      return "\nExit status: 0 both sources written; 2 an unusable command line, a source that exists\n"
             "already (without --force), or a file that cannot be written.\n";
    case Command::Check:
    case Command::Compile:
      return "\nExit status: 0 clean (warnings alone do not count); 1 errors in the sources, or\n"
             "warnings under --werror; 2 an unusable command line, or a source or file that cannot\n"
             "be found, read or written.\n";
    case Command::Verify:
      return "\nExit status: 0 every file as the compiler writes it; 1 a mismatch found; 2 an unusable\n"
             "command line, or a file that cannot be found or read.\n";
    case Command::Dump:
      return "\nExit status: 0 decoded; 1 a file too short or malformed to decode; 2 an unusable\n"
             "command line, or a file that cannot be found, read or written.\n";
    case Command::Plot:
      return "\nExit status: 0 the picture written; 1 files too short or malformed to draw; 2 an\n"
             "unusable command line, or a file that cannot be found, read or written.\n";
    case Command::Decompile:
      return "\nExit status: 0 the two sources written; 1 files that cannot be rebuilt (nothing written);\n"
             "2 an unusable command line, a source that exists already (without --force), or a file\n"
             "that cannot be found, read or written.\n";
    case Command::Diff:
      return "\nExit status: 0 the two sets are the same; 1 they differ; 2 an unusable command line, or\n"
             "a file that cannot be found or read.\n";
    case Command::Help:
      return "\nExit status: 0 the help shown; 2 an unknown command.\n";
    case Command::Lsp:
      return "\nExit status: 0 after the editor's shutdown and exit; 1 when the input ends or exit\n"
             "comes without shutdown; 2 an unusable command line.\n";
    case Command::None: break;
  }
  return kExitStatusHelp;
}

std::string general_help() {
  return std::string(
             "usage: scenario_tool <command> [options] ARG\n"
             "       scenario_tool help COMMAND | --help | --version\n"
             "\n"
             "Tools for scenario authors, built on the generator's own compiler.\n"
             "\n"
             "Commands:\n"
             "  init       write a starting pair of sources: the built-in route and train\n"
             "  check      compile <route>_linea.txt and <route>_<train>-.txt, report, write nothing\n"
             "  compile    compile the two sources with clear diagnostics and write the three files\n"
             "  verify     check the sizes, structure and check codes of .sim, .dat and linea.dat files\n"
             "  dump       decode a .sim, a train .dat or a linea.dat file\n"
             "  plot       draw the track plan and the gradient and speed profiles as SVG\n"
             "  decompile  rebuild the two sources from the binary files, only when they compile back\n"
             "  diff       what changed between two sets of binary files, in source terms\n"
             "  help       show the help of a command, or the warnings (help warnings)\n"
             "  lsp        serve an editor: diagnostics as you type, hover, completion, outline\n"
             "\n"
             "Every command works on the current folder when given none. Run\n"
             "'scenario_tool help COMMAND' for the options of a command.\n") +
         kExitStatusHelp;
}

std::string command_help(Command c) {
  switch (c) {
    case Command::Init:
      return "usage: scenario_tool init [options] [DIR]\n"
             "\n"
             "Writes a starting pair of sources into DIR (default: the current folder, created\n"
             "when missing): <route>_linea.txt and <route>_<train>-.txt, byte for byte the\n"
             "built-in route and train as the generator writes them (CR LF, 8-bit). Compiled\n"
             "under the built-in names they give the generator's own three files. A file that\n"
             "already exists is never replaced without --force.\n" +
             options_help(init_options()) + exit_status_help(c);
    case Command::Check:
      return "usage: scenario_tool check [options] [DIR | FILE]\n"
             "\n"
             "Compiles the sources in DIR (default: the current folder), or the pair that FILE\n"
             "(<route>_linea.txt or <route>_<train>-.txt) belongs to, exactly as 'compile' does,\n"
             "and reports every error and warning. Nothing is written.\n" +
             options_help(check_options()) + exit_status_help(c);
    case Command::Compile:
      return "usage: scenario_tool compile [options] [SOURCEDIR | FILE]\n"
             "\n"
             "Compiles the line source <route>_linea.txt and the train source <route>_<train>-.txt\n"
             "found in SOURCEDIR (default: the current folder), or the pair that the source FILE\n"
             "belongs to, exactly as the generator does, and writes <route>_linea.dat,\n"
             "<route>_<train>.sim and <route>_<train>.dat. The sources are never changed. When a\n"
             "source breaks a rule, the error names the file, line and field, and no file is written.\n" +
             options_help(compile_options()) + exit_status_help(c);
    case Command::Verify:
      return "usage: scenario_tool verify [options] [FILE... | DIR]\n"
             "\n"
             "Reads binary files and recomputes what the compiler guarantees: sizes and counts,\n"
             "type tags, cell kinds, unused fields left 0, the stamp marks and the two check\n"
             "codes, and the track plan point by point. Files given together, or the three files\n"
             "of one scenario in DIR (default: the current folder), must also belong together:\n"
             "the same route length, cell count and names. Each mismatch is reported with its byte offset and field.\n" +
             options_help(verify_options()) + exit_status_help(c);
    case Command::Dump:
      return "usage: scenario_tool dump [options] FILE\n"
             "\n"
             "Decodes FILE by its name: <route>_<train>.sim (scenario rows), <route>_linea.dat\n"
             "(track plan points) or <route>_<train>.dat (train cells and profiles).\n" +
             options_help(dump_options()) + exit_status_help(c);
    case Command::Plot:
      return "usage: scenario_tool plot [options] [DIR | FILE]\n"
             "\n"
             "Draws one scenario as one self-contained SVG page: the track plan to scale with\n"
             "stations, signals, signs and km posts (the chainage a driver reads) labelled, and\n"
             "under it the elevation (integrated from the gradients), gradient and speed profiles\n"
             "with tunnels, stations, signals, signs, slow orders and speed boards. When DIR\n"
             "(default: the current folder), or the source file given instead, holds the two\n"
             "sources, they are compiled in memory first and nothing else is written; otherwise\n"
             "the three binary files are read.\n" +
             options_help(plot_options()) + exit_status_help(c);
    case Command::Decompile:
      return "usage: scenario_tool decompile [options] [DIR | FILE]\n"
             "\n"
             "Rebuilds <route>_linea.txt and <route>_<train>-.txt from the binary files in DIR\n"
             "(default: the current folder), or from the scenario that FILE (a .sim, a train .dat\n"
             "or a linea.dat) belongs to, in the built-in sources' layout. The pair is compiled in\n"
             "memory and written only when it gives the same files byte for byte; otherwise nothing\n"
             "is written and every cell, row or plan point it cannot explain is named. See\n"
             "docs/decompile.md.\n" +
             options_help(decompile_options()) + exit_status_help(c);
    case Command::Diff:
      return "usage: scenario_tool diff [options] OLD NEW\n"
             "\n"
             "Compares two sets of binary files (two folders, or a file of each set): the records\n"
             "added, removed, changed or moved when both sets can be decompiled, else the runs of\n"
             "cells, rows and plan points that differ.\n" +
             options_help(diff_options()) + exit_status_help(c);
    case Command::Help:
      return "usage: scenario_tool help [COMMAND | warnings]\n"
             "\n"
             "Shows the tool's help, the options of one command, or the list of warnings that\n"
             "check and compile can give.\n" +
             exit_status_help(c);
    case Command::Lsp:
      return "usage: scenario_tool lsp\n"
             "\n"
             "Speaks the Language Server Protocol on standard input and output for an editor:\n"
             "the diagnostics of check as you type, hover, completion, outline, go to\n"
             "definition, quick fixes and formatting. See docs/editors.md.\n" +
             exit_status_help(c);
    case Command::None: break;
  }
  return general_help();
}

}  // namespace scenario::tool
