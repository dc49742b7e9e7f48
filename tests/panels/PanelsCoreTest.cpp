// The colour-count slider's scales and the page-button rules.
#include "panels/ColourCountScale.h"
#include "panels/PageButtons.h"

#include <gtest/gtest.h>

namespace {

using namespace ColourCountScale;

TEST(ColourCountScale, PositionsAndValues)
{
    struct Case {
        int mode, position, value;
    };
    // Position to value.
    const Case toValue[] = {
        {kFull, 2, 2}, {kFull, 256, 256}, {kFull, 62, 16}, {kWeb, 100, 100}, {kPng8, 17, 17}, {kPng4, 9, 9},
        {kFull3, 3, 3}, {kFull3, 256, 256}, {kStepped, -1, 2}, {kStepped, 0, 2}, {kStepped, 59, 16},
        {kStepped, 60, 17}, {kStepped, 299, 256}, {kStepped, 359, kTrueColour24}, {kStepped, 360, kTrueColour32},
        {kStepped, 420, kTrueColour32}, {77, 5, 0},
    };
    for (const Case& c : toValue)
        EXPECT_EQ(PositionToValue(c.mode, c.position), c.value) << c.mode << " @" << c.position;
    // Value to position.
    const Case toPosition[] = {
        {kFull, 62, 16}, {kFull, 3, 2}, {kFull, 3, 0}, {kFull3, 4, 3}, {kWeb, 200, 200}, {kStepped, 420, kTrueColour32},
        {kStepped, 359, kTrueColour24}, {kStepped, 299, 256}, {kStepped, 60, 17}, {kStepped, 56, 16},
        {kStepped, -4, 1}, {kStepped, 2, 0}, {kStepped, 2, 300}, {77, 0, 16},
    };
    for (const Case& c : toPosition)
        EXPECT_EQ(ValueToPosition(c.mode, c.value), c.position) << c.mode << " value " << c.value;
}

TEST(ColourCountScale, RangesAndLabels)
{
    struct Case {
        int mode, minimum, maximum;
    };
    const Case cases[] = {{kWeb, 16, 216}, {kFull, 2, 256}, {kPng8, 16, 256}, {kPng4, 2, 16},
                          {kFull3, 3, 256}, {kStepped, 0, 420}, {13, 0, 1}};
    for (const Case& c : cases) {
        int minimum = -1, maximum = -1;
        Range(c.mode, minimum, maximum);
        EXPECT_EQ(minimum, c.minimum) << c.mode;
        EXPECT_EQ(maximum, c.maximum) << c.mode;
    }
    EXPECT_EQ(Normalise(13), kNone);
    EXPECT_EQ(LabelKind(kStepped, kTrueColour24), 24);
    EXPECT_EQ(LabelKind(kStepped, kTrueColour32), 32);
    EXPECT_EQ(LabelKind(kFull, 1024), 1);
    EXPECT_EQ(LabelKind(kNone, 0), 0);
    // Every count of the square-root scale comes back from its own position.
    for (int count = 2; count <= 256; ++count) {
        const int position = ValueToPosition(kFull, count);
        EXPECT_LE(PositionToValue(kFull, position), count + 2) << count;
        EXPECT_GE(PositionToValue(kFull, position), count) << count;
    }
}

TEST(PageButtons, EnabledStatesFollowTheGraphic)
{
    PageButtonInputs none;
    const std::vector<PageButtonState> off = ComputePageButtonStates(none);
    ASSERT_EQ(off.size(), 8u);
    const int order[] = {3, 4, 5, 6, 7, 8, 9, 14};
    for (size_t i = 0; i < off.size(); ++i) {
        EXPECT_EQ(off[i].id, order[i]);
        EXPECT_FALSE(off[i].enable) << off[i].id;
    }

    PageButtonInputs photo;
    photo.photoHandlerActive = true;
    photo.graphicType = 5;
    for (const PageButtonState& s : ComputePageButtonStates(photo))
        EXPECT_EQ(s.enable, s.id == 4 || s.id == 5 || s.id == 8 || s.id == 14) << s.id;

    PageButtonInputs button;
    button.templateReady = true;
    button.textSlot = true;
    button.graphicType = 1;
    button.stateCount = 1;
    button.canBeNavBarButton = true;
    for (const PageButtonState& s : ComputePageButtonStates(button))
        EXPECT_EQ(s.enable, s.id != 5 && s.id != 6) << s.id;

    button.navBarMode = true;
    button.stateCount = 2;
    button.graphicType = 3;  // bevel without a bevel slot
    button.textureCount = 1;
    for (const PageButtonState& s : ComputePageButtonStates(button))
        EXPECT_EQ(s.enable, s.id != 7 && s.id != 9) << s.id;

    PageButtonInputs heading;
    heading.templateReady = true;
    heading.textSlot = true;
    heading.graphicType = 4;
    EXPECT_FALSE(ComputePageButtonStates(heading)[0].enable);
}

}  // namespace
