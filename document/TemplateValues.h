// The value formats that cross between the program and the template engine's slots, and the
// engine's pixel convention. Portable: no COM here.
#pragma once

#include <cstddef>
#include <cstdint>

#include "framework/core/CString.h"
#include "framework/core/WinTypes.h"

namespace TemplateValues {

// Limits of the text position parser.
constexpr int kMaxPositionTextLength = 199;

// The engine writes premultiplied colours under the transparency byte; the program's Bitmap32
// keeps plain colours. Each partly transparent pixel's colour bytes become
// min(255, c x 255 / opacity), truncating; opaque and clear pixels are left alone.
void ConvertEnginePixels(std::uint32_t* pixels, std::size_t count);

// Parses a text position slot value ("nudge 3,4 : pos 2 posrange all"); outputs whose token is
// missing are left untouched. Only the first kMaxPositionTextLength characters count.
void ParseTextPosition(const CString& value, int* position, int* rangeFlag, int* nudgeX,
                       int* nudgeY);

// True when a slot tag belongs to text object n (from 0): always while the template has at
// most one text object, else the tag must carry "#<n + 1>" as a whole number ("#1" is not
// "#10").
bool BelongsToTextObject(const CString& tag, int n, int textObjectCount);

// The leading word of a tag: up to the first blank, "#" or digit.
CString LeadingTagWord(const CString& tag);

// "rrggbb" in lower-case hexadecimal, and back. ParseColour gives false (and black) for text
// that is not six hexadecimal digits.
CString FormatColour(COLORREF colour);
bool ParseColour(const CString& text, COLORREF& colour);

// A colour question without a trailing "Color" or "Colour".
CString StripColourSuffix(const CString& question);

// The decimal number that starts at the first digit of text; 0 when it has none.
int NumberFromFirstDigit(const CString& text);
// The text as a decimal integer (leading number, 0 when none), as the engine's values read.
long DecimalValue(const CString& text);

// A CONSTRAINED slot value: "<value> NoTranslate Height:<height x 750>", and the width and
// height (pixels) read back from "<width> Height:<height>" in engine units.
CString FormatConstraint(const CString& value, double constrainedHeight);
bool ParseConstraint(const CString& value, double& width, double& height);

// Cuts "@#BMP!" and the one character before it out of a tag.
CString CutBitmapMarker(const CString& tag);

}  // namespace TemplateValues
