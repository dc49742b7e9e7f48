// Path bounds, and the stroker in its measuring mode: the box of every outline point that
// caps and joins would produce, without drawing.
#include <algorithm>
#include <cmath>

#include "tessro3d/Tessro3DPath.h"

namespace tessro3d {

namespace {

struct Box {
  std::int64_t x0 = kEmptyMin, y0 = kEmptyMin, x1 = kEmptyMax, y1 = kEmptyMax;
  void Fold(std::int64_t x, std::int64_t y) {
    x0 = std::min(x0, x);
    y0 = std::min(y0, y);
    x1 = std::max(x1, x);
    y1 = std::max(y1, y);
  }
};

void FoldEmitted(void* context, std::int64_t x, std::int64_t y) { static_cast<Box*>(context)->Fold(x, y); }

// Segment kinds: 0 none; 1 drawn, joins the next; 3 drawn, ends an open figure; 2 the link
// from the end of an open figure back to its start (not drawn).
enum Kind : int { kNone = 0, kJoined = 1, kLink = 2, kOpenEnd = 3 };
enum Cap { kButt = 0, kRound = 1, kSquare = 2 };
enum Join { kMiter = 0, kRoundJoin = 1, kBevel = 2 };

struct Vec {
  std::int64_t x = 0, y = 0;
};

struct Stroker {
  Box box;
  std::int64_t width = 0;   // scaled
  int cap = kButt, join = kMiter;
  double hw = 0;
  std::int64_t hw2 = 0, miterThreshold = 0;

  // History: the last three points (W, V, current), the last two vectors (a before b) and
  // the kinds of the last three segments.
  Vec W, V, current, start;
  Vec a, b;
  int kindBeforePrevious = kNone, kindPrevious = kNone, kindCurrent = kNone;
  // The join at V.
  std::int64_t cross = 0;
  Vec miter;
  bool bevel = false;
  // The first two segments of the figure, held back until it ends.
  int segments = 0;
  Vec heldEnd[2];
  int heldKind[2] = {kNone, kNone};
  bool replaying = false;

  void StartFigure(Vec p) {
    start = current = p;
    kindBeforePrevious = kindPrevious = kindCurrent = kNone;
    segments = 0;
  }

  void FoldSquare(Vec p) {
    const std::int64_t h = width >> 1;
    box.Fold(p.x - h, p.y - h);
    box.Fold(p.x + h, p.y + h);
  }

  // The segment from W to V with vector a.
  void Emit() {
    if (width == 0) {
      box.Fold(W.x, W.y);
      box.Fold(V.x, V.y);
      return;
    }
    const Vec perp{a.y, -a.x};
    if (kindBeforePrevious != kJoined) {
      switch (cap) {
        case kRound: FoldSquare(W); break;
        case kSquare:
          box.Fold(W.x - a.x + perp.x, W.y - a.y + perp.y);
          box.Fold(W.x - a.x - perp.x, W.y - a.y - perp.y);
          break;
        default:
          box.Fold(W.x + perp.x, W.y + perp.y);
          box.Fold(W.x - perp.x, W.y - perp.y);
          break;
      }
    }
    if (kindPrevious == kJoined) {
      if (join == kRoundJoin) {
        FoldSquare(V);
      } else if (join == kBevel || bevel) {
        if (cross >= 0) {
          box.Fold(V.x - a.y, V.y + a.x);
          box.Fold(V.x - b.y, V.y + b.x);
        } else {
          box.Fold(V.x + b.y, V.y - b.x);
          box.Fold(V.x + a.y, V.y - a.x);
        }
      } else if (cross >= 0) {
        box.Fold(V.x + miter.x, V.y + miter.y);
      } else {
        box.Fold(V.x - miter.x, V.y - miter.y);
      }
    } else if (kindPrevious == kOpenEnd) {
      switch (cap) {
        case kRound: FoldSquare(V); break;
        case kSquare:
          box.Fold(V.x + a.x + perp.x, V.y + a.y + perp.y);
          box.Fold(V.x + a.x - perp.x, V.y + a.y - perp.y);
          break;
        default:
          box.Fold(V.x + perp.x, V.y + perp.y);
          box.Fold(V.x - perp.x, V.y - perp.y);
          break;
      }
    }
  }

  void AddSegment(Vec q, int kind) {
    if (q.x == current.x && q.y == current.y) return;
    const double dx = double(q.x - current.x), dy = double(q.y - current.y);
    const double scale = hw / std::sqrt(dx * dx + dy * dy);
    const Vec u{std::llrint(dx * scale), std::llrint(dy * scale)};
    W = V;
    V = current;
    current = q;
    a = b;
    b = u;
    kindBeforePrevious = kindPrevious;
    kindPrevious = kindCurrent;
    kindCurrent = kind;
    if (kindPrevious == kJoined && width != 0) {
      cross = b.x * a.y - b.y * a.x;
      const std::int64_t dot = a.x * b.x + a.y * b.y, e = dot + hw2;
      if (e <= 0 || e < miterThreshold) {
        bevel = true;
        miter = Vec{};
      } else {
        bevel = false;
        const double f = double(cross) / double(e);
        miter = Vec{std::llrint(f * double(a.x)) - a.y, std::llrint(f * double(a.y)) + a.x};
      }
    }
    if (!replaying && segments < 2) {
      heldEnd[segments] = q;
      heldKind[segments] = kind;
      ++segments;
      return;
    }
    if (!replaying) ++segments;
    if (kindPrevious != kLink && kindPrevious != kNone) Emit();
  }

  void EndFigure(bool closed) {
    if (segments == 0) {
      if (width != 0 && cap == kRound) FoldSquare(current);
      return;
    }
    if (closed) {
      AddSegment(start, kJoined);
    } else {
      kindCurrent = kOpenEnd;
      if (segments == 1) heldKind[0] = kOpenEnd;
      AddSegment(start, kLink);
    }
    replaying = true;
    if (segments >= 1) AddSegment(heldEnd[0], heldKind[0]);
    if (segments >= 2) AddSegment(heldEnd[1], kNone);
    replaying = false;
    segments = 0;
  }
};

Stroker g_stroker;

void WriteBox(const Box& box, TessroRect* rect) {
  rect->x0 = static_cast<std::int32_t>(box.x0);
  rect->y0 = static_cast<std::int32_t>(box.y0);
  rect->x1 = static_cast<std::int32_t>(box.x1);
  rect->y1 = static_cast<std::int32_t>(box.y1);
}

}  // namespace
}  // namespace tessro3d

using namespace tessro3d;

extern "C" {

std::int32_t TESSRO3D_CALL Tessro3DGetPathBounds(const TessroPoint* points, const std::uint8_t* verbs, std::int32_t count, TessroRect* rect, std::int32_t curves) {
  return Guard([&] {
    if (!points || count <= 0 || !rect) Fail(kErrBadParameters);
    Box box;
    if (curves == 0) {
      for (std::int32_t i = 0; i < count; ++i) box.Fold(points[i].x, points[i].y);
    } else {
      if (!verbs) Fail(kErrBadParameters);
      for (std::int32_t i = 0; i < count;) {
        if (KindOf(verbs[i]) != VerbKind::Curve) {
          box.Fold(points[i].x, points[i].y);
          ++i;
          continue;
        }
        if (i == 0 || count - i < 3) Fail(kErrBadPath);
        const std::int64_t curve[8] = {points[i - 1].x, points[i - 1].y, points[i].x, points[i].y,
                                       points[i + 1].x, points[i + 1].y, points[i + 2].x, points[i + 2].y};
        FlattenCurve(curve, g_state.flatness, FoldEmitted, &box);
        i += 3;
      }
    }
    WriteBox(box, rect);
    return 0;
  });
}

std::int32_t TESSRO3D_CALL Tessro3DGetStrokePathBounds(const TessroPoint* points, const std::uint8_t* verbs, std::int32_t count, TessroRect* rect,
                                                       std::int32_t close, std::int32_t width, std::uint32_t cap, std::uint32_t join,
                                                       std::uint32_t unused) {
  (void)unused;
  return Guard([&] {
    const auto capStyle = static_cast<std::int8_t>(cap & 0xFF), joinStyle = static_cast<std::int8_t>(join & 0xFF);
    if (capStyle > 2 || joinStyle > 2) Fail(kErrBadParameters);
    if (!rect || !points || !verbs) Fail(kErrBadParameters);
    if (count <= 0) Fail(kErrBadPath);
    Stroker& st = g_stroker;
    st = Stroker{};
    st.cap = capStyle < 0 ? int(kButt) : int(capStyle);
    st.join = joinStyle < 0 ? int(kMiter) : int(joinStyle);

    // Centre and scale: coordinates plus the stroke margin use the range below 2^27.
    Box bounds;
    for (std::int32_t i = 0; i < count; ++i) bounds.Fold(points[i].x, points[i].y);
    const std::int64_t cx = (bounds.x0 + bounds.x1) >> 1, cy = (bounds.y0 + bounds.y1) >> 1;
    const std::int64_t margin = (std::int64_t(width) * g_state.miterLimit) >> 16;
    // Measured in 64 bits: a width or path too large for the 2^27 range is not scaled up, so
    // the joins' products stay inside 64 bits.
    const std::uint64_t extent = static_cast<std::uint64_t>(std::max<std::int64_t>(0, bounds.x1 + margin - bounds.x0 + margin)) |
                                 static_cast<std::uint64_t>(std::max<std::int64_t>(0, bounds.y1 + margin - bounds.y0 + margin)) |
                                 static_cast<std::uint32_t>(g_state.flatness) |
                                 static_cast<std::uint64_t>(width < 0 ? -std::int64_t(width) : std::int64_t(width));
    int s = 0;
    for (int shift = 15; shift > 0; --shift)
      if (extent < (std::uint64_t(1) << 27) && (extent << shift) < (std::uint64_t(1) << 27)) {
        s = shift;
        break;
      }
    auto scaled = [&](const TessroPoint& p) { return Vec{(std::int64_t(p.x) - cx) * (std::int64_t(1) << s), (std::int64_t(p.y) - cy) * (std::int64_t(1) << s)}; };
    st.width = std::int64_t(width) * (std::int64_t(1) << s);
    st.hw = double(st.width) / 2.0;
    st.hw2 = std::llrint(st.hw * st.hw);
    const double limit = g_state.miterLimit / 65536.0;
    st.miterThreshold = limit > 0 ? std::llrint(2.0 * st.hw * st.hw / (limit * limit)) : INT64_MAX;
    const std::int64_t flatness = std::int64_t(g_state.flatness) * (std::int64_t(1) << s);

    if (KindOf(verbs[0]) != VerbKind::Move) Fail(kErrBadPath);
    bool afterClose = false, figure = false;
    struct Emitter {
      static void Point(void* context, std::int64_t x, std::int64_t y) { static_cast<Stroker*>(context)->AddSegment(Vec{x, y}, kJoined); }
    };
    for (std::int32_t i = 0; i < count;) {
      const std::uint8_t verb = verbs[i];
      const VerbKind kind = KindOf(verb);
      if (afterClose && kind != VerbKind::Move) Fail(kErrBadPath);
      if (kind == VerbKind::Move) {
        if (figure) st.EndFigure(close != 0);
        st.StartFigure(scaled(points[i]));
        figure = true;
        afterClose = false;
        ++i;
        continue;
      }
      bool closeBit;
      if (kind == VerbKind::Line) {
        st.AddSegment(scaled(points[i]), kJoined);
        closeBit = verb & 1;
        ++i;
      } else {
        if (count - i < 3) Fail(kErrBadPath);
        const Vec p1 = scaled(points[i]), p2 = scaled(points[i + 1]), p3 = scaled(points[i + 2]);
        const Vec p0 = st.current;
        const bool point = p0.x == p1.x && p0.y == p1.y && p1.x == p2.x && p1.y == p2.y && p2.x == p3.x && p2.y == p3.y;
        if (!point) {
          const std::int64_t curve[8] = {p0.x, p0.y, p1.x, p1.y, p2.x, p2.y, p3.x, p3.y};
          FlattenCurve(curve, flatness, Emitter::Point, &st);
        }
        closeBit = verbs[i + 2] & 1;
        i += 3;
      }
      if (closeBit) {
        st.EndFigure(true);
        figure = false;
        afterClose = true;
      }
    }
    if (figure) st.EndFigure(close != 0);

    auto back = [s](std::int64_t v, std::int64_t c) { return s == 0 ? c + v : c + ((v + (std::int64_t(1) << (s - 1))) >> s); };
    Box out;
    if (st.box.x0 <= st.box.x1) {
      out.x0 = back(st.box.x0, cx);
      out.x1 = back(st.box.x1, cx);
    }
    if (st.box.y0 <= st.box.y1) {
      out.y0 = back(st.box.y0, cy);
      out.y1 = back(st.box.y1, cy);
    }
    WriteBox(out, rect);
    return 0;
  });
}

}  // extern "C"
