// scenario_tool plot: one SVG page of the route, its profiles and its objects.
#pragma once

#include <ostream>
#include <string>

#include "common/cli.h"
#include "plot/plot_data.h"

namespace scenario::tool {

// The whole SVG document for a scenario.
std::string render_plot(const PlotData& d);

// Reads the directory, writes the SVG (atomically) and names it on `out`.
// Throws Failure when the files cannot be read or the picture not written.
void run_plot(const PlotOptions& options, std::ostream& out);

}  // namespace scenario::tool
