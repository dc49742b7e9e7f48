// Path-test helpers: a path builder in device pixels (default matrix), pixel masks of a 32-bit
// target, and a counting point callback for the curve walker.
#pragma once

#include <string>
#include <vector>

#include "raster/TessroPathApi.h"
#include "tests/raster/TessroDrawSupport.h"

// Points in device pixels of a target of the given height, converted to user coordinates of
// the default matrix (user y counts up from the bottom edge).
class PathBuilder {
public:
    explicit PathBuilder(double height) : height_(height) {}
    PathBuilder& Move(double x, double y) { return Add(x, y, TESSRO_VERB_MOVE_TO); }
    PathBuilder& Line(double x, double y) { return Add(x, y, TESSRO_VERB_LINE); }
    PathBuilder& Close() {
        verbs.back() |= TESSRO_VERB_CLOSE;
        return *this;
    }
    PathBuilder& Curve(double x1, double y1, double x2, double y2, double x3, double y3) {
        Add(x1, y1, TESSRO_VERB_CURVE);
        Add(x2, y2, TESSRO_VERB_CURVE);
        return Add(x3, y3, TESSRO_VERB_CURVE);
    }
    // A closed axis-aligned rectangle, clockwise on screen when clockwise is true.
    PathBuilder& Rect(double x0, double y0, double x1, double y1, bool clockwise = true) {
        Move(x0, y0);
        if (clockwise) {
            Line(x1, y0), Line(x1, y1), Line(x0, y1);
        } else {
            Line(x0, y1), Line(x1, y1), Line(x1, y0);
        }
        return Close();
    }
    std::int32_t count() const { return static_cast<std::int32_t>(points.size()); }

    std::vector<TessroPoint> points;
    std::vector<unsigned char> verbs;

private:
    PathBuilder& Add(double x, double y, unsigned char verb) {
        points.push_back(User(x, height_ - y));
        verbs.push_back(verb);
        return *this;
    }
    double height_;
};

// '#' where the 32-bit pixel differs from the background, '.' elsewhere; one line per row.
inline std::string Mask(const Target& t, int width, int height, DWORD background = 0) {
    std::string s;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) s += t.Pixel(x, y) != background ? '#' : '.';
        s += '\n';
    }
    return s;
}

class PathTest : public DrawTest {
protected:
    static const int kSize = 16;
    void SetUp() override {
        DrawTest::SetUp();
        Attach(target);
        ASSERT_EQ(0, TessroSetColour(ctx, 0xFFFFFF));
    }
    int Fill(const PathBuilder& p, DWORD rule) {
        return TessroFillPath(ctx, p.points.data(), p.verbs.data(), p.count(), rule);
    }
    int Stroke(const PathBuilder& p, std::int32_t width, int cap = TESSRO_CAP_BUTT,
               int join = TESSRO_JOIN_MITRE, int close = 0, const TessroDashPattern* dash = nullptr) {
        return TessroStrokePath(ctx, p.points.data(), p.verbs.data(), p.count(), close, width,
                                cap, join, dash);
    }
    void Clear() { std::fill(target.bytes().begin(), target.bytes().end(), 0); }
    std::string Drawn() { return Mask(target, kSize, kSize); }
    PathBuilder Path() const { return PathBuilder(kSize); }

    Target target{kSize, kSize, 32};
};

// User units of one pixel under the default matrix.
const std::int32_t kPixel = 65536;
