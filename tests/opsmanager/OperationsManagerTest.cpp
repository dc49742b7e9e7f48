// The operations manager: change groups through the handler, refreshes, opening and closing
// documents, and the render-request word.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/NavBarModel.h"
#include "document/OperationsHandler.h"
#include "document/OperationsManager.h"
#include "document/OperationsOptionsServices.h"
#include "document/RenderRequest.h"
#include "document/TemplateCOM.h"
#include "tests/opsmanager/FakeOperationsServices.h"
#include "tests/opsmanager/FakeStyleKitEngine.h"

namespace {

std::vector<std::string>* g_log = nullptr;

void Log(const char* format, ...) {
  char text[128];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  if (g_log) g_log->push_back(text);
}

// A handler that writes every call it gets into the log.
class RecordingHandler : public COperationsHandler {
 public:
  BOOL Activate(CWnd*, const RECT&) override { Log("activate"); return TRUE; }
  BOOL Deactivate(RECT* rect) override { Log("deactivate"); return COperationsHandler::Deactivate(rect); }
  int GetHandlerKind() override { return kind; }
  BOOL LoadFile(const CString& path, int a, int b) override {
    Log("load '%s' %d %d", static_cast<LPCTSTR>(path), a, b);
    return TRUE;
  }
  BOOL OnTextChanged(COptions*, int redraw, int story) override { Log("text %d %d", redraw, story); return TRUE; }
  BOOL OnFontChanged(COptions*, int redraw, DWORD mask, int story) override {
    Log("font %d %lx %d", redraw, static_cast<unsigned long>(mask), story);
    return TRUE;
  }
  BOOL OnColourChanged(COptions*, int redraw, DWORD mask) override {
    Log("colour %d %lx", redraw, static_cast<unsigned long>(mask));
    return TRUE;
  }
  BOOL OnShadowChanged(COptions*, int redraw) override { Log("shadow %d", redraw); return TRUE; }
  BOOL OnTextureChanged(COptions*, int redraw, int which) override { Log("texture %d %d", redraw, which); return TRUE; }
  BOOL OnSizeChanged(COptions*, int redraw) override { Log("size %d", redraw); return TRUE; }
  BOOL OnExportSettingsChanged(COptions*, int redraw) override { Log("export %d", redraw); return TRUE; }
  BOOL OnConstraintChanged(COptions*, int redraw) override { Log("constraint %d", redraw); return TRUE; }
  BOOL OnBevelChanged(COptions*, int redraw) override { Log("bevel %d", redraw); return TRUE; }
  int SelectState(int state) override { Log("state %d", state); return 7; }
  BOOL RenderDesign(int, int, DWORD*, int, HDC, int) override { return TRUE; }
  BOOL GetDesignBounds(RECT*, HDC) override { return FALSE; }
  void ReservedHook(int) override {}
  BOOL OnDocumentClosed() override { Log("closed"); return TRUE; }
  BOOL GetFileExtensions(std::vector<CString>* extensions) override {
    extensions->push_back("rec");
    return TRUE;
  }
  CTemplateWnd* CreateWindow(CWnd*, const RECT&) override { return nullptr; }
  int kind = kKindTemplate;
};

class RecordingNavBar : public CNavBarModel {
 public:
  bool CreateDefaultButtons() override { return true; }
  void OnGraphicChanged(int flags, int request) override { Log("bar changed %x %x", flags, request); }
  int Render(int redraw, int request) override {
    const CRenderSwitches& s = RenderSwitches();
    Log("bar render %d %x keep=%d", redraw, request, s.keepBuffer);
    return 5;
  }
  void UpdateMenuColours() override { Log("bar menu colours"); }
  void TakeMenuFontFromGraphic() override { Log("bar menu font"); }
};

class NavBarServices : public FakeOperationsServices {
 public:
  CNavBarModel* CreateNavBar() override { return new RecordingNavBar; }
};

class OperationsManagerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_log = &log;
    CTemplateCOM::SetEngineFactory(&FakeStyleKitEngine::Factory);
    manager = new COperationsManager(nullptr);
    ASSERT_TRUE(manager->Init());
    handler = new RecordingHandler;
    manager->AddHandler(handler);
    ASSERT_TRUE(manager->OpenDocument("C:\\Doc.REC", 1, 0));
    log.clear();
  }
  void TearDown() override {
    delete manager;
    CTemplateCOM::SetEngineFactory(nullptr);
    g_log = nullptr;
  }

  NavBarServices services;
  FakeStyleKitEngine engine;
  COperationsManager* manager = nullptr;
  RecordingHandler* handler = nullptr;
  std::vector<std::string> log;
};

using Calls = std::vector<std::string>;

}  // namespace

TEST_F(OperationsManagerTest, ChangeFanOutRedrawsOnlyThePrimaryGroup) {
  struct Case {
    DWORD flags;
    Calls calls;
  } cases[] = {
      {0x12, {"font 0 1 0", "constraint 0", "shadow 1"}},
      {0xC, {"texture 0 1", "colour 1 c"}},
      {0x8, {"texture 1 1"}},
      {0x4, {"texture 0 1", "colour 1 4"}},
      {0x2, {"font 0 1 0", "constraint 1"}},
      {0x1, {"text 0 -1", "constraint 0"}},
      {0x20000, {"bevel 1"}},
      {0x10003, {"text 0 -1", "constraint 0", "bevel 0", "font 0 1 0", "constraint 1"}},
      {0, {}},
  };
  for (const Case& c : cases) {
    log.clear();
    EXPECT_TRUE(handler->OnChange(&services.record, 1, c.flags));
    EXPECT_EQ(c.calls, log) << std::hex << c.flags;
  }
  EXPECT_FALSE(handler->OnChange(nullptr, 1, 4));
  ASSERT_FALSE(services.internalErrors.empty());
  EXPECT_EQ(156, services.internalErrors.back().first);
}

TEST_F(OperationsManagerTest, NotifyCallsTheHandlerAndRefreshesWithItsGroup) {
  manager->SetNavBarMode(1);
  manager->SetKeptRenderRequest(2);
  COptions* doc = &services.record;
  struct Case {
    std::function<int()> notify;
    Calls calls;
  } cases[] = {
      {[&] { return manager->NotifyTextChanged(doc, 0, 2); }, {"text 0 2", "bar changed 1 2", "bar menu font"}},
      {[&] { return manager->NotifyFontChanged(doc, 0, 8, 1); }, {"font 0 8 1", "bar changed 2 2", "bar menu font"}},
      {[&] { return manager->NotifyColourChanged(doc, 0, 0x20); }, {"colour 0 0", "bar changed 8004 2"}},
      {[&] { return manager->NotifyColourChanged(doc, 0, 0x120); }, {"colour 0 100", "bar changed 8004 2"}},
      {[&] { return manager->NotifyColourChanged(doc, 0, 0); }, {"colour 0 0", "bar changed 4 2"}},
      {[&] { return manager->NotifyShadowChanged(doc, 0); }, {"shadow 0", "bar changed 10 2"}},
      {[&] { return manager->NotifyTextureChanged(doc, 0, 3); }, {"texture 0 3", "bar changed 8 2"}},
      {[&] { return manager->NotifySizeChanged(doc, 0); }, {"size 0", "bar changed 200 2", "bar menu font"}},
      {[&] { return manager->NotifyConstraintChanged(doc, 0); }, {"constraint 0", "bar changed 1000 2"}},
      {[&] { return manager->NotifyExportSettingsChanged(doc, 0); }, {"export 0", "bar changed 1000 2"}},
  };
  for (std::size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
    log.clear();
    cases[i].notify();
    EXPECT_EQ(cases[i].calls, log) << "case " << i;
  }
  // A photo handler gets the colour mask whole.
  handler->kind = COperationsHandler::kKindPhoto;
  log.clear();
  manager->NotifyColourChanged(doc, 0, 0x20);
  EXPECT_EQ("colour 0 20", log.at(0));
}

TEST_F(OperationsManagerTest, RefreshOutsideBarModeResetsTheKeptRequest) {
  manager->SetKeptRenderRequest(0x100);
  EXPECT_EQ(0, manager->Refresh(0, 4));
  EXPECT_EQ(1u, manager->GetKeptRenderRequest());
  manager->SetNavBarMode(1);
  manager->SetKeptRenderRequest(6);
  EXPECT_EQ(5, manager->Refresh(1, 4));
  EXPECT_EQ(6u, manager->GetKeptRenderRequest());
  EXPECT_EQ((Calls{"bar changed 4 6", "bar render 1 6 keep=0", "bar menu colours"}), log);
}

TEST_F(OperationsManagerTest, OpeningAndClosingDocuments) {
  // Close, then open again: no handler is current in between, and none is deactivated.
  EXPECT_TRUE(manager->OpenDocument("", 0, 1));
  EXPECT_EQ(nullptr, manager->GetCurrentHandler());
  EXPECT_TRUE(manager->GetFileName().IsEmpty());
  EXPECT_TRUE(manager->OpenDocument("C:\\Again.rec", 0, 1));
  EXPECT_EQ(handler, manager->GetCurrentHandler());
  EXPECT_EQ((Calls{"load '' 0 1", "activate", "load 'C:\\Again.rec' 0 1"}), log);

  const std::size_t errors = services.internalErrors.size();
  EXPECT_FALSE(manager->OpenDocument("C:\\Style.QTW", 1, 1));  // a style file, not a handler's
  EXPECT_EQ(errors, services.internalErrors.size());
  EXPECT_FALSE(manager->OpenDocument("C:\\Picture.zzz", 1, 1));
  EXPECT_TRUE(manager->GetFileName().IsEmpty());
  ASSERT_EQ(errors + 1, services.internalErrors.size());
  EXPECT_EQ(538, services.internalErrors.back().first);
  EXPECT_FALSE(manager->OpenDocument("C:\\NoExtension", 1, 1));
  EXPECT_EQ(errors + 1, services.internalErrors.size());
  EXPECT_EQ(7, manager->SelectState(2));
}

TEST_F(OperationsManagerTest, RenderRequestsLeaveTheSwitchesAsTheyFoundThem) {
  const CRenderSwitches& s = RenderSwitches();
  EXPECT_EQ(0, RenderPreview(1, 0x100));  // the recording handler has no window
  EXPECT_EQ(1, s.shadowAllowed);

  SuspendRendering();
  EXPECT_EQ(0, RenderPreview(1, 0x1));
  EXPECT_EQ(1, s.suppress);
  ResumeRendering();
  EXPECT_EQ(0, s.suppress);

  {
    CRenderRequestScope outer(0x40);
    {
      CRenderRequestScope inner(0x100);
      EXPECT_EQ(0, s.hardEdges);
      EXPECT_EQ(0, s.shadowAllowed);
    }
    EXPECT_EQ(1, s.hardEdges);  // the outer request is intact
    EXPECT_EQ(1, s.shadowAllowed);
  }
  EXPECT_EQ(0, s.hardEdges);

  manager->SetNavBarMode(1);
  log.clear();
  EXPECT_EQ(5, RenderWithFlags(1, 2));
  EXPECT_EQ((Calls{"bar changed 0 2", "bar render 1 2 keep=1"}), log);
  EXPECT_EQ(0, s.keepBuffer);

  int width = 11, height = 12;
  GetPreviewSize(&width, &height);
  EXPECT_EQ(11, width);
  EXPECT_EQ(12, height);
  EXPECT_EQ(nullptr, GetPreviewPixels());
  EXPECT_EQ(1, EnablePreviewPaint(false));
  EXPECT_EQ(0, EnablePreviewPaint(true));
}

TEST_F(OperationsManagerTest, ColourSwatchIsAJpegAndAFailedWriteSaysSo) {
  char folder[MAX_PATH];
  ASSERT_NE(0u, ::GetTempPathA(MAX_PATH, folder));
  const CString file = CString(folder) + "bw-swatch-test.jpg";
  ::DeleteFileA(file);
  COptions& record = services.record;
  record.SetExportType(0);
  record.SetJPEGQuality(90);
  record.SetTexReplacementColour(RGB(0x20, 0x40, 0x80));
  ASSERT_TRUE(manager->WriteColourSwatch(file));
  FILE* stream = std::fopen(file, "rb");
  ASSERT_NE(nullptr, stream);
  unsigned char head[2] = {};
  EXPECT_EQ(2u, std::fread(head, 1, 2, stream));
  std::fclose(stream);
  ::DeleteFileA(file);
  EXPECT_EQ(0xFF, head[0]);
  EXPECT_EQ(0xD8, head[1]);
  EXPECT_EQ(0, record.GetExportType());  // the record's own settings come back
  EXPECT_EQ(90u, record.GetJPEGQuality());
  EXPECT_FALSE(manager->WriteColourSwatch(CString(folder) + "no-such-folder\\swatch.jpg"));
  services.hasRecord = false;
  EXPECT_FALSE(manager->WriteColourSwatch(file));
}

TEST_F(OperationsManagerTest, RecordServicesReachTheManager) {
  COperationsOptionsServices recordServices;
  SetOptionsServices(&recordServices);
  EXPECT_TRUE(recordServices.HasCurrentHandler());
  services.record.SelectState(2);
  EXPECT_TRUE(recordServices.OpenDocument("C:\\Other.rec"));
  recordServices.SetNavBarMode(true);
  EXPECT_TRUE(manager->IsNavBarMode());
  SetOptionsServices(nullptr);
  EXPECT_EQ((Calls{"state 2", "load 'C:\\Other.rec' 0 1"}), log);
}
