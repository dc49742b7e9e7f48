// Span routine selection: once per operation, by table, the callbacks that the row loops call.
// Every combination without a routine fails with its code here, before any pixel is written.
#include "raster/TessroCoverage.h"
#include "raster/TessroDrawInternal.h"
#include "raster/TessroBitmapSpans.h"
#include "raster/TessroBlendSpans.h"
#include "raster/TessroGraduationSpans.h"
#include "raster/TessroMaskSpans.h"
#include "raster/TessroRegion.h"
#include "raster/TessroTintSpans.h"

namespace {

const DWORD kRowDriverCount = 32;
const DWORD kLinearKinds = 12;
const DWORD kRadialFirstKind = 12;
const DWORD kConicalKind = 24;
const DWORD kSquareFirstKind = 25;
const DWORD kRadialDriverFirst = 3;
const DWORD kBitmapIndicesPerMapping = 78;  // 6 tile styles x 13 source codes
const DWORD kBitmapPerspectiveFirst = 452;
const DWORD kThreeColourFirst = 686;
const DWORD kBitmapSmoothedFirst = 530;
const DWORD kGraduationIndices = 296;  // kind x 8 + format, kinds 0..36
const DWORD kFourColourFirst = 695;
const DWORD kFourColourLast = 700;
const DWORD kLastTransparencyType = 36;
const DWORD kTransparentFlatFirst = 4;
const DWORD kTransparentFlatLast = 23;

const TessroRowDriver kMissingDriver = {nullptr, nullptr, nullptr};



// The aliased selection (whole pixels), for every style but the prepared fill.
void SelectAliased(TessroContext* context) {
    TessroDrawState& draw = context->draw;
    const DWORD style = context->fillStyle, format = context->targetFormat;
    switch (style) {
        case kTessroFillXor:
            draw.span = TessroXorSpan(format);
            if (draw.span == nullptr) TessroFail(TESSRO_ERROR_INVALID_BITMAP_DEPTH);
            return;
        case kTessroFillFlat:
            draw.span = TessroFlatSpan(format);
            if (draw.span == nullptr) TessroFail(TESSRO_ERROR_INVALID_BITMAP_DEPTH);
            return;
        case 24:
        case 25: TessroFail(TESSRO_ERROR_INVALID_SCANLINE_ROUTINE);
        case 26:
        case 27:
        case 28: draw.span = TessroFlatTintSpan(context); return;
        case kTessroFillStatistics: TessroSelectStatistics(context); return;
        case kTessroFillRegionRecording:
        case kTessroFillHitTest: TessroSelectMeasuringRoutines(context); return;
        default:
            if (style >= kTransparentFlatFirst && style <= kTransparentFlatLast) {
                if (!TessroIs32BitFormat(format)) TessroFail(TESSRO_ERROR_MUST_BE_32BPP);
                draw.span = TessroFlatBlendSpan(context);
                return;
            }
            TessroFail(TESSRO_ERROR_UNDEFINED_FILL_STYLE);
    }
}

// Coverage mode: after the checks every style shares, the coverage routines of the fill style
// or of the measuring styles.
void SelectCoverage(TessroContext* context) {
    const DWORD style = context->fillStyle, format = context->targetFormat;
    if (style == kTessroFillNone || style > kTessroFillHitTest) TessroFail(TESSRO_ERROR_UNDEFINED_FILL_STYLE);
    if (style == kTessroFillXor || (style >= 24 && style <= kTessroFillStatistics)) {
        TessroFail(TESSRO_ERROR_INVALID_SCANLINE_ROUTINE);
    }
    if (style >= kTransparentFlatFirst && style <= kTransparentFlatLast && !TessroIs32BitFormat(format)) {
        TessroFail(TESSRO_ERROR_MUST_BE_32BPP);
    }
    if (format == kTessroFormat2 && style != kTessroFillRegionRecording && style != kTessroFillHitTest) {
        TessroFail(TESSRO_ERROR_INVALID_BITMAP_DEPTH);
    }
    if (style == kTessroFillRegionRecording || style == kTessroFillHitTest) {
        TessroSelectMeasuringRoutines(context);
        return;
    }
    TessroSelectCoverageRoutines(context);
}

void SelectPrepared(TessroContext* context) {
    TessroDrawState& draw = context->draw;
    const DWORD format = context->targetFormat;
    const TessroRowDriver& driver = TessroRowDriverAt(draw.rowDriver);
    const TessroFillIndexEntry entry = TessroPreparedFillEntry(context);
    if (entry.error != TESSRO_ERROR_NONE) TessroFail(entry.error);
    const DWORD type = context->transparencyType & 0xFF;
    if (type > kLastTransparencyType) TessroFail(TESSRO_ERROR_BAD_TRANSPARENCY_STYLE);
    const bool toRowBuffer = (entry.flags & kTessroFillToRowBuffer) != 0;
    const bool is32 = TessroIs32BitFormat(format);
    TessroSpanFunc converter = nullptr;
    if (!is32 && toRowBuffer) {
        converter = TessroRowConverter(format, context->targetMode);
        if (converter == nullptr) TessroFail(TESSRO_ERROR_INVALID_SCANLINE_ROUTINE);
    }
    const bool blended = is32 && (context->transparencyType & 0xC00000FFu) != 0;

    draw.begin = driver.begin;
    draw.rowStart = driver.rowStart;
    draw.rowEnd = driver.rowEnd;
    TessroSpanFunc span = entry.span;
    if (is32 || toRowBuffer) {
        if (draw.separationOn) {
            draw.stageANext = span;
            span = TessroSeparationStage(draw.separationSelector);
        }
        if (draw.colourMapOn && context->colourMap != nullptr) {
            draw.stageBNext = span;
            span = TessroColourMapStage();
        }
    }
    if (converter != nullptr) {
        draw.rowBufferFill = span;
        span = converter;
    }
    if (blended) span = TessroPreparedTransparencySpan(context, span);
    draw.span = span;
    if (entry.setup != nullptr) entry.setup(context);
}

}  // namespace

void TessroDefaultBegin(TessroContext* context) {
    TessroDrawState& draw = context->draw;
    draw.row = draw.bounds[1];
    draw.rowAddress = context->rowZero + static_cast<std::ptrdiff_t>(draw.row) * context->rowStep;
}

void TessroDefaultRowEnd(TessroContext* context) {
    TessroDrawState& draw = context->draw;
    draw.rowAddress += context->rowStep;
    ++draw.row;
}

void TessroNoRow(TessroContext*) {}
void TessroNoSpan(TessroContext*, BYTE*, std::int32_t, std::int32_t, std::int32_t) {}

const TessroRowDriver& TessroRowDriverAt(DWORD index) {
    switch (index) {
        case 0:
        case 1:
        case 2: return kTessroLinearDrivers[index];
        case 27: return kTessroThreePointDriver;
        case 28: return kTessroRowAffineDriver;
        case 29: return kTessroPerspectiveDriver;
        case 15: return kTessroConicalDriver;
        case 16:
        case 17: return kTessroSquareDrivers[index - 16];
        // Bitmap fills share the square graduation's drivers.
        case 19:
        case 20: return kTessroSquareDrivers[index - 19];
        // So do the three-colour fields.
        case 24:
        case 25: return kTessroSquareDrivers[index - 24];
        // Perspective square graduations.
        case 18:
        case 21:
        case 26: return kTessroPerspectiveDriver;
        case 22: return kTessroSmoothedBitmapDriver;
        case 23: return kTessroFilteredBitmapDriver;
        default:
            // Radial drivers 3..14: mapping + 3 x long + 6 x repeat; perspective ones (mapping 2)
            // are the shared perspective drivers.
            if (index >= kRadialDriverFirst && index < kRadialDriverFirst + 12) {
                const DWORD n = index - kRadialDriverFirst;
                if (n % 3 == 2) return kTessroPerspectiveDriver;
                return kTessroRadialDrivers[n % 3][n / 6];
            }
            if (index >= kRowDriverCount) TessroFail(TESSRO_ERROR_INVALID_SCANLINE_ROUTINE);
            // Drivers of the fills that a later build adds.
            TessroFail(TESSRO_ERROR_UNIMPLEMENTED);
    }
    return kMissingDriver;
}

TessroFillIndexEntry TessroFillIndexAt(DWORD index) {
    if (index >= kTessroFillIndexCount) return {nullptr, nullptr, 0, TESSRO_ERROR_INVALID_SCANLINE_ROUTINE};
    if (index < kGraduationIndices) {
        const DWORD kind = index / 8, format = index % 8;
        if (format == kTessroFormat2) return {nullptr, nullptr, 0, TESSRO_ERROR_INVALID_BITMAP_DEPTH};
        if (kind < kLinearKinds) return TessroLinearFillEntry(kind, format);
        // Radial and square kinds: mapping + 3 x long + 6 x repeat from their first kind.
        if (kind >= kRadialFirstKind && kind < kRadialFirstKind + 12) {
            const DWORD n = kind - kRadialFirstKind;
            if (n % 3 == 2) return TessroRadialPerspectiveFillEntry((n / 3) % 2 == 1, n >= 6, format);
            return TessroRadialFillEntry((n / 3) % 2 == 1, n >= 6, format);
        }
        if (kind == kConicalKind) return TessroConicalFillEntry(format);
        if (kind >= kSquareFirstKind && kind < kSquareFirstKind + 12) {
            const DWORD n = kind - kSquareFirstKind;
            if (n % 3 == 2) return TessroSquarePerspectiveFillEntry((n / 3) % 2 == 1, n >= 6, format);
            return TessroSquareFillEntry((n / 3) % 2 == 1, n >= 6, format);
        }
    } else if (index < kBitmapPerspectiveFirst + kBitmapIndicesPerMapping) {
        return TessroBitmapFillEntry((index - kGraduationIndices) % kBitmapIndicesPerMapping,
                                     index >= kBitmapPerspectiveFirst);
    } else if (index >= kBitmapSmoothedFirst && index < kBitmapSmoothedFirst + kBitmapIndicesPerMapping) {
        return TessroSmoothedBitmapFillEntry(index - kBitmapSmoothedFirst);
    } else if (index >= kTessroFilteredFirstIndex && index < kTessroFilteredFirstIndex + kBitmapIndicesPerMapping) {
        const DWORD offset = index - kTessroFilteredFirstIndex;
        return TessroFilteredBitmapFillEntry(offset / 13, offset % 13);
    } else if (index >= kThreeColourFirst && index < kThreeColourFirst + 9) {
        // Three-point 686..688, row-affine 689..691, perspective 692..694 by kind.
        const DWORD kind = (index - kThreeColourFirst) % 3;
        if (index >= kThreeColourFirst + 6) return TessroPerspectiveThreeColourFillEntry(kind);
        return TessroThreeColourFillEntry(kind);
    } else if (index >= kFourColourFirst && index <= kFourColourLast) {
        return TessroFourColourFillEntry(index);
    }
    return {nullptr, nullptr, 0, TESSRO_ERROR_UNIMPLEMENTED};
}

void TessroPrepareSpanRoutines(TessroContext* context) {
    TessroDrawState& draw = context->draw;
    const DWORD style = context->fillStyle;
    if (context->rowZero == nullptr && style != kTessroFillRegionRecording && style != kTessroFillHitTest) {
        TessroFail(TESSRO_ERROR_NO_BITMAP);
    }
    draw.begin = TessroDefaultBegin;
    draw.rowStart = TessroNoRow;
    draw.span = TessroNoSpan;
    draw.rowEnd = TessroDefaultRowEnd;
    draw.finish = TessroNoRow;
    if (context->targetFormat == kTessroFormat1 || !context->coverageMode) {
        if (style == kTessroFillPrepared) {
            SelectPrepared(context);
        } else {
            SelectAliased(context);
        }
    } else {
        SelectCoverage(context);
    }
    // A whole-pixel region cuts every span to its rows; a sampled one is read by the coverage
    // loops themselves.
    if (draw.clipRegion != nullptr && (context->targetFormat == kTessroFormat1 || !context->coverageMode)) {
        TessroWrapRegionRows(context);
    }
}
