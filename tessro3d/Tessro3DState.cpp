// The render state, the entry frame and failure path, the memory handlers, the blend table
// and saving and restoring the state.
#include "tessro3d/Tessro3DState.h"

#include <cstring>

#include "tessro3d/Tessro3DPalette.h"

namespace tessro3d {

Tessro3DState g_state;

namespace {

TessroAllocFunc g_alloc = nullptr;
TessroFreeFunc g_free = nullptr;
std::int32_t g_stackAllowance = 0x4000;
std::uint8_t* g_blend = nullptr;  // the allocated 131,072 bytes

constexpr std::uint32_t kBlendTableBytes = 256 * 512;

struct LoadDefaults {
  LoadDefaults() {
    std::memset(&g_state, 0, sizeof g_state);
    ResetDefaults();
  }
} g_loadDefaults;

}  // namespace

void ResetDefaults() {
  g_state.ditherOriginX = 0;
  g_state.ditherOriginY = 0;
  g_state.targetRows = 0;
  g_state.clipRegion = 0;
  g_state.antialias = 0;
  g_state.reservedFlag = 0;
  g_state.reservedWord = 0;
  g_state.fillStyle = kFillNone;
  g_state.paletteMode = 1;
  g_state.paletteTables = 0xFF;
  g_state.lastError = 0;
  g_state.colourMatching = 2;
  g_state.flatness = 0x20000;
  g_state.miterLimit = 0xA0000;
  g_state.inverseTableMode = 0xC9;
}

#if UINTPTR_MAX > 0xFFFFFFFFu
namespace {
// Addresses seen by PointerWord; word n + 1 stands for entry n. Old entries are reused in
// turn, so a state saved long ago may name an address that has since been replaced.
constexpr int kAddressSlots = 256;
std::uint8_t* g_addresses[kAddressSlots];
int g_nextAddress = 0;
}  // namespace

std::uint32_t PointerWord(void* p) {
  if (!p) return 0;
  for (int i = 0; i < kAddressSlots; ++i)
    if (g_addresses[i] == p) return static_cast<std::uint32_t>(i + 1);
  int slot = g_nextAddress;
  g_nextAddress = (g_nextAddress + 1) % kAddressSlots;
  g_addresses[slot] = static_cast<std::uint8_t*>(p);
  return static_cast<std::uint32_t>(slot + 1);
}

std::uint8_t* WordPointer(std::uint32_t word) {
  if (word == 0 || word > static_cast<std::uint32_t>(kAddressSlots)) return nullptr;
  return g_addresses[word - 1];
}
#else
std::uint32_t PointerWord(void* p) { return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(p)); }
std::uint8_t* WordPointer(std::uint32_t word) { return reinterpret_cast<std::uint8_t*>(static_cast<std::uintptr_t>(word)); }
#endif

void Fail(std::uint8_t code) { throw Failure{code}; }

void FailurePath(std::uint8_t code) {
  g_state.lastError = code;
  // A missing release handler must not raise a second failure from inside the first: the
  // blocks stay with the caller's allocator then.
  if (g_alloc && g_free) ReleasePathBuffers();
  EndSceneOnFailure();
}

bool HaveAllocator() { return g_alloc != nullptr; }

void* Allocate(std::uint32_t size) {
  if (!g_alloc) Fail(kErrUndefinedMemoryHandlers);
  return g_alloc(size);
}

void* AllocateOrFail(std::uint32_t size) {
  void* block = Allocate(size);
  if (!block) Fail(kErrOutOfMemory);
  return block;
}

void Release(void* block) {
  if (!block) return;
  if (!g_free) Fail(kErrUndefinedMemoryHandlers);
  g_free(block);
}

bool HaveBlendTable() { return g_blend != nullptr; }

const std::uint8_t* BlendTable() {
  if (!g_blend) {
    auto* table = static_cast<std::uint8_t*>(AllocateOrFail(kBlendTableBytes));
    for (int i = 0; i < 256; ++i) {
      std::uint8_t* row = table + i * 512 + 256;
      for (int k = -256; k < 256; ++k) {
        // k·i/255 rounded to nearest; a product is never an exact half of 255.
        int p = k * i;
        int q = p >= 0 ? (2 * p + 255) / 510 : -((-2 * p + 255) / 510);
        row[k] = static_cast<std::uint8_t>(q & 0xFF);
      }
    }
    g_blend = table;
  }
  return g_blend + 256;
}

std::int32_t StackAllowance() { return g_stackAllowance; }

std::int32_t Tessro3DGetLastError() { return g_state.lastError; }
std::int32_t Tessro3DClearError() {
  g_state.lastError = 0;
  return 0;
}

}  // namespace tessro3d

using namespace tessro3d;

extern "C" {

std::int32_t TESSRO3D_CALL Tessro3DGetVersion(void) { return kVersion; }

std::int32_t TESSRO3D_CALL Tessro3DGetStateSize(void) {
  return g_state.paletteTables != 0 ? 4 + static_cast<std::int32_t>(sizeof(Tessro3DState))
                                    : 4 + static_cast<std::int32_t>(sizeof(Tessro3DState) + sizeof(PaletteTables));
}

std::int32_t TESSRO3D_CALL Tessro3DReleaseMemory(void) {
  return Guard([] {
    if (g_alloc) ReleasePathBuffers();
    ReleaseSceneBuffers();
    if (g_blend) {
      Release(g_blend);
      g_blend = nullptr;
    }
    g_alloc = nullptr;
    g_free = nullptr;
    return 0;
  });
}

std::int32_t TESSRO3D_CALL Tessro3DSaveState(void* buffer) {
  return Guard([buffer] {
    if (!buffer) Fail(kErrBadParameters);
    auto* out = static_cast<std::uint8_t*>(buffer);
    std::uint32_t magic = TESSRO_MAGIC;
    std::memcpy(out, &magic, 4);
    std::memcpy(out + 4, &g_state, sizeof g_state);
    if (g_state.paletteTables == 0) std::memcpy(out + 4 + sizeof g_state, &g_tables, sizeof g_tables);
    return 0;
  });
}

std::int32_t TESSRO3D_CALL Tessro3DRestoreState(const void* buffer) {
  return Guard([buffer] {
    if (!buffer) Fail(kErrBadParameters);
    auto* in = static_cast<const std::uint8_t*>(buffer);
    std::uint32_t magic;
    std::memcpy(&magic, in, 4);
    if (magic != TESSRO_MAGIC) {
      ResetDefaults();
      return 0;
    }
    std::memcpy(&g_state, in + 4, sizeof g_state);
    if (g_state.paletteTables == 0) std::memcpy(&g_tables, in + 4 + sizeof g_state, sizeof g_tables);
    g_state.fillStyle = kFillNone;
    return 0;
  });
}

std::int32_t TESSRO3D_CALL Tessro3DSetMemoryHandlers(TessroAllocFunc alloc, TessroFreeFunc release) {
  g_alloc = alloc;
  g_free = release;
  return 0;
}

std::int32_t TESSRO3D_CALL Tessro3DSetStackLimit(std::int32_t bytes) {
  g_stackAllowance = bytes;
  return 0;
}

}  // extern "C"
