#include "document/OperationsHandler.h"

#ifdef _WIN32

#include <new>

#include "bitmap/Bitmap32.h"
#include "bitmap/bitmapmanip.h"
#include "document/DocumentFiles.h"
#include "document/OperationsServices.h"
#include "document/Options.h"
#include "document/RenderRequest.h"
#include "document/TemplateWnd.h"

IMPLEMENT_DYNAMIC(COperationsHandler, CObject)

int COperationsHandler::s_windowVisible = 0;

namespace {
const char kSource[] = "OperationsManager";
enum : int {
  kErrNoDocument = 105, kErrNoRectangle = 124, kErrChangeNoDocument = 156, kErrClosedNoWindow = 233,
  kErrBackgroundNoDocument = 878, kErrBackgroundBitmap = 897,
};
const char kPictureBackgroundName[] = "KIQ_BACKGROUND";
}  // namespace

COperationsHandler::COperationsHandler() { s_windowVisible = 0; }

COperationsHandler::~COperationsHandler() {
  if (m_previewWindow) {
    if (m_previewWindow->GetSafeHwnd()) m_previewWindow->DestroyWindow();
    delete m_previewWindow;
    m_previewWindow = nullptr;
  }
  delete m_backgroundBitmap;
}

void COperationsHandler::InternalError(int line) { GetOperationsServices().InternalError(line, kSource); }

BOOL COperationsHandler::Initialise() {
  if (!GetOperationsServices().GetOptions()) {
    InternalError(kErrNoDocument);
    return FALSE;
  }
  s_windowVisible = 1;
  return TRUE;
}

BOOL COperationsHandler::Activate(CWnd* parent, const RECT& rect) {
  m_previewWindow = CreateWindow(parent, rect);
  if (!m_previewWindow) return FALSE;
  m_previewWindow->ShowWindow(s_windowVisible ? SW_SHOWNOACTIVATE : SW_HIDE);
  return TRUE;
}

BOOL COperationsHandler::Deactivate(RECT* rect) {
  if (!rect) {
    InternalError(kErrNoRectangle);
    return FALSE;
  }
  *rect = RECT{0, 0, 0, 0};
  if (m_previewWindow) {
    HWND window = m_previewWindow->GetSafeHwnd();
    if (window) {
      ::GetWindowRect(window, rect);
      ::MapWindowPoints(nullptr, ::GetParent(window), reinterpret_cast<POINT*>(rect), 2);
      s_windowVisible = ::IsWindowVisible(window) ? 1 : 0;
      m_previewWindow->DestroyWindow();
    }
    delete m_previewWindow;
    m_previewWindow = nullptr;
  }
  return TRUE;
}

BOOL COperationsHandler::OnChange(COptions* document, int redraw, DWORD flags) {
  if (!document) {
    InternalError(kErrChangeNoDocument);
    return FALSE;
  }
  DWORD primary = 1;
  for (DWORD group : {0x4u, 0x8u, 0x10u, 0x2u, 0x3F0000u}) {
    if (flags & group) {
      primary = group;
      break;
    }
  }
  // Only the call of the primary group redraws: one change, one render.
  auto redrawIf = [&](DWORD group) { return primary == group && redraw ? 1 : 0; };
  if (flags & 1) {
    OnTextChanged(document, 0, -1);
    OnConstraintChanged(document, 0);
  }
  if (flags & 0x3F0000) OnBevelChanged(document, redrawIf(0x3F0000));
  if (flags & 2) {
    OnFontChanged(document, 0, 1, 0);
    OnConstraintChanged(document, redrawIf(2));
  }
  if (flags & 0x10) OnShadowChanged(document, redrawIf(0x10));
  if (flags & 0xC) OnTextureChanged(document, redrawIf(8), 1);
  if (flags & 4) OnColourChanged(document, redrawIf(4), flags);
  return TRUE;
}

BOOL COperationsHandler::OnDocumentClosed() {
  if (!m_previewWindow) {
    InternalError(kErrClosedNoWindow);
    return FALSE;
  }
  m_previewWindow->OnDocumentClosed();
  return TRUE;
}

BOOL COperationsHandler::GetPageRect(RECT* rect) {
  if (rect) *rect = RECT{0, 0, 0, 0};
  return FALSE;
}

BOOL COperationsHandler::ShowImage(const CString& file, int flag) {
  return ShowPreviewImage(file, !flag);
}

bool COperationsHandler::IsBackgroundLoaded(const CString& name, const COptions& record) const {
  const CString rooted = GetOperationsServices().GetRootPath() + name;
  return (m_backgroundImageName == name || m_backgroundImageName == rooted) &&
         m_backgroundImageName == record.GetBackgroundImageFile();
}

BOOL COperationsHandler::SetBackgroundImage(const CString& name, int width, int height, DWORD* buffer,
                                            int mode) {
  COptions* record = GetOperationsServices().GetOptions();
  if (!record) {
    InternalError(kErrBackgroundNoDocument);
    return FALSE;
  }
  if (!m_backgroundBitmap) {
    m_backgroundBitmap = new (std::nothrow) Bitmap32;
    if (!m_backgroundBitmap) {
      InternalError(kErrBackgroundBitmap);
      return FALSE;
    }
  }
  const bool picture = record->GetGraphicType() == kGraphicPicture;
  if (!picture && IsBackgroundLoaded(name, *record)) return TRUE;

  Bitmap32 working;
  const std::uint32_t fill = static_cast<std::uint32_t>(record->GetBackgroundColourRGB()) | 0xFE000000u;
  if (width <= 0 || height <= 0 || working.CreateFilled(width, height, fill) != 0) {
    InternalError(kErrBackgroundBitmap);
    return FALSE;
  }
  if (name.IsEmpty()) {
    record->SetUserBitmap(width, height, reinterpret_cast<const DWORD*>(working.Pixels()));
    m_backgroundImageName.Empty();
    record->SetCurrentTextureString(CString());
    return TRUE;
  }
  if (mode == 1 && name == kPictureBackgroundName) {
    if (!buffer || m_backgroundBitmap->CreateFromPixels(width, height,
                                                        reinterpret_cast<const std::uint32_t*>(buffer)) != 0)
      return FALSE;
    working.TileFrom(*m_backgroundBitmap);
    record->SetUserBitmap(width, height, reinterpret_cast<const DWORD*>(m_backgroundBitmap->Pixels()));
    m_backgroundImageName.Empty();
  } else if (mode == 1) {
    if (!IsBackgroundLoaded(name, *record)) {
      const CString path = DocumentFiles::MakeAbsolutePath(name, GetOperationsServices().GetRootPath());
      Bitmap32* loaded = new (std::nothrow) Bitmap32;
      if (!loaded || GetOperationsServices().LoadImage32(path, *loaded) != 0) {
        delete loaded;
        return FALSE;
      }
      m_backgroundImageName = name;
      // The picture is flattened onto the background colour: the design shows through nothing.
      Bitmap32* flattened = RecolourBitmap32(loaded, record->GetColourValue(0), true);
      if (!flattened) return FALSE;
      delete m_backgroundBitmap;
      m_backgroundBitmap = flattened;
      record->SetUserBitmap(flattened->Width(), flattened->Height(),
                            reinterpret_cast<const DWORD*>(flattened->Pixels()));
    }
    if (!m_backgroundBitmap->Pixels() || m_backgroundBitmap->Width() <= 0) return FALSE;
    working.TileFrom(*m_backgroundBitmap);
  } else {
    m_backgroundImageName.Empty();
  }
  record->SetCurrentTextureString(m_backgroundImageName);
  if (buffer)
    std::copy(working.Pixels(), working.Pixels() + static_cast<std::size_t>(width) * height,
              reinterpret_cast<std::uint32_t*>(buffer));
  return TRUE;
}

#endif  // _WIN32
