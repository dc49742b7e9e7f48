#include "navbar/NavBarServices.h"

#include "bitmap/SaveGif.h"
#include "document/DocumentFiles.h"
#include "document/OptionsServices.h"

namespace {
CNavBarServices g_defaultServices;
CNavBarServices* g_services = &g_defaultServices;
}  // namespace

CNavBarServices::~CNavBarServices() = default;

COptions* CNavBarServices::GetCurrentOptions() { return GetOptionsServices().GetCurrentOptions(); }
bool CNavBarServices::HasOperationsManager() { return GetOptionsServices().HasOperationsManager(); }
bool CNavBarServices::IsNavBarMode() { return GetOptionsServices().IsNavBarMode(); }
void CNavBarServices::SetNavBarMode(bool on) { GetOptionsServices().SetNavBarMode(on); }

void CNavBarServices::NotifyChanged(COptions* record, StyleChangeMask mask, bool redraw) {
  GetOptionsServices().NotifyChanged(record, mask, redraw);
}
void CNavBarServices::NotifyTextChanged(bool redraw, int story) {
  GetOptionsServices().NotifyTextChanged(redraw, story);
}
void CNavBarServices::NotifyTextureChanged(bool redraw, int texture) {
  GetOptionsServices().NotifyTextureChanged(redraw, texture);
}
void CNavBarServices::NotifyConstraintChanged(bool redraw) {
  GetOptionsServices().NotifyConstraintChanged(redraw);
}

void CNavBarServices::SetInternalError(int line, const char* file) {
  GetOptionsServices().SetInternalError(line, file);
}

CString CNavBarServices::GetRootPath() { return GetOptionsServices().GetRootPath(); }

CString CNavBarServices::GetExportFolder() {
  CString folder = GetOptionsServices().GetDocPath();
  if (!folder.IsEmpty()) return folder;
  return GetRootPath();
}

bool CNavBarServices::SaveThumbnail(const CString& path, const Bitmap32& image) {
  return SaveGif(DocumentFiles::NativePath(path), &image) != 0;
}

CNavBarServices& GetNavBarServices() { return *g_services; }

void SetNavBarServices(CNavBarServices* services) {
  g_services = services ? services : &g_defaultServices;
}
