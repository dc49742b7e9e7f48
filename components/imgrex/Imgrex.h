// The image importer's COM interface, as its in-process server offers it and the program calls
// it. Windows only.
//
// Open reads a file and recognises its format by content; Info gives the picture's size and the
// depth of what Read delivers (always 32 bits per pixel: 0xTTRRGGBB words, TT the transparency
// with 0 opaque, rows bottom-up); Read decodes into the caller's buffer of byteCount bytes.
#pragma once

#include <objbase.h>

// {1E18CBAE-9735-11D5-8FA3-004005712A88}
inline const CLSID kImgrexClassId = {0x1E18CBAE, 0x9735, 0x11D5, {0x8F, 0xA3, 0x00, 0x40, 0x05, 0x71, 0x2A, 0x88}};
// {73265B00-54F5-11D1-9BAD-0020AFE14B3D}
inline const IID kImgrexInterfaceId = {0x73265B00, 0x54F5, 0x11D1, {0x9B, 0xAD, 0x00, 0x20, 0xAF, 0xE1, 0x4B, 0x3D}};

struct IImgrex : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Open(BSTR path, long* handle) = 0;
  virtual HRESULT STDMETHODCALLTYPE Info(long handle, long* width, long* height, long* bitsPerPixel) = 0;
  virtual HRESULT STDMETHODCALLTYPE Read(long handle, long byteCount, void* destination) = 0;
};
