// Prepared fills on 32-bit targets whose transparency needs more than a blend of the row
// buffer: the shading types, the two variant flags (masked source, own transparency) and the
// masked copy; and the bitmap sources that must keep their fourth byte for them.
#pragma once

#include "raster/TessroDrawInternal.h"
#include "raster/TessroPathArea.h"

// The span of a prepared fill with a transparency type on a 32-bit target, colour being the
// fill's own span into the row buffer. Hands the plain blends to the blend spans.
TessroSpanFunc TessroPreparedTransparencySpan(TessroContext* context, TessroSpanFunc colour);
// The coverage writer of the same fill, after the span above has been chosen.
TessroCoverageWriteFunc TessroPreparedTransparencyWriter(TessroContext* context);

// The fill-index entry of the prepared fill, adjusted so that a bitmap source delivers its
// fourth byte when the transparency reads it.
TessroFillIndexEntry TessroPreparedFillEntry(const TessroContext* context);

// Shading spans (transparency types 34..36) of formats 6 and 7: plain (the amount in the
// colour's fourth byte) or paired (the colour's fourth byte is its own transparency, the
// amount in the second row buffer).
TessroSpanFunc TessroShadingSpan(bool premultiplied, bool paired);
TessroCoverageWriteFunc TessroShadingWriter(bool premultiplied, bool paired);
