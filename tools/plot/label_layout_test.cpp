// Tests of the label layout: free places, the box grid, leaders that keep off texts and shapes, rows.
#include "plot/label_layout.h"

#include <gtest/gtest.h>

namespace scenario::tool {
namespace {

constexpr Rect kPage{0, 0, 400, 300};

// A box taken anywhere is found from every bucket it covers, however far it
// reaches; a box beside it, past the gap, is free.
TEST(LabelLayout, TakenBoxesBlockEveryBucketTheyCover) {
  LabelLayout l(kPage);
  l.take_shape({10, 100, 390, 104});  // a long line across many buckets
  l.take({200, 10, 230, 290});        // a tall text box
  struct Case {
    const char* name;
    Rect r;
    bool free;
  };
  const Case cases[] = {
      {"on the line's far end", {370, 98, 380, 102}, false},
      {"on the line's near end", {12, 103, 20, 110}, false},
      {"just clear above the line", {300, 80, 320, 97.9}, true},
      {"inside the tall box's lowest bucket", {210, 280, 220, 288}, false},
      {"off the page", {395, 10, 405, 20}, false},
  };
  for (const Case& c : cases) EXPECT_EQ(l.is_free(c.r, kPage), c.free) << c.name;
  EXPECT_TRUE(l.is_clear_of_text({300, 95, 310, 110})) << "a shape does not stop a leader";
  EXPECT_FALSE(l.is_clear_of_text({215, 150, 216, 160})) << "a text does";
}

TEST(LabelLayout, NearestFreePlaceThenAroundWhatIsTaken) {
  LabelLayout l(kPage);
  const Label label{{"ABC"}, 10};
  const auto first = l.place_near(100, 100, label, kPage, 50);
  ASSERT_TRUE(first);
  EXPECT_EQ(first->x, 103) << "right of the anchor, at the first ring";
  EXPECT_FALSE(first->leader);
  const auto second = l.place_near(100, 100, label, kPage, 50);
  ASSERT_TRUE(second);
  EXPECT_LT(second->box.x1, 100) << "then left of it";
  EXPECT_FALSE(l.place_near(100, 100, label, Rect{95, 95, 105, 105}, 50)) << "no room within the bounds given";

  Label above = label;
  above.above_first = true;
  const auto up = l.place_near(300, 200, above, kPage, 50);
  ASSERT_TRUE(up);
  EXPECT_LT(up->box.y1, 200) << "above the anchor first";
  EXPECT_NEAR((up->box.x0 + up->box.x1) / 2, 300, 1e-9);
}

// A label that stands off gets a leader; a leader never crosses a text, and
// with leader_clear_of_shapes no shape either (but its own marker).
TEST(LabelLayout, LeadersKeepOffTextsAndOnRequestShapes) {
  for (bool clear_of_shapes : {false, true}) {
    LabelLayout l(kPage);
    l.take_shape({96, 96, 104, 104});  // the anchor's own marker
    // Texts above, below and left of the anchor leave one way out, to the
    // right, and a shape stands across it.
    l.take({70, 20, 130, 96});
    l.take({70, 104, 130, 180});
    l.take({20, 20, 96, 180});
    l.take_shape({112, 96, 114, 104});
    Label label{{"X"}, 8};
    label.leader_clear_of_shapes = clear_of_shapes;
    const auto p = l.place_near(100, 100, label, kPage, 100);
    if (clear_of_shapes) {
      EXPECT_FALSE(p) << "every way out crosses a text or the shape";
      continue;
    }
    ASSERT_TRUE(p);
    EXPECT_TRUE(p->leader);
    EXPECT_GE(p->box.x0, 130) << "past the texts";
    EXPECT_NEAR(p->ly1, 100, 4.3) << "straight out through the corridor";
  }
}

TEST(LabelLayout, RowsSkipThoseWhoseLeaderWouldCrossAText) {
  LabelLayout l(kPage);
  // Row 0 holds a text over x = 50: a label at x = 50 goes to row 1, and its
  // leader from below row 0 would cross that text, so row 2 is not tried
  // either when rows grow upwards from the leader's start.
  l.take_text(40, 100, "TAKEN", 8);
  const auto p = l.place_in_rows(50, 100, 11, 3, "NEW", 8, 120);
  ASSERT_TRUE(p);
  EXPECT_GT(p->y, 100) << "a row below the text, so the leader from below crosses nothing";
  const auto q = l.place_in_rows(50, 100, -11, 3, "UP", 8, 120);
  EXPECT_FALSE(q) << "every row upwards needs a leader through the texts below it";
}

}  // namespace
}  // namespace scenario::tool
