// What the navigation bar needs from the rest of the program: the current graphic and the
// operations manager that owns the bar, the preview window that renders through the template
// engine, text measuring and the installed font families, the shared message boxes and the
// per-instance temporary folder.
//
// The base class answers as a program without an operations manager or preview window would:
// the current graphic and notifications come from the option record's services, rendering
// fails, every question is cancelled; text measuring, the font lookup and the export folder
// preference are the platform's own on Windows. The program installs its own
// implementation at start-up (SetNavBarServices); tests install a small fake.
#pragma once

#include <cstdint>

#include "document/StyleChangeMask.h"
#include "framework/core/CString.h"
#include "framework/core/WinTypes.h"

class Bitmap32;
class CNavBar;
class COptions;

class CNavBarServices {
 public:
  virtual ~CNavBarServices();

  // The current graphic (null before the main dialog exists) and the operations manager.
  virtual COptions* GetCurrentOptions();
  virtual bool HasOperationsManager();
  // The manager's bar: the one instance the manager owns; null without a manager.
  virtual CNavBar* GetNavBar() { return nullptr; }
  virtual bool IsNavBarMode();
  virtual void SetNavBarMode(bool on);

  // Notifications of the operations manager that the current graphic (or record) changed.
  virtual void NotifyChanged(COptions* record, StyleChangeMask mask, bool redraw);
  virtual void NotifyTextChanged(bool redraw, int story);
  virtual void NotifyTextureChanged(bool redraw, int texture);
  virtual void NotifyConstraintChanged(bool redraw);
  virtual void Refresh(bool redraw, DWORD flags) {}

  // The current handler's preview window.
  virtual bool HasPreviewWindow() { return false; }
  // Renders the current graphic through the template at its current size and hands over the
  // pixels (width x height words); false when nothing could be rendered.
  virtual bool RenderCurrentGraphic(Bitmap32& image) { return false; }
  // Shows a composed bar image in the preview window (redraw: repaint at once); false when the
  // window refuses a buffer of that size.
  virtual bool ShowBarImage(const Bitmap32& image, bool redraw) { return false; }
  virtual void EnablePreviewPaint(bool enable) {}
  // Whether the current window manager follows the pointer leaving it (the pages where the bar
  // is edited): the bar's hover is then shown through the fast hover display.
  virtual bool CurrentManagerNeedsLeaveNotify() { return false; }
#ifdef _WIN32
  // The program's main window, owner of the drop-down menu previews (null when none).
  virtual HWND GetMainWindow() { return nullptr; }
#endif
  // The fast hover display over the exported bar: the preview window's client rectangle, the
  // exported image shown as the preview's picture (flag as the preview takes it), a composed
  // button copied into the shown picture at (x, y) from the top-left, then repainted.
  virtual RECT GetPreviewClientRect() { return RECT{0, 0, 0, 0}; }
  virtual bool ShowPreviewImage(const CString& path, int flag) { return false; }
  virtual bool CopyToPreview(const Bitmap32& image, int x, int y) { return false; }
  // The output panel's temporary export of the bar ("temptwg" with the export type's extension
  // in the system temporary folder) and the export panel's program-wide "Show trimmed" switch.
  virtual CString GetTemporaryExportPath() { return CString(); }
  virtual bool IsShowTrimmed() { return false; }
  // The handler's layout origin and scale, used for slanted 3D headings; false without one.
  virtual bool GetLayoutTransform(double& origin, double& scale) { return false; }
  // Milliseconds since start; the duration of a bar render is kept for the deferred render.
  virtual DWORD GetTickCount() { return 0; }
  virtual void SetLastRenderTime(DWORD milliseconds) {}

  // The width of text in the default font of a memory context like the screen; negative when
  // no context is available (always on the host build).
  virtual int MeasureTextWidth(const CString& text);
  // The width of text in a font of the face at the size in points (taken at the context's
  // vertical resolution), bold and italic as given; negative when no context or font can be
  // made (always on the host build).
  virtual int MeasureTextWidthInFont(const CString& text, const CString& face, int points, bool bold,
                                     bool italic);
  // The first installed font family named face: serif (roman, modern or decorative kinds),
  // bold (weight 700 or more) and italic; false when none is installed (always on the host).
  virtual bool LookupFontFamily(const CString& face, bool& serif, bool& bold, bool& italic);

  // Messages to the user and internal errors (source line, short source file name).
  virtual void ReportError(unsigned messageId) {}
  // The orientation question: the string id of the chosen button (32905 vertical, 32906
  // horizontal, 32916 cancel).
  virtual unsigned AskNavBarOrientation() { return 32916; }
  virtual void SetInternalError(int line, const char* file);

  // Folders: the program root and this instance's temporary folder (both ending with a
  // backslash when known), the exported images' default folder.
  virtual CString GetRootPath();
  virtual CString GetInstanceTempFolder() { return CString(); }
  // Whether an HTML editor started the program, and the editor kind its command line named
  // (0 when none); kind 2 cannot take external script tags in inserted code.
  virtual bool IsHostedByEditor() { return false; }
  virtual int GetEditorKind() { return 0; }
  // The command line's document folder, else the ExportDir preference, else the root.
  virtual CString GetExportFolder();

  // Writes the thumbnail strip as a GIF with the current graphic's export settings.
  virtual bool SaveThumbnail(const CString& path, const Bitmap32& image);
};

// The installed services; never null.
CNavBarServices& GetNavBarServices();
// Installs services (not owned); null puts the base-class instance back.
void SetNavBarServices(CNavBarServices* services);
