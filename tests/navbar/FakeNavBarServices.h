// A small stand-in for the program around the navigation bar: a current graphic, an operations
// manager that owns one bar, a preview window whose renders are made up from the graphic (so
// that texts, sizes and states give different pixels), and a temporary folder per fixture.
// It also stands in for the option record's services, so style files carry the bar's strings
// and reading one rebuilds the bar.
#pragma once

#include <string>
#include <vector>

#include "bitmap/Bitmap32.h"
#include "document/Options.h"
#include "document/OptionsServices.h"
#include "navbar/NavBar.h"
#include "navbar/NavBarServices.h"

class CFakeNavBarServices : public CNavBarServices, public COptionsServices {
 public:
  CFakeNavBarServices();
  ~CFakeNavBarServices() override;

  // Both interfaces.
  COptions* GetCurrentOptions() override { return &graphic; }
  bool HasOperationsManager() override { return true; }
  bool IsNavBarMode() override { return navBarMode; }
  void SetNavBarMode(bool on) override { navBarMode = on; }
  void NotifyChanged(COptions*, StyleChangeMask, bool) override {}
  void NotifyTextChanged(bool, int) override {}
  void NotifyTextureChanged(bool, int) override { ++textureNotifications; }
  void NotifyConstraintChanged(bool) override {}
  void SetInternalError(int line, const char*) override { internalErrors.push_back(line); }
  CString GetRootPath() override { return folder; }
  // Every template opens.
  bool OpenDocument(const CString&) override { return true; }

  // The bar's services.
  CNavBar* GetNavBar() override { return &bar; }
  bool HasPreviewWindow() override { return true; }
  // Width 8 per character of story 0 (at least 8), height 20; every pixel the graphic's colour 1
  // mixed with the text length.
  bool RenderCurrentGraphic(Bitmap32& image) override;
  bool ShowBarImage(const Bitmap32& image, bool) override;
  int MeasureTextWidth(const CString& text) override { return 7 * text.GetLength(); }
  // Menu fonts measure as the default font does; the font asked for is noted.
  int MeasureTextWidthInFont(const CString& text, const CString& face, int points, bool bold, bool italic) override {
    measuredFont = std::string(face) + " " + std::to_string(points) + (bold ? " bold" : "") + (italic ? " italic" : "");
    return 7 * text.GetLength();
  }
  bool IsHostedByEditor() override { return editorKind != 0; }
  int GetEditorKind() override { return editorKind; }
  bool LookupFontFamily(const CString& face, bool& serif, bool& bold, bool& italic) override;
  void ReportError(unsigned id) override { messages.push_back(id); }
  unsigned AskNavBarOrientation() override { return orientationAnswer; }
  CString GetInstanceTempFolder() override { return tempFolder; }
  RECT GetPreviewClientRect() override { return RECT{0, 0, 300, 100}; }
  bool CurrentManagerNeedsLeaveNotify() override { return needsLeaveNotify; }
  bool ShowPreviewImage(const CString& path, int flag) override {
    previewImage = path;
    previewFlag = flag;
    return true;
  }
  bool CopyToPreview(const Bitmap32& image, int x, int y) override {
    copiedAt = POINT{x, y};
    return copied.CreateFromPixels(image.Width(), image.Height(), image.Pixels()) == 0;
  }
  CString GetTemporaryExportPath() override { return temporaryExport; }
  bool SaveThumbnail(const CString& path, const Bitmap32& image) override;

  // The option record's view of the bar.
  bool HasNavBar() override { return true; }
  void NavBarWriteMenuRecords(std::vector<CString>& records) override { bar.WriteMenuRecords(&records); }
  CString NavBarGetSettingsString() override { return bar.GetSettingsString(); }
  CString NavBarGetImageFolder() override { return bar.GetImageFolder(); }
  void NavBarSetImageFolder(const CString& value) override { bar.SetImageFolder(value); }
  void NavBarClearURLChoices() override { bar.ClearURLChoices(); }
  void NavBarSetParseButtons() override { bar.SetParseButtons(true); }
  bool NavBarLoadFromTemplate(const CString& html, const CString& path, const std::vector<CString>& menuRecords,
                              const CString& settings, int coloursFromFile, int settingsOrigin) override {
    std::vector<CString> records = menuRecords;
    return bar.LoadFromTemplate(html, path, &records, settings, coloursFromFile, settingsOrigin) != 0;
  }

  // A record as a template instance gives it: a button of the fixture's template "Button.kiq"
  // with the four named colours.
  void MakeTemplateRecord(COptions& record, COLORREF colour1, const char* kiq = "Button.kiq") const;

  // The bar as a row of its four default buttons, each as wide as its text, 2 pixels apart,
  // with the Off state on.
  void MakeButtonRow();

  // A path in the fixture's folder (program backslashes); files written there.
  CString Path(const char* name) const { return folder + name; }
  bool Exists(const char* name) const;
  void WriteFile(const char* name, const std::string& bytes) const;
  void MakeFolder(const char* name) const;

  COptions graphic;
  CNavBar bar;
  bool navBarMode = true;
  bool needsLeaveNotify = false;
  unsigned orientationAnswer = 32906;
  int editorKind = 0;        // 0: not started by an HTML editor
  std::string measuredFont;  // face, points and style of the last menu text measured
  int renders = 0;
  int textureNotifications = 0;
  std::vector<int> internalErrors;
  std::vector<unsigned> messages;
  std::vector<std::string> renderedTexts;
  Bitmap32 shown;
  CString thumbnailPath;
  CString temporaryExport;
  CString previewImage;
  int previewFlag = -1;
  Bitmap32 copied;
  POINT copiedAt{-1, -1};
  int thumbnailWidth = 0;
  int thumbnailHeight = 0;
  CString folder;      // ends with a backslash
  CString tempFolder;  // this instance's temporary folder, inside folder

 private:
  std::string m_nativeFolder;
};

// Four named colours as a template gives them: 0 the background, 1 "Face" (which the fake
// render shows), 2 "Text", 3 "Edge".
void SetTemplateColours(COptions& record, COLORREF colour1);

// One opaque colour per rendered look, to check which record a render used.
std::uint32_t FakePixel(COLORREF colour, int textLength);
