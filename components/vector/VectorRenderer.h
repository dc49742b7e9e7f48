// Drawing a vector document into a 32-bit pixel buffer.
//
// Pixels are 0xTTRRGGBB: blue in the low byte, the top byte a transparency (0 opaque, 255
// clear), colour straight (not multiplied by the opacity). Drawing composites over what the
// buffer holds: a pixel no shape covers keeps its exact value.
#pragma once

#include <cstdint>

#include "components/vector/CoverageFiller.h"
#include "components/vector/VectorDocument.h"

namespace vector {

struct RenderTarget {
    std::uint32_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    bool bottomUp = true;  // row 0 of the buffer is the bottom row of the picture
};

// The transform that maps 'area' (user units) onto a width x height target: uniformly scaled
// and centred, or stretched to fill it.
Affine FitArea(const RectF& area, int width, int height, bool uniform);

// Composites one straight-colour pixel with opacity 'alpha' (0..1) over 'destination'.
std::uint32_t CompositeOver(std::uint32_t destination, unsigned r, unsigned g, unsigned b,
                            float alpha);

class VectorRenderer {
public:
    // Without a filler the rasterizer's antialiased path fill is used.
    explicit VectorRenderer(CoverageFiller* filler = nullptr);
    ~VectorRenderer();

    // Draws the visible nodes of the document under 'userToDevice' (device y downwards, in
    // pixels of the target).
    void Render(const VectorDocument& document, const RenderTarget& target,
                const Affine& userToDevice);

private:
    void RenderNode(const VectorNode& node, const RenderTarget& target, const Affine& parent,
                    double opacity);
    // The node's own shape and its children, without its opacity (already in 'opacity').
    void DrawContent(const VectorNode& node, const RenderTarget& target, const Affine& ctm,
                     double opacity);
    CoverageFiller* m_filler;
    CoverageFiller* m_ownFiller;
};

}  // namespace vector
