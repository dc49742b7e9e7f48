#include "panels/ColourCountScale.h"

#include <cmath>

namespace ColourCountScale {

int Normalise(int mode)
{
    switch (mode) {
    case kWeb: case kFull: case kStepped: case kPng8: case kPng4: case kFull3:
        return mode;
    default:
        return kNone;
    }
}

void Range(int mode, int& minimum, int& maximum)
{
    switch (Normalise(mode)) {
    case kWeb: minimum = 16; maximum = 216; break;
    case kPng8: minimum = 16; maximum = 256; break;
    case kPng4: minimum = 2; maximum = 16; break;
    case kFull: minimum = 2; maximum = 256; break;
    case kFull3: minimum = 3; maximum = 256; break;
    case kStepped: minimum = 0; maximum = 420; break;
    default: minimum = 0; maximum = 1; break;
    }
}

namespace {
// The square-root scales: count = (p - low)^2 / span + low, so that the small counts where one
// colour matters get most of the slider's length. A true division: multiplying by the
// reciprocal lands just below the exact quotients, so the top of the 3..256 scale read 255.
int SquareToValue(int position, int low, double span)
{
    const double d = static_cast<double>(position - low);
    return static_cast<int>(d * d / span) + low;
}
int SquareToPosition(int value, int low, double span)
{
    const double product = static_cast<double>(value - low) * span;
    // A count below the scale's low end has no root; it sits at the start.
    if (product <= 0)
        return static_cast<int>(0.0 + low + 1);
    return static_cast<int>(std::sqrt(product) + low + 1);
}
}  // namespace

int PositionToValue(int mode, int p)
{
    switch (Normalise(mode)) {
    case kWeb: case kPng8: case kPng4:
        return p;
    case kFull:
        return SquareToValue(p, 2, 254.0);
    case kFull3:
        return SquareToValue(p, 3, 253.0);
    case kStepped:
        if (p < 0) return 2;
        if (p < 60) return p / 4 + 2;
        if (p < 300) return p - 43;
        if (p < 360) return kTrueColour24;
        return kTrueColour32;
    default:
        return 0;
    }
}

int ValueToPosition(int mode, int v)
{
    switch (Normalise(mode)) {
    case kWeb: case kPng8: case kPng4:
        return v;
    case kFull:
        return SquareToPosition(v, 2, 254.0);
    case kFull3:
        return SquareToPosition(v, 3, 253.0);
    case kStepped:
        if (v == kTrueColour32) return 420;
        if (v == kTrueColour24) return 359;
        if (v >= 17 && v <= 256) return v + 43;
        if (v >= 1 && v <= 16) return 4 * v - 8;
        return 2;
    default:
        return 0;
    }
}

bool HasOwnTicks(int mode)
{
    const int m = Normalise(mode);
    return m == kStepped || m == kNone;
}

int LabelKind(int mode, int value)
{
    const int m = Normalise(mode);
    if (m == kNone)
        return 0;
    if (m == kStepped && value == kTrueColour24)
        return 24;
    if (m == kStepped && value == kTrueColour32)
        return 32;
    return 1;
}

}  // namespace ColourCountScale
