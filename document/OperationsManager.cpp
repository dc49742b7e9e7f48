#include "document/OperationsManager.h"

#ifdef _WIN32

#include <algorithm>
#include <new>
#include <vector>

#include "bitmap/AnimationRenderer.h"
#include "bitmap/BitmapExporter.h"
#include "bitmap/bitmapmanip.h"
#include "document/NavBarModel.h"
#include "document/OperationsHandler.h"
#include "document/OperationsServices.h"
#include "document/OptionsExportRecord.h"
#include "document/Options.h"
#include "document/RenderRequest.h"
#include "document/TemplateHandler.h"

IMPLEMENT_DYNAMIC(COperationsManager, CObject)

namespace {
const char kSource[] = "OperationsManager";
enum : int { kErrNoFrameList = 377, kErrNoNavBar = 389, kErrNoHandler = 538 };
constexpr int kSwatchSize = 10;
constexpr int kSwatchJpegQuality = 50;
}  // namespace

COperationsManager* COperationsManager::GetInitialised() { return GetInitialisedOperationsManager(); }

void COperationsManager::InternalError(int line) { GetOperationsServices().InternalError(line, kSource); }

COperationsManager::COperationsManager(CWnd* parent) : m_parent(parent) {}

COperationsManager::~COperationsManager() {
  if (GetInitialisedOperationsManager() == this) SetInitialisedOperationsManager(nullptr);
  // Handlers first: their preview windows may still reach the frame list while they go.
  for (COperationsHandler* handler : m_handlers) delete handler;
  m_handlers.clear();
  m_currentHandler = nullptr;
  delete m_navBar;
  delete m_animation;
}

void COperationsManager::AddHandler(COperationsHandler* handler) {
  if (handler) m_handlers.push_back(handler);
}

BOOL COperationsManager::Init() {
  SetInitialisedOperationsManager(this);
  COperationsHandler* handler = new (std::nothrow) CTemplateHandler;
  if (!handler) return FALSE;
  if (!handler->Initialise()) {
    delete handler;
    return FALSE;
  }
  AddHandler(handler);
  m_currentHandler = GetFirstHandler();
  m_currentHandler->Activate(m_parent, RECT{0, 0, 0, 0});
  m_animation = new (std::nothrow) CAnimationRenderer;
  if (!m_animation) {
    InternalError(kErrNoFrameList);
    return FALSE;
  }
  m_navBar = GetOperationsServices().CreateNavBar();
  if (!m_navBar) {
    // No navigation bar module in this program: everything but navigation-bar mode works.
    return TRUE;
  }
  return m_navBar->CreateDefaultButtons() ? TRUE : FALSE;
}

COperationsHandler* COperationsManager::FindHandler(const CString& extension) const {
  for (COperationsHandler* handler : m_handlers) {
    std::vector<CString> extensions;
    handler->GetFileExtensions(&extensions);
    for (const CString& known : extensions)
      if (known.CompareNoCase(extension) == 0) return handler;
  }
  return nullptr;
}

BOOL COperationsManager::OpenDocument(const CString& path, int flagA, int flagB) {
  if (path.IsEmpty()) {
    if (m_currentHandler && !m_fileName.IsEmpty()) m_currentHandler->LoadFile(CString(), 0, flagB);
    m_fileName.Empty();
    m_currentHandler = nullptr;
    if (COperationsHandler* first = GetFirstHandler()) first->OnDocumentClosed();
    return TRUE;
  }
  const int dot = path.ReverseFind('.');
  if (dot < 0) return FALSE;
  CString extension = path.Mid(dot + 1);
  extension.MakeLower();
  COperationsHandler* handler = FindHandler(extension);
  if (handler) {
    m_fileName = path;
    if (handler != m_currentHandler) {
      RECT rect = {0, 0, 0, 0};
      // After a close there is no current handler; the window of the handler being reopened
      // may still exist and keeps its place.
      if (m_currentHandler) m_currentHandler->Deactivate(&rect);
      else if (handler->GetPreviewWindow()) handler->Deactivate(&rect);
      m_currentHandler = handler;
      if (!handler->Activate(m_parent, rect)) return FALSE;
    }
    return m_currentHandler->LoadFile(path, flagA, flagB);
  }
  COptions* record = GetOperationsServices().GetOptions();
  if (extension == "qtw" && flagA && flagB && record)
    return record->LoadStyleFile(path, StyleChangeMask(0xFFFFFFFFu), -1, kLoadTemplateStyle) ? TRUE : FALSE;
  m_fileName.Empty();
  InternalError(kErrNoHandler);
  return FALSE;
}

template <typename Call>
int COperationsManager::NotifyHandler(DWORD refreshFlags, int redraw, Call call) {
  if (m_currentHandler) call(m_currentHandler);
  return Refresh(redraw, refreshFlags);
}

int COperationsManager::NotifyChanged(COptions* document, int redraw, DWORD flags) {
  return NotifyHandler(flags, redraw, [&](COperationsHandler* h) { h->OnChange(document, redraw, flags); });
}

int COperationsManager::NotifyTextChanged(COptions* document, int redraw, int story) {
  return NotifyHandler(1, redraw, [&](COperationsHandler* h) { h->OnTextChanged(document, redraw, story); });
}

int COperationsManager::NotifyFontChanged(COptions* document, int redraw, DWORD mask, int story) {
  return NotifyHandler(2, redraw, [&](COperationsHandler* h) { h->OnFontChanged(document, redraw, mask, story); });
}

int COperationsManager::NotifyColourChanged(COptions* document, int redraw, DWORD mask) {
  return NotifyHandler(mask ? 0x8004 : 4, redraw, [&](COperationsHandler* h) {
    const DWORD passed = h->GetHandlerKind() == COperationsHandler::kKindPhoto ? mask : (mask & 0x100);
    h->OnColourChanged(document, redraw, passed);
  });
}

int COperationsManager::NotifyShadowChanged(COptions* document, int redraw) {
  return NotifyHandler(0x10, redraw, [&](COperationsHandler* h) { h->OnShadowChanged(document, redraw); });
}

int COperationsManager::NotifyTextureChanged(COptions* document, int redraw, int which) {
  return NotifyHandler(8, redraw, [&](COperationsHandler* h) { h->OnTextureChanged(document, redraw, which); });
}

int COperationsManager::NotifySizeChanged(COptions* document, int redraw) {
  return NotifyHandler(0x200, redraw, [&](COperationsHandler* h) { h->OnSizeChanged(document, redraw); });
}

int COperationsManager::NotifyConstraintChanged(COptions* document, int redraw) {
  return NotifyHandler(0x1000, redraw, [&](COperationsHandler* h) { h->OnConstraintChanged(document, redraw); });
}

int COperationsManager::NotifyExportSettingsChanged(COptions* document, int redraw) {
  return NotifyHandler(0x1000, redraw,
                       [&](COperationsHandler* h) { h->OnExportSettingsChanged(document, redraw); });
}

int COperationsManager::Refresh(int redraw, DWORD flags) {
  int result = 0;
  if (m_navBarMode) {
    if (!m_navBar) return 0;
    const int request = static_cast<int>(m_keptRequest);
    m_navBar->OnGraphicChanged(static_cast<int>(flags), request);
    if (redraw) result = m_navBar->Render(1, request);
    if ((flags & 4) && (m_keptRequest & ~2u)) m_navBar->UpdateMenuColours();
    if (flags & 0x203) m_navBar->TakeMenuFontFromGraphic();
    return result;
  }
  if (redraw) result = RenderPreview(1, m_keptRequest);
  m_keptRequest = 1;
  return result;
}

int COperationsManager::SelectState(int state) {
  return m_currentHandler ? m_currentHandler->SelectState(state) : 0;
}

BOOL COperationsManager::GetPageRect(RECT* rect) {
  if (m_currentHandler) return m_currentHandler->GetPageRect(rect);
  if (rect) *rect = RECT{0, 0, 0, 0};
  return FALSE;
}

BOOL COperationsManager::WriteColourSwatch(const CString& file) {
  COptions* record = GetOperationsServices().GetOptions();
  if (!record) return FALSE;
  std::vector<std::uint32_t> pixels;
  try {
    pixels.assign(kSwatchSize * kSwatchSize, ColourRefToPixel(record->GetTexReplacementColour()) & 0x00FFFFFFu);
  } catch (...) {
    return FALSE;
  }
  COptionsExportRecord adapter(*record);
  ExportRecord* exportRecord = &adapter;
  const int savedType = record->GetExportType();
  const unsigned savedQuality = record->GetJPEGQuality();
  record->SetExportType(1);
  record->SetJPEGQuality(kSwatchJpegQuality);
  record->SetModified();
  bool written = false;
  if (CBitmapExporter* exporter = CreateExporter(exportRecord, 0)) {
    // A swatch that could not be written must not pass for one: the blank texture would be
    // missing or stale.
    written = exporter->Export(exportRecord, file, kSwatchSize, kSwatchSize, 0, pixels.data()) != 0 &&
              exporter->WritePixels(pixels.data()) == 0;
    delete exporter;
  }
  record->SetExportType(savedType);
  record->SetJPEGQuality(savedQuality);
  record->SetModified();
  return written ? TRUE : FALSE;
}

#endif  // _WIN32
