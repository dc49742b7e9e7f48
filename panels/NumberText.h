// The number texts of the panels' edits: formats with a fixed count of decimals, trailing
// zeros trimmed, clamping, and reading a text's leading number. Texts here use "." as the
// decimal point; the edits turn it into the user's separator and back (util/TextFilters.h).
// Portable.
#pragma once

#include "framework/core/CString.h"

// Removes trailing "0" characters after a ".", and the "." itself when nothing follows it:
// "12.500" becomes "12.5", "12.000" becomes "12"; "120" stays.
void TrimTrailingZeros(CString& text);

// "%.<d>f" with the count of decimals clamped to 0..9.
CString BuildNumberFormat(int decimals);
// Half a unit of the last shown decimal (count clamped to 0..9): two values closer than this
// show the same text.
double NumberEpsilon(int decimals);

// The value printed with the format and trimmed.
CString FormatTrimmed(double value, const char* format);
// The leading number of a text ("." as the point); 0 when it starts with no number.
double ReadLeadingDouble(const char* text);

double ClampDouble(double value, double minimum, double maximum);
