// The transparency variants of prepared fills on 32-bit targets. The selection turns each into
// a plain blend of the row buffer wherever it can, so the blend modes need one per-pixel
// routine each:
//   - own transparency (bit 30): a pair routine folds the source's own transparency and the
//     type's (the style's amount, or the transparency source's byte) into the fourth byte;
//   - masked source (bit 31): the amount type blends unmasked pixels with the style's amount
//     and puts masked pixels back as they were (the blend sees them fully transparent, which
//     not every mode treats as exactly no change); a transparency source ORs its bytes in, so
//     masked pixels stay masked;
//   - type 0 with bit 31: the masked copy, which writes unmasked pixels opaque.
#include "raster/TessroMaskSpans.h"

#include <algorithm>

#include "raster/TessroBitmapSpans.h"
#include "raster/TessroBlendSpans.h"
#include "raster/TessroTransparencyGenerators.h"

namespace {

const DWORD kMaskedPixels = 1u << 31;
const DWORD kOwnTransparency = 1u << 30;
const DWORD kMaskedBit = 0x80;
const DWORD kShadingPlainType = 34, kShadingAmountType = 35, kShadingSourcedType = 36;
const DWORD kFirstBitmapIndex = 296, kLastBitmapIndex = 685;

// The role of a transparency type and the plain and amount types of its blend mode.
enum Role { kNoBlend, kPlain, kAmount, kSourced, kSpecial, kShading };
struct TypeRole {
    Role role;
    DWORD plain, amount;
};

TypeRole RoleOf(DWORD t) {
    if (t == 0) return {kNoBlend, 0, 0};
    if (t <= 9) {
        const DWORD mode = (t - 1) % 3 + 1;
        const Role role = t <= 3 ? kPlain : t <= 6 ? kAmount : kSourced;
        return {role, mode, mode + 3};
    }
    if (t <= 12) return {kSpecial, t, t};
    if (t <= 33) {
        const DWORD first = 13 + 3 * ((t - 13) / 3);
        const DWORD k = t - first;
        return {k == 0 ? kPlain : k == 1 ? kAmount : kSourced, first, first + 1};
    }
    return {kShading, kShadingPlainType, kShadingAmountType};
}

// What the selection makes of the transparency word.
enum Route { kBlend, kMaskedCopy, kShadingPlain, kShadingPaired };
enum Prepass { kNoPrepass, kAmountPair, kSourcePair, kMaskedAmount };
struct Plan {
    Route route;
    Prepass prepass;
    DWORD blendType;      // the word the blend spans see
    bool generator;       // the transparency source's full generator runs in front
    bool constantAmount;  // paired shading: the amount is the style's
};

Plan MakePlan(const TessroContext* context) {
    const DWORD word = context->transparencyType;
    const bool own = (word & kOwnTransparency) != 0, masked = (word & kMaskedPixels) != 0;
    DWORD t = word & 0xFF;
    TypeRole role = RoleOf(t);
    // A sourced type without a transparency source is the amount type of its mode.
    if (role.role == kSourced && context->draw.transparencySource == 0) {
        t = role.amount;
        role = RoleOf(t);
    }
    if (t == kShadingSourcedType && context->draw.transparencySource == 0) t = kShadingAmountType;
    Plan plan = {kBlend, kNoPrepass, word, false, false};
    if (role.role == kShading) {
        if (own) {
            plan.route = kShadingPaired;
            plan.constantAmount = t != kShadingSourcedType;
        } else {
            // The amount type has no plain or masked shading routine.
            if (t == kShadingAmountType) TessroFail(TESSRO_ERROR_INVALID_SCANLINE_ROUTINE);
            plan.route = kShadingPlain;
            plan.generator = t == kShadingSourcedType;
        }
        return plan;
    }
    if (role.role == kNoBlend) {
        if (masked) plan.route = kMaskedCopy;
        if (own) plan.blendType = 1;  // the per-pixel mix: the source's byte is its transparency
        return plan;
    }
    if (role.role == kSpecial || (!own && !masked)) return plan;
    plan.blendType = role.plain;
    if (own) {
        if (role.role == kAmount) plan.prepass = kAmountPair;
        if (role.role == kSourced) plan.prepass = kSourcePair;
    } else {
        if (role.role == kAmount) plan.prepass = kMaskedAmount;
        if (role.role == kSourced) plan.generator = true;
    }
    return plan;
}

// The blend spans choose by the plain type; the style keeps its own word.
class TypeSwap {
public:
    TypeSwap(TessroContext* context, DWORD word) : context_(context), saved_(context->transparencyType) {
        context->transparencyType = word;
    }
    ~TypeSwap() { context_->transparencyType = saved_; }

private:
    TessroContext* context_;
    DWORD saved_;
};

inline DWORD* Pixels(BYTE* row) { return reinterpret_cast<DWORD*>(row); }
inline DWORD Amount(const TessroContext* context) { return context->draw.transparencyAmount & 0xFF; }

// ---- Pre-passes over the row buffer, after the fill's colours ----

// Opacity of the result = the product of both opacities: T + P[a][255 - T].
void AmountPairFill(TessroContext* context, BYTE* row, std::int32_t y, std::int32_t x0, std::int32_t x1) {
    context->draw.sourceSpan(context, row, y, x0, x1);
    const int a = static_cast<int>(Amount(context));
    DWORD* pixels = Pixels(row);
    for (std::int32_t x = x0; x < x1; ++x) {
        const int t = static_cast<int>(pixels[x] >> 24);
        pixels[x] = (pixels[x] & 0x00FFFFFFu) | (static_cast<DWORD>(t + TessroProduct(a, 255 - t)) << 24);
    }
}

void SourcePairFill(TessroContext* context, BYTE* row, std::int32_t y, std::int32_t x0, std::int32_t x1) {
    TessroDrawState& draw = context->draw;
    draw.sourceSpan(context, row, y, x0, x1);
    draw.amountSpan(context, reinterpret_cast<BYTE*>(draw.amountBuffer), y, x0, x1);
    DWORD* pixels = Pixels(row);
    for (std::int32_t x = x0; x < x1; ++x) {
        const int t1 = static_cast<int>(pixels[x] >> 24), t2 = static_cast<int>(draw.amountBuffer[x] >> 24);
        pixels[x] = (pixels[x] & 0x00FFFFFFu) | (static_cast<DWORD>(t1 + TessroProduct(t2, 255 - t1)) << 24);
    }
}

void MaskedAmountFill(TessroContext* context, BYTE* row, std::int32_t y, std::int32_t x0, std::int32_t x1) {
    context->draw.sourceSpan(context, row, y, x0, x1);
    const DWORD amount = Amount(context) << 24;
    DWORD* pixels = Pixels(row);
    for (std::int32_t x = x0; x < x1; ++x) {
        const DWORD t = (pixels[x] >> 24) & kMaskedBit ? 0xFF000000u : amount;
        pixels[x] = (pixels[x] & 0x00FFFFFFu) | t;
    }
}

// The masked amount around the blend: the target's pixels are kept in the second row buffer
// and the masked ones (the fill marks them fully transparent) put back afterwards.
inline bool MarkedMasked(const TessroDrawState& draw, std::int32_t x) { return (draw.rowBuffer[x] >> 24) == 0xFF; }

void MaskedAmountSpan(TessroContext* context, BYTE* row, std::int32_t y, std::int32_t x0, std::int32_t x1) {
    TessroDrawState& draw = context->draw;
    DWORD* out = Pixels(row);
    const bool target = row != reinterpret_cast<BYTE*>(draw.rowBuffer);
    if (target) std::copy(out + x0, out + x1, draw.amountBuffer + x0);
    draw.amountSpan(context, row, y, x0, x1);
    if (!target) return;
    for (std::int32_t x = x0; x < x1; ++x) {
        if (MarkedMasked(draw, x)) out[x] = draw.amountBuffer[x];
    }
}

void MaskedAmountWriter(TessroContext* context, BYTE* row, std::int32_t y, std::int32_t x0, std::int32_t x1) {
    TessroDrawState& draw = context->draw;
    DWORD* out = Pixels(row);
    std::copy(out + x0, out + x1, draw.amountBuffer + x0);
    context->path.innerWriteCoverage(context, row, y, x0, x1);
    for (std::int32_t x = x0; x < x1; ++x) {
        if (MarkedMasked(draw, x)) out[x] = draw.amountBuffer[x];
    }
}

// The style's amount as the transparency of every pixel of the second row buffer.
void ConstantAmountFill(TessroContext* context, BYTE* row, std::int32_t, std::int32_t x0, std::int32_t x1) {
    const DWORD amount = Amount(context) << 24;
    DWORD* pixels = Pixels(row);
    for (std::int32_t x = x0; x < x1; ++x) pixels[x] = amount;
}

// ---- Masked copy ----

template <bool Premultiplied>
void MaskedCopySpan(TessroContext* context, BYTE* row, std::int32_t y, std::int32_t x0, std::int32_t x1) {
    TessroDrawState& draw = context->draw;
    draw.sourceSpan(context, reinterpret_cast<BYTE*>(draw.rowBuffer), y, x0, x1);
    if (row == reinterpret_cast<BYTE*>(draw.rowBuffer)) return;  // coverage mode: the writer copies
    DWORD* out = Pixels(row);
    for (std::int32_t x = x0; x < x1; ++x) {
        const DWORD src = draw.rowBuffer[x];
        if (((src >> 24) & kMaskedBit) == 0) out[x] = src & 0x00FFFFFFu;
    }
}

// Unmasked pixels mix towards the source by the coverage. On the premultiplied format the
// source is opaque, so the pixel's transparency falls with the coverage too (else a covered
// pixel would keep the transparency of the empty one under it).
template <bool Premultiplied>
void MaskedCopyWriter(TessroContext* context, BYTE* row, std::int32_t, std::int32_t x0, std::int32_t x1) {
    const BYTE* coverage = reinterpret_cast<const BYTE*>(context->path.coverage);
    const DWORD* fills = context->draw.rowBuffer;
    DWORD* out = Pixels(row);
    for (std::int32_t x = x0; x < x1; ++x) {
        const int cov = coverage[x];
        const DWORD src = fills[x];
        if (cov == 0 || ((src >> 24) & kMaskedBit) != 0) continue;
        if (cov >= 255) {
            out[x] = Premultiplied ? src & 0x00FFFFFFu : src;
            continue;
        }
        const DWORD dst = out[x];
        DWORD result = dst & 0xFF000000u;
        if (Premultiplied) {
            const int t = static_cast<int>(dst >> 24);
            result = static_cast<DWORD>(t - TessroProduct(cov, t)) << 24;
        }
        for (int c = 0; c < 24; c += 8) {
            const int d = static_cast<int>((dst >> c) & 0xFF), s = static_cast<int>((src >> c) & 0xFF);
            result |= static_cast<DWORD>(d - TessroProduct(cov, d - s)) << c;
        }
        out[x] = result;
    }
}

bool Premultiplied(const TessroContext* context) { return context->targetFormat == kTessroFormat32Alpha; }

// The plain types read the fill's fourth byte, and both variants read the source's.
bool ReadsFourthByte(DWORD word) {
    if ((word & (kMaskedPixels | kOwnTransparency)) != 0) return true;
    const DWORD t = word & 0xFF;
    return t == 12 || (t != 0 && RoleOf(t).role == kPlain) || t == kShadingPlainType;
}

}  // namespace

TessroSpanFunc TessroPreparedTransparencySpan(TessroContext* context, TessroSpanFunc colour) {
    TessroDrawState& draw = context->draw;
    const Plan plan = MakePlan(context);
    const bool premultiplied = Premultiplied(context);
    TessroSpanFunc fill = colour;
    switch (plan.route) {
        case kMaskedCopy:
            draw.sourceSpan = colour;
            return premultiplied ? MaskedCopySpan<true> : MaskedCopySpan<false>;
        case kShadingPlain:
            draw.rowBufferFill = plan.generator ? TessroSetUpTransparencyGenerator(context, colour) : colour;
            draw.sourceSpan = colour;
            return TessroShadingSpan(premultiplied, false);
        case kShadingPaired:
            draw.amountSpan = plan.constantAmount ? ConstantAmountFill : TessroSetUpTransparencyGenerator(context, nullptr);
            draw.rowBufferFill = colour;
            draw.sourceSpan = colour;
            return TessroShadingSpan(premultiplied, true);
        case kBlend: break;
    }
    switch (plan.prepass) {
        case kAmountPair: fill = AmountPairFill; break;
        case kSourcePair:
            draw.amountSpan = TessroSetUpTransparencyGenerator(context, nullptr);
            fill = SourcePairFill;
            break;
        case kMaskedAmount: fill = MaskedAmountFill; break;
        case kNoPrepass: break;
    }
    if (plan.generator) fill = TessroSetUpTransparencyGenerator(context, colour);
    if (plan.prepass != kNoPrepass) draw.sourceSpan = colour;
    const TypeSwap swap(context, plan.blendType);
    if (plan.prepass == kMaskedAmount) {
        draw.amountSpan = TessroPreparedBlendSpan(context, fill);
        return MaskedAmountSpan;
    }
    return TessroPreparedBlendSpan(context, fill);
}

TessroCoverageWriteFunc TessroPreparedTransparencyWriter(TessroContext* context) {
    const Plan plan = MakePlan(context);
    const bool premultiplied = Premultiplied(context);
    switch (plan.route) {
        case kMaskedCopy: return premultiplied ? MaskedCopyWriter<true> : MaskedCopyWriter<false>;
        case kShadingPlain: return TessroShadingWriter(premultiplied, false);
        case kShadingPaired: return TessroShadingWriter(premultiplied, true);
        case kBlend: break;
    }
    const TypeSwap swap(context, plan.blendType);
    if (plan.prepass == kMaskedAmount) {
        context->path.innerWriteCoverage = TessroPreparedBlendWriter(context);
        return MaskedAmountWriter;
    }
    return TessroPreparedBlendWriter(context);
}

TessroFillIndexEntry TessroPreparedFillEntry(const TessroContext* context) {
    const DWORD index = context->draw.fillIndex;
    if (index >= kFirstBitmapIndex && index <= kLastBitmapIndex && ReadsFourthByte(context->transparencyType)) {
        return TessroBitmapFillEntryKeepingFourth(index);
    }
    return TessroFillIndexAt(index);
}
