// CTemplateHandler: the document handler of engine templates (.kiq).
//
// Loading a template copies what it offers (stories, fonts, sizes, positions, colours,
// textures, constraints, states) into the option record; each change notification writes the
// changed properties of the record back into the engine's slots; rendering asks the engine for
// the design at a given size. It owns one engine client and the preview window.
#pragma once

#ifdef _WIN32

#include "document/OperationsHandler.h"

class CTemplateCOM;

class CTemplateHandler : public COperationsHandler {
 public:
  static constexpr const char* kDefaultTemplate = "SysResources\\Graphics\\Default.kiq";
  static constexpr const char* kDefaultMatrix = "Matrix A 1.0 B 0.0 C 0.0 D 1.0 E 0 F 0";

  CTemplateHandler();
  ~CTemplateHandler() override;

  BOOL Initialise() override;
  BOOL Activate(CWnd* parent, const RECT& rect) override;
  BOOL Deactivate(RECT* rect) override;
  int GetHandlerKind() override { return kKindTemplate; }
  BOOL LoadFile(const CString& path, int flagA, int flagB) override;
  BOOL OnTextChanged(COptions* document, int redraw, int story) override;
  BOOL OnFontChanged(COptions* document, int redraw, DWORD mask, int story) override;
  BOOL OnColourChanged(COptions* document, int redraw, DWORD mask) override;
  BOOL OnShadowChanged(COptions* document, int redraw) override;
  BOOL OnTextureChanged(COptions* document, int redraw, int which) override;
  BOOL OnSizeChanged(COptions*, int) override { return TRUE; }
  BOOL OnExportSettingsChanged(COptions*, int) override { return TRUE; }
  BOOL OnConstraintChanged(COptions* document, int redraw) override;
  BOOL OnBevelChanged(COptions* document, int redraw) override;
  int SelectState(int state) override;
  BOOL RenderDesign(int width, int height, DWORD* pixels, int quality, HDC dc, int flag) override;
  BOOL GetDesignBounds(RECT*, HDC) override { return FALSE; }
  void ReservedHook(int) override {}
  BOOL GetFileExtensions(std::vector<CString>* extensions) override;
  BOOL GetPageRect(RECT* rect) override;
  CTemplateWnd* CreateWindow(CWnd* parent, const RECT& rect) override;

  BOOL StartEngine();
  BOOL ReadColours(int flagB);
  BOOL ReadTextures(COptions* document, int flagB);
  void UpdateTextureColours(COptions* document, int texture, const CString& fillType);

  CTemplateCOM* GetEngineClient() const { return m_engine; }
  CString GetTemplatePath() const { return m_templatePath; }
  int IsTemplateLoaded() const { return m_templateLoaded; }
  int GetBitmapBackgroundFlag() const { return m_handlerInt1; }

 private:
  static void InternalError(int line);
  BOOL MakeEngineClient();
  void ReadStories(COptions& record);
  void ReadConstraints(COptions& record);
  int FirstColourSlot() const;

  CTemplateCOM* m_engine = nullptr;
  int m_animationFlags[2] = {1, 0};
  LONG m_renderExtra[4] = {0, 0, 0, 0};
  CString m_textureFileText;
  int m_freshClient = 0;
  int m_templateLoaded = 0;
  CString m_templatePath;
};

#endif  // _WIN32
