// Dispatch of the three commands and the one place where runtime failures are caught.
#include "common/tool_main.h"

#include <exception>
#include <optional>

#include "common/cli.h"
#include "common/shown_text.h"
#include "compile/compile_command.h"
#include "dump/dump_command.h"
#include "init/init_command.h"
#include "platform/failure.h"
#include "plot/plot_command.h"
#include "verify/verify_command.h"

namespace scenario::tool {

namespace {

// A file that cannot be found, read or written is the caller's to fix (exit
// 2); a file that can be read but is malformed is a problem found (exit 1).
int exit_status_of(const Failure& f) { return f.detail().kind == FailureKind::Io ? kExitUsage : kExitProblems; }

}  // namespace

int tool_main(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const Invocation inv = parse_command_line(args);
  if (!inv.error.empty()) {
    err << "scenario_tool: error: " << inv.error << "\n";
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
        CompileSession session = open_session(inv.compile);
        return run_compile(session, out, err);
      }
      case Command::Verify:
        return run_verify(inv.verify, out, err);
      case Command::Dump:
        run_dump(inv.dump, out);
        return 0;
      case Command::Plot:
        return run_plot(inv.plot, out, err);
      case Command::None:
        break;
    }
    err << general_help();
    return kExitUsage;
  } catch (const Failure& f) {
    err << "scenario_tool: error: " << shown_utf8(f.what()) << "\n";
    return exit_status_of(f);
  } catch (const std::exception& e) {
    err << "scenario_tool: error: " << shown_utf8(e.what()) << "\n";
    return 1;
  }
}

}  // namespace scenario::tool
