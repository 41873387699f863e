// scenario_tool plot: one SVG page of the route, its profiles and its objects.
#pragma once

#include <ostream>
#include <string>

#include "common/cli.h"
#include "plot/plot_data.h"
#include "plot/plot_panels.h"

namespace scenario::tool {

// The whole SVG document for a scenario: the whole route, or one stretch.
std::string render_plot(const PlotData& d);
std::string render_plot(const PlotData& d, const Stretch& s);

// Compiles the sources in the folder in memory when it holds them, and
// otherwise reads its binary files; writes the SVG (atomically) and names it
// on `out`, with a warning on `err` when the sources have errors. Returns the
// exit status. Throws Failure when nothing can be drawn or the picture not
// written.
int run_plot(const PlotOptions& options, std::ostream& out, std::ostream& err);

}  // namespace scenario::tool
