#include <functional>

#include "raster/Tessro.h"
#include "tests/raster/TessroTestSupport.h"

int CountingAllocator::allocations = 0;
int CountingAllocator::releases = 0;
bool CountingAllocator::failNext = false;

namespace {

TEST(TessroEntryConvention, NullAndUnmarkedContextsAnswerMinusOneAndWriteNothing) {
    std::vector<BYTE> zeroed(TessroGetContextSize(), 0);
    TessroContext* unmarked = reinterpret_cast<TessroContext*>(zeroed.data());
    Palette palette({Entry(1, 2, 3)});
    BITMAPINFOHEADER h = Header(1, 1, 32);
    DWORD pixel = 0, table[3 + 256] = {256};
    TessroMatrix m{};
    const std::vector<std::function<int(TessroContext*)>> entries = {
        [](TessroContext* c) { return TessroGetLastError(c); },
        [](TessroContext* c) { return TessroClearError(c); },
        [](TessroContext* c) { return TessroCopyContext(c, c); },
        [](TessroContext* c) { return TessroSetMemoryHandlers(c, TessroAlloc, TessroFree); },
        [](TessroContext* c) { return TessroFreeBuffers(c); },
        [](TessroContext* c) { return TessroReleaseMemory(c); },
        [](TessroContext* c) { return TessroSetStackLimit(c, 100); },
        [&](TessroContext* c) { return TessroSetPalette(c, palette); },
        [&](TessroContext* c) { return TessroComparePalette(c, palette, 1); },
        [](TessroContext* c) { return TessroSetColourMatching(c, 4); },
        [](TessroContext* c) { return TessroSetDitherOrigin(c, 1, 1); },
        [](TessroContext* c) { return TessroSetColour(c, 0x123456); },
        [](TessroContext* c) { return TessroSetTransparentColour(c, 0x123456, 99); },
        [&](TessroContext* c) { return TessroBuildGraduationTable(c, 0, 0xFF, 0, table); },
        [](TessroContext* c) { return TessroSetGreyWeights(c, 1, 1, 1); },
        [&](TessroContext* c) { return TessroSetMatrix(c, &m); },
        [&](TessroContext* c) { return TessroConvertBitmap(c, &h, &pixel, &h, &pixel, 0); },
        [](TessroContext* c) { return TessroSetDitherErrorLimit(c, 8); },
        [](TessroContext* c) { return TessroSetTransferCurves(c, 200); },
        [](TessroContext* c) { return TessroShadeValue(c, 0, 0); },
    };
    for (size_t i = 0; i < entries.size(); ++i) {
        EXPECT_EQ(-1, entries[i](nullptr)) << "entry " << i;
        EXPECT_EQ(-1, entries[i](unmarked)) << "entry " << i;
    }
    EXPECT_EQ(std::vector<BYTE>(zeroed.size(), 0), zeroed);
    EXPECT_EQ(nullptr, TessroSelectPalette(unmarked, 1));
    EXPECT_EQ(nullptr, TessroGetErrorText(nullptr));
    EXPECT_EQ(nullptr, TessroGetExpandedPattern(unmarked));
    EXPECT_EQ(-1, TessroInitContext(nullptr, nullptr));
}

TEST_F(TessroTest, InitialisationSetsTheDefaults) {
    EXPECT_EQ(TESSRO_MAGIC, ctx->magic);
    EXPECT_EQ(0, LastError());
    EXPECT_EQ(2, ctx->colourMatching);
    EXPECT_EQ(1, ctx->paletteMode);
    EXPECT_EQ(0xC9, ctx->inverseTableMode);
    EXPECT_EQ(0x20000u, ctx->flatness);
    EXPECT_EQ(0xA0000, ctx->mitreLimit);
    EXPECT_NE(0, ctx->stackLimitKind);
    EXPECT_EQ(16384u, ctx->stackAllowance);
    EXPECT_EQ(256u, ctx->ditherErrorLimit);
    EXPECT_EQ(TESSRO_MAGIC, ctx->randomState);
    EXPECT_EQ(0x4D4D4Du, ctx->greyRed[1]);
    EXPECT_EQ(0x979797u, ctx->greyGreen[1]);
    EXPECT_EQ(0x1C1C1Cu, ctx->greyBlue[1]);
    EXPECT_EQ(kTessroFillNone, ctx->fillStyle);
    EXPECT_EQ(nullptr, ctx->colourMap);
    EXPECT_EQ(nullptr, ctx->conversionPalette);
    EXPECT_EQ(16384, TessroGetDefaultStackLimit());
    EXPECT_EQ(0x10000, TessroGetVersion());
}

TEST_F(TessroTest, ReinitialisingResetsEverythingButWhatTheSourceBrings) {
    ctx->colourMatching = 9;
    ctx->ditherOriginX = 3;
    ctx->fillStyle = 2;
    ASSERT_EQ(0, TessroSetStackLimit(ctx, 102400));

    std::vector<BYTE> other(TessroGetContextSize(), 0);
    TessroContext* copy = reinterpret_cast<TessroContext*>(other.data());
    ASSERT_EQ(0, TessroInitContext(copy, ctx));
    EXPECT_EQ(102400u, copy->stackAllowance);
    EXPECT_EQ(CountingAllocator::Alloc, copy->allocHandler);
    EXPECT_EQ(CountingAllocator::Free, copy->freeHandler);
    EXPECT_EQ(2, copy->colourMatching);

    ASSERT_EQ(0, TessroInitContext(ctx, nullptr));
    EXPECT_EQ(2, ctx->colourMatching);
    EXPECT_EQ(0, ctx->ditherOriginX);
    EXPECT_EQ(0u, ctx->fillStyle);
    EXPECT_EQ(16384u, ctx->stackAllowance);
    EXPECT_EQ(nullptr, ctx->allocHandler);

    // A context may name itself as its source: it keeps its own handlers.
    ASSERT_EQ(0, TessroInitContext(copy, copy));
    EXPECT_EQ(CountingAllocator::Alloc, copy->allocHandler);
}

TEST_F(TessroTest, InitialisationFromAnUnmarkedSourceFailsWithBadContextButLeavesAValidRecord) {
    std::vector<BYTE> zeroed(TessroGetContextSize(), 0);
    EXPECT_EQ(-1, TessroInitContext(ctx, reinterpret_cast<TessroContext*>(zeroed.data())));
    EXPECT_EQ(TESSRO_ERROR_BAD_CONTEXT, LastError());
    EXPECT_STREQ("Bad context", TessroGetErrorText(ctx));
    EXPECT_EQ(0, TessroClearError(ctx));
}

TEST_F(TessroTest, MemoryHandlersNeedBothAndKeepThePreviousOnesOtherwise) {
    EXPECT_EQ(-1, TessroSetMemoryHandlers(ctx, nullptr, TessroFree));
    EXPECT_EQ(TESSRO_ERROR_BAD_PARAMETERS, LastError());
    EXPECT_EQ(-1, TessroSetMemoryHandlers(ctx, TessroAlloc, nullptr));
    EXPECT_EQ(CountingAllocator::Alloc, ctx->allocHandler);
    EXPECT_EQ(CountingAllocator::Free, ctx->freeHandler);
}

// The held buffers: a heap edge-pointer array, two chained edge blocks and a temporary buffer.
void HoldBuffers(TessroContext* ctx) {
    TessroEntry(ctx, [&] {
        ctx->edgePointers = TessroAllocate(ctx, 64);
        ctx->edgePointersOnHeap = 1;
        void* second = TessroAllocate(ctx, kTessroEdgeBlockBytes + sizeof(void*));
        void* none = nullptr;
        std::memcpy(static_cast<BYTE*>(second) + kTessroEdgeBlockBytes, &none, sizeof(none));
        void* first = TessroAllocate(ctx, kTessroEdgeBlockBytes + sizeof(void*));
        std::memcpy(static_cast<BYTE*>(first) + kTessroEdgeBlockBytes, &second, sizeof(second));
        ctx->extraEdgeBlocks = first;
        ctx->temporaryBuffer = TessroAllocate(ctx, 16);
        return 0;
    });
}

TEST_F(TessroTest, AFailureRecordsItsCodeAndReleasesEveryHeldBuffer) {
    HoldBuffers(ctx);
    ASSERT_EQ(4, CountingAllocator::allocations);
    EXPECT_EQ(-1, TessroEntry(ctx, [&]() -> int { TessroFail(TESSRO_ERROR_STACK_OVERFLOW); }));
    EXPECT_EQ(4, CountingAllocator::releases);
    EXPECT_EQ(nullptr, ctx->edgePointers);
    EXPECT_EQ(nullptr, ctx->extraEdgeBlocks);
    EXPECT_EQ(nullptr, ctx->temporaryBuffer);
    EXPECT_STREQ("Stack overflow", TessroGetErrorText(ctx));
}

TEST_F(TessroTest, ReleasingMemoryDropsTheHandlersAndLaterAllocationsFailWithUndefinedHandlers) {
    HoldBuffers(ctx);
    EXPECT_EQ(0, TessroReleaseMemory(ctx));
    EXPECT_EQ(4, CountingAllocator::releases);
    EXPECT_EQ(0, TessroFreeBuffers(ctx));
    EXPECT_EQ(4, CountingAllocator::releases);
    EXPECT_EQ(-1, TessroEntry(ctx, [&] { TessroAllocate(ctx, 8); return 0; }));
    EXPECT_EQ(TESSRO_ERROR_UNDEFINED_MEMORY_HANDLERS, LastError());
    EXPECT_EQ(-1, TessroEntry(ctx, [&] { TessroRelease(ctx, &storage_); return 0; }));
    EXPECT_EQ(TESSRO_ERROR_UNDEFINED_MEMORY_HANDLERS, LastError());
    EXPECT_EQ(0, TessroEntry(ctx, [&] { TessroRelease(ctx, nullptr); return 0; }));
}

TEST_F(TessroTest, AnAllocationThatAnswersNullFailsWithOutOfMemory) {
    CountingAllocator::failNext = true;
    EXPECT_EQ(-1, TessroEntry(ctx, [&] { TessroAllocate(ctx, 8); return 0; }));
    EXPECT_EQ(TESSRO_ERROR_OUT_OF_MEMORY, LastError());
}

TEST_F(TessroTest, ErrorTextsCoverEveryCodeAndNameUnknownOnes) {
    const struct {
        int code;
        const char* text;
    } cases[] = {{0, "No error"},          {1, "Bad bitmap"},
                 {4, "Bad graduation table"}, {7, "Bad parameters"},
                 {12, "Invalid bitmap depth"}, {13, "Invalid scanline routine"},
                 {15, "Must be 32 bits per pixel"}, {18, "Stack overflow"},
                 {20, "Undefined memory handlers"}, {21, "Unimplemented"},
                 {22, "Invalid error code"},   {255, "Invalid error code"}};
    for (const auto& c : cases) {
        ctx->lastError = static_cast<BYTE>(c.code);
        EXPECT_STREQ(c.text, TessroGetErrorText(ctx)) << c.code;
        EXPECT_EQ(c.code, TessroGetLastError(ctx));
    }
}

TEST_F(TessroTest, StackAllowanceBecomesASubdivisionBudget) {
    const struct {
        DWORD allowance;
        DWORD levels;
    } cases[] = {{0, 0}, {100, 0}, {127, 0}, {128, 1}, {16384, 255}, {102400, 1599}};
    for (const auto& c : cases) {
        ASSERT_EQ(0, TessroSetStackLimit(ctx, c.allowance));
        TessroStartStackBudget(ctx);
        EXPECT_EQ(c.levels, ctx->currentStackLimit) << c.allowance;
        // A split at the budget fails with stack overflow; one below it passes.
        EXPECT_EQ(-1, TessroEntry(ctx, [&] { TessroCheckStackDepth(ctx, c.levels); return 0; }));
        EXPECT_EQ(TESSRO_ERROR_STACK_OVERFLOW, LastError());
        if (c.levels > 0) {
            EXPECT_EQ(0, TessroEntry(ctx, [&] { TessroCheckStackDepth(ctx, c.levels - 1); return 0; }));
        }
    }
    // Absolute form: a bottom far below the current frame leaves room, one above it none.
    volatile BYTE here = 0;
    const std::uintptr_t position = reinterpret_cast<std::uintptr_t>(&here);
    ASSERT_EQ(0, TessroSetStackBottom(ctx, reinterpret_cast<const void*>(position - 64 * 1024)));
    TessroStartStackBudget(ctx);
    EXPECT_GT(ctx->currentStackLimit, 100u);
    ASSERT_EQ(0, TessroSetStackBottom(ctx, reinterpret_cast<const void*>(position + 64 * 1024)));
    TessroStartStackBudget(ctx);
    EXPECT_EQ(0u, ctx->currentStackLimit);
}

TEST_F(TessroTest, CopyingDuplicatesTheRecordAndNeedsADestination) {
    ctx->ditherOriginY = 7;
    std::vector<BYTE> other(TessroGetContextSize(), 0);
    EXPECT_EQ(0, TessroCopyContext(ctx, reinterpret_cast<TessroContext*>(other.data())));
    EXPECT_EQ(storage_, other);
    EXPECT_EQ(-1, TessroCopyContext(ctx, nullptr));
    EXPECT_EQ(TESSRO_ERROR_BAD_CONTEXT, LastError());
}

TEST(CTessroTest, OwnsAnInitialisedContextWithTheProgramAllocatorAndTheAllowance) {
    CTessro tessro(CTessro::kAppStackAllowance);
    EXPECT_STREQ("CTessro", tessro.GetRuntimeClass()->m_lpszClassName);
    EXPECT_TRUE(tessro.IsKindOf(RUNTIME_CLASS(CObject)));
    TessroContext* ctx = tessro.GetContext();
    ASSERT_TRUE(TessroIsValid(ctx));
    EXPECT_EQ(102400u, ctx->stackAllowance);
    EXPECT_EQ(TessroAlloc, ctx->allocHandler);
    EXPECT_EQ(TessroFree, ctx->freeHandler);
    // Forwarders answer the entry point's result unchanged.
    EXPECT_EQ(-1, tessro.SetPalette(nullptr));
    EXPECT_EQ(TESSRO_ERROR_BAD_PARAMETERS, TessroGetLastError(ctx));
    EXPECT_NE(nullptr, tessro.SelectPalette(2));
    EXPECT_EQ(2, ctx->paletteMode);
    EXPECT_EQ(0, tessro.SetColour(0x00FF00));
    EXPECT_EQ(0, tessro.Init(5000));
    EXPECT_EQ(5000u, ctx->stackAllowance);
}

}  // namespace
