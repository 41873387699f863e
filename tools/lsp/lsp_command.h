// scenario_tool lsp: the language server on a pair of streams.
#pragma once

#include <istream>
#include <ostream>

namespace scenario::tool {

// Serves one editor over `in` and `out` until `exit` or the end of `in`.
// Returns 0 after shutdown and exit, 1 otherwise.
int run_lsp(std::istream& in, std::ostream& out);

}  // namespace scenario::tool
