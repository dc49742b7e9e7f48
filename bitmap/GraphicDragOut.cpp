#include "bitmap/GraphicDragOut.h"

#include "bitmap/BitmapExporter.h"
#include "bitmap/ExportRecord.h"
#include "bitmap/SaveGif.h"

#include <shlobj.h>

#include <cstring>
#include <memory>
#include <new>

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

// ---- The data object of a drag ----

namespace {
bool IsOfferedFormat(const FORMATETC* format) {
  return format && format->cfFormat == CF_HDROP && (format->tymed & TYMED_HGLOBAL) &&
         format->dwAspect == DVASPECT_CONTENT && format->lindex == -1;
}

FORMATETC OfferedFormat() { return FORMATETC{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL}; }
}  // namespace

CGraphicDataObject::CGraphicDataObject(ExportRecord* record, const GraphicDropFile& file)
    : m_record(record), m_file(file) {
  m_file.exported = &m_rendered;
}

HRESULT CGraphicDataObject::QueryInterface(REFIID iid, void** object) {
  if (!object) return E_POINTER;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDataObject)) {
    *object = static_cast<IDataObject*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG CGraphicDataObject::AddRef() { return ULONG(InterlockedIncrement(&m_references)); }

ULONG CGraphicDataObject::Release() {
  const LONG left = InterlockedDecrement(&m_references);
  if (left == 0) delete this;
  return ULONG(left);
}

HRESULT CGraphicDataObject::QueryGetData(FORMATETC* format) {
  if (!format) return E_INVALIDARG;
  return IsOfferedFormat(format) ? S_OK : DV_E_FORMATETC;
}

HRESULT CGraphicDataObject::GetData(FORMATETC* format, STGMEDIUM* medium) {
  if (!format || !medium) return E_INVALIDARG;
  if (!IsOfferedFormat(format)) return DV_E_FORMATETC;
  HGLOBAL block = nullptr;
  if (m_closed) {
    // After the drag a target that kept the object gets the file only if it was written.
    if (m_rendered) block = MakeDropFilesBlock(m_file.path.GetString());
  } else {
    RenderGraphicGlobalData(CF_HDROP, m_record, m_file, &block);
  }
  if (!block) return E_FAIL;
  medium->tymed = TYMED_HGLOBAL;
  medium->hGlobal = block;
  medium->pUnkForRelease = nullptr;
  return S_OK;
}

HRESULT CGraphicDataObject::GetCanonicalFormatEtc(FORMATETC* in, FORMATETC* out) {
  if (!out) return E_INVALIDARG;
  if (in) *out = *in;
  out->ptd = nullptr;
  return DATA_S_SAMEFORMATETC;
}

HRESULT CGraphicDataObject::EnumFormatEtc(DWORD direction, IEnumFORMATETC** formats) {
  if (!formats) return E_POINTER;
  *formats = nullptr;
  if (direction != DATADIR_GET) return E_NOTIMPL;
  const FORMATETC offered = OfferedFormat();
  return SHCreateStdEnumFmtEtc(1, &offered, formats);
}

DWORD DragGraphicOut(HWND window, const RECT& startRect, BOOL graphicLoaded, ExportRecord* record,
                     const GraphicDropFile& file) {
  if (!window || file.path.IsEmpty()) return DROPEFFECT_NONE;
  CGraphicDropSource source;
  source.m_dragStartRect = startRect;
  source.m_graphicLoaded = graphicLoaded;
  if (!source.OnBeginDrag(window)) return DROPEFFECT_NONE;
  auto* data = new (std::nothrow) CGraphicDataObject(record, file);
  if (!data) return DROPEFFECT_NONE;
  DWORD effect = DROPEFFECT_NONE;
  const HRESULT result = DoDragDrop(data, &source, DROPEFFECT_COPY, &effect);
  data->Close();
  data->Release();
  return result == DRAGDROP_S_DROP ? (effect & DROPEFFECT_COPY) : DROPEFFECT_NONE;
}
