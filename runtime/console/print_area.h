#pragma once
#include <cstdint>

// The text print area shared by the graphics and the character console:
// 0-based top and bottom rows, -1 while not set.
struct PrintArea {
    int32_t top;
    int32_t bottom;
};

PrintArea& print_area();

// Gives the 1-based top and bottom rows, settling unset values first (top
// row 0; bottom the console's last row, or row 24 when it reports none).
void print_area_get(int32_t* top, int32_t* bottom);

// Sets the area in 1-based rows; 0 stands for the first (top) or the last
// (bottom) row of the console.
void view_print(int32_t top, int32_t bottom);

void print_area_unset();
