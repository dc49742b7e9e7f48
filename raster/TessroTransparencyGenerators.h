// Transparency generators of linear transparency graduations: they write the transparency
// byte of every row-buffer pixel of a span, after running the colour fill's span into the row
// buffer (full entry) or alone (alpha-only entry). Their drivers run in front of the colour
// fill's, which they keep and call.
#pragma once

#include "raster/TessroDrawInternal.h"

// True when the context's transparency source has a generator in this build.
bool TessroHasTransparencyGenerator(const TessroContext* context);
// Installs the generator's drivers in front of the current ones and answers its span; colour is
// the fill's span into the row buffer (null: alpha-only).
TessroSpanFunc TessroSetUpTransparencyGenerator(TessroContext* context, TessroSpanFunc colour);
// The u/v transparency drivers of a mapping (0 three-point, 1 perspective, 2 row-affine) in
// front of the saved colour drivers: the square generators' and the bitmap masks'.
void TessroInstallUVTransparencyDrivers(TessroContext* context, int mapping);

// A generator's full or alpha-only entry around its loop: the full entry runs the colour
// fill's span into the row buffer first.
template <TessroSpanFunc Loop, bool Full>
void TessroGenerator(TessroContext* context, BYTE* row, std::int32_t y, std::int32_t x0, std::int32_t x1) {
    if (Full) context->draw.sourceSpan(context, row, y, x0, x1);
    Loop(context, row, y, x0, x1);
}

// The transparency byte of a row-buffer word: stored, or ORed in (masked sources keep their
// mark).
template <bool Or>
inline void TessroPutTransparency(BYTE* row, std::int32_t x, BYTE value) {
    BYTE& b = row[4 * x + 3];
    b = Or ? static_cast<BYTE>(b | value) : value;
}

// The storing or OR-ing loop of a generator family, full or alpha-only entry:
// Family<Or, Full>::Get(args...).
template <template <bool, bool> class Family, class... Args>
TessroSpanFunc TessroPickGenerator(bool full, bool orIng, Args... args) {
    if (full) return orIng ? Family<true, true>::Get(args...) : Family<false, true>::Get(args...);
    return orIng ? Family<true, false>::Get(args...) : Family<false, false>::Get(args...);
}
