#include "runtime/console/print_area.h"

#include "runtime/console/console.h"
#include "runtime/console_hooks.h"

namespace {

PrintArea g_print_area{-1, -1};

int32_t console_rows() {
    int32_t columns = 0, rows = 0;
    console_text_size(&columns, &rows);
    return rows;
}

}  // namespace

PrintArea& print_area() { return g_print_area; }

void print_area_get(int32_t* top, int32_t* bottom) {
    if (g_print_area.top < 0) g_print_area.top = 0;
    if (g_print_area.bottom < 0) {
        int32_t rows = console_rows();
        g_print_area.bottom = (rows > 0 ? rows : 25) - 1;
    }
    if (top) *top = g_print_area.top + 1;
    if (bottom) *bottom = g_print_area.bottom + 1;
}

void view_print(int32_t top, int32_t bottom) {
    int32_t rows = console_rows();
    if (rows <= 0) rows = 25;
    int32_t first = top > 0 ? top - 1 : 0;
    int32_t last = bottom > 0 ? bottom - 1 : rows - 1;
    if (first > last || last >= rows) return;
    g_print_area.top = first;
    g_print_area.bottom = last;
    if (console_hooks().print_area_changed) console_hooks().print_area_changed();
}

void print_area_unset() { g_print_area = PrintArea{-1, -1}; }
