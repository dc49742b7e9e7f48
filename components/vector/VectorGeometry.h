// Geometry of the vector library: affine transforms, paths of lines and cubic curves, and their
// flattening into polygons.
//
// Coordinates are doubles in the document's user space (SVG convention: y grows downwards).
// A path keeps curves exact; flattening happens once per render, after the transform to device
// pixels, so the curve tolerance is in pixels whatever the scale.
#pragma once

#include <vector>

namespace vector {

struct PointF {
    double x = 0;
    double y = 0;
};

// x' = a x + c y + e;  y' = b x + d y + f.
struct Affine {
    double a = 1, b = 0, c = 0, d = 1, e = 0, f = 0;

    static Affine Translate(double tx, double ty) { return {1, 0, 0, 1, tx, ty}; }
    static Affine Scale(double sx, double sy) { return {sx, 0, 0, sy, 0, 0}; }
    static Affine Rotate(double degrees);
    static Affine SkewX(double degrees);
    static Affine SkewY(double degrees);

    // this * other: 'other' is applied first.
    Affine operator*(const Affine& other) const;
    PointF Apply(PointF p) const { return {a * p.x + c * p.y + e, b * p.x + d * p.y + f}; }
    double Determinant() const { return a * d - b * c; }
    // False (and the identity in 'out') when the transform is singular.
    bool Invert(Affine* out) const;
    // The factor by which lengths grow on average (for stroke widths and tolerances).
    double MeanScale() const;
};

struct RectF {
    double left = 0, top = 0, right = 0, bottom = 0;
    bool IsEmpty() const { return !(right > left && bottom > top); }
    void Include(PointF p);
    void Include(const RectF& r);
    static RectF Empty() { return {1e300, 1e300, -1e300, -1e300}; }
};

// A path: subpaths of straight segments and cubic curves (quadratics and arcs become cubics when
// they are added).
class VectorPath {
public:
    enum Verb : unsigned char { kMove, kLine, kCubic, kClose };

    void MoveTo(PointF p);
    void LineTo(PointF p);
    void CubicTo(PointF c1, PointF c2, PointF p);
    void QuadTo(PointF c, PointF p);
    // An elliptical arc in SVG endpoint parameterisation, from the current point to p.
    void ArcTo(double rx, double ry, double rotationDegrees, bool largeArc, bool sweep, PointF p);
    void Close();

    bool Empty() const { return m_verbs.empty(); }
    PointF CurrentPoint() const { return m_current; }
    PointF SubpathStart() const { return m_start; }
    const std::vector<Verb>& Verbs() const { return m_verbs; }
    const std::vector<PointF>& Points() const { return m_points; }
    void Append(const VectorPath& other, const Affine& transform);

    // Bounds of the control polygon under the transform (curves lie inside it).
    RectF Bounds(const Affine& transform) const;

private:
    std::vector<Verb> m_verbs;
    std::vector<PointF> m_points;  // Move, Line: 1 point; Cubic: 3 points; Close: none
    PointF m_current;
    PointF m_start;
    bool m_open = false;
};

// One flattened subpath in device coordinates.
struct Polygon {
    std::vector<PointF> points;
    bool closed = false;
};

// Flattens the transformed path; curves are cut until they deviate from their chords by less
// than 'tolerance' (device units).
std::vector<Polygon> FlattenPath(const VectorPath& path, const Affine& transform,
                                 double tolerance = 0.2);

enum class LineCap { kButt, kRound, kSquare };
enum class LineJoin { kMiter, kRound, kBevel };

// The outline of the polylines stroked with the given width (device units): one quadrilateral
// per segment, a join on the outer side of every corner and a cap at each open end, all wound
// the same way, so that filling them with the nonzero rule paints their union.
std::vector<Polygon> StrokePolygons(const std::vector<Polygon>& lines, double width,
                                    LineCap cap = LineCap::kButt, LineJoin join = LineJoin::kMiter,
                                    double miterLimit = 4);

// Signed area (positive when the points turn clockwise in a y-down space).
double SignedArea(const std::vector<PointF>& points);

// Point-in-polygon tests in the polygons' own space.
bool ContainsPoint(const std::vector<Polygon>& polygons, PointF p, bool evenOdd);
// Distance from p to the nearest segment of the polylines.
double DistanceToPolylines(const std::vector<Polygon>& lines, PointF p);

}  // namespace vector
