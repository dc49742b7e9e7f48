#include "panels/NumberText.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

int ClampDecimals(int decimals) { return decimals < 0 ? 0 : decimals > 9 ? 9 : decimals; }

}  // namespace

void TrimTrailingZeros(CString& text)
{
    if (text.Find('.') < 0)
        return;
    int length = text.GetLength();
    while (length > 0 && text[length - 1] == '0')
        --length;
    if (length > 0 && text[length - 1] == '.')
        --length;
    text = text.Left(length);
}

CString BuildNumberFormat(int decimals)
{
    CString format;
    format.Format("%%.%df", ClampDecimals(decimals));
    return format;
}

double NumberEpsilon(int decimals) { return 0.5 * std::pow(10.0, -ClampDecimals(decimals)); }

CString FormatTrimmed(double value, const char* format)
{
    char buffer[400];  // "%.9f" of the largest double stays far below this
    std::snprintf(buffer, sizeof buffer, format, value);
    CString text(buffer);
    TrimTrailingZeros(text);
    return text;
}

double ReadLeadingDouble(const char* text)
{
    if (!text)
        return 0.0;
    const double value = std::strtod(text, nullptr);
    return std::isfinite(value) ? value : 0.0;
}

double ClampDouble(double value, double minimum, double maximum)
{
    if (value < minimum)
        return minimum;
    if (value > maximum)
        return maximum;
    return value;
}
