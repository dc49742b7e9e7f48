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

COperationsManager* COperationsServices::GetOperationsManager() {
#ifdef _WIN32
  return COperationsManager::GetInitialised();
#else
  return nullptr;
#endif
}

CString COperationsServices::GetRootPath() { return GetOptionsServices().GetRootPath(); }

int COperationsServices::LoadImage32(const CString& path, Bitmap32& bitmap) {
  return ::LoadImage32(&bitmap, path) < 0 ? -1 : 0;
}

COperationsServices& GetOperationsServices() { return g_services ? *g_services : g_defaultServices; }

void SetOperationsServices(COperationsServices* services) { g_services = services; }

