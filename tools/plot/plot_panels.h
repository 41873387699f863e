// The two parts of the plot page: the track plan and the profiles along the route.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "plot/plot_data.h"

namespace scenario::tool {

struct Box {
  double x = 0, y = 0, w = 0, h = 0;
};

// The stretch of route drawn, in metres of route distance.
struct Stretch {
  double from = 0;
  double to = 1;
  bool contains(double m) const { return m >= from && m <= to; }
};

class LabelLayout;

// The track plan of the stretch drawn to scale inside `box`, with a scale
// bar, tunnels, km posts, and stations, signs and signals labelled where
// `labels` has room near them.
std::vector<std::string> plan_panel(const PlotData& d, const Stretch& s, const Box& box, LabelLayout& labels);

// Where the profiles go: three panels one above the other on one distance
// axis, the sign texts in rows above them over a strip of sign markers, the
// station names in rows below.
struct ProfileBoxes {
  Box elevation, gradient, speed;
  double sign_rows_top = 0;     // baseline of the first row of sign texts
  double sign_marks_y = 0;      // the strip of sign markers, under the rows
  double station_rows_top = 0;  // baseline of the first row of station names
  double row_pitch = 11;
  std::size_t rows = 6;
};

// The elevation (integrated from the gradients), gradient and speed profiles
// of the stretch against distance, with tunnels, stations, signals, signs,
// slow orders and speed boards marked. The speed drawn is the speed in
// force: the lower of the limit and a slow order.
std::vector<std::string> profile_panels(const PlotData& d, const Stretch& s, const ProfileBoxes& b,
                                        LabelLayout& labels);

// A round length (1, 2 or 5 times a power of ten) close to and not above `approx`.
double round_length(double approx);

// "500 m" or "5 km".
std::string length_label(double metres);

// "10.7 km": a route position as an author reads it.
std::string km_text(double metres);

// A signal's tooltip: where it was written, to the metre when the sources
// say so, and the train cell it went into.
std::string signal_title(const SignalMark& s);

// "km 84+800": a chainage as the timetable card writes it; "km 84" for a
// whole kilometre.
std::string chainage_text(std::int64_t metres);

// A sign's text, blanks squeezed, in lines of about `width` characters,
// broken between its parenthesised groups or at blanks; never cut.
std::vector<std::string> wrapped(const std::string& text, std::size_t width);

// A speed board's values: "80", or "80/60/50" when the three differ.
std::string board_values(const TrainCell& c);

// The slow order that starts at `start`: the cell of its end (the start
// itself when start and end share the cell).
std::size_t slow_order_end(const std::vector<TrainCell>& cells, std::size_t start);

// Colours shared by the panels and the legend.
inline constexpr const char* kStationColour = "#1f5fbf";
inline constexpr const char* kSignalColour = "#d62728";
inline constexpr const char* kTunnelColour = "#8c564b";
inline constexpr const char* kSignColour = "#e6820e";
inline constexpr const char* kSignTextColour = "#a65a00";
inline constexpr const char* kGradientColour = "#2ca02c";
inline constexpr const char* kSpeedColour = "#7b3fa0";
inline constexpr const char* kSlowOrderColour = "#e0115f";
inline constexpr const char* kBoardColour = "#0f8a99";
inline constexpr const char* kElevationColour = "#8c8c3a";
inline constexpr const char* kKmPostColour = "#333333";

// Marks a shape as ground that labels may stand on: a background, a grid
// line, a station's reference line across the profiles, a tunnel's band.
// Every other shape is a figure that no label may cover.
inline constexpr const char* kGround = "class=\"ground\" ";

}  // namespace scenario::tool
