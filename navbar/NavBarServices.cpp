#include "navbar/NavBarServices.h"

#include "bitmap/SaveGif.h"
#include "document/DocumentFiles.h"
#include "document/OptionsServices.h"

namespace {
CNavBarServices g_defaultServices;
CNavBarServices* g_services = &g_defaultServices;

#ifdef _WIN32
constexpr const char kOptionsKey[] = "Software\\Quor\\Barwright 1\\Options";
constexpr DWORD kMaxFolderLength = 259;

struct CFontFamilyAnswer {
  bool found = false;
  bool serif = false;
  bool bold = false;
  bool italic = false;
};

int CALLBACK TakeFirstFamily(const LOGFONTA* font, const TEXTMETRICA*, DWORD, LPARAM data) {
  CFontFamilyAnswer& answer = *reinterpret_cast<CFontFamilyAnswer*>(data);
  answer.found = true;
  // Roman, modern and decorative families all have bit 4 of the family nibble set.
  answer.serif = (font->lfPitchAndFamily & 0x10) != 0;
  answer.bold = font->lfWeight >= FW_BOLD;
  answer.italic = font->lfItalic != 0;
  return 0;
}
#endif
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
#ifdef _WIN32
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kOptionsKey, 0, KEY_READ, &key) == ERROR_SUCCESS) {
    char buffer[kMaxFolderLength + 1] = {};
    DWORD type = 0;
    DWORD size = sizeof(buffer) - 1;
    const bool ok = RegQueryValueExA(key, "ExportDir", nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) ==
                        ERROR_SUCCESS &&
                    type == REG_SZ;
    RegCloseKey(key);
    if (ok && buffer[0]) return CString(buffer);
  }
#endif
  return GetRootPath();
}

int CNavBarServices::MeasureTextWidth(const CString& text) {
#ifdef _WIN32
  HDC context = CreateCompatibleDC(nullptr);
  if (!context) return -1;
  SIZE size = {0, 0};
  const BOOL ok = GetTextExtentPoint32A(context, text, text.GetLength(), &size);
  DeleteDC(context);
  return ok ? static_cast<int>(size.cx) : -1;
#else
  (void)text;
  return -1;
#endif
}

int CNavBarServices::MeasureTextWidthInFont(const CString& text, const CString& face, int points, bool bold,
                                            bool italic) {
#ifdef _WIN32
  HDC context = CreateCompatibleDC(nullptr);
  if (!context) return -1;
  HFONT font = CreateFontA(-MulDiv(points, GetDeviceCaps(context, LOGPIXELSY), 72), 0, 0, 0,
                           bold ? FW_BOLD : FW_NORMAL, italic ? TRUE : FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                           OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, face);
  if (!font) {
    DeleteDC(context);
    return -1;
  }
  HGDIOBJ old = SelectObject(context, font);
  SIZE size = {0, 0};
  const BOOL ok = GetTextExtentPoint32A(context, text, text.GetLength(), &size);
  SelectObject(context, old);
  DeleteObject(font);
  DeleteDC(context);
  return ok ? static_cast<int>(size.cx) : -1;
#else
  (void)text, (void)face, (void)points, (void)bold, (void)italic;
  return -1;
#endif
}

bool CNavBarServices::LookupFontFamily(const CString& face, bool& serif, bool& bold, bool& italic) {
#ifdef _WIN32
  HDC screen = GetDC(nullptr);
  if (!screen) return false;
  CFontFamilyAnswer answer;
  EnumFontFamiliesA(screen, face, reinterpret_cast<FONTENUMPROCA>(&TakeFirstFamily),
                    reinterpret_cast<LPARAM>(&answer));
  ReleaseDC(nullptr, screen);
  if (!answer.found) return false;
  serif = answer.serif;
  bold = answer.bold;
  italic = answer.italic;
  return true;
#else
  (void)face;
  (void)serif;
  (void)bold;
  (void)italic;
  return false;
#endif
}

bool CNavBarServices::SaveThumbnail(const CString& path, const Bitmap32& image) {
  return SaveGif(DocumentFiles::NativePath(path), &image) != 0;
}

CNavBarServices& GetNavBarServices() { return *g_services; }

void SetNavBarServices(CNavBarServices* services) {
  g_services = services ? services : &g_defaultServices;
}
