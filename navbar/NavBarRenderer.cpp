#include "navbar/NavBarRenderer.h"

#include <algorithm>
#include <memory>
#include <new>
#include <vector>

#include "bitmap/Bitmap32.h"
#include "bitmap/BitmapServices.h"
#include "bitmap/ExportBitmap.h"
#include "bitmap/ExportRecord.h"
#include "bitmap/bitmapmanip.h"
#include "navbar/NavBar.h"
#include "navbar/NavBarServices.h"

namespace {

constexpr const char kUnit[] = "NavBarRenderer";
void InternalError(int line) { GetNavBarServices().SetInternalError(line, kUnit); }

}  // namespace

CNavBarRenderer::CNavBarRenderer(CNavBar& bar) : m_bar(bar) { Reset(); }

CNavBarRenderer::~CNavBarRenderer() = default;

void CNavBarRenderer::Reset() {
  m_widestWidth = 0;
  m_sizingMode = 1;
}

bool CNavBarRenderer::HasItemOffsets() const {
  return m_bar.IsVertical() && m_bar.GetSizingMode() == 1 && m_bar.GetJustification() != 0;
}

int CNavBarRenderer::RenderBar(bool redraw, int renderFlags) {
  CNavBarServices& services = GetNavBarServices();
  COptions* graphic = services.GetCurrentOptions();
  if (!graphic) {
    InternalError(54);
    return 0;
  }
  if (!services.HasOperationsManager()) {
    InternalError(56);
    return 0;
  }
  if (!services.HasPreviewWindow()) {
    InternalError(67);
    return 0;
  }
  const DWORD start = services.GetTickCount();
  if (graphic->GetRenderQuality() == 4) {
    // An edit in progress: the window keeps the last bar and only lays itself out again.
    m_bar.SetBarSize(m_lastWidth, m_lastHeight);
    return 1;
  }
  if (m_bar.GetButtonCount() == 0) return 0;

  UpdateWidths(renderFlags);
  const int hover = m_bar.GetHoverButton();
  const int kind = m_bar.GetHoverKind();
  if (m_bar.GetCurrentState() == 0 && m_bar.GetButton(hover) && m_bar.IsStateEnabled(kind))
    RenderHoverButton(renderFlags);
  RenderItems(renderFlags);
  int width = 0, height = 0;
  ComputeBarSize(width, height);
  m_lastWidth = width;
  m_lastHeight = height;
  Bitmap32 image;
  if (width <= 0 || height <= 0 || image.CreateFilled(width, height, 0xFF000000u) != 0) {
    InternalError(130);
    return 0;
  }
  ComposeInto(image, width, height);
  if (!services.ShowBarImage(image, redraw)) {
    InternalError(130);
    return 0;
  }
  services.SetLastRenderTime(services.GetTickCount() - start);
  m_bar.SetBarSize(width, height);
  return 1;
}

void CNavBarRenderer::ComposeInto(Bitmap32& image, int width, int height) {
  const int spacing = m_bar.GetButtonSpacing();
  const bool vertical = m_bar.IsVertical();
  const bool offsets = HasItemOffsets();
  const int justification = m_bar.GetJustification();
  const COptions* off = m_bar.GetStateRecord(0);
  const bool heading3D = off && off->GetGraphicType() == kGraphic3DHeading;
  const int hover = m_bar.GetHoverButton();
  const int hoverKind = m_bar.GetHoverKind();
  const bool showHover = m_bar.GetCurrentState() == 0 && m_bar.IsStateEnabled(hoverKind);

  std::vector<CNavBarButton*> items;
  if (m_bar.HasCaps()) items.push_back(m_bar.GetFirstCap());
  for (int i = 0; i < m_bar.GetButtonCount(); ++i) items.push_back(m_bar.GetButton(i));
  if (m_bar.HasCaps()) items.push_back(m_bar.GetSecondCap());

  int top = height;  // vertical: the running top edge, in rows counted from the bottom
  int x = 0;         // horizontal: the running left edge
  for (CNavBarButton* item : items) {
    const int index = m_bar.IndexOfButton(item);
    const bool hovered = showHover && index >= 0 && index == hover;
    if (hovered) item->SetState(hoverKind);
    if (item->Pixels()) {
      const int w = item->Width();
      const int h = item->Height();
      if (vertical) {
        int left = 0;
        if (offsets) left = justification == 2 ? width - w : (width - w) / 2;
        const int slant = index > 0 ? GetSlantOffset(index, left) : 0;
        const int itemTop = top - slant;
        item->SetOffsets(left, top - itemTop);
        BlitARGB(item->Pixels(), 0, 0, w, h, image.Pixels(), left, itemTop - h, width, height, false, true, -1);
        if (heading3D)
          top -= spacing + m_rowPitch - (index == 0 ? GetSlantOffset(0, left) : 0);
        else
          top = itemTop - h - spacing;
      } else {
        const int y = (height - h) / 2;
        item->SetOffsets(0, y);
        BlitARGB(item->Pixels(), 0, 0, w, h, image.Pixels(), x, height - y - h, width, height, false, true, -1);
        x += w + spacing;
      }
    }
    if (hovered) item->SetState(0);
  }
}

void CNavBarRenderer::UpdateWidths(int renderFlags) {
  CNavBarServices& services = GetNavBarServices();
  COptions* graphic = services.GetCurrentOptions();
  int widestWidth = 0;
  const int widest = m_bar.GetWidestTextButton(widestWidth);
  CNavBarButton* widestButton = m_bar.GetButton(widest);
  const int mode = m_bar.GetSizingMode();
  if (graphic && mode == 0 && widestButton && (mode != m_sizingMode || widestWidth != m_widestWidth)) {
    // Every button is rendered at the natural width of the longest text.
    for (int i = 0; i < m_bar.GetButtonCount(); ++i) m_bar.GetButton(i)->DropImages();
    graphic->SetConstrainedWidth(0, -1);
    services.NotifyConstraintChanged(false);
    widestButton->RenderState(renderFlags);
    widestButton->DropImages();
    const double scale = graphic->GetScale() > 0 ? graphic->GetScale() : 1.0;
    const double constrained = graphic->GetScaledWidth() / scale;
    graphic->SetConstrainedWidth(constrained, -1);
    services.NotifyConstraintChanged(false);
    for (int state = 0; state < CNavBarItem::kStateCount; ++state)
      m_bar.GetStateRecord(state)->SetConstrainedWidth(constrained, -1);
  }
  if (widestWidth != m_widestWidth && widestButton && m_bar.HasCaps()) {
    for (CNavBarCapButton* cap : {m_bar.GetFirstCap(), m_bar.GetSecondCap()}) {
      cap->SetText(widestButton->GetText());
      cap->OnGraphicChanged(kChangeStories | kChangeSize);
    }
  }
  m_widestWidth = widestWidth;
  m_sizingMode = mode;
}

void CNavBarRenderer::RenderHoverButton(int renderFlags) {
  const int kind = m_bar.GetHoverKind();
  CNavBarButton* hovered = m_bar.GetButton(m_bar.GetHoverButton());
  if (m_bar.GetCurrentState() != 0 || !hovered || hovered->IsImageValid(kind)) return;
  // The first hover renders the whole state at once: the next button hovered is then ready.
  m_bar.SetCurrentState(kind, 1, 1);
  for (int i = 0; i < m_bar.GetButtonCount(); ++i) m_bar.GetButton(i)->RenderState(renderFlags);
  m_bar.SetCurrentState(0, 1, 1);
}

void CNavBarRenderer::RenderItems(int renderFlags) {
  CNavBarServices& services = GetNavBarServices();
  COptions* graphic = services.GetCurrentOptions();
  if (graphic && m_bar.HasCaps() &&
      (!m_bar.GetFirstCap()->IsImageValid(0) || !m_bar.GetSecondCap()->IsImageValid(0))) {
    // The caps render from their own records through the current graphic: keep the button
    // style aside and put it back afterwards.
    constexpr StyleChangeMask kAllButBackground = 0xFFFF7FFF;
    COptions saved;
    graphic->CopyTo(saved, 0, kAllButBackground);
    const unsigned colourIndex = graphic->GetCurrentColourIndex();
    const unsigned textureIndex = graphic->GetCurrentTextureIndex();
    m_bar.GetFirstCap()->RenderState(renderFlags);
    m_bar.GetSecondCap()->RenderState(renderFlags);
    saved.CopyTo(*graphic, 2, kAllButBackground);
    graphic->SetCurrentColourIndex(colourIndex);
    graphic->SetCurrentTextureIndex(textureIndex);
    graphic->SetModified();
    services.NotifyChanged(graphic, kChangeAll, true);
  }
  for (int i = 0; i < m_bar.GetButtonCount(); ++i) m_bar.GetButton(i)->RenderState(renderFlags);
}

void CNavBarRenderer::ComputeBarSize(int& width, int& height) {
  const int g = m_bar.GetButtonSpacing();
  const int n = m_bar.GetButtonCount();
  const bool vertical = m_bar.IsVertical();
  width = height = 0;
  if (m_bar.HasCaps()) {
    const CNavBarCapButton* first = m_bar.GetFirstCap();
    const CNavBarCapButton* second = m_bar.GetSecondCap();
    if (vertical) {
      height = second->Height() + 2 * g + first->Height();
      width = std::max(first->Width(), second->Width());
    } else {
      width = second->Width() + 2 * g + first->Width();
      height = std::max(first->Height(), second->Height());
    }
  }
  if (n == 0) return;
  int largestWidth = 0, largestHeight = 0, sumWidth = 0, sumHeight = 0;
  for (int i = 0; i < n; ++i) {
    const CNavBarButton* button = m_bar.GetButton(i);
    largestWidth = std::max(largestWidth, button->Width());
    largestHeight = std::max(largestHeight, button->Height());
    sumWidth += button->Width();
    sumHeight += button->Height();
  }
  if (!vertical) {
    width += g * (n - 1) + sumWidth;
    height = std::max(height, largestHeight);
    return;
  }
  const COptions* off = m_bar.GetStateRecord(0);
  if (off && off->GetGraphicType() == kGraphic3DHeading) {
    m_rowPitch = largestHeight;
    width = std::max(width, largestWidth);
    const CNavBarButton* first = m_bar.GetButton(0);
    const CNavBarButton* last = m_bar.GetButton(n - 1);
    const auto originX = [&](const CNavBarButton* button) {
      if (!HasItemOffsets()) return 0;
      const int room = width - button->Width();
      return m_bar.GetJustification() == 1 ? room / 2 : room;
    };
    height += last->Height() + n * m_rowPitch + (n - 1) * g + GetSlantOffset(n - 1, originX(last)) - m_rowPitch -
              GetSlantOffset(0, originX(first));
    return;
  }
  height += g * (n - 1) + sumHeight;
  width = std::max(width, largestWidth);
}

int CNavBarRenderer::GetSlantOffset(int index, int x) const {
  CNavBarServices& services = GetNavBarServices();
  const COptions* graphic = services.GetCurrentOptions();
  const CNavBarButton* button = m_bar.GetButton(index);
  if (!m_bar.IsVertical() || !graphic || graphic->GetGraphicType() != kGraphic3DHeading || !button) return 0;
  double origin = 0, scale = 0;
  if (!services.GetLayoutTransform(origin, scale)) return 0;
  if (origin <= 0) return -static_cast<int>(scale * x);
  return m_rowPitch - static_cast<int>(scale * x) - button->Height();
}

Bitmap32* CNavBarRenderer::ComposeButton(int index, POINT position) {
  CNavBarButton* button = m_bar.GetButton(index);
  const COptions* graphic = GetNavBarServices().GetCurrentOptions();
  ExportRecord* record = GetBitmapServices().GetOptions();
  if (!button || !button->Pixels() || !graphic || !record) return nullptr;
  std::unique_ptr<Bitmap32> output(new (std::nothrow) Bitmap32);
  if (!output || output->Create(button->Width(), button->Height()) != 0) return nullptr;
  CExportBitmapFromOptions composition;
  if (composition.SetFromOptions(record) != 0 || composition.SetOutputFromBitmap(output.get()) != 0 ||
      composition.SetGraphicFromBitmap(button) != 0)
    return nullptr;
  std::vector<std::uint32_t> background;
  if (graphic->GetUserBitmapPixels() && graphic->GetUserBitmapWidth() > 0 && graphic->GetUserBitmapHeight() > 0) {
    const std::size_t count = static_cast<std::size_t>(graphic->GetUserBitmapWidth()) *
                              static_cast<std::size_t>(graphic->GetUserBitmapHeight());
    background.assign(graphic->GetUserBitmapPixels(), graphic->GetUserBitmapPixels() + count);
    if (composition.SetBackgroundImage(graphic->GetUserBitmapWidth(), graphic->GetUserBitmapHeight(),
                                       background.data()) != 0 ||
        composition.SetBackgroundOffset(position.x, position.y) != 0)
      return nullptr;
  }
  if (composition.Compose() != 0) return nullptr;
  return output.release();
}

int CNavBarRenderer::ShowHoverButton() {
  CNavBarServices& services = GetNavBarServices();
  COptions* graphic = services.GetCurrentOptions();
  if (!graphic || !services.HasPreviewWindow() || m_bar.GetCurrentState() != 0) return 0;
  const int hover = m_bar.GetHoverButton();
  const int kind = m_bar.GetHoverKind();
  if (hover == m_shownHoverButton && kind == m_shownHoverKind) return 0;
  m_shownHoverButton = hover;
  m_shownHoverKind = kind;

  CNavBarButton* button = m_bar.GetButton(hover);
  if (button) {
    services.EnablePreviewPaint(false);
    RenderHoverButton(1);
    services.EnablePreviewPaint(true);
  }
  const CString exported = services.GetTemporaryExportPath();
  if (exported.IsEmpty()) return 0;
  const bool plain = graphic->GetExportBpp() > 8 || !services.IsShowTrimmed() || graphic->GetExportType() == 1 ||
                     !graphic->GetTransparent();
  services.ShowPreviewImage(exported, plain ? 1 : 0);

  if (button && m_bar.IsStateEnabled(kind)) {
    const RECT client = services.GetPreviewClientRect();
    const int left = client.left + ((client.right - client.left) - m_lastWidth + 1) / 2;
    const int top = client.top + ((client.bottom - client.top) - m_lastHeight + 1) / 2;
    const POINT origin = m_bar.GetButtonOrigin(hover);
    button->SetState(kind);
    // A 32-bit export is composed like a 24-bit one: the preview shows it over its background.
    const unsigned bpp = graphic->GetExportBpp();
    if (bpp == 32) graphic->SetExportBpp(24);
    std::unique_ptr<Bitmap32> composed(ComposeButton(hover, origin));
    if (bpp == 32) graphic->SetExportBpp(32);
    if (composed) services.CopyToPreview(*composed, left + origin.x, top + origin.y);
    button->SetState(0);
  }
  return 1;
}

// ---- Layout queries of the bar -------------------------------------------------------------

int CNavBar::GetWidestTextButton(int& width) const {
  width = 0;
  int widest = -1;
  CNavBarServices& services = GetNavBarServices();
  for (int i = 0; i < GetButtonCount(); ++i) {
    const int measured = services.MeasureTextWidth(m_buttons[static_cast<std::size_t>(i)]->GetText());
    if (measured < 0) {
      width = 0;
      return -1;
    }
    if (widest < 0 || measured > width) {
      widest = i;
      width = measured;
    }
  }
  return widest;
}

void CNavBar::HitTest(POINT point, int& index, RECT& rect) const {
  index = -1;
  rect = RECT{0, 0, 0, 0};
  const int g = m_buttonSpacing;
  int x = 0, y = 0;
  if (HasCaps()) {
    if (m_vertical)
      y = m_firstCap->Height() + g;
    else
      x = m_firstCap->Width() + g;
  }
  for (int i = 0; i < GetButtonCount(); ++i) {
    const CNavBarButton* button = m_buttons[static_cast<std::size_t>(i)];
    const RECT r{x + button->GetXOffset(), y + button->GetYOffset(), x + button->GetXOffset() + button->Width(),
                 y + button->GetYOffset() + button->Height()};
    if (point.x >= r.left && point.x < r.right && point.y >= r.top && point.y < r.bottom) {
      index = i;
      rect = r;
      return;
    }
    if (m_vertical)
      y = r.bottom + g;
    else
      x = r.right + g;
  }
}

POINT CNavBar::GetButtonOrigin(int index) const {
  if (index < 0 || index >= GetButtonCount()) {
    GetNavBarServices().SetInternalError(3645, "NavBar");
    return POINT{0, 0};
  }
  const int g = m_buttonSpacing;
  int x = 0, y = 0;
  if (HasCaps()) {
    if (m_vertical)
      y = m_firstCap->Height() + g;
    else
      x = m_firstCap->Width() + g;
  }
  for (int i = 0;; ++i) {
    const CNavBarButton* button = m_buttons[static_cast<std::size_t>(i)];
    const int left = x + button->GetXOffset();
    const int top = y + button->GetYOffset();
    if (i == index) return POINT{left, top};
    if (m_vertical)
      y = top + button->Height() + g;
    else
      x = left + button->Width() + g;
  }
}
