#include "tests/opsmanager/FakeOperationsServices.h"

#include "bitmap/Bitmap32.h"

// Every picture is a 4 x 4 opaque grey square, except names containing "missing".
int FakeOperationsServices::LoadImage32(const CString& path, Bitmap32& bitmap) {
  if (path.Find("missing") >= 0) return -1;
  return bitmap.CreateFilled(4, 4, 0x00808080u) < 0 ? -1 : 0;
}
