#include "document/OperationsServices.h"

#include "bitmap/ImageImport.h"
#include "document/OperationsManager.h"
#include "document/OptionsServices.h"

namespace {
COperationsServices g_defaultServices;
COperationsServices* g_services = nullptr;
}  // namespace

COperationsServices::~COperationsServices() = default;

void COperationsServices::ShowMessage(MessageSeverity, unsigned messageId, const CString& argument) {
  GetOptionsServices().ReportWarning(messageId, argument);
}

void COperationsServices::ShowError(unsigned messageId) { GetOptionsServices().InformError(messageId); }

void COperationsServices::InternalError(int line, const char* source) {
  GetOptionsServices().SetInternalError(line, source);
}

COptions* COperationsServices::GetOptions() { return GetOptionsServices().GetCurrentOptions(); }

namespace {
// Kept here rather than beside the manager so this library does not depend on the Windows one.
COperationsManager* g_initialisedManager = nullptr;
}  // namespace

COperationsManager* GetInitialisedOperationsManager() { return g_initialisedManager; }

void SetInitialisedOperationsManager(COperationsManager* manager) { g_initialisedManager = manager; }

COperationsManager* COperationsServices::GetOperationsManager() { return g_initialisedManager; }

CString COperationsServices::GetRootPath() { return GetOptionsServices().GetRootPath(); }

int COperationsServices::LoadImage32(const CString& path, Bitmap32& bitmap) {
  return ::LoadImage32(&bitmap, path) < 0 ? -1 : 0;
}

COperationsServices& GetOperationsServices() { return g_services ? *g_services : g_defaultServices; }

void SetOperationsServices(COperationsServices* services) { g_services = services; }

