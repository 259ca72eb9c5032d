// Builds the built-in data block (the code page 437 ROM fonts and the four
// palettes), compresses it with 12-bit LZW, checks that it expands back, and
// writes the C++ source that holds the stored form.
//
// usage: make_builtin_data [--rom FILE] [--raw FILE] OUTPUT.cpp
//   --rom FILE  VGA BIOS image holding the fonts (default: Debian's vgabios)
//   --raw FILE  also write the expanded block, for inspection

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <unordered_map>
#include <vector>

#include "gfx/builtin_data.h"

namespace {

using Bytes = std::vector<uint8_t>;

constexpr const char* DEFAULT_ROM = "/usr/share/vgabios/vgabios.bin";

// Where the VGA BIOS keeps its fonts: glyph after glyph, one byte per row,
// bit 7 leftmost.
struct RomFont {
    size_t rom_offset;
    size_t height;
    size_t block_offset;
};
// clang-format off
constexpr RomFont ROM_FONTS[BUILTIN_FONT_COUNT] = {
    {3960, 8, BUILTIN_FONT_OFFSETS[0]},
    {6008, 14, BUILTIN_FONT_OFFSETS[1]},
    {9592, 16, BUILTIN_FONT_OFFSETS[2]},
};
// clang-format on
constexpr size_t GLYPHS = 256;

struct Rgb {
    uint8_t red, green, blue;
};

// clang-format off
constexpr Rgb SIXTEEN_COLOURS[16] = {
    {0, 0, 0},      {0, 0, 170},     {0, 170, 0},     {0, 170, 170},  {170, 0, 0},    {170, 0, 170},
    {170, 85, 0},   {170, 170, 170}, {85, 85, 85},    {85, 85, 255},  {85, 255, 85},  {85, 255, 255},
    {255, 85, 85},  {255, 85, 255},  {255, 255, 85},  {255, 255, 255},
};
// clang-format on

constexpr uint8_t GREYS[16] = {0, 20, 32, 44, 56, 68, 80, 97, 113, 129, 145, 161, 182, 202, 226, 255};

// Five levels per block of 24 colours: bright, pale, paler, then the same
// three at lower intensity twice more.
// clang-format off
constexpr uint8_t BLOCK_LEVELS[9][5] = {
    {0, 64, 125, 190, 255}, {125, 157, 190, 222, 255}, {182, 198, 218, 234, 255},
    {0, 28, 56, 85, 113},   {56, 68, 85, 97, 113},     {80, 89, 97, 105, 113},
    {0, 16, 32, 48, 64},    {32, 40, 48, 56, 64},      {44, 48, 52, 60, 64},
};
// clang-format on

// The walk round the colour circle from blue: each leg moves one component
// (0 red, 1 green, 2 blue) one level per entry.
struct Leg {
    int component;
    int step;
    int entries;
};
constexpr Leg CIRCLE_LEGS[] = {{0, +1, 4}, {2, -1, 4}, {1, +1, 4}, {0, -1, 4}, {2, +1, 4}, {1, -1, 3}};

bool read_file(const char* path, Bytes& data) {
    FILE* f = std::fopen(path, "rb");
    if (f == nullptr) return false;
    uint8_t chunk[4096];
    size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, f)) > 0) data.insert(data.end(), chunk, chunk + got);
    const bool ok = std::ferror(f) == 0;
    return std::fclose(f) == 0 && ok;
}

bool write_file(const std::string& path, const void* data, size_t size) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) return false;
    const bool ok = std::fwrite(data, 1, size, f) == size;
    return std::fclose(f) == 0 && ok;
}

uint8_t reverse_bits(uint8_t b) {
    uint8_t r = 0;
    for (int i = 0; i < 8; ++i) r = static_cast<uint8_t>(r | (((b >> i) & 1) << (7 - i)));
    return r;
}

// Copies one ROM font with bit 0 as the leftmost pixel; glyphs 0 and 255
// must be blank, and are forced blank (with a warning) if the ROM differs.
bool copy_font(const Bytes& rom, const RomFont& font, Bytes& block) {
    const size_t size = GLYPHS * font.height;
    if (font.rom_offset + size > rom.size()) {
        std::fprintf(stderr, "make_builtin_data: ROM too short for the 8x%zu font\n", font.height);
        return false;
    }
    uint8_t* out = block.data() + font.block_offset;
    for (size_t i = 0; i < size; ++i) out[i] = reverse_bits(rom[font.rom_offset + i]);
    for (size_t glyph : {size_t{0}, GLYPHS - 1}) {
        uint8_t* rows = out + glyph * font.height;
        for (size_t r = 0; r < font.height; ++r) {
            if (rows[r] == 0) continue;
            std::fprintf(stderr, "make_builtin_data: glyph %zu of the 8x%zu font not blank; cleared\n", glyph,
                         font.height);
            std::memset(rows, 0, font.height);
            break;
        }
    }
    return true;
}

void put(Bytes& block, size_t& at, Rgb c) {
    block[at++] = c.red;
    block[at++] = c.green;
    block[at++] = c.blue;
}

void put_colour_block(Bytes& block, size_t& at, const uint8_t (&levels)[5]) {
    int level[3] = {0, 0, 4};
    auto emit = [&] { put(block, at, {levels[level[0]], levels[level[1]], levels[level[2]]}); };
    emit();
    for (const Leg& leg : CIRCLE_LEGS) {
        for (int i = 0; i < leg.entries; ++i) {
            level[leg.component] += leg.step;
            emit();
        }
    }
}

uint8_t bit(int value, int n) { return static_cast<uint8_t>((value >> n) & 1); }

void build_palettes(Bytes& block) {
    size_t at = BUILTIN_PALETTE_OFFSETS[0];
    put(block, at, {0, 0, 0});
    put(block, at, {255, 255, 255});
    for (const Rgb& c : SIXTEEN_COLOURS) put(block, at, c);
    for (int i = 0; i < 64; ++i) {
        put(block, at,
            {static_cast<uint8_t>(170 * bit(i, 2) + 85 * bit(i, 5)),
             static_cast<uint8_t>(170 * bit(i, 1) + 85 * bit(i, 4)),
             static_cast<uint8_t>(170 * bit(i, 0) + 85 * bit(i, 3))});
    }
    for (const Rgb& c : SIXTEEN_COLOURS) put(block, at, c);
    for (uint8_t g : GREYS) put(block, at, {g, g, g});
    for (const auto& levels : BLOCK_LEVELS) put_colour_block(block, at, levels);
    while (at < BUILTIN_DATA_SIZE) put(block, at, {0, 0, 0});
}

// Greedy LZW with the decoder's rules: new codes from 256, no new code past
// 4094, never reset. Ends with the end code.
std::vector<int32_t> lzw_compress(const Bytes& data) {
    std::vector<int32_t> codes;
    if (data.empty()) return {LZW_END_CODE};
    std::unordered_map<uint32_t, int32_t> table;  // (prefix code << 8 | byte) -> code
    int32_t next_free = 256;
    int32_t current = data[0];
    for (size_t i = 1; i < data.size(); ++i) {
        const uint32_t key = static_cast<uint32_t>(current) << 8 | data[i];
        const auto found = table.find(key);
        if (found != table.end()) {
            current = found->second;
            continue;
        }
        codes.push_back(current);
        if (next_free <= LZW_END_CODE - 1) table.emplace(key, next_free++);
        current = data[i];
    }
    codes.push_back(current);
    codes.push_back(LZW_END_CODE);
    return codes;
}

// Two codes per three bytes; an odd count is padded with a second end code,
// which the decoder never reaches.
Bytes pack_codes(std::vector<int32_t> codes) {
    if (codes.size() % 2 != 0) codes.push_back(LZW_END_CODE);
    Bytes packed;
    for (size_t i = 0; i < codes.size(); i += 2) {
        const int32_t a = codes[i];
        const int32_t b = codes[i + 1];
        packed.push_back(static_cast<uint8_t>(a & 0xFF));
        packed.push_back(static_cast<uint8_t>((a >> 8) | ((b & 0x0F) << 4)));
        packed.push_back(static_cast<uint8_t>(b >> 4));
    }
    return packed;
}

std::string source_text(const Bytes& stored) {
    std::string s =
        "// Generated by tools/make_builtin_data from the VGA BIOS fonts of Debian's\n"
        "// vgabios package and the built-in palettes; do not edit. To regenerate,\n"
        "// from the source tree:\n"
        "//   cmake --build BUILD --target make_builtin_data\n"
        "//   BUILD/tools/make_builtin_data gfx/generated/builtin_data_stored.cpp\n"
        "// The block is stored as 12-bit LZW codes, two codes per three bytes.\n"
        "#include \"gfx/builtin_data.h\"\n\n"
        "const uint8_t gfx_builtin_stored[] = {\n";
    char hex[8];
    for (size_t i = 0; i < stored.size(); ++i) {
        if (i % 12 == 0) s += "   ";
        std::snprintf(hex, sizeof hex, " 0x%02X,", stored[i]);
        s += hex;
        if (i % 12 == 11 || i + 1 == stored.size()) s += "\n";
    }
    s += "};\n\nconst size_t gfx_builtin_stored_size = sizeof(gfx_builtin_stored);\n";
    return s;
}

bool check_round_trip(const Bytes& block, const Bytes& stored) {
    Bytes back(block.size());
    const int64_t size = lzw_expand(stored.data(), stored.size(), back.data(), back.size());
    return size == static_cast<int64_t>(block.size()) && back == block;
}

struct Options {
    const char* rom = DEFAULT_ROM;
    const char* raw = nullptr;
    const char* output = nullptr;
};

bool parse_options(int argc, char** argv, Options& o) {
    for (int i = 1; i < argc; ++i) {
        const bool has_value = i + 1 < argc;
        if (std::strcmp(argv[i], "--rom") == 0 && has_value) {
            o.rom = argv[++i];
        } else if (std::strcmp(argv[i], "--raw") == 0 && has_value) {
            o.raw = argv[++i];
        } else if (argv[i][0] != '-' && o.output == nullptr) {
            o.output = argv[i];
        } else {
            return false;
        }
    }
    return o.output != nullptr;
}

bool build_block(const char* rom_path, Bytes& block) {
    Bytes rom;
    if (!read_file(rom_path, rom)) {
        std::fprintf(stderr, "make_builtin_data: cannot read %s\n", rom_path);
        return false;
    }
    block.assign(BUILTIN_DATA_SIZE, 0);
    for (const RomFont& font : ROM_FONTS) {
        if (!copy_font(rom, font, block)) return false;
    }
    build_palettes(block);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parse_options(argc, argv, options)) {
        std::fprintf(stderr, "usage: make_builtin_data [--rom FILE] [--raw FILE] OUTPUT.cpp\n");
        return 2;
    }
    Bytes block;
    if (!build_block(options.rom, block)) return 1;
    const std::vector<int32_t> codes = lzw_compress(block);
    const Bytes stored = pack_codes(codes);
    if (!check_round_trip(block, stored)) {
        std::fprintf(stderr, "make_builtin_data: the stored form does not expand back\n");
        return 1;
    }
    if (options.raw != nullptr && !write_file(options.raw, block.data(), block.size())) {
        std::fprintf(stderr, "make_builtin_data: cannot write %s\n", options.raw);
        return 1;
    }
    const std::string text = source_text(stored);
    if (!write_file(options.output, text.data(), text.size())) {
        std::fprintf(stderr, "make_builtin_data: cannot write %s\n", options.output);
        return 1;
    }
    int32_t highest = 0;
    for (size_t i = 0; i + 1 < codes.size(); ++i) highest = std::max(highest, codes[i]);
    std::printf("%zu bytes stored as %zu bytes (%zu codes, highest %d)\n", block.size(), stored.size(), codes.size(),
                highest);
    return 0;
}
