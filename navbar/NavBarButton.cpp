#include "navbar/NavBarButton.h"

#include <new>

#include "util/AppUtilServices.h"
#include "document/DocumentFiles.h"
#include "navbar/NavBar.h"
#include "navbar/NavBarServices.h"

namespace {

constexpr const char kUnit[] = "NavBarButton";
void InternalError(int line) { GetNavBarServices().SetInternalError(line, kUnit); }

// The render switches of a preview render of the design at its current size.
constexpr int kUseWhatIsThere = 2;

}  // namespace

CNavBarButton::CNavBarButton() {
  m_text = LoadAppString(33051, "Your Button Text");
  m_altText = LoadAppString(33149, kDefaultAltText);
}

void CNavBarButton::SetText(const CString& text) {
  if (m_text == text) return;
  m_text = text;
  DropImages();
}

void CNavBarButton::SetURL(const CString& link, bool check) {
  if (link != m_link) SetPageListCurrent(false);
  CNavBarItem::SetURL(link, check);
}

CString CNavBarButton::GetAltText(bool substitute) const {
  if (substitute && m_altText.CompareNoCase(kDefaultAltText) == 0) return m_text;
  return m_altText;
}

void CNavBarButton::SetState(int state) {
  if (m_rendered) CacheImage();
  m_state = state;
  if (IsImageValid(state)) m_imageValid[state] = RestoreImage();
}

CString CNavBarButton::DefaultLink() const {
  const CNavBar* bar = GetNavBarServices().GetNavBar();
  if (!bar) return CString();
  return bar->GetButtonURL(bar->IndexOfButton(this), true);
}

void CNavBarButton::Attach(CNavBarMenuItem* child) { child->SetOwner(nullptr, this); }

void CNavBarButton::DropImages() {
  for (int& valid : m_imageValid) valid = 0;
}

bool CNavBarButton::IsImageValid(int state) const {
  return state >= 0 && state < kStateCount && m_imageValid[state] != 0;
}

void CNavBarButton::SetImageValid(int state, bool valid) {
  if (state >= 0 && state < kStateCount) m_imageValid[state] = valid ? 1 : 0;
}

int CNavBarButton::RenderState(int flags) {
  if ((flags & kUseWhatIsThere) || (IsImageValid(m_state) && Pixels())) return 1;
  return RenderThroughTemplate();
}

int CNavBarButton::RenderThroughTemplate() {
  MarkRendered();
  CNavBarServices& services = GetNavBarServices();
  COptions* graphic = services.GetCurrentOptions();
  if (!graphic) {
    InternalError(689);
    return 0;
  }
  if (!services.HasOperationsManager()) {
    InternalError(691);
    return 0;
  }
  const CNavBar* bar = services.GetNavBar();
  if (!bar) {
    InternalError(693);
    return 0;
  }
  if (!services.HasPreviewWindow()) {
    InternalError(699);
    return 0;
  }
  graphic->SetStoryText(m_text, 0);
  services.NotifyTextChanged(false, -1);
  graphic->SetModified();

  if (graphic->GetNumberOfTextures() > 1) {
    // Texture continuity: the engine gets a matrix shifted to where this item sits in the bar
    // for this one render; the record keeps the template's own matrix.
    Bitmap32 discard;
    services.RenderCurrentGraphic(discard);
    const unsigned previousIndex = graphic->GetCurrentTextureIndex();
    graphic->SetCurrentTextureIndex(1);
    const CString matrix = graphic->GetTextureMatrix(1);
    graphic->SetTextureMatrix(1, bar->ComputeTextureMatrix(matrix, this));
    services.NotifyTextureChanged(false, 1);
    graphic->SetTextureMatrix(1, matrix);
    graphic->SetCurrentTextureIndex(previousIndex);
  }

  Bitmap32 image;
  if (!services.RenderCurrentGraphic(image) || !image.Pixels()) return 0;
  m_designWidth = graphic->GetBaseWidth();
  m_designHeight = graphic->GetBaseHeight();
  if (!Pixels() || image.Width() != Width() || image.Height() != Height()) {
    if (Create(image.Width(), image.Height()) != 0) {
      InternalError(762);
      return 0;
    }
  }
  const std::size_t count = static_cast<std::size_t>(image.Width()) * static_cast<std::size_t>(image.Height());
  std::copy(image.Pixels(), image.Pixels() + count, Pixels());
  if (m_state >= 0 && m_state < kStateCount) m_imageValid[m_state] = 1;
  graphic->SetModified();
  return 1;
}

int CNavBarCapButton::RenderState(int flags) {
  if ((flags & kUseWhatIsThere) || (IsImageValid(0) && Pixels())) return 1;
  CNavBarServices& services = GetNavBarServices();
  COptions* graphic = services.GetCurrentOptions();
  if (!graphic) {
    InternalError(1030);
    return 0;
  }
  if (!services.HasOperationsManager()) {
    InternalError(1032);
    return 0;
  }
  // The current graphic is left holding the cap's style; the renderer puts its own back.
  m_record.CopyTo(*graphic, 2, 0xFFFF7FFF);
  services.NotifyChanged(&m_record, kChangeAll, true);
  const int result = RenderThroughTemplate();
  // A cap has one image for all states.
  if (result) m_imageValid[0] = 1;
  return result;
}

bool CNavBarCapButton::LoadStyle(const CString& path, StyleChangeMask mask) {
  CNavBarServices& services = GetNavBarServices();
  if (path.IsEmpty()) {
    InternalError(963);
    return false;
  }
  COptions* graphic = services.GetCurrentOptions();
  if (!graphic) {
    InternalError(965);
    return false;
  }
  if (!FileExists(path)) {
    InternalError(979);
    return false;
  }
  if (graphic->LoadStyleFile(path, mask, -1, kLoadTemplateStyle)) graphic->CopyTo(m_record, 0, kChangeAll);
  DropImages();
  return true;
}

int CNavBarCapButton::OnGraphicChanged(DWORD changeFlags) {
  COptions* graphic = GetNavBarServices().GetCurrentOptions();
  if (!graphic) {
    InternalError(1061);
    return 0;
  }
  bool changed = false;
  if (changeFlags & kChangeSize) {
    graphic->CopyTo(m_record, 0, kChangeSize);
    changed = true;
  }
  if (m_state == 0) {
    if (changeFlags & (kChangeStories | kChangeFonts)) {
      if (m_record.GetStoryCount() >= 1) {
        graphic->CopyTo(m_record, 0, changeFlags & (kChangeStories | kChangeFonts));
        changed = true;
      } else if (m_record.GetNumberOfTextures() >= 2) {
        changed = true;
      }
    }
    if (changeFlags & kChangeBevelAnd3D) {
      graphic->CopyTo(m_record, 0, kChangeBevelAnd3D);
      changed = true;
    }
    if ((changeFlags & kChangeTextures) && m_record.GetNumberOfTextures() > 1) {
      graphic->CopyTo(m_record, 0, kChangeTextures);
      changed = true;
    }
  }
  if (changed) DropImages();
  return 1;
}
