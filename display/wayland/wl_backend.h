#pragma once
// The Wayland back-end's own state and the pieces its files share.
// Everything here belongs to the refresh thread, the only thread that
// talks to the compositor; what the drawing thread touches (the wake-up
// descriptor) is said where it is declared.
#include <atomic>
#include <cstdint>
#include <vector>

#include "display/wayland/wl_geometry.h"
#include "display/wayland/wl_protocols.h"

inline constexpr int32_t WL_MAX_OUTPUTS = 8;

struct WlOutput {
    wl_output* output;
    uint32_t name;  // the registry's
    int32_t scale;
    int32_t width, height;  // the current mode
    int32_t refresh;        // its rate in Hz, 0 when unknown
    bool entered;           // the surface is on it
};

// A buffer of the surface in shared memory, and the picture rows it does
// not show yet.
struct WlBuffer {
    wl_buffer* buffer;
    uint8_t* pixels;
    size_t size;
    int32_t stride;
    bool busy;                   // the compositor has not released it
    std::vector<uint8_t> stale;  // per picture row
};

struct WlGlobals {
    wl_compositor* compositor;
    wl_shm* shm;
    wl_seat* seat;
    xdg_wm_base* wm_base;
    zxdg_decoration_manager_v1* decoration_manager;
    zwp_idle_inhibit_manager_v1* idle_manager;
    wp_viewporter* viewporter;
    wp_fractional_scale_manager_v1* fractional_manager;
    WlOutput outputs[WL_MAX_OUTPUTS];
    int32_t output_count;
};

struct WlWindow {
    wl_surface* surface;
    xdg_surface* xdg;
    xdg_toplevel* toplevel;
    zxdg_toplevel_decoration_v1* decoration;
    libdecor_frame* frame;
    zwp_idle_inhibitor_v1* inhibitor;
    wp_viewport* viewport;
    wp_fractional_scale_v1* fractional;
    bool configured;                  // the first configure came: the surface may show
    bool needs_commit;                // a configure to answer with a buffer
    bool shown_fullscreen;            // the compositor shows it full screen
    int32_t area_width, area_height;  // the configure's size, 0 for the window's own
    int32_t scale120;                 // the preferred fractional scale, 0 for none
    WlGeometry geometry;
};

struct WlPicture {
    std::vector<uint32_t> pixels;  // the visible page converted, picture-sized
    std::vector<uint8_t> damage;   // rows changed since the last frame
    WlBuffer buffers[2];
    int32_t buffer_width, buffer_height;  // of the buffers made
    wl_callback* frame_callback;          // a frame is on its way to the screen
};

struct WlInput {
    wl_keyboard* keyboard;
    wl_pointer* pointer;
    // Key repeat, done here from the compositor's rate and delay.
    int32_t repeat_rate, repeat_delay;  // per second, milliseconds
    uint32_t repeat_key;                // xkb keycode, 0 for none
    int64_t repeat_next_ms;             // when it repeats next
    std::vector<uint8_t> keys_down;     // by xkb keycode
    bool keys_changed;                  // the key states are to be read again
    uint32_t pointer_serial;            // of the last enter, for the cursor
    wl_surface* cursor_surface;
    wl_cursor_theme* cursor_theme;
};

struct WaylandState {
    wl_display* display;
    wl_registry* registry;
    WlGlobals globals;
    // libdecor's context, made with the first frame and kept for the
    // connection: its making waits for the compositor, which a full-screen
    // switch, inside a key event's handling, must not.
    libdecor* decor;
    WlWindow window;
    WlPicture picture;
    WlInput input;
    bool lost;  // the connection is gone
    bool loss_reported;
};

WaylandState& wl_state();

// wl_connection.cpp: the connection, the globals, the outputs, its loss.
// A compositor to connect to is there: WAYLAND_SOCKET, or the socket
// WAYLAND_DISPLAY names.
bool wl_display_named();
int32_t wl_connect();
void wl_disconnect();
// Sends what was asked and checks the connection: false once it is lost.
bool wl_flush();
// Tells the program, once, that the compositor went away.
void wl_report_loss();
// The integer scale of the outputs the surface is on (of all outputs
// before it is on one).
int32_t wl_output_scale();
void wl_output_entered(wl_output* output, bool entered);

// wl_window.cpp: the window, its shell and decorations. wl_window_init
// makes the surface and its toplevel for the request as it stands (within
// a pass too: a full-screen switch), wl_window_show_first waits for the
// first configure and answers it; wl_window_exit takes them down.
int32_t wl_window_init();
bool wl_window_show_first();
void wl_window_exit();
// The compositor configured the toplevel (xdg-shell's or libdecor's).
void wl_window_configure(int32_t width, int32_t height, bool fullscreen, bool maximised);
// The geometry for the scale and state as they stand; buffers follow.
void wl_window_update_geometry();
void wl_window_set_title(const char* title);
void wl_apply_requests();

// wl_shell_xdg.cpp and wl_shell_decor.cpp: the toplevel, plain or with
// libdecor's frame; each commits the configure it was given.
bool wl_shell_xdg_create();
void wl_shell_xdg_destroy();
void wl_shell_xdg_set_title(const char* title);
// The window's one size, again after the geometry changed it.
void wl_shell_xdg_fix_size();
void wl_shell_decor_fix_size();
bool wl_shell_decor_create();
void wl_shell_decor_destroy();
void wl_shell_decor_release();  // the context, with the connection
void wl_shell_decor_set_title(const char* title);
// Answers libdecor's configure with the surface's size.
void wl_shell_decor_commit();

// wl_picture.cpp: buffers, the converted page, frames.
int32_t wl_picture_init();
void wl_picture_exit();
// Under the display lock: the dirty rows of the visible page into the
// picture, recorded as damage.
bool wl_picture_take_rows();  // whether it took rows
// Outside the lock: a frame for the damage, when the compositor can show
// one (or a configure wants an answer).
void wl_picture_show();
// Every row to be shown again (a new geometry, a configure).
void wl_picture_damage_all();
bool wl_picture_pending();  // damage waits for a frame

// wl_keyboard.cpp and wl_pointer.cpp: the seat's devices.
void wl_seat_capabilities(uint32_t capabilities);
void wl_keyboard_start(wl_seat* seat);
void wl_keyboard_stop();
void wl_input_exit();
// Key repeat due by now; the time until the next one (-1 for none).
void wl_keyboard_repeat(int64_t now_ms);
int64_t wl_keyboard_repeat_wait(int64_t now_ms);
void wl_keyboard_refresh_states();
void wl_pointer_cursor_changed();

// wl_modes.cpp: the outputs' sizes, over a connection of its own.
int32_t* wl_fetch_modes(int32_t depth, int32_t* count);

// wl_refresh.cpp: the refresh thread.
void wl_thread_main();
int64_t wl_now_ms();
