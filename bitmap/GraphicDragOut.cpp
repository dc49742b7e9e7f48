#include "bitmap/GraphicDragOut.h"

#include "bitmap/BitmapExporter.h"
#include "bitmap/ExportRecord.h"
#include "bitmap/SaveGif.h"

#include <shlobj.h>

#include <cstring>
#include <memory>

// ---- CGraphicDropSource ----

HRESULT CGraphicDropSource::QueryInterface(REFIID iid, void** object) {
  if (!object) return E_POINTER;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDropSource)) {
    *object = static_cast<IDropSource*>(this);
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

HRESULT CGraphicDropSource::QueryContinueDrag(BOOL escapePressed, DWORD keyState) {
  if (escapePressed || (keyState & m_cancelButton)) {
    m_dragStarted = FALSE;
    return DRAGDROP_S_CANCEL;
  }
  if (!(keyState & m_dropButton)) return m_dragStarted ? DRAGDROP_S_DROP : DRAGDROP_S_CANCEL;
  return S_OK;
}

HRESULT CGraphicDropSource::GiveFeedback(DWORD) { return m_dragStarted ? DRAGDROP_S_USEDEFAULTCURSORS : S_OK; }

namespace {
constexpr UINT kLastMouseMessage = 0x209;

bool IsButtonMessage(UINT message) {
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
      return true;
    default:
      return false;
  }
}

// Where a message happened, in screen coordinates: mouse messages carry their client point.
POINT MessagePoint(const MSG& message) {
  if (message.message >= WM_MOUSEFIRST && message.message <= kLastMouseMessage && message.hwnd &&
      message.message != WM_MOUSEWHEEL) {
    POINT point{short(LOWORD(message.lParam)), short(HIWORD(message.lParam))};
    ClientToScreen(message.hwnd, &point);
    return point;
  }
  return message.pt;
}
}  // namespace

BOOL CGraphicDropSource::OnBeginDrag(HWND window) {
  m_dragStarted = FALSE;
  if (!m_graphicLoaded) return FALSE;
  if (GetKeyState(VK_LBUTTON) < 0) {
    m_dropButton = MK_LBUTTON;
    m_cancelButton = MK_RBUTTON;
  } else if (GetKeyState(VK_RBUTTON) < 0) {
    m_dropButton = MK_RBUTTON;
    m_cancelButton = MK_LBUTTON;
  }
  SetCapture(window);
  while (!m_dragStarted) {
    if (GetCapture() != window) break;
    MSG message;
    if (!PeekMessageA(&message, nullptr, WM_MOUSEFIRST, kLastMouseMessage, PM_REMOVE) &&
        !PeekMessageA(&message, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {
      // Nothing yet: sleep until input arrives rather than spin while the button is held.
      MsgWaitForMultipleObjects(0, nullptr, FALSE, INFINITE, QS_INPUT | QS_POSTMESSAGE | QS_SENDMESSAGE);
      continue;
    }
    if ((message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE) || IsButtonMessage(message.message)) {
      ReleaseCapture();
      return m_dragStarted;
    }
    if (!PtInRect(&m_dragStartRect, MessagePoint(message))) m_dragStarted = TRUE;
  }
  ReleaseCapture();
  return m_dragStarted;
}

// ---- Rendering ----

BOOL WriteGraphicFile(ExportRecord* record, const char* path) {
  if (!record || !path) return FALSE;
  if (record->GetStateCount() > 1) return SaveAnimatedGif(path, true) ? TRUE : FALSE;
  std::unique_ptr<CBitmapExporter> exporter(CreateExporter(record, 0));
  return exporter && exporter->ExportToFile(path, 0) == 0;
}

HGLOBAL MakeDropFilesBlock(const char* path) {
  if (!path || !*path) return nullptr;
  const std::size_t length = std::strlen(path);
  const HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + length + 2);
  if (!block) return nullptr;
  auto* files = static_cast<DROPFILES*>(GlobalLock(block));
  if (!files) {
    GlobalFree(block);
    return nullptr;
  }
  files->pFiles = sizeof(DROPFILES);
  files->pt = POINT{0, 0};
  files->fNC = TRUE;
  files->fWide = FALSE;
  std::memcpy(reinterpret_cast<char*>(files) + sizeof(DROPFILES), path, length);  // two zeros follow
  GlobalUnlock(block);
  return block;
}

BOOL RenderGraphicGlobalData(UINT format, ExportRecord* record, const GraphicDropFile& file, HGLOBAL* out) {
  if (!out) return FALSE;
  *out = nullptr;
  if (format == CF_DIB) {
    std::unique_ptr<CBitmapExporter> exporter(CreateExporter(record, 0));
    if (exporter) *out = exporter->CopyToClipboard();
    return *out != nullptr;
  }
  if (format != CF_HDROP || !record || file.path.IsEmpty()) return FALSE;
  // A target that asks twice during one drag gets the same file without a second export.
  if (!file.exported || !*file.exported) {
    const BOOL written = file.write ? file.write(record, file.path.GetString()) : WriteGraphicFile(record, file.path.GetString());
    if (!written) return FALSE;
    if (file.setExportPath) file.setExportPath(file.path.GetString());
    if (file.exported) *file.exported = TRUE;
  }
  *out = MakeDropFilesBlock(file.path.GetString());
  return *out != nullptr;
}
