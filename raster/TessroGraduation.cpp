// Graduation tables (colour ramps prepared in the target's pixel format) and the packed HSV
// conversions.
#include <cstring>

#include "raster/TessroInternal.h"

namespace {

const int kTableHeaderWords = 3;
const DWORD kBuiltEntries = 256;
const DWORD kHueTurn = 65536;
const DWORD kHueHalfTurn = 32768;
// Interpolation: 8.24 channel accumulators advanced by (end - start) x 0x010101, so that entry
// 255 lands on the end value; the hue uses 16.16 and a step of difference x 257.
const int kChannelShift = 24;
const DWORD kChannelRounding = 1u << 23;
const DWORD kChannelStep = 0x010101;
const int kHueShift = 16;
const DWORD kHueRounding = 1u << 15;
const DWORD kHueStep = 257;
// 4-bit tables keep pixels 0, 2, 5 and 7 of each row word.
const DWORD kFourBitTableMask = 0x0F0FF0F0u;

void CheckTable(const DWORD* table) {
    if (table == nullptr || (table[0] != 256 && table[0] != 2048)) {
        TessroFail(TESSRO_ERROR_BAD_GRADUATION_TABLE);
    }
}

struct Ramp {
    DWORD accumulator;
    DWORD step;
    Ramp(DWORD start, DWORD end)
        : accumulator((start << kChannelShift) + kChannelRounding),
          step((end - start) * kChannelStep) {}
    DWORD Next() {
        const DWORD value = accumulator >> kChannelShift;
        accumulator += step;
        return value;
    }
};

void WriteEntry(TessroContext* context, DWORD* table, DWORD index, DWORD colour, bool as32) {
    if (as32) {
        table[kTableHeaderWords + index] = TessroColourToPixel(colour);
        return;
    }
    // The entry's pattern comes from the flat-colour setter; a failure there (2-bit targets)
    // is recorded and the unchanged pattern is written, as the build does not stop for it.
    TessroSetColour(context, colour & 0x00FFFFFFu);
    const DWORD count = table[0];
    const DWORD mask = context->targetFormat == kTessroFormat4 ? kFourBitTableMask : 0xFFFFFFFFu;
    for (DWORD row = 0; row < 4; ++row) {
        table[kTableHeaderWords + row * count + index] = context->pattern[row] & mask;
    }
}

struct SavedFlatState {
    DWORD fillStyle;
    DWORD rememberedColour;
    DWORD pattern[4];
    explicit SavedFlatState(const TessroContext* context)
        : fillStyle(context->fillStyle), rememberedColour(context->rememberedColour) {
        std::memcpy(pattern, context->pattern, sizeof(pattern));
    }
    void Restore(TessroContext* context) const {
        context->fillStyle = fillStyle;
        context->rememberedColour = rememberedColour;
        std::memcpy(context->pattern, pattern, sizeof(pattern));
    }
};

void Build(TessroContext* context, DWORD start, DWORD end, DWORD kind, DWORD* table, bool as32) {
    const SavedFlatState saved(context);
    CheckTable(table);
    table[1] = start;
    table[2] = end;
    Ramp top(TessroTop(start), TessroTop(end));
    if (kind == 0) {
        Ramp red(TessroRed(start), TessroRed(end));
        Ramp green(TessroGreen(start), TessroGreen(end));
        Ramp blue(TessroBlue(start), TessroBlue(end));
        for (DWORD i = 0; i < kBuiltEntries; ++i) {
            const DWORD colour = red.Next() | (green.Next() << 8) | (blue.Next() << 16);
            const DWORD alpha = top.Next();
            WriteEntry(context, table, i, colour | (as32 ? alpha << 24 : 0), as32);
        }
    } else {
        const DWORD startHsv = RgbToHsv(start), endHsv = RgbToHsv(end);
        DWORD startHue = startHsv & 0xFFFF, endHue = endHsv & 0xFFFF;
        const DWORD startSaturation = (startHsv >> 16) & 0xFF, endSaturation = (endHsv >> 16) & 0xFF;
        // A grey has no hue of its own: it takes the other colour's.
        if (startSaturation == 0) startHue = endHue;
        if (endSaturation == 0) endHue = startHue;
        std::int32_t difference = static_cast<std::int32_t>(endHue) - static_cast<std::int32_t>(startHue);
        if (difference > static_cast<std::int32_t>(kHueHalfTurn)) difference -= kHueTurn;
        if (difference < -static_cast<std::int32_t>(kHueHalfTurn)) difference += kHueTurn;
        if (kind != 1) {
            difference = difference >= 0 ? difference - static_cast<std::int32_t>(kHueTurn)
                                         : difference + static_cast<std::int32_t>(kHueTurn);
        }
        DWORD hue = (startHue << kHueShift) + kHueRounding;
        const DWORD hueStep = static_cast<DWORD>(difference) * kHueStep;
        Ramp saturation(startSaturation, endSaturation);
        Ramp value(startHsv >> 24, endHsv >> 24);
        for (DWORD i = 0; i < kBuiltEntries; ++i) {
            const DWORD hsv = (hue >> kHueShift) | (saturation.Next() << 16) | (value.Next() << 24);
            hue += hueStep;
            const DWORD alpha = top.Next();
            WriteEntry(context, table, i, HsvToRgb(hsv) | (as32 ? alpha << 24 : 0), as32);
        }
    }
    saved.Restore(context);
}

bool TargetIs32(const TessroContext* context) {
    return context->targetFormat == kTessroFormat32 || context->targetFormat == kTessroFormat32Alpha;
}

}  // namespace

int TessroBuildGraduationTable(TessroContext* context, DWORD start, DWORD end, DWORD blendKind,
                               DWORD* table) {
    return TessroEntry(context, [&] {
        Build(context, start, end, blendKind, table, TargetIs32(context));
        return 0;
    });
}

int TessroBuildGraduationTable32(TessroContext* context, DWORD start, DWORD end, DWORD blendKind,
                                 DWORD* table) {
    return TessroEntry(context, [&] {
        Build(context, start, end, blendKind, table, true);
        return 0;
    });
}

int TessroSetGraduationTableEntry(TessroContext* context, DWORD colour, DWORD hsvFlag,
                                  DWORD* table, DWORD index) {
    return TessroEntry(context, [&] {
        CheckTable(table);
        if (index >= table[0]) TessroFail(TESSRO_ERROR_BAD_GRADUATION_TABLE);
        WriteEntry(context, table, index, hsvFlag ? HsvToRgb(colour) : colour, TargetIs32(context));
        return 0;
    });
}

DWORD RgbToHsv(DWORD colour) {
    const std::int32_t r = TessroRed(colour), g = TessroGreen(colour), b = TessroBlue(colour);
    const std::int32_t max = r > g ? (r > b ? r : b) : (g > b ? g : b);
    const std::int32_t min = r < g ? (r < b ? r : b) : (g < b ? g : b);
    const std::int32_t d = max - min;
    if (d == 0) return static_cast<DWORD>(max) << 24;
    std::int32_t h;
    if (r == max) {
        h = g - b;
        if (h < 0) h += 6 * d;
    } else if (g == max) {
        h = b + 2 * d - r;
    } else {
        h = r + 4 * d - g;
    }
    const DWORD hue = static_cast<DWORD>(h) * kHueTurn / static_cast<DWORD>(6 * d);
    const DWORD saturation = static_cast<DWORD>(256 * d - 1) / static_cast<DWORD>(max);
    return (hue & 0xFFFF) | (saturation << 16) | (static_cast<DWORD>(max) << 24);
}

DWORD HsvToRgb(DWORD hsv) {
    const std::uint64_t hue = hsv & 0xFFFF;
    const std::uint64_t value = hsv >> 24;
    const std::uint64_t s = ((hsv >> 16) & 0xFF) * 257;
    const std::uint64_t v = value * 257;
    const std::uint64_t x = 6 * hue;
    const std::uint64_t sector = x >> 16;
    const std::uint64_t f = x & 0xFFFF;
    const std::uint64_t all = 0xFFFFFFFFull;
    const DWORD p = static_cast<DWORD>(((65535 - s) * v) >> 24);
    const DWORD q = static_cast<DWORD>((((all - s * f) >> 16) * v) >> 24);
    const DWORD t = static_cast<DWORD>((((all - s * (65535 - f)) >> 16) * v) >> 24);
    const DWORD m = static_cast<DWORD>(value);
    DWORD red, green, blue;
    switch (sector) {
        case 0: red = m, green = t, blue = p; break;
        case 1: red = q, green = m, blue = p; break;
        case 2: red = p, green = m, blue = t; break;
        case 3: red = p, green = q, blue = m; break;
        case 4: red = t, green = p, blue = m; break;
        default: red = m, green = p, blue = q; break;
    }
    return red | (green << 8) | (blue << 16);
}
