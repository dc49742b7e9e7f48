#include "document/RenderRequest.h"

#ifdef _WIN32

#include "document/OperationsHandler.h"
#include "document/OperationsManager.h"
#include "document/OperationsServices.h"
#include "document/TemplateWnd.h"

namespace {
CRenderSwitches g_switches;
}  // namespace

CRenderSwitches& RenderSwitches() { return g_switches; }

void CRenderSwitches::SetFromWord(DWORD word) {
  pageRefresh = (word & kRenderPageRefresh) ? 1 : 0;
  keepBuffer = (word & kRenderKeepBuffer) ? 1 : 0;
  suppress = (word & kRenderSuppress) ? 1 : 0;
  fastShadow = (word & kRenderFastShadow) ? 1 : 0;
  unused20 = (word & kRenderUnused20) ? 1 : 0;
  hardEdges = (word & kRenderHardEdges) ? 1 : 0;
  shadowMove = (word & kRenderShadowMove) ? 1 : 0;
  shadowAllowed = (word & kRenderNoShadow) ? 0 : 1;
  unused200 = (word & kRenderUnused200) ? 1 : 0;
}

CRenderRequestScope::CRenderRequestScope(DWORD word) : m_saved(g_switches) {
  const int suspended = g_switches.suppress;
  g_switches.SetFromWord(word);
  // A suspension outlives requests: a request never lifts it.
  g_switches.suppress |= suspended;
}

CRenderRequestScope::~CRenderRequestScope() {
  const int paintSuppressed = g_switches.paintSuppressed;
  g_switches = m_saved;
  // Paint enabling is not part of a request; what a render changed there stays.
  g_switches.paintSuppressed = paintSuppressed;
}

CTemplateWnd* GetPreviewWindow() {
  COperationsManager* manager = GetOperationsServices().GetOperationsManager();
  if (!manager || !manager->GetCurrentHandler()) return nullptr;
  return manager->GetCurrentHandler()->GetPreviewWindow();
}

int RenderPreview(int redraw, DWORD word) {
  CRenderRequestScope scope(word);
  CTemplateWnd* window = GetPreviewWindow();
  return window ? window->Render(redraw, nullptr) : 0;
}

int RenderWithFlags(int redraw, DWORD word) {
  COperationsManager* manager = GetOperationsServices().GetOperationsManager();
  if (!manager) return 0;
  CRenderRequestScope scope(word);
  manager->SetKeptRenderRequest(word);
  return manager->Refresh(redraw, 0);
}

int EnablePreviewPaint(bool enable) {
  g_switches.paintSuppressed = enable ? 0 : 1;
  return g_switches.paintSuppressed;
}

void SuspendRendering() { g_switches.suppress = 1; }
void ResumeRendering() { g_switches.suppress = 0; }

void RepaintPreview() {
  if (CTemplateWnd* window = GetPreviewWindow()) window->PaintPreview(nullptr);
}

BOOL ShowPreviewImage(const CString& file, int flag) {
  CTemplateWnd* window = GetPreviewWindow();
  return window ? window->ShowImageFile(file, flag) : FALSE;
}

std::uint32_t* GetPreviewPixels() {
  CTemplateWnd* window = GetPreviewWindow();
  return window ? window->GetPixels() : nullptr;
}

void GetPreviewSize(int* width, int* height) {
  CTemplateWnd* window = GetPreviewWindow();
  if (!window) return;
  if (width) *width = window->GetBufferWidth();
  if (height) *height = window->GetBufferHeight();
}

std::uint32_t* GetRenderedBitmap(int* width, int* height) {
  CTemplateWnd* window = GetPreviewWindow();
  return window ? window->RenderToBitmap(width, height) : nullptr;
}

#endif  // _WIN32
