// The engine client against a fake engine: loading, slot writes, constraints, rendering and
// faults inside the engine.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "document/TemplateCOM.h"
#include "tests/opsmanager/FakeOperationsServices.h"
#include "tests/opsmanager/FakeStyleKitEngine.h"

namespace {

FakeSlotSpec Slot(LONG type, const char* name, const char* value = "", const char* tag = "",
                  const char* description = "", const char* key = "K") {
  FakeSlotSpec desc;
  desc.type = type;
  desc.name = name;
  desc.value = value;
  desc.tag = tag;
  desc.description = description;
  desc.key = key;
  return desc;
}

class TemplateCOMTest : public ::testing::Test {
 protected:
  void SetUp() override { CTemplateCOM::SetEngineFactory(&FakeStyleKitEngine::Factory); }
  void TearDown() override {
    CTemplateCOM::SetEngineFactory(nullptr);
  }
  bool Load(CTemplateCOM& client, const char* path = "C:\\T\\Shiny.kiq") {
    return SUCCEEDED(client.CreateEngine()) && client.LoadTemplate(path);
  }
  std::vector<std::string> WritesTo(int slot) const {
    std::vector<std::string> values;
    for (const auto& write : engine.writes)
      if (write.first == slot) values.push_back(write.second);
    return values;
  }

  FakeOperationsServices services;
  FakeStyleKitEngine engine;
};

}  // namespace

TEST_F(TemplateCOMTest, LoadCopiesPageStatesAndTextsIntoTheRecord) {
  engine.pageWidth = 150;
  engine.pageHeight = 48;
  engine.stateDelays = {25, 40, 5};
  engine.slots = {Slot(9, "text1", "Home"), Slot(9, "text2", "About"), Slot(6, "font1", "Serif"),
                  Slot(1, "textsize2", "18"), Slot(9, "position1", "nudge 1,2 : pos 3")};
  {
    CTemplateCOM client;
    ASSERT_TRUE(Load(client));
    COptions& record = services.record;
    EXPECT_DOUBLE_EQ(150, record.GetBaseWidth());
    EXPECT_DOUBLE_EQ(48, record.GetBaseHeight());
    EXPECT_DOUBLE_EQ(150, record.GetPageWidth());
    ASSERT_EQ(3, record.GetStateCount());
    EXPECT_EQ(25u, record.GetStateDelay(0));
    EXPECT_EQ(5u, record.GetStateDelay(2));
    EXPECT_EQ(1, engine.selectedState);  // the first state is left selected
    EXPECT_EQ(2, client.GetTextObjectCount());
    EXPECT_EQ(CString("About"), client.GetTextString(1));
    EXPECT_EQ(CString("Serif"), client.GetTextFont(0));
    EXPECT_EQ(18, client.GetTextSize(1));
    EXPECT_EQ(0, client.GetTextSize(0));
    EXPECT_EQ(100, client.GetTextAspect(0));
    EXPECT_EQ(INT_MIN, client.GetTextTracking(0));
    int position = 0, range = 9, x = 0, y = 0;
    client.GetTextPosition(0, &position, &range, &x, &y);
    EXPECT_EQ(3, position);
    EXPECT_EQ(9, range);
    EXPECT_EQ(2, y);
    EXPECT_EQ(1, record.GetCapabilityFlag(kCapabilityText));
  }
  // Closing unloads, and every slot and enumerator is released.
  EXPECT_NE(engine.calls.end(), std::find(engine.calls.begin(), engine.calls.end(), "Unload"));
  EXPECT_EQ(0, engine.liveObjects);
}

TEST_F(TemplateCOMTest, ShortEnumerationFailsTheLoadWithoutReadingMissingSlots) {
  engine.slots = {Slot(9, "text1", "A"), Slot(9, "text2", "B")};
  engine.nextResult = S_FALSE;
  CTemplateCOM client;
  EXPECT_FALSE(Load(client));
  EXPECT_EQ(std::vector<unsigned>{32818u}, services.messages);
  EXPECT_EQ(std::vector<std::string>{"StyleOps"}, services.arguments);
  EXPECT_TRUE(client.GetSlots().empty());
}

TEST_F(TemplateCOMTest, MissingFileIsReportedWithItsPath) {
  engine.loadResult = E_FAIL;
  CTemplateCOM client;
  EXPECT_FALSE(Load(client, "C:\\T\\Gone.kiq"));
  ASSERT_EQ(1u, services.messages.size());
  EXPECT_EQ(32828u, services.messages[0]);
  EXPECT_EQ("C:\\ T\\ Gone.kiq", services.arguments[0]);
}

TEST_F(TemplateCOMTest, TextWritesAddressTheirObject) {
  // Ten text objects: object 0 must not reach the slot tagged for object 10.
  for (int i = 1; i <= 10; ++i) {
    CString name, value;
    name.Format("text%d", i);
    value.Format("T%d", i);
    engine.slots.push_back(Slot(9, name, value));
  }
  CTemplateCOM client;
  ASSERT_TRUE(Load(client));
  ASSERT_EQ(10, client.GetTextObjectCount());
  EXPECT_EQ(S_OK, client.SetTextString(120, "New", 0));
  EXPECT_EQ(std::vector<std::string>{"lsvalue\r120\rNew"}, WritesTo(0));
  EXPECT_TRUE(WritesTo(9).empty());
  EXPECT_EQ(S_OK, client.SetTextString(0, "Ten", 9));
  EXPECT_EQ(std::vector<std::string>{"lsvalue\r0\rTen"}, WritesTo(9));
}

TEST_F(TemplateCOMTest, OldDocumentsWriteEveryMatchingSlot) {
  engine.slots = {Slot(6, "", "Sans"), Slot(6, "", "Sans")};
  for (double version : {1.0, 2.0}) {
    engine.writes.clear();
    services.record.SetVersion(version);
    CTemplateCOM client;
    ASSERT_TRUE(Load(client));
    client.SetTextFont("Mono", 0);
    EXPECT_EQ(version < 1.5 ? 2u : 1u, engine.writes.size()) << version;
  }
}

TEST_F(TemplateCOMTest, ConstraintsAnswerTheirOwnIndexAndAllAreWritten) {
  engine.slots = {Slot(12, "", "1500 Height:7500", "", "constrained x"), Slot(9, "text1", "Go"),
                  Slot(12, "", "3000 Height:15000", "", "?")};
  CTemplateCOM client;
  ASSERT_TRUE(Load(client));
  double height = -1, width = -1;
  ASSERT_TRUE(client.GetConstraint(0, &height, &width));
  EXPECT_DOUBLE_EQ(2, width);
  EXPECT_DOUBLE_EQ(10, height);
  ASSERT_TRUE(client.GetConstraint(1, &height, &width));
  EXPECT_DOUBLE_EQ(4, width);
  EXPECT_DOUBLE_EQ(20, height);
  ASSERT_TRUE(client.GetConstraint(-1, &height, &width));
  EXPECT_DOUBLE_EQ(0, width);
  EXPECT_FALSE(client.GetConstraint(2, &height, &width));
  EXPECT_FALSE(client.GetConstraint(-2, &height, &width));
  EXPECT_FALSE(client.GetConstraint(0, nullptr, &width));

  services.record.SetConstrainedHeight(12.7, -1);
  client.SetSlotValue("CONSTRAINED", "2250");
  EXPECT_EQ(std::vector<std::string>{"2250 NoTranslate Height:9000"}, WritesTo(0));
  EXPECT_EQ(std::vector<std::string>{"2250 NoTranslate Height:9000"}, WritesTo(2));
  EXPECT_EQ(1, services.record.GetHorizontalConstraint());
  EXPECT_EQ(1, services.record.GetVerticalConstraint());
}

TEST_F(TemplateCOMTest, RenderClearsConvertsAndChoosesTheEntry) {
  engine.slots = {Slot(9, "text1", "Go")};
  CTemplateCOM client;
  ASSERT_TRUE(Load(client));
  std::vector<DWORD> pixels(6, 0x12345678u);
  services.record.SetInteractiveRender(0);
  services.record.SetClipRenderOnce(1);
  ASSERT_TRUE(client.RenderBitmap(3, 2, nullptr, 1, pixels.data(), 0));
  EXPECT_TRUE(engine.lastClipped);
  EXPECT_EQ(0, services.record.GetClipRenderOnce());
  EXPECT_EQ(2, engine.lastFlags);
  EXPECT_EQ(0x80808080u, pixels[5]);  // unpremultiplied

  services.record.SetInteractiveRender(1);
  ASSERT_TRUE(client.RenderBitmap(3, 2, nullptr, 0, pixels.data(), 0));
  EXPECT_FALSE(engine.lastClipped);
  EXPECT_EQ(1, engine.lastFlags);

  engine.renderResult = E_FAIL;
  std::fill(pixels.begin(), pixels.end(), 0x12345678u);
  EXPECT_FALSE(client.RenderBitmap(3, 2, nullptr, 0, pixels.data(), 0));
  EXPECT_EQ(0xFF000000u, pixels[0]);  // cleared before the engine was asked
  EXPECT_FALSE(client.RenderBitmap(0, 2, nullptr, 0, pixels.data(), 0));
}

TEST_F(TemplateCOMTest, EngineFailuresAreReportedOnEveryCall) {
  engine.slots = {Slot(9, "text1", "Go")};
  CTemplateCOM client;
  ASSERT_TRUE(Load(client));
  engine.renderFaults = true;
  DWORD pixels[4] = {};
  EXPECT_FALSE(client.RenderBitmap(2, 2, nullptr, 0, pixels, 0));
  EXPECT_EQ(std::vector<unsigned>{32922u}, services.messages);
  ASSERT_EQ(1u, services.internalErrors.size());
  EXPECT_EQ(1490, services.internalErrors[0].first);
  engine.renderFaults = false;
  EXPECT_TRUE(client.RenderBitmap(2, 2, nullptr, 0, pixels, 0));  // still usable

  // Not only rendering: any call that fails so is told to the user and recorded.
  services.messages.clear();
  services.internalErrors.clear();
  engine.stateCountFaults = true;
  client.LoadTemplate("C:\\T\\Shiny.kiq");
  EXPECT_EQ(std::vector<unsigned>{32818u}, services.messages);
  EXPECT_EQ("StyleKit", services.arguments.back());
  ASSERT_EQ(1u, services.internalErrors.size());
  EXPECT_EQ(1490, services.internalErrors[0].first);
  engine.stateCountFaults = false;
}

TEST_F(TemplateCOMTest, ClipViewportSizesThePageAndAnEmptyOneFails) {
  engine.slots = {Slot(9, "text1", "Go"), Slot(12, "", "", "@!CLIPVIEWPORT!@", "", "Window")};
  engine.viewport = {750, 0, 750 * 41, 750 * 20};
  {
    CTemplateCOM client;
    ASSERT_TRUE(Load(client));
    ASSERT_NE(nullptr, client.GetClipRect());
    unsigned height = 0, width = 0;
    ASSERT_TRUE(client.GetPageSize(&height, &width));
    EXPECT_EQ(40u, width);
    EXPECT_EQ(20u, height);
    EXPECT_EQ(1, services.record.GetClipRenderOnce());
  }
  engine.viewport = {750, 0, 750, 750 * 20};
  CTemplateCOM client;
  EXPECT_FALSE(Load(client));
  ASSERT_FALSE(services.internalErrors.empty());
  EXPECT_EQ(872, services.internalErrors.back().first);
  EXPECT_EQ(0, services.record.GetClipViewportFlag());
}

TEST_F(TemplateCOMTest, SetSlotValueAtReportsFailures) {
  CTemplateCOM client;
  EXPECT_FALSE(client.SetSlotValueAt(0, "x"));
  ASSERT_EQ(1u, services.internalErrors.size());
  EXPECT_EQ(1085, services.internalErrors[0].first);
}
