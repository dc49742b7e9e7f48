// The stroke entries: painting a stroke, returning its outline as a path, measuring its bounds.
#include "raster/TessroEdgeTable.h"
#include "raster/TessroPathApi.h"
#include "raster/TessroPathFill.h"
#include "raster/TessroStroker.h"

namespace {

TessroStrokeRequest Request(const TessroPoint* points, const unsigned char* verbs,
                            std::int32_t count, int closeAll, std::int32_t width, int cap,
                            int join, const TessroDashPattern* dash, TessroStrokeOutput output) {
    // A negative width has no pen: refuse it rather than read it as a huge unsigned one.
    if (width < 0) TessroFail(TESSRO_ERROR_BAD_PARAMETERS);
    TessroCheckCapAndJoin(cap, join);
    TessroStrokeRequest request{};
    request.points = points;
    request.verbs = verbs;
    request.count = count;
    request.closeAll = closeAll != 0;
    request.width = width;
    request.cap = cap;
    request.join = join;
    request.dash = dash;
    request.output = output;
    return request;
}

}  // namespace

int TessroStrokePath(TessroContext* context, const TessroPoint* points,
                     const unsigned char* verbs, std::int32_t count, int closeAll,
                     std::int32_t width, int cap, int join, const TessroDashPattern* dash) {
    return TessroEntry(context, [&] {
        context->closeSubpaths = closeAll != 0;
        context->fillRule = static_cast<BYTE>(TESSRO_RULE_NONZERO);
        context->path.shortRecords = width != 0;
        context->coverageMode = width != 0 && context->antialias;
        context->path.stop = 0;
        const TessroStrokeRequest request =
            Request(points, verbs, count, closeAll, width, cap, join, dash, TessroStrokeOutput::kEdges);
        if (TessroStroke(context, request) == 0) return 0;
        TessroBuildEdgeIndex(context);
        if (width != 0) {
            TessroFillStoredEdges(context);
        } else {
            TessroFillStoredHairlines(context);
        }
        TessroEmptyEdges(context);
        context->path.stop = 0;
        return 0;
    });
}

int TessroStrokePathToPath(TessroContext* context, const TessroPoint* points,
                           const unsigned char* verbs, std::int32_t count, TessroPoint* outPoints,
                           unsigned char* outVerbs, std::int32_t capacity, int closeAll,
                           std::int32_t width, int cap, int join, const TessroDashPattern* dash) {
    return TessroEntry(context, [&] {
        TessroStrokeRequest request =
            Request(points, verbs, count, closeAll, width, cap, join, dash, TessroStrokeOutput::kOutline);
        if (count <= 0) TessroFail(TESSRO_ERROR_BAD_PATH);
        if (capacity < 0 || (capacity > 0 && (outPoints == nullptr || outVerbs == nullptr))) {
            TessroFail(TESSRO_ERROR_BAD_PARAMETERS);
        }
        request.outPoints = outPoints;
        request.outVerbs = outVerbs;
        request.capacity = capacity;
        return static_cast<int>(TessroStroke(context, request));
    });
}

int TessroGetStrokePathBounds(TessroContext* context, const TessroPoint* points,
                              const unsigned char* verbs, std::int32_t count,
                              std::int32_t rect[4], int closeAll, std::int32_t width, int cap,
                              int join, const TessroDashPattern* dash) {
    return TessroEntry(context, [&] {
        TessroStrokeRequest request =
            Request(points, verbs, count, closeAll, width, cap, join, dash, TessroStrokeOutput::kBounds);
        if (rect == nullptr) TessroFail(TESSRO_ERROR_BAD_PARAMETERS);
        request.rect = rect;
        TessroStroke(context, request);
        return 0;
    });
}
