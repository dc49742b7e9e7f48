// The stroker: pen geometry, the dash walk, joins and caps, and the three outputs.
#include "raster/TessroStroker.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "raster/TessroEdgeTable.h"
#include "raster/TessroFlatten.h"
#include "raster/TessroGeometry.h"

namespace {

const int kMaxPrecision = 15;
const std::int64_t kWorkingLimit = std::int64_t(1) << 27;
const double kQuarterArm = 0.5519703;   // control arm of a quarter circle, per radius
// Dash pieces of one stroke beyond which a pattern (of lengths far below a pixel, say) is
// refused as out of memory rather than walked for minutes.
const std::int64_t kMaxDashPieces = std::int64_t(1) << 20;
const std::int32_t kEmptyLow = 0x7FFFFFFF;
const std::int32_t kEmptyHigh = static_cast<std::int32_t>(0x80000000u);

struct Vec {
    double x, y;
};
Vec operator+(Vec p, Vec q) { return {p.x + q.x, p.y + q.y}; }
Vec operator-(Vec p, Vec q) { return {p.x - q.x, p.y - q.y}; }
Vec operator*(Vec p, double k) { return {p.x * k, p.y * k}; }
bool operator==(Vec p, Vec q) { return p.x == q.x && p.y == q.y; }
double Dot(Vec p, Vec q) { return p.x * q.x + p.y * q.y; }
double Cross(Vec p, Vec q) { return p.x * q.y - p.y * q.x; }
double Length(Vec p) { return std::sqrt(Dot(p, p)); }

// One element of an outline: a line to p, or a cubic through c1, c2 to p.
struct Element {
    bool curve;
    Vec c1, c2, p;
};
struct Outline {
    Vec start;
    std::vector<Element> elements;
    void Line(Vec p) { elements.push_back({false, {}, {}, p}); }
    void Curve(Vec c1, Vec c2, Vec p) { elements.push_back({true, c1, c2, p}); }
};

// A stretch of the path drawn without a gap: its vertices, whether it closes on itself, and
// whether its ends get caps.
struct Piece {
    std::vector<Vec> points;
    bool cyclic = false;
    Vec direction{0, 0};  // for a piece of one point: the direction of its segment
};

// Appends a point to a piece; one closer than half a working unit to the last point replaces
// it, so that rounding in the dash walk leaves no sliver pieces.
void Append(Piece& piece, Vec p) {
    if (!piece.points.empty() && Length(p - piece.points.back()) < 0.5) {
        piece.points.back() = p;
        return;
    }
    piece.points.push_back(p);
}

struct Vertex {
    Vec p;
    int group;  // segments of one flattened curve share a group (dash fitting)
};

class Stroker {
public:
    Stroker(TessroContext* context, const TessroStrokeRequest& request)
        : context_(context), request_(request) {}

    std::int32_t Run();

private:
    // ---- setup ----
    void ChooseScale();
    void SetupDash();

    // ---- path walk ----
    void WalkPath(const TessroPoint* points);
    void AddPoint(Vec p, int group);
    void EndSubpath(bool closed);
    static void CollectCurvePoint(TessroContext* context, std::int32_t x, std::int32_t y);

    // ---- pieces ----
    void StrokeSubpath(const std::vector<Vertex>& vertices, bool closed);
    void EmitPiece(const Piece& piece, bool capStart, bool capEnd);
    void EmitSegment(Vec a, Vec b);
    void EmitJoin(Vec v, Vec in, Vec out);
    void EmitCap(Vec p, Vec direction, bool atEnd);
    void EmitDot(Vec p);
    void EmitHairline(Vec a, Vec b);

    // ---- output ----
    void EmitOutline(Outline& outline);
    std::int32_t DeviceOffset(double v) const;
    void MoveTo(Vec p);
    void EdgeTo(Vec p);
    void WritePoint(Vec p, unsigned char verb);
    static void EdgeToCurvePoint(TessroContext* context, std::int32_t x, std::int32_t y);

    // Dash walk along one segment: appends to / finishes pieces.
    void DashSegment(Vec a, Vec b, std::vector<Piece>& pieces, Piece& current);
    void FitDashes(double groupLength, std::vector<Piece>& pieces, Piece& current, Vec at);
    void RestartDash(std::vector<Piece>& pieces, Piece& current, Vec at);

    TessroContext* context_;
    const TessroStrokeRequest& request_;
    std::int64_t centreX_ = 0, centreY_ = 0;
    int precision_ = 0;
    double scale_ = 1;
    double r_ = 0;
    double mitreLimit_ = 10;
    DWORD flatness_ = 0;

    // Dash pattern, scaled; the initial state from the phase; the running state.
    int dashCount_ = 0;
    double dashLengths_[TESSRO_MAX_DASH_LENGTHS] = {};
    double fitted_[TESSRO_MAX_DASH_LENGTHS] = {};
    double patternLength_ = 0;
    int initialIndex_ = 0;
    double initialRemaining_ = 0;
    bool initialOn_ = true;
    int index_ = 0;
    double remaining_ = 0;
    bool on_ = true;
    const double* lengths_ = dashLengths_;
    double stretch_ = 1;
    std::int64_t dashPieces_ = 0;

    // Path walk.
    std::vector<Vertex> vertices_;
    int group_ = 0;

    // Output state.
    std::int32_t written_ = 0;
    std::int32_t box_[4] = {kEmptyLow, kEmptyLow, kEmptyHigh, kEmptyHigh};
    bool boxEmpty_ = true;
    double boxD_[4] = {0, 0, 0, 0};
    TessroDevicePoint last_{0, 0}, first_{0, 0};
};

std::int32_t Stroker::DeviceOffset(double v) const {
    const double rounded = std::nearbyint(v);
    if (rounded >= 2147483647.0) return INT32_MAX;
    if (rounded <= -2147483648.0) return INT32_MIN;
    return static_cast<std::int32_t>(rounded);
}

void Stroker::ChooseScale() {
    const TessroStrokeRequest& q = request_;
    std::int64_t minX = INT64_MAX, minY = INT64_MAX, maxX = INT64_MIN, maxY = INT64_MIN;
    for (std::int32_t i = 0; i < q.count; ++i) {
        minX = std::min<std::int64_t>(minX, q.points[i].x);
        maxX = std::max<std::int64_t>(maxX, q.points[i].x);
        minY = std::min<std::int64_t>(minY, q.points[i].y);
        maxY = std::max<std::int64_t>(maxY, q.points[i].y);
    }
    centreX_ = (minX + maxX) >> 1;
    centreY_ = (minY + maxY) >> 1;
    mitreLimit_ = static_cast<double>(static_cast<DWORD>(context_->mitreLimit)) / 65536.0;
    const double widthReach =
        static_cast<double>(static_cast<DWORD>(q.width)) * std::max(mitreLimit_, 1.0);
    const double extent = static_cast<double>(std::max(maxX - minX, maxY - minY));
    const double size = widthReach + extent + context_->flatness;
    precision_ = 0;
    while (precision_ < kMaxPrecision && size * std::ldexp(1.0, precision_ + 1) < kWorkingLimit) {
        ++precision_;
    }
    scale_ = std::ldexp(1.0, precision_);
    r_ = static_cast<double>(static_cast<DWORD>(q.width)) * scale_ / 2.0;
    const double flatness = static_cast<double>(context_->flatness) * scale_;
    flatness_ = flatness >= 4294967295.0 ? 0xFFFFFFFFu : static_cast<DWORD>(flatness);
}

void Stroker::SetupDash() {
    const TessroDashPattern* dash = request_.dash;
    if (dash == nullptr || dash->count == 0) return;
    dashCount_ = dash->count;
    double total = 0;
    for (int i = 0; i < dashCount_; ++i) {
        dashLengths_[i] = static_cast<double>(dash->lengths[i]) * scale_;
        total += dashLengths_[i];
    }
    // An odd pattern alternates on and off between its repetitions.
    patternLength_ = (dashCount_ % 2) ? 2 * total : total;
    double phase = static_cast<double>(dash->phase) * scale_;
    phase = std::fmod(phase, patternLength_);
    if (phase < 0) phase += patternLength_;
    int index = 0;
    bool on = true;
    while (phase >= dashLengths_[index] && dashLengths_[index] > 0) {
        phase -= dashLengths_[index];
        index = (index + 1) % dashCount_;
        on = !on;
    }
    initialIndex_ = index;
    initialRemaining_ = dashLengths_[index] - phase;
    initialOn_ = on;
}

std::int32_t Stroker::Run() {
    const TessroStrokeRequest& q = request_;
    if (q.count <= 0 || q.points == nullptr || q.verbs == nullptr) TessroFail(TESSRO_ERROR_BAD_PATH);
    const TessroPoint* points = q.points;
    if (context_->strokeSnapping && q.width != 0 && q.output != TessroStrokeOutput::kBounds) {
        // Stroke a snapped copy; its size is checked so that the byte count cannot wrap.
        if (static_cast<std::uint64_t>(q.count) * sizeof(TessroPoint) > 0xFFFFFFFFu) {
            TessroFail(TESSRO_ERROR_OUT_OF_MEMORY);
        }
        TessroRelease(context_, context_->temporaryBuffer);
        context_->temporaryBuffer = nullptr;
        const DWORD bytes = static_cast<DWORD>(q.count * sizeof(TessroPoint));
        TessroPoint* copy = static_cast<TessroPoint*>(TessroAllocate(context_, bytes));
        context_->temporaryBuffer = copy;
        std::memcpy(copy, q.points, bytes);
        TessroSnapPoints(context_, copy, q.verbs, q.count, q.closeAll, q.width);
        points = copy;
    }
    ChooseScale();
    if (q.output == TessroStrokeOutput::kEdges) {
        TessroSetMapOrigin(context_, static_cast<std::int32_t>(centreX_),
                           static_cast<std::int32_t>(centreY_), precision_);
        TessroEmptyEdges(context_);
    }
    SetupDash();
    WalkPath(points);
    if (context_->temporaryBuffer != nullptr) {
        TessroRelease(context_, context_->temporaryBuffer);
        context_->temporaryBuffer = nullptr;
    }
    switch (q.output) {
        case TessroStrokeOutput::kEdges: return context_->path.edgeCount;
        case TessroStrokeOutput::kOutline: return written_;
        case TessroStrokeOutput::kBounds: {
            if (boxEmpty_) {
                q.rect[0] = q.rect[1] = kEmptyLow;
                q.rect[2] = q.rect[3] = kEmptyHigh;
            } else {
                const std::int64_t centre[2] = {centreX_, centreY_};
                for (int k = 0; k < 4; ++k) {
                    const double v = std::nearbyint(boxD_[k] / scale_) + static_cast<double>(centre[k & 1]);
                    q.rect[k] = v >= 2147483647.0 ? INT32_MAX
                                : v <= -2147483648.0 ? INT32_MIN
                                                      : static_cast<std::int32_t>(v);
                }
            }
            return 0;
        }
    }
    return 0;
}

// ---- Path walk ----

void Stroker::CollectCurvePoint(TessroContext* context, std::int32_t x, std::int32_t y) {
    Stroker* self = static_cast<Stroker*>(context->path.walkState);
    self->AddPoint({static_cast<double>(x), static_cast<double>(y)}, self->group_);
}

void Stroker::AddPoint(Vec p, int group) {
    if (!vertices_.empty() && vertices_.back().p == p) return;
    vertices_.push_back({p, group});
}

void Stroker::WalkPath(const TessroPoint* points) {
    const TessroStrokeRequest& q = request_;
    const unsigned char* verbs = q.verbs;
    if ((verbs[0] & TESSRO_VERB_MOVE_TO) != TESSRO_VERB_MOVE_TO) TessroFail(TESSRO_ERROR_BAD_PATH);
    auto relative = [&](const TessroPoint& p) {
        return Vec{static_cast<double>(p.x - centreX_) * scale_,
                   static_cast<double>(p.y - centreY_) * scale_};
    };
    AddPoint(relative(points[0]), group_++);
    // After a closing point the next segment starts again from the subpath's start point.
    bool reopen = false;
    Vec subpathStart = vertices_.front().p;
    std::int32_t i = 1;
    while (i < q.count) {
        const unsigned char verb = verbs[i];
        bool closing;
        if (reopen && !((verb & TESSRO_VERB_LINE) != 0 && (verb & TESSRO_VERB_MOVE) != 0)) {
            AddPoint(subpathStart, group_++);
            reopen = false;
        }
        if ((verb & TESSRO_VERB_LINE) == 0) {
            if (q.count - i < 3) TessroFail(TESSRO_ERROR_BAD_PATH);
            const Vec start = relative(points[i - 1]);
            const Vec c1 = relative(points[i]), c2 = relative(points[i + 1]);
            const Vec end = relative(points[i + 2]);
            if (!(start == c1 && c1 == c2 && c2 == end)) {
                auto toPoint = [this](Vec v) { return TessroPoint{DeviceOffset(v.x), DeviceOffset(v.y)}; };
                void* const savedState = context_->path.walkState;
                context_->path.walkState = this;
                TessroWalkCurve(context_, CollectCurvePoint, flatness_, toPoint(start),
                                toPoint(c1), toPoint(c2), toPoint(end));
                context_->path.walkState = savedState;
                ++group_;
            }
            closing = (verbs[i + 2] & TESSRO_VERB_CLOSE) != 0;
            i += 3;
        } else if ((verb & TESSRO_VERB_MOVE) != 0) {
            EndSubpath(q.closeAll);
            AddPoint(relative(points[i]), group_++);
            subpathStart = vertices_.front().p;
            reopen = false;
            ++i;
            continue;
        } else {
            AddPoint(relative(points[i]), group_++);
            closing = (verb & TESSRO_VERB_CLOSE) != 0;
            ++i;
        }
        if (closing) {
            EndSubpath(true);
            reopen = true;
        }
    }
    EndSubpath(q.closeAll);
}

void Stroker::EndSubpath(bool closed) {
    if (vertices_.empty()) return;
    std::vector<Vertex> vertices;
    vertices.swap(vertices_);
    if (closed && vertices.size() > 1 && vertices.back().p == vertices.front().p) vertices.pop_back();
    StrokeSubpath(vertices, closed && vertices.size() > 1);
}

// ---- Dashes ----

void Stroker::RestartDash(std::vector<Piece>& pieces, Piece& current, Vec at) {
    const bool wasOn = on_;
    index_ = initialIndex_;
    remaining_ = initialRemaining_ * stretch_;
    on_ = initialOn_;
    if (wasOn && !on_) {
        pieces.push_back(current);
        current = Piece{};
    } else if (!wasOn && on_) {
        current = Piece{};
        current.points.push_back(at);
    }
}

void Stroker::FitDashes(double groupLength, std::vector<Piece>& pieces, Piece& current, Vec at) {
    lengths_ = dashLengths_;
    stretch_ = 1;
    if (!context_->dashFitting || patternLength_ <= 0) return;
    const double k = std::nearbyint(groupLength / patternLength_);
    if (k <= 0) return;
    const double stretch = groupLength / (k * patternLength_);
    for (int i = 0; i < dashCount_; ++i) fitted_[i] = dashLengths_[i] * stretch;
    lengths_ = fitted_;
    stretch_ = stretch;
    RestartDash(pieces, current, at);
}

void Stroker::DashSegment(Vec a, Vec b, std::vector<Piece>& pieces, Piece& current) {
    const Vec d = b - a;
    const double length = Length(d);
    double position = 0;
    while (remaining_ <= length - position) {
        if (++dashPieces_ > kMaxDashPieces) TessroFail(TESSRO_ERROR_OUT_OF_MEMORY);
        position += remaining_;
        const Vec at = a + d * (position / length);
        if (on_) {
            Append(current, at);
            current.direction = d;
            pieces.push_back(current);
            current = Piece{};
        } else {
            current = Piece{};
            current.points.push_back(at);
            current.direction = d;
        }
        on_ = !on_;
        index_ = (index_ + 1) % dashCount_;
        remaining_ = lengths_[index_];
    }
    remaining_ -= length - position;
    if (on_) {
        Append(current, b);
        current.direction = d;
    }
}

void Stroker::StrokeSubpath(const std::vector<Vertex>& vertices, bool closed) {
    if (vertices.size() == 1) {
        const bool on = dashCount_ == 0 || initialOn_;
        if (on && request_.cap == TESSRO_CAP_ROUND && r_ > 0) EmitDot(vertices[0].p);
        return;
    }
    std::vector<Piece> pieces;
    if (dashCount_ == 0) {
        Piece piece;
        for (const Vertex& v : vertices) piece.points.push_back(v.p);
        piece.cyclic = closed;
        EmitPiece(piece, !closed, !closed);
        return;
    }
    index_ = initialIndex_;
    remaining_ = initialRemaining_;
    on_ = initialOn_;
    lengths_ = dashLengths_;
    Piece current;
    if (on_) current.points.push_back(vertices[0].p);
    const size_t segments = closed ? vertices.size() : vertices.size() - 1;
    for (size_t i = 0; i < segments;) {
        // One group: a line, or the flat pieces of one curve, fitted together.
        const int group = vertices[(i + 1) % vertices.size()].group;
        size_t end = i;
        double groupLength = 0;
        while (end < segments && vertices[(end + 1) % vertices.size()].group == group) {
            groupLength += Length(vertices[(end + 1) % vertices.size()].p - vertices[end].p);
            ++end;
        }
        if (end == i) end = i + 1;
        FitDashes(groupLength, pieces, current, vertices[i].p);
        for (size_t s = i; s < end; ++s) {
            DashSegment(vertices[s].p, vertices[(s + 1) % vertices.size()].p, pieces, current);
        }
        i = end;
    }
    if (on_ && !current.points.empty()) pieces.push_back(current);
    for (const Piece& piece : pieces) EmitPiece(piece, true, true);
}

// ---- Pieces: segments, joins, caps ----

void Stroker::EmitPiece(const Piece& piece, bool capStart, bool capEnd) {
    const std::vector<Vec>& p = piece.points;
    if (p.empty()) return;
    if (r_ == 0) {
        for (size_t i = 0; i + 1 < p.size(); ++i) EmitHairline(p[i], p[i + 1]);
        if (piece.cyclic && p.size() > 1) EmitHairline(p.back(), p.front());
        return;
    }
    if (p.size() == 1) {
        // A dash of no length: a dot with round caps, a square along its segment with square
        // caps, nothing with butt caps.
        if (request_.cap == TESSRO_CAP_ROUND) {
            EmitDot(p[0]);
        } else if (request_.cap == TESSRO_CAP_SQUARE && Length(piece.direction) > 0) {
            EmitCap(p[0], piece.direction, false);
            EmitCap(p[0], piece.direction, true);
        }
        return;
    }
    const size_t n = p.size();
    const size_t segments = piece.cyclic ? n : n - 1;
    for (size_t i = 0; i < segments; ++i) EmitSegment(p[i], p[(i + 1) % n]);
    for (size_t i = 1; i < n - 1; ++i) EmitJoin(p[i], p[i] - p[i - 1], p[i + 1] - p[i]);
    if (piece.cyclic) {
        EmitJoin(p[n - 1], p[n - 1] - p[n - 2], p[0] - p[n - 1]);
        EmitJoin(p[0], p[0] - p[n - 1], p[1] - p[0]);
        return;
    }
    if (capStart) EmitCap(p[0], p[1] - p[0], false);
    if (capEnd) EmitCap(p[n - 1], p[n - 1] - p[n - 2], true);
}

void Stroker::EmitSegment(Vec a, Vec b) {
    const Vec d = b - a;
    const double length = Length(d);
    if (length == 0) return;
    const Vec u = d * (r_ / length);
    const Vec s{u.y, -u.x};
    Outline o{a + s, {}};
    o.Line(b + s);
    o.Line(b - s);
    o.Line(a - s);
    EmitOutline(o);
}

void Stroker::EmitJoin(Vec v, Vec in, Vec out) {
    const double li = Length(in), lo = Length(out);
    if (li == 0 || lo == 0) return;
    const Vec a = in * (r_ / li), b = out * (r_ / lo);
    const double turn = Cross(a, b);
    const double dot = Dot(a, b);
    if (turn == 0 && dot > 0) return;  // straight on: the segments meet flush
    // The outer side is the one the path turns away from.
    const double side = turn > 0 ? 1.0 : -1.0;
    const Vec o1 = Vec{a.y, -a.x} * side, o2 = Vec{b.y, -b.x} * side;
    const double r2 = r_ * r_;
    int join = request_.join;
    const double d = dot + r2;
    if (join == TESSRO_JOIN_MITRE &&
        !(d > 0 && d >= 2 * r2 / (mitreLimit_ * mitreLimit_))) {
        join = TESSRO_JOIN_BEVEL;
    }
    Outline o{v, {}};
    o.Line(v + o1);
    if (join == TESSRO_JOIN_MITRE) {
        o.Line(v + (o1 + o2) * (r2 / d));
        o.Line(v + o2);
    } else if (join == TESSRO_JOIN_ROUND) {
        const double cosine = std::max(-1.0, std::min(1.0, dot / r2));
        const double k = 4.0 / 3.0 * std::tan(std::acos(cosine) / 4.0);
        // Arms along the travel direction at either end of the arc.
        o.Curve(v + o1 + a * k, v + o2 - b * k, v + o2);
    } else {
        o.Line(v + o2);
    }
    EmitOutline(o);
}

void Stroker::EmitCap(Vec p, Vec direction, bool atEnd) {
    const int cap = request_.cap;
    if (cap == TESSRO_CAP_BUTT) return;
    const double length = Length(direction);
    if (length == 0) return;
    Vec u = direction * (r_ / length);
    if (!atEnd) u = u * -1.0;  // outward from the piece
    const Vec s{u.y, -u.x};
    Outline o{p + s, {}};
    if (cap == TESSRO_CAP_SQUARE) {
        o.Line(p + s + u);
        o.Line(p - s + u);
        o.Line(p - s);
    } else {
        const double k = kQuarterArm;
        o.Curve(p + s + u * k, p + u + s * k, p + u);
        o.Curve(p + u - s * k, p - s + u * k, p - s);
    }
    EmitOutline(o);
}

void Stroker::EmitDot(Vec p) {
    const double k = kQuarterArm;
    const Vec e[4] = {{r_, 0}, {0, r_}, {-r_, 0}, {0, -r_}};
    Outline o{p + e[0], {}};
    for (int i = 0; i < 4; ++i) {
        const Vec from = e[i], to = e[(i + 1) % 4];
        o.Curve(p + from + to * k, p + to + from * k, p + to);
    }
    EmitOutline(o);
}

void Stroker::EmitHairline(Vec a, Vec b) {
    if (a == b) return;
    switch (request_.output) {
        case TessroStrokeOutput::kEdges: {
            const TessroDevicePoint pa = TessroMapOffset(context_, DeviceOffset(a.x), DeviceOffset(a.y));
            const TessroDevicePoint pb = TessroMapOffset(context_, DeviceOffset(b.x), DeviceOffset(b.y));
            TessroAddSegment(context_, pa.x, pa.y, pb.x, pb.y);
            return;
        }
        case TessroStrokeOutput::kOutline:
            WritePoint(a, TESSRO_VERB_MOVE_TO);
            WritePoint(b, TESSRO_VERB_LINE);
            return;
        case TessroStrokeOutput::kBounds:
            WritePoint(a, 0);
            WritePoint(b, 0);
            return;
    }
}

// ---- Output ----

void Stroker::EmitOutline(Outline& o) {
    // Wind every outline the same way, so that overlaps never cancel under the nonzero rule.
    double area = 0;
    Vec previous = o.start;
    for (const Element& e : o.elements) {
        if (e.curve) {
            area += Cross(previous, e.c1) + Cross(e.c1, e.c2) + Cross(e.c2, e.p);
        } else {
            area += Cross(previous, e.p);
        }
        previous = e.p;
    }
    area += Cross(previous, o.start);
    if (area == 0) return;
    if (area < 0) {
        Outline reversed{o.elements.back().p, {}};
        for (size_t i = o.elements.size(); i-- > 0;) {
            const Element& e = o.elements[i];
            const Vec to = i == 0 ? o.start : o.elements[i - 1].p;
            if (e.curve) {
                reversed.Curve(e.c2, e.c1, to);
            } else {
                reversed.Line(to);
            }
        }
        o = reversed;
    }
    switch (request_.output) {
        case TessroStrokeOutput::kEdges: {
            MoveTo(o.start);
            Vec at = o.start;
            for (const Element& e : o.elements) {
                if (e.curve) {
                    auto toPoint = [this](Vec v) { return TessroPoint{DeviceOffset(v.x), DeviceOffset(v.y)}; };
                    void* const savedState = context_->path.walkState;
                    context_->path.walkState = this;
                    TessroWalkCurve(context_, EdgeToCurvePoint, flatness_, toPoint(at), toPoint(e.c1),
                                    toPoint(e.c2), toPoint(e.p));
                    context_->path.walkState = savedState;
                } else {
                    EdgeTo(e.p);
                }
                at = e.p;
            }
            TessroAddSegment(context_, last_.x, last_.y, first_.x, first_.y);
            return;
        }
        case TessroStrokeOutput::kOutline:
        case TessroStrokeOutput::kBounds: {
            const bool outline = request_.output == TessroStrokeOutput::kOutline;
            WritePoint(o.start, outline ? TESSRO_VERB_MOVE_TO : 0);
            for (size_t i = 0; i < o.elements.size(); ++i) {
                const Element& e = o.elements[i];
                const bool lastElement = i + 1 == o.elements.size();
                const unsigned char close = outline && lastElement ? TESSRO_VERB_CLOSE : 0;
                if (e.curve) {
                    WritePoint(e.c1, TESSRO_VERB_CURVE);
                    WritePoint(e.c2, TESSRO_VERB_CURVE);
                    WritePoint(e.p, static_cast<unsigned char>(TESSRO_VERB_CURVE | close));
                } else {
                    WritePoint(e.p, static_cast<unsigned char>(TESSRO_VERB_LINE | close));
                }
            }
            return;
        }
    }
}

void Stroker::MoveTo(Vec p) {
    first_ = last_ = TessroMapOffset(context_, DeviceOffset(p.x), DeviceOffset(p.y));
}

void Stroker::EdgeTo(Vec p) {
    const TessroDevicePoint d = TessroMapOffset(context_, DeviceOffset(p.x), DeviceOffset(p.y));
    TessroAddSegment(context_, last_.x, last_.y, d.x, d.y);
    last_ = d;
}

void Stroker::EdgeToCurvePoint(TessroContext* context, std::int32_t x, std::int32_t y) {
    Stroker* self = static_cast<Stroker*>(context->path.walkState);
    self->EdgeTo({static_cast<double>(x), static_cast<double>(y)});
}

void Stroker::WritePoint(Vec p, unsigned char verb) {
    if (request_.output == TessroStrokeOutput::kBounds) {
        if (boxEmpty_) {
            boxD_[0] = boxD_[2] = p.x;
            boxD_[1] = boxD_[3] = p.y;
            boxEmpty_ = false;
        } else {
            boxD_[0] = std::min(boxD_[0], p.x);
            boxD_[1] = std::min(boxD_[1], p.y);
            boxD_[2] = std::max(boxD_[2], p.x);
            boxD_[3] = std::max(boxD_[3], p.y);
        }
        return;
    }
    if (written_ >= request_.capacity) TessroFail(TESSRO_ERROR_BUFFER_FULL);
    auto user = [this](double v, std::int64_t centre) {
        const double u = std::nearbyint(v / scale_) + static_cast<double>(centre);
        return u >= 2147483647.0 ? INT32_MAX : u <= -2147483648.0 ? INT32_MIN : static_cast<std::int32_t>(u);
    };
    request_.outPoints[written_] = {user(p.x, centreX_), user(p.y, centreY_)};
    request_.outVerbs[written_] = verb;
    ++written_;
}

}  // namespace

void TessroCheckCapAndJoin(int cap, int join) {
    // The low byte of each, unsigned: codes 0..2.
    if (static_cast<BYTE>(cap) > 2 || static_cast<BYTE>(join) > 2) {
        TessroFail(TESSRO_ERROR_BAD_PARAMETERS);
    }
}

std::int32_t TessroStroke(TessroContext* context, const TessroStrokeRequest& request) {
    const TessroDashPattern* dash = request.dash;
    if (dash != nullptr) {
        // Working storage holds eight lengths; negative lengths and an all-zero pattern would
        // never advance the dash walk.
        if (dash->count < 0 || dash->count > TESSRO_MAX_DASH_LENGTHS) {
            TessroFail(TESSRO_ERROR_BAD_PARAMETERS);
        }
        std::int64_t total = 0;
        for (int i = 0; i < dash->count; ++i) {
            if (dash->lengths[i] < 0) TessroFail(TESSRO_ERROR_BAD_PARAMETERS);
            total += dash->lengths[i];
        }
        if (dash->count > 0 && total == 0) TessroFail(TESSRO_ERROR_BAD_PARAMETERS);
    }
    TessroStrokeRequest checked = request;
    checked.cap = static_cast<BYTE>(request.cap);
    checked.join = static_cast<BYTE>(request.join);
    Stroker stroker(context, checked);
    return stroker.Run();
}
