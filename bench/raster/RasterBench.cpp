// Fill throughput of the rasterizer at colour-editor sizes: flat rectangles, single points, the
// linear value strip and the four-colour field, on 32-bit and 8-bit palette targets. Beside
// each, pixman's nearest equivalent on the same size (solid fill, 1 x 1 fills, a linear
// gradient, and two composited gradients for the field), with the ratio of the two times.
// Then, at 1024 x 1024 on 32 bits: bitmap fills enlarging a 256 x 256 source four times
// (nearest, smoothed, filtered) beside pixman's scaled composites (nearest, bilinear, a
// separable cubic), radial and conical colour graduations beside pixman's gradients, and
// radial and conical transparency graduations mixing a colour over the target beside
// pixman's OVER with a gradient mask; and the blend modes of a flat colour beside pixman's
// PDF operators of the same names (mix beside OVER, brightness beside luminosity; contrast
// and the luminance modes have no counterpart). An argument limits the run to the cases
// whose names contain it.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <functional>
#include <vector>

#include "raster/TessroBitmapApi.h"
#include "raster/TessroInternal.h"

#ifdef BW_BENCH_PIXMAN
#include <pixman.h>
#endif

namespace {

// The calling thread's processor time in microseconds: a busy machine's other work does not
// count (wall time on a loaded machine measures the neighbours).
double ThreadMicroseconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e6 + t.tv_nsec / 1e3;
}

// Time of one call in microseconds: the mean of a batch of calls lasting 50 ms, the best of
// five batches.
double Time(const std::function<void()>& body) {
    body();
    double best = 0;
    for (int batch = 0; batch < 5; ++batch) {
        int rounds = 0;
        const double start = ThreadMicroseconds();
        double elapsed = 0;
        do {
            body();
            ++rounds;
            elapsed = ThreadMicroseconds() - start;
        } while (elapsed < 50000.0);
        const double mean = elapsed / rounds;
        if (batch == 0 || mean < best) best = mean;
    }
    return best;
}

// Cases whose name contains this text (all when null): `raster_bench smoothed` times one.
const char* g_only = nullptr;
bool Wanted(const char* name) { return g_only == nullptr || std::strstr(name, g_only) != nullptr; }

void Report(const char* name, int pixels, double ours, double theirs) {
    std::printf("%-34s %8.2f us %7.3f ns/px", name, ours, ours * 1000.0 / pixels);
    if (theirs > 0) {
        std::printf("   pixman %8.2f us   ratio %5.2f", theirs, ours / theirs);
    }
    std::printf("\n");
}

TessroPoint User(int x, int y) { return {x * 65536, y * 65536}; }

struct Context {
    std::vector<BYTE> storage;
    TessroContext* ctx;
    Context() : storage(TessroGetContextSize(), 0) {
        ctx = reinterpret_cast<TessroContext*>(storage.data());
        TessroInitContext(ctx, nullptr);
    }
};

struct Case {
    const char* name;
    int width, height;
};

void Run(WORD bits) {
    Context c;
    TessroContext* ctx = c.ctx;
    if (bits == 8) TessroSelectPalette(ctx, 0);
    const Case cases[] = {{"flat rectangle", 256, 256}, {"points", 256, 1}, {"linear strip", 24, 256},
                          {"four-colour field", 256, 256}};
    for (const Case& k : cases) {
        BITMAPINFOHEADER h{};
        h.biSize = sizeof(h);
        h.biWidth = k.width;
        h.biHeight = k.height;
        h.biPlanes = 1;
        h.biBitCount = bits;
        const int stride = ((k.width * bits + 31) / 32) * 4;
        std::vector<BYTE> target(static_cast<size_t>(stride) * k.height);
        TessroSetBitmap(ctx, &h, target.data(), 0);
        const TessroPoint rect[2] = {User(0, 0), User(k.width, k.height)};
        const TessroPoint p0 = User(0, k.height), p1 = User(k.width, k.height), p2 = User(0, 0);
        std::vector<DWORD> table(3 + 4 * 256);
        table[0] = 256;
        std::function<void()> ours;
        double theirs = 0;
        char name[64];
        std::snprintf(name, sizeof(name), "%s %dx%d, %d bits", k.name, k.width, k.height, bits);
        if (!Wanted(name)) continue;
#ifdef BW_BENCH_PIXMAN
        std::vector<uint32_t> pixels(static_cast<size_t>(k.width) * k.height);
        pixman_image_t* image = pixman_image_create_bits(PIXMAN_x8r8g8b8, k.width, k.height, pixels.data(),
                                                         k.width * 4);
        const pixman_color_t orange = {0xFFFF, 0x8000, 0x2000, 0xFFFF};
#endif
        if (k.name[0] == 'f' && k.name[1] == 'l') {
            TessroSetColour(ctx, 0x2080FF);
            ours = [&] { TessroFillRectangle(ctx, rect); };
#ifdef BW_BENCH_PIXMAN
            const pixman_rectangle16_t all = {0, 0, static_cast<uint16_t>(k.width), static_cast<uint16_t>(k.height)};
            theirs = Time([&] { pixman_image_fill_rectangles(PIXMAN_OP_SRC, image, &orange, 1, &all); });
#endif
        } else if (k.name[0] == 'p') {
            TessroSetColour(ctx, 0x2080FF);
            ours = [&] {
                for (int x = 0; x < k.width; ++x) {
                    const TessroPoint p = {x * 65536 + 32768, 32768};
                    TessroFillPoint(ctx, &p);
                }
            };
#ifdef BW_BENCH_PIXMAN
            theirs = Time([&] {
                for (int x = 0; x < k.width; ++x) {
                    const pixman_rectangle16_t one = {static_cast<int16_t>(x), 0, 1, 1};
                    pixman_image_fill_rectangles(PIXMAN_OP_SRC, image, &orange, 1, &one);
                }
            });
#endif
        } else if (k.name[0] == 'l') {
            TessroBuildGraduationTable(ctx, 0x000000, 0x2080FF, 0, table.data());
            TessroSetGraduation(ctx, 0, table.data(), &p0, &p1, &p2);
            ours = [&] { TessroFillRectangle(ctx, rect); };
#ifdef BW_BENCH_PIXMAN
            const pixman_point_fixed_t a = {0, 0}, b = {0, pixman_int_to_fixed(k.height)};
            const pixman_gradient_stop_t stops[2] = {{0, {0, 0, 0, 0xFFFF}}, {pixman_fixed_1, orange}};
            pixman_image_t* gradient = pixman_image_create_linear_gradient(&a, &b, stops, 2);
            theirs = Time([&] {
                pixman_image_composite32(PIXMAN_OP_SRC, gradient, nullptr, image, 0, 0, 0, 0, 0, 0, k.width,
                                         k.height);
            });
            pixman_image_unref(gradient);
#endif
        } else {
            TessroSetGraduatedColours(ctx, 1, 0x2080FF, 0xFFFFFF, 0, 0, &p0, &p1, &p2);
            ours = [&] { TessroFillRectangle(ctx, rect); };
#ifdef BW_BENCH_PIXMAN
            // Hue to white across, then towards black down: two gradients, the second over.
            const pixman_point_fixed_t l = {0, 0}, r = {pixman_int_to_fixed(k.width), 0};
            const pixman_point_fixed_t t = {0, 0}, d = {0, pixman_int_to_fixed(k.height)};
            const pixman_gradient_stop_t across[2] = {{0, orange}, {pixman_fixed_1, {0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF}}};
            const pixman_gradient_stop_t down[2] = {{0, {0, 0, 0, 0}}, {pixman_fixed_1, {0, 0, 0, 0xFFFF}}};
            pixman_image_t* g1 = pixman_image_create_linear_gradient(&l, &r, across, 2);
            pixman_image_t* g2 = pixman_image_create_linear_gradient(&t, &d, down, 2);
            theirs = Time([&] {
                pixman_image_composite32(PIXMAN_OP_SRC, g1, nullptr, image, 0, 0, 0, 0, 0, 0, k.width, k.height);
                pixman_image_composite32(PIXMAN_OP_OVER, g2, nullptr, image, 0, 0, 0, 0, 0, 0, k.width, k.height);
            });
            pixman_image_unref(g1);
            pixman_image_unref(g2);
#endif
        }
        const double time = Time(ours);
        if (TessroGetLastError(ctx) != 0) std::printf("%s: error %d\n", name, TessroGetLastError(ctx));
        Report(name, k.width * k.height, time, theirs);
#ifdef BW_BENCH_PIXMAN
        pixman_image_unref(image);
#endif
    }
}

const int kLarge = 1024;
const int kSourceSize = 256;

void RunBitmapsAndTransparency() {
    Context c;
    TessroContext* ctx = c.ctx;
    BITMAPINFOHEADER h{};
    h.biSize = sizeof(h);
    h.biWidth = kLarge;
    h.biHeight = kLarge;
    h.biPlanes = 1;
    h.biBitCount = 32;
    std::vector<DWORD> target(static_cast<size_t>(kLarge) * kLarge, 0x00404040);
    TessroSetBitmap(ctx, &h, target.data(), 0);
    BITMAPINFOHEADER sh = h;
    sh.biWidth = kSourceSize;
    sh.biHeight = kSourceSize;
    std::vector<DWORD> source(static_cast<size_t>(kSourceSize) * kSourceSize);
    for (int y = 0; y < kSourceSize; ++y) {
        for (int x = 0; x < kSourceSize; ++x) source[static_cast<size_t>(y) * kSourceSize + x] = (x * 0x010000u) ^ (y * 0x0101u);
    }
    const TessroPoint rect[2] = {User(0, 0), User(kLarge, kLarge)};
    const TessroPoint p0 = User(0, kLarge), p1 = User(kLarge, kLarge), p2 = User(0, 0);
    const int pixels = kLarge * kLarge;
#ifdef BW_BENCH_PIXMAN
    pixman_image_t* image =
        pixman_image_create_bits(PIXMAN_x8r8g8b8, kLarge, kLarge, reinterpret_cast<uint32_t*>(target.data()), kLarge * 4);
    pixman_image_t* texture = pixman_image_create_bits(PIXMAN_x8r8g8b8, kSourceSize, kSourceSize,
                                                       reinterpret_cast<uint32_t*>(source.data()), kSourceSize * 4);
    pixman_transform_t scale;
    pixman_transform_init_scale(&scale, pixman_double_to_fixed(0.25), pixman_double_to_fixed(0.25));
    pixman_image_set_transform(texture, &scale);
    pixman_image_set_repeat(texture, PIXMAN_REPEAT_NORMAL);
#endif
    const struct {
        const char* name;
        int smoothing, filtering;
    } families[] = {{"bitmap fill nearest", 0, 0}, {"bitmap fill smoothed", 1, 0}, {"bitmap fill filtered", 0, 1}};
    for (const auto& family : families) {
        if (!Wanted(family.name)) continue;
        TessroSetBitmapFillSmoothing(ctx, family.smoothing);
        TessroSetBitmapFillFiltering(ctx, family.filtering);
        const TessroPoint s1 = User(kSourceSize * 4, kLarge), s2 = User(0, kLarge - kSourceSize * 4);
        TessroSetBitmapFill(ctx, &sh, source.data(), 2, &p0, &s1, &s2, 0, nullptr, nullptr, nullptr, nullptr,
                            nullptr, 0);
        double theirs = 0;
#ifdef BW_BENCH_PIXMAN
        if (family.filtering) {
            int count = 0;
            pixman_fixed_t* params = pixman_filter_create_separable_convolution(
                &count, pixman_double_to_fixed(0.25), pixman_double_to_fixed(0.25), PIXMAN_KERNEL_CUBIC,
                PIXMAN_KERNEL_CUBIC, PIXMAN_KERNEL_IMPULSE, PIXMAN_KERNEL_IMPULSE, 4, 4);
            pixman_image_set_filter(texture, PIXMAN_FILTER_SEPARABLE_CONVOLUTION, params, count);
            free(params);
        } else {
            pixman_image_set_filter(texture, family.smoothing ? PIXMAN_FILTER_BILINEAR : PIXMAN_FILTER_NEAREST,
                                    nullptr, 0);
        }
        theirs = Time([&] {
            pixman_image_composite32(PIXMAN_OP_SRC, texture, nullptr, image, 0, 0, 0, 0, 0, 0, kLarge, kLarge);
        });
#endif
        const double ours = Time([&] { TessroFillRectangle(ctx, rect); });
        if (TessroGetLastError(ctx) != 0) std::printf("%s: error %d\n", family.name, TessroGetLastError(ctx));
        Report(family.name, pixels, ours, theirs);
    }
    // Radial and conical colour graduations over the whole target beside pixman's gradients
    // of the same geometry and two stops (composited with SRC); then the same as transparency
    // graduations mixing a colour over the target beside pixman's OVER with a gradient mask.
    std::vector<DWORD> graduation(3 + 256);
    graduation[0] = 256;
    for (int i = 0; i < 256; ++i) graduation[3 + i] = static_cast<DWORD>(i) * 0x010101u;
    std::vector<BYTE> ramp(256);
    for (int i = 0; i < 256; ++i) ramp[i] = static_cast<BYTE>(i);
    const TessroPoint centre = User(kLarge / 2, kLarge / 2), rim = User(kLarge, kLarge / 2),
                      up = User(kLarge / 2, kLarge);
    for (bool transparency : {false, true}) {
        for (DWORD kind : {1u, 2u}) {
            const char* name = transparency ? (kind == 1 ? "radial transparency" : "conical transparency")
                                            : (kind == 1 ? "radial graduation" : "conical graduation");
            if (!Wanted(name)) continue;
            if (transparency) {
                TessroSetTransparentColour(ctx, 0x2080FF, 7);
                TessroSetTransparencyGraduation(ctx, kind, ramp.data(), &centre, &rim, &up);
            } else {
                TessroSetGraduation(ctx, kind, graduation.data(), &centre, &rim, &up);
            }
            double theirs = 0;
#ifdef BW_BENCH_PIXMAN
            const pixman_color_t orange = {0xFFFF, 0x8000, 0x2000, 0xFFFF};
            pixman_image_t* solid = pixman_image_create_solid_fill(&orange);
            const pixman_gradient_stop_t stops[2] = {
                {0, {0, 0, 0, 0xFFFF}},
                {pixman_fixed_1, {0xFFFF, 0xFFFF, 0xFFFF, static_cast<uint16_t>(transparency ? 0 : 0xFFFF)}}};
            const pixman_point_fixed_t middle = {pixman_int_to_fixed(kLarge / 2), pixman_int_to_fixed(kLarge / 2)};
            pixman_image_t* gradient = kind == 1 ? pixman_image_create_radial_gradient(&middle, &middle, 0,
                                                                                          pixman_int_to_fixed(kLarge / 2), stops, 2)
                                                 : pixman_image_create_conical_gradient(&middle, 0, stops, 2);
            theirs = Time([&] {
                if (transparency) {
                    pixman_image_composite32(PIXMAN_OP_OVER, solid, gradient, image, 0, 0, 0, 0, 0, 0, kLarge, kLarge);
                } else {
                    pixman_image_composite32(PIXMAN_OP_SRC, gradient, nullptr, image, 0, 0, 0, 0, 0, 0, kLarge, kLarge);
                }
            });
            pixman_image_unref(gradient);
            pixman_image_unref(solid);
#endif
            const double ours = Time([&] { TessroFillRectangle(ctx, rect); });
            if (TessroGetLastError(ctx) != 0) std::printf("%s: error %d\n", name, TessroGetLastError(ctx));
            Report(name, pixels, ours, theirs);
        }
    }
    // Blend modes of a flat colour a quarter transparent over the whole target, beside the PDF
    // operator of the same name with a solid source three quarters opaque.
    const struct {
        const char* name;
        DWORD type;
        int op;  // pixman_op_t
    } modes[] = {
#ifdef BW_BENCH_PIXMAN
        {"blend mix", 1, PIXMAN_OP_OVER}, {"blend multiply", 2, PIXMAN_OP_MULTIPLY}, {"blend screen", 3, PIXMAN_OP_SCREEN},
        {"blend saturation", 16, PIXMAN_OP_HSL_SATURATION}, {"blend hard light", 25, PIXMAN_OP_HARD_LIGHT},
        {"blend brightness", 28, PIXMAN_OP_HSL_LUMINOSITY}, {"blend hue", 31, PIXMAN_OP_HSL_HUE},
#else
        {"blend mix", 1, 0}, {"blend multiply", 2, 0}, {"blend screen", 3, 0}, {"blend saturation", 16, 0},
        {"blend hard light", 25, 0}, {"blend brightness", 28, 0}, {"blend hue", 31, 0},
#endif
        // No operator of pixman's matches these: the rasterizer's time alone.
        {"blend contrast", 13, -1}, {"blend luminance multiply", 19, -1}, {"blend luminance screen", 22, -1},
    };
    for (const auto& mode : modes) {
        if (!Wanted(mode.name)) continue;
        TessroSetTransparentColour(ctx, 0x402080FF, mode.type);
        double theirs = 0;
#ifdef BW_BENCH_PIXMAN
        const pixman_color_t colour = {0xFFFF, 0x8000, 0x2000, 0xBFBF};
        pixman_image_t* solid = pixman_image_create_solid_fill(&colour);
        if (mode.op >= 0) theirs = Time([&] {
            pixman_image_composite32(static_cast<pixman_op_t>(mode.op), solid, nullptr, image, 0, 0, 0, 0, 0, 0,
                                     kLarge, kLarge);
        });
        pixman_image_unref(solid);
#endif
        const double ours = Time([&] { TessroFillRectangle(ctx, rect); });
        if (TessroGetLastError(ctx) != 0) std::printf("%s: error %d\n", mode.name, TessroGetLastError(ctx));
        Report(mode.name, pixels, ours, theirs);
    }
#ifdef BW_BENCH_PIXMAN
    pixman_image_unref(texture);
    pixman_image_unref(image);
#endif
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1) g_only = argv[1];
#ifndef BW_BENCH_PIXMAN
    std::printf("pixman not installed: the rasterizer's times only\n");
#else
    std::printf("pixman draws 32-bit pixels in every row (it has no 8-bit palette target)\n");
#endif
    Run(32);
    Run(8);
    RunBitmapsAndTransparency();
    return 0;
}
