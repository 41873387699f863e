// minimo: the smaller of two numbers.
#include <gtest/gtest.h>

#include "placement/placement.h"

namespace scenario {
namespace {

struct MinimoCase {
  std::int32_t x, y, want;
};

TEST(Minimo, ReturnsTheSmaller) {
  const MinimoCase cases[] = {
      {180, 200, 180}, {180, 120, 120}, {180, 180, 180}, {180, -5, -5}, {-32768, 180, -32768},
  };
  for (const auto& c : cases) EXPECT_EQ(minimo(c.x, c.y), c.want) << c.x << ", " << c.y;
}

}  // namespace
}  // namespace scenario
