#include "bitmap/PaletteQuantiser.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr double kNever = -1e100;      // score of a box that must never be chosen
constexpr double kValidScore = -1e50;  // scores above this count
constexpr int kWebStep = 51;           // web-safe levels are the multiples of 51

// Moment slots of one cell.
enum { kW, kR, kG, kB, kSq, kMomentCount };

int NearestWebLevel(int v) { return (v + kWebStep / 2) / kWebStep * kWebStep; }
int WebDistanceSquared(int v) { const int d = v - NearestWebLevel(v); return d * d; }
int BlackWhiteLevel(int v) { return v < 128 ? 0 : 255; }
int BlackWhiteDistanceSquared(int v) { const int d = v - BlackWhiteLevel(v); return d * d; }

double Score(double w, double sr, double sg, double sb, int red, int green, int blue) {
  return 2.0 * (red * sr + green * sg + blue * sb) - w * double(red * red + green * green + blue * blue);
}

// The 16 standard colours: combinations of 0 and 128, of 0 and 255 without black, and silver.
const BYTE kSystemColours[16][3] = {
    {0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0}, {0, 0, 128},     {128, 0, 128},
    {0, 128, 128},   {128, 128, 128}, {192, 192, 192}, {255, 0, 0}, {0, 255, 0},   {255, 255, 0},
    {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};
}  // namespace

int PaletteQuantiser::Boundary(int k) {
  if (k <= 0) return 0;
  if (k >= 32) return 256;
  return (255 * (2 * k - 1) + 61) / 62;
}

PaletteQuantiser::PaletteQuantiser() : m_cells(std::size_t(kCellCount) * kMomentCount, 0.0) {
  std::memset(m_exact, 0, sizeof(m_exact));
  std::memset(m_fixed, 0, sizeof(m_fixed));
  std::memset(m_boxes, 0, sizeof(m_boxes));
}

void PaletteQuantiser::Clear() {
  std::fill(m_cells.begin(), m_cells.end(), 0.0);
  m_cumulative = false;
  m_exactCount = 0;
  m_results.clear();
  m_boxCount = 0;
}

void PaletteQuantiser::AddPixels(const std::uint32_t* pixels, std::size_t count) {
  if (!pixels) return;
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint32_t p = pixels[i];
    if ((p >> 24) == 255) continue;  // fully transparent pixels take no palette entry
    const std::uint32_t colour = p & 0x00FFFFFFu;
    if (m_exactCount <= kMaxExactColours) {
      int k = 0;
      while (k < m_exactCount && m_exact[k].colour != colour) ++k;
      if (k < m_exactCount) {
        ++m_exact[k].count;
      } else {
        // The 257th entry only says "too many": collection stops for good.
        m_exact[m_exactCount++] = ExactColour{colour, 1};
      }
    }
    const int red = int((colour >> 16) & 0xFF), green = int((colour >> 8) & 0xFF), blue = int(colour & 0xFF);
    double* cell = &m_cells[std::size_t(Cell(ChannelIndex(red), ChannelIndex(green), ChannelIndex(blue))) * kMomentCount];
    cell[kW] += 1;
    cell[kR] += red;
    cell[kG] += green;
    cell[kB] += blue;
    cell[kSq] += double(red * red + green * green + blue * blue);
  }
}

void PaletteQuantiser::AddFixedColour(BYTE red, BYTE green, BYTE blue) {
  if (m_fixedCount >= kMaxFixedColours) return;
  m_fixed[m_fixedCount][0] = red;
  m_fixed[m_fixedCount][1] = green;
  m_fixed[m_fixedCount][2] = blue;
  m_fixedConsidered = ++m_fixedCount;
}

void PaletteQuantiser::MakeCumulative() {
  // Prefix sums over blue, then green, then red: afterwards a cell holds the moments of the
  // box from the origin to it.
  for (int r = 1; r < kGridSide; ++r)
    for (int g = 1; g < kGridSide; ++g)
      for (int b = 1; b < kGridSide; ++b) {
        double* c = &m_cells[std::size_t(Cell(r, g, b)) * kMomentCount];
        const double* cb = &m_cells[std::size_t(Cell(r, g, b - 1)) * kMomentCount];
        const double* cg = &m_cells[std::size_t(Cell(r, g - 1, b)) * kMomentCount];
        const double* cgb = &m_cells[std::size_t(Cell(r, g - 1, b - 1)) * kMomentCount];
        const double* cr = &m_cells[std::size_t(Cell(r - 1, g, b)) * kMomentCount];
        const double* crb = &m_cells[std::size_t(Cell(r - 1, g, b - 1)) * kMomentCount];
        const double* crg = &m_cells[std::size_t(Cell(r - 1, g - 1, b)) * kMomentCount];
        const double* crgb = &m_cells[std::size_t(Cell(r - 1, g - 1, b - 1)) * kMomentCount];
        for (int m = 0; m < kMomentCount; ++m)
          c[m] += cb[m] + cg[m] - cgb[m] + cr[m] - crb[m] - crg[m] + crgb[m];
      }
  m_cumulative = true;
}

PaletteQuantiser::Moments PaletteQuantiser::Volume(const Box& x) const {
  double v[kMomentCount];
  auto at = [this](int r, int g, int b) { return &m_cells[std::size_t(Cell(r, g, b)) * kMomentCount]; };
  const double *a = at(x.r1, x.g1, x.b1), *bb = at(x.r1, x.g1, x.b0), *c = at(x.r1, x.g0, x.b1),
               *d = at(x.r1, x.g0, x.b0), *e = at(x.r0, x.g1, x.b1), *f = at(x.r0, x.g1, x.b0),
               *g = at(x.r0, x.g0, x.b1), *h = at(x.r0, x.g0, x.b0);
  for (int m = 0; m < kMomentCount; ++m) v[m] = a[m] - bb[m] - c[m] + d[m] - e[m] + f[m] + g[m] - h[m];
  return Moments{v[kW], v[kR], v[kG], v[kB], v[kSq]};
}

bool PaletteQuantiser::InsideBox(const Box& x, int red, int green, int blue) const {
  return red >= Boundary(x.r0) && red < Boundary(x.r1) && green >= Boundary(x.g0) && green < Boundary(x.g1) &&
         blue >= Boundary(x.b0) && blue < Boundary(x.b1);
}

double PaletteQuantiser::ColourBox(Box& x) const {
  const Moments m = Volume(x);
  if (m_fixedConsidered > 0) {
    double best = kNever;
    int bestIndex = -1;
    for (int i = 0; i < m_fixedConsidered; ++i) {
      const BYTE* f = m_fixed[i];
      if (!InsideBox(x, f[0], f[1], f[2])) continue;
      const double s = Score(m.w, m.r, m.g, m.b, f[0], f[1], f[2]);
      if (bestIndex < 0 || s > best) { best = s; bestIndex = i; }
    }
    if (bestIndex >= 0 && best > kValidScore) {
      x.red = m_fixed[bestIndex][0];
      x.green = m_fixed[bestIndex][1];
      x.blue = m_fixed[bestIndex][2];
      return best;
    }
  }
  if (m.w <= 0) return kNever;
  const int mr = int(m.r / m.w + 0.5), mg = int(m.g / m.w + 0.5), mb = int(m.b / m.w + 0.5);
  if (webSafeOnly) {
    auto level = [](int v) { return NearestWebLevel(std::clamp(v, 0, 255)); };
    double best = kNever;
    bool found = false;
    for (int r = level(mr - 25); r <= level(mr + 25); r += kWebStep)
      for (int g = level(mg - 25); g <= level(mg + 25); g += kWebStep)
        for (int b = level(mb - 25); b <= level(mb + 25); b += kWebStep) {
          if (!InsideBox(x, r, g, b)) continue;
          const double s = Score(m.w, m.r, m.g, m.b, r, g, b);
          if (!found || s > best) {
            best = s;
            found = true;
            x.red = BYTE(r);
            x.green = BYTE(g);
            x.blue = BYTE(b);
          }
        }
    return found ? best : kNever;
  }
  if (m_webSnap > 0 &&
      WebDistanceSquared(mr) + WebDistanceSquared(mg) + WebDistanceSquared(mb) <= m_webSnapSquared) {
    const int r = NearestWebLevel(mr), g = NearestWebLevel(mg), b = NearestWebLevel(mb);
    if (InsideBox(x, r, g, b)) {
      x.red = BYTE(r); x.green = BYTE(g); x.blue = BYTE(b);
      return Score(m.w, m.r, m.g, m.b, r, g, b);
    }
  }
  if (m_bwSnap > 0 &&
      BlackWhiteDistanceSquared(mr) + BlackWhiteDistanceSquared(mg) + BlackWhiteDistanceSquared(mb) <=
          m_bwSnapSquared) {
    const int r = BlackWhiteLevel(mr), g = BlackWhiteLevel(mg), b = BlackWhiteLevel(mb);
    if (InsideBox(x, r, g, b)) {
      x.red = BYTE(r); x.green = BYTE(g); x.blue = BYTE(b);
      return Score(m.w, m.r, m.g, m.b, r, g, b);
    }
  }
  x.red = BYTE(mr);
  x.green = BYTE(mg);
  x.blue = BYTE(mb);
  return (m.r * m.r + m.g * m.g + m.b * m.b) / m.w;
}

double PaletteQuantiser::BoxError(const Box& x) const {
  const Moments m = Volume(x);
  const int r = x.red, g = x.green, b = x.blue;
  return m.sq + m.w * double(r * r + g * g + b * b) - 2.0 * (r * m.r + g * m.g + b * m.b);
}

void PaletteQuantiser::SetVolume(Box& x) { x.volume = (x.r1 - x.r0) * (x.g1 - x.g0) * (x.b1 - x.b0); }

void PaletteQuantiser::Split(const Box& whole, int axis, int position, Box& lower, Box& upper) {
  lower = whole;
  upper = whole;
  lower.sibling = upper.sibling = nullptr;
  switch (axis) {
    case 0: lower.r1 = upper.r0 = position; break;
    case 1: lower.g1 = upper.g0 = position; break;
    default: lower.b1 = upper.b0 = position; break;
  }
  SetVolume(lower);
  SetVolume(upper);
}

PaletteQuantiser::Cut PaletteQuantiser::BestTwoWayCut(const Box& x) const {
  Cut best[3];
  for (int axis = 0; axis < 3; ++axis) {
    best[axis] = Cut{axis, -1, kNever};
    const int lo = axis == 0 ? x.r0 : axis == 1 ? x.g0 : x.b0;
    const int hi = axis == 0 ? x.r1 : axis == 1 ? x.g1 : x.b1;
    for (int p = lo + 1; p < hi; ++p) {
      Box lower, upper;
      Split(x, axis, p, lower, upper);
      const double a = ColourBox(lower);
      if (a <= kValidScore) continue;
      const double b = ColourBox(upper);
      if (b <= kValidScore) continue;
      if (best[axis].position < 0 || a + b > best[axis].value) best[axis] = Cut{axis, p, a + b};
    }
  }
  if (best[0].value >= best[1].value && best[0].value >= best[2].value) return best[0];
  if (best[1].value >= best[2].value) return best[1];
  return best[2];
}

void PaletteQuantiser::RecordBox(Box& x) {
  ColourBox(x);
  x.score = BoxError(x);
  const int number = int(&x - m_boxes);
  m_results.push_back(ResultEntry{x.red, x.green, x.blue, BYTE(number), Volume(x).w});
}

bool PaletteQuantiser::CutTwoWay(Box& x, Box& fresh) {
  const Cut cut = BestTwoWayCut(x);
  if (cut.position < 0 || cut.value <= kValidScore) return false;
  Box lower, upper;
  Split(x, cut.axis, cut.position, lower, upper);
  x = lower;
  fresh = upper;
  x.sibling = &fresh;
  fresh.sibling = &x;
  RecordBox(x);
  RecordBox(fresh);
  return true;
}

bool PaletteQuantiser::ResplitThreeWay(Box& x, Box& fresh) {
  Box& other = *x.sibling;
  Box u = x;
  u.r0 = std::min(x.r0, other.r0); u.r1 = std::max(x.r1, other.r1);
  u.g0 = std::min(x.g0, other.g0); u.g1 = std::max(x.g1, other.g1);
  u.b0 = std::min(x.b0, other.b0); u.b1 = std::max(x.b1, other.b1);
  SetVolume(u);

  struct Candidate {
    double value = kNever;
    int position = -1;
    bool lowerSingle = true;  // the lower part stays whole, the upper part is cut in two
    Cut inner{0, -1, kNever};
  };
  Candidate best[3];
  for (int axis = 0; axis < 3; ++axis) {
    const int lo = axis == 0 ? u.r0 : axis == 1 ? u.g0 : u.b0;
    const int hi = axis == 0 ? u.r1 : axis == 1 ? u.g1 : u.b1;
    for (int p = lo + 1; p < hi; ++p) {
      Box lower, upper;
      Split(u, axis, p, lower, upper);
      for (int single = 0; single < 2; ++single) {
        Box& whole = single == 0 ? lower : upper;
        const Box& cut = single == 0 ? upper : lower;
        const double a = ColourBox(whole);
        if (a <= kValidScore) continue;
        const Cut inner = BestTwoWayCut(cut);
        if (inner.position < 0 || inner.value <= kValidScore) continue;
        const double total = a + inner.value;
        if (best[axis].position < 0 || total > best[axis].value)
          best[axis] = Candidate{total, p, single == 0, inner};
      }
    }
  }
  const Candidate& chosen = (best[0].value >= best[1].value && best[0].value >= best[2].value) ? best[0]
                            : best[1].value >= best[2].value                                   ? best[1]
                                                                                               : best[2];
  if (chosen.position < 0 || chosen.value <= kValidScore) return false;
  const int axis = int(&chosen - best);
  Box lower, upper;
  Split(u, axis, chosen.position, lower, upper);
  Box whole = chosen.lowerSingle ? lower : upper;
  Box part = chosen.lowerSingle ? upper : lower;
  Box partLower, partUpper;
  Split(part, chosen.inner.axis, chosen.inner.position, partLower, partUpper);
  // The old sibling takes the whole part and loses its link; the chosen box and the new box
  // hold the two halves and become siblings.
  other = whole;
  other.sibling = nullptr;
  x = partLower;
  fresh = partUpper;
  x.sibling = &fresh;
  fresh.sibling = &x;
  // Entries in slot order, the new slot last.
  if (&other < &x) { RecordBox(other); RecordBox(x); } else { RecordBox(x); RecordBox(other); }
  RecordBox(fresh);
  return true;
}

void PaletteQuantiser::CutBoxes(int maxColours) {
  const int appended = m_fixedCount;
  if (includeSystemColours) {
    for (const auto& c : kSystemColours) AddFixedColour(c[0], c[1], c[2]);
  }
  // The standard colours are considered but appended again on the next call.
  m_fixedConsidered = m_fixedCount;
  m_fixedCount = appended;

  if (!m_cumulative) MakeCumulative();
  m_results.clear();
  m_boxCount = 0;
  Box& first = m_boxes[0];
  first = Box{0, 32, 0, 32, 0, 32, 0, 0.0, 0, 0, 0, nullptr};
  SetVolume(first);
  if (Volume(first).w <= 0) return;
  m_boxCount = 1;
  RecordBox(first);
  const int n = std::min(maxColours, kMaxBoxes);
  while (m_boxCount < n) {
    Box* chosen = nullptr;
    for (int i = 0; i < m_boxCount; ++i) {
      Box& x = m_boxes[i];
      if (x.volume > 1 && x.score >= 0 && (!chosen || x.score > chosen->score)) chosen = &x;
    }
    if (!chosen) break;
    Box& fresh = m_boxes[m_boxCount];
    fresh = Box{};
    const bool threeWay = chosen->sibling && !twoWayCutsOnly;
    const bool done = threeWay ? ResplitThreeWay(*chosen, fresh) : CutTwoWay(*chosen, fresh);
    if (done) {
      ++m_boxCount;
    } else if (threeWay) {
      chosen->sibling->sibling = nullptr;
      chosen->sibling = nullptr;
      chosen->volume = 0;
    } else {
      chosen->volume = 0;
    }
  }
}

bool PaletteQuantiser::SnapColour(int& red, int& green, int& blue) const {
  if (m_webSnap > 0 &&
      WebDistanceSquared(red) + WebDistanceSquared(green) + WebDistanceSquared(blue) <= m_webSnapSquared) {
    red = NearestWebLevel(red); green = NearestWebLevel(green); blue = NearestWebLevel(blue);
  }
  if (m_bwSnap > 0 && BlackWhiteDistanceSquared(red) + BlackWhiteDistanceSquared(green) +
                              BlackWhiteDistanceSquared(blue) <= m_bwSnapSquared) {
    red = BlackWhiteLevel(red); green = BlackWhiteLevel(green); blue = BlackWhiteLevel(blue);
  }
  return true;
}

bool PaletteQuantiser::MakePalette(LOGPALETTE* palette, int maxColours) {
  if (!palette) return false;
  if (m_results.empty()) {
    palette->palNumEntries = 0;
    return true;
  }
  const int n = std::clamp(maxColours, 0, 256);
  std::vector<ResultEntry> chosen;
  bool exact = false;
  const bool snapping = m_webSnap > 0 || m_bwSnap > 0;
  if (!webSafeOnly && exactColoursAllowed && m_exactCount <= kMaxExactColours &&
      (m_exactCount < n || snapping)) {
    exact = true;
    for (int i = 0; i < m_exactCount && exact; ++i) {
      const std::uint32_t c = m_exact[i].colour;
      int r = int((c >> 16) & 0xFF), g = int((c >> 8) & 0xFF), b = int(c & 0xFF);
      bool isFixed = false;
      for (int f = 0; f < m_fixedConsidered && !isFixed; ++f)
        isFixed = m_fixed[f][0] == r && m_fixed[f][1] == g && m_fixed[f][2] == b;
      if (!isFixed) SnapColour(r, g, b);
      bool merged = false;
      for (const ResultEntry& e : chosen)
        if (e.red == r && e.green == g && e.blue == b) { merged = true; break; }
      if (merged) continue;
      if (int(chosen.size()) == n) {
        exact = false;
        break;
      }
      chosen.push_back(ResultEntry{BYTE(r), BYTE(g), BYTE(b), 0, double(m_exact[i].count)});
    }
  }
  if (!exact) {
    chosen.clear();
    for (const ResultEntry& e : m_results) {
      if (e.box >= n) continue;
      if (e.box >= chosen.size()) chosen.resize(e.box + 1, ResultEntry{0, 0, 0, 0, 0.0});
      chosen[e.box] = e;
    }
  }
  std::stable_sort(chosen.begin(), chosen.end(),
                   [](const ResultEntry& a, const ResultEntry& b) { return a.count > b.count; });
  for (std::size_t i = 0; i < chosen.size(); ++i)
    palette->palPalEntry[i] = PALETTEENTRY{chosen[i].red, chosen[i].green, chosen[i].blue, 0};
  palette->palNumEntries = WORD(chosen.size());
  return exact;
}
