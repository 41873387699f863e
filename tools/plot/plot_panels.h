// The two parts of the plot page: the track plan and the profiles along the route.
#pragma once

#include <string>
#include <vector>

#include "plot/plot_data.h"

namespace scenario::tool {

struct Box {
  double x = 0, y = 0, w = 0, h = 0;
};

// The track plan drawn to scale inside `box`, with a scale bar, stations,
// signals and tunnels.
std::vector<std::string> plan_panel(const PlotData& d, const Box& box);

// The gradient and speed-limit profiles against distance, with stations,
// signals, tunnels and signs marked; station names and the distance scale go
// below `speed`, starting at `labels_y`.
std::vector<std::string> profile_panels(const PlotData& d, const Box& gradient, const Box& speed, double labels_y);

// A round length (1, 2 or 5 times a power of ten) close to and not above `approx`.
double round_length(double approx);

// "500 m" or "5 km".
std::string length_label(double metres);

// Colours shared by the panels and the legend.
inline constexpr const char* kStationColour = "#1f5fbf";
inline constexpr const char* kSignalColour = "#d62728";
inline constexpr const char* kTunnelColour = "#8c564b";
inline constexpr const char* kSignColour = "#e6820e";
inline constexpr const char* kGradientColour = "#2ca02c";
inline constexpr const char* kSpeedColour = "#7b3fa0";

}  // namespace scenario::tool
