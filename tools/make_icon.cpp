// Draws the program's icon (tools/icon_art.cpp) once and writes every form
// the platforms take, all of them committed (the build never runs this):
//
//   packaging/icons/hicolor/NxN/apps/wavetable.png   the desktops' icon theme
//   packaging/wavetable.ico                           Windows: 16, 32, 48 and 256
//   display/generated/program_icon.cpp                          the window's own icon pixels
//
// usage: make_icon SOURCE_TREE

#include <png.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "display/program_icon.h"
#include "tools/icon_art.h"

namespace {

using Bytes = std::vector<uint8_t>;

constexpr int THEME_SIZES[] = {16, 32, 48, 64, 128, 256};
constexpr int ICO_SIZES[] = {16, 32, 48, 256};
constexpr int ICO_PNG_FROM = 256;  // larger entries are stored as PNG, smaller as bitmaps

png_image png_header(int size) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = image.height = static_cast<png_uint_32>(size);
    image.format = PNG_FORMAT_BGRA;  // 0xAARRGGBB in memory on a little-endian machine
    return image;
}

bool write_png(const std::string& path, int size, const std::vector<uint32_t>& pixels) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    png_image image = png_header(size);
    const bool ok = png_image_write_to_file(&image, path.c_str(), 0, pixels.data(), 0, nullptr) != 0;
    png_image_free(&image);
    return ok;
}

Bytes png_bytes(int size, const std::vector<uint32_t>& pixels) {
    png_image image = png_header(size);
    png_alloc_size_t length = 0;
    Bytes out;
    if (png_image_write_to_memory(&image, nullptr, &length, 0, pixels.data(), 0, nullptr)) {
        out.resize(length);
        if (!png_image_write_to_memory(&image, out.data(), &length, 0, pixels.data(), 0, nullptr)) out.clear();
    }
    png_image_free(&image);
    return out;
}

void put16(Bytes& b, uint32_t v) {
    b.push_back(static_cast<uint8_t>(v));
    b.push_back(static_cast<uint8_t>(v >> 8));
}

void put32(Bytes& b, uint32_t v) {
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}

// An icon bitmap: the header with the height of colour and mask together,
// 32-bit BGRA rows from the bottom, then the AND mask (all clear: the alpha
// decides).
Bytes ico_bitmap(int size, const std::vector<uint32_t>& pixels) {
    Bytes b;
    const auto n = static_cast<uint32_t>(size);
    const uint32_t mask_row = (n + 31) / 32 * 4;
    put32(b, 40);
    put32(b, n);
    put32(b, 2 * n);
    put16(b, 1);   // planes
    put16(b, 32);  // bits per pixel
    put32(b, 0);   // uncompressed
    put32(b, n * n * 4 + mask_row * n);
    for (int i = 0; i < 4; ++i) put32(b, 0);
    for (int y = size - 1; y >= 0; --y)
        for (int x = 0; x < size; ++x) put32(b, pixels[static_cast<size_t>(y) * size + x]);
    b.insert(b.end(), static_cast<size_t>(mask_row) * n, 0);
    return b;
}

bool write_ico(const std::string& path) {
    std::vector<Bytes> images;
    for (int size : ICO_SIZES)
        images.push_back(size >= ICO_PNG_FROM ? png_bytes(size, icon_art(size)) : ico_bitmap(size, icon_art(size)));
    Bytes ico;
    const auto count = static_cast<uint32_t>(images.size());
    put16(ico, 0);
    put16(ico, 1);  // an icon
    put16(ico, count);
    uint32_t offset = 6 + 16 * count;
    for (size_t i = 0; i < images.size(); ++i) {
        if (images[i].empty()) return false;
        const int size = ICO_SIZES[i];
        ico.push_back(static_cast<uint8_t>(size >= 256 ? 0 : size));  // 0 stands for 256
        ico.push_back(static_cast<uint8_t>(size >= 256 ? 0 : size));
        ico.push_back(0);  // no palette
        ico.push_back(0);
        put16(ico, 1);
        put16(ico, 32);
        put32(ico, static_cast<uint32_t>(images[i].size()));
        put32(ico, offset);
        offset += static_cast<uint32_t>(images[i].size());
    }
    for (const Bytes& image : images) ico.insert(ico.end(), image.begin(), image.end());
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const bool ok = std::fwrite(ico.data(), 1, ico.size(), f) == ico.size();
    return std::fclose(f) == 0 && ok;
}

bool write_window_pixels(const std::string& path) {
    FILE* f = std::fopen(path.c_str(), "w");
    if (!f) return false;
    std::fprintf(f,
                 "// The program's icon for windows that take their icon as pixels.\n"
                 "// Written by tools/make_icon from tools/icon_art.cpp: change those, not this.\n"
                 "#include \"display/program_icon.h\"\n\nnamespace {\n");
    for (int32_t size : PROGRAM_ICON_SIZES) {
        const std::vector<uint32_t> pixels = icon_art(size);
        std::fprintf(f, "\nconst uint32_t ICON_%d[%d] = {", size, size * size);
        for (size_t i = 0; i < pixels.size(); ++i) std::fprintf(f, "%s0x%08x,", i % 8 ? " " : "\n    ", pixels[i]);
        std::fprintf(f, "\n};\n");
    }
    std::fprintf(f, "\n}  // namespace\n\nconst ProgramIcon PROGRAM_ICONS[PROGRAM_ICON_COUNT] = {\n");
    for (int32_t size : PROGRAM_ICON_SIZES) std::fprintf(f, "    {%d, ICON_%d},\n", size, size);
    std::fprintf(f, "};\n");
    return std::fclose(f) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_icon SOURCE_TREE\n");
        return 2;
    }
    const std::string top = argv[1];
    bool ok = true;
    for (int size : THEME_SIZES) {
        const std::string dims = std::to_string(size) + "x" + std::to_string(size);
        ok = write_png(top + "/packaging/icons/hicolor/" + dims + "/apps/wavetable.png", size, icon_art(size)) && ok;
    }
    ok = write_ico(top + "/packaging/wavetable.ico") && ok;
    ok = write_window_pixels(top + "/display/generated/program_icon.cpp") && ok;
    if (!ok) std::fprintf(stderr, "make_icon: could not write every file\n");
    return ok ? 0 : 1;
}
