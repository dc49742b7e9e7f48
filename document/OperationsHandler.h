// COperationsHandler: the interface of a document handler, with the parts every handler
// shares (its preview window, its background picture).
//
// The operations manager picks a handler by file extension, activates it with the main dialog
// as the preview's parent, and forwards each change group of the current graphic to it. The
// change fan-out (OnChange) is shared: it calls the group operations in a fixed order and gives
// the redraw request only to the call of the primary group.
#pragma once

#ifdef _WIN32

#include <cstdint>
#include <vector>

#include "framework/core/CObject.h"
#include "framework/core/CString.h"
#include "framework/core/WinTypes.h"

// The handler operation is named CreateWindow; the Win32 macro of that name is not used here.
#ifdef CreateWindow
#undef CreateWindow
#endif

class Bitmap32;
class COptions;
class CTemplateWnd;
class CWnd;

class COperationsHandler : public CObject {
  DECLARE_DYNAMIC(COperationsHandler)

 public:
  // Handler kinds.
  enum { kKindNone = 0, kKindTemplate = 1, kKindPhoto = 3 };

  COperationsHandler();
  COperationsHandler(const COperationsHandler&) = delete;
  COperationsHandler& operator=(const COperationsHandler&) = delete;
  ~COperationsHandler() override;

  virtual BOOL Initialise();
  virtual BOOL Activate(CWnd* parent, const RECT& rect);
  virtual BOOL Deactivate(RECT* rect);
  virtual int GetHandlerKind() { return kKindNone; }
  virtual BOOL LoadFile(const CString& path, int flagA, int flagB) = 0;
  virtual BOOL OnChange(COptions* document, int redraw, DWORD flags);
  virtual BOOL OnTextChanged(COptions* document, int redraw, int story) = 0;
  virtual BOOL OnFontChanged(COptions* document, int redraw, DWORD mask, int story) = 0;
  virtual BOOL OnColourChanged(COptions* document, int redraw, DWORD mask) = 0;
  virtual BOOL OnShadowChanged(COptions* document, int redraw) = 0;
  virtual BOOL OnTextureChanged(COptions* document, int redraw, int which) = 0;
  virtual BOOL OnSizeChanged(COptions* document, int redraw) = 0;
  virtual BOOL OnExportSettingsChanged(COptions* document, int redraw) = 0;
  virtual BOOL OnConstraintChanged(COptions* document, int redraw) = 0;
  virtual BOOL OnBevelChanged(COptions* document, int redraw) = 0;
  virtual int SelectState(int state) = 0;
  virtual int GetDefaultType() { return 12; }
  virtual BOOL RenderDesign(int width, int height, DWORD* pixels, int quality, HDC dc, int flag) = 0;
  virtual BOOL GetDesignBounds(RECT* rect, HDC dc) = 0;
  virtual void ReservedHook(int argument) = 0;
  virtual BOOL OnDocumentClosed();
  virtual BOOL GetFileExtensions(std::vector<CString>* extensions) = 0;
  virtual BOOL GetPageRect(RECT* rect);
  virtual int GetLayoutOrigin() { return 0; }
  virtual double GetLayoutScale() { return 0.0; }
  virtual int ReservedValue() { return 0; }
  virtual BOOL ShowImage(const CString& file, int flag);
  virtual void ReservedNotify() {}
  virtual CTemplateWnd* CreateWindow(CWnd* parent, const RECT& rect) = 0;

  // Makes a width x height background for the design in buffer and hands the picture to the
  // option record (the record's user bitmap and current texture string).
  BOOL SetBackgroundImage(const CString& name, int width, int height, DWORD* buffer, int mode);

  CTemplateWnd* GetPreviewWindow() const { return m_previewWindow; }
  // Whether the preview window was visible when the last one was destroyed.
  static int GetWindowVisibleFlag() { return s_windowVisible; }

 protected:
  bool IsBackgroundLoaded(const CString& name, const COptions& record) const;
  static void InternalError(int line);

  CString m_backgroundImageName;
  Bitmap32* m_backgroundBitmap = nullptr;
  int m_handlerInt1 = 0;  // the template handler's bitmap-background flag
  int m_handlerInt2 = 0;
  CString m_handlerText;
  CTemplateWnd* m_previewWindow = nullptr;

  static int s_windowVisible;
};

#endif  // _WIN32
