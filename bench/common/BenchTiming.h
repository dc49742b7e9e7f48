// Timing shared by the benchmarks: the calling thread's processor time (a busy machine's other
// work does not count), a warm-up, and the contestants of a case run in turns, round by round,
// so that a slow spell of the machine falls on all of them alike. Each round times a batch of
// calls long enough for the clock's resolution; a case reports the median, the fastest and the
// slowest round per call.
#pragma once

#include <time.h>

#include <algorithm>
#include <cstdint>
#include <cmath>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace bench {

inline double ThreadMicroseconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e6 + t.tv_nsec / 1e3;
}

struct Stats {
    double median = 0, min = 0, max = 0;  // microseconds per call
};

struct Options {
    int rounds = 9;               // timed rounds per contestant
    double batchMicros = 8000;    // processor time one round's batch aims at
    double warmUpMicros = 4000;   // untimed calls first, also used to size the batches
};

// Bodies empty (a missing peer) are skipped and report zeros.
inline std::vector<Stats> Interleaved(const std::vector<std::function<void()>>& bodies,
                                      const Options& options = Options()) {
    const size_t n = bodies.size();
    std::vector<long> batch(n, 1);
    for (size_t i = 0; i < n; ++i) {
        if (!bodies[i]) continue;
        long calls = 0;
        const double start = ThreadMicroseconds();
        double elapsed = 0;
        do {
            bodies[i]();
            ++calls;
            elapsed = ThreadMicroseconds() - start;
        } while (elapsed < options.warmUpMicros);
        const double each = elapsed / calls;
        batch[i] = std::max(1L, static_cast<long>(options.batchMicros / std::max(each, 1e-3)));
    }
    std::vector<std::vector<double>> samples(n);
    for (int round = 0; round < options.rounds; ++round) {
        for (size_t i = 0; i < n; ++i) {
            if (!bodies[i]) continue;
            const double start = ThreadMicroseconds();
            for (long k = 0; k < batch[i]; ++k) bodies[i]();
            samples[i].push_back((ThreadMicroseconds() - start) / batch[i]);
        }
    }
    std::vector<Stats> out(n);
    for (size_t i = 0; i < n; ++i) {
        std::vector<double>& s = samples[i];
        if (s.empty()) continue;
        std::sort(s.begin(), s.end());
        out[i].median = s[s.size() / 2];
        out[i].min = s.front();
        out[i].max = s.back();
    }
    return out;
}

inline double Ratio(const Stats& ours, const Stats& theirs) {
    return theirs.median > 0 ? ours.median / theirs.median : 0;
}

// "median [min-max]" in the unit given by the scale (1: microseconds, 1e-3: milliseconds).
inline std::string Format(const Stats& s, double scale = 1) {
    char text[64];
    if (s.median <= 0) return "-";
    std::snprintf(text, sizeof text, "%.2f [%.2f-%.2f]", s.median * scale, s.min * scale, s.max * scale);
    return text;
}

// Geometric mean of the positive values; 0 when there are none.
inline double GeometricMean(const std::vector<double>& values) {
    double sum = 0;
    int count = 0;
    for (double v : values) {
        if (v <= 0) continue;
        sum += std::log(v);
        ++count;
    }
    return count ? std::exp(sum / count) : 0;
}

// Peak signal-to-noise ratio in dB over the colour channels of two 0x..RRGGBB buffers;
// 99 for identical ones.
inline double Psnr(const std::uint32_t* a, const std::uint32_t* b, size_t count) {
    double sum = 0;
    for (size_t i = 0; i < count; ++i) {
        for (int shift = 0; shift < 24; shift += 8) {
            const double d = double((a[i] >> shift) & 0xFF) - double((b[i] >> shift) & 0xFF);
            sum += d * d;
        }
    }
    if (sum == 0) return 99;
    const double mse = sum / (3.0 * count);
    return 10 * std::log10(255.0 * 255.0 / mse);
}

}  // namespace bench
