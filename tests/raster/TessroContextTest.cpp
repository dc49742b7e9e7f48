#include <gtest/gtest.h>
#include "raster/Tessro.h"
TEST(Tessro, Builds) { CTessro t(CTessro::kAppStackAllowance); EXPECT_NE(t.GetContext(), nullptr); }
