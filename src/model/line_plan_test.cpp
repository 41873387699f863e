// The track plan's storage: every point and column inside the plan is reached, every one outside refused.
#include "model/line_plan.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "platform/failure.h"

namespace scenario {
namespace {

TEST(LinePlan, ColumnsHoldTheirOwnValues) {
  LinePlan plan;
  plan.create(3);
  plan.set_real(3, 0, 1.5);
  plan.set_int(3, 1, -7);
  plan.set_real(0, 1, 2.5);
  EXPECT_EQ(plan.get(3, 0).tag, LineTag::Real);
  EXPECT_EQ(plan.get(3, 0).value, 1.5);
  EXPECT_EQ(plan.get(3, 1).tag, LineTag::Int16);
  EXPECT_EQ(plan.get(3, 1).value, -7);
  EXPECT_EQ(plan.get(0, 0).tag, LineTag::Empty);
  EXPECT_EQ(plan.real(0, 1), 2.5);
  ASSERT_EQ(plan.values(0).size(), 4u);
  EXPECT_EQ(plan.values(0)[3], 1.5);
  EXPECT_EQ(plan.tags(1)[0], LineTag::Real);
  plan.clear();
  EXPECT_FALSE(plan.exists());
  EXPECT_TRUE(plan.values(1).empty());
}

struct Outside {
  const char* name;
  bool created;
  std::int64_t point;
  int column;
  const char* message;
};

const Outside kOutside[] = {
    {"no_plan", false, 0, 0, "does not exist"},
    {"before_first", true, -1, 0, "point -1 is outside 0..3"},
    {"far_negative", true, std::numeric_limits<std::int64_t>::min(), 1, "is outside 0..3"},
    {"past_last", true, 4, 1, "point 4 is outside 0..3"},
    {"far_past_last", true, std::int64_t{1} << 40, 0, "is outside 0..3"},
    {"column_below", true, 1, -1, "outside"},
    {"column_above", true, 1, 2, "outside"},
};

class LinePlanOutside : public ::testing::TestWithParam<Outside> {};

TEST_P(LinePlanOutside, EveryAccessIsRefused) {
  const Outside& o = GetParam();
  LinePlan plan;
  if (o.created) plan.create(3);
  const auto refused = [&](auto access) {
    try {
      access();
    } catch (const Failure& f) {
      return std::string(f.what()).find(o.message) != std::string::npos;
    }
    return false;
  };
  EXPECT_TRUE(refused([&] { plan.get(o.point, o.column); }));
  EXPECT_TRUE(refused([&] { plan.real(o.point, o.column); }));
  EXPECT_TRUE(refused([&] { plan.set_int(o.point, o.column, 1); }));
  EXPECT_TRUE(refused([&] { plan.set_real(o.point, o.column, 1.0); }));
}

INSTANTIATE_TEST_SUITE_P(Accesses, LinePlanOutside, ::testing::ValuesIn(kOutside),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(LinePlan, RawColumnOutsideIsRefused) {
  LinePlan plan;
  plan.create(1);
  EXPECT_THROW(plan.values(2), Failure);
  EXPECT_THROW(plan.tags(-1), Failure);
}

}  // namespace
}  // namespace scenario
