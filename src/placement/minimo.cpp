// The smaller of two numbers, used to cap speed marks.
#include "placement/placement.h"

namespace scenario {

std::int32_t minimo(std::int32_t x, std::int32_t y) { return x > y ? y : x; }

}  // namespace scenario
