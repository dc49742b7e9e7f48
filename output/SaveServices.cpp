#include "output/SaveServices.h"

#include "util/FileUtils.h"

namespace {
CSaveServices g_defaults;
CSaveServices* g_services = &g_defaults;
}  // namespace

CString CSaveServices::MakeNumberedName(const CString& path, const CString&) {
  return CFileUtils::MakeUniqueFileName(path);
}

CSaveServices& GetSaveServices() { return *g_services; }

void SetSaveServices(CSaveServices* services) { g_services = services ? services : &g_defaults; }
