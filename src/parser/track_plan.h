// The track plan drawn metre by metre from the curve records.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "model/line_plan.h"

namespace scenario {

// Turning rate per metre of a curve keyword: the first class digit "1" to "6"
// found in it (in that order), negative when it holds an "s" of either case.
// Empty when the keyword holds no class digit.
std::optional<double> tasso_di_curva(std::string_view keyword);

// The turning rate per metre of curve classes 1 to 6, about 1 / radius.
inline constexpr std::array<double, 6> kCurveRates = {0.0001, 0.0002, 0.0004, 0.001, 0.002, 0.003};

// A point of the plan.
struct PuntoPiano {
  double x = 0.0;
  double y = 0.0;
};

// The point after (x1, y1) when the step from (x2, y2) to it turns by the
// rate a; a = 0 gives no straight step (see passo_dritto), whose sums differ.
PuntoPiano passo_curvo(double x1, double x2, double y1, double y2, double a);
// The point after (x1, y1) continuing the step from (x2, y2) unchanged.
PuntoPiano passo_dritto(double x1, double x2, double y1, double y2);

// Point c continues the step from point c - 2 to point c - 1 unchanged.
void punto_dritto(LinePlan& plan, std::int32_t c);
// Point c turns that step by the rate a (positive: towards +X, a right curve).
void punto_curvo(LinePlan& plan, std::int32_t c, double a);

// Points 0 and 1: the track starts at the origin heading along +Y.
void inizio_tracciato(LinePlan& plan);

// The first point that a curve or the run-on draws; the ones before it are
// the plan's fixed start.
inline constexpr std::int32_t kFirstDrawnPoint = 2;

}  // namespace scenario
