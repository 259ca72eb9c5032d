#include "tools/icon_art.h"

#include <algorithm>
#include <cmath>

#include "generator/wave.h"
#include "gfx/builtin_data.h"

namespace {

constexpr uint32_t BACKGROUND = 0xFF141A26;
constexpr uint32_t ZERO_LINE = 0xFF2C3648;
constexpr int EIGHT_BIT_PALETTE = 3;        // the palette of the program's 8-bit screen
constexpr int16_t TWO_CYCLES_IN_512 = 256;  // the rate that puts two cycles in 512 samples

struct Trace {
    Shape shape;
    int colour;    // palette index, as the program plots it
    int min_size;  // left out of smaller icons, where it would only blur the others
};

// Drawn in this order, later traces over earlier ones, as in the program.
constexpr Trace TRACES[] = {{SQUARESAW, 9, 32}, {SINEISH, 5, 0}, {SAWTOOTH, 12, 0}};

uint32_t palette_colour(int index) {
    gfx_builtin_expand();
    const PaletteDesc* p = gfx_builtin_palette(EIGHT_BIT_PALETTE);
    if (!p || index >= p->count) return 0xFFFFFFFF;
    const uint8_t* rgb = p->rgb + 3 * index;
    return 0xFF000000u | uint32_t{rgb[0]} << 16 | uint32_t{rgb[1]} << 8 | rgb[2];
}

// A canvas of sub-pixels, filtered down to the icon at the end.
struct Canvas {
    int n;
    std::vector<uint32_t> px;

    // Inside the rounded square that is the icon's face.
    bool on_face(double x, double y, double inset, double radius) const {
        const double lo = inset + radius, hi = n - inset - radius;
        const double dx = x < lo ? lo - x : x > hi ? x - hi : 0;
        const double dy = y < lo ? lo - y : y > hi ? y - hi : 0;
        if (x < inset || x > n - inset || y < inset || y > n - inset) return false;
        return dx * dx + dy * dy <= radius * radius;
    }
};

// A thick segment from (x0, y0) to (x1, y1): every sub-pixel whose centre
// lies within `half` of it, where the face is.
void stroke(Canvas& c, const std::vector<bool>& face, double x0, double y0, double x1, double y1, double half,
            uint32_t colour) {
    const int left = std::max(0, static_cast<int>(std::floor(std::min(x0, x1) - half)));
    const int right = std::min(c.n - 1, static_cast<int>(std::ceil(std::max(x0, x1) + half)));
    const int top = std::max(0, static_cast<int>(std::floor(std::min(y0, y1) - half)));
    const int bottom = std::min(c.n - 1, static_cast<int>(std::ceil(std::max(y0, y1) + half)));
    const double dx = x1 - x0, dy = y1 - y0, length2 = dx * dx + dy * dy;
    for (int y = top; y <= bottom; ++y)
        for (int x = left; x <= right; ++x) {
            const double px = x + 0.5 - x0, py = y + 0.5 - y0;
            const double t = length2 > 0 ? std::clamp((px * dx + py * dy) / length2, 0.0, 1.0) : 0.0;
            const double ex = px - t * dx, ey = py - t * dy;
            if (ex * ex + ey * ey <= half * half && face[static_cast<size_t>(y) * c.n + x])
                c.px[static_cast<size_t>(y) * c.n + x] = colour;
        }
}

// Two cycles of every shape, as the program computes them.
std::vector<WaveSamples> two_cycles() {
    std::vector<WaveSamples> cycle(512);
    WaveState state;
    wave_start(state, TWO_CYCLES_IN_512);
    for (WaveSamples& s : cycle) s = wave_step(state);
    return cycle;
}

// Box filter over each block of sub-pixels, in premultiplied colour.
std::vector<uint32_t> filter_down(const Canvas& c, int size, int ss) {
    std::vector<uint32_t> out(static_cast<size_t>(size) * size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            double a = 0, r = 0, g = 0, b = 0;
            for (int sy = 0; sy < ss; ++sy)
                for (int sx = 0; sx < ss; ++sx) {
                    const uint32_t p = c.px[static_cast<size_t>(y * ss + sy) * c.n + x * ss + sx];
                    const double pa = (p >> 24) / 255.0;
                    a += pa;
                    r += pa * (p >> 16 & 0xFF);
                    g += pa * (p >> 8 & 0xFF);
                    b += pa * (p & 0xFF);
                }
            auto byte = [](double v) { return static_cast<uint32_t>(std::lround(std::clamp(v, 0.0, 255.0))); };
            const uint32_t alpha = byte(255.0 * a / (ss * ss));
            out[static_cast<size_t>(y) * size + x] =
                a > 0 ? alpha << 24 | byte(r / a) << 16 | byte(g / a) << 8 | byte(b / a) : 0;
        }
    return out;
}

}  // namespace

std::vector<uint32_t> icon_art(int size) {
    const int ss = size <= 48 ? 8 : 4;
    Canvas c{size * ss, {}};
    c.px.assign(static_cast<size_t>(c.n) * c.n, 0);
    const double inset = size / 16.0 * ss, radius = size * 0.18 * ss;
    std::vector<bool> face(c.px.size());
    for (int y = 0; y < c.n; ++y)
        for (int x = 0; x < c.n; ++x) {
            const size_t i = static_cast<size_t>(y) * c.n + x;
            face[i] = c.on_face(x + 0.5, y + 0.5, inset, radius);
            if (face[i]) c.px[i] = BACKGROUND;
        }
    // The plot: two cycles across the face, full scale from top to bottom
    // of the area inside the padding.
    const double pad = size * 0.17 * ss, width = c.n - 2 * pad, height = c.n - 2 * pad;
    const double half = std::max(0.6, size / 56.0) * ss;
    auto x_of = [&](size_t i) { return pad + width * static_cast<double>(i) / 511.0; };
    auto y_of = [&](int16_t v) { return pad + height * (32767.0 - v) / 65535.0; };
    stroke(c, face, pad, y_of(0), c.n - pad, y_of(0), half * 0.6, ZERO_LINE);
    const std::vector<WaveSamples> cycle = two_cycles();
    for (const Trace& t : TRACES) {
        if (size < t.min_size) continue;
        const uint32_t colour = palette_colour(t.colour);
        for (size_t i = 1; i < cycle.size(); ++i)
            stroke(c, face, x_of(i - 1), y_of(cycle[i - 1].value[t.shape]), x_of(i), y_of(cycle[i].value[t.shape]),
                   half, colour);
    }
    return filter_down(c, size, ss);
}
