// Dragging a graphic out: the pre-drag loop on a real window, the drop source's answers and the
// rendering of the offered formats.
#include "bitmap/GraphicDragOut.h"
#include "tests/bitmap/FileDropTarget.h"
#include "tests/bitmap/TestSupport.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <cstring>
#include <thread>

namespace {

struct DragWindow : ::testing::Test {
  HWND window = nullptr;
  CGraphicDropSource source;
  void SetUp() override {
    window = CreateWindowExA(0, "STATIC", "drag", WS_POPUP | WS_VISIBLE, 100, 100, 200, 200, nullptr, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    // The start rectangle: 4 pixels around the client point (20, 20).
    POINT press{20, 20};
    ClientToScreen(window, &press);
    source.m_dragStartRect = RECT{press.x - 4, press.y - 4, press.x + 5, press.y + 5};
    source.m_graphicLoaded = TRUE;
  }
  void TearDown() override {
    DestroyWindow(window);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
  }
  void Post(UINT message, WPARAM wParam, int x, int y) { PostMessageA(window, message, wParam, MAKELPARAM(x, y)); }
};

TEST_F(DragWindow, PressBecomesADragOnlyOutsideTheStartRectangle) {
  struct Step {
    UINT message;
    WPARAM wParam;
    int x, y;
  };
  struct Case {
    const char* name;
    std::vector<Step> steps;
    BOOL dragged;
  } cases[] = {
      {"released inside", {{WM_MOUSEMOVE, MK_LBUTTON, 22, 21}, {WM_LBUTTONUP, 0, 22, 21}}, FALSE},
      {"moved out", {{WM_MOUSEMOVE, MK_LBUTTON, 22, 21}, {WM_MOUSEMOVE, MK_LBUTTON, 60, 20}}, TRUE},
      {"escape", {{WM_MOUSEMOVE, MK_LBUTTON, 21, 21}, {WM_KEYDOWN, VK_ESCAPE, 0, 0}}, FALSE},
      {"other button", {{WM_RBUTTONDOWN, MK_RBUTTON, 21, 21}, {WM_MOUSEMOVE, MK_LBUTTON, 60, 20}}, FALSE},
  };
  for (const Case& c : cases) {
    for (const Step& step : c.steps) Post(step.message, step.wParam, step.x, step.y);
    EXPECT_EQ(source.OnBeginDrag(window), c.dragged) << c.name;
    EXPECT_EQ(GetCapture(), nullptr) << c.name;
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
  }
}

TEST_F(DragWindow, NoGraphicNoDragAndNothingTaken) {
  source.m_graphicLoaded = FALSE;
  Post(WM_MOUSEMOVE, MK_LBUTTON, 60, 20);
  EXPECT_FALSE(source.OnBeginDrag(window));
  MSG message;
  EXPECT_TRUE(PeekMessageA(&message, window, WM_MOUSEMOVE, WM_MOUSEMOVE, PM_REMOVE));
}

TEST_F(DragWindow, WaitsForInputThatArrivesLater) {
  // The loop sleeps on the queue; a move posted later from another thread wakes it.
  std::thread mover([this] {
    Sleep(50);
    Post(WM_MOUSEMOVE, MK_LBUTTON, 90, 90);
  });
  EXPECT_TRUE(source.OnBeginDrag(window));
  mover.join();
}

TEST(CGraphicDropSource, AnswersDuringTheDrag) {
  struct Case {
    BOOL started, escape;
    DWORD keys;
    HRESULT answer;
    BOOL startedAfter;
  } cases[] = {
      {TRUE, FALSE, MK_LBUTTON, S_OK, TRUE},
      {TRUE, FALSE, 0, DRAGDROP_S_DROP, TRUE},
      {FALSE, FALSE, 0, DRAGDROP_S_CANCEL, FALSE},
      {TRUE, TRUE, MK_LBUTTON, DRAGDROP_S_CANCEL, FALSE},
      {TRUE, FALSE, MK_LBUTTON | MK_RBUTTON, DRAGDROP_S_CANCEL, FALSE},
  };
  for (const Case& c : cases) {
    CGraphicDropSource source;
    source.m_dragStarted = c.started;
    EXPECT_EQ(source.QueryContinueDrag(c.escape, c.keys), c.answer);
    EXPECT_EQ(source.m_dragStarted, c.startedAfter);
    EXPECT_EQ(source.GiveFeedback(DROPEFFECT_COPY), c.startedAfter ? DRAGDROP_S_USEDEFAULTCURSORS : S_OK);
  }
}

int g_writes = 0;
BOOL g_writeSucceeds = TRUE;
BOOL CountingWrite(ExportRecord*, const char*) {
  ++g_writes;
  return g_writeSucceeds;
}
std::string g_exportPath;
void RememberPath(const char* path) { g_exportPath = path; }

TEST(RenderGraphicGlobalData, FileDropWritesOnceAndWrapsThePath) {
  FakeRecord record;
  BOOL exported = FALSE;
  GraphicDropFile file{"C:\\temp\\graphic.gif", &exported, CountingWrite, RememberPath};
  g_writes = 0;
  g_writeSucceeds = TRUE;
  for (int ask = 0; ask < 2; ++ask) {
    HGLOBAL block = nullptr;
    ASSERT_TRUE(RenderGraphicGlobalData(CF_HDROP, &record, file, &block));
    const auto* files = static_cast<const DROPFILES*>(GlobalLock(block));
    EXPECT_EQ(files->pFiles, 20u);
    EXPECT_TRUE(files->fNC);
    EXPECT_FALSE(files->fWide);
    const char* name = reinterpret_cast<const char*>(files) + 20;
    EXPECT_STREQ(name, "C:\\temp\\graphic.gif");
    EXPECT_EQ(name[std::strlen(name) + 1], '\0');
    GlobalUnlock(block);
    GlobalFree(block);
  }
  EXPECT_EQ(g_writes, 1);
  EXPECT_TRUE(exported);
  EXPECT_EQ(g_exportPath, "C:\\temp\\graphic.gif");

  // A failing write produces nothing and leaves the graphic to be written next time.
  exported = FALSE;
  g_writeSucceeds = FALSE;
  HGLOBAL block = reinterpret_cast<HGLOBAL>(1);
  EXPECT_FALSE(RenderGraphicGlobalData(CF_HDROP, &record, file, &block));
  EXPECT_EQ(block, nullptr);
  EXPECT_FALSE(exported);
  // No record, no path, or another format: nothing.
  EXPECT_FALSE(RenderGraphicGlobalData(CF_HDROP, nullptr, file, &block));
  GraphicDropFile noPath{"", &exported, CountingWrite, RememberPath};
  EXPECT_FALSE(RenderGraphicGlobalData(CF_HDROP, &record, noPath, &block));
  EXPECT_FALSE(RenderGraphicGlobalData(CF_TEXT, &record, file, &block));
  EXPECT_EQ(MakeDropFilesBlock(""), nullptr);
}

TEST(CGraphicDataObject, OffersTheFileAndWritesItOncePerDrag) {
  FakeRecord record;
  g_writes = 0;
  g_writeSucceeds = TRUE;
  g_exportPath.clear();
  auto* data = new CGraphicDataObject(&record, GraphicDropFile{"C:\\temp\\g.gif", nullptr, CountingWrite, RememberPath});
  FORMATETC drop{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
  FORMATETC text{CF_TEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
  FORMATETC dropAsStream{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_ISTREAM};
  EXPECT_EQ(data->QueryGetData(&drop), S_OK);
  EXPECT_EQ(data->QueryGetData(&text), DV_E_FORMATETC);
  EXPECT_EQ(data->QueryGetData(&dropAsStream), DV_E_FORMATETC);

  // The one offered format, as the drop target enumerates it.
  IEnumFORMATETC* formats = nullptr;
  ASSERT_EQ(data->EnumFormatEtc(DATADIR_GET, &formats), S_OK);
  FORMATETC listed[2];
  ULONG count = 0;
  formats->Next(2, listed, &count);
  formats->Release();
  ASSERT_EQ(count, 1u);
  EXPECT_EQ(listed[0].cfFormat, CF_HDROP);
  EXPECT_EQ(g_writes, 0);  // offering writes nothing

  STGMEDIUM medium{};
  EXPECT_EQ(data->GetData(&text, &medium), DV_E_FORMATETC);
  for (int ask = 0; ask < 2; ++ask) {
    ASSERT_EQ(data->GetData(&drop, &medium), S_OK);
    EXPECT_EQ(medium.tymed, DWORD(TYMED_HGLOBAL));
    const auto* files = static_cast<const DROPFILES*>(GlobalLock(medium.hGlobal));
    EXPECT_STREQ(reinterpret_cast<const char*>(files) + files->pFiles, "C:\\temp\\g.gif");
    GlobalUnlock(medium.hGlobal);
    ReleaseStgMedium(&medium);
  }
  EXPECT_EQ(g_writes, 1);
  EXPECT_TRUE(data->IsRendered());
  EXPECT_EQ(g_exportPath, "C:\\temp\\g.gif");
  // A target that keeps the object after the drag still gets the written file.
  data->Close();
  EXPECT_EQ(data->GetData(&drop, &medium), S_OK);
  ReleaseStgMedium(&medium);
  EXPECT_EQ(g_writes, 1);
  data->Release();

  // A failed write gives the target nothing; after the drag nothing more is written.
  g_writeSucceeds = FALSE;
  data = new CGraphicDataObject(&record, GraphicDropFile{"C:\\temp\\h.gif", nullptr, CountingWrite, RememberPath});
  EXPECT_EQ(data->GetData(&drop, &medium), E_FAIL);
  EXPECT_FALSE(data->IsRendered());
  data->Close();
  g_writeSucceeds = TRUE;
  EXPECT_EQ(data->GetData(&drop, &medium), E_FAIL);
  EXPECT_EQ(g_writes, 2);
  data->Release();
}

TEST_F(DragWindow, NoDragWritesNothing) {
  FakeRecord record;
  g_writes = 0;
  const GraphicDropFile file{"C:\\temp\\g.gif", nullptr, CountingWrite, RememberPath};
  // No graphic, an empty path, or a press released inside the start rectangle.
  EXPECT_EQ(DragGraphicOut(window, source.m_dragStartRect, FALSE, &record, file), DWORD(DROPEFFECT_NONE));
  EXPECT_EQ(DragGraphicOut(window, source.m_dragStartRect, TRUE, &record, GraphicDropFile{}), DWORD(DROPEFFECT_NONE));
  Post(WM_LBUTTONUP, 0, 21, 21);
  EXPECT_EQ(DragGraphicOut(window, source.m_dragStartRect, TRUE, &record, file), DWORD(DROPEFFECT_NONE));
  EXPECT_EQ(g_writes, 0);
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(DragWindow, DroppedOnATargetTheFileIsWrittenAndHandedOver) {
  const HRESULT ole = OleInitialize(nullptr);
  ASSERT_TRUE(SUCCEEDED(ole));
  {
    FileDropTarget target;
    ASSERT_TRUE(target.Open(400, 100, 200, 200));
    FakeRecord record;
    g_writes = 0;
    g_writeSucceeds = TRUE;
    g_exportPath.clear();
    // The pointer rests over the target; the press leaves the start rectangle and the button is up,
    // so the drag drops at once where the pointer is.
    SetCursorPos(500, 200);
    Post(WM_MOUSEMOVE, MK_LBUTTON, 60, 20);
    const DWORD effect = DragGraphicOut(window, source.m_dragStartRect, TRUE, &record,
                                        GraphicDropFile{"C:\\temp\\dragged.gif", nullptr, CountingWrite, RememberPath});
    EXPECT_EQ(effect, DWORD(DROPEFFECT_COPY));
    EXPECT_EQ(target.dropped, "C:\\temp\\dragged.gif");
    EXPECT_EQ(g_writes, 1);
    EXPECT_EQ(g_exportPath, "C:\\temp\\dragged.gif");
  }
  OleUninitialize();
}

}  // namespace
