#include "output/SaveServices.h"

#include "app/util/FileUtils.h"

namespace {
CSaveServices g_defaults;
CSaveServices* g_services = &g_defaults;
}  // namespace

CString CSaveServices::MakeNumberedName(const CString& path, const CString&) {
  return CFileUtils::MakeUniqueFileName(path);
}

CString CSaveServices::GetSystemTempFolder() {
  // MAX_PATH and one: GetTempPath's answer includes the closing backslash.
  char folder[MAX_PATH + 1] = {};
  const DWORD length = ::GetTempPathA(sizeof folder, folder);
  if (length == 0 || length >= sizeof folder) return CString();
  return CFileUtils::WithBackslash(folder);
}

CSaveServices& GetSaveServices() { return *g_services; }

void SetSaveServices(CSaveServices* services) { g_services = services ? services : &g_defaults; }
