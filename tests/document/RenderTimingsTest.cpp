// The render timings the panels' apply timers wait for.
#include "document/RenderTimings.h"

#include <gtest/gtest.h>

TEST(RenderTimings, FullRendersSetBothDraftsOnlyTheLatest)
{
  EXPECT_EQ(LastRenderTime, 0u);
  EXPECT_EQ(LastFullRenderTime, 0u);
  RecordRenderTime(120, 0);
  EXPECT_EQ(LastRenderTime, 120u);
  EXPECT_EQ(LastFullRenderTime, 120u);
  for (int quality : {2, 4, -1}) {
    RecordRenderTime(15, quality);
    EXPECT_EQ(LastRenderTime, 15u);
    EXPECT_EQ(LastFullRenderTime, 120u) << quality;
  }
  RecordRenderTime(0, 0);
  EXPECT_EQ(LastFullRenderTime, 0u);
}
