// The two parts of the plot page: the track plan and the profiles along the route.
#pragma once

#include <string>
#include <vector>

#include "plot/plot_data.h"

namespace scenario::tool {

struct Box {
  double x = 0, y = 0, w = 0, h = 0;
};

class LabelLayout;

// The track plan drawn to scale inside `box`, with a scale bar, tunnels, km
// posts, and stations, signs and signals labelled where `labels` has room.
std::vector<std::string> plan_panel(const PlotData& d, const Box& box, LabelLayout& labels);

// Where the profiles go: three panels one above the other on one distance
// axis, the sign texts in rows above them, the station names in rows below.
struct ProfileBoxes {
  Box elevation, gradient, speed;
  double sign_rows_top = 0;     // baseline of the first row of sign texts
  double station_rows_top = 0;  // baseline of the first row of station names
  double row_pitch = 11;
  std::size_t rows = 6;
};

// The elevation (integrated from the gradients), gradient and speed-limit
// profiles against distance, with tunnels, stations, signals, signs, slow
// orders and speed boards marked.
std::vector<std::string> profile_panels(const PlotData& d, const ProfileBoxes& b, LabelLayout& labels);

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
inline constexpr const char* kSlowOrderColour = "#e0115f";
inline constexpr const char* kBoardColour = "#17becf";
inline constexpr const char* kElevationColour = "#8c8c3a";
inline constexpr const char* kKmPostColour = "#333333";

}  // namespace scenario::tool
