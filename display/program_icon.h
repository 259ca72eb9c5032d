#pragma once
#include <cstdint>

// The program's icon as pixels, for window systems that take them from the
// window (drawn by tools/icon_art.cpp; display/generated/program_icon.cpp is written
// by tools/make_icon). Each size is `size` x `size` pixels, rows from the
// top, 0xAARRGGBB with straight alpha.
struct ProgramIcon {
    int32_t size;
    const uint32_t* pixels;
};

inline constexpr int32_t PROGRAM_ICON_SIZES[] = {16, 32, 48, 64};
inline constexpr int PROGRAM_ICON_COUNT = sizeof PROGRAM_ICON_SIZES / sizeof PROGRAM_ICON_SIZES[0];

extern const ProgramIcon PROGRAM_ICONS[PROGRAM_ICON_COUNT];
