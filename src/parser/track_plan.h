// The track plan drawn metre by metre from the curve records.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "model/line_plan.h"

namespace scenario {

// Turning rate per metre of a curve keyword: the first class digit "1" to "6"
// found in it (in that order), negative when it holds an "s" of either case.
// Empty when the keyword holds no class digit.
std::optional<double> tasso_di_curva(std::string_view keyword);

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
