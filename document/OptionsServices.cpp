#include "document/OptionsServices.h"

#include "document/DocumentFiles.h"

namespace {

// Written as a style file's "Version". The reader takes the number in front, and documents whose
// number is above 1.2 are current: this text must keep a leading number above 1.2.
constexpr const char kProgramVersionText[] = "2.0 (2.0.1)";

#ifdef _WIN32
constexpr const char kOptionsKey[] = "Software\\Quor\\Barwright 1\\Options";

// The program's Options key under HKEY_CURRENT_USER, created when missing; null on failure.
HKEY OpenOptionsKeyForPreferences() {
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, kOptionsKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_READ | KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
    return nullptr;
  return key;
}
#endif

COptionsServices g_defaultServices;
COptionsServices* g_services = &g_defaultServices;

}  // namespace

COptionsServices::~COptionsServices() = default;

CString COptionsServices::GetVersionText() { return kProgramVersionText; }

CString COptionsServices::FindFileRecursive(const CString& folder, const CString& name,
                                            const CString& extension, const CString& suffix) {
  return DocumentFiles::FindFileRecursive(folder, name, extension, suffix);
}

#ifdef _WIN32

bool COptionsServices::OpenPreferences() {
  HKEY key = OpenOptionsKeyForPreferences();
  if (!key) return false;
  RegCloseKey(key);
  return true;
}

bool COptionsServices::ReadPreference(const char* name, DWORD& value) {
  HKEY key = OpenOptionsKeyForPreferences();
  if (!key) return false;
  DWORD type = 0;
  DWORD data = 0;
  DWORD size = sizeof(data);
  const bool ok = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&data),
                                   &size) == ERROR_SUCCESS &&
                  type == REG_DWORD && size == sizeof(data);
  RegCloseKey(key);
  if (ok) value = data;
  return ok;
}

bool COptionsServices::WritePreference(const char* name, DWORD value) {
  HKEY key = OpenOptionsKeyForPreferences();
  if (!key) return false;
  const bool ok = RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                                 sizeof(value)) == ERROR_SUCCESS;
  RegCloseKey(key);
  return ok;
}

bool COptionsServices::WritePreferenceString(const char* name, const CString& value) {
  HKEY key = OpenOptionsKeyForPreferences();
  if (!key) return false;
  // Stored with its terminating NUL so that readers of the value see where it ends.
  const bool ok = RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>((LPCTSTR)value),
                                 static_cast<DWORD>(value.GetLength() + 1)) == ERROR_SUCCESS;
  RegCloseKey(key);
  return ok;
}

#else

bool COptionsServices::OpenPreferences() { return true; }

bool COptionsServices::ReadPreference(const char* name, DWORD& value) {
  auto found = m_dwords.find(name);
  if (found == m_dwords.end()) return false;
  value = found->second;
  return true;
}

bool COptionsServices::WritePreference(const char* name, DWORD value) {
  m_dwords[name] = value;
  return true;
}

bool COptionsServices::WritePreferenceString(const char* name, const CString& value) {
  m_strings[name] = value;
  return true;
}

#endif

COptionsServices& GetOptionsServices() { return *g_services; }

void SetOptionsServices(COptionsServices* services) {
  g_services = services ? services : &g_defaultServices;
}
