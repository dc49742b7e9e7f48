// Rectangle filling and one-pixel path outlines.
#include "tessro3d/Tessro3DPath.h"

#include <algorithm>
#include <cstring>

#include "tessro3d/Tessro3DScene.h"
#include "tessro3d/Tessro3DSpanOutput.h"
#include "tessro3d/Tessro3DTarget.h"

namespace tessro3d {

namespace {

constexpr std::uint32_t kLinkBytes = sizeof(void*);

alignas(8) std::uint8_t g_firstBlock[kEdgeBlockBytes + kLinkBytes];

struct EdgeStore {
  std::uint8_t* block = g_firstBlock;
  std::uint8_t* pos = g_firstBlock;
  std::uint8_t* end = g_firstBlock + kEdgeBlockBytes;
} g_store;

void** g_takenList = nullptr;  // an edge list that came from the handler

std::uint8_t* LinkOf(std::uint8_t* block) {
  std::uint8_t* next;
  std::memcpy(&next, block + kEdgeBlockBytes, sizeof next);
  return next;
}
void SetLink(std::uint8_t* block, std::uint8_t* next) { std::memcpy(block + kEdgeBlockBytes, &next, sizeof next); }

}  // namespace

void EdgeStoreReset() {
  g_store.block = g_store.pos = g_firstBlock;
  g_store.end = g_firstBlock + kEdgeBlockBytes;
}

void* EdgeStoreTake(std::uint32_t bytes) {
  if (std::uint32_t(g_store.end - g_store.pos) < bytes) {
    auto* block = static_cast<std::uint8_t*>(AllocateOrFail(kEdgeBlockBytes + kLinkBytes));
    SetLink(block, nullptr);
    SetLink(g_store.block, block);
    g_store.block = g_store.pos = block;
    g_store.end = block + kEdgeBlockBytes;
  }
  void* at = g_store.pos;
  g_store.pos += bytes;
  return at;
}

void* EdgeStoreTail(std::uint32_t bytes) {
  if (std::uint32_t(g_store.end - g_store.pos) > bytes) return g_store.pos;
  return nullptr;
}

void ReleasePathBuffers() {
  if (g_takenList) {
    void** list = g_takenList;
    g_takenList = nullptr;
    Release(list);
  }
  std::uint8_t* block = LinkOf(g_firstBlock);
  SetLink(g_firstBlock, nullptr);
  while (block) {
    std::uint8_t* next = LinkOf(block);
    Release(block);
    block = next;
  }
  EdgeStoreReset();
}

void FlattenCurve(const std::int64_t (&p)[8], std::int64_t flatness, EmitPoint emit, void* context) {
  struct Flattener {
    std::int64_t flatness;
    std::int64_t allowance;
    EmitPoint emit;
    void* context;
    static std::uint32_t Measure(std::int64_t x, std::int64_t y) {
      std::int64_t ax = x < 0 ? -x : x, ay = y < 0 ? -y : y;
      return static_cast<std::uint32_t>(ax + ay + 2 * std::max(ax, ay));
    }
    void Run(const std::int64_t (&q)[8], int depth) {
      std::int64_t ax = 3 * q[2] - 2 * q[0] - q[6], ay = 3 * q[3] - 2 * q[1] - q[7];
      std::int64_t bx = 3 * q[4] - q[0] - 2 * q[6], by = 3 * q[5] - q[1] - 2 * q[7];
      std::uint32_t limit = static_cast<std::uint32_t>(flatness);
      if (Measure(ax, ay) < limit && Measure(bx, by) < limit) {
        emit(context, q[6], q[7]);
        return;
      }
      // Each level of subdivision is charged 36 bytes of the allowance.
      if (!(36 * std::int64_t(depth) < allowance - 64) || depth >= kDeepestSubdivision) Fail(kErrStackOverflow);
      std::int64_t left[8], right[8];
      for (int c = 0; c < 2; ++c) {
        std::int64_t p0 = q[c], p1 = q[2 + c], p2 = q[4 + c], p3 = q[6 + c];
        std::int64_t m = (p0 + 3 * p1 + 3 * p2 + p3) >> 3;
        left[c] = p0;
        left[2 + c] = (p0 + p1) >> 1;
        left[4 + c] = (p0 + 2 * p1 + p2) >> 2;
        left[6 + c] = m;
        right[c] = m;
        right[2 + c] = (p1 + 2 * p2 + p3) >> 2;
        right[4 + c] = (p2 + p3) >> 1;
        right[6 + c] = p3;
      }
      Run(left, depth + 1);
      Run(right, depth + 1);
    }
  } flattener{flatness, StackAllowance(), emit, context};
  flattener.Run(p, 0);
}

namespace {

struct EdgeRecord {
  std::int32_t left, slope, firstRow, lastRow, right, lowLimit, highLimit, width;
};
static_assert(sizeof(EdgeRecord) == 32, "edge records are eight words");

constexpr std::int32_t kFinished = 0x7FFFFFFF;

// Device arithmetic wraps in 32 bits, as the coordinates a far-off matrix produces do.
inline std::int32_t Wrap(std::int64_t v) { return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(v))); }

struct PathWalk {
  std::int32_t count = 0;
  std::int32_t bounds[4];
  TessroPoint start{}, current{};
  std::int32_t userStart[2]{}, userCurrent[2]{};
};
PathWalk g_walk;

void StoreSegment(TessroPoint a, TessroPoint b) {
  if (a.x == b.x && a.y == b.y) return;
  const std::int32_t top = g_state.clipRectFixed[1], bottom = g_state.clipRectFixed[3];
  if ((a.y < top && b.y < top) || (a.y >= bottom && b.y >= bottom)) return;
  if (b.y < a.y) std::swap(a, b);
  std::int32_t* bounds = g_walk.bounds;
  bounds[0] = std::min({bounds[0], a.x, b.x});
  bounds[1] = std::min({bounds[1], a.y, b.y});
  bounds[2] = std::max({bounds[2], a.x, b.x});
  bounds[3] = std::max({bounds[3], a.y, b.y});
  const std::int64_t dx = std::int64_t(b.x) - a.x, dy = std::int64_t(b.y) - a.y;
  std::int32_t slope;
  std::int64_t quotient = dy != 0 ? dx * kDeviceOne / dy : 0;
  if (dy == 0 || quotient > INT32_MAX || quotient < -INT32_MAX) slope = Wrap(dx);
  else slope = static_cast<std::int32_t>(quotient);
  EdgeRecord e;
  e.firstRow = a.y >> kDeviceShift;
  e.lastRow = b.y >> kDeviceShift;
  const std::int32_t minX = std::min(a.x, b.x), maxX = std::max(a.x, b.x);
  e.lowLimit = Wrap(std::int64_t(minX) - kDeviceHalf);
  e.highLimit = Wrap(std::int64_t(maxX) + kDeviceHalf);
  if (e.firstRow == e.lastRow) {
    e.slope = 0;
    e.left = e.lowLimit;
    e.width = Wrap(std::int64_t(maxX) - minX + kDeviceOne);
  } else {
    e.slope = slope;
    const std::int64_t magnitude = slope < 0 ? -std::int64_t(slope) : slope;
    e.width = Wrap(std::max<std::int64_t>(magnitude, kDeviceOne));
    std::int64_t xc = a.x - ((std::int64_t((a.y & 0x3FFF) - kDeviceHalf) * slope) >> kDeviceShift);
    e.left = Wrap(xc - (e.width >> 1));
  }
  e.right = Wrap(std::int64_t(e.left) + e.width);
  *static_cast<EdgeRecord*>(EdgeStoreTake(sizeof(EdgeRecord))) = e;
  ++g_walk.count;
}

void EmitCurvePoint(void*, std::int64_t x, std::int64_t y) {
  TessroPoint next = ToDevice(static_cast<std::int32_t>(x), static_cast<std::int32_t>(y));
  StoreSegment(g_walk.current, next);
  g_walk.current = next;
}

void WalkPath(const TessroPoint* points, const std::uint8_t* verbs, std::int32_t count, bool closeFlag) {
  if (count <= 0 || KindOf(verbs[0]) != VerbKind::Move) Fail(kErrBadPath);
  bool open = false, afterClose = false;
  auto closeFigure = [&] {
    StoreSegment(g_walk.current, g_walk.start);
    g_walk.current = g_walk.start;
    g_walk.userCurrent[0] = g_walk.userStart[0];
    g_walk.userCurrent[1] = g_walk.userStart[1];
  };
  for (std::int32_t i = 0; i < count;) {
    const std::uint8_t verb = verbs[i];
    const VerbKind kind = KindOf(verb);
    if (afterClose && kind != VerbKind::Move) Fail(kErrBadPath);
    bool close = false;
    if (kind == VerbKind::Move) {
      if (open && closeFlag) closeFigure();
      g_walk.start = g_walk.current = ToDevice(points[i].x, points[i].y);
      g_walk.userStart[0] = g_walk.userCurrent[0] = points[i].x;
      g_walk.userStart[1] = g_walk.userCurrent[1] = points[i].y;
      open = true;
      afterClose = false;
      i += 1;
      continue;
    }
    if (kind == VerbKind::Line) {
      TessroPoint next = ToDevice(points[i].x, points[i].y);
      StoreSegment(g_walk.current, next);
      g_walk.current = next;
      g_walk.userCurrent[0] = points[i].x;
      g_walk.userCurrent[1] = points[i].y;
      close = verb & 1;
      i += 1;
    } else {
      if (count - i < 3) Fail(kErrBadPath);
      const std::int64_t curve[8] = {g_walk.userCurrent[0], g_walk.userCurrent[1], points[i].x, points[i].y,
                                     points[i + 1].x, points[i + 1].y, points[i + 2].x, points[i + 2].y};
      FlattenCurve(curve, g_state.flatness, EmitCurvePoint, nullptr);
      g_walk.userCurrent[0] = points[i + 2].x;
      g_walk.userCurrent[1] = points[i + 2].y;
      close = verbs[i + 2] & 1;
      i += 3;
    }
    if (close) {
      closeFigure();
      afterClose = true;
      open = false;
    }
  }
  if (open && closeFlag) closeFigure();
}

// Round-to-pixel on a device coordinate.
inline std::int32_t Round(std::int32_t v) { return RoundToPixel(v); }

void ScanEdges() {
  const std::int32_t n = g_walk.count;
  const std::uint32_t listBytes = std::uint32_t(n + 4) * sizeof(void*);
  EdgeRecord** list = static_cast<EdgeRecord**>(EdgeStoreTail(listBytes));
  if (!list) {
    list = static_cast<EdgeRecord**>(AllocateOrFail(listBytes));
    g_takenList = reinterpret_cast<void**>(list);
  }
  // Collect the records from the blocks in order (each block holds whole records).
  list[0] = nullptr;
  {
    std::int32_t k = 1;
    std::uint8_t* block = g_firstBlock;
    while (k <= n) {
      std::uint8_t* blockEnd = block == g_store.block ? g_store.pos : block + kEdgeBlockBytes;
      for (std::uint8_t* at = block; at + sizeof(EdgeRecord) <= blockEnd && k <= n; at += sizeof(EdgeRecord))
        list[k++] = reinterpret_cast<EdgeRecord*>(at);
      block = LinkOf(block);
    }
  }
  list[n + 1] = nullptr;
  // Largest first row at the front: the entry just before the boundary starts next.
  std::sort(list + 1, list + 1 + n, [](const EdgeRecord* a, const EdgeRecord* b) { return a->firstRow > b->firstRow; });

  const std::int32_t* clip = g_state.clipRect;
  std::int32_t top = g_walk.bounds[1] >> kDeviceShift, left = g_walk.bounds[0] >> kDeviceShift;
  std::int32_t bottom = static_cast<std::int32_t>((std::int64_t(g_walk.bounds[3]) + kDeviceOne) >> kDeviceShift);
  std::int32_t right = static_cast<std::int32_t>((std::int64_t(g_walk.bounds[2]) + kDeviceOne) >> kDeviceShift);
  top = std::max(top, clip[1]);
  left = std::max(left, clip[0]);
  bottom = std::min(bottom, clip[3]);
  right = std::min(right, clip[2]);
  if (top >= bottom || left >= right) return;
  GrowChangedRect(left, top, right, bottom);
  SetUpSpanOutput();
  g_spanOutput.begin(top);

  std::int32_t boundary = n + 1, closing = n + 1;
  for (std::int32_t r = top; r < bottom; ++r) {
    g_spanOutput.rowStart();
    for (std::int32_t i = boundary; i < closing; ++i) {
      EdgeRecord* e = list[i];
      if (r > e->lastRow) {
        e->left = kFinished;
      } else {
        e->right = Wrap(std::int64_t(e->right) + e->slope);
        e->left = std::max(Wrap(std::int64_t(e->right) - e->width), e->lowLimit);
      }
    }
    while (boundary - 1 >= 1 && list[boundary - 1]->firstRow <= r) {
      EdgeRecord* e = list[--boundary];
      if (r > e->lastRow) {
        e->left = kFinished;
      } else {
        std::int32_t x = e->left;
        if (r != e->firstRow) x = Wrap(x + std::int64_t(r - e->firstRow) * e->slope);
        e->right = Wrap(std::int64_t(x) + e->width);
        e->left = std::max(x, e->lowLimit);
      }
    }
    // Insertion sort by left; equal keys keep their order, so the list stays nearly sorted.
    for (std::int32_t i = boundary + 1; i < closing; ++i) {
      EdgeRecord* e = list[i];
      std::int32_t j = i;
      while (j > boundary && list[j - 1]->left > e->left) {
        list[j] = list[j - 1];
        --j;
      }
      list[j] = e;
    }
    while (closing > boundary && list[closing - 1]->left == kFinished) list[--closing] = nullptr;
    list[closing] = nullptr;
    for (std::int32_t i = boundary; i < closing; ++i) {
      EdgeRecord* e = list[i];
      std::int32_t l = std::max(Round(e->left), clip[0]);
      if (l >= clip[2]) break;
      std::int32_t rr = Round(std::min(e->right, e->highLimit));
      if (rr >= clip[2]) {
        g_spanOutput.span(r, l, clip[2]);
        break;
      }
      if (l < rr) g_spanOutput.span(r, l, rr);
    }
    g_spanOutput.rowEnd();
  }
  g_spanOutput.end();
}

}  // namespace
}  // namespace tessro3d

using namespace tessro3d;

extern "C" {

std::int32_t TESSRO3D_CALL Tessro3DFillRectangle(const TessroRect* rect) {
  return Guard([rect] {
    if (!rect) return 0;
    TessroPoint a = ToDevice(rect->x0, rect->y0), b = ToDevice(rect->x1, rect->y1);
    std::int32_t x0 = Round(std::min(a.x, b.x)), x1 = Round(std::max(a.x, b.x));
    std::int32_t y0 = Round(std::min(a.y, b.y)), y1 = Round(std::max(a.y, b.y));
    const std::int32_t* clip = g_state.clipRect;
    x0 = std::max(x0, clip[0]);
    y0 = std::max(y0, clip[1]);
    x1 = std::min(x1, clip[2]);
    y1 = std::min(y1, clip[3]);
    if (x0 >= x1 || y0 >= y1) return 0;
    GrowChangedRect(x0, y0, x1, y1);
    SetUpSpanOutput();
    g_spanOutput.begin(y0);
    for (std::int32_t y = y0; y < y1; ++y) {
      g_spanOutput.rowStart();
      g_spanOutput.span(y, x0, x1);
      g_spanOutput.rowEnd();
    }
    g_spanOutput.end();
    return 0;
  });
}

std::int32_t TESSRO3D_CALL Tessro3DDrawPathOutline(const TessroPoint* points, const std::uint8_t* verbs, std::int32_t count, std::int32_t close) {
  return Guard([&] {
    // The edge store holds an open scene's triangles: drawing a path ends that scene.
    DiscardOpenScene();
    if (!points || !verbs) Fail(kErrBadParameters);
    g_walk.count = 0;
    g_walk.bounds[0] = g_walk.bounds[1] = kEmptyMin;
    g_walk.bounds[2] = g_walk.bounds[3] = kEmptyMax;
    EdgeStoreReset();
    WalkPath(points, verbs, count, close != 0);
    if (g_walk.count > 0) ScanEdges();
    ReleasePathBuffers();
    return 0;
  });
}

}  // extern "C"
