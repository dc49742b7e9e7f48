// Antialiased path fills and strokes on a 32-bit target beside cairo and AGG, in-process and
// single-threaded, on the same shapes and the same 32-bit pixel layout (blue, green, red,
// fourth byte): aligned, unaligned and rotated rectangles, rounded rectangles, polygons of 10,
// 20 and 40 vertices under both rules, a circle and a set of glyph-sized shapes at sizes from 8
// to 512 px. Every side builds its path inside the timed call. The three run in turns, round by
// round, on processor time; each case prints medians with the fastest and slowest round, the
// ratios, and per size the geometric mean of the fill ratios. Then the pixels are compared
// with cairo's (largest and mean difference), to show coverage faults.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <algorithm>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "raster/TessroInternal.h"
#include "raster/TessroPathApi.h"
#include "BenchTiming.h"

#ifdef BW_BENCH_CAIRO
#include <cairo.h>
#endif
#ifdef BW_BENCH_AGG
#include "agg_conv_curve.h"
#include "agg_conv_stroke.h"
#include "agg_path_storage.h"
#include "agg_pixfmt_rgba.h"
#include "agg_rasterizer_scanline_aa.h"
#include "agg_renderer_base.h"
#include "agg_renderer_scanline.h"
#include "agg_scanline_u.h"
#endif

namespace {

const int kCanvas = 560;
const double kPi = 3.14159265358979323846;
const double kArc = 0.5522847498;  // quarter-circle control arm per radius

// A shape as subpaths of lines and cubics, in pixels (y down).
struct Shape {
    struct Op {
        char kind;  // 'M', 'L', 'C', 'Z'
        double x[3], y[3];
    };
    std::vector<Op> ops;
    void Move(double x, double y) { ops.push_back({'M', {x}, {y}}); }
    void Line(double x, double y) { ops.push_back({'L', {x}, {y}}); }
    void Curve(double x1, double y1, double x2, double y2, double x3, double y3) {
        ops.push_back({'C', {x1, x2, x3}, {y1, y2, y3}});
    }
    void Close() { ops.push_back({'Z', {0}, {0}}); }
};

Shape Rectangle(double x, double y, double w, double h, double angle = 0) {
    Shape s;
    const double cx = x + w / 2, cy = y + h / 2, c = std::cos(angle), n = std::sin(angle);
    const double px[4] = {-w / 2, w / 2, w / 2, -w / 2}, py[4] = {-h / 2, -h / 2, h / 2, h / 2};
    for (int i = 0; i < 4; ++i) {
        const double rx = cx + px[i] * c - py[i] * n, ry = cy + px[i] * n + py[i] * c;
        if (i == 0) {
            s.Move(rx, ry);
        } else {
            s.Line(rx, ry);
        }
    }
    s.Close();
    return s;
}

Shape RoundedRectangle(double x, double y, double w, double h, double r) {
    Shape s;
    const double k = kArc * r;
    s.Move(x + r, y);
    s.Line(x + w - r, y);
    s.Curve(x + w - r + k, y, x + w, y + r - k, x + w, y + r);
    s.Line(x + w, y + h - r);
    s.Curve(x + w, y + h - r + k, x + w - r + k, y + h, x + w - r, y + h);
    s.Line(x + r, y + h);
    s.Curve(x + r - k, y + h, x, y + h - r + k, x, y + h - r);
    s.Line(x, y + r);
    s.Curve(x, y + r - k, x + r - k, y, x + r, y);
    s.Close();
    return s;
}

Shape Circle(double cx, double cy, double r) {
    Shape s;
    const double k = kArc * r;
    s.Move(cx + r, cy);
    s.Curve(cx + r, cy + k, cx + k, cy + r, cx, cy + r);
    s.Curve(cx - k, cy + r, cx - r, cy + k, cx - r, cy);
    s.Curve(cx - r, cy - k, cx - k, cy - r, cx, cy - r);
    s.Curve(cx + k, cy - r, cx + r, cy - k, cx + r, cy);
    s.Close();
    return s;
}

// A self-intersecting polygon of n vertices inside a square of the given size (fixed seed).
Shape Polygon(int n, double x, double y, double size, unsigned seed) {
    Shape s;
    for (int i = 0; i < n; ++i) {
        seed = seed * 1103515245u + 12345u;
        const double px = x + size * ((seed >> 8) & 0xFFFF) / 65535.0;
        seed = seed * 1103515245u + 12345u;
        const double py = y + size * ((seed >> 8) & 0xFFFF) / 65535.0;
        if (i == 0) {
            s.Move(px, py);
        } else {
            s.Line(px, py);
        }
    }
    s.Close();
    return s;
}

// Glyph-sized outlines: a ring (an "o"), a bar with a bowl (a "b") and a slanted stem, each
// about size px tall.
Shape GlyphSet(double x, double y, double size) {
    Shape s = Circle(x + size * 0.3, y + size * 0.6, size * 0.3);
    // The hole runs the other way round.
    Shape reversed;
    const double cx = x + size * 0.3, cy = y + size * 0.6, r = size * 0.18, k = kArc * r;
    reversed.Move(cx + r, cy);
    reversed.Curve(cx + r, cy - k, cx + k, cy - r, cx, cy - r);
    reversed.Curve(cx - k, cy - r, cx - r, cy - k, cx - r, cy);
    reversed.Curve(cx - r, cy + k, cx - k, cy + r, cx, cy + r);
    reversed.Curve(cx + k, cy + r, cx + r, cy + k, cx + r, cy);
    reversed.Close();
    s.ops.insert(s.ops.end(), reversed.ops.begin(), reversed.ops.end());
    Shape stem = Rectangle(x + size * 0.7, y, size * 0.12, size * 0.9, 0.15);
    s.ops.insert(s.ops.end(), stem.ops.begin(), stem.ops.end());
    return s;
}

// ---- Tessro ----
struct Tessro {
    std::vector<BYTE> storage;
    TessroContext* ctx;
    std::vector<TessroPoint> points;
    std::vector<unsigned char> verbs;
    explicit Tessro(BYTE* bits) : storage(TessroGetContextSize(), 0) {
        ctx = reinterpret_cast<TessroContext*>(storage.data());
        TessroInitContext(ctx, nullptr);
        TessroSetMemoryHandlers(ctx, [](DWORD n) { return std::malloc(n); }, [](void* p) { std::free(p); });
        BITMAPINFOHEADER h{};
        h.biSize = sizeof(h);
        h.biWidth = kCanvas;
        h.biHeight = kCanvas;
        h.biPlanes = 1;
        h.biBitCount = 32;
        TessroSetBitmap(ctx, &h, bits, 0);
        // User coordinates: 16.16 pixels, y down like the peers.
        const TessroMatrix m{0x4000, 0, 0, 0x4000, 0, 0};
        TessroSetMatrix(ctx, &m);
        TessroSetAntialias(ctx, 1);
        TessroSetColour(ctx, 0xFFFFFF);
    }
    void Load(const Shape& s) {
        points.clear();
        verbs.clear();
        auto user = [](double v) { return static_cast<std::int32_t>(std::lround(v * 65536.0)); };
        for (const Shape::Op& op : s.ops) {
            switch (op.kind) {
                case 'M':
                    points.push_back({user(op.x[0]), user(op.y[0])});
                    verbs.push_back(TESSRO_VERB_MOVE_TO);
                    break;
                case 'L':
                    points.push_back({user(op.x[0]), user(op.y[0])});
                    verbs.push_back(TESSRO_VERB_LINE);
                    break;
                case 'C':
                    for (int k = 0; k < 3; ++k) {
                        points.push_back({user(op.x[k]), user(op.y[k])});
                        verbs.push_back(TESSRO_VERB_CURVE);
                    }
                    break;
                default: verbs.back() |= TESSRO_VERB_CLOSE; break;
            }
        }
    }
    void Fill(bool evenOdd) {
        TessroFillPath(ctx, points.data(), verbs.data(), static_cast<std::int32_t>(points.size()),
                       evenOdd ? TESSRO_RULE_EVEN_ODD : TESSRO_RULE_NONZERO);
    }
    void Stroke(double width) {
        TessroStrokePath(ctx, points.data(), verbs.data(), static_cast<std::int32_t>(points.size()), 0,
                         static_cast<std::int32_t>(width * 65536), TESSRO_CAP_BUTT, TESSRO_JOIN_MITRE,
                         nullptr);
    }
};

#ifdef BW_BENCH_CAIRO
struct Cairo {
    cairo_surface_t* surface;
    cairo_t* cr;
    explicit Cairo(BYTE* bits) {
        surface = cairo_image_surface_create_for_data(bits, CAIRO_FORMAT_RGB24, kCanvas, kCanvas, kCanvas * 4);
        cr = cairo_create(surface);
        cairo_set_source_rgb(cr, 1, 1, 1);
    }
    ~Cairo() {
        cairo_destroy(cr);
        cairo_surface_destroy(surface);
    }
    void Path(const Shape& s) {
        cairo_new_path(cr);
        for (const Shape::Op& op : s.ops) {
            switch (op.kind) {
                case 'M': cairo_move_to(cr, op.x[0], op.y[0]); break;
                case 'L': cairo_line_to(cr, op.x[0], op.y[0]); break;
                case 'C': cairo_curve_to(cr, op.x[0], op.y[0], op.x[1], op.y[1], op.x[2], op.y[2]); break;
                default: cairo_close_path(cr); break;
            }
        }
    }
    void Fill(const Shape& s, bool evenOdd) {
        Path(s);
        cairo_set_fill_rule(cr, evenOdd ? CAIRO_FILL_RULE_EVEN_ODD : CAIRO_FILL_RULE_WINDING);
        cairo_fill(cr);
    }
    void Stroke(const Shape& s, double width) {
        Path(s);
        cairo_set_line_width(cr, width);
        cairo_stroke(cr);
    }
};
#endif

#ifdef BW_BENCH_AGG
struct Agg {
    typedef agg::pixfmt_bgra32 Pixels;
    agg::rendering_buffer buffer;
    Pixels pixels;
    agg::renderer_base<Pixels> base;
    agg::renderer_scanline_aa_solid<agg::renderer_base<Pixels>> solid;
    agg::rasterizer_scanline_aa<> rasterizer;
    agg::scanline_u8 scanline;
    agg::path_storage path;
    explicit Agg(BYTE* bits)
        : buffer(bits, kCanvas, kCanvas, kCanvas * 4), pixels(buffer), base(pixels), solid(base) {
        solid.color(agg::rgba8(255, 255, 255, 255));
    }
    void Load(const Shape& s) {
        path.remove_all();
        for (const Shape::Op& op : s.ops) {
            switch (op.kind) {
                case 'M': path.move_to(op.x[0], op.y[0]); break;
                case 'L': path.line_to(op.x[0], op.y[0]); break;
                case 'C': path.curve4(op.x[0], op.y[0], op.x[1], op.y[1], op.x[2], op.y[2]); break;
                default: path.close_polygon(); break;
            }
        }
    }
    void Fill(bool evenOdd) {
        agg::conv_curve<agg::path_storage> curves(path);
        rasterizer.reset();
        rasterizer.filling_rule(evenOdd ? agg::fill_even_odd : agg::fill_non_zero);
        rasterizer.add_path(curves);
        agg::render_scanlines(rasterizer, scanline, solid);
    }
    void Stroke(double width) {
        agg::conv_curve<agg::path_storage> curves(path);
        agg::conv_stroke<agg::conv_curve<agg::path_storage>> stroke(curves);
        stroke.width(width);
        rasterizer.reset();
        rasterizer.filling_rule(agg::fill_non_zero);
        rasterizer.add_path(stroke);
        agg::render_scanlines(rasterizer, scanline, solid);
    }
};
#endif

struct Case {
    std::string name;
    int size;
    Shape shape;
    bool evenOdd;
    double strokeWidth;  // 0: fill
};

const int kSizes[] = {8, 32, 128, 256, 512};

std::vector<Case> Cases() {
    std::vector<Case> cases;
    for (int size : kSizes) {
        const std::string at = " " + std::to_string(size);
        const double o = 20;
        cases.push_back({"rect aligned" + at, size, Rectangle(o, o, size, size), false, 0});
        cases.push_back({"rect unaligned" + at, size, Rectangle(o + 0.3, o + 0.6, size, size), false, 0});
        // Turned about its centre: kept inside the canvas at the largest size.
        cases.push_back({"rect rotated" + at, size, Rectangle(o, o, size * 0.7, size * 0.7, 0.35), false, 0});
        cases.push_back({"rounded rect" + at, size, RoundedRectangle(o + 0.5, o + 0.5, size, size, size / 4.0), false, 0});
        for (int n : {10, 20, 40}) {
            cases.push_back({"polygon " + std::to_string(n) + " even-odd" + at, size, Polygon(n, o, o, size, 7u * n), true, 0});
            cases.push_back({"polygon " + std::to_string(n) + " nonzero" + at, size, Polygon(n, o, o, size, 7u * n), false, 0});
        }
        cases.push_back({"circle" + at, size, Circle(o + size / 2.0, o + size / 2.0, size / 2.0), false, 0});
        // Eight glyph-sized outlines in a row, each an eighth of the size (at least 8 px).
        Shape glyphs;
        const double glyph = std::max(8.0, size / 8.0);
        for (int i = 0; i < 8; ++i) {
            const Shape g = GlyphSet(o + i * (glyph + 3) + 0.25 * i, o + 0.4 * i, glyph);
            glyphs.ops.insert(glyphs.ops.end(), g.ops.begin(), g.ops.end());
        }
        cases.push_back({"glyph set x8" + at, size, glyphs, false, 0});
        cases.push_back({"stroke rounded rect" + at, size, RoundedRectangle(o + 0.5, o + 0.5, size, size, size / 4.0), false, 2.0});
        cases.push_back({"stroke polygon 20" + at, size, Polygon(20, o, o, size, 140u), false, 1.5});
    }
    return cases;
}

}  // namespace

int main(int argc, char** argv) {
#ifdef BW_BENCH_SANITIZED
    std::printf("built with the sanitizers: these times measure them (use the bench preset)\n");
#endif
    std::vector<BYTE> ours(kCanvas * kCanvas * 4, 0), cairoBits(ours.size(), 0), aggBits(ours.size(), 0);
    Tessro tessro(ours.data());
#ifdef BW_BENCH_CAIRO
    Cairo cairo(cairoBits.data());
#endif
#ifdef BW_BENCH_AGG
    Agg agg(aggBits.data());
#endif
    std::printf("times in us per shape: median [fastest-slowest round]; ratio = ours / peer\n");
    std::printf("%-30s %24s %24s %6s %24s %6s\n", "case", "tessro", "cairo", "ratio", "agg", "ratio");
    std::vector<Case> cases = Cases();
    // An argument keeps the cases whose names contain it: `path_bench "rect aligned"`;
    // `--pixels` only compares the pixels (and prints a checksum of ours per case, so that two
    // builds can be seen to draw the same).
    const bool timing = !(argc > 1 && std::string(argv[1]) == "--pixels");
    if (argc > 1 && timing) {
        cases.erase(std::remove_if(cases.begin(), cases.end(),
                                   [&](const Case& c) { return c.name.find(argv[1]) == std::string::npos; }),
                    cases.end());
    }
    std::vector<double> cairoRatios[std::size(kSizes)], aggRatios[std::size(kSizes)];
    for (Case& c : cases) {
        if (!timing) break;
        const bool stroke = c.strokeWidth > 0;
        std::vector<std::function<void()>> bodies(3);
        bodies[0] = [&] {
            tessro.Load(c.shape);
            if (stroke) {
                tessro.Stroke(c.strokeWidth);
            } else {
                tessro.Fill(c.evenOdd);
            }
        };
#ifdef BW_BENCH_CAIRO
        bodies[1] = [&] {
            if (stroke) {
                cairo.Stroke(c.shape, c.strokeWidth);
            } else {
                cairo.Fill(c.shape, c.evenOdd);
            }
        };
#endif
#ifdef BW_BENCH_AGG
        bodies[2] = [&] {
            agg.Load(c.shape);
            if (stroke) {
                agg.Stroke(c.strokeWidth);
            } else {
                agg.Fill(c.evenOdd);
            }
        };
#endif
        const std::vector<bench::Stats> t = bench::Interleaved(bodies);
        const double rc = bench::Ratio(t[0], t[1]), ra = bench::Ratio(t[0], t[2]);
        std::printf("%-30s %24s %24s %6.2f %24s %6.2f\n", c.name.c_str(), bench::Format(t[0]).c_str(),
                    bench::Format(t[1]).c_str(), rc, bench::Format(t[2]).c_str(), ra);
        if (!stroke) {
            const size_t k = std::find(std::begin(kSizes), std::end(kSizes), c.size) - std::begin(kSizes);
            cairoRatios[k].push_back(rc);
            aggRatios[k].push_back(ra);
        }
    }
    if (timing) {
        std::printf("\nfills, geometric mean of ours / peer by size\n%-8s %8s %8s %8s\n", "size", "cairo", "agg", "worst/cairo");
        for (size_t k = 0; k < std::size(kSizes); ++k) {
            const double worst = cairoRatios[k].empty() ? 0 : *std::max_element(cairoRatios[k].begin(), cairoRatios[k].end());
            std::printf("%-8d %8.2f %8.2f %8.2f\n", kSizes[k], bench::GeometricMean(cairoRatios[k]),
                        bench::GeometricMean(aggRatios[k]), worst);
        }
    }
#ifdef BW_BENCH_CAIRO
    // Pixel comparison: white shapes on black, one draw each, the green channel compared.
    std::printf("\n%-34s %8s %8s %-8s %s\n", "pixels against cairo", "max", "mean", "verdict", "ours");
    int faults = 0;
    for (Case& c : cases) {
        std::fill(ours.begin(), ours.end(), 0);
        std::fill(cairoBits.begin(), cairoBits.end(), 0);
        tessro.Load(c.shape);
        if (c.strokeWidth > 0) {
            tessro.Stroke(c.strokeWidth);
            cairo.Stroke(c.shape, c.strokeWidth);
        } else {
            tessro.Fill(c.evenOdd);
            cairo.Fill(c.shape, c.evenOdd);
        }
        cairo_surface_flush(cairo.surface);
        int worst = 0;
        double sum = 0;
        long touched = 0;
        for (std::size_t i = 1; i < ours.size(); i += 4) {
            const int d = std::abs(static_cast<int>(ours[i]) - static_cast<int>(cairoBits[i]));
            if (ours[i] || cairoBits[i]) {
                sum += d;
                ++touched;
            }
            if (d > worst) worst = d;
        }
        const double mean = touched ? sum / touched : 0;
        // Five sub-rows per pixel bound the error of one edge to about a tenth of a pixel.
        const bool ok = worst <= 64 && mean <= 8;
        faults += !ok;
        std::uint32_t checksum = 2166136261u;
        for (BYTE v : ours) checksum = (checksum ^ v) * 16777619u;
        std::printf("%-34s %8d %8.2f %-8s %08x\n", c.name.c_str(), worst, mean, ok ? "ok" : "DIFFERS", checksum);
    }
    std::printf("%d case(s) differ beyond the tolerance\n", faults);
    return faults == 0 ? 0 : 1;
#else
    return 0;
#endif
}
