// Quantise-and-encode speed and file size of the image writers beside peer tools.
//
// Inputs are made here: button-sized graphics (flat shapes with antialiased edges and a
// gradient, 120 x 36) and a large photo-like picture (1600 x 1200 of smooth fields and noise).
// For each, the program's GIF (256 and 64 colours, error diffusion) and 8-bit PNG are timed
// against ImageMagick, pngquant and gifsicle on the same input; ratios > 1 mean we are slower
// or larger.
#include "bitmap/GifImageExporter.h"
#include "bitmap/PngImageExporter.h"
#include "bitmap/TessroContextConversion.h"
#include "raster/Tessro.h"

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

struct Picture {
  std::string name;
  int width, height;
  std::vector<std::uint32_t> pixels;  // bottom-up, 0xTTRRGGBB
};

std::uint32_t Mix(std::uint32_t a, std::uint32_t b, double t) {
  std::uint32_t out = 0;
  for (int s = 0; s < 24; s += 8) {
    const double v = ((a >> s) & 0xFF) * (1 - t) + ((b >> s) & 0xFF) * t;
    out |= std::uint32_t(std::lround(v)) << s;
  }
  return out;
}

Picture Button() {
  Picture p{"button", 120, 36, {}};
  p.pixels.resize(std::size_t(p.width) * p.height);
  for (int y = 0; y < p.height; ++y)
    for (int x = 0; x < p.width; ++x) {
      // A rounded bar with a vertical gradient, a darker rim and a light "label" stripe.
      const double dx = std::max(0.0, std::abs(x - 59.5) - 42.0), dy = std::abs(y - 17.5);
      const double d = std::sqrt(dx * dx + dy * dy) - 15.0;
      std::uint32_t c = Mix(0x3060C0, 0x102050, double(y) / p.height);
      if (d > -2) c = Mix(c, 0x081020, 0.6);
      if (y > 14 && y < 22 && x > 30 && x < 90 && (x / 3) % 4 != 0) c = Mix(c, 0xF0F0F0, 0.85);
      const double coverage = std::clamp(0.5 - d, 0.0, 1.0);
      const std::uint32_t t = std::uint32_t(std::lround((1 - coverage) * 255));
      p.pixels[std::size_t(y) * p.width + x] = c | (t << 24);
    }
  return p;
}

Picture Photo() {
  Picture p{"photo", 1600, 1200, {}};
  p.pixels.resize(std::size_t(p.width) * p.height);
  std::uint32_t noise = 12345;
  for (int y = 0; y < p.height; ++y)
    for (int x = 0; x < p.width; ++x) {
      noise = noise * 1664525u + 1013904223u;
      const double u = double(x) / p.width, v = double(y) / p.height;
      const double r = 128 + 100 * std::sin(6 * u + 2 * v) + 20 * std::sin(40 * u * v);
      const double g = 120 + 90 * std::cos(5 * v - 3 * u) + 15 * std::sin(31 * u);
      const double b = 110 + 80 * std::sin(9 * u * u + 4 * v) ;
      const int n = int((noise >> 24) % 13) - 6;
      auto clamp = [](double c) { return std::uint32_t(std::clamp(c, 0.0, 255.0)); };
      p.pixels[std::size_t(y) * p.width + x] = (clamp(r + n) << 16) | (clamp(g + n) << 8) | clamp(b + n);
    }
  return p;
}

double Seconds(const std::function<bool()>& work, int repeats) {
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < repeats; ++i)
    if (!work()) return -1;
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / repeats;
}

long FileSize(const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return -1;
  std::fseek(f, 0, SEEK_END);
  const long size = std::ftell(f);
  std::fclose(f);
  return size;
}

bool HaveTool(const char* tool) {
  return std::system((std::string("command -v ") + tool + " >/dev/null 2>&1").c_str()) == 0;
}

struct Encoder {
  TessroConversion* conversion;
  bool Gif(const Picture& p, const std::string& path, int colours) {
    GifImageExporter writer;
    writer.SetTessroContext(conversion);
    writer.SetBitDepth(8);
    writer.SetPaletteSize(colours);
    writer.SetDitherMode(2);
    if (writer.Open(path.c_str()) != 0) return false;
    BITMAP image{0, p.width, p.height, p.width * 4, 1, 32, const_cast<std::uint32_t*>(p.pixels.data())};
    if (writer.WriteImage(&image) != 0) {
      writer.Abort();
      return false;
    }
    return writer.Close() == 0;
  }
  bool Png(const Picture& p, const std::string& path, int bits, int colours) {
    PngImageExporter writer;
    writer.SetTessroContext(conversion);
    writer.SetBitDepth(bits);
    writer.SetPaletteSize(colours);
    writer.SetDitherMode(2);
    if (writer.Open(path.c_str()) != 0) return false;
    BITMAP image{0, p.width, p.height, p.width * 4, 1, 32, const_cast<std::uint32_t*>(p.pixels.data())};
    if (writer.WriteImage(&image) != 0) {
      writer.Abort();
      return false;
    }
    return writer.Close() == 0;
  }
};

void Row(const std::string& what, double ours, long ourSize, const std::string& peer, double theirs, long theirSize) {
  if (theirs < 0 || theirSize < 0) {
    std::printf("  %-34s ours %8.2f ms %8ld B   %-22s (failed)\n", what.c_str(), ours * 1e3, ourSize, peer.c_str());
    return;
  }
  std::printf("  %-34s ours %8.2f ms %8ld B   %-22s %8.2f ms %8ld B   time x%.2f  size x%.2f\n", what.c_str(),
              ours * 1e3, ourSize, peer.c_str(), theirs * 1e3, theirSize, ours / theirs,
              double(ourSize) / double(theirSize));
}

}  // namespace

int main() {
  CTessro tessro(CTessro::kAppStackAllowance);
  TessroContextConversion conversion(tessro.GetContext());
  Encoder encode{&conversion};
  const std::string dir = "bw_bench_out";
  std::system(("mkdir -p " + dir).c_str());
  const char* magick = HaveTool("convert-im6.q16") ? "convert-im6.q16" : HaveTool("convert") ? "convert" : nullptr;
  const bool pngquant = HaveTool("pngquant"), gifsicle = HaveTool("gifsicle");

  for (const Picture& p : {Button(), Photo()}) {
    const bool small = p.width < 400;
    const int repeats = small ? 200 : 3;
    const int toolRepeats = small ? 20 : 1;
    std::printf("%s %dx%d\n", p.name.c_str(), p.width, p.height);
    // The shared input for the peers: a true-colour PNG (with alpha for the button).
    const std::string input = dir + "/" + p.name + ".png";
    if (!encode.Png(p, input, small ? 32 : 24, 256)) {
      std::printf("  cannot write the input picture\n");
      continue;
    }
    for (int colours : {256, 64}) {
      const std::string ours = dir + "/" + p.name + "_ours" + std::to_string(colours) + ".gif";
      const double t = Seconds([&] { return encode.Gif(p, ours, colours); }, repeats);
      const std::string what = "GIF " + std::to_string(colours) + " colours, diffusion";
      if (magick) {
        const std::string out = dir + "/" + p.name + "_im" + std::to_string(colours) + ".gif";
        const std::string cmd = std::string(magick) + " " + input + " -dither FloydSteinberg -colors " +
                                std::to_string(colours) + " " + out + " >/dev/null 2>&1";
        const double tt = Seconds([&] { return std::system(cmd.c_str()) == 0; }, toolRepeats);
        Row(what, t, FileSize(ours), "ImageMagick", tt, FileSize(out));
      }
      if (gifsicle && magick) {
        // gifsicle reduces a GIF: hand it ImageMagick's full-colour GIF.
        const std::string full = dir + "/" + p.name + "_im256.gif";
        const std::string out = dir + "/" + p.name + "_gs" + std::to_string(colours) + ".gif";
        const std::string cmd = "gifsicle -O2 --dither --colors " + std::to_string(colours) + " " + full + " -o " +
                                out + " >/dev/null 2>&1";
        const double tt = Seconds([&] { return std::system(cmd.c_str()) == 0; }, toolRepeats);
        Row(what, t, FileSize(ours), "gifsicle -O2", tt, FileSize(out));
      }
    }
    if (pngquant) {
      const std::string ours = dir + "/" + p.name + "_ours.png";
      const double t = Seconds([&] { return encode.Png(p, ours, 8, 256); }, repeats);
      const std::string out = dir + "/" + p.name + "_pq.png";
      const std::string cmd = "pngquant --force 256 " + input + " -o " + out + " >/dev/null 2>&1";
      const double tt = Seconds([&] { return std::system(cmd.c_str()) == 0; }, toolRepeats);
      Row("PNG 8-bit 256 colours", t, FileSize(ours), "pngquant", tt, FileSize(out));
    }
    if (!magick && !pngquant && !gifsicle) std::printf("  no peer tools installed: ours only\n");
  }
  std::printf("(peer times include starting their process)\n");
  return 0;
}
