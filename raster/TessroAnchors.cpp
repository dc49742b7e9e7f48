// Fill anchor mappings: three points give an affine map from device pixels to fill
// coordinates (u, v), four points a projective one. The forms are computed in extended
// precision and handed to the span routines scaled by the fill's extents.
#include "raster/TessroDrawInternal.h"

namespace {

typedef long double Real;

const Real kPixelScale = 1.0L / 1073741824.0L;  // 16.16 matrix x 1/16384 px: 2^-30
const double kFineScale = 4194304.0;             // 2^22: per 1/1024 px in units of 2^-32
const double kFinePerPixel = 1024.0;
const std::int32_t kHalfPixel = 512;
const Real kRowAffineLimit = 1e-8L;

struct RealPoint {
    Real x;
    Real y;
};

RealPoint Difference(const TessroContext* context, const TessroPoint& p, const TessroPoint& q) {
    const TessroMatrix& m = context->matrix;
    const Real dx = static_cast<Real>(p.x) - q.x, dy = static_cast<Real>(p.y) - q.y;
    return {(m.a * dx + m.c * dy) * kPixelScale, (m.b * dx + m.d * dy) * kPixelScale};
}

RealPoint Map(const TessroContext* context, const TessroPoint& p) {
    const TessroMatrix& m = context->matrix;
    return {(static_cast<Real>(m.a) * p.x + static_cast<Real>(m.c) * p.y + static_cast<Real>(m.e)) * kPixelScale,
            (static_cast<Real>(m.b) * p.x + static_cast<Real>(m.d) * p.y + static_cast<Real>(m.f)) * kPixelScale};
}

Real Cross(const RealPoint& p, const RealPoint& q) { return p.x * q.y - p.y * q.x; }
RealPoint Minus(const RealPoint& p, const RealPoint& q) { return {p.x - q.x, p.y - q.y}; }

std::int32_t NearestFine(Real pixels) {
    return TessroNearest32(static_cast<double>(pixels * kFinePerPixel));
}

}  // namespace

bool TessroThreePointSetup(TessroContext* context, TessroFillGeometry* geometry,
                           const TessroPoint& p0, const TessroPoint& p1, const TessroPoint& p2,
                           double su, double sv) {
    if ((p1.x == p0.x && p1.y == p0.y) || (p2.x == p0.x && p2.y == p0.y)) return false;
    const RealPoint a = Difference(context, p1, p0), b = Difference(context, p2, p0);
    const Real d = a.x * b.y - a.y * b.x;
    if (d == 0) return false;
    const TessroDevicePoint origin = TessroMapPointFine(context, p0.x, p0.y);
    geometry->originX = origin.x;
    geometry->originY = origin.y;
    geometry->halfPixel = kHalfPixel;
    geometry->dudx = static_cast<double>(b.y * su * kFineScale / d);
    geometry->dvdx = static_cast<double>(-a.y * sv * kFineScale / d);
    geometry->dudy = static_cast<double>(-b.x * su * kFineScale / d);
    geometry->dvdy = static_cast<double>(a.x * sv * kFineScale / d);
    geometry->stepUx = TessroNearest64(geometry->dudx * kFinePerPixel);
    geometry->stepVx = TessroNearest64(geometry->dvdx * kFinePerPixel);
    geometry->stepUy = TessroNearest64(geometry->dudy * kFinePerPixel);
    geometry->stepVy = TessroNearest64(geometry->dvdy * kFinePerPixel);
    return true;
}

void TessroFourPointSetup(TessroContext* context, TessroFillGeometry* geometry,
                          const TessroPoint& p0, const TessroPoint& p1, const TessroPoint& p2,
                          const TessroPoint& p3, double su, double sv) {
    const RealPoint q0 = Map(context, p0), q1 = Map(context, p1), q2 = Map(context, p2),
                    q3 = Map(context, p3);
    const Real A = Cross(Minus(q1, q0), Minus(q3, q0));
    const Real B = Cross(Minus(q2, q0), Minus(q3, q0));
    const Real C = Cross(Minus(q2, q0), Minus(q1, q0));
    const Real E = Cross(Minus(q1, q2), Minus(q3, q2));
    const Real e1 = q2.x * A - q1.x * B, e2 = q3.x * C + q2.x * A;
    const Real e3 = q2.y * A - q1.y * B, e4 = q3.y * C + q2.y * A;
    const Real wx = (A - B) * e4 - (A + C) * e3;
    const Real wy = (A + C) * e1 - (A - B) * e2;
    const Real w0 = e2 * e3 - e1 * e4;
    const Real ux = C * E * (q3.y - q0.y), uy = C * E * (q0.x - q3.x);
    const Real u0 = -(ux * q0.x + uy * q0.y);
    const Real vx = B * E * (q1.y - q0.y), vy = B * E * (q0.x - q1.x);
    const Real v0 = -(vx * q0.x + vy * q0.y);

    geometry->originX = NearestFine(q0.x);
    geometry->originY = NearestFine(q0.y);
    geometry->halfPixel = kHalfPixel;
    const Real magnitude = wx < 0 ? -wx : wx;
    geometry->rowAffine = magnitude < kRowAffineLimit ? 1 : 0;
    if (geometry->rowAffine) {
        geometry->uX = static_cast<double>(ux * su);
        geometry->uY = static_cast<double>(uy * su);
        geometry->u0 = static_cast<double>(u0 * su);
        geometry->vX = static_cast<double>(vx * sv);
        geometry->vY = static_cast<double>(vy * sv);
        geometry->v0 = static_cast<double>(v0 * sv);
        geometry->denY = static_cast<double>(wy);
        geometry->den0 = static_cast<double>(w0);
        return;
    }
    // Divided through by the x coefficient: u = Qu + (Puy y + Pu0) / (x + Gy y + G0). The
    // constant parts carry -0.5 so that rounding the per-pixel value picks the containing cell.
    const Real g = 1 / wx;
    const Real gy = wy * g, g0 = w0 * g;
    geometry->uX = static_cast<double>(ux * g * su - 0.5L);
    geometry->uY = static_cast<double>((uy - gy * ux) * g * su);
    geometry->u0 = static_cast<double>((u0 - g0 * ux) * g * su);
    geometry->vX = static_cast<double>(vx * g * sv - 0.5L);
    geometry->vY = static_cast<double>((vy - gy * vx) * g * sv);
    geometry->v0 = static_cast<double>((v0 - g0 * vx) * g * sv);
    geometry->denY = static_cast<double>(gy);
    geometry->den0 = static_cast<double>(g0);
}
