// Value formats between the program and the engine's slots, and the engine's pixel convention.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "document/TemplateValues.h"

using namespace TemplateValues;

TEST(EnginePixels, PartlyTransparentColoursAreUnpremultiplied) {
  struct Case {
    std::uint32_t in, out;
  } cases[] = {
      {0x80404040u, 0x80808080u},  // opacity 127: 64 x 255 / 127 = 128
      {0x00404040u, 0x00404040u},  // opaque: untouched
      {0xFF404040u, 0xFF404040u},  // clear: untouched
      {0xFE010203u, 0xFEFFFFFFu},  // opacity 1: every channel clamps at 255
      {0x7F102030u, 0x7F1F3F5Fu},  // opacity 128, truncating: 16 -> 31, 32 -> 63, 48 -> 95
  };
  for (const Case& c : cases) {
    std::uint32_t pixel = c.in;
    ConvertEnginePixels(&pixel, 1);
    EXPECT_EQ(c.out, pixel) << std::hex << c.in;
  }
}

TEST(TextPosition, TokensFillOnlyTheOutputsTheyName) {
  struct Case {
    const char* text;
    int position, range, nudgeX, nudgeY;
  } cases[] = {
      {"nudge 3,-4 : pos 2", 2, 7, 3, -4},
      {"posrange all", 9, 0, 7, 7},
      {"posrange ALL pos 5", 5, 0, 7, 7},
      {"posrange some", 9, 1, 7, 7},
      {"", 9, 7, 7, 7},
      {"nudge", 9, 7, 7, 7},
      {"junk pos\t12\n", 12, 7, 7, 7},
  };
  for (const Case& c : cases) {
    int position = 9, range = 7, x = 7, y = 7;
    ParseTextPosition(c.text, &position, &range, &x, &y);
    EXPECT_EQ(c.position, position) << c.text;
    EXPECT_EQ(c.range, range) << c.text;
    EXPECT_EQ(c.nudgeX, x) << c.text;
    EXPECT_EQ(c.nudgeY, y) << c.text;
  }
  // Only the first 199 characters are read.
  int position = 9;
  ParseTextPosition(CString(' ', 196) + "pos 4", &position, nullptr, nullptr, nullptr);
  EXPECT_EQ(9, position);
}

TEST(TextObjects, TagMustCarryTheWholeNumber) {
  struct Case {
    const char* tag;
    int n, count;
    bool belongs;
  } cases[] = {
      {"Anything", 3, 1, true},  // one text object: every slot is its
      {"#1", 0, 2, true},
      {"#10", 0, 12, false},     // "#1" is not "#10"
      {"#10", 9, 12, true},
      {"TextSize#2", 1, 2, true},
      {"#1 #12", 11, 12, true},
      {"#2", 0, 2, false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.belongs, BelongsToTextObject(c.tag, c.n, c.count)) << c.tag << " " << c.n;
}

TEST(Colours, FormatAndParseRoundTrip) {
  EXPECT_EQ(CString("ff8001"), FormatColour(RGB(0xFF, 0x80, 0x01)));
  COLORREF colour = 1;
  ASSERT_TRUE(ParseColour("FF8001", colour));
  EXPECT_EQ(RGB(0xFF, 0x80, 0x01), colour);
  for (const char* bad : {"", "12345", "zz0000", "12 456"}) {
    EXPECT_FALSE(ParseColour(bad, colour)) << bad;
    EXPECT_EQ(0u, colour);
  }
  EXPECT_EQ(CString("Text "), StripColourSuffix("Text Colour"));
  EXPECT_EQ(CString("Edge"), StripColourSuffix("EdgeColor"));
  EXPECT_EQ(CString("Colours"), StripColourSuffix("Colours"));
}

TEST(Constraints, WriteAndReadBack) {
  EXPECT_EQ(CString("2250 NoTranslate Height:30000"), FormatConstraint("2250", 40.9));
  double width = 0, height = 0;
  ASSERT_TRUE(ParseConstraint("1500 Height:30000", width, height));
  EXPECT_DOUBLE_EQ(2.0, width);
  EXPECT_DOUBLE_EQ(40.0, height);
  EXPECT_FALSE(ParseConstraint("Height", width, height));
}

TEST(Tags, LeadingWordNumbersAndMarker) {
  EXPECT_EQ(CString("TextItalic"), LeadingTagWord("TextItalic#2"));
  EXPECT_EQ(CString("TEXTBOLD"), LeadingTagWord("TEXTBOLD 3"));
  EXPECT_EQ(CString(""), LeadingTagWord("7x"));
  EXPECT_EQ(12, NumberFromFirstDigit("text12b"));
  EXPECT_EQ(0, NumberFromFirstDigit("text"));
  EXPECT_EQ(CString("Fill1"), CutBitmapMarker("Fill1x@#BMP!"));
  EXPECT_EQ(CString("Plain"), CutBitmapMarker("Plain"));
}
