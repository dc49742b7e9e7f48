// The numeric edits' texts, the angle dial's geometry and the square-root slider's scale.
#include "panels/DialGeometry.h"
#include "panels/NumberText.h"
#include "panels/SquareRootScale.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

TEST(NumberText, TrimsZerosOnlyAfterAPoint)
{
    const struct {
        const char* in;
        const char* out;
    } cases[] = {{"12.500", "12.5"}, {"12.000", "12"}, {"120", "120"}, {"0.0", "0"}, {"", ""},
                 {".000", ""},       {"100.010", "100.01"}, {"-3.10", "-3.1"}};
    for (const auto& c : cases) {
        CString text(c.in);
        TrimTrailingZeros(text);
        EXPECT_EQ(std::string(text), c.out) << c.in;
    }
}

TEST(NumberText, FormatsEpsilonsAndReading)
{
    EXPECT_EQ(std::string(BuildNumberFormat(2)), "%.2f");
    EXPECT_EQ(std::string(BuildNumberFormat(-3)), "%.0f");
    EXPECT_EQ(std::string(BuildNumberFormat(40)), "%.9f");
    EXPECT_DOUBLE_EQ(NumberEpsilon(2), 0.005);
    EXPECT_DOUBLE_EQ(NumberEpsilon(0), 0.5);
    EXPECT_EQ(std::string(FormatTrimmed(1.5, "%.2f")), "1.5");
    EXPECT_EQ(std::string(FormatTrimmed(2.0, "%.2f")), "2");
    EXPECT_EQ(std::string(FormatTrimmed(1e300, "%.9f")).substr(0, 4), "1000");
    // A two-decimal edit showing 1: 1.004 shows the same, 1.006 does not.
    EXPECT_LT(std::fabs(ReadLeadingDouble(FormatTrimmed(1.004, "%.2f")) - 1.0), NumberEpsilon(2));
    EXPECT_GE(std::fabs(ReadLeadingDouble(FormatTrimmed(1.006, "%.2f")) - 1.0), NumberEpsilon(2));
    EXPECT_DOUBLE_EQ(ReadLeadingDouble("3.25abc"), 3.25);
    EXPECT_DOUBLE_EQ(ReadLeadingDouble("abc"), 0.0);
    EXPECT_DOUBLE_EQ(ReadLeadingDouble(""), 0.0);
    EXPECT_DOUBLE_EQ(ReadLeadingDouble(nullptr), 0.0);
    EXPECT_DOUBLE_EQ(ReadLeadingDouble("1e999"), 0.0);  // out of range reads as no number
    EXPECT_DOUBLE_EQ(ClampDouble(300, 0, 255), 255);
    EXPECT_DOUBLE_EQ(ClampDouble(-1, 0, 255), 0);
    EXPECT_DOUBLE_EQ(ClampDouble(7, 0, 255), 7);
}

TEST(DialGeometry, DegreesRoundTripAndKeySteps)
{
    EXPECT_EQ(DialDegrees(DialAngleFromDegrees(-90)), -90);
    EXPECT_EQ(DialDegrees(DialAngleFromDegrees(180)), 180);
    EXPECT_EQ(DialDegrees(DialAngleFromDegrees(-180)), 180);
    EXPECT_EQ(DialDegrees(DialAngleFromDegrees(725)), 5);
    EXPECT_EQ(DialDegrees(0.0), 0);
    EXPECT_EQ(DialDegrees(NAN), 0);
    EXPECT_EQ(DialDegrees(1e300), DialDegrees(1e300));  // huge angles stay in range
    EXPECT_LE(DialDegrees(1e300), 180);
    double angle = 0;
    for (int step = 0; step < 16; ++step)
        angle += kDialKeyStep;
    EXPECT_EQ(DialDegrees(angle), 180);
    angle += kDialKeyStep;
    EXPECT_EQ(DialDegrees(angle), -169);  // 191.25 rounds to 191
}

TEST(DialGeometry, PointsAndPointer)
{
    DialFrame frame;
    EXPECT_EQ(DialDegrees(DialAngleFromPoint(frame, 0, -10)), 0);    // straight above
    EXPECT_EQ(DialDegrees(DialAngleFromPoint(frame, 10, 0)), 90);    // to the right
    EXPECT_EQ(DialDegrees(DialAngleFromPoint(frame, 0, 10)), 180);   // below
    EXPECT_EQ(DialDegrees(DialAngleFromPoint(frame, -10, 0)), -90);  // to the left
    DialFrame mirrored;
    mirrored.mirrorX = true;
    EXPECT_EQ(DialDegrees(DialAngleFromPoint(mirrored, 10, 0)), -90);
    DialFrame anticlockwise;
    anticlockwise.clockwise = false;
    EXPECT_EQ(DialDegrees(DialAngleFromPoint(anticlockwise, 10, 0)), -90);

    // The pointer of angle 0 sits straight above the centre, 6 units of 5 % of a 40-pixel knob.
    double dx = 0, dy = 0;
    DialPointerOffset(frame, 0.0, 6, 40, 40, &dx, &dy);
    EXPECT_NEAR(dx, 0.0, 0.01);
    EXPECT_NEAR(dy, -12.0, 0.01);
    DialPointerOffset(frame, DialAngleFromDegrees(90), 6, 40, 20, &dx, &dy);
    EXPECT_NEAR(dx, 12.0, 0.01);
    EXPECT_NEAR(dy, 0.0, 0.01);
    DialFrame upsideDown;
    upsideDown.mirrorY = true;
    DialPointerOffset(upsideDown, 0.0, 6, 40, 40, &dx, &dy);
    EXPECT_NEAR(dy, 12.0, 0.01);
}

TEST(SquareRootScale, PositionsAndValues)
{
    using namespace SquareRootScale;
    EXPECT_EQ(PositionOf(0), 0);
    EXPECT_EQ(PositionOf(-5), 0);
    EXPECT_EQ(PositionOf(1), 1000);
    EXPECT_EQ(PositionOf(2), 1414);
    EXPECT_EQ(PositionOf(1500), 38730);
    EXPECT_EQ(ValueOf(1414), 2);
    EXPECT_EQ(ValueOf(38730), 1500);
    EXPECT_EQ(ValueOf(0), 0);
    EXPECT_EQ(ValueOf(2147483647), 2147483647);  // no overflow at the far end
    for (int value : {2, 3, 10, 99, 100, 1499, 1500, 65535})
        EXPECT_EQ(ValueOf(PositionOf(value)), value) << value;
}

}  // namespace
