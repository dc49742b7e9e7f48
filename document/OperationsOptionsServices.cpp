#include "document/OperationsOptionsServices.h"

#ifdef _WIN32

#include "document/OperationsHandler.h"
#include "document/OperationsManager.h"
#include "document/OperationsServices.h"
#include "document/TemplateWnd.h"

namespace {
const char kBlankImage[] = "SysResources\\Graphics\\__sysblank.jpg";
}  // namespace

COperationsManager* COperationsOptionsServices::Manager() { return GetOperationsServices().GetOperationsManager(); }

bool COperationsOptionsServices::HasOperationsManager() { return Manager() != nullptr; }

bool COperationsOptionsServices::IsNavBarMode() { return Manager() && Manager()->IsNavBarMode(); }

void COperationsOptionsServices::SetNavBarMode(bool on) {
  if (Manager()) Manager()->SetNavBarMode(on ? 1 : 0);
}

bool COperationsOptionsServices::HasCurrentHandler() { return Manager() && Manager()->GetCurrentHandler(); }

// A template a style file names replaces the user's settings, as for a new graphic.
bool COperationsOptionsServices::OpenDocument(const CString& path) {
  return Manager() && Manager()->OpenDocument(path, 0, 1);
}

RECT COperationsOptionsServices::GetPageRect() {
  RECT rect = {0, 0, 0, 0};
  if (Manager()) Manager()->GetPageRect(&rect);
  return rect;
}

void COperationsOptionsServices::StopPreviewStateDisplay() {
  COperationsManager* manager = Manager();
  COperationsHandler* handler = manager ? manager->GetCurrentHandler() : nullptr;
  if (handler && handler->GetPreviewWindow()) handler->GetPreviewWindow()->StopStateTimer();
}

void COperationsOptionsServices::NotifyChanged(COptions* record, DWORD mask, bool redraw) {
  if (Manager()) Manager()->NotifyChanged(record, redraw ? 1 : 0, mask);
}

void COperationsOptionsServices::NotifyTextChanged(bool redraw, int story) {
  if (Manager()) Manager()->NotifyTextChanged(GetOperationsServices().GetOptions(), redraw ? 1 : 0, story);
}

void COperationsOptionsServices::NotifyTextureChanged(bool redraw, int texture) {
  if (Manager()) Manager()->NotifyTextureChanged(GetOperationsServices().GetOptions(), redraw ? 1 : 0, texture);
}

void COperationsOptionsServices::NotifyConstraintChanged(bool redraw) {
  if (Manager()) Manager()->NotifyConstraintChanged(GetOperationsServices().GetOptions(), redraw ? 1 : 0);
}

void COperationsOptionsServices::NotifyShadowChanged(bool redraw) {
  if (Manager()) Manager()->NotifyShadowChanged(GetOperationsServices().GetOptions(), redraw ? 1 : 0);
}

int COperationsOptionsServices::SelectState(int state) { return Manager() ? Manager()->SelectState(state) : 0; }

// The record already holds the colour; the manager writes its swatch over the blank texture.
void COperationsOptionsServices::WriteColourSwatch(COLORREF) {
  if (Manager()) Manager()->WriteColourSwatch(GetOperationsServices().GetRootPath() + kBlankImage);
}

#endif  // _WIN32
