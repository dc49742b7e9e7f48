// Hit tests and pixel statistics: a path fill or a stroke run under a measuring fill style,
// with the caller's fill style restored whatever the result.
#include <cstring>

#include "raster/TessroDrawInternal.h"
#include "raster/TessroPathApi.h"

namespace {

// Runs a nested entry under a temporary fill style; the inner failure's code stays.
template <class Inner>
int Measure(TessroContext* context, DWORD style, Inner inner) {
    const DWORD saved = context->fillStyle;
    context->fillStyle = style;
    context->hitTestResult = 0;
    const int result = inner();
    context->fillStyle = saved;
    return result;
}

}  // namespace

int TessroHitTestPath(TessroContext* context, const TessroPoint* points,
                      const unsigned char* verbs, std::int32_t count, DWORD rule) {
    return TessroEntry(context, [&] {
        if (Measure(context, kTessroFillHitTest,
                    [&] { return TessroFillPath(context, points, verbs, count, rule); }) != 0) {
            return -1;
        }
        return static_cast<int>(context->hitTestResult);
    });
}

int TessroHitTestStroke(TessroContext* context, const TessroPoint* points,
                        const unsigned char* verbs, std::int32_t count, int closeAll,
                        std::int32_t width, int cap, int join, const TessroDashPattern* dash) {
    return TessroEntry(context, [&] {
        if (Measure(context, kTessroFillHitTest, [&] {
                return TessroStrokePath(context, points, verbs, count, closeAll, width, cap, join,
                                        dash);
            }) != 0) {
            return -1;
        }
        return static_cast<int>(context->hitTestResult);
    });
}

int TessroGetPathPixelStatistics(TessroContext* context, const TessroPoint* points,
                                 const unsigned char* verbs, std::int32_t count, DWORD rule,
                                 void* record) {
    return TessroEntry(context, [&] {
        if (record == nullptr) TessroFail(TESSRO_ERROR_BAD_PARAMETERS);
        if (Measure(context, kTessroFillStatistics,
                    [&] { return TessroFillPath(context, points, verbs, count, rule); }) != 0) {
            return -1;
        }
        std::memcpy(record, context->path.statistics, sizeof(context->path.statistics));
        return 0;
    });
}
