// What bitmap export needs of the application, as one narrow interface.
//
// The application installs its implementation at start-up (SetBitmapServices); tests install
// a small fake. Every operation has a harmless default, so that the pixel and writer code also
// runs where no application is present (the benchmarks).
#pragma once

#include "framework/core/WinTypes.h"

#include <string>

class Bitmap32;
class CAnimationRenderer;
class CTessro;
class ExportRecord;
class TessroConversion;

class BitmapServices {
public:
  virtual ~BitmapServices() = default;

  // Records a failed internal check (source name and line) as the application's internal error.
  virtual void InternalError(const char* sourceName, int line) {}
  // The application's rasterizer context, or null.
  virtual TessroConversion* GetTessroContext() { return nullptr; }
  // The application's rasterizer wrapper (drawing targets, palettes), or null.
  virtual CTessro* GetTessro() { return nullptr; }
  // The current option record, or null.
  virtual ExportRecord* GetOptions() { return nullptr; }

  // Preview rendering: true when the render succeeded.
  virtual bool RenderPreview(int redraw, int flags) { return false; }
  virtual bool RenderWithFlags(int flags, int redraw) { return false; }
  // A new 32-bit copy of the last render at the given size; the caller deletes it. Null when
  // there is none.
  virtual Bitmap32* GetRenderedBitmap(int width, int height) { return nullptr; }
  virtual void EnablePreviewPaint(bool enable) {}

  // The operations manager exists; its animation preview (null when it has none).
  virtual bool HasOperationsManager() { return false; }
  virtual CAnimationRenderer* GetAnimationRenderer() { return nullptr; }
  // Hands a frame to the preview window's picture display: -1 when there is no preview
  // window, else the display's result (nonzero when accepted).
  virtual int ShowPreviewPicture(int width, int height, const std::uint32_t* pixels) { return -1; }

  // The wait cursor of the main dialog: BeginWaitCursor is false when it is not available.
  virtual bool BeginWaitCursor() { return false; }
  virtual void EndWaitCursor() {}
  // The shared warning box with one button.
  virtual void InformWarning(int messageId, int buttonId) {}
  // The string-table message formatted with one text, shown as an error in the shared box and
  // kept as the pending error text.
  virtual void ReportError(int messageId, const char* argument) {}
  // Creates the folders of a file path.
  virtual void CreateFolder(const char* path) {}
  // A string-table entry; the default gives the program's own English texts.
  virtual std::string LoadString(int id);
};

// The installed services; never null (a default object when none is installed).
BitmapServices& GetBitmapServices();
// Installs services (null restores the default); returns the previous ones (null for the default).
BitmapServices* SetBitmapServices(BitmapServices* services);

// Records an internal error of a source unit through the installed services.
inline void BitmapInternalError(const char* sourceName, int line) {
  GetBitmapServices().InternalError(sourceName, line);
}
