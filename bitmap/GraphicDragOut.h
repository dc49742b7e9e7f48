// Dragging the current graphic out of the program: the drop source that decides when a press
// becomes a drag, and the delayed rendering of the two offered formats (a packed DIB and a file
// drop). Windows only.
#pragma once

#include "framework/core/CString.h"

#include <ole2.h>
#include <windows.h>

class ExportRecord;

// The drop source of a graphic drag. A COM object on the stack of the caller that runs the drag;
// it lives for one drag and ignores reference counting.
class CGraphicDropSource : public IDropSource {
public:
  CGraphicDropSource() = default;
  virtual ~CGraphicDropSource() = default;

  // Escape or the cancel button cancels; releasing the drop button drops once the drag started.
  HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escapePressed, DWORD keyState) override;
  HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD effect) override;
  // Runs the pre-drag loop: true when the pointer leaves the start rectangle with the button
  // held; false when no graphic is loaded, on Escape, on another button press or release, or
  // when the capture is taken away. Waits for messages instead of polling.
  virtual BOOL OnBeginDrag(HWND window);

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }

  // The rectangle around the press point, in screen coordinates, that the pointer must leave.
  RECT m_dragStartRect{0, 0, 0, 0};
  DWORD m_dropButton = MK_LBUTTON;
  DWORD m_cancelButton = MK_RBUTTON;
  BOOL m_dragStarted = FALSE;
  // The current option record has a graphic (set by the caller before the drag).
  BOOL m_graphicLoaded = FALSE;
};

// What the file-drop rendering needs of the program: the offered path, the record's export path
// and the way a file is written. The graphic popup menu owns one answer per drag.
struct GraphicDropFile {
  CString path;            // the offered file; empty offers nothing
  BOOL* exported = nullptr;  // set once the graphic has been written to the path
  // Writes the graphic to the path; true on success. Null: the standard exporters.
  BOOL (*write)(ExportRecord* record, const char* path) = nullptr;
  // Records the written file as the record's export path.
  void (*setExportPath)(const char* path) = nullptr;
};

// Renders one offered format into a global block: CF_DIB through the exporter's clipboard copy,
// CF_HDROP by writing the file once (an animated GIF for several states) and wrapping its path.
// True when a block was produced.
BOOL RenderGraphicGlobalData(UINT format, ExportRecord* record, const GraphicDropFile& file, HGLOBAL* out);

// The standard way a dropped file is written.
BOOL WriteGraphicFile(ExportRecord* record, const char* path);
// A DROPFILES block for one path (ANSI names, double zero); null for an empty path.
HGLOBAL MakeDropFilesBlock(const char* path);

// The data object of one graphic drag: the file drop offered by delayed rendering, the file
// written the first time a target asks for it. Reference counted, since a target may keep it
// after the drag; once closed it only answers with a file already written.
class CGraphicDataObject : public IDataObject {
public:
  // file.exported is ignored: the object keeps its own flag for its one drag.
  CGraphicDataObject(ExportRecord* record, const GraphicDropFile& file);

  // The drag is over: nothing more is written.
  void Close() { m_closed = true; }
  BOOL IsRendered() const { return m_rendered; }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override;
  HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return DATA_E_FORMATETC; }
  HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override;
  HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC* in, FORMATETC* out) override;
  HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** formats) override;
  HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return OLE_E_ADVISENOTSUPPORTED; }
  HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
  HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

private:
  virtual ~CGraphicDataObject() = default;

  LONG m_references = 1;
  ExportRecord* m_record;
  GraphicDropFile m_file;
  BOOL m_rendered = FALSE;
  bool m_closed = false;
};

// Drags the graphic out of window as a file, with the copy effect only: the drop source's
// pre-drag loop first (the pointer must leave startRect, in screen coordinates, with the button
// held), then the system drag. The file is written at file.path when a target first asks for it.
// DROPEFFECT_COPY after a drop, DROPEFFECT_NONE when no drag ran or it was cancelled.
DWORD DragGraphicOut(HWND window, const RECT& startRect, BOOL graphicLoaded, ExportRecord* record,
                     const GraphicDropFile& file);
