#pragma once
#include <cstdint>
#include <vector>

// The program's icon, drawn from its own traces: two cycles of some of the
// shapes it writes, in their plot colours, on a dark rounded square. Every
// platform's icon comes from here (tools/make_icon writes the files).

// The icon at `size` x `size` pixels, rows from the top, each pixel
// 0xAARRGGBB with straight (not premultiplied) alpha.
std::vector<uint32_t> icon_art(int size);
