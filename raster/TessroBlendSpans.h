// Transparent compositing on 32-bit targets: the mix, multiply and screen blends of a flat
// colour or of a prepared fill's row buffer into the target.
#pragma once

#include "raster/TessroDrawInternal.h"
#include "raster/TessroPathArea.h"

// Aliased span of a transparent flat colour (fill styles 4..23); fails with its code for the
// blends this build has no routine for.
TessroSpanFunc TessroFlatBlendSpan(TessroContext* context);
// Aliased span of a prepared fill with a transparency type on a 32-bit target: the fill's own
// span (colour) writes the row buffer, the returned span blends it into the target.
TessroSpanFunc TessroPreparedBlendSpan(TessroContext* context, TessroSpanFunc colour);
// Coverage writers of the same blends: the flat colour, or the row buffer the fill's span
// filled (the prepared blend span only fills it in coverage mode).
TessroCoverageWriteFunc TessroFlatBlendWriter(TessroContext* context);
TessroCoverageWriteFunc TessroPreparedBlendWriter(TessroContext* context);
