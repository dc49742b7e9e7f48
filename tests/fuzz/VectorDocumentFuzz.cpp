// The vector document reader (".web" documents) and the renderer over what it read, with both
// coverage fillers: the plain scanline filler and the rasterizer's.
#include "components/vector/CoverageFiller.h"
#include "components/vector/TessroCoverageFiller.h"
#include "components/vector/VectorDocument.h"
#include "components/vector/VectorRenderer.h"
#include "tests/fuzz/FuzzTarget.h"

#include <vector>

BW_FUZZ_TARGET(web)
{
    vector::VectorDocument document;
    std::string error;
    if (!document.Read(reinterpret_cast<const char*>(data), size, &error))
        return;
    document.DrawingBounds();
    document.LayerNames();
    document.ObjectNameAt({10, 10}, 2);
    const int width = 48, height = 32;
    std::vector<std::uint32_t> pixels(width * height, 0xFFFFFFFFu);
    const vector::RenderTarget target{pixels.data(), width, height, true};
    const vector::Affine fit = vector::FitArea(document.Bounds(), width, height, true);
    vector::ScanlineFiller scanline;
    vector::VectorRenderer(&scanline).Render(document, target, fit);
    vector::TessroCoverageFiller tessro;
    vector::VectorRenderer(&tessro).Render(document, target, fit);
}
