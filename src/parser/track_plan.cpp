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
    {"1", 0.0001},
    {"2", 0.0002},
    {"3", 0.0004},
    {"4", 0.001},
    {"5", 0.002},
    {"6", 0.003},
}};

}  // namespace

std::optional<double> tasso_di_curva(std::string_view keyword) {
  for (const Classe& k : kClassi) {
    if (!contiene(keyword, k.digit)) continue;
    return contiene_ci(keyword, "s") ? -k.rate : k.rate;
  }
  return std::nullopt;
}

void punto_dritto(LinePlan& plan, std::int32_t c) {
  double x1 = plan.real(c - 1, kX), x2 = plan.real(c - 2, kX);
  double y1 = plan.real(c - 1, kY), y2 = plan.real(c - 2, kY);
  plan.set_real(c, kX, x1 + (x1 - x2));
  plan.set_real(c, kY, y1 + (y1 - y2));
}

void punto_curvo(LinePlan& plan, std::int32_t c, double a) {
  double x1 = plan.real(c - 1, kX), x2 = plan.real(c - 2, kX);
  double y1 = plan.real(c - 1, kY), y2 = plan.real(c - 2, kY);
  double dx = x1 - x2;
  double dy = y1 - y2;
  double ady = a * dy;
  double adx = a * dx;
  plan.set_real(c, kX, x1 + (dx + ady));
  plan.set_real(c, kY, y1 + (dy - adx));
}

void inizio_tracciato(LinePlan& plan) {
  plan.set_int(0, kX, 0);
  plan.set_int(0, kY, 0);
  plan.set_int(1, kX, 0);
  plan.set_int(1, kY, 1);
}

}  // namespace scenario
