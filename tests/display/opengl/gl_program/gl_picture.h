#pragma once
// The picture the OpenGL test program draws, and its tests look for: the
// window cleared to one colour but for a quad of another, from (left,
// bottom) up to, not including, (right, top), in window coordinates with
// the origin at the bottom left.
#include <cstdint>

inline constexpr int32_t GL_PROGRAM_WIDTH = 64, GL_PROGRAM_HEIGHT = 48;
inline constexpr uint8_t GL_PICTURE_CLEAR[3] = {32, 96, 160};
inline constexpr uint8_t GL_PICTURE_QUAD[3] = {224, 128, 16};
inline constexpr int32_t GL_QUAD_LEFT = 8, GL_QUAD_BOTTOM = 4, GL_QUAD_RIGHT = 40, GL_QUAD_TOP = 36;

inline constexpr bool gl_picture_in_quad(int32_t x, int32_t y) {
    return x >= GL_QUAD_LEFT && x < GL_QUAD_RIGHT && y >= GL_QUAD_BOTTOM && y < GL_QUAD_TOP;
}
