#include "document/TemplateWnd.h"

#ifdef _WIN32

#include <algorithm>
#include <cmath>
#include <new>

#include "bitmap/AnimationRenderer.h"
#include "bitmap/Dib.h"
#include "bitmap/DropShadowRenderer.h"
#include "bitmap/ExportBitmap.h"
#include "bitmap/SoftShadow.h"
#include "bitmap/bitmapmanip.h"
#include "document/NavBarModel.h"
#include "document/OperationsHandler.h"
#include "document/OperationsManager.h"
#include "document/OperationsServices.h"
#include "document/Options.h"
#include "document/OptionsExportRecord.h"
#include "document/OptionsServices.h"
#include "document/RenderRequest.h"
#include "document/RenderTimings.h"

namespace {

const char kSource[] = "TemplateWnd";
const char kClassName[] = "BwTemplatePreview";
enum : unsigned { kMsgOutOfMemory = 10068 };
enum : int {
  kErrDropNoManager = 397, kErrDropNoFrames = 399, kErrTimerServices = 412, kErrTimerNoFrames = 416,
  kErrComposeNoRecord = 911, kErrComposeNoManager = 914, kErrPictureMemory = 999,
  kErrShowNoBackground = 1428, kErrNoWidth = 1565, kErrNoHeight = 1566,
};
constexpr int kQualityDragging = 4;
constexpr std::uint32_t kClearPixel = 0xFFFFFFFFu;

void InternalError(int line) { GetOperationsServices().InternalError(line, kSource); }

// Brings a tile offset into 0 .. side - 1.
int IntoTile(long long offset, int side) {
  if (side <= 0) return 0;
  offset %= side;
  if (offset < 0) offset += side;
  return static_cast<int>(offset);
}

bool RegisterPreviewClass() {
  static const bool registered = RegisterPlainWindowClass(kClassName);
  return registered;
}

// Blends (or, without blend, copies) source (bottom-up, width x height) into destination with
// its bottom-left corner at (x, y) in memory rows, clipping at every edge.
void BlendInto(const std::uint32_t* source, int width, int height, std::uint32_t* destination,
               int destWidth, int destHeight, int x, int y, bool blend = true) {
  if (!source || !destination) return;
  int sx = 0, sy = 0;
  if (x < 0) { sx = -x; x = 0; }
  if (y < 0) { sy = -y; y = 0; }
  if (sx >= width || sy >= height || x >= destWidth || y >= destHeight) return;
  BlitARGB(source, sx, sy, width, height, destination, x, y, destWidth, destHeight, blend, false, -1);
}

}  // namespace

CTemplateWnd::CTemplateWnd(COperationsHandler* owner) : m_owner(owner) {}

CTemplateWnd::~CTemplateWnd() {
  if (GetSafeHwnd()) {
    StopStateTimer();
    DestroyWindow();
  }
}

BOOL CTemplateWnd::Create(CWnd* parent, const RECT& rect, UINT id) {
  if (!RegisterPreviewClass()) return FALSE;
  const DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
  return CreateEx(0, kClassName, nullptr, style, rect.left, rect.top, rect.right - rect.left,
                  rect.bottom - rect.top, parent ? parent->GetSafeHwnd() : nullptr,
                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)));
}

void CTemplateWnd::ReportOutOfMemory() { GetOperationsServices().ShowError(kMsgOutOfMemory); }

LRESULT CTemplateWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      if (DefWindowProc(message, wParam, lParam) == -1) return -1;
      return OnCreateWindow();
    case WM_PAINT:
      OnPaintWindow();
      return 0;
    case WM_SIZE:
      DefWindowProc(message, wParam, lParam);
      OnSizeWindow();
      return 0;
    case WM_TIMER:
      if (wParam == kStateTimerId) {
        OnStateTimer();
        return 0;
      }
      break;
    case WM_ERASEBKGND:
      if (m_renderEnabled) return 1;  // the paint covers everything
      break;
    case WM_NCHITTEST:
      return HTTRANSPARENT;  // mouse input belongs to the page underneath (drag-out, menus)
    default:
      break;
  }
  return CWnd::WindowProc(message, wParam, lParam);
}

int CTemplateWnd::OnCreateWindow() {
  m_background.reset(new (std::nothrow) CTransparentBackground);
  if (!m_background || !m_background->Create(kCheckerSquare, kCheckerDark, kCheckerLight)) return -1;
  return 0;
}

void CTemplateWnd::OnPaintWindow() {
  PAINTSTRUCT paint;
  HDC dc = ::BeginPaint(m_hWnd, &paint);
  if (m_renderEnabled) PaintPreview(dc);
  else ::FillRect(dc, &paint.rcPaint, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
  ::EndPaint(m_hWnd, &paint);
}

void CTemplateWnd::OnSizeWindow() {
  CRenderSwitches& switches = RenderSwitches();
  const int savedShadow = switches.shadowAllowed, savedKeep = switches.keepBuffer;
  switches.shadowAllowed = 0;
  switches.keepBuffer = 1;
  GetOperationsServices().RenderWindow(this);
  switches.shadowAllowed = savedShadow;
  switches.keepBuffer = savedKeep;
  CentreDesign(m_width, m_height);
}

RECT CTemplateWnd::SurfaceRect() const {
  RECT client = {0, 0, 0, 0};
  if (m_hWnd) ::GetClientRect(m_hWnd, &client);
  ::InflateRect(&client, -kFrameMargin, -kFrameMargin);
  if (client.right < client.left) client.right = client.left;
  if (client.bottom < client.top) client.bottom = client.top;
  return client;
}

void CTemplateWnd::CentreDesign(int width, int height) {
  const RECT surface = SurfaceRect();
  const int sw = surface.right - surface.left, sh = surface.bottom - surface.top;
  const int left = static_cast<int>(std::lround((sw - width) / 2.0));
  const int top = static_cast<int>(std::lround((sh - height) / 2.0));
  // Rows counted from the bottom, as the buffers are stored.
  const int bottomRow = sh - (top + height);
  m_designRect = RECT{left, bottomRow, left + width, bottomRow + height};
}

void CTemplateWnd::MakeBuffer(int width, int height, std::uint32_t value) {
  m_pixels.assign(static_cast<std::size_t>(width) * height + kBitmap32SpareWords, value);
  m_width = width;
  m_height = height;
}

void CTemplateWnd::FreeBuffer() {
  m_pixels.clear();
  m_pixels.shrink_to_fit();
}

int CTemplateWnd::UpdateSize(int redraw) {
  const int result = Render(redraw, nullptr);
  if (redraw && m_hWnd) Invalidate(TRUE);
  return result;
}

int CTemplateWnd::Render(int redraw, HDC paint) {
  COptions* record = GetOperationsServices().GetOptions();
  const int quality = record ? record->GetRenderQuality() : -1;
  const DWORD start = ::GetTickCount();
  const int result = RenderFrame(redraw, paint);
  if (result) RecordRenderTime(::GetTickCount() - start, quality);
  return result;
}

int CTemplateWnd::RenderFrame(int redraw, HDC paint) {
  const CRenderSwitches& switches = RenderSwitches();
  COptions* record = GetOperationsServices().GetOptions();
  COperationsManager* manager = GetOperationsServices().GetOperationsManager();
  if (!m_renderEnabled || switches.suppress || !record || !manager || !m_owner) return 0;
  const int quality = record->GetRenderQuality();
  const int type = record->GetGraphicType();
  const bool keep = switches.keepBuffer || quality == kQualityDragging || switches.shadowMove;
  if (!keep || m_pixels.empty()) {
    FreeBuffer();
    if (switches.pageRefresh && !switches.hardEdges) {
      RECT page = {0, 0, 0, 0};
      if (m_owner->GetPageRect(&page)) record->SetPageRect(page);
    }
    m_width = record->GetPixelWidth(false);
    m_height = record->GetPixelHeight(false);
  }
  if (type == kGraphic3DHeading && record->GetStoryText(0).IsEmpty()) {
    try {
      MakeBuffer(2, 2, kClearPixel);
    } catch (...) {
      ReportOutOfMemory();
      return 0;
    }
    Layout();
    if (redraw) PaintPreview(paint);
    return 1;
  }
  // A design without area cannot be shown: say so instead of showing a stale picture.
  if (m_width <= 0 || m_height <= 0) {
    FreeBuffer();
    return 0;
  }
  const bool rendering = m_pixels.empty();
  if (rendering) {
    try {
      MakeBuffer(m_width, m_height, kClearPixel);
    } catch (...) {
      ReportOutOfMemory();
      return 0;
    }
  }
  if (switches.fastShadow || (quality == kQualityDragging && !switches.shadowMove && switches.shadowAllowed)) {
    m_shadow.reset();
    m_shadowX = m_shadowY = 0;
  }
  if (rendering && quality != kQualityDragging) {
    if (type == kGraphic3DHeading) {
      RECT bounds = {0, 0, 0, 0};
      HDC dc = ::GetDC(nullptr);
      const BOOL measured = m_owner->GetDesignBounds(&bounds, dc);
      ::ReleaseDC(nullptr, dc);
      if (!measured) return 0;
      // A side longer than the largest design keeps its middle part.
      auto keepMiddle = [](LONG& low, LONG& high) {
        const LONG side = high - low;
        if (side <= kMaxDesignSide) return;
        const LONG cut = (side - kMaxDesignSide) / 2;
        low += cut;
        high -= cut;
      };
      keepMiddle(bounds.left, bounds.right);
      keepMiddle(bounds.top, bounds.bottom);
      m_width = bounds.right - bounds.left;
      m_height = bounds.bottom - bounds.top;
      if (m_width <= 0 || m_height <= 0) return 0;
      MakeBuffer(m_width, m_height, kClearPixel);
      const BOOL drawn = m_owner->RenderDesign(m_width, m_height, reinterpret_cast<DWORD*>(m_pixels.data()),
                                               quality, nullptr, 0);
      record->SetMeasuredSize(m_width, m_height);
      if (!drawn) return 0;
    } else if (!m_owner->RenderDesign(m_width, m_height, reinterpret_cast<DWORD*>(m_pixels.data()), quality,
                                      nullptr, 0)) {
      FreeBuffer();
      return 0;
    }
    record->SetRenderedScale(record->GetScale());
    record->SetModified();
  }
  if (switches.hardEdges && !(type == kGraphic3DHeading && quality == 2))
    ThresholdTransparency(m_pixels.data(), m_width, m_height, 1);

  // Soft shadow.
  const bool shown = record->IsShadowShown();
  if (switches.shadowAllowed && ((shown && !switches.fastShadow && !switches.hardEdges) || switches.shadowMove)) {
    const double blur = record->GetShadowBlurriness() * record->GetScale();
    const double darkness = record->GetShadowDarkness();
    const double offsetX = record->GetShadowOffsetX(), offsetY = -record->GetShadowOffsetY();
    const bool regenerate = !m_shadow || !switches.shadowMove || record->GetShadowChanged() ||
                            record->GetShadowType() == 0 || !shown || m_shadow->GetRadius() != blur ||
                            m_shadow->Opacity() != darkness;
    if (regenerate) {
      if (!m_shadow) m_shadow.reset(new (std::nothrow) CSoftShadow);
      if (m_shadow && !m_shadow->Generate(record->GetShadowType(), record->GetShadowScale(), record->GetShadowTilt(),
                                          blur, darkness, offsetX, offsetY, m_pixels.data(), m_width, m_height))
        m_shadow.reset();
      record->SetShadowChanged(0);
      m_shadowColour = static_cast<COLORREF>(-1);
    } else {
      int x = 0, y = 0;
      m_shadow->SetOffset(offsetX, offsetY, x, y);
    }
    if (m_shadow) {
      m_shadowX = m_shadow->PictureX();
      m_shadowY = m_shadow->PictureY();
    }
  }
  // Margins the shadow needs beyond the design.
  if (shown && switches.shadowAllowed) {
    int marginX = 0, marginY = 0;
    if (m_shadow) {
      marginX = std::max(0, -m_shadowX) + std::max(0, m_shadowX + m_shadow->Width() - m_width);
      marginY = std::max(0, -m_shadowY) + std::max(0, m_shadowY + m_shadow->Height() - m_height);
    }
    const double scale = record->GetScale() > 0 ? record->GetScale() : 1.0;
    record->SetShadowAllowance(marginX / scale, marginY / scale);
  } else if (!shown) {
    record->SetShadowAllowance(0, 0);
  }
  if (!switches.hardEdges) Layout();
  const RECT surface = SurfaceRect();
  Compose(surface, 0, m_pixels.data(), m_width, m_height, record->GetPixelWidth(false), record->GetPixelHeight(false));
  if (redraw) PaintPreview(paint);
  return 1;
}

POINT PictureTileOffset(int pictureWidth, int pictureHeight, int surfaceWidth, int surfaceHeight,
                        int screenRight, int screenBottom, int tileWidth, int tileHeight) {
  const long long x = static_cast<long long>(std::trunc(pictureWidth / 2.0 + surfaceWidth / 2.0)) - screenRight;
  const long long y = static_cast<long long>(std::trunc(surfaceHeight / 2.0 - pictureHeight / 2.0)) - screenBottom;
  POINT offset;
  offset.x = IntoTile(x, tileWidth);
  offset.y = IntoTile(y, tileHeight);
  return offset;
}

void CTemplateWnd::Layout() {
  COptions* record = GetOperationsServices().GetOptions();
  if (!record || !m_hWnd) return;
  const RECT surface = SurfaceRect();
  const int width = surface.right - surface.left, height = surface.bottom - surface.top;
  if (width <= 0 || height <= 0) {
    m_surface.FreeBuffer();
    return;
  }
  if (m_surface.Width() != width || m_surface.Height() != height || !m_surface.Pixels())
    if (m_surface.Create(width, height) != 0) return;
  const DWORD* user = record->GetUserBitmapPixels();
  if (user && record->GetUserBitmapWidth() > 0) {
    Bitmap32 tile;
    if (tile.CreateFromPixels(record->GetUserBitmapWidth(), record->GetUserBitmapHeight(),
                              reinterpret_cast<const std::uint32_t*>(user)) == 0) {
      if (record->GetGraphicType() == kGraphicPicture) {
        // A picture's background continues the picture around it, wherever the window is.
        POINT corner = {surface.right, surface.bottom};
        ::ClientToScreen(m_hWnd, &corner);
        const POINT offset = PictureTileOffset(record->GetPixelWidth(false), record->GetPixelHeight(false), width,
                                               height, corner.x, corner.y, tile.Width(), tile.Height());
        CopyTiled(m_surface.Pixels(), width, height, tile.Pixels(), tile.Width(), tile.Height(), offset.x,
                  offset.y);
      } else {
        m_surface.TileFrom(tile);
      }
      // Tiles are written clear; the background itself is solid.
      SetTransparencyAll(m_surface.Pixels(), width, height, 0);
    }
  } else {
    // Without a background picture the design stands on the graphic's background colour, as
    // it will on the page (the top byte marks it as background, not as part of the design).
    std::fill_n(m_surface.Pixels(), static_cast<std::size_t>(width) * height,
                0xFF000000u | (record->GetBackgroundColourRGB() & 0xFFFFFFu));
  }
  m_surfaceGeneration = record->GetUserBitmapGeneration();
}

BOOL CTemplateWnd::Compose(const RECT& client, int flag, std::uint32_t* pixels, int width, int height,
                           int pixelWidth, int pixelHeight) {
  if (!pixels || width <= 0 || height <= 0 || ::IsRectEmpty(&client)) return FALSE;
  COptions* record = GetOperationsServices().GetOptions();
  if (!record) {
    InternalError(kErrComposeNoRecord);
    return FALSE;
  }
  if (!GetOperationsServices().GetOperationsManager()) {
    InternalError(kErrComposeNoManager);
    return FALSE;
  }
  if (!m_surface.Pixels()) Layout();
  if (!m_surface.Pixels()) return FALSE;
  const CRenderSwitches& switches = RenderSwitches();
  // While a size is dragged the kept buffer is shown scaled to the size being dragged to.
  int shownWidth = width, shownHeight = height;
  if (record->GetRenderQuality() == kQualityDragging) {
    const double rendered = record->GetRenderedScale();
    const double factor = rendered > 0 ? record->GetScale() / rendered : 1.0;
    shownWidth = static_cast<int>(width * factor);
    shownHeight = static_cast<int>(height * factor);
    if (shownWidth < 1 || shownHeight < 1) {
      record->SetMeasuredSize(1, 1);
      return FALSE;
    }
    record->SetMeasuredSize(shownWidth, shownHeight);
  }
  CentreDesign(shownWidth, shownHeight);
  const int sw = m_surface.Width(), sh = m_surface.Height();
  const bool shown = record->IsShadowShown();
  // A request for no shadow shows none; a redisplay of the kept buffer keeps the kept shadow.
  const bool shadowWanted = switches.shadowAllowed || switches.keepBuffer;
  if (shown && shadowWanted && m_shadow && !switches.hardEdges && !switches.fastShadow && flag == 0) {
    if (record->GetShadowColour() != m_shadowColour) {
      FillARGB(m_shadow->Pixels(), m_shadow->Width(), m_shadow->Height(), record->GetShadowColour(), true, true,
               true, false);
      m_shadowColour = record->GetShadowColour();
    }
    BlendInto(m_shadow->Pixels(), m_shadow->Width(), m_shadow->Height(), m_surface.Pixels(), sw, sh,
              m_designRect.left + m_shadowX, m_designRect.top + m_shadowY);
  }
  if (record->GetGraphicType() == kGraphicPicture && record->GetRenderQuality() == kQualityDragging &&
      pixelWidth > 0 && pixelHeight > 0) {
    Bitmap32 stretched;
    if (stretched.Create(pixelWidth, pixelHeight) != 0) {
      ReportOutOfMemory();
      InternalError(kErrPictureMemory);
      return FALSE;
    }
    RECT from = {0, 0, width, height}, to = {0, 0, pixelWidth, pixelHeight};
    StretchBlitARGB(pixels, width, height, from, stretched.Pixels(), pixelWidth, pixelHeight, to, false, false);
    record->SetUserBitmap(pixelWidth, pixelHeight, reinterpret_cast<const DWORD*>(stretched.Pixels()));
    Layout();
    return TRUE;
  }
  if (shownWidth != width || shownHeight != height) {
    RECT from = {0, 0, width, height};
    RECT to = m_designRect;
    StretchBlitARGB(pixels, width, height, from, m_surface.Pixels(), sw, sh, to, true, false);
  } else {
    BlendInto(pixels, width, height, m_surface.Pixels(), sw, sh, m_designRect.left, m_designRect.top);
  }
  if (switches.fastShadow && !switches.hardEdges && shown) {
    DropShadowSettings settings;
    settings.shown = true;
    settings.type = record->GetShadowType();
    settings.darkness = record->GetShadowDarkness();
    settings.scale = record->GetShadowScale();
    settings.tiltDegrees = record->GetShadowTilt();
    settings.colour = record->GetShadowColour();
    record->GetShadowOffset(settings.offsetX, settings.offsetY);
    CDropShadowRenderer renderer;
    renderer.Render(m_surface.Pixels(), sw, sh, settings);
  }
  DrawStateBadge();
  return TRUE;
}

void CTemplateWnd::DrawStateBadge() {
  COperationsManager* manager = GetOperationsServices().GetOperationsManager();
  if (!manager || !manager->IsNavBarMode() || !manager->GetNavBar() || !m_surface.Pixels()) return;
  manager->GetNavBar()->DrawStateBadge(m_surface);
}

BOOL CTemplateWnd::ResizeBuffer(int width, int height) {
  try {
    MakeBuffer(std::max(width, 0), std::max(height, 0), kClearPixel);
  } catch (...) {
    ReportOutOfMemory();
    return FALSE;
  }
  Layout();
  return TRUE;
}

void CTemplateWnd::PaintPreview(HDC dc) {
  const CRenderSwitches& switches = RenderSwitches();
  if (switches.suppress || switches.paintSuppressed || !GetOperationsServices().GetOptions() || !m_hWnd) return;
  HDC own = nullptr;
  if (!dc) dc = own = ::GetDC(m_hWnd);
  if (!dc) return;
  RECT client;
  ::GetClientRect(m_hWnd, &client);
  const RECT surface = SurfaceRect();
  const int width = m_surface.Width(), height = m_surface.Height();
  if (m_surface.Pixels() && width == surface.right - surface.left && height == surface.bottom - surface.top) {
    // Below true colour the picture is dithered onto the display's depth and palette; GDI
    // converts it when that cannot be done.
    CDC* target = CDC::FromHandle(dc);
    bool drawn = false;
    if (DeviceDepth(target) < 32) {
      try {
        drawn = DrawDithered(target, m_surface.Pixels(), width, height, surface.left, surface.top, width, height, 0,
                             0, width, height);
      } catch (const std::bad_alloc&) {
        // no section to dither into: GDI draws the picture below
      }
    }
    if (!drawn) {
      BITMAPINFO info = {};
      info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
      info.bmiHeader.biWidth = width;
      info.bmiHeader.biHeight = height;  // bottom-up, as the surface is stored
      info.bmiHeader.biPlanes = 1;
      info.bmiHeader.biBitCount = 32;
      info.bmiHeader.biCompression = BI_RGB;
      ::SetDIBitsToDevice(dc, surface.left, surface.top, width, height, 0, 0, 0, height, m_surface.Pixels(), &info,
                          DIB_RGB_COLORS);
    }
  }
  // The frame: dark at the top and left, light at the bottom and right.
  auto line = [dc](int left, int top, int right, int bottom, COLORREF colour) {
    HBRUSH brush = ::CreateSolidBrush(colour);
    RECT rect = {left, top, right, bottom};
    ::FillRect(dc, &rect, brush);
    ::DeleteObject(brush);
  };
  const int w = client.right, h = client.bottom;
  line(0, 0, w - 1, 1, kFrameTopLeft);
  line(0, 0, 1, h - 1, kFrameTopLeft);
  line(w - 1, 0, w, h, kFrameBottomRight);
  line(0, h - 1, w, h, kFrameBottomRight);
  if (own) ::ReleaseDC(m_hWnd, own);
}

void CTemplateWnd::StartStateTimer(int show) {
  COptions* record = GetOperationsServices().GetOptions();
  COperationsManager* manager = GetOperationsServices().GetOperationsManager();
  if (!record || !manager || !m_hWnd) {
    InternalError(kErrTimerServices);
    return;
  }
  CAnimationRenderer* frames = manager->GetAnimationRenderer();
  if (!frames) {
    InternalError(kErrTimerNoFrames);
    return;
  }
  m_stateInterval = static_cast<int>(record->GetCurrentStateDelay()) * 10;
  StopStateTimer();
  m_stateTimer = ::SetTimer(m_hWnd, kStateTimerId, static_cast<UINT>(std::max(m_stateInterval, 1)), nullptr);
  if (show) {
    if (frames->GetFrameCount() > 0) frames->ShowFrame(record->GetCurrentState() - 1);
    else Render(1, nullptr);
  }
}

void CTemplateWnd::StopStateTimer() {
  if (m_stateTimer && m_hWnd) ::KillTimer(m_hWnd, m_stateTimer);
  m_stateTimer = 0;
}

void CTemplateWnd::OnStateTimer() {
  COptions* record = GetOperationsServices().GetOptions();
  if (!record) return;
  record->NextState();
  // The record reaches the engine through its own services when the program installed them;
  // otherwise the manager selects the state here.
  if (!GetOptionsServices().HasOperationsManager())
    if (COperationsManager* manager = GetOperationsServices().GetOperationsManager()) manager->SelectState(record->GetCurrentState());
  StopStateTimer();
  StartStateTimer(1);
}

void CTemplateWnd::DropAnimationFrames() {
  COperationsManager* manager = GetOperationsServices().GetOperationsManager();
  if (!manager) {
    InternalError(kErrDropNoManager);
    return;
  }
  if (!manager->GetAnimationRenderer()) {
    InternalError(kErrDropNoFrames);
    return;
  }
  manager->GetAnimationRenderer()->RemoveAllFrames();
  m_framesValid = 0;
}

void CTemplateWnd::ShowFrame(int width, int height, const std::uint32_t* pixels) {
  if (!pixels || width <= 0 || height <= 0) return;
  try {
    MakeBuffer(width, height, kClearPixel);
  } catch (...) {
    ReportOutOfMemory();
    throw;
  }
  std::copy(pixels, pixels + static_cast<std::size_t>(width) * height, m_pixels.begin());
}

BOOL CTemplateWnd::ShowImageFile(const CString& file, int flag) {
  COptions* record = GetOperationsServices().GetOptions();
  if (!record || !GetOperationsServices().GetOperationsManager()) return FALSE;
  if (!m_background) {
    InternalError(kErrShowNoBackground);
    return FALSE;
  }
  Bitmap32 picture;
  if (GetOperationsServices().LoadImage32(file, picture) != 0 || !picture.Pixels()) return TRUE;
  if (record->GetGraphicType() == kGraphicPicture) {
    record->SetUserBitmap(picture.Width(), picture.Height(), reinterpret_cast<const DWORD*>(picture.Pixels()));
    Layout();
    PaintPreview(nullptr);
    return TRUE;
  }
  // A picture with a shadow was written at the design's size, shadow included.
  const bool shadow = record->IsShadowShown();
  const int width = shadow ? record->GetPixelWidth(false) : picture.Width();
  const int height = shadow ? record->GetPixelHeight(false) : picture.Height();
  // With the flag the surface shows its own background again, else the bare checkerboard.
  Layout();
  if (!flag && m_surface.Pixels())
    m_background->Fill(m_surface.Width(), m_surface.Height(), m_surface.Pixels(), 0, 0);
  if (!m_surface.Pixels()) return TRUE;
  const int sw = m_surface.Width(), sh = m_surface.Height();
  int x = (sw - width) / 2;
  int y = sh - ((sh - height) / 2 + height);  // rows from the bottom
  if (shadow) {
    int offsetX = 0, offsetY = 0;
    record->GetShadowOffset(offsetX, offsetY);
    if (offsetX < 0) x += offsetX;
    if (offsetY < 0) y -= offsetY;
  }
  if (width > 0 && height > 0)
    BlendInto(picture.Pixels(), picture.Width(), picture.Height(), m_surface.Pixels(), sw, sh, x, y, false);
  // A bar's hover display shows its exported picture here: the badge names the state shown.
  DrawStateBadge();
  PaintPreview(nullptr);
  return TRUE;
}

BOOL CTemplateWnd::CopyToSurface(const std::uint32_t* pixels, int width, int height, int x, int y) {
  if (!pixels || width <= 0 || height <= 0 || !m_surface.Pixels()) return FALSE;
  // From the window's client area (rows from the top) to the surface (frame less, rows from
  // the bottom).
  const int left = x - kFrameMargin;
  const int bottomRow = m_surface.Height() - (y - kFrameMargin + height);
  BlendInto(pixels, width, height, m_surface.Pixels(), m_surface.Width(), m_surface.Height(), left, bottomRow,
            false);
  // A copied button may cover the badge; the badge pictures are either opaque or clear per
  // pixel, so drawing one again over itself changes nothing.
  DrawStateBadge();
  return TRUE;
}

POINT CTemplateWnd::DesignPointFromScreen(POINT screen) const {
  const POINT outside = {-1, -1};
  if (!m_hWnd || !::IsWindowVisible(m_hWnd)) return outside;
  POINT client = screen;
  ::ScreenToClient(m_hWnd, &client);
  const RECT surface = SurfaceRect();
  if (!::PtInRect(&surface, client)) return outside;
  // The design rectangle counts rows from the bottom of the surface.
  const int surfaceHeight = surface.bottom - surface.top;
  POINT design;
  design.x = client.x - surface.left - m_designRect.left;
  design.y = client.y - surface.top - (surfaceHeight - m_designRect.bottom);
  return design;
}

std::uint32_t* CTemplateWnd::RenderToBitmap(int* width, int* height) {
  if (!width) {
    InternalError(kErrNoWidth);
    return nullptr;
  }
  if (!height) {
    InternalError(kErrNoHeight);
    return nullptr;
  }
  COptions* record = GetOperationsServices().GetOptions();
  if (!record || m_pixels.empty()) return nullptr;
  int w = m_width, h = m_height, designX = 0, designY = 0;
  const bool shadow = record->IsShadowShown() && m_shadow && record->GetGraphicType() != kGraphicPicture;
  if (shadow) {
    designX = std::max(0, -m_shadowX);
    designY = std::max(0, -m_shadowY);
    w = std::max(designX + m_width, designX + m_shadowX + m_shadow->Width());
    h = std::max(designY + m_height, designY + m_shadowY + m_shadow->Height());
  }
  std::uint32_t* block = new (std::nothrow) std::uint32_t[static_cast<std::size_t>(w) * h + kBitmap32SpareWords];
  if (!block) {
    ReportOutOfMemory();
    return nullptr;
  }
  CExportBitmapFromOptions composition;
  COptionsExportRecord exportRecord(*record);
  composition.SetFromOptions(&exportRecord);
  composition.SetOutput(w, h, block);
  composition.SetGraphic(m_width, m_height, m_pixels.data());
  composition.SetGraphicOffset(designX, designY);
  std::vector<std::uint32_t> user;
  if (record->GetUserBitmapPixels()) {
    user.assign(record->GetUserBitmapPixels(),
                record->GetUserBitmapPixels() +
                    static_cast<std::size_t>(record->GetUserBitmapWidth()) * record->GetUserBitmapHeight());
    composition.SetBackgroundImage(record->GetUserBitmapWidth(), record->GetUserBitmapHeight(), user.data());
    composition.SetBackgroundOffset(record->GetGraphicType() == kGraphicPicture ? 0 : m_designRect.left,
                                    record->GetGraphicType() == kGraphicPicture ? 0 : m_designRect.top);
  }
  if (shadow) {
    composition.SetBackdrop(m_shadow->Width(), m_shadow->Height(), m_shadow->Pixels());
    composition.SetBackdropOffset(designX + m_shadowX, designY + m_shadowY);
  }
  if (FAILED(composition.Compose())) {
    delete[] block;
    ReportOutOfMemory();
    return nullptr;
  }
  *width = w;
  *height = h;
  return block;
}

#endif  // _WIN32
