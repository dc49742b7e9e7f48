#include "navbar/StateBadges.h"

#include <memory>
#include <new>

#include "bitmap/bitmapmanip.h"
#include "document/OperationsServices.h"
#include "navbar/NavBar.h"
#include "navbar/NavBarServices.h"

namespace {

const char* const kPictureNames[CStateBadges::kStateCount] = {"NavMouseOff.qgt", "NavMouseOver.qgt", nullptr,
                                                             "NavSelected.qgt"};

std::unique_ptr<CStateBadges>& Instance() {
  static std::unique_ptr<CStateBadges> instance;
  return instance;
}

}  // namespace

CStateBadges* CStateBadges::GetInstance(Bitmap32* surface) {
  if (!surface) return nullptr;
  std::unique_ptr<CStateBadges>& instance = Instance();
  if (!instance) instance.reset(new (std::nothrow) CStateBadges);
  if (instance) instance->m_surface = surface;
  return instance.get();
}

void CStateBadges::DestroyInstance() { Instance().reset(); }

int CStateBadges::BadgeState(const CNavBar& bar) {
  int state = bar.GetCurrentState();
  if (state == 0 && bar.GetHoverButton() >= 0 && bar.IsStateEnabled(bar.GetHoverKind())) state = bar.GetHoverKind();
  return state;
}

CString CStateBadges::PicturePath(int state) {
  if (state < 0 || state >= kStateCount || !kPictureNames[state]) return CString();
  return GetNavBarServices().GetRootPath() + "SysResources\\Graphics\\" + kPictureNames[state];
}

int CStateBadges::Draw() {
  CNavBarServices& services = GetNavBarServices();
  if (!m_surface || !services.IsNavBarMode()) return 0;
  const CNavBar* bar = services.GetNavBar();
  if (!bar) return 0;
  const int state = BadgeState(*bar);
  if (state < 0 || state >= kStateCount || !kPictureNames[state]) return 0;
  Bitmap32& picture = m_pictures[state];
  if (!m_loaded[state]) {
    m_paths[state] = PicturePath(state);
    if (GetOperationsServices().LoadImage32(m_paths[state], picture) != 0 || !picture.Pixels() ||
        picture.Width() <= 0 || picture.Height() <= 0) {
      picture.FreeBuffer();
      return 0;
    }
    m_loaded[state] = 1;
  }
  const int width = m_surface->Width(), height = m_surface->Height();
  if (!m_surface->Pixels() || width <= kMargin || height <= kMargin) return 0;
  // Rows are counted from the bottom, so the bottom margin is the first destination row.
  BlitARGB(picture.Pixels(), 0, 0, picture.Width(), picture.Height(), m_surface->Pixels(), kMargin, kMargin, width,
           height, true, false, -1);
  return 1;
}
