// Bitmap fill spans and masks, and the step reduction the repeating tiles share with the
// setters.
#pragma once

#include "raster/TessroDrawInternal.h"

// Fill indices of the bitmap families: nearest (three-point, row-affine, perspective), then
// smoothed and filtered, 78 each (6 tile groups x 13 source codes).
const DWORD kTessroBitmapFirstIndex = 296;
const DWORD kTessroSmoothedFirstIndex = 530;
const DWORD kTessroFilteredFirstIndex = 608;
// Transparency-source (generator) indices of the bitmap masks.
const DWORD kTessroMaskThreePoint = 43;
const DWORD kTessroMaskPerspective = 44;
const DWORD kTessroMaskRowAffine = 45;
const DWORD kTessroMaskSmoothed = 46;
const DWORD kTessroMaskFiltered = 47;

// Steps of a repeating or mirrored fill brought within half a period either way.
void TessroReduceBitmapSteps(TessroContext* context, std::int64_t* stepU, std::int64_t* stepV);
void TessroReduceSourceSteps(const TessroBitmapSource& source, std::int64_t* stepU, std::int64_t* stepV);
// Nearest-texel spans by offset 13 x tile style + source code: the affine mappings (three-point
// and row-affine) or the perspective one.
TessroFillIndexEntry TessroBitmapFillEntry(DWORD offset, bool perspective);
// Smoothed (bilinear) spans of three-point fills, by the same offset, and their driver.
TessroFillIndexEntry TessroSmoothedBitmapFillEntry(DWORD offset);
extern const TessroRowDriver kTessroSmoothedBitmapDriver;
// Filtered (cubic) spans of three-point fills by tile style and source code (0..15), and their
// driver, which builds the filter table once per fill.
TessroFillIndexEntry TessroFilteredBitmapFillEntry(DWORD tile, DWORD code);
extern const TessroRowDriver kTessroFilteredBitmapDriver;
// The entry of a bitmap fill index whose reader keeps the source's fourth byte.
TessroFillIndexEntry TessroBitmapFillEntryKeepingFourth(DWORD index);

// The specialised loops of the nearest and smoothed families (upright rows, 32-bit sources)
// are on by default; off, every span takes the general loop. Tests compare the two.
void TessroSetFastBitmapLoops(bool on);

// Mask generators (43 three-point, 44 perspective, 45 row-affine, 46 smoothed; 47 filtered):
// install their drivers in front of the saved colour drivers and answer the generator span.
TessroSpanFunc TessroSetUpBitmapMask(TessroContext* context, DWORD generator, bool full, bool orIng);
TessroSpanFunc TessroSetUpFilteredBitmapMask(TessroContext* context, bool full, bool orIng);
