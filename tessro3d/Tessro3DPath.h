// Paths: the edge store (shared with the 3D scene's triangle records), curve flattening
// (shared with the path queries) and the path walk.
#pragma once

#include <cstdint>

#include "tessro3d/Tessro3DState.h"

namespace tessro3d {

// The edge store: records appended into 32 KB blocks; the first block is static, further
// ones come from the memory handler and are linked after their data.
constexpr std::uint32_t kEdgeBlockBytes = 32768;
void EdgeStoreReset();                        // empty; assumes taken blocks were given back
void* EdgeStoreTake(std::uint32_t bytes);     // 14 / 18 when a new block cannot be had
void* EdgeStoreTail(std::uint32_t bytes);     // the free tail of the current block, if it has more room than bytes
void ReleasePathBuffers();

// Verbs: only bits 0x02 and 0x04 decide the kind; bit 0x01 closes.
enum class VerbKind { Move, Line, Curve };
inline VerbKind KindOf(std::uint8_t verb) {
  if ((verb & 6) == 6) return VerbKind::Move;
  return (verb & 2) ? VerbKind::Line : VerbKind::Curve;
}

// Flattens the cubic p0..p3 (user coordinates) against the threshold, calling emit with the
// end point of every flat piece in order. Fails with 16 past the recursion allowance.
using EmitPoint = void (*)(void* context, std::int64_t x, std::int64_t y);
void FlattenCurve(const std::int64_t (&p)[8], std::int64_t flatness, EmitPoint emit, void* context);

// The deepest subdivision the allowance permits, whatever it is set to.
constexpr int kDeepestSubdivision = 1024;

}  // namespace tessro3d
