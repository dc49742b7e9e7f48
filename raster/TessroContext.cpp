// The context record's frame: initialisation, copying, memory handlers, the stack allowance,
// the failure path and the error texts.
#include <cstring>

#include "raster/TessroInternal.h"

namespace {

const char* const kErrorTexts[] = {
    "No error",
    "Bad bitmap",
    "Bad context",
    "Bad graduation style",
    "Bad graduation table",
    "Bad tile style",
    "Bad transparency style",
    "Bad parameters",
    "Bad path",
    "Corrupt edge table",
    "Incompatible bitmaps",
    "Incompatible region",
    "Invalid bitmap depth",
    "Invalid scanline routine",
    "No bitmap",
    "Must be 32 bits per pixel",
    "Out of memory",
    "Buffer full",
    "Stack overflow",
    "Undefined fill style",
    "Undefined memory handlers",
    "Unimplemented",
};
const char kInvalidErrorText[] = "Invalid error code";
const int kErrorTextCount = sizeof(kErrorTexts) / sizeof(kErrorTexts[0]);

const std::int32_t kDefaultMitreLimit = 0xA0000;  // 10.0 in 16.16
const DWORD kDefaultFlatness = 0x20000;
const BYTE kDefaultColourMatching = 2;
const BYTE kDefaultPaletteMode = 1;
const DWORD kDefaultTransferStrength = 128;
const DWORD kDefaultDitherLevels = 16;

void SetDefaults(TessroContext* context) {
    // Everything not named here starts at zero: rendering switches, dither origin, no handlers,
    // no buffers, no target, no colour map, no conversion palette, fill style none.
    std::memset(context, 0, sizeof(TessroContext));
    context->colourMatching = kDefaultColourMatching;
    context->paletteMode = kDefaultPaletteMode;
    context->inverseTableMode = kTessroNoInverseTable;
    context->flatness = kDefaultFlatness;
    context->mitreLimit = kDefaultMitreLimit;
    context->stackLimitKind = 1;
    context->stackAllowance = kTessroDefaultStackAllowance;
    TessroSetDefaultLookupTables(context);
    context->ditherErrorLimit = 16 * kDefaultDitherLevels;
    TessroBuildGreyWeights(context, 77, 151, 28);
    context->randomState = TESSRO_MAGIC;
}

}  // namespace

void TessroFail(TessroError code) { throw TessroFailure{code}; }

void TessroReleaseHeldBuffers(TessroContext* context) {
    // Without a release handler nothing can be given back; keep the references.
    if (context->freeHandler == nullptr) return;
    if (context->edgePointersOnHeap && context->edgePointers != nullptr) {
        context->freeHandler(context->edgePointers);
        context->edgePointers = nullptr;
        context->edgePointersOnHeap = 0;
    }
    void* block = context->extraEdgeBlocks;
    while (block != nullptr) {
        void* next;
        std::memcpy(&next, static_cast<BYTE*>(block) + kTessroEdgeBlockBytes, sizeof(next));
        context->freeHandler(block);
        block = next;
    }
    context->extraEdgeBlocks = nullptr;
    if (context->temporaryBuffer != nullptr) {
        context->freeHandler(context->temporaryBuffer);
        context->temporaryBuffer = nullptr;
    }
}

void* TessroAllocate(TessroContext* context, DWORD byteCount) {
    if (context->allocHandler == nullptr) TessroFail(TESSRO_ERROR_UNDEFINED_MEMORY_HANDLERS);
    void* block = context->allocHandler(byteCount);
    if (block == nullptr) TessroFail(TESSRO_ERROR_OUT_OF_MEMORY);
    return block;
}

void TessroRelease(TessroContext* context, void* block) {
    if (block == nullptr) return;
    if (context->freeHandler == nullptr) TessroFail(TESSRO_ERROR_UNDEFINED_MEMORY_HANDLERS);
    context->freeHandler(block);
}

void TessroStartStackBudget(TessroContext* context) {
    // The walk counts subdivision levels instead of measuring the real stack: each level is
    // charged kTessroStackBytesPerSubdivision bytes against the allowance.
    std::uintptr_t available = 0;
    if (context->stackLimitKind != 0) {
        if (context->stackAllowance > 64) available = context->stackAllowance - 64;
    } else {
        volatile BYTE marker = 0;
        std::uintptr_t here = reinterpret_cast<std::uintptr_t>(&marker);
        if (here > context->stackAllowance) available = here - context->stackAllowance;
    }
    std::uintptr_t levels = available / kTessroStackBytesPerSubdivision;
    context->currentStackLimit = levels > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<DWORD>(levels);
}

int TessroGetContextSize() { return static_cast<int>(sizeof(TessroContext)); }

int TessroInitContext(TessroContext* context, const TessroContext* source) {
    if (context == nullptr) return -1;
    // Read the source before the reset, so that a context may name itself as its source.
    const bool hasSource = source != nullptr;
    const bool sourceValid = TessroIsValid(source);
    BYTE kind = 0;
    std::uintptr_t allowance = 0;
    DWORD limit = 0;
    TessroAllocFunc alloc = nullptr;
    TessroFreeFunc release = nullptr;
    if (sourceValid) {
        kind = source->stackLimitKind;
        allowance = source->stackAllowance;
        limit = source->currentStackLimit;
        alloc = source->allocHandler;
        release = source->freeHandler;
    }
    SetDefaults(context);
    context->magic = TESSRO_MAGIC;
    return TessroEntry(context, [&] {
        if (hasSource) {
            if (!sourceValid) TessroFail(TESSRO_ERROR_BAD_CONTEXT);
            context->stackLimitKind = kind;
            context->stackAllowance = allowance;
            context->currentStackLimit = limit;
            context->allocHandler = alloc;
            context->freeHandler = release;
        }
        TessroBuildDarkening(context, kDefaultTransferStrength);
        TessroBuildLightening(context, kDefaultTransferStrength);
        return 0;
    });
}

int TessroCopyContext(TessroContext* context, TessroContext* destination) {
    return TessroEntry(context, [&] {
        if (destination == nullptr) TessroFail(TESSRO_ERROR_BAD_CONTEXT);
        if (destination != context) std::memcpy(destination, context, sizeof(TessroContext));
        return 0;
    });
}

int TessroSetMemoryHandlers(TessroContext* context, TessroAllocFunc alloc, TessroFreeFunc release) {
    return TessroEntry(context, [&] {
        if (alloc == nullptr || release == nullptr) TessroFail(TESSRO_ERROR_BAD_PARAMETERS);
        context->allocHandler = alloc;
        context->freeHandler = release;
        return 0;
    });
}

int TessroFreeBuffers(TessroContext* context) {
    return TessroEntry(context, [&] {
        TessroReleaseHeldBuffers(context);
        return 0;
    });
}

int TessroReleaseMemory(TessroContext* context) {
    return TessroEntry(context, [&] {
        TessroReleaseHeldBuffers(context);
        context->allocHandler = nullptr;
        context->freeHandler = nullptr;
        return 0;
    });
}

int TessroSetStackLimit(TessroContext* context, DWORD allowance) {
    return TessroEntry(context, [&] {
        context->stackLimitKind = 1;
        context->stackAllowance = allowance;
        return 0;
    });
}

int TessroSetStackBottom(TessroContext* context, const void* lowestAddress) {
    return TessroEntry(context, [&] {
        context->stackLimitKind = 0;
        context->stackAllowance = reinterpret_cast<std::uintptr_t>(lowestAddress) + 64;
        return 0;
    });
}

int TessroGetDefaultStackLimit() { return static_cast<int>(kTessroDefaultStackAllowance); }

int TessroGetVersion() { return static_cast<int>(kTessroVersion); }

int TessroClearError(TessroContext* context) {
    return TessroEntry(context, [&] {
        context->lastError = TESSRO_ERROR_NONE;
        return 0;
    });
}

int TessroGetLastError(TessroContext* context) {
    return TessroEntry(context, [&] { return static_cast<int>(context->lastError); });
}

const char* TessroGetErrorText(TessroContext* context) {
    if (!TessroIsValid(context)) return nullptr;
    const int code = context->lastError;
    return code < kErrorTextCount ? kErrorTexts[code] : kInvalidErrorText;
}
