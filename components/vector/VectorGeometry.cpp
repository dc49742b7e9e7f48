#include "components/vector/VectorGeometry.h"
#include "framework/core/NumericConvert.h"

#include <algorithm>
#include <cmath>

namespace vector {

namespace {

const double kPi = 3.14159265358979323846;
// A cubic of this many device pixels of deviation or less is drawn as its chord; deeper
// subdivision than kMaxCurveDepth levels (65536 pieces) is never needed for a visible curve.
const int kMaxCurveDepth = 16;
// Segments of a full circle in a round join at the widths UI documents use.
const int kMinJoinSegments = 8;
const int kMaxJoinSegments = 64;

double Radians(double degrees)
{
    return degrees * kPi / 180.0;
}

PointF Mid(PointF a, PointF b)
{
    return {(a.x + b.x) / 2, (a.y + b.y) / 2};
}

double DistanceToLine(PointF p, PointF a, PointF b)
{
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double length = std::sqrt(dx * dx + dy * dy);
    if (length < 1e-12)
        return std::hypot(p.x - a.x, p.y - a.y);
    return std::fabs((p.x - a.x) * dy - (p.y - a.y) * dx) / length;
}

void FlattenCubic(PointF p0, PointF p1, PointF p2, PointF p3, double tolerance, int depth,
                  std::vector<PointF>& out)
{
    if (depth >= kMaxCurveDepth ||
        (DistanceToLine(p1, p0, p3) <= tolerance && DistanceToLine(p2, p0, p3) <= tolerance)) {
        out.push_back(p3);
        return;
    }
    const PointF p01 = Mid(p0, p1), p12 = Mid(p1, p2), p23 = Mid(p2, p3);
    const PointF p012 = Mid(p01, p12), p123 = Mid(p12, p23);
    const PointF m = Mid(p012, p123);
    FlattenCubic(p0, p01, p012, m, tolerance, depth + 1, out);
    FlattenCubic(m, p123, p23, p3, tolerance, depth + 1, out);
}

std::vector<PointF> Circle(PointF centre, double radius)
{
    int segments = ClampToInt(std::ceil(radius * 2));
    segments = std::clamp(segments, kMinJoinSegments, kMaxJoinSegments);
    std::vector<PointF> points;
    points.reserve(segments);
    for (int i = 0; i < segments; ++i) {
        const double angle = 2 * kPi * i / segments;
        points.push_back({centre.x + radius * std::cos(angle), centre.y + radius * std::sin(angle)});
    }
    return points;
}

void AddOriented(std::vector<Polygon>& out, std::vector<PointF> points)
{
    if (SignedArea(points) < 0)
        std::reverse(points.begin(), points.end());
    out.push_back({std::move(points), true});
}

}  // namespace

Affine Affine::Rotate(double degrees)
{
    const double r = Radians(degrees);
    const double cs = std::cos(r), sn = std::sin(r);
    return {cs, sn, -sn, cs, 0, 0};
}

Affine Affine::SkewX(double degrees)
{
    return {1, 0, std::tan(Radians(degrees)), 1, 0, 0};
}

Affine Affine::SkewY(double degrees)
{
    return {1, std::tan(Radians(degrees)), 0, 1, 0, 0};
}

Affine Affine::operator*(const Affine& o) const
{
    return {a * o.a + c * o.b,     b * o.a + d * o.b,     a * o.c + c * o.d,
            b * o.c + d * o.d,     a * o.e + c * o.f + e, b * o.e + d * o.f + f};
}

bool Affine::Invert(Affine* out) const
{
    const double det = Determinant();
    if (!std::isfinite(det) || std::fabs(det) < 1e-12) {
        *out = Affine();
        return false;
    }
    const double ia = d / det, ib = -b / det, ic = -c / det, id = a / det;
    *out = {ia, ib, ic, id, -(ia * e + ic * f), -(ib * e + id * f)};
    return true;
}

double Affine::MeanScale() const
{
    return std::sqrt(std::fabs(Determinant()));
}

void RectF::Include(PointF p)
{
    left = std::min(left, p.x);
    top = std::min(top, p.y);
    right = std::max(right, p.x);
    bottom = std::max(bottom, p.y);
}

void RectF::Include(const RectF& r)
{
    if (r.right < r.left || r.bottom < r.top)
        return;
    Include(PointF{r.left, r.top});
    Include(PointF{r.right, r.bottom});
}

void VectorPath::MoveTo(PointF p)
{
    m_verbs.push_back(kMove);
    m_points.push_back(p);
    m_current = m_start = p;
    m_open = true;
}

void VectorPath::LineTo(PointF p)
{
    if (!m_open)
        MoveTo(m_current);
    m_verbs.push_back(kLine);
    m_points.push_back(p);
    m_current = p;
}

void VectorPath::CubicTo(PointF c1, PointF c2, PointF p)
{
    if (!m_open)
        MoveTo(m_current);
    m_verbs.push_back(kCubic);
    m_points.push_back(c1);
    m_points.push_back(c2);
    m_points.push_back(p);
    m_current = p;
}

void VectorPath::QuadTo(PointF c, PointF p)
{
    const PointF s = m_current;
    CubicTo({s.x + 2.0 / 3 * (c.x - s.x), s.y + 2.0 / 3 * (c.y - s.y)},
            {p.x + 2.0 / 3 * (c.x - p.x), p.y + 2.0 / 3 * (c.y - p.y)}, p);
}

void VectorPath::ArcTo(double rx, double ry, double rotationDegrees, bool largeArc, bool sweep,
                       PointF p)
{
    const PointF s = m_current;
    if (s.x == p.x && s.y == p.y)
        return;
    rx = std::fabs(rx);
    ry = std::fabs(ry);
    if (rx == 0 || ry == 0 || !std::isfinite(rx) || !std::isfinite(ry)) {
        LineTo(p);
        return;
    }
    // Endpoint to centre parameterisation, with radii grown when they cannot reach.
    const double phi = Radians(rotationDegrees);
    const double cs = std::cos(phi), sn = std::sin(phi);
    const double hx = (s.x - p.x) / 2, hy = (s.y - p.y) / 2;
    const double x1 = cs * hx + sn * hy, y1 = -sn * hx + cs * hy;
    const double lambda = (x1 * x1) / (rx * rx) + (y1 * y1) / (ry * ry);
    if (lambda > 1) {
        rx *= std::sqrt(lambda);
        ry *= std::sqrt(lambda);
    }
    const double num = rx * rx * ry * ry - rx * rx * y1 * y1 - ry * ry * x1 * x1;
    const double den = rx * rx * y1 * y1 + ry * ry * x1 * x1;
    double factor = den > 0 ? std::sqrt(std::max(0.0, num / den)) : 0;
    if (largeArc == sweep)
        factor = -factor;
    const double cx1 = factor * rx * y1 / ry, cy1 = -factor * ry * x1 / rx;
    const double cx = cs * cx1 - sn * cy1 + (s.x + p.x) / 2;
    const double cy = sn * cx1 + cs * cy1 + (s.y + p.y) / 2;
    const double theta1 = std::atan2((y1 - cy1) / ry, (x1 - cx1) / rx);
    double delta = std::atan2((-y1 - cy1) / ry, (-x1 - cx1) / rx) - theta1;
    if (sweep && delta < 0)
        delta += 2 * kPi;
    else if (!sweep && delta > 0)
        delta -= 2 * kPi;

    // Parameters that make the turn undefined (NaN, infinite radii) give the straight line.
    if (!std::isfinite(delta) || !std::isfinite(cx) || !std::isfinite(cy)) {
        LineTo(p);
        return;
    }
    // One cubic per quarter turn at most.
    const int pieces = std::max(1, static_cast<int>(std::ceil(std::fabs(delta) / (kPi / 2) - 1e-9)));
    const double step = delta / pieces;
    const double k = 4.0 / 3.0 * std::tan(step / 4);
    auto at = [&](double t, double ex, double ey) {
        return PointF{cx + rx * ex * cs - ry * ey * sn, cy + rx * ex * sn + ry * ey * cs};
    };
    double t = theta1;
    for (int i = 0; i < pieces; ++i) {
        const double t2 = t + step;
        const double c1 = std::cos(t), s1 = std::sin(t), c2 = std::cos(t2), s2 = std::sin(t2);
        const PointF q1 = at(t, c1 - k * s1, s1 + k * c1);
        const PointF q2 = at(t2, c2 + k * s2, s2 - k * c2);
        const PointF q3 = i == pieces - 1 ? p : at(t2, c2, s2);
        CubicTo(q1, q2, q3);
        t = t2;
    }
}

void VectorPath::Close()
{
    if (!m_open)
        return;
    m_verbs.push_back(kClose);
    m_current = m_start;
    m_open = false;
}

void VectorPath::Append(const VectorPath& other, const Affine& transform)
{
    size_t i = 0;
    for (Verb verb : other.m_verbs) {
        switch (verb) {
        case kMove:
            MoveTo(transform.Apply(other.m_points[i++]));
            break;
        case kLine:
            LineTo(transform.Apply(other.m_points[i++]));
            break;
        case kCubic: {
            const PointF c1 = transform.Apply(other.m_points[i]);
            const PointF c2 = transform.Apply(other.m_points[i + 1]);
            const PointF p = transform.Apply(other.m_points[i + 2]);
            i += 3;
            CubicTo(c1, c2, p);
            break;
        }
        case kClose:
            Close();
            break;
        }
    }
}

RectF VectorPath::Bounds(const Affine& transform) const
{
    RectF r = RectF::Empty();
    for (const PointF& p : m_points)
        r.Include(transform.Apply(p));
    return r;
}

std::vector<Polygon> FlattenPath(const VectorPath& path, const Affine& transform, double tolerance)
{
    std::vector<Polygon> out;
    const auto& points = path.Points();
    size_t i = 0;
    PointF current;
    for (VectorPath::Verb verb : path.Verbs()) {
        switch (verb) {
        case VectorPath::kMove:
            current = transform.Apply(points[i++]);
            out.push_back({{current}, false});
            break;
        case VectorPath::kLine:
            current = transform.Apply(points[i++]);
            out.back().points.push_back(current);
            break;
        case VectorPath::kCubic: {
            const PointF c1 = transform.Apply(points[i]);
            const PointF c2 = transform.Apply(points[i + 1]);
            const PointF p = transform.Apply(points[i + 2]);
            i += 3;
            FlattenCubic(current, c1, c2, p, tolerance, 0, out.back().points);
            current = p;
            break;
        }
        case VectorPath::kClose:
            out.back().closed = true;
            break;
        }
    }
    return out;
}

std::vector<Polygon> StrokePolygons(const std::vector<Polygon>& lines, double width, LineCap cap,
                                    LineJoin join, double miterLimit)
{
    std::vector<Polygon> out;
    const double half = width / 2;
    if (!(half > 0))
        return out;
    for (const Polygon& line : lines) {
        // Consecutive repeats (and a closing point equal to the start) carry no direction.
        std::vector<PointF> p;
        for (const PointF& point : line.points)
            if (p.empty() || std::hypot(point.x - p.back().x, point.y - p.back().y) > 1e-9)
                p.push_back(point);
        if (line.closed && p.size() > 1 && std::hypot(p[0].x - p.back().x, p[0].y - p.back().y) <= 1e-9)
            p.pop_back();
        if (p.empty())
            continue;
        if (p.size() == 1) {
            // A zero-length subpath shows only with round or square caps.
            if (cap == LineCap::kRound)
                AddOriented(out, Circle(p[0], half));
            else if (cap == LineCap::kSquare)
                AddOriented(out, {{p[0].x - half, p[0].y - half}, {p[0].x + half, p[0].y - half},
                                  {p[0].x + half, p[0].y + half}, {p[0].x - half, p[0].y + half}});
            continue;
        }
        const bool closed = line.closed && p.size() > 2;
        const size_t n = p.size();
        const size_t segments = closed ? n : n - 1;
        auto direction = [&](size_t i) {
            const PointF a = p[i], b = p[(i + 1) % n];
            const double length = std::hypot(b.x - a.x, b.y - a.y);
            return PointF{(b.x - a.x) / length, (b.y - a.y) / length};
        };
        for (size_t i = 0; i < segments; ++i) {
            PointF a = p[i], b = p[(i + 1) % n];
            const PointF d = direction(i);
            const double nx = -d.y * half, ny = d.x * half;
            if (!closed && cap == LineCap::kSquare) {
                if (i == 0)
                    a = {a.x - d.x * half, a.y - d.y * half};
                if (i == segments - 1)
                    b = {b.x + d.x * half, b.y + d.y * half};
            }
            AddOriented(out, {{a.x + nx, a.y + ny}, {b.x + nx, b.y + ny}, {b.x - nx, b.y - ny},
                              {a.x - nx, a.y - ny}});
        }
        if (!closed && cap == LineCap::kRound) {
            AddOriented(out, Circle(p[0], half));
            AddOriented(out, Circle(p[n - 1], half));
        }
        // Joins at the corners between consecutive segments.
        const size_t firstCorner = closed ? 0 : 1;
        const size_t lastCorner = closed ? n : n - 1;
        for (size_t k = firstCorner; k < lastCorner; ++k) {
            const PointF v = p[k];
            const PointF din = direction((k + n - 1) % n);
            const PointF dout = direction(k);
            const double cross = din.x * dout.y - din.y * dout.x;
            const double dot = din.x * dout.x + din.y * dout.y;
            if (std::fabs(cross) < 1e-12 && dot > 0)
                continue;  // straight on: the segments meet edge to edge
            if (join == LineJoin::kRound) {
                AddOriented(out, Circle(v, half));
                continue;
            }
            // The outer side is to the left of the path when it turns right, and the other way.
            const double side = cross > 0 ? -1 : 1;
            const PointF nin = {-din.y * half * side, din.x * half * side};
            const PointF nout = {-dout.y * half * side, dout.x * half * side};
            const PointF a = {v.x + nin.x, v.y + nin.y}, b = {v.x + nout.x, v.y + nout.y};
            // Miter length over stroke width is 1 / sin(theta / 2) for the angle theta between
            // the segments.
            const double cosTheta = -dot;
            const double sinHalf = std::sqrt(std::max(0.0, (1 - cosTheta) / 2));
            if (join == LineJoin::kMiter && sinHalf > 1e-9 && 1 / sinHalf <= miterLimit) {
                const double bx = nin.x + nout.x, by = nin.y + nout.y;
                const double length = std::hypot(bx, by);
                const double reach = half / sinHalf;
                if (length > 1e-12) {
                    const PointF tip = {v.x + bx / length * reach, v.y + by / length * reach};
                    AddOriented(out, {v, a, tip, b});
                    continue;
                }
            }
            AddOriented(out, {v, a, b});
        }
    }
    return out;
}

double SignedArea(const std::vector<PointF>& points)
{
    double sum = 0;
    for (size_t i = 0, n = points.size(); i < n; ++i) {
        const PointF& a = points[i];
        const PointF& b = points[(i + 1) % n];
        sum += a.x * b.y - b.x * a.y;
    }
    return sum / 2;
}

bool ContainsPoint(const std::vector<Polygon>& polygons, PointF p, bool evenOdd)
{
    int winding = 0;
    for (const Polygon& polygon : polygons) {
        const auto& pts = polygon.points;
        for (size_t i = 0, n = pts.size(); i < n; ++i) {
            const PointF a = pts[i], b = pts[(i + 1) % n];
            if ((a.y <= p.y) != (b.y <= p.y)) {
                const double x = a.x + (p.y - a.y) * (b.x - a.x) / (b.y - a.y);
                if (x > p.x)
                    winding += b.y > a.y ? 1 : -1;
            }
        }
    }
    return evenOdd ? (winding & 1) != 0 : winding != 0;
}

double DistanceToPolylines(const std::vector<Polygon>& lines, PointF p)
{
    double best = 1e300;
    for (const Polygon& line : lines) {
        const auto& pts = line.points;
        if (pts.size() == 1)
            best = std::min(best, std::hypot(p.x - pts[0].x, p.y - pts[0].y));
        const size_t segments = line.closed ? pts.size() : pts.size() - 1;
        for (size_t i = 0; i < segments && pts.size() > 1; ++i) {
            const PointF a = pts[i], b = pts[(i + 1) % pts.size()];
            const double dx = b.x - a.x, dy = b.y - a.y;
            const double len2 = dx * dx + dy * dy;
            double t = len2 > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / len2 : 0;
            t = std::clamp(t, 0.0, 1.0);
            best = std::min(best, std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy)));
        }
    }
    return best;
}

}  // namespace vector
