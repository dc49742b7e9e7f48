// Every fill kind, mapping, transparency type and variant, transparency source, target format
// and antialiasing setting together: each combination either draws or fails with the code
// that names why (never "Unimplemented"), and none reads or writes out of bounds (the address
// sanitizer watches the exactly sized targets, sources and tables).
#include <functional>
#include <map>
#include <sstream>
#include <string>

#include "tests/raster/TessroBitmapSupport.h"
#include "tests/raster/TessroPathSupport.h"

int CountingAllocator::allocations = 0;
int CountingAllocator::releases = 0;
bool CountingAllocator::failNext = false;

namespace {

const int kW = 13, kH = 7;

std::vector<DWORD> GraduationTable(DWORD count) {
    std::vector<DWORD> table(3 + 4 * count);
    table[0] = count;
    for (DWORD i = 3; i < table.size(); ++i) table[i] = (i * 0x01030507u) & 0x00FFFFFFu;
    return table;
}

std::vector<BYTE> Ramp(size_t n) {
    std::vector<BYTE> t(n);
    for (size_t i = 0; i < n; ++i) t[i] = static_cast<BYTE>(i * 37 + 11);
    return t;
}

struct Named {
    std::string name;
    std::function<int(TessroContext*, DWORD transparencyByte, DWORD amount)> set;
};

class SweepTest : public BitmapDrawTest {
protected:
    void SetUp() override {
        BitmapDrawTest::SetUp();
        height_ = kH;
        shortTable_ = GraduationTable(256);
        longTable_ = GraduationTable(2048);
        transparencyShort_ = Ramp(256);
        transparencyLong_ = Ramp(2048);
        for (size_t i = 0; i < source_.size(); ++i) source_[i] = static_cast<BYTE>(i * 29 + (i >> 3));
        for (int i = 0; i < 256; ++i) palette_[i] = {static_cast<BYTE>(i), static_cast<BYTE>(255 - i), static_cast<BYTE>(i * 3), static_cast<BYTE>(i * 7)};
        for (int i = 0; i < 256; ++i) channel_[i] = static_cast<BYTE>(255 - i);
        for (size_t i = 0; i < combination_.size(); ++i) combination_[i] = static_cast<BYTE>(i ^ (i >> 8));
    }

    // Anchor sets in device pixels: three points, a parallelogram (row-affine) and a
    // quadrilateral whose mapping needs a division per pixel.
    void Three(TessroPoint p[3]) const {
        for (int i = 0; i < 3; ++i) p[i] = Device(three_[i][0], three_[i][1]);
    }
    void Four(TessroPoint p[4], bool perspective) const {
        const double (*q)[2] = perspective ? perspective_ : affine_;
        for (int i = 0; i < 4; ++i) p[i] = Device(q[i][0], q[i][1]);
    }

    // Calls three(points) for mapping 0, else four(points) with the parallelogram (mapping 1)
    // or the quadrilateral (mapping 2).
    template <class ThreePoints, class FourPoints>
    int Placed(int mapping, ThreePoints three, FourPoints four) const {
        if (mapping == 0) {
            TessroPoint p[3];
            Three(p);
            return three(p);
        }
        TessroPoint p[4];
        Four(p, mapping == 2);
        return four(p);
    }

    std::vector<Named> Fills() {
        std::vector<Named> fills;
        const char* mappings[3] = {"3pt", "4pt-affine", "4pt-persp"};
        for (DWORD kind = 0; kind < 4; ++kind) {
            for (DWORD repeat : {0u, 0x80u}) {
                for (bool isLong : {false, true}) {
                    for (int m = 0; m < 3; ++m) {
                        std::ostringstream name;
                        name << "graduation kind " << kind << (repeat ? " repeat" : "") << (isLong ? " long " : " short ") << mappings[m];
                        fills.push_back({name.str(), [this, kind, repeat, isLong, m](TessroContext* c, DWORD t, DWORD a) {
                                             const DWORD style = kind | repeat | (t << 8) | (a << 16);
                                             const DWORD* table = isLong ? longTable_.data() : shortTable_.data();
                                             return Placed(m, [&](const TessroPoint* p) { return TessroSetGraduation(c, style, table, &p[0], &p[1], &p[2]); },
                                                           [&](const TessroPoint* p) { return TessroSetPerspectiveGraduation(c, style, table, &p[0], &p[1], &p[2], &p[3]); });
                                         }});
                    }
                }
            }
        }
        for (DWORD kind = 0; kind < 3; ++kind) {
            for (int m = 0; m < 3; ++m) {
                fills.push_back({"three-colour kind " + std::to_string(kind) + " " + mappings[m], [this, kind, m](TessroContext* c, DWORD t, DWORD a) {
                                     const DWORD style = kind | (t << 8) | (a << 16);
                                     return Placed(m, [&](const TessroPoint* p) { return TessroSetThreeColourFill(c, style, 0x123456, 0xABCDEF, 0x40FF08, &p[0], &p[1], &p[2]); },
                                                   [&](const TessroPoint* p) { return TessroSetPerspectiveThreeColourFill(c, style, 0x123456, 0xABCDEF, 0x40FF08, &p[0], &p[1], &p[2], &p[3]); });
                                 }});
            }
        }
        for (DWORD kind : {0u, 2u}) {
            for (int m = 0; m < 3; ++m) {
                fills.push_back({"four-colour kind " + std::to_string(kind) + " " + mappings[m], [this, kind, m](TessroContext* c, DWORD t, DWORD a) {
                                     const DWORD style = kind | (t << 8) | (a << 16);
                                     return Placed(m, [&](const TessroPoint* p) { return TessroSetGraduatedColours(c, style, 0x123456, 0xABCDEF, 0x40FF08, 0x808080, &p[0], &p[1], &p[2]); },
                                                   [&](const TessroPoint* p) { return TessroSetPerspectiveGraduatedColours(c, style, 0x123456, 0xABCDEF, 0x40FF08, 0x808080, &p[0], &p[1], &p[2], &p[3]); });
                                 }});
            }
        }
        struct Source {
            WORD bits;
            DWORD compression;
            bool tables;
        };
        const Source sources[] = {{1, 0, false}, {4, 0, false}, {8, 0, false}, {16, 0, false}, {16, 0, true}, {24, 0, false},
                                  {24, 0, true}, {32, 0, false}, {32, 0, true}, {32, 0x80000000u, false}, {32, 0x80000000u, true}};
        const char* samplings[5] = {"nearest", "smoothed", "filtered", "4pt-affine", "4pt-persp"};
        for (DWORD tile = 0; tile < 4; ++tile) {
            for (const Source& s : sources) {
                for (int sampling = 0; sampling < 5; ++sampling) {
                    std::ostringstream name;
                    name << "bitmap tile " << tile << " bpp " << s.bits << (s.compression ? " subtractive" : "") << (s.tables ? " tables " : " ")
                         << samplings[sampling];
                    fills.push_back({name.str(), [this, tile, s, sampling](TessroContext* c, DWORD t, DWORD a) {
                                         headers_.push_back(SourceHeader(5, 3, s.bits, s.compression));
                                         const BITMAPINFOHEADER& h = headers_.back();
                                         const BYTE* table = s.tables ? channel_ : nullptr;
                                         TessroSetBitmapFillSmoothing(c, sampling == 1);
                                         TessroSetBitmapFillFiltering(c, sampling == 2);
                                         const DWORD style = tile | (t << 8) | (a << 16);
                                         return Placed(sampling < 3 ? 0 : sampling - 2, [&](const TessroPoint* p) { return TessroSetBitmapFill(c, &h, source_.data(), style, &p[0], &p[1], &p[2], 0x00C08040, palette_,
                                                                        table, table, table, table, 0); },
                                                       [&](const TessroPoint* p) { return TessroSetPerspectiveBitmapFill(c, &h, source_.data(), style, &p[0], &p[1], &p[2], &p[3], 0x00C08040,
                                                                               palette_, table, table, table, table, 0); });
                                     }});
                }
            }
        }
        return fills;
    }

    std::vector<Named> TransparencySources() {
        std::vector<Named> list;
        list.push_back({"no source", [](TessroContext*, DWORD, DWORD) { return 0; }});
        const char* mappings[3] = {"3pt", "4pt-affine", "4pt-persp"};
        for (DWORD kind = 0; kind < 4; ++kind) {
            for (bool isLong : {false, true}) {
                for (bool repeat : {false, true}) {
                    for (int m = 0; m < 3; ++m) {
                        std::ostringstream name;
                        name << "transparency graduation kind " << kind << (repeat ? " repeat" : "") << (isLong ? " long " : " short ") << mappings[m];
                        list.push_back({name.str(), [this, kind, isLong, repeat, m](TessroContext* c, DWORD, DWORD) {
                                            const DWORD style = kind | (isLong ? 0x100u : 0u) | (repeat ? 0x10000u : 0u);
                                            const BYTE* table = isLong ? transparencyLong_.data() : transparencyShort_.data();
                                            return Placed(m, [&](const TessroPoint* p) { return TessroSetTransparencyGraduation(c, style, table, &p[0], &p[1], &p[2]); },
                                                          [&](const TessroPoint* p) { return TessroSetPerspectiveTransparencyGraduation(c, style, table, &p[0], &p[1], &p[2], &p[3]); });
                                        }});
                    }
                }
            }
        }
        for (DWORD kind = 0; kind < 3; ++kind) {
            for (int m = 0; m < 3; ++m) {
                list.push_back({"three-value kind " + std::to_string(kind) + " " + mappings[m], [this, kind, m](TessroContext* c, DWORD, DWORD) {
                                    return Placed(m, [&](const TessroPoint* p) { return TessroSetThreeValueTransparency(c, kind, 0, 200, 90, &p[0], &p[1], &p[2]); },
                                                  [&](const TessroPoint* p) { return TessroSetPerspectiveThreeValueTransparency(c, kind, 0, 200, 90, &p[0], &p[1], &p[2], &p[3]); });
                                }});
            }
        }
        for (DWORD kind : {0u, 2u}) {
            for (int m = 0; m < 3; ++m) {
                list.push_back({"four-value kind " + std::to_string(kind) + " " + mappings[m], [this, kind, m](TessroContext* c, DWORD, DWORD) {
                                    return Placed(m, [&](const TessroPoint* p) { return TessroSetFourValueTransparency(c, kind, 0, 200, 90, 255, &p[0], &p[1], &p[2]); },
                                                  [&](const TessroPoint* p) { return TessroSetPerspectiveFourValueTransparency(c, kind, 0, 200, 90, 255, &p[0], &p[1], &p[2], &p[3]); });
                                }});
            }
        }
        const char* samplings[5] = {"nearest", "smoothed", "filtered", "4pt-affine", "4pt-persp"};
        for (DWORD tile = 0; tile < 4; ++tile) {
            for (int sampling = 0; sampling < 5; ++sampling) {
                list.push_back({"mask tile " + std::to_string(tile) + " " + samplings[sampling], [this, tile, sampling](TessroContext* c, DWORD, DWORD) {
                                    const BITMAPINFOHEADER& h = maskHeader_;
                                    TessroSetBitmapFillSmoothing(c, sampling == 1);
                                    TessroSetBitmapFillFiltering(c, sampling == 2);
                                    return Placed(sampling < 3 ? 0 : sampling - 2, [&](const TessroPoint* p) { return TessroSetBitmapMask(c, &h, source_.data(), tile, &p[0], &p[1], &p[2], 77, channel_, 0); },
                                                  [&](const TessroPoint* p) { return TessroSetPerspectiveBitmapMask(c, &h, source_.data(), tile, &p[0], &p[1], &p[2], &p[3], 77, channel_, 0); });
                                }});
            }
        }
        return list;
    }

    // Draws an antialiased or aliased triangle with the fill set by the callbacks on a fresh
    // target of the format; answers the draw's result (setter failures count as results too).
    int Draw(DWORD format, bool antialias, const Named& fill, const Named& source, DWORD transparencyByte, DWORD amount) {
        static const WORD kDepths[8] = {1, 2, 4, 8, 8, 16, 32, 32};
        Target t(kW, kH, kDepths[format], format == kTessroFormat32Alpha ? TESSRO_BI_TRANSPARENCY : 0);
        for (size_t i = 0; i < t.bytes().size(); ++i) t.bytes()[i] = static_cast<BYTE>(i * 13);
        if (format == kTessroFormat32Alpha) {
            for (size_t i = 0; i < t.bytes().size(); i += 4) {
                const BYTE transparency = t.bytes()[i + 3];
                for (int c = 0; c < 3; ++c) t.bytes()[i + c] = static_cast<BYTE>(std::min<int>(t.bytes()[i + c], 255 - transparency));
            }
        }
        const DWORD mode = format == kTessroFormat8Grey ? 1 : format == kTessroFormat16 ? 2 : 0;
        if (TessroSetBitmap(ctx, t.header(), t.bits(), mode) != 0) return 1000 + LastError();
        TessroSetAntialias(ctx, antialias);
        TessroSetCombinationTable(ctx, combination_.data());
        headers_.clear();
        headers_.reserve(4);
        if (fill.set(ctx, transparencyByte, amount) != 0) return 2000 + LastError();
        if (source.set(ctx, transparencyByte, amount) != 0) return 3000 + LastError();
        PathBuilder path(kH);
        path.Move(0.4, 0.3).Line(12.6, 1.7).Line(5.2, 6.8).Close();
        if (TessroFillPath(ctx, path.points.data(), path.verbs.data(), path.count(), 0) != 0) return LastError();
        return 0;
    }

    double three_[3][2] = {{2.3, 1.2}, {9.7, 2.1}, {1.6, 6.4}};
    double affine_[4][2] = {{1, 1}, {11, 1}, {11, 6}, {1, 6}};
    double perspective_[4][2] = {{1, 1}, {11, 1}, {9, 6}, {1, 6}};
    std::vector<DWORD> shortTable_, longTable_;
    std::vector<BYTE> transparencyShort_, transparencyLong_;
    std::vector<BYTE> source_ = std::vector<BYTE>(4 * 5 * 3);
    std::vector<BYTE> combination_ = std::vector<BYTE>(65536);
    std::vector<BITMAPINFOHEADER> headers_;
    BITMAPINFOHEADER maskHeader_ = SourceHeader(5, 3, 8);
    RGBQUAD palette_[256];
    BYTE channel_[256];
};

// The codes a combination may answer: drawn, a 2-bit target, a routine the type table leaves
// out, a transparent flat colour below 32 bits, a bad transparency style.
bool Acceptable(int code) {
    return code == 0 || code == TESSRO_ERROR_INVALID_BITMAP_DEPTH || code == TESSRO_ERROR_INVALID_SCANLINE_ROUTINE ||
           code == TESSRO_ERROR_MUST_BE_32BPP || code == 2000 + TESSRO_ERROR_BAD_TRANSPARENCY_STYLE ||
           code == 2000 + TESSRO_ERROR_INVALID_BITMAP_DEPTH;
}

std::string Report(const std::map<std::string, int>& failures) {
    std::string s;
    int shown = 0;
    for (const auto& f : failures) {
        if (++shown > 40) break;
        s += f.first + " -> " + std::to_string(f.second) + "\n";
    }
    return s + std::to_string(failures.size()) + " unacceptable combinations";
}

// Every prepared fill with every transparency type and variant on every format, aliased and
// antialiased, without a transparency source.
TEST_F(SweepTest, PreparedFillsDrawWithEveryTypeAndVariant) {
    const Named none = TransparencySources().front();
    std::map<std::string, int> failures;

    for (const Named& fill : Fills()) {
        for (DWORD type = 0; type <= 36; ++type) {
            for (DWORD flags : {0u, 0x40u, 0x80u}) {
                for (DWORD format = 0; format < 8; ++format) {
                    for (bool antialias : {false, true}) {
                        const int code = Draw(format, antialias, fill, none, type | flags, 100);
                        if (Acceptable(code)) continue;
                        std::ostringstream key;
                        key << fill.name << " type " << type << " flags " << flags << " format " << format << (antialias ? " aa" : "");
                        failures[key.str()] = code;
                    }
                }
            }
        }
    }
    EXPECT_TRUE(failures.empty()) << Report(failures);
}

// A representative fill of each family with each transparency source under every type that
// reads one, on both 32-bit formats.
TEST_F(SweepTest, TransparencySourcesServeEveryFillAndType) {
    std::vector<Named> fills;
    for (const Named& fill : Fills()) {
        const std::string& n = fill.name;
        if (n == "graduation kind 0 short 3pt" || n == "graduation kind 1 repeat long 4pt-persp" || n == "three-colour kind 1 4pt-affine" ||
            n == "four-colour kind 2 3pt" || n == "bitmap tile 2 bpp 32 nearest" || n == "bitmap tile 1 bpp 8 smoothed" ||
            n == "bitmap tile 3 bpp 24 tables filtered" || n == "bitmap tile 0 bpp 4 4pt-persp") {
            fills.push_back(fill);
        }
    }
    ASSERT_EQ(8u, fills.size());
    std::map<std::string, int> failures;
    for (const Named& source : TransparencySources()) {
        for (const Named& fill : fills) {
            for (DWORD type = 0; type <= 36; ++type) {
                for (DWORD flags : {0u, 0x40u, 0x80u}) {
                    for (DWORD format : {kTessroFormat32, kTessroFormat32Alpha}) {
                        for (bool antialias : {false, true}) {
                            const int code = Draw(format, antialias, fill, source, type | flags, 60);
                            if (Acceptable(code)) continue;
                            std::ostringstream key;
                            key << source.name << " / " << fill.name << " type " << type << " flags " << flags << " format " << format
                                << (antialias ? " aa" : "");
                            failures[key.str()] = code;
                        }
                    }
                }
            }
        }
    }
    EXPECT_TRUE(failures.empty()) << Report(failures);
}

// Flat transparent colours of every type, alone and over every transparency source.
TEST_F(SweepTest, FlatTransparentColoursWithEverySource) {
    std::map<std::string, int> failures;
    for (const Named& source : TransparencySources()) {
        const Named flat = {"flat", [](TessroContext* c, DWORD t, DWORD) { return TessroSetTransparentColour(c, 0x3366CC, t | (90u << 8)); }};
        for (DWORD type = 0; type <= 36; ++type) {
            for (DWORD format = 0; format < 8; ++format) {
                for (bool antialias : {false, true}) {
                    const int code = Draw(format, antialias, flat, source, type, 0);
                    if (Acceptable(code)) continue;
                    std::ostringstream key;
                    key << source.name << " / flat type " << type << " format " << format << (antialias ? " aa" : "");
                    failures[key.str()] = code;
                }
            }
        }
    }
    EXPECT_TRUE(failures.empty()) << Report(failures);
}

// Extreme placements: the source shrunk far below a pixel, enlarged far beyond the target,
// anchors far outside it, slivers and quadrilaterals whose vanishing line crosses the target.
// Every fill and transparency source keeps its reads inside its source and tables.
TEST_F(SweepTest, ExtremePlacementsStayInsideSourcesAndTables) {
    const struct {
        const char* name;
        double three[3][2];
        double affine[4][2];
        double perspective[4][2];
    } placements[] = {
        {"shrunk", {{3, 3}, {3.002, 3}, {3, 3.003}}, {{3, 3}, {3.002, 3}, {3.002, 3.001}, {3, 3.001}}, {{3, 3}, {3.004, 3}, {3.001, 3.002}, {3, 3.003}}},
        {"sliver", {{0, 0}, {12, 6.0001}, {0.0003, 0}}, {{0, 0}, {12, 6}, {12.0002, 6}, {0.0002, 0}}, {{0, 0}, {12, 6}, {12.001, 6.0001}, {0.0001, 0.0002}}},
        {"far", {{-40000, 30000}, {-39990, 30001}, {-40001, 30010}}, {{30000, -20000}, {30010, -20000}, {30010, -19990}, {30000, -19990}}, {{-30000, 9}, {-29990, 9}, {-29995, 19}, {-30000, 19}}},
        {"vanishing", {{6, 3}, {6.5, -9000}, {-9000, 3.5}}, {{-5000, -5000}, {5000, -5000}, {5000, 5000}, {-5000, 5000}}, {{0, 0}, {12, 0}, {6.5, 3.5}, {6, 3.5}}},
        {"crossed", {{1, 1}, {11, 6}, {1, 6}}, {{1, 1}, {11, 1}, {11, 6}, {1, 6}}, {{1, 1}, {11, 6}, {11, 1}, {1, 6}}},
    };
    std::map<std::string, int> failures;
    for (const auto& placement : placements) {
        std::memcpy(three_, placement.three, sizeof(three_));
        std::memcpy(affine_, placement.affine, sizeof(affine_));
        std::memcpy(perspective_, placement.perspective, sizeof(perspective_));
        std::vector<Named> sources = TransparencySources();
        size_t next = 0;
        for (const Named& fill : Fills()) {
            // Each fill over a different source, both 32-bit formats, a sourced and an own
            // transparency type and the plain masked copy; every fill also on 8 and 16 bits.
            const Named& source = sources[next++ % sources.size()];
            const struct {
                DWORD format, type;
            } cases[] = {{kTessroFormat32, 7}, {kTessroFormat32Alpha, 0x40 | 19}, {kTessroFormat32, 0x80}, {kTessroFormat8Palette, 0}, {kTessroFormat16, 0}};
            for (const auto& c : cases) {
                for (bool antialias : {false, true}) {
                    const int code = Draw(c.format, antialias, fill, source, c.type, 128);
                    if (Acceptable(code)) continue;
                    std::ostringstream key;
                    key << placement.name << ": " << source.name << " / " << fill.name << " type " << c.type << " format " << c.format
                        << (antialias ? " aa" : "");
                    failures[key.str()] = code;
                }
            }
        }
    }
    EXPECT_TRUE(failures.empty()) << Report(failures);
}

}  // namespace
