// Straight and curved points of the track plan, in 64-bit reals.
//
// Every difference and product is rounded to a double before it is added, as
// the parentheses show; the build keeps the compiler from fusing a multiply
// and an add, so the plan is the same on every platform.
#include "parser/track_plan.h"

#include <array>

#include "parser/line_input.h"

namespace scenario {
namespace {

constexpr int kX = 0;
constexpr int kY = 1;

struct Classe {
  std::string_view digit;
  double rate;  // radians per metre, about 1 / radius
};

constexpr std::array<Classe, 6> kClassi = {{
    {"1", kCurveRates[0]},
    {"2", kCurveRates[1]},
    {"3", kCurveRates[2]},
    {"4", kCurveRates[3]},
    {"5", kCurveRates[4]},
    {"6", kCurveRates[5]},
}};

}  // namespace

std::optional<double> tasso_di_curva(std::string_view keyword) {
  for (const Classe& k : kClassi) {
    if (!contiene(keyword, k.digit)) continue;
    return contiene_ci(keyword, "s") ? -k.rate : k.rate;
  }
  return std::nullopt;
}

PuntoPiano passo_dritto(double x1, double x2, double y1, double y2) { return {x1 + (x1 - x2), y1 + (y1 - y2)}; }

PuntoPiano passo_curvo(double x1, double x2, double y1, double y2, double a) {
  double dx = x1 - x2;
  double dy = y1 - y2;
  double ady = a * dy;
  double adx = a * dx;
  return {x1 + (dx + ady), y1 + (dy - adx)};
}

void punto_dritto(LinePlan& plan, std::int32_t c) {
  const PuntoPiano p = passo_dritto(plan.real(c - 1, kX), plan.real(c - 2, kX), plan.real(c - 1, kY), plan.real(c - 2, kY));
  plan.set_real(c, kX, p.x);
  plan.set_real(c, kY, p.y);
}

void punto_curvo(LinePlan& plan, std::int32_t c, double a) {
  const PuntoPiano p =
      passo_curvo(plan.real(c - 1, kX), plan.real(c - 2, kX), plan.real(c - 1, kY), plan.real(c - 2, kY), a);
  plan.set_real(c, kX, p.x);
  plan.set_real(c, kY, p.y);
}

void inizio_tracciato(LinePlan& plan) {
  plan.set_int(0, kX, 0);
  plan.set_int(0, kY, 0);
  plan.set_int(1, kX, 0);
  plan.set_int(1, kY, 1);
}

}  // namespace scenario
