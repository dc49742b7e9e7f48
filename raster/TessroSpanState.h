// Per-target and per-fill state of the drawing operations: target extent, clip and changed
// area, the prepared row callbacks, the row buffer, and the fields the graduation and
// colour-field setters hand to their span routines. Embedded in TessroContext.
#pragma once

#include <cstdint>

#include "raster/TessroApi.h"

typedef void (*TessroRowFunc)(TessroContext* context);
// Writes pixels x0 <= x < x1 of row y, whose first byte is at row.
typedef void (*TessroSpanFunc)(TessroContext* context, BYTE* row, std::int32_t y, std::int32_t x0,
                               std::int32_t x1);

const int kTessroRowBufferPixels = 16384;

// Geometry of one graduation or field: the three-point fields and the four-point forms.
struct TessroFillGeometry {
    // Three-point mapping: origin in 1/1024 px, gradients per 1/1024 px in units of 2^-32,
    // steps per whole pixel in 32.32.
    std::int32_t originX;
    std::int32_t originY;
    std::int32_t halfPixel;
    double dudx, dvdx, dudy, dvdy;
    std::int64_t stepUx, stepVx, stepUy, stepVy;

    // Four-point mapping (already scaled by the extents); see the anchor setup.
    BYTE rowAffine;
    double uX, uY, u0;
    double vX, vY, v0;
    double denY, den0;

    // Per-row state of the row drivers, kept apart from the per-fill values above so that
    // every fill with the same style starts from the same values.
    std::int64_t rowU, rowV;
    std::int64_t rowStepU, rowStepV;
    double rowGradientU, rowGradientV;
    std::int32_t rowBaseColumn;  // column of rowU/rowV (linear spans)
    std::int32_t rowOriginX;     // origin x of the span start (field spans), 1/1024 px
    double runU, runV, runDen;
};

// Radial graduation geometry: centre in 1/1024 px, the axis vectors in pixels and the values
// the radial rows and spans derive from them.
struct TessroRadialGeometry {
    std::int32_t centreX, centreY;
    std::int32_t halfPixel;
    double ax, ay, bx, by;
    double s;  // Ay^2 + By^2
    double d;  // Ax By - Ay Bx
    std::int64_t slope;  // 32.32: x shift of the centre line per row
    double rowDistanceFactor;
    double widthFactor;
    double curvature;
    std::int64_t secondDifference;
};

// Conical graduation: centre in whole pixels, start angle (pi = 2^24) and the four quadrant
// tables (below, right, above, left) of entry indices, index -1025..1024 stored from 0.
const int kTessroAngleTableEntries = 2050;
struct TessroConicalGeometry {
    std::int32_t centreX, centreY;
    std::int32_t startAngle;
    DWORD angles[4][kTessroAngleTableEntries];
};

// Per-row state of a radial graduation, written by its row drivers and read by its spans:
// centre line and half chord (32.32 px), the row's smallest distance, and the form that
// evaluates r^2 and its differences at a span's first pixel for the fill's mapping.
struct TessroRadialRow;
typedef void (*TessroRadialStart)(const TessroRadialGeometry& geometry, const TessroFillGeometry& fill,
                                  TessroRadialRow& row, std::int32_t x, std::int32_t y);
struct TessroRadialRow {
    std::int64_t centreLine;
    std::int64_t halfWidth;
    std::int64_t distance;     // clamped: r_min^2 * 2^48
    double distanceSquare;     // repeating: r_min^2 in squared entry units
    BYTE outside;              // the whole row lies at or beyond the rim
    TessroRadialStart start;
    // Four-point row-affine coefficients (per fill) and the row's factors.
    double sx, dotY, dot0, crossY, cross0;
    double inverseW2, base;
    std::int64_t secondDifference;
    // Values of the span start: r^2 and its first and second differences.
    std::int64_t value, difference;
    double valueF, differenceF, secondF;
};

// Conical column arrays: per column right or left of the centre, the tangent ratio of the
// current row and its step per row (32.32 values scaled by 2^10).
const int kTessroConicalColumns = 16384;
struct TessroConicalRows {
    std::int32_t firstColumn, columnCount;
    std::int64_t rowStep;
    std::int64_t ratios[kTessroConicalColumns];
    std::int64_t steps[kTessroConicalColumns];
};

// Source of a bitmap fill, read in place while the fill style is in use: rows of rowSize
// bytes from bits (source row 0 first), the format code of the texel reader, the translated
// palette and the channel tables (red, green, blue, fourth), the outside colour (0x00RRGGBB)
// and the tile style.
struct TessroBitmapSource {
    const BYTE* bits;
    std::int32_t rowSize;
    std::int32_t width, height;
    DWORD code;
    DWORD tileStyle;
    DWORD outside;
    DWORD palette[256];
    BYTE tables[4][256];
};

// Tap table of a filtered bitmap fill or mask: taps per axis n and n x 64 weights (tap t,
// phase p at 64 t + p), each phase summing to about 32768; built once per fill.
const int kTessroMaxFilterTaps = 100;
const int kTessroFilterPhases = 64;
struct TessroFilterTaps {
    std::int32_t count;
    std::int32_t weights[kTessroMaxFilterTaps * kTessroFilterPhases];
};

struct TessroDrawState {
    // Target extent in device units (1/16384 px).
    std::int32_t widthDevice;
    std::int32_t heightDevice;

    // Clip rectangle in pixels and device units; left, top, right, bottom (exclusive).
    std::int32_t clip[4];
    std::int32_t clipDevice[4];
    const TessroClipRegion* clipRegion;
    // Changed area in pixels; empty is (0x7FFFFFFF, 0x7FFFFFFF, 0x80000000, 0x80000000).
    std::int32_t changed[4];
    // Bounds of the running operation, in pixels.
    std::int32_t bounds[4];

    // Prepared callbacks of the running operation.
    TessroRowFunc begin;
    TessroRowFunc rowStart;
    TessroSpanFunc span;
    TessroRowFunc rowEnd;
    TessroRowFunc finish;
    TessroSpanFunc rowBufferFill;  // the fill behind a row converter
    TessroSpanFunc stageANext;
    TessroSpanFunc stageBNext;
    BYTE* rowAddress;
    std::int32_t row;

    // Prepared fill (fill style 3): routine indices chosen by its setter.
    DWORD fillIndex;
    DWORD rowDriver;
    DWORD transparencyAmount;
    BYTE separationOn;
    BYTE separationSelector;
    BYTE colourMapOn;
    BYTE colourMapSelector;

    // Graduation tables: first entry (header skipped), long and repeat flags.
    const DWORD* tableEntries;
    BYTE longTable;
    BYTE repeat;
    BYTE graduationKind;
    TessroRadialGeometry radial;
    TessroConicalGeometry conical;
    TessroRadialRow radialRow;
    TessroRadialRow transparencyRadialRow;
    TessroConicalRows conicalRows;
    TessroBitmapSource bitmap;
    // Bitmap-fill switches, read by the next bitmap setter, and the filtering amount.
    // The colour fill's drivers and span while a transparency generator runs in front of them.
    TessroRowFunc savedBegin;
    TessroRowFunc savedRowStart;
    TessroRowFunc savedRowEnd;
    TessroSpanFunc sourceSpan;
    // The alpha-only transparency source of a pair routine, into the second row buffer.
    TessroSpanFunc amountSpan;
    BYTE bitmapSmoothing;
    BYTE bitmapFiltering;
    std::int32_t bitmapAmount;

    // Colour fields: corner colours (0x00BBGGRR) and kind.
    DWORD fieldColours[4];
    BYTE fieldKind;
    // Prepared per fill: per channel (blue, green, red) the colour along the c0-c1 and c3-c2
    // edges at each folded column, and the product-table rows by folded row.
    std::int16_t fieldTop[3][256];
    std::int16_t fieldBottom[3][256];
    const std::int16_t* productRows[256];

    TessroFillGeometry colour;

    // Transparency set: geometry, generator index + 1 (0 none), table or values, kind, flags.
    TessroFillGeometry transparency;
    std::int32_t transparencySource;
    const BYTE* transparencyTable;
    BYTE transparencyLong;
    BYTE transparencyRepeat;
    BYTE transparencyKind;
    BYTE transparencyValues[4];
    TessroRadialGeometry transparencyRadial;
    // Conical transparency: centre, start angle and quadrant tables of transparency values.
    std::int32_t transparencyCentreX, transparencyCentreY, transparencyStartAngle;
    BYTE transparencyAngles[4][kTessroAngleTableEntries];

    // Conical transparency: its own column arrays.
    TessroConicalRows transparencyConicalRows;
    // Bitmap transparency mask: its source (the translation table in tables[3], the outside
    // transparency in outside) on the transparency geometry; the filter tables of filtered
    // fills and masks.
    TessroBitmapSource mask;
    TessroFilterTaps filter;
    TessroFilterTaps maskFilter;

    // One row of 32-bit pixels for the fills that a converter or stage follows.
    DWORD rowBuffer[kTessroRowBufferPixels];
    // The second row: transparency amounts when a blend combines two transparencies.
    DWORD amountBuffer[kTessroRowBufferPixels];
};
