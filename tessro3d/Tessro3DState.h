// The one global render state of Tessro3D, its working values, the failure path and the
// memory services every other part of the library uses.
#pragma once

#include <cstddef>
#include <cstdint>

#include "tessro3d/Tessro3D.h"

namespace tessro3d {

// Device fixed point: 14 fraction bits.
constexpr int kDeviceShift = 14;
constexpr std::int32_t kDeviceOne = 1 << kDeviceShift;   // one pixel
constexpr std::int32_t kDeviceHalf = kDeviceOne / 2;
constexpr std::int32_t kLargestSide = 0x1000;             // largest target side

constexpr std::uint32_t TESSRO_MAGIC = 0xC90FDAA2u;
constexpr std::int32_t kVersion = 0x00020000;

enum Tessro3DError : std::uint8_t {
  kErrNone = 0,
  kErrBadBitmap = 1,
  kErrBadGraduationStyle = 2,
  kErrBadGraduationTable = 3,
  kErrBadTileStyle = 4,
  kErrBadTransparencyStyle = 5,
  kErrBadParameters = 6,
  kErrBadPath = 7,
  kErrCorruptEdgeTable = 8,
  kErrIncompatibleBitmaps = 9,
  kErrIncompatibleRegion = 10,
  kErrInvalidBitmapDepth = 11,
  kErrInvalidScanlineRoutine = 12,
  kErrNoBitmap = 13,
  kErrOutOfMemory = 14,
  kErrBufferFull = 15,
  kErrStackOverflow = 16,
  kErrUndefinedFillStyle = 17,
  kErrUndefinedMemoryHandlers = 18,
  kErrUnimplemented = 19,
};

// Target formats.
enum : std::uint32_t { kFormat1 = 0, kFormat4 = 1, kFormat8 = 2, kFormat16 = 3, kFormat32 = 4, kFormat32Alt = 5 };

// Fill styles.
enum : std::uint32_t { kFillNone = 0, kFillFlat = 2, kFillBitmap = 12 };

constexpr std::int32_t kEmptyMin = 0x7FFFFFFF;
constexpr std::int32_t kEmptyMax = INT32_MIN;

// The saved record: its field order and widths are a wire format (Tessro3DSaveState).
struct Tessro3DState {
  std::uint8_t paletteTables;     // 0xFF: no palette set; 0: the palette tables are in use
  std::uint8_t lastError;
  std::uint8_t colourMatching;
  std::uint8_t paletteMode;
  std::uint8_t inverseTableMode;  // 0xC9: none built
  std::uint8_t antialias;
  std::uint8_t reservedFlag;
  std::uint8_t reserved;
  std::uint32_t fillStyle;
  std::uint32_t fillParams;
  std::int32_t ditherOriginX;
  std::int32_t ditherOriginY;
  std::uint32_t targetFormat;
  std::int32_t targetWidth;
  std::int32_t targetWidthFixed;
  std::int32_t targetHeight;
  std::int32_t targetHeightFixed;
  std::int32_t targetStride;
  std::uint32_t targetRows;       // see PointerWord: the address of device row 0
  std::uint32_t ditherMode;
  std::int32_t changedRect[4];
  std::int32_t clipRect[4];
  std::int32_t clipRectFixed[4];
  std::uint32_t clipRegion;
  std::int32_t flatness;
  std::int32_t miterLimit;
  std::uint32_t reservedWord;
  TessroMatrix matrix;
};
static_assert(sizeof(Tessro3DState) == 152, "the saved render state is 38 words");
static_assert(offsetof(Tessro3DState, targetRows) == 48, "saved state layout");
static_assert(offsetof(Tessro3DState, changedRect) == 56, "saved state layout");
static_assert(offsetof(Tessro3DState, flatness) == 108, "saved state layout");
static_assert(offsetof(Tessro3DState, matrix) == 120, "saved state layout");

extern Tessro3DState g_state;

// The pixel address lives in a 32-bit field of the saved record. On the 32-bit platform the
// field is the address itself; a 64-bit host build keeps the addresses in a small table and
// stores their number, so that a saved state still restores its target.
std::uint32_t PointerWord(void* p);
std::uint8_t* WordPointer(std::uint32_t word);
inline std::uint8_t* TargetRows() { return WordPointer(g_state.targetRows); }
inline std::uint8_t* TargetRow(std::int32_t y) {
  return TargetRows() + static_cast<std::ptrdiff_t>(y) * g_state.targetStride;
}

// The common failure path: thrown at any depth, caught by the export's entry frame.
struct Failure {
  std::uint8_t code;
};
[[noreturn]] void Fail(std::uint8_t code);

// Keeps the code in lastError and gives the per-operation buffers back.
void FailurePath(std::uint8_t code);

// Runs an export's work inside the entry frame: 0 or the work's value on success, -1 after a
// failure at any depth. State changed before the failure stays as it is.
template <class Work>
std::int32_t Guard(Work work) {
  try {
    return work();
  } catch (const Failure& failure) {
    FailurePath(failure.code);
    return -1;
  }
}

// Memory through the caller's handlers. Allocate fails with code 18 without a handler and
// returns null (the caller raises 14) when the handler does; AllocateOrFail raises both.
void* Allocate(std::uint32_t size);
void* AllocateOrFail(std::uint32_t size);
void Release(void* block);
bool HaveAllocator();

// The blend table: 256 rows of 512 bytes; row i at centre + k holds round(k·i/255) & 0xFF.
// Built on first use, kept until Tessro3DReleaseMemory. Returns the centre of row 0.
const std::uint8_t* BlendTable();
inline std::uint8_t Blend(const std::uint8_t* centre, int weight, int k) { return centre[weight * 512 + k]; }
bool HaveBlendTable();

// The recursion allowance (Tessro3DSetStackLimit), in bytes.
std::int32_t StackAllowance();

// Long-lived buffers of other parts that Tessro3DReleaseMemory gives back.
void ReleaseSceneBuffers();       // Tessro3DScene.cpp
void ReleasePathBuffers();        // Tessro3DPath.cpp: the edge blocks and the edge list
void EndSceneOnFailure();         // Tessro3DScene.cpp: a failure closes an open scene

// Internal: the code of the last failure, and clearing it.
std::int32_t Tessro3DGetLastError();
std::int32_t Tessro3DClearError();

// Load-time values of the state (also used by a restore without the magic).
void ResetDefaults();

}  // namespace tessro3d
