// Slot mapping: by name, by type, old documents, text repeats, constraints.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "document/Options.h"
#include "document/OptionsExportRecord.h"
#include "document/TemplateSlotMapper.h"

namespace {

struct Mapped {
  COptions record;
  CTemplateSlotMapper mapper;
  std::vector<std::unique_ptr<CTemplateSlotInfo>> slots;

  explicit Mapped(double version = 0) {
    record.SetVersion(version);
    mapper.Begin(record);
  }
  const CTemplateSlotInfo& Add(int type, const char* name, const char* tag = "",
                               const char* key = "ENGINEKEY", const char* value = "",
                               const char* description = "") {
    CTemplateRawSlot raw;
    raw.type = type;
    raw.name = name;
    raw.tag = tag;
    raw.key = key;
    raw.value = value;
    raw.description = description;
    slots.push_back(mapper.Map(raw, slots, record, CTemplateSlotMapper::IsOldDocument(record)));
    return *slots.back();
  }
};

}  // namespace

TEST(SlotMapper, NamesDecideKeyAndTag) {
  struct Case {
    int type;
    const char* name;
    const char* tag;
    const char* key;
    const char* tagAfter;
  } cases[] = {
      {9, "Text1", "", "TEXTSTRING", "#1"},
      {9, "1text", "", "TEXTSTRING", "#1"},
      {9, "text2", "Caption#7", "TEXTSTRING", "Caption#7"},  // a hashed tag is kept
      {6, "font3", "", "TEXTFONT", "#3"},
      {3, "bold1", "Heavy", "Heavy", "TextBold#1"},           // key is the tag as read
      {1, "textsize2", "", "TEXTSIZE", "TextSize#2"},
      {1, "texttracking1", "", "TEXTTRACKING", "TextTracking#1"},
      {9, "position1", "", "TEXTPOSITION", "#1"},
      {4, "bevelcontrast1", "", "BEVELCONTRAST", "#1"},
      {8, "bitmapfill2", "Fill2x@#BMP!", "USERBITMAP2", "Fill2"},
      {9, "filltype4", "", "FILLTYPE4", "#4"},
      {9, "wobble1", "", "UNDETERMINED TYPE", "#1"},
  };
  for (const Case& c : cases) {
    Mapped m;
    const CTemplateSlotInfo& slot = m.Add(c.type, c.name, c.tag);
    EXPECT_EQ(CString(c.key), slot.key) << c.name;
    EXPECT_EQ(CString(c.tagAfter), slot.tag) << c.name;
    EXPECT_EQ(CString(c.name), slot.name) << c.name;
  }
}

TEST(SlotMapper, NamesWithoutNumberOrZeroFallToTheType) {
  for (const char* name : {"text0", "text", ""}) {
    Mapped m;
    const CTemplateSlotInfo& slot = m.Add(9, name, "", "K", "Hello");
    EXPECT_EQ(CString("TEXTSTRING"), slot.key) << name;  // type 9, empty description
    EXPECT_EQ(CString(""), slot.name) << name;
    EXPECT_EQ(CString("Hello"), m.mapper.text);
  }
}

TEST(SlotMapper, TypesDecideWhenNotNamed) {
  struct Case {
    int type;
    const char* tag;
    const char* value;
    const char* description;
    const char* key;
  } cases[] = {
      {1, "", "3", "TextJustification", "TEXTJUSTIFICATION"},
      {1, "", "", "other", "TEXTTRACKING"},
      {2, "", "", "", "TEXTASPECT"},
      {3, "TEXTITALIC#1", "1", "", "TEXTITALIC#1"},
      {4, "", "7", "BevelIndent", "BEVELINDENT"},
      {4, "", "", "size", "TEXTSIZE"},
      {5, "", "ff0000", "", "COLOUR"},
      {6, "", "Arial", "", "TEXTFONT"},
      {7, "", "", "", "ENGINEKEY"},
      {8, "TEXTBITMAP", "", "", "TEXTBITMAP"},
      {8, "x@#BMP!", "", "", "USERBITMAP1"},
      {9, "", "", "TextPosition", "TEXTPOSITION"},
      {12, "", "", "Constrained x", "CONSTRAINED"},
      {12, "", "", "nothing", "UNDETERMINED TYPE"},
  };
  for (const Case& c : cases) {
    Mapped m;
    EXPECT_EQ(CString(c.key), m.Add(c.type, "", c.tag, "ENGINEKEY", c.value, c.description).key)
        << c.type << " " << c.description;
  }
}

TEST(SlotMapper, RecordLearnsWhatTheTemplateOffers) {
  Mapped m;
  m.Add(3, "", "TEXTITALIC", "K", "1");
  m.Add(3, "", "TEXTBOLD", "K", "1");
  m.Add(4, "", "", "K", "12", "bevellightangle");
  m.Add(5, "", "", "K", "");          // empty colour: missing
  m.Add(5, "Edge", "", "K", "");      // named colour
  m.Add(6, "", "", "K", "");          // empty font: missing
  m.Add(8, "FOREGROUNDBITMAP");       // type 8 by tag needs the tag; this one has none
  m.Add(8, "", "FOREGROUNDBITMAP");
  m.Add(9, "", "", "FILLTYPE1", "", "Fill");
  EXPECT_EQ(1, m.record.GetItalic(0));
  EXPECT_EQ(1, m.record.GetBold(0));
  EXPECT_EQ(12, m.record.GetBevelLightAngle());
  EXPECT_EQ(0x80000, m.record.GetBevelSelector());
  EXPECT_EQ(1, m.record.GetCapabilityFlag(kCapabilityBevel));
  EXPECT_EQ(1, m.record.GetCapabilityFlag(kCapabilityColour));
  EXPECT_EQ(1, m.record.GetCapabilityFlag(kCapabilityBitmap));
  EXPECT_EQ(1, m.record.GetHaveLoadedContoneBitmap());
  EXPECT_EQ(2, m.mapper.colourCount);
  EXPECT_EQ(CTemplateSlotMapper::kForegroundBitmap, m.mapper.bitmapKinds);
  EXPECT_EQ(2, m.mapper.bitmapCounter);
  EXPECT_EQ(CString("Colour Font "), m.mapper.missing.Left(12));
}

TEST(SlotMapper, OldDocumentsIgnoreNames) {
  Mapped m(1.0);
  const CTemplateSlotInfo& slot = m.Add(2, "text1");
  EXPECT_EQ(CString("TEXTASPECT"), slot.key);
  EXPECT_EQ(CString(""), slot.name);
  Mapped current(2.0);
  EXPECT_EQ(CString("TEXTSTRING"), current.Add(2, "text1").key);
}

TEST(SlotMapper, RepeatedTextIsNotInUse) {
  Mapped m;
  EXPECT_EQ(1, m.Add(9, "text1", "", "K", "Go").inUse);
  EXPECT_EQ(0, m.Add(9, "text2", "", "K", "Go").inUse);
  EXPECT_EQ(1, m.Add(9, "text3", "", "K", "Stop").inUse);
}

TEST(SlotMapper, ConstraintDirections) {
  struct Case {
    const char* description;
    int horizontal, vertical;
  } cases[] = {
      {"?", 1, 1},
      {"constrained x", 1, 0},
      {"constrained y", 0, 1},
      {"constrained", 0, 0},
      {"constrained xy", 1, 1},
  };
  for (const Case& c : cases) {
    Mapped m;
    m.Add(0, "", "", "K", "", c.description);
    m.mapper.Finish(m.record);
    EXPECT_EQ(c.horizontal, m.record.GetHorizontalConstraint()) << c.description;
    EXPECT_EQ(c.vertical, m.record.GetVerticalConstraint()) << c.description;
    EXPECT_EQ(1, m.record.GetHaveGotConstrainedObject());
    EXPECT_EQ(1, m.mapper.constraintCount);
  }
}

TEST(SlotMapper, ClipViewportNamesTheObject) {
  Mapped m;
  m.Add(0, "", "@!CLIPVIEWPORT!@", "Viewport");
  EXPECT_EQ(CString("Viewport"), m.mapper.clipViewportName);
  EXPECT_EQ(1, m.record.GetClipViewportFlag());
}

// The engine switches describe the loaded template: a reset of the document keeps them, a
// staging copy by change group starts from the defaults, a complete copy takes them along.
TEST(EngineSwitches, StayWithTheRecordThroughAResetButNotIntoAStagingCopy) {
  COptions record;
  EXPECT_EQ(1, record.GetInteractiveRender());
  EXPECT_EQ(0, record.GetClipRenderOnce());
  record.SetInteractiveRender(0);
  record.SetClipRenderOnce(1);
  record.SetTemplateSizeFlag(1);
  record.SetClipViewportFlag(1);
  record.SetTemplateJustification(2);
  record.SetRenderedScale(1.5);
  record.SetShadowChanged(1);
  record.SetTemplateFillType("Bitmap");
  record.SetModified(false);
  record.SetShadowChanged(0);
  EXPECT_FALSE(record.IsModified());  // the switches are not part of the document
  record.SetShadowChanged(1);

  record.ResetToDefaults();
  EXPECT_EQ(0, record.GetInteractiveRender());
  EXPECT_EQ(1, record.GetClipViewportFlag());
  EXPECT_EQ(CString("Bitmap"), record.GetTemplateFillType());

  COptions staged;
  ASSERT_TRUE(record.CopyTo(staged, 0, StyleChangeMask(0xFFFFFFFFu)));
  EXPECT_EQ(1, staged.GetInteractiveRender());
  EXPECT_EQ(0, staged.GetClipRenderOnce());
  EXPECT_EQ(0, staged.GetTemplateJustification());
  EXPECT_EQ(0.0, staged.GetRenderedScale());
  EXPECT_EQ(CString(), staged.GetTemplateFillType());

  const COptions complete(record);
  EXPECT_EQ(1, complete.GetTemplateSizeFlag());
  EXPECT_EQ(1.5, complete.GetRenderedScale());
  EXPECT_EQ(1, complete.GetShadowChanged());
}

// The shadow's share of the width as exports read it: the allowance for a flat graphic; none
// for a 3D heading, whose width is its measured one.
TEST(ExportRecordShadowMargin, IsTheAllowanceExceptFor3DHeadings) {
  COptions record;
  record.SetGraphicType(kGraphicButton);
  record.SetShadowAllowance(6, 4);
  record.SetMeasuredSize(300, 80);
  EXPECT_DOUBLE_EQ(6.0, COptionsExportRecord(record).GetShadowWidthMargin());
  record.SetGraphicType(kGraphic3DHeading);
  EXPECT_DOUBLE_EQ(0.0, COptionsExportRecord(record).GetShadowWidthMargin());
}
