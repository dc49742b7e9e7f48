// CTemplateWnd: the live preview of the current graphic.
//
// A child window of the main dialog. It renders the design through its owner handler into a
// 32-bit buffer (Bitmap32 convention), adds the soft shadow, composes the result over the
// background (the record's background picture, else its background colour; a picture file is
// shown over a checkerboard) on its composition surface, and paints the surface inside a
// one-pixel 3D frame. It also cycles the template's states on a timer and shows picture files
// and animation frames in the same place. What a render redoes is decided by the render
// switches (RenderRequest.h).
//
// The composition surface is an off-screen Bitmap32 of the client area less the frame: it is
// never shown as a window of its own, only painted by this one, so a hidden renderer window
// would add nothing but a second window to keep in step. The navigation bar's hover display
// draws into it through the preview services.
#pragma once

#ifdef _WIN32

#include <cstdint>
#include <memory>
#include <vector>

#include "bitmap/Bitmap32.h"
#include "framework/win/Wnd.h"

class COperationsHandler;
class CSoftShadow;
class CTransparentBackground;

// Where a picture graphic's background tile starts on the preview surface, so that the tile
// lines up with the picture centred on the screen: x = trunc(picture width / 2 + surface
// width / 2) - the surface's right edge on the screen, y = trunc(surface height / 2 - picture
// height / 2) - its bottom edge on the screen, each brought into 0 .. tile side - 1.
POINT PictureTileOffset(int pictureWidth, int pictureHeight, int surfaceWidth, int surfaceHeight,
                        int screenRight, int screenBottom, int tileWidth, int tileHeight);

class CTemplateWnd : public CWnd {
 public:
  static constexpr int kFrameMargin = 1;
  static constexpr COLORREF kFrameTopLeft = 0x323232;
  static constexpr COLORREF kFrameBottomRight = 0xFFFFFF;
  static constexpr int kCheckerSquare = 16;
  static constexpr COLORREF kCheckerDark = 0xC5C5C5;
  static constexpr COLORREF kCheckerLight = 0xFFFFFF;
  static constexpr int kMaxDesignSide = 1500;
  static constexpr UINT_PTR kStateTimerId = 0x5354;

  explicit CTemplateWnd(COperationsHandler* owner);
  ~CTemplateWnd() override;

  BOOL Create(CWnd* parent, const RECT& rect, UINT id);

  virtual int Render(int redraw, HDC paint);
  virtual int UpdateSize(int redraw);
  virtual void FreeBuffer();
  COperationsHandler* GetOwner() const { return m_owner; }
  void SetRenderEnabled(int flag) { m_renderEnabled = flag; }
  int IsRenderEnabled() const { return m_renderEnabled; }
  BOOL Compose(const RECT& client, int flag, std::uint32_t* pixels, int width, int height, int pixelWidth,
               int pixelHeight);
  BOOL ResizeBuffer(int width, int height);
  void StartStateTimer(int show);
  void StopStateTimer();
  void DropAnimationFrames();
  void ShowFrame(int width, int height, const std::uint32_t* pixels);
  void OnDocumentClosed() {}
  void PaintPreview(HDC dc);
  BOOL ShowImageFile(const CString& file, int flag);
  // Copies a picture (Bitmap32 rows) over what the window shows, its top-left corner at (x, y)
  // of the client area, clipped to the picture inside the frame; a navigation bar's state badge
  // stays on top. The caller repaints. False when there is nothing to copy or nothing shown yet.
  BOOL CopyToSurface(const std::uint32_t* pixels, int width, int height, int x, int y);
  std::uint32_t* RenderToBitmap(int* width, int* height);
  void Layout();
  RECT GetDesignRect() const { return m_designRect; }
  // A screen point in the design's coordinates (from its top-left corner, as a bar lays out
  // its buttons); (-1, -1) when the point lies outside the picture inside the frame or the
  // window is not shown.
  POINT DesignPointFromScreen(POINT screen) const;

  std::uint32_t* GetPixels() { return m_pixels.empty() ? nullptr : m_pixels.data(); }
  int GetBufferWidth() const { return m_width; }
  int GetBufferHeight() const { return m_height; }
  int GetStateTimerInterval() const { return m_stateInterval; }
  UINT_PTR GetStateTimerId() const { return m_stateTimer; }
  const Bitmap32& GetSurface() const { return m_surface; }
  // Runs one step of the state animation (what the state timer does).
  void OnStateTimer();

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  int OnCreateWindow();
  void OnPaintWindow();
  void OnSizeWindow();

 private:
  // One render, without its timing.
  int RenderFrame(int redraw, HDC paint);
  RECT SurfaceRect() const;  // client area less the frame margin
  void MakeBuffer(int width, int height, std::uint32_t value);
  void CentreDesign(int width, int height);
  void ReportOutOfMemory();
  // In navigation-bar mode, the badge of the state shown, on the surface.
  void DrawStateBadge();

  COperationsHandler* m_owner;
  std::vector<std::uint32_t> m_pixels;
  int m_width = 0;
  int m_height = 0;
  int m_framesValid = 1;
  int m_stateInterval = 100;
  UINT_PTR m_stateTimer = 0;
  int m_renderEnabled = 0;
  Bitmap32 m_surface;
  int m_surfaceGeneration = -1;
  std::unique_ptr<CSoftShadow> m_shadow;
  int m_shadowX = 0;
  int m_shadowY = 0;
  COLORREF m_shadowColour = static_cast<COLORREF>(-1);
  RECT m_designRect = {0, 0, 0, 0};
  std::unique_ptr<CTransparentBackground> m_background;
};

#endif  // _WIN32
