// Fill throughput of the rasterizer at colour-editor sizes: flat rectangles, single points, the
// linear value strip and the four-colour field, on 32-bit and 8-bit palette targets. Beside
// each, pixman's nearest equivalent on the same size (pixman_fill in the same pixel format for
// rectangles and points; a linear gradient; two composited gradients for the field), run in
// turns with ours on processor time, with the ratio of the medians. Then, at 1024 x 1024 on 32
// bits: bitmap fills enlarging a 256 x 256 source four times (nearest, smoothed, filtered)
// beside pixman's scaled composites (nearest, bilinear, a separable cubic), radial and conical
// colour graduations beside pixman's gradients, and radial and conical transparency
// graduations mixing a colour over the target beside pixman's OVER with a gradient mask; and
// the blend modes of a flat colour beside pixman's PDF operators of the same names (mix beside
// OVER, brightness beside luminosity; contrast and the luminance modes have no counterpart).
// Every pair is also run once on equal fresh targets and the outputs compared: "same", or the
// PSNR and largest channel difference, with a note where the two sides do not compute the
// same thing (a 256-entry graduation table against exact gradients, 8-bit palette targets
// against pixman's 32-bit ones). An argument limits the run to the cases whose names contain it.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "raster/TessroBitmapApi.h"
#include "raster/TessroInternal.h"
#include "BenchTiming.h"

#ifdef BW_BENCH_PIXMAN
#include <pixman.h>
#endif

namespace {

// Cases whose name contains this text (all when null): `raster_bench smoothed` times one.
const char* g_only = nullptr;
bool Wanted(const char* name) { return g_only == nullptr || std::strstr(name, g_only) != nullptr; }

// Times ours and theirs (may be empty) in turns and prints one line; check describes how the
// outputs compared.
void Report(const char* name, int pixels, const std::function<void()>& ours, const std::function<void()>& theirs,
            const std::string& check) {
    const std::vector<bench::Stats> t = bench::Interleaved({ours, theirs});
    std::printf("%-34s %26s %7.3f ns/px", name, bench::Format(t[0]).c_str(), t[0].median * 1000.0 / pixels);
    if (theirs) {
        std::printf("   pixman %26s   ratio %5.2f   %s", bench::Format(t[1]).c_str(), bench::Ratio(t[0], t[1]),
                    check.c_str());
    }
    std::printf("\n");
}

// How two 32-bit outputs compare (the fourth byte ignored).
std::string Compare(const void* ours, const void* theirs, size_t pixels) {
    const std::uint32_t* a = static_cast<const std::uint32_t*>(ours);
    const std::uint32_t* b = static_cast<const std::uint32_t*>(theirs);
    int worst = 0;
    size_t where = 0;
    for (size_t i = 0; i < pixels; ++i) {
        for (int shift = 0; shift < 24; shift += 8) {
            const int d = std::abs(int((a[i] >> shift) & 0xFF) - int((b[i] >> shift) & 0xFF));
            if (d > worst) worst = d, where = i;
        }
    }
    if (worst == 0) return "same";
    char text[96];
    std::snprintf(text, sizeof text, "PSNR %.1f dB, max %d (%06X against %06X)", bench::Psnr(a, b, pixels), worst,
                  a[where] & 0xFFFFFF, b[where] & 0xFFFFFF);
    return text;
}
std::string CompareBytes(const std::vector<BYTE>& ours, const std::vector<BYTE>& theirs) {
    return ours == theirs ? "same" : "DIFFERENT";
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
    const Case cases[] = {{"flat rectangle", 8, 8},   {"flat rectangle", 32, 32},    {"flat rectangle", 256, 256},
                          {"flat rectangle", 1024, 1024}, {"points", 256, 1}, {"linear strip", 24, 256},
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
        std::function<void()> ours, theirs;
        std::string check = "no check";
        char name[64];
        std::snprintf(name, sizeof(name), "%s %dx%d, %d bits", k.name, k.width, k.height, bits);
        if (!Wanted(name)) continue;
#ifdef BW_BENCH_PIXMAN
        // pixman's target for the fills is in the same format as ours; for the gradients it
        // is 32 bits on both runs (it has no palette target).
        std::vector<BYTE> peer(target.size());
        std::vector<uint32_t> pixels(static_cast<size_t>(k.width) * k.height);
        pixman_image_t* image = pixman_image_create_bits(PIXMAN_x8r8g8b8, k.width, k.height, pixels.data(),
                                                         k.width * 4);
        const pixman_color_t orange = {0xFFFF, 0x8000, 0x2000, 0xFFFF};
        std::vector<pixman_image_t*> release;
#endif
        const bool flat = k.name[0] == 'f' && k.name[1] == 'l', points = k.name[0] == 'p';
        if (flat || points) {
            TessroSetColour(ctx, 0x2080FF);
            if (flat) {
                ours = [&] { TessroFillRectangle(ctx, rect); };
            } else {
                ours = [&] {
                    for (int x = 0; x < k.width; ++x) {
                        const TessroPoint p = {x * 65536 + 32768, 32768};
                        TessroFillPoint(ctx, &p);
                    }
                };
            }
#ifdef BW_BENCH_PIXMAN
            // pixman_fill with the value our fill stores (on 8 bits: the palette index).
            ours();
            uint32_t value = 0;
            std::memcpy(&value, target.data(), bits / 8);
            if (bits == 8) value *= 0x01010101u;
            uint32_t* peerBits = reinterpret_cast<uint32_t*>(peer.data());
            const int peerStride = stride / 4;
            if (flat) {
                theirs = [=, &k] { pixman_fill(peerBits, peerStride, bits, 0, 0, k.width, k.height, value); };
            } else {
                theirs = [=, &k] {
                    for (int x = 0; x < k.width; ++x) pixman_fill(peerBits, peerStride, bits, x, 0, 1, 1, value);
                };
            }
            std::fill(target.begin(), target.end(), 0);
            ours();
            theirs();
            check = CompareBytes(target, peer);
#endif
        } else if (k.name[0] == 'l') {
            TessroBuildGraduationTable(ctx, 0x000000, 0x2080FF, 0, table.data());
            TessroSetGraduation(ctx, 0, table.data(), &p0, &p1, &p2);
            ours = [&] { TessroFillRectangle(ctx, rect); };
#ifdef BW_BENCH_PIXMAN
            const pixman_point_fixed_t a = {0, 0}, b = {0, pixman_int_to_fixed(k.height)};
            const pixman_gradient_stop_t stops[2] = {{0, {0, 0, 0, 0xFFFF}}, {pixman_fixed_1, orange}};
            pixman_image_t* gradient = pixman_image_create_linear_gradient(&a, &b, stops, 2);
            release.push_back(gradient);
            theirs = [=, &k] {
                pixman_image_composite32(PIXMAN_OP_SRC, gradient, nullptr, image, 0, 0, 0, 0, 0, 0, k.width,
                                         k.height);
            };
            check = "ours: 256-entry table; pixman: exact per pixel";
            if (bits == 32) {
                ours();
                theirs();
                // The target's first row in memory is device row 0, the top, as in pixman's.
                check += "; " + Compare(target.data(), pixels.data(), pixels.size());
            } else {
                check += "; ours 8-bit palette, dithered, pixman 32-bit";
            }
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
            release.push_back(g1);
            release.push_back(g2);
            theirs = [=, &k] {
                pixman_image_composite32(PIXMAN_OP_SRC, g1, nullptr, image, 0, 0, 0, 0, 0, 0, k.width, k.height);
                pixman_image_composite32(PIXMAN_OP_OVER, g2, nullptr, image, 0, 0, 0, 0, 0, 0, k.width, k.height);
            };
            check = bits == 32 ? "ours: one bilinear field; pixman: two gradients composited"
                               : "ours 8-bit palette, dithered, pixman 32-bit";
#endif
        }
        Report(name, k.width * k.height, ours, theirs, check);
        if (TessroGetLastError(ctx) != 0) std::printf("%s: error %d\n", name, TessroGetLastError(ctx));
#ifdef BW_BENCH_PIXMAN
        for (pixman_image_t* i : release) pixman_image_unref(i);
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
    const TessroPoint p0 = User(0, kLarge);
    const int pixels = kLarge * kLarge;
    // pixman draws into a target of its own, of the same format and starting value.
    std::vector<DWORD> peerTarget(target.size(), 0x00404040);
    // One call of each on fresh equal targets, then compared (device row 0 first in memory on
    // both sides).
    auto check = [&](const std::function<void()>& ours, const std::function<void()>& theirs) -> std::string {
        if (!theirs) return "";
        std::fill(target.begin(), target.end(), 0x00404040u);
        ours();
#ifdef BW_BENCH_PIXMAN
        std::fill(peerTarget.begin(), peerTarget.end(), 0x00404040u);
        theirs();
        return Compare(target.data(), peerTarget.data(), target.size());
#else
        return "";
#endif
    };
#ifdef BW_BENCH_PIXMAN
    pixman_image_t* image = pixman_image_create_bits(PIXMAN_x8r8g8b8, kLarge, kLarge,
                                                     reinterpret_cast<uint32_t*>(peerTarget.data()), kLarge * 4);
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
        std::function<void()> theirs;
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
        theirs = [&] {
            pixman_image_composite32(PIXMAN_OP_SRC, texture, nullptr, image, 0, 0, 0, 0, 0, 0, kLarge, kLarge);
        };
#endif
        const std::function<void()> ours = [&] { TessroFillRectangle(ctx, rect); };
        Report(family.name, pixels, ours, theirs, check(ours, theirs));
        if (TessroGetLastError(ctx) != 0) std::printf("%s: error %d\n", family.name, TessroGetLastError(ctx));
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
            std::function<void()> theirs;
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
            // Beyond the rim ours keeps the last colour.
            pixman_image_set_repeat(gradient, PIXMAN_REPEAT_PAD);
            theirs = [&] {
                if (transparency) {
                    pixman_image_composite32(PIXMAN_OP_OVER, solid, gradient, image, 0, 0, 0, 0, 0, 0, kLarge, kLarge);
                } else {
                    pixman_image_composite32(PIXMAN_OP_SRC, gradient, nullptr, image, 0, 0, 0, 0, 0, 0, kLarge, kLarge);
                }
            };
#endif
            const std::function<void()> ours = [&] { TessroFillRectangle(ctx, rect); };
            Report(name, pixels, ours, theirs, "ours: 256-entry table; " + check(ours, theirs));
            if (TessroGetLastError(ctx) != 0) std::printf("%s: error %d\n", name, TessroGetLastError(ctx));
#ifdef BW_BENCH_PIXMAN
            pixman_image_unref(gradient);
            pixman_image_unref(solid);
#endif
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
        std::function<void()> theirs;
#ifdef BW_BENCH_PIXMAN
        // pixman's colours are premultiplied: orange at three quarters.
        const pixman_color_t colour = {0xBFBF, 0x6000, 0x1800, 0xBFBF};
        pixman_image_t* solid = pixman_image_create_solid_fill(&colour);
        if (mode.op >= 0) theirs = [&] {
            pixman_image_composite32(static_cast<pixman_op_t>(mode.op), solid, nullptr, image, 0, 0, 0, 0, 0, 0,
                                     kLarge, kLarge);
        };
#endif
        const std::function<void()> ours = [&] { TessroFillRectangle(ctx, rect); };
        Report(mode.name, pixels, ours, theirs, check(ours, theirs));
        if (TessroGetLastError(ctx) != 0) std::printf("%s: error %d\n", mode.name, TessroGetLastError(ctx));
#ifdef BW_BENCH_PIXMAN
        pixman_image_unref(solid);
#endif
    }
#ifdef BW_BENCH_PIXMAN
    pixman_image_unref(texture);
    pixman_image_unref(image);
#endif
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1) g_only = argv[1];
#ifdef BW_BENCH_SANITIZED
    std::printf("built with the sanitizers: these times measure them (use the bench preset)\n");
#endif
    std::printf("times in us per call: median [fastest-slowest round]; ratio = ours / pixman\n");
#ifndef BW_BENCH_PIXMAN
    std::printf("pixman not installed: the rasterizer's times only\n");
#else
    std::printf("rectangles and points: pixman_fill in the target's own format (8 or 32 bits); gradients:\n"
                "pixman draws 32-bit pixels in every row (it has no 8-bit palette target)\n");
#endif
    Run(32);
    Run(8);
    RunBitmapsAndTransparency();
    return 0;
}
