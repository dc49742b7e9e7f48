// Graduated and colour-field fill styles: argument checks, the anchor mapping scaled by the
// fill's extents, and the routine indices the span selection reads. A degenerate three-point
// placement falls back to a flat colour.
#include <cstring>
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
const DWORD kHalfTurn = 1u << 24;  // pi
const DWORD kFullTurn = 1u << 25;

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

// Conical graduations: the centre in whole pixels, the start angle, and the quadrant tables
// that turn a tangent ratio into an entry index without a per-pixel arctangent.
// Centre (whole pixels), start angle, and store(quadrant, slot, entry index) for every slot of
// the four quadrant tables.
template <class Store>
void BuildConical(TessroContext* context, const TessroPoint& p0, const TessroPoint& p1, bool isLong,
                  std::int32_t* centreX, std::int32_t* centreY, std::int32_t* startAngle, Store store) {
    const TessroDevicePoint centre = TessroMapPointFine(context, p0.x, p0.y);
    const TessroDevicePoint towards = TessroMapPointFine(context, p1.x, p1.y);
    *centreX = (centre.x + 512) >> 10;
    *centreY = (centre.y + 512) >> 10;
    const double angle = std::atan2(static_cast<double>(towards.y) - centre.y,
                                    static_cast<double>(towards.x) - centre.x);
    const std::int32_t start = TessroNearest32(angle * kHalfTurn / kPi);
    *startAngle = start;
    const int shift = isLong ? 13 : 16;
    const auto fold = [shift](std::int64_t t) {
        DWORD v = static_cast<DWORD>(t) & (kFullTurn - 1);
        if (v >= kHalfTurn) v = (kFullTurn - 1) - v;
        return v >> shift;
    };
    // Quadrant offsets: below, right, above, left; right runs the other way round.
    const std::int64_t offsets[4] = {3 * (kHalfTurn / 2), 0, kHalfTurn / 2, kHalfTurn};
    const int signs[4] = {1, -1, 1, 1};
    const int zero = kTessroAngleTableEntries / 2;  // index of entry 0
    for (int i = 0; i <= 1024; ++i) {
        const std::int64_t a = TessroNearest64(std::atan((i + 0.5) / 1024.0) * kHalfTurn / kPi);
        for (int q = 0; q < 4; ++q) {
            const std::int64_t base = static_cast<std::int64_t>(start) + offsets[q];
            store(q, zero + i, fold(base + signs[q] * a));
            store(q, zero - 1 - i, fold(base - signs[q] * a));
        }
    }
}

void SetConical(TessroContext* context, const TessroPoint& p0, const TessroPoint& p1) {
    TessroDrawState& draw = context->draw;
    TessroConicalGeometry& c = draw.conical;
    BuildConical(context, p0, p1, draw.longTable != 0, &c.centreX, &c.centreY, &c.startAngle,
                 [&c](int q, int slot, DWORD index) { c.angles[q][slot] = index; });
    draw.fillIndex = context->targetFormat + 192;
    draw.rowDriver = 15;
    context->fillStyle = kTessroFillPrepared;
}

// Radial graduations: the elliptical metric of the two axis vectors (already checked not to
// be degenerate by the three-point setup).
void SetRadial(TessroContext* context, const TessroPoint& p0, const TessroPoint& p1,
               const TessroPoint& p2, bool repeat, bool isLong, TessroRadialGeometry& r) {
    const TessroDevicePoint centre = TessroMapPointFine(context, p0.x, p0.y);
    r.centreX = centre.x;
    r.centreY = centre.y;
    r.halfPixel = 512;
    // The axis vectors from the user differences taken wide: far anchors differ by more than
    // 32 bits can hold.
    const TessroMatrix& m = context->matrix;
    const long double scale = 1.0L / 1073741824.0L;
    const long double dx1 = static_cast<long double>(p1.x) - p0.x, dy1 = static_cast<long double>(p1.y) - p0.y;
    const long double dx2 = static_cast<long double>(p2.x) - p0.x, dy2 = static_cast<long double>(p2.y) - p0.y;
    const long double ax = (m.a * dx1 + m.c * dy1) * scale, ay = (m.b * dx1 + m.d * dy1) * scale;
    const long double bx = (m.a * dx2 + m.c * dy2) * scale, by = (m.b * dx2 + m.d * dy2) * scale;
    const long double s = ay * ay + by * by, d = ax * by - ay * bx;
    r.ax = static_cast<double>(ax), r.ay = static_cast<double>(ay);
    r.bx = static_cast<double>(bx), r.by = static_cast<double>(by);
    r.s = static_cast<double>(s);
    r.d = static_cast<double>(d);
    r.slope = TessroNearest64(static_cast<double>((ax * ay + bx * by) / s * 4294967296.0L));
    const long double longScale = isLong ? 64.0L : 1.0L;
    r.widthFactor = static_cast<double>(d * d * 65536.0L / s);
    if (repeat) {
        r.rowDistanceFactor = static_cast<double>(longScale / (16.0L * s));
        r.curvature = static_cast<double>(131072.0L * s / (d * d) * longScale + 1.0L / 4294967296.0L);
    } else {
        r.rowDistanceFactor = static_cast<double>(16384.0L / std::sqrt(s));
        r.curvature = static_cast<double>(131072.0L * s / (d * d));
    }
    r.secondDifference = TessroAdd64(TessroNearest64(static_cast<double>(562949953421312.0L * s / (d * d))), 1);
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
            SetRadial(context, *p0, *p1, *p2, repeat, draw.longTable != 0, draw.radial);
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

// ---- Transparency graduations and fields: the transparency set only; the colour fill style
// stays as it is. The generators that read these fields come with the blend modes. ----

namespace {

// Style of the transparency-graduation setters: byte 0 kind, byte 1 long table, byte 2 repeat.
struct TransparencyStyle {
    DWORD kind;
    bool isLong;
    bool repeat;
    DWORD length;
};

TransparencyStyle CheckTransparencyGraduation(DWORD style, const BYTE* table) {
    const TransparencyStyle s = {style & 0xFF, ((style >> 8) & 0xFF) != 0, ((style >> 16) & 0xFF) != 0,
                                 ((style >> 8) & 0xFF) != 0 ? kLongTable : kShortTable};
    if (s.kind > kLastKind) TessroFail(TESSRO_ERROR_BAD_GRADUATION_STYLE);
    if (table == nullptr) TessroFail(TESSRO_ERROR_BAD_PARAMETERS);
    return s;
}

void SetUniformTransparency(TessroDrawState& draw, BYTE amount) {
    draw.transparencyAmount = amount;
    draw.transparencySource = 0;
}

void SetConicalTransparency(TessroContext* context, const TransparencyStyle& s, const BYTE* table,
                            const TessroPoint& p0, const TessroPoint& p1) {
    TessroDrawState& draw = context->draw;
    // The quadrant tables hold transparency values: the entry index looked up in the table.
    BuildConical(context, p0, p1, s.isLong, &draw.transparencyCentreX, &draw.transparencyCentreY,
                 &draw.transparencyStartAngle, [&](int q, int slot, DWORD index) {
                     draw.transparencyAngles[q][slot] = table[index & (s.length - 1)];
                 });
    draw.transparencyTable = table;
    draw.transparencyKind = static_cast<BYTE>(s.kind);
    draw.transparencyLong = s.isLong ? 1 : 0;
    draw.transparencyRepeat = s.repeat ? 1 : 0;
    draw.transparencySource = 36 + 1;  // the conical generator
}

void StoreTransparencyTable(TessroDrawState& draw, const TransparencyStyle& s, const BYTE* table) {
    draw.transparencyTable = table;
    draw.transparencyKind = static_cast<BYTE>(s.kind);
    draw.transparencyLong = s.isLong ? 1 : 0;
    draw.transparencyRepeat = s.repeat ? 1 : 0;
}

BYTE CheckValueKind(DWORD kind) {
    if ((kind & 0xFF) > kLastKind) TessroFail(TESSRO_ERROR_BAD_GRADUATION_STYLE);
    return static_cast<BYTE>(kind & 0xFF);
}

}  // namespace

int TessroSetTransparencyGraduation(TessroContext* context, DWORD style, const BYTE* table,
                                    const TessroPoint* p0, const TessroPoint* p1, const TessroPoint* p2) {
    return TessroEntry(context, [&] {
        const TransparencyStyle s = CheckTransparencyGraduation(style, table);
        RequirePoints({p0, p1});
        TessroDrawState& draw = context->draw;
        if (s.kind == kConical) {
            SetConicalTransparency(context, s, table, *p0, *p1);
            return 0;
        }
        RequirePoints({p2});
        const double extent = static_cast<double>(s.length);
        if (!TessroThreePointSetup(context, &draw.transparency, *p0, *p1, *p2, extent, extent)) {
            SetUniformTransparency(draw, table[s.length - 1]);
            return 0;
        }
        StoreTransparencyTable(draw, s, table);
        const DWORD isLong = s.isLong ? 1 : 0, repeat = s.repeat ? 1 : 0;
        DWORD generator;
        if (s.kind == kRadial) {
            // The transparency's own table length: the colour fill's flag stays as it was.
            SetRadial(context, *p0, *p1, *p2, s.repeat, s.isLong, draw.transparencyRadial);
            generator = (repeat ? 18 : 12) + 3 * isLong;
        } else if (s.kind == kSquare) {
            generator = 24 + 3 * isLong + 6 * repeat;
        } else {
            generator = 3 * isLong + 6 * repeat;
        }
        draw.transparencySource = static_cast<std::int32_t>(generator) + 1;
        return 0;
    });
}

int TessroSetPerspectiveTransparencyGraduation(TessroContext* context, DWORD style, const BYTE* table,
                                               const TessroPoint* p0, const TessroPoint* p1,
                                               const TessroPoint* p2, const TessroPoint* p3) {
    return TessroEntry(context, [&] {
        const TransparencyStyle s = CheckTransparencyGraduation(style, table);
        RequirePoints({p0, p1});
        TessroDrawState& draw = context->draw;
        if (s.kind == kConical) {
            SetConicalTransparency(context, s, table, *p0, *p1);
            return 0;
        }
        RequirePoints({p2, p3});
        double extent = static_cast<double>(s.length);
        if (s.kind == kRadial) extent = (s.isLong && s.repeat) ? kLongTable : kShortTable;
        TessroFourPointSetup(context, &draw.transparency, *p0, *p1, *p2, *p3, extent, extent);
        StoreTransparencyTable(draw, s, table);
        const DWORD a = draw.transparency.rowAffine, isLong = s.isLong ? 1 : 0, repeat = s.repeat ? 1 : 0;
        const DWORD group = s.kind == kRadial ? 12 : s.kind == kSquare ? 24 : 0;
        draw.transparencySource = static_cast<std::int32_t>(group + 1 + a + 3 * isLong + 6 * repeat) + 1;
        return 0;
    });
}

int TessroSetThreeValueTransparency(TessroContext* context, DWORD kind, DWORD value0, DWORD value1,
                                    DWORD value2, const TessroPoint* p0, const TessroPoint* p1,
                                    const TessroPoint* p2) {
    return TessroEntry(context, [&] {
        const BYTE k = CheckValueKind(kind);
        RequirePoints({p0, p1, p2});
        TessroDrawState& draw = context->draw;
        if (!TessroThreePointSetup(context, &draw.transparency, *p0, *p1, *p2, kFieldExtent, kFieldExtent)) {
            SetUniformTransparency(draw, static_cast<BYTE>(value0));
            return 0;
        }
        const BYTE values[4] = {static_cast<BYTE>(value0), static_cast<BYTE>(value1), static_cast<BYTE>(value2), 0};
        std::memcpy(draw.transparencyValues, values, sizeof(values));
        draw.transparencyKind = k;
        draw.transparencySource = 37 + 1;
        return 0;
    });
}

int TessroSetPerspectiveThreeValueTransparency(TessroContext* context, DWORD kind, DWORD value0,
                                               DWORD value1, DWORD value2, const TessroPoint* p0,
                                               const TessroPoint* p1, const TessroPoint* p2,
                                               const TessroPoint* p3) {
    return TessroEntry(context, [&] {
        const BYTE k = CheckValueKind(kind);
        RequirePoints({p0, p1, p2, p3});
        TessroDrawState& draw = context->draw;
        TessroFourPointSetup(context, &draw.transparency, *p0, *p1, *p2, *p3, kFieldExtent, kFieldExtent);
        const BYTE values[4] = {static_cast<BYTE>(value0), static_cast<BYTE>(value1), static_cast<BYTE>(value2), 0};
        std::memcpy(draw.transparencyValues, values, sizeof(values));
        draw.transparencyKind = k;
        draw.transparencySource = static_cast<std::int32_t>(38 + draw.transparency.rowAffine) + 1;
        return 0;
    });
}

int TessroSetFourValueTransparency(TessroContext* context, DWORD kind, DWORD value0, DWORD value1,
                                   DWORD value2, DWORD value3, const TessroPoint* p0,
                                   const TessroPoint* p1, const TessroPoint* p2) {
    return TessroEntry(context, [&] {
        const BYTE k = CheckValueKind(kind);
        RequirePoints({p0, p1, p2});
        TessroDrawState& draw = context->draw;
        if (!TessroThreePointSetup(context, &draw.transparency, *p0, *p1, *p2, kFieldExtent, kFieldExtent)) {
            SetUniformTransparency(draw, static_cast<BYTE>(value0));
            return 0;
        }
        const BYTE values[4] = {static_cast<BYTE>(value0), static_cast<BYTE>(value1), static_cast<BYTE>(value2),
                                static_cast<BYTE>(value3)};
        std::memcpy(draw.transparencyValues, values, sizeof(values));
        draw.transparencyKind = k;
        draw.transparencySource = 40 + 1;
        return 0;
    });
}

int TessroSetPerspectiveFourValueTransparency(TessroContext* context, DWORD kind, DWORD value0,
                                              DWORD value1, DWORD value2, DWORD value3,
                                              const TessroPoint* p0, const TessroPoint* p1,
                                              const TessroPoint* p2, const TessroPoint* p3) {
    return TessroEntry(context, [&] {
        const BYTE k = CheckValueKind(kind);
        RequirePoints({p0, p1, p2, p3});
        TessroDrawState& draw = context->draw;
        TessroFourPointSetup(context, &draw.transparency, *p0, *p1, *p2, *p3, kFieldExtent, kFieldExtent);
        const BYTE values[4] = {static_cast<BYTE>(value0), static_cast<BYTE>(value1), static_cast<BYTE>(value2),
                                static_cast<BYTE>(value3)};
        std::memcpy(draw.transparencyValues, values, sizeof(values));
        draw.transparencyKind = k;
        draw.transparencySource = static_cast<std::int32_t>(41 + draw.transparency.rowAffine) + 1;
        return 0;
    });
}
