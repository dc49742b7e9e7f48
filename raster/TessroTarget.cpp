// The target bitmap: attaching it, its clip rectangle and region, the antialias switch and
// the changed area that every fill grows.
#include <cstring>
#include <utility>

#include "raster/TessroDrawInternal.h"

namespace {

const DWORD kMaxWidth = 16384;
const DWORD kMaxHeight = 65536;
const DWORD kMaxTargetMode = 3;
const DWORD kFallbackTargetMode = 2;  // 16 bits 5-5-5
const std::int32_t kIdentity = 0x4000;  // 0.25 in 16.16: 16.16 user pixels to 1/16384 px
const float kMatrixScale = 1.0f / 65536.0f;

struct Layout {
    DWORD format;
    std::int32_t rowSize;
};

// Format code and padded row size of a depth; false for a depth that is not a target depth.
bool LayoutOf(const BITMAPINFOHEADER& header, DWORD mode, Layout* layout) {
    const std::int32_t w = header.biWidth;
    switch (header.biBitCount) {
        case 1: *layout = {kTessroFormat1, ((w + 31) & ~31) / 8}; return true;
        case 2: *layout = {kTessroFormat2, ((w + 15) & ~15) / 4}; return true;
        case 4: *layout = {kTessroFormat4, ((w + 7) & ~7) / 2}; return true;
        case 8:
            *layout = {mode == 0 ? kTessroFormat8Palette : kTessroFormat8Grey, (w + 3) & ~3};
            return true;
        case 16: *layout = {kTessroFormat16, ((w + 1) & ~1) * 2}; return true;
        case 32:
            *layout = {header.biCompression == TESSRO_BI_TRANSPARENCY ? kTessroFormat32Alpha
                                                                      : kTessroFormat32,
                       w * 4};
            return true;
        default: return false;
    }
}

void SetClip(TessroDrawState& draw, std::int32_t left, std::int32_t top, std::int32_t right,
             std::int32_t bottom) {
    draw.clip[0] = left, draw.clip[1] = top, draw.clip[2] = right, draw.clip[3] = bottom;
    for (int i = 0; i < 4; ++i) {
        draw.clipDevice[i] = static_cast<std::int32_t>(
            static_cast<std::uint32_t>(draw.clip[i]) << kTessroDeviceShift);
    }
}

void ClearChanged(TessroDrawState& draw) {
    draw.changed[0] = draw.changed[1] = kTessroEmptyLow;
    draw.changed[2] = draw.changed[3] = kTessroEmptyHigh;
}

// Device units to the nearest pixel edge, ties toward +infinity.
std::int32_t RoundToPixel(std::int32_t v) {
    return (v >> kTessroDeviceShift) + ((v >> (kTessroDeviceShift - 1)) & 1);
}

std::int32_t Clamp(std::int32_t v, std::int32_t low, std::int32_t high) {
    return v < low ? low : v > high ? high : v;
}

void Attach(TessroContext* context, const BITMAPINFOHEADER* header, void* bits, DWORD mode) {
    if (header == nullptr) TessroFail(TESSRO_ERROR_BAD_PARAMETERS);
    Layout layout{};
    // Everything is checked before anything is stored, so a refused header leaves the previous
    // target whole (a wider width must never be paired with the old, smaller bits).
    if (header->biPlanes != 1 || static_cast<DWORD>(header->biWidth) > kMaxWidth ||
        static_cast<DWORD>(header->biHeight) > kMaxHeight || !LayoutOf(*header, mode, &layout)) {
        TessroFail(TESSRO_ERROR_BAD_BITMAP);
    }
    TessroDrawState& draw = context->draw;
    const std::int32_t width = header->biWidth, height = header->biHeight;
    context->hasTarget = 1;
    context->targetWidth = width;
    context->targetHeight = height;
    draw.widthDevice = width << kTessroDeviceShift;
    draw.heightDevice = static_cast<std::int32_t>(static_cast<std::uint32_t>(height)
                                                  << kTessroDeviceShift);
    context->targetFormat = layout.format;
    context->rowStep = layout.rowSize;
    context->rowSize = layout.rowSize;

    context->fillStyle = kTessroFillNone;
    // The pattern is cleared and no colour counts as remembered: a zero pattern is black only
    // on some targets, so the next colour, black included, is matched afresh.
    context->rememberedColour = TESSRO_MAGIC;
    std::memset(context->pattern, 0, sizeof(context->pattern));
    SetClip(draw, 0, 0, width, height);
    draw.clipRegion = nullptr;

    TessroMatrix m{};
    m.a = kIdentity;
    m.d = -kIdentity;
    m.f = static_cast<std::int64_t>(height) << 30;
    context->matrix = m;
    context->matrixA = static_cast<double>(m.a) * kMatrixScale;
    context->matrixB = 0;
    context->matrixC = 0;
    context->matrixD = static_cast<double>(m.d) * kMatrixScale;
    context->matrixE = 0;
    context->matrixF = static_cast<double>(m.f) * kMatrixScale;

    ClearChanged(draw);
    context->rowZero = static_cast<BYTE*>(bits);
    context->targetMode = mode > kMaxTargetMode ? kFallbackTargetMode : mode;
}

}  // namespace

int TessroSetBitmap(TessroContext* context, const BITMAPINFOHEADER* header, void* bits, DWORD mode) {
    return TessroEntry(context, [&] {
        Attach(context, header, bits, mode);
        return 0;
    });
}

int TessroSetInvertedBitmap(TessroContext* context, const BITMAPINFOHEADER* header, void* bits,
                            DWORD mode) {
    return TessroEntry(context, [&] {
        Attach(context, header, bits, mode);
        if (context->targetHeight > 0 && bits != nullptr) {
            context->rowZero = static_cast<BYTE*>(bits) +
                               static_cast<std::ptrdiff_t>(context->targetHeight - 1) * context->rowSize;
        }
        context->rowStep = -context->rowSize;
        return 0;
    });
}

int TessroSetClipRectangle(TessroContext* context, const TessroPoint rect[2]) {
    return TessroEntry(context, [&] {
        if (rect == nullptr) TessroFail(TESSRO_ERROR_BAD_PARAMETERS);
        const TessroDevicePoint a = TessroMapPoint(context, rect[0].x, rect[0].y);
        const TessroDevicePoint b = TessroMapPoint(context, rect[1].x, rect[1].y);
        TessroDrawState& draw = context->draw;
        const std::int32_t left = RoundToPixel(a.x < b.x ? a.x : b.x);
        const std::int32_t right = RoundToPixel(a.x < b.x ? b.x : a.x);
        const std::int32_t top = RoundToPixel(a.y < b.y ? a.y : b.y);
        const std::int32_t bottom = RoundToPixel(a.y < b.y ? b.y : a.y);
        SetClip(draw, left > draw.clip[0] ? left : draw.clip[0], top > draw.clip[1] ? top : draw.clip[1],
                right < draw.clip[2] ? right : draw.clip[2],
                bottom < draw.clip[3] ? bottom : draw.clip[3]);
        return 0;
    });
}

int TessroSetDeviceClipRectangle(TessroContext* context, const std::int32_t rect[4]) {
    return TessroEntry(context, [&] {
        if (rect == nullptr) TessroFail(TESSRO_ERROR_BAD_PARAMETERS);
        TessroDrawState& draw = context->draw;
        draw.clipRegion = nullptr;
        std::int32_t left = rect[0], top = rect[1], right = rect[2], bottom = rect[3];
        if (left > right) std::swap(left, right);
        if (top > bottom) std::swap(top, bottom);
        const std::int32_t w = context->targetWidth, h = context->targetHeight;
        SetClip(draw, Clamp(left, 0, w), Clamp(top, 0, h), Clamp(right, 0, w), Clamp(bottom, 0, h));
        return 0;
    });
}

int TessroGetClipRectangle(TessroContext* context, std::int32_t rect[4]) {
    return TessroEntry(context, [&] {
        if (rect == nullptr) TessroFail(TESSRO_ERROR_BAD_PARAMETERS);
        std::memcpy(rect, context->draw.clip, sizeof(context->draw.clip));
        return 0;
    });
}

int TessroSetClipRegion(TessroContext* context, const TessroClipRegion* region) {
    return TessroEntry(context, [&] {
        TessroDrawState& draw = context->draw;
        draw.clipRegion = region;
        if (region != nullptr) {
            // The region's bounds become the clip rectangle, kept inside the target so that no
            // fill can write outside the caller's bitmap whatever the record says.
            const std::int32_t w = context->targetWidth, h = context->targetHeight;
            SetClip(draw, Clamp(region->left, 0, w), Clamp(region->top, 0, h),
                    Clamp(region->right, 0, w), Clamp(region->bottom, 0, h));
        }
        return 0;
    });
}

std::intptr_t TessroGetClipRegion(TessroContext* context) {
    if (!TessroIsValid(context)) return -1;
    return reinterpret_cast<std::intptr_t>(context->draw.clipRegion);
}

int TessroSetAntialias(TessroContext* context, int on) {
    return TessroEntry(context, [&] {
        context->antialias = (on != 0 && context->targetFormat != kTessroFormat1) ? 1 : 0;
        return 0;
    });
}

int TessroClearChangedBounds(TessroContext* context) {
    return TessroEntry(context, [&] {
        ClearChanged(context->draw);
        return 0;
    });
}

int TessroGetChangedBounds(TessroContext* context, std::int32_t rect[4]) {
    return TessroEntry(context, [&] {
        if (rect == nullptr) TessroFail(TESSRO_ERROR_BAD_PARAMETERS);
        std::memcpy(rect, context->draw.changed, sizeof(context->draw.changed));
        return 0;
    });
}

int TessroSetChangedBounds(TessroContext* context, const std::int32_t rect[4]) {
    return TessroEntry(context, [&] {
        if (rect == nullptr) TessroFail(TESSRO_ERROR_BAD_PARAMETERS);
        std::memcpy(context->draw.changed, rect, sizeof(context->draw.changed));
        return 0;
    });
}
