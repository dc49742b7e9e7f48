// The angle dial's geometry: the angle taken from a point, the pointer's place on the knob and
// the angle in whole degrees. Angles are radians; the dial's pi is 3.142, so 180 degrees and
// sixteen key steps meet exactly. Portable.
#pragma once

struct DialFrame {
    bool mirrorX = false;            // x offsets negated
    bool mirrorY = false;            // y offsets negated
    double zeroDirection = -1.571;   // screen direction of angle 0: straight up (y grows down)
    bool clockwise = true;           // the angle grows clockwise on the screen
};

// The turn of one arrow key: a 32nd of a full turn.
constexpr double kDialKeyStep = 0.196375;

// Degrees between -179 and 180: rounded half away from zero, taken modulo 360, then 360
// subtracted above 180.
int DialDegrees(double angle);
double DialAngleFromDegrees(int degrees);

// The angle of a point (dx, dy) from the knob's centre, in client pixels.
double DialAngleFromPoint(const DialFrame& frame, int dx, int dy);

// The pointer's offset from the knob's centre: the pointer distance in units of 5 % of the
// knob's width and height.
void DialPointerOffset(const DialFrame& frame, double angle, int distance, int knobWidth, int knobHeight,
                       double* dx, double* dy);
