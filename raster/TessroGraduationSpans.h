// Span routines and row drivers of the radial, conical and square graduations, by target
// format. The span selection installs them; the graduation setters choose the indices.
#pragma once

#include "raster/TessroDrawInternal.h"

// Radial: drivers by mapping (0 three-point, 1 row-affine) and family (0 clamped,
// 1 repeating); one span per family, length and format serves both mappings.
extern const TessroRowDriver kTessroRadialDrivers[2][2];
TessroFillIndexEntry TessroRadialFillEntry(bool isLong, bool repeat, DWORD format);

// Conical: one driver and one span per format for both table lengths.
extern const TessroRowDriver kTessroConicalDriver;
TessroFillIndexEntry TessroConicalFillEntry(DWORD format);

// Square: drivers by mapping (0 three-point, 1 row-affine).
extern const TessroRowDriver kTessroSquareDrivers[2];
TessroFillIndexEntry TessroSquareFillEntry(bool isLong, bool repeat, DWORD format);

// Three-colour field by kind (0, 1, 2), three-point and row-affine (the square drivers).
TessroFillIndexEntry TessroThreeColourFillEntry(DWORD kind);
// The same by the perspective mapping (the shared perspective drivers).
TessroFillIndexEntry TessroPerspectiveThreeColourFillEntry(DWORD kind);

// Square-root tables of the clamped radial spans: floor(sqrt(i)) and floor(sqrt(64 i + 32)),
// i = 0..65535.
const BYTE* TessroCoarseRoots();
const WORD* TessroFineRoots();

// Perspective radial and square spans (the shared perspective drivers run them).
TessroFillIndexEntry TessroRadialPerspectiveFillEntry(bool isLong, bool repeat, DWORD format);
TessroFillIndexEntry TessroSquarePerspectiveFillEntry(bool isLong, bool repeat, DWORD format);

// Radial transparency generator (three-point or row-affine): installs its drivers in front of
// the saved colour drivers and answers the generator span.
TessroSpanFunc TessroSetUpRadialTransparency(TessroContext* context, bool rowAffine, bool isLong, bool repeat,
                                             bool full, bool orIng);

// Perspective radial transparency generator (the perspective transparency drivers), and the
// conical one (its own column arrays on the transparency set).
TessroSpanFunc TessroSetUpPerspectiveRadialTransparency(TessroContext* context, bool isLong, bool repeat, bool full,
                                                        bool orIng);
TessroSpanFunc TessroSetUpConicalTransparency(TessroContext* context, bool full, bool orIng);

// Three- and four-value transparency fields by their kind: the generator loop on the
// transparency set (stepped, or divided per pixel for the perspective mapping).
TessroSpanFunc TessroThreeValueTransparency(DWORD kind, bool perspective, bool full, bool orIng);
TessroSpanFunc TessroFourValueTransparency(DWORD kind, bool perspective, bool full, bool orIng);
