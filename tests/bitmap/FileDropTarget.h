// A drop target for drag tests: a plain window that takes dropped files with the copy effect and
// keeps the first name it was given.
#pragma once

#include <ole2.h>
#include <shellapi.h>
#include <windows.h>

#include <string>

struct FileDropTarget : IDropTarget {
  HWND window = nullptr;
  std::string dropped;

  // A visible popup window at the screen rectangle, registered for drops (OLE initialised).
  bool Open(int x, int y, int width, int height) {
    WNDCLASSA plain{};
    plain.lpfnWndProc = DefWindowProcA;
    plain.hInstance = GetModuleHandleA(nullptr);
    plain.lpszClassName = "BwFileDropTarget";
    RegisterClassA(&plain);  // a static control would let the pointer's hit test through
    window = CreateWindowExA(0, plain.lpszClassName, "target", WS_POPUP | WS_VISIBLE, x, y, width, height, nullptr,
                             nullptr, plain.hInstance, nullptr);
    return window && RegisterDragDrop(window, this) == S_OK;
  }
  ~FileDropTarget() {
    if (!window) return;
    RevokeDragDrop(window);
    DestroyWindow(window);
  }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    *object = IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDropTarget) ? this : nullptr;
    return *object ? S_OK : E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE DragEnter(IDataObject*, DWORD, POINTL, DWORD* effect) override {
    *effect = DROPEFFECT_COPY;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL, DWORD* effect) override {
    *effect = DROPEFFECT_COPY;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE DragLeave() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD, POINTL, DWORD* effect) override {
    FORMATETC drop{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM medium{};
    *effect = DROPEFFECT_NONE;
    if (data->GetData(&drop, &medium) != S_OK) return S_OK;
    char name[MAX_PATH] = "";
    DragQueryFileA(static_cast<HDROP>(medium.hGlobal), 0, name, MAX_PATH);
    dropped = name;
    ReleaseStgMedium(&medium);
    *effect = DROPEFFECT_COPY;
    return S_OK;
  }
};
