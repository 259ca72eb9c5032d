#include "gfx/graphics_hooks.h"

#include "gfx/gfx_input.h"
#include "gfx/gfx_keys.h"
#include "gfx/gfx_mouse.h"
#include "gfx/gfx_pages.h"
#include "gfx/gfx_ports.h"
#include "gfx/gfx_text.h"
#include "runtime/console_hooks.h"

namespace {

// The graphics console keeps no separate notion of the print area.
void print_area_changed() {}

// Input on the graphics screen always comes from its window.
int32_t input_not_redirected() { return 0; }

// clang-format off
constexpr ConsoleHooks GRAPHICS_HOOKS = {
    gfx_inkey,          gfx_getkey,         gfx_keyhit,          gfx_clear,           gfx_set_colour,
    gfx_locate,         gfx_set_text_size,  gfx_cursor_column,   gfx_cursor_row,      gfx_cursor_position,
    gfx_text_size,      gfx_print_buffer,   gfx_print_wide_buffer, gfx_read_line,     gfx_key_state,
    gfx_get_mouse,      gfx_set_mouse,      gfx_port_in,         gfx_port_out,        print_area_changed,
    gfx_line_input,     gfx_line_input_wide, gfx_read_cell,      gfx_sleep,           input_not_redirected,
    gfx_copy_page,      gfx_set_pages,
};
// clang-format on

}  // namespace

void gfx_console_hooks_fill() { console_hooks() = GRAPHICS_HOOKS; }

void gfx_console_hooks_empty() { console_hooks() = ConsoleHooks{}; }
