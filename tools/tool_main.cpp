// Dispatch of the three commands and the one place where runtime failures are caught.
#include "tool_main.h"

#include <exception>
#include <iostream>
#include <optional>

#include "common/cli.h"
#include "common/diagnostics.h"
#include "compile/compile_command.h"
#include "decompile/decompile_command.h"
#include "diff/diff_command.h"
#include "dump/dump_command.h"
#include "init/init_command.h"
#include "lsp/lsp_command.h"
#include "platform/failure.h"
#include "plot/plot_command.h"
#include "verify/verify_command.h"

namespace scenario::tool {

namespace {

// A file that cannot be found, read or written is the caller's to fix (exit
// 2); a file that can be read but is malformed is a problem found (exit 1).
int exit_status_of(const Failure& f) { return f.detail().kind == FailureKind::Io ? kExitUsage : kExitProblems; }

bool colored(const Invocation& inv, const Terminal& terminal) {
  if (inv.color == ColorMode::Auto) return terminal.stderr_is_terminal && !terminal.no_color;
  return inv.color == ColorMode::Always;
}

// One error about the run as a whole, in the format asked for: a line on
// stderr, or one JSON line or a SARIF log on stdout.
void report_error(const Message& m, const Invocation& inv, const Terminal& terminal, std::ostream& out,
                  std::ostream& err) {
  const SourceTexts none;
  const RenderOptions options;
  switch (inv.format) {
    case DiagnosticsFormat::Json: out << render_json({m}, none, options); break;
    case DiagnosticsFormat::Sarif: out << render_sarif({m}, none, options); break;
    case DiagnosticsFormat::Text:
      err << "scenario_tool: " << severity_label(Severity::Error, colored(inv, terminal)) << " " << m.text << "\n";
      break;
  }
}

}  // namespace

int tool_main(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, const Terminal& terminal) {
  Invocation inv = parse_command_line(args);
  if (!inv.error.empty()) {
    report_error(run_error(inv.error, kUsageCode), inv, terminal, out, err);
    return kExitUsage;
  }
  if (inv.version) {
    out << version_text();
    return kExitClean;
  }
  if (inv.warnings_help) {
    out << warnings_help();
    return kExitClean;
  }
  if (inv.help) {
    out << (inv.command == Command::None ? general_help() : command_help(inv.command));
    return kExitClean;
  }
  try {
    switch (inv.command) {
      case Command::Init:
        return run_init(inv.init, out, err);
      case Command::Check:
      case Command::Compile:
      {
        inv.compile.color = colored(inv, terminal);
        CompileSession session = open_session(inv.compile);
        return run_compile(session, out, err);
      }
      case Command::Verify:
        return run_verify(inv.verify, out, err);
      case Command::Dump:
        run_dump(inv.dump, out);
        return kExitClean;
      case Command::Plot:
        return run_plot(inv.plot, out, err);
      case Command::Decompile:
        inv.decompile.color = colored(inv, terminal);
        return run_decompile(inv.decompile, out, err);
      case Command::Diff:
        return run_diff(inv.diff, out);
      case Command::Lsp:
        return run_lsp(std::cin, out);
      case Command::Help:
      case Command::None:
        break;
    }
    err << general_help();
    return kExitUsage;
  } catch (const Failure& f) {
    report_error(run_error(f), inv, terminal, out, err);
    return exit_status_of(f);
  } catch (const std::exception& e) {
    report_error(run_error(e.what(), kFailureCode), inv, terminal, out, err);
    return kExitProblems;
  }
}

}  // namespace scenario::tool
