// Graduated and colour-field fill styles: argument checks, the anchor mapping scaled by the
// fill's extents, and the routine indices the span selection reads. A degenerate three-point
// placement falls back to a flat colour.
#include <initializer_list>

#include "raster/TessroDrawInternal.h"

namespace {

const DWORD kShortTable = 256;
const DWORD kLongTable = 2048;
const int kTableHeaderWords = 3;
const DWORD kLastTransparencyType = 36;
const DWORD kLastKind = 3;
const DWORD kKindMask = 0x7F;
const DWORD kRepeatBit = 0x80;
const DWORD kConical = 2;
const DWORD kRadial = 1;
const DWORD kSquare = 3;
const double kFieldExtent = 256.0;
const double kPi = 3.14159265358979323846;

struct Style {
    DWORD kind;
    DWORD type;
    DWORD amount;
    DWORD options;
};

Style SplitStyle(DWORD style) {
    return {style & 0xFF, (style >> 8) & 0xFF, (style >> 16) & 0xFF, style >> 24};
}

void StoreTransparency(TessroContext* context, const Style& s) {
    if (s.type > kLastTransparencyType) TessroFail(TESSRO_ERROR_BAD_TRANSPARENCY_STYLE);
    context->transparencyType = s.type;
    context->draw.transparencyAmount = s.amount;
}

void RequirePoints(std::initializer_list<const TessroPoint*> points) {
    for (const TessroPoint* p : points) {
        if (p == nullptr) TessroFail(TESSRO_ERROR_BAD_PARAMETERS);
    }
}

// The fallback of a degenerate placement, as a nested entry: its result is the setter's.
int FlatFallback(TessroContext* context, DWORD colour, const Style& s) {
    return TessroSetTransparentColour(context, colour, s.type | (s.amount << 8));
}

// Graduation table checks shared by the colour setters; answers the entry count.
DWORD CheckTable(TessroContext* context, const void* table, const Style& s, bool* repeat) {
    context->fillStyle = kTessroFillNone;
    const DWORD* words = static_cast<const DWORD*>(table);
    if (words == nullptr || (words[0] != kShortTable && words[0] != kLongTable)) {
        TessroFail(TESSRO_ERROR_BAD_GRADUATION_TABLE);
    }
    StoreTransparency(context, s);
    TessroDrawState& draw = context->draw;
    // Graduations go straight to their consumer: no separation preview, no colour map.
    draw.separationOn = 0;
    draw.colourMapOn = 0;
    draw.longTable = words[0] != kShortTable ? 1 : 0;
    draw.tableEntries = words + kTableHeaderWords;
    *repeat = (s.kind & kRepeatBit) != 0;
    draw.repeat = *repeat ? 1 : 0;
    if ((s.kind & kKindMask) > kLastKind) TessroFail(TESSRO_ERROR_BAD_GRADUATION_STYLE);
    draw.graduationKind = static_cast<BYTE>(s.kind & kKindMask);
    return words[0];
}

// Conical graduations: the centre in whole pixels and the start angle; the angle tables are
// built with the conical spans.
void SetConical(TessroContext* context, const TessroPoint& p0, const TessroPoint& p1) {
    TessroDrawState& draw = context->draw;
    const TessroDevicePoint centre = TessroMapPointFine(context, p0.x, p0.y);
    const TessroDevicePoint towards = TessroMapPointFine(context, p1.x, p1.y);
    draw.colour.originX = (centre.x + 512) >> 10;
    draw.colour.originY = (centre.y + 512) >> 10;
    const double angle = std::atan2(static_cast<double>(towards.y) - centre.y,
                                    static_cast<double>(towards.x) - centre.x);
    draw.conicalStartAngle = TessroNearest32(angle * 16777216.0 / kPi);
    draw.fillIndex = context->targetFormat + 192;
    draw.rowDriver = 15;
    context->fillStyle = kTessroFillPrepared;
}

// Colour-field options of style byte 3: separation plate and switch, colour map selector.
void StoreFieldOptions(TessroContext* context, DWORD options) {
    TessroDrawState& draw = context->draw;
    draw.separationSelector = static_cast<BYTE>(options & 3);
    draw.separationOn = (options & 4) ? 1 : 0;
    const bool map = (options & 0x18) != 0 && context->colourMap != nullptr;
    draw.colourMapOn = map ? 1 : 0;
    draw.colourMapSelector = (options & 8) ? 0 : 1;
}

Style CheckField(TessroContext* context, DWORD style) {
    context->fillStyle = kTessroFillNone;
    const Style s = SplitStyle(style);
    if (s.kind > kLastKind) TessroFail(TESSRO_ERROR_BAD_GRADUATION_STYLE);
    StoreTransparency(context, s);
    StoreFieldOptions(context, s.options);
    context->draw.fieldKind = static_cast<BYTE>(s.kind);
    return s;
}

void StoreColours(TessroContext* context, std::initializer_list<DWORD> colours) {
    int i = 0;
    for (DWORD c : colours) context->draw.fieldColours[i++] = c;
}

}  // namespace

int TessroSetGraduation(TessroContext* context, DWORD style, const void* table,
                        const TessroPoint* p0, const TessroPoint* p1, const TessroPoint* p2) {
    return TessroEntry(context, [&] {
        const Style s = SplitStyle(style);
        bool repeat = false;
        const DWORD length = CheckTable(context, table, s, &repeat);
        TessroDrawState& draw = context->draw;
        const DWORD kind = s.kind & kKindMask;
        RequirePoints({p0, p1});
        if (kind == kConical) {
            SetConical(context, *p0, *p1);
            return 0;
        }
        RequirePoints({p2});
        const double extent = static_cast<double>(length);
        const DWORD format = context->targetFormat;
        const DWORD isLong = draw.longTable, isRepeat = repeat ? 1 : 0;
        if (!TessroThreePointSetup(context, &draw.colour, *p0, *p1, *p2, extent, extent)) {
            return FlatFallback(context, static_cast<const DWORD*>(table)[2], s);
        }
        if (kind == kRadial) {
            draw.fillIndex = format + (isRepeat ? 144 : 96) + 24 * isLong;
            draw.rowDriver = (isRepeat ? 9 : 3) + 3 * isLong;
        } else if (kind == kSquare) {
            draw.fillIndex = format + 200 + 24 * isLong + 48 * isRepeat;
            draw.rowDriver = 16;
        } else {
            draw.fillIndex = format + 24 * isLong + 48 * isRepeat;
            draw.rowDriver = 0;
        }
        context->fillStyle = kTessroFillPrepared;
        return 0;
    });
}

int TessroSetPerspectiveGraduation(TessroContext* context, DWORD style, const void* table,
                                   const TessroPoint* p0, const TessroPoint* p1,
                                   const TessroPoint* p2, const TessroPoint* p3) {
    return TessroEntry(context, [&] {
        const Style s = SplitStyle(style);
        bool repeat = false;
        const DWORD length = CheckTable(context, table, s, &repeat);
        TessroDrawState& draw = context->draw;
        const DWORD kind = s.kind & kKindMask;
        RequirePoints({p0, p1});
        if (kind == kConical) {
            SetConical(context, *p0, *p1);
            return 0;
        }
        RequirePoints({p2, p3});
        const DWORD format = context->targetFormat;
        const DWORD isLong = draw.longTable, isRepeat = repeat ? 1 : 0;
        double extent = static_cast<double>(length);
        if (kind == kRadial) extent = (isLong && isRepeat) ? kLongTable : kShortTable;
        TessroFourPointSetup(context, &draw.colour, *p0, *p1, *p2, *p3, extent, extent);
        const DWORD a = draw.colour.rowAffine, perspective = 1 - a;
        if (kind == kRadial) {
            draw.fillIndex = format + 104 + 8 * perspective + 24 * isLong + 48 * isRepeat;
            draw.rowDriver = 5 - a + 3 * isLong + 6 * isRepeat;
        } else if (kind == kSquare) {
            draw.fillIndex = format + 208 + 8 * perspective + 24 * isLong + 48 * isRepeat;
            draw.rowDriver = 18 - a;
        } else {
            draw.fillIndex = format + 8 + 8 * perspective + 24 * isLong + 48 * isRepeat;
            draw.rowDriver = 2 - a;
        }
        context->fillStyle = kTessroFillPrepared;
        return 0;
    });
}

int TessroGetGraduationTableSize(TessroContext* context) {
    if (!TessroIsValid(context)) return -1;
    return TessroIs32BitFormat(context->targetFormat) ? 0x40C : 0x100C;
}

int TessroGetLongGraduationTableSize(TessroContext* context) {
    if (!TessroIsValid(context)) return -1;
    return TessroIs32BitFormat(context->targetFormat) ? 0x200C : 0x800C;
}

int TessroGetGraduationTableLength() { return 256; }
int TessroGetLongGraduationTableLength() { return 2048; }
int TessroGetTransparencyTableLength() { return 256; }
int TessroGetTransparencyTableSize() { return 256; }
int TessroGetLongTransparencyTableLength() { return 2048; }
int TessroGetLongTransparencyTableSize() { return 2048; }

int TessroSetThreeColourFill(TessroContext* context, DWORD style, DWORD colour0, DWORD colour1,
                             DWORD colour2, const TessroPoint* p0, const TessroPoint* p1,
                             const TessroPoint* p2) {
    return TessroEntry(context, [&] {
        const Style s = CheckField(context, style);
        RequirePoints({p0, p1, p2});
        TessroDrawState& draw = context->draw;
        if (!TessroThreePointSetup(context, &draw.colour, *p0, *p1, *p2, kFieldExtent, kFieldExtent)) {
            return FlatFallback(context, colour0, s);
        }
        StoreColours(context, {colour0, colour1, colour2});
        draw.fillIndex = 686 + (s.kind < 2 ? s.kind : 2);
        draw.rowDriver = 24;
        context->fillStyle = kTessroFillPrepared;
        return 0;
    });
}

int TessroSetPerspectiveThreeColourFill(TessroContext* context, DWORD style, DWORD colour0,
                                        DWORD colour1, DWORD colour2, const TessroPoint* p0,
                                        const TessroPoint* p1, const TessroPoint* p2,
                                        const TessroPoint* p3) {
    return TessroEntry(context, [&] {
        const Style s = CheckField(context, style);
        RequirePoints({p0, p1, p2, p3});
        TessroDrawState& draw = context->draw;
        TessroFourPointSetup(context, &draw.colour, *p0, *p1, *p2, *p3, kFieldExtent, kFieldExtent);
        StoreColours(context, {colour0, colour1, colour2});
        const DWORD perspective = 1 - draw.colour.rowAffine;
        draw.fillIndex = 689 + (s.kind < 2 ? s.kind : 2) + 3 * perspective;
        draw.rowDriver = 25 + perspective;
        context->fillStyle = kTessroFillPrepared;
        return 0;
    });
}

int TessroSetGraduatedColours(TessroContext* context, DWORD style, DWORD colour0, DWORD colour1,
                              DWORD colour2, DWORD colour3, const TessroPoint* p0,
                              const TessroPoint* p1, const TessroPoint* p2) {
    return TessroEntry(context, [&] {
        const Style s = CheckField(context, style);
        RequirePoints({p0, p1, p2});
        TessroDrawState& draw = context->draw;
        if (!TessroThreePointSetup(context, &draw.colour, *p0, *p1, *p2, kFieldExtent, kFieldExtent)) {
            return FlatFallback(context, colour0, s);
        }
        StoreColours(context, {colour0, colour1, colour2, colour3});
        draw.fillIndex = s.kind < 2 ? 695 : 696;
        draw.rowDriver = 27;
        context->fillStyle = kTessroFillPrepared;
        return 0;
    });
}

int TessroSetPerspectiveGraduatedColours(TessroContext* context, DWORD style, DWORD colour0,
                                         DWORD colour1, DWORD colour2, DWORD colour3,
                                         const TessroPoint* p0, const TessroPoint* p1,
                                         const TessroPoint* p2, const TessroPoint* p3) {
    return TessroEntry(context, [&] {
        const Style s = CheckField(context, style);
        RequirePoints({p0, p1, p2, p3});
        TessroDrawState& draw = context->draw;
        TessroFourPointSetup(context, &draw.colour, *p0, *p1, *p2, *p3, kFieldExtent, kFieldExtent);
        StoreColours(context, {colour0, colour1, colour2, colour3});
        const DWORD perspective = 1 - draw.colour.rowAffine;
        draw.fillIndex = (s.kind < 2 ? 697 : 698) + 2 * perspective;
        draw.rowDriver = 28 + perspective;
        context->fillStyle = kTessroFillPrepared;
        return 0;
    });
}
