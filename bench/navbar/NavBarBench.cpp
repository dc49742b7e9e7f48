// The template engine's share of a user's work: the library's navigation bars rendered and
// exported as the program does for a bar of five buttons (every button in its four states,
// off, over, on and clicked, each a template of its own, and the two caps), each image written
// as a 256-colour GIF with error diffusion; and one library button rendered at 73 x 30 and at
// 584 x 240, the sizes of a small button and of a large preview. Processor time, medians of
// interleaved rounds with the fastest and slowest; the checksum of every picture is printed
// once, so two runs can be seen to draw the same.
#include "bitmap/GifImageExporter.h"
#include "bitmap/TessroContextConversion.h"
#include "components/stylekit/StyleEngine.h"
#include "raster/Tessro.h"

#include "BenchTiming.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

const char* const kTexts[] = {"Home", "Products", "Services", "About us", "Contact"};
const char* const kStates[] = {"off", "over", "on", "clicked"};

struct Template {
    std::unique_ptr<stylekit::StyleEngine> engine;
    int text = -1;  // the Text1 slot, when there is one
};

Template Load(const std::string& path) {
    Template t;
    t.engine.reset(new stylekit::StyleEngine);
    std::string error;
    if (!t.engine->Load(path, &error)) {
        std::printf("cannot load %s: %s\n", path.c_str(), error.c_str());
        std::exit(1);
    }
    t.text = t.engine->FindSlot("Text1");
    return t;
}

// Renders the template at its page size; pixels bottom-up, as the writers take them.
void Render(const Template& t, std::vector<std::uint32_t>& pixels, int* width, int* height) {
    double w = 0, h = 0;
    t.engine->PageSize(&w, &h);
    *width = std::max(1, static_cast<int>(std::lround(w)));
    *height = std::max(1, static_cast<int>(std::lround(h)));
    pixels.assign(static_cast<size_t>(*width) * *height, 0xFF000000u);
    t.engine->Render(*width, *height, nullptr, pixels.data());
}

struct Bar {
    std::string name;
    std::vector<Template> states;  // off, over, on, clicked
    std::vector<Template> caps;
};

std::uint32_t Checksum(const std::vector<std::uint32_t>& pixels) {
    std::uint32_t sum = 2166136261u;
    for (std::uint32_t p : pixels) sum = (sum ^ p) * 16777619u;
    return sum;
}

}  // namespace

int main() {
#ifdef BW_BENCH_SANITIZED
    std::printf("built with the sanitizers: these times measure them (use the bench preset)\n");
#endif
    const std::string root = BW_TEMPLATES_DIR;
    CTessro tessro(CTessro::kAppStackAllowance);
    TessroContextConversion conversion(tessro.GetContext());
    std::system("mkdir -p bw_bench_out");

    const struct {
        const char* name;
        const char* caps[2];
    } bars[] = {{"Clean Tabs_hnavbar", {"left", "right"}},
                {"Glass_hnavbar", {"left", "right"}},
                {"Sidebar_vnavbar", {"top", "bottom"}}};
    std::printf("times in ms: median [fastest-slowest round] of processor time\n");
    for (const auto& b : bars) {
        Bar bar{b.name, {}, {}};
        for (const char* state : kStates) bar.states.push_back(Load(root + "/NavBars/" + b.name + "_" + state + ".kiq"));
        for (const char* cap : b.caps) bar.caps.push_back(Load(root + "/NavBars/" + b.name + "_" + cap + ".kiq"));
        std::vector<std::uint32_t> pixels;
        std::uint32_t checksum = 0;
        int images = 0;
        // The whole bar: every picture rendered, then written.
        auto each = [&](bool write) {
            checksum = 2166136261u;
            images = 0;
            auto one = [&](const Template& t, const std::string& file) {
                int w = 0, h = 0;
                Render(t, pixels, &w, &h);
                checksum = (checksum ^ Checksum(pixels)) * 16777619u;
                ++images;
                if (!write) return;
                GifImageExporter writer;
                writer.SetTessroContext(&conversion);
                writer.SetBitDepth(8);
                writer.SetPaletteSize(256);
                writer.SetDitherMode(2);
                BITMAP image{0, w, h, w * 4, 1, 32, pixels.data()};
                if (writer.Open(("bw_bench_out/" + file + ".gif").c_str()) != 0 || writer.WriteImage(&image) != 0 ||
                    writer.Close() != 0) {
                    std::printf("cannot write %s\n", file.c_str());
                    std::exit(1);
                }
            };
            for (size_t c = 0; c < bar.caps.size(); ++c) one(bar.caps[c], bar.name + "_cap" + std::to_string(c));
            for (size_t i = 0; i < std::size(kTexts); ++i) {
                for (size_t s = 0; s < bar.states.size(); ++s) {
                    Template& t = bar.states[s];
                    if (t.text >= 0) t.engine->SetSlotValue(static_cast<size_t>(t.text), kTexts[i]);
                    one(t, bar.name + "_" + std::to_string(i) + "_" + kStates[s]);
                }
            }
        };
        const auto t = bench::Interleaved({[&] { each(false); }, [&] { each(true); }});
        std::printf("%-22s %2d pictures   render %24s   render and GIF %24s   checksum %08x\n", bar.name.c_str(),
                    images, bench::Format(t[0], 1e-3).c_str(), bench::Format(t[1], 1e-3).c_str(), checksum);
    }

    Template button = Load(root + "/Buttons/Glossy Blue_button.kiq");
    std::vector<std::uint32_t> small(73 * 30), large(584 * 240);
    const auto t = bench::Interleaved({[&] {
                                           std::fill(small.begin(), small.end(), 0xFF000000u);
                                           button.engine->Render(73, 30, nullptr, small.data());
                                       },
                                       [&] {
                                           std::fill(large.begin(), large.end(), 0xFF000000u);
                                           button.engine->Render(584, 240, nullptr, large.data());
                                       }});
    std::printf("library button 73x30   %24s ms   checksum %08x\n", bench::Format(t[0], 1e-3).c_str(), Checksum(small));
    std::printf("library button 584x240 %24s ms   checksum %08x   %.1f times the small one for %.0f times the pixels\n",
                bench::Format(t[1], 1e-3).c_str(), Checksum(large), bench::Ratio(t[1], t[0]), 584.0 * 240 / (73 * 30));
    return 0;
}
