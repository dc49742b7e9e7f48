// The user-to-device matrix: the setter and the transform routines of the path, stroke and
// fill code. Products and sums are exact 64-bit values; the shifts floor (arithmetic shift).
#include "raster/TessroInternal.h"

namespace {

const int kMatrixShift = 16;      // 16.16 coefficients
const int kFineShift = 20;        // 1/1024 px = device units / 16
const float kMatrixScale = 1.0f / 65536.0f;             // exact in single precision
const float kPixelScale = 1.0f / 1073741824.0f;         // 2^-30: 16.16 x 1/16384 px

std::int64_t SumX(const TessroMatrix& m, std::int32_t x, std::int32_t y) {
    return static_cast<std::int64_t>(m.a) * x + static_cast<std::int64_t>(m.c) * y;
}
std::int64_t SumY(const TessroMatrix& m, std::int32_t x, std::int32_t y) {
    return static_cast<std::int64_t>(m.b) * x + static_cast<std::int64_t>(m.d) * y;
}
// Wrapping 64-bit addition (no overflow check, as the device range wraps).
std::int64_t Add(std::int64_t p, std::int64_t q) {
    return static_cast<std::int64_t>(static_cast<std::uint64_t>(p) + static_cast<std::uint64_t>(q));
}
std::int32_t Low32(std::int64_t v) { return static_cast<std::int32_t>(static_cast<std::uint32_t>(v)); }

}  // namespace

TessroDevicePoint TessroMapPoint(const TessroContext* context, std::int32_t x, std::int32_t y) {
    const TessroMatrix& m = context->matrix;
    return {Low32(Add(SumX(m, x, y), m.e) >> kMatrixShift),
            Low32(Add(SumY(m, x, y), m.f) >> kMatrixShift)};
}

TessroDevicePoint TessroMapVector(const TessroContext* context, std::int32_t x, std::int32_t y) {
    const TessroMatrix& m = context->matrix;
    return {Low32(SumX(m, x, y) >> kMatrixShift), Low32(SumY(m, x, y) >> kMatrixShift)};
}

TessroDevicePoint TessroMapPointFine(const TessroContext* context, std::int32_t x, std::int32_t y) {
    const TessroMatrix& m = context->matrix;
    return {Low32(Add(SumX(m, x, y), m.e) >> kFineShift),
            Low32(Add(SumY(m, x, y), m.f) >> kFineShift)};
}

void TessroMapPointToPixels(const TessroContext* context, std::int32_t x, std::int32_t y,
                            long double* px, long double* py) {
    const TessroMatrix& m = context->matrix;
    *px = (static_cast<long double>(m.a) * x + static_cast<long double>(m.c) * y +
           static_cast<long double>(m.e)) * kPixelScale;
    *py = (static_cast<long double>(m.b) * x + static_cast<long double>(m.d) * y +
           static_cast<long double>(m.f)) * kPixelScale;
}

void TessroMapVectorToPixels(const TessroContext* context, std::int32_t x, std::int32_t y,
                             long double* px, long double* py) {
    const TessroMatrix& m = context->matrix;
    *px = (static_cast<long double>(m.a) * x + static_cast<long double>(m.c) * y) * kPixelScale;
    *py = (static_cast<long double>(m.b) * x + static_cast<long double>(m.d) * y) * kPixelScale;
}

void TessroSetMapOrigin(TessroContext* context, std::int32_t x, std::int32_t y, int precision) {
    const TessroMatrix& m = context->matrix;
    context->mapOriginPrecision = precision;
    context->mapOriginX = static_cast<std::int64_t>(
        static_cast<std::uint64_t>(Add(SumX(m, x, y), m.e)) << precision);
    context->mapOriginY = static_cast<std::int64_t>(
        static_cast<std::uint64_t>(Add(SumY(m, x, y), m.f)) << precision);
}

TessroDevicePoint TessroMapOffset(const TessroContext* context, std::int32_t dx, std::int32_t dy) {
    const TessroMatrix& m = context->matrix;
    const int shift = context->mapOriginPrecision + kMatrixShift;
    return {Low32(Add(SumX(m, dx, dy), context->mapOriginX) >> shift),
            Low32(Add(SumY(m, dx, dy), context->mapOriginY) >> shift)};
}

int TessroSetMatrix(TessroContext* context, const TessroMatrix* matrix) {
    return TessroEntry(context, [&] {
        if (matrix == nullptr) TessroFail(TESSRO_ERROR_BAD_PARAMETERS);
        context->matrix = *matrix;
        context->matrixA = static_cast<double>(matrix->a) * kMatrixScale;
        context->matrixB = static_cast<double>(matrix->b) * kMatrixScale;
        context->matrixC = static_cast<double>(matrix->c) * kMatrixScale;
        context->matrixD = static_cast<double>(matrix->d) * kMatrixScale;
        context->matrixE = static_cast<double>(matrix->e) * kMatrixScale;
        context->matrixF = static_cast<double>(matrix->f) * kMatrixScale;
        return 0;
    });
}
