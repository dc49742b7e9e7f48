#include "panels/DialGeometry.h"

#include <cmath>

namespace {

constexpr double kDialPi = 3.142;

}  // namespace

int DialDegrees(double angle)
{
    const double degrees = angle / kDialPi * 180.0;
    if (!std::isfinite(degrees))
        return 0;
    // Far beyond any real turn the modulo below would overflow an int; fold first.
    long long whole = std::llround(std::fmod(degrees, 360.0 * 1000.0));
    whole %= 360;
    if (whole < 0)
        whole += 360;
    return static_cast<int>(whole > 180 ? whole - 360 : whole);
}

double DialAngleFromDegrees(int degrees) { return degrees / 180.0 * kDialPi; }

double DialAngleFromPoint(const DialFrame& frame, int dx, int dy)
{
    const double x = frame.mirrorX ? -dx : dx;
    const double y = frame.mirrorY ? -dy : dy;
    const double t = std::atan2(y, x);
    return frame.clockwise ? t - frame.zeroDirection : -(t - frame.zeroDirection);
}

void DialPointerOffset(const DialFrame& frame, double angle, int distance, int knobWidth, int knobHeight,
                       double* dx, double* dy)
{
    const double s = frame.zeroDirection + (frame.clockwise ? angle : -angle);
    double x = distance * std::cos(s) * knobWidth * 0.05;
    double y = distance * std::sin(s) * knobHeight * 0.05;
    if (frame.mirrorX)
        x = -x;
    if (frame.mirrorY)
        y = -y;
    *dx = x;
    *dy = y;
}
