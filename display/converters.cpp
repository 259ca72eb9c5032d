#include "display/converters.h"

#include <bit>
#include <cstddef>
#include <cstring>

#include "gfx/screen.h"

namespace {

// Two 16-bit pixels and four 24-bit pixels are packed into 32-bit stores
// with the first pixel in the lowest bytes.
static_assert(std::endian::native == std::endian::little, "pixel packing assumes little-endian stores");

constexpr int32_t LOOKUP_HIGH = 256;  // high-byte half of the 16-bit lookup table

// What a row kernel needs besides the two row pointers.
struct RowContext {
    const uint32_t* table;  // converted palette (indexed) or 16-bit lookup
    int32_t width;
    int32_t pitch;  // source bytes per row
};

template <class T>
T load(const uint8_t* row, int32_t x) {
    T value;
    std::memcpy(&value, row + static_cast<ptrdiff_t>(x) * sizeof(T), sizeof(T));
    return value;
}

void store16(uint8_t* out, uint32_t value) {
    const auto half = static_cast<uint16_t>(value);
    std::memcpy(out, &half, sizeof half);
}

void store32(uint8_t* out, uint32_t value) { std::memcpy(out, &value, sizeof value); }

// Colour formulas on a 0x00RRGGBB value; each keeps the top bits of a channel.
constexpr uint32_t rgb_to_15_o0(uint32_t p) { return ((p & 0xFF) >> 3) | ((p >> 6) & 0x3E0) | ((p >> 9) & 0x7C00); }
constexpr uint32_t rgb_to_15_o1(uint32_t p) { return ((p << 7) & 0x7C00) | ((p >> 6) & 0x3E0) | ((p >> 19) & 0x1F); }
constexpr uint32_t rgb_to_16_o0(uint32_t p) { return ((p & 0xFF) >> 3) | ((p >> 5) & 0x7E0) | ((p >> 8) & 0xF800); }
constexpr uint32_t rgb_to_16_o1(uint32_t p) { return ((p << 8) & 0xF800) | ((p >> 5) & 0x7E0) | ((p >> 19) & 0x1F); }
constexpr uint32_t swap_red_blue(uint32_t p) { return (p & 0xFF00) | ((p & 0xFF) << 16) | ((p >> 16) & 0xFF); }
constexpr uint32_t unchanged(uint32_t p) { return p; }
constexpr uint32_t drop_top_byte(uint32_t p) { return p & 0x00FFFFFF; }

// Formulas on a 5-6-5 pixel.
constexpr uint32_t p565_to_15_o0(uint32_t p) { return ((p >> 1) & 0x7FE0) | (p & 0x1F); }
constexpr uint32_t p565_to_15_o1(uint32_t p) { return ((p << 10) & 0x7C00) | ((p >> 1) & 0x3E0) | (p >> 11); }
constexpr uint32_t p565_to_16_o1(uint32_t p) { return (p & 0x7E0) | (p >> 11) | ((p << 11) & 0xFFFF); }

// Pixel maps: how one source pixel becomes one destination value, and the
// table the row needs for it (prepared once per converter call).
template <class P, uint32_t (*F)(uint32_t)>
struct Direct {
    using Pixel = P;
    static constexpr bool needs_table = false;
    static const uint32_t* prepare(const GfxScreen&, uint32_t*) { return nullptr; }
    static uint32_t map(P p, const uint32_t*) { return F(p); }
};

// Indexed pixels: the 256 palette colours are converted once, so a pixel
// costs one table load.
template <uint32_t (*F)(uint32_t)>
struct Palette {
    using Pixel = uint8_t;
    static constexpr bool needs_table = true;
    static const uint32_t* prepare(const GfxScreen& screen, uint32_t* colours) {
        for (int32_t i = 0; i < PALETTE_SIZE; ++i) colours[i] = F(screen.device_palette[i]);
        return colours;
    }
    static uint32_t map(uint8_t p, const uint32_t* colours) { return colours[p]; }
};

struct Lookup565 {
    using Pixel = uint16_t;
    static constexpr bool needs_table = true;
    static const uint32_t* prepare(const GfxScreen&, uint32_t*) { return g_conversion_table; }
    static uint32_t map(uint16_t p, const uint32_t* t) { return t[p & 0xFF] | t[LOOKUP_HIGH + (p >> 8)]; }
};

// Row kernels by destination size.
struct RowCopy {
    using Map = Direct<uint8_t, unchanged>;  // only for its empty table
    static void row(uint8_t* out, const uint8_t* src, const RowContext& c) { std::memcpy(out, src, c.pitch); }
};

template <class M>
struct To16 {
    using Map = M;
    static void row(uint8_t* out, const uint8_t* src, const RowContext& c) {
        using P = typename M::Pixel;
        int32_t x = 0;
        for (; x + 1 < c.width; x += 2, out += 4) {
            const uint32_t first = M::map(load<P>(src, x), c.table);
            const uint32_t second = M::map(load<P>(src, x + 1), c.table);
            store32(out, first | (second << 16));
        }
        if (x < c.width) store16(out, M::map(load<P>(src, x), c.table));
    }
};

template <class M>
struct To24 {
    using Map = M;
    static uint32_t pixel(const uint8_t* src, int32_t x, const RowContext& c) {
        return M::map(load<typename M::Pixel>(src, x), c.table) & 0x00FFFFFF;
    }
    static void row(uint8_t* out, const uint8_t* src, const RowContext& c) {
        int32_t x = 0;
        for (; x + 3 < c.width; x += 4, out += 12) {
            const uint32_t p0 = pixel(src, x, c), p1 = pixel(src, x + 1, c);
            const uint32_t p2 = pixel(src, x + 2, c), p3 = pixel(src, x + 3, c);
            store32(out, p0 | (p1 << 24));
            store32(out + 4, (p1 >> 8) | (p2 << 16));
            store32(out + 8, (p2 >> 16) | (p3 << 8));
        }
        for (; x < c.width; ++x, out += 3) {
            const uint32_t p = pixel(src, x, c);
            out[0] = static_cast<uint8_t>(p);
            out[1] = static_cast<uint8_t>(p >> 8);
            out[2] = static_cast<uint8_t>(p >> 16);
        }
    }
};

template <class M>
struct To32 {
    using Map = M;
    static void row(uint8_t* out, const uint8_t* src, const RowContext& c) {
        using P = typename M::Pixel;
        for (int32_t x = 0; x < c.width; ++x, out += 4) store32(out, M::map(load<P>(src, x), c.table));
    }
};

// The loop every member shares: dirty test per screen row, line repeat.
template <class Row>
void convert(uint8_t* dest, int32_t dest_pitch) {
    const GfxScreen* screen = g_gfx_screen;
    if (screen == nullptr) return;
    uint32_t colours[PALETTE_SIZE];
    const RowContext c{Row::Map::prepare(*screen, colours), screen->width, screen->pitch};
    if (Row::Map::needs_table && c.table == nullptr) return;
    const int32_t repeat = screen->line_repeat > 1 ? screen->line_repeat : 1;
    for (int32_t y = 0; y < screen->height; ++y) {
        if (screen->dirty_rows[y] == 0) continue;
        const uint8_t* src = screen->visible_pixels + static_cast<ptrdiff_t>(y) * screen->pitch;
        for (int32_t r = 0; r < repeat; ++r) {
            const ptrdiff_t j = static_cast<ptrdiff_t>(y) * repeat + r;
            Row::row(dest + j * dest_pitch, src, c);
        }
    }
}

enum SourceClass { SOURCE_INDEXED, SOURCE_565, SOURCE_RGB32, SOURCE_COUNT, SOURCE_NONE = SOURCE_COUNT };

SourceClass source_class(int32_t depth) {
    switch (depth) {
    case 1:
    case 2:
    case 4:
    case 8: return SOURCE_INDEXED;
    case 15:
    case 16: return SOURCE_565;
    case 24:
    case 32: return SOURCE_RGB32;
    default: return SOURCE_NONE;
    }
}

// Column of the member tables below; -1 for a depth no member writes.
int32_t destination_slot(int32_t depth) {
    switch (depth) {
    case 15: return 0;
    case 16: return 1;
    case 24: return 2;
    case 32: return 3;
    default: return -1;
    }
}

template <class P>
using Copy = Direct<P, unchanged>;
using Rgb32 = uint32_t;

// [source class][order][15, 16, 24, 32]. A palette entry is 0x00BBGGRR, the
// mirror of a 32-bit pixel, so indexed order o uses the 32-bit formula of
// order 1 - o.
constexpr Converter MEMBERS[SOURCE_COUNT][2][4] = {
    {{convert<To16<Palette<rgb_to_15_o1>>>, convert<To16<Palette<rgb_to_16_o1>>>, convert<To24<Palette<swap_red_blue>>>,
      convert<To32<Palette<swap_red_blue>>>},
     {convert<To16<Palette<rgb_to_15_o0>>>, convert<To16<Palette<rgb_to_16_o0>>>, convert<To24<Palette<unchanged>>>,
      convert<To32<Palette<unchanged>>>}},
    {{convert<To16<Direct<uint16_t, p565_to_15_o0>>>, convert<RowCopy>, convert<To24<Lookup565>>,
      convert<To32<Lookup565>>},
     {convert<To16<Direct<uint16_t, p565_to_15_o1>>>, convert<To16<Direct<uint16_t, p565_to_16_o1>>>,
      convert<To24<Lookup565>>, convert<To32<Lookup565>>}},
    {{convert<To16<Direct<Rgb32, rgb_to_15_o0>>>, convert<To16<Direct<Rgb32, rgb_to_16_o0>>>,
      convert<To24<Copy<Rgb32>>>, convert<RowCopy>},
     {convert<To16<Direct<Rgb32, rgb_to_15_o1>>>, convert<To16<Direct<Rgb32, rgb_to_16_o1>>>,
      convert<To24<Direct<Rgb32, swap_red_blue>>>, convert<To32<Direct<Rgb32, swap_red_blue>>>}},
};

// 5-6-5 pixel p becomes low[p AND 0xFF] OR high[p SHR 8]: 0x00RRGGBB for
// order 0, 0x00BBGGRR for order 1; the widened channels' low bits stay 0.
void build_lookup(uint32_t* table, int32_t order) {
    for (uint32_t v = 0; v < 256; ++v) {
        if (order == 0) {
            table[v] = ((v & 0xE0) << 5) | ((v << 3) & 0xFF);
            table[LOOKUP_HIGH + v] = ((v & 0xF8) << 16) | ((v << 13) & 0xFFFF);
        } else {
            table[v] = ((v & 0xE0) << 5) | ((v & 0x1F) << 19);
            table[LOOKUP_HIGH + v] = (v & 0xF8) | ((v << 13) & 0xFFFF);
        }
    }
}

}  // namespace

Converter get_converter(int32_t dest_depth, int32_t dest_order) {
    const GfxScreen* screen = g_gfx_screen;
    if (screen == nullptr || (dest_order != 0 && dest_order != 1)) return nullptr;
    if (g_conversion_table != nullptr) build_lookup(g_conversion_table, dest_order);
    const SourceClass source = source_class(screen->depth);
    if (source == SOURCE_INDEXED && dest_depth == 8) return convert<RowCopy>;
    const int32_t slot = destination_slot(dest_depth);
    if (source == SOURCE_NONE || slot < 0) return nullptr;
    if (source == SOURCE_565 && slot >= 2 && g_conversion_table == nullptr) return nullptr;
    return MEMBERS[source][dest_order][slot];
}

Converter get_shaped_converter() { return convert<To32<Direct<uint32_t, drop_top_byte>>>; }
