// Render requests: what a preview render redoes is decided by a 32-bit word.
//
// A caller asks for a render with a word; it is unpacked into the render switches below, which
// the preview window reads while it renders, and the switches go back to what they were right
// after the render returns (their idle values, unless an outer request or SuspendRendering set
// them). Free functions give the rest of the program the current preview window. All of it
// runs on the user-interface thread.
#pragma once

#ifdef _WIN32

#include <cstdint>

#include "framework/core/CString.h"
#include "framework/core/WinTypes.h"

class Bitmap32;
class CTemplateWnd;

// Bits of the render-request word.
enum RenderRequestBits : DWORD {
  kRenderPageRefresh = 0x1,  // read the page rectangle again and recompute the buffer size
  kRenderKeepBuffer = 0x2,   // keep the rendered buffer; redo only shadow, composition, paint
  kRenderSuppress = 0x8,     // render and paint nothing
  kRenderFastShadow = 0x10,  // a cheap drop shadow instead of the soft shadow
  kRenderUnused20 = 0x20,
  kRenderHardEdges = 0x40,   // threshold the transparency; no shadow, no new layout
  kRenderShadowMove = 0x80,  // keep the buffer size; only move an unchanged shadow
  kRenderNoShadow = 0x100,   // make no shadow and leave the shadow margins alone
  kRenderUnused200 = 0x200,
};

// The process-wide switches a render reads.
struct CRenderSwitches {
  int pageRefresh = 0;
  int keepBuffer = 0;
  int suppress = 0;
  int fastShadow = 0;
  int unused20 = 0;
  int hardEdges = 0;
  int shadowMove = 0;
  int shadowAllowed = 1;  // inverted: 0 while a request asks for no shadow
  int unused200 = 0;
  int paintSuppressed = 0;

  // Sets every request switch from a word (the paint-suppressed flag is not part of a word).
  void SetFromWord(DWORD word);
};

CRenderSwitches& RenderSwitches();

// Holds a request's switches for one scope and puts the previous values back at its end, so a
// request made inside another render does not leave the outer one's switches reset.
class CRenderRequestScope {
 public:
  explicit CRenderRequestScope(DWORD word);
  CRenderRequestScope(const CRenderRequestScope&) = delete;
  CRenderRequestScope& operator=(const CRenderRequestScope&) = delete;
  ~CRenderRequestScope();

 private:
  CRenderSwitches m_saved;
};

int RenderPreview(int redraw, DWORD word);
int RenderWithFlags(int redraw, DWORD word);
int EnablePreviewPaint(bool enable);
void SuspendRendering();
void ResumeRendering();
CTemplateWnd* GetPreviewWindow();
void RepaintPreview();
BOOL ShowPreviewImage(const CString& file, int flag);
std::uint32_t* GetPreviewPixels();
void GetPreviewSize(int* width, int* height);
// A caller-owned composed picture (delete[]; see CTemplateWnd::RenderToBitmap), null without a window.
std::uint32_t* GetRenderedBitmap(int* width, int* height);

#endif  // _WIN32
