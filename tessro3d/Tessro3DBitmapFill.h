// The bitmap fill style: a source bitmap mapped onto the device by three caller points.
#pragma once

namespace tessro3d {

// Fills the span output record for fill style 12 (called by SetUpSpanOutput).
void SetUpBitmapFillSpans();

}  // namespace tessro3d
