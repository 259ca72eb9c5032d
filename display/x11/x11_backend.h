#pragma once
// The X11 back-end's own state and the pieces its files share. Everything
// here is used by one thread only, the one that talks to the X server: the
// refresh thread of the X11 driver, or the program's thread under the
// OpenGL driver, which makes its window with these pieces too. Only one
// of the two drivers is open at a time.
#include <cstdint>

#include "display/converters.h"
#include "display/x11/x11_symbols.h"

struct X11Image {
    XImage* image;
    XShmSegmentInfo shm;
    bool shared;  // a shared-memory image
};

struct X11Atoms {
    Atom wm_protocols, wm_delete_window;
    Atom net_wm_name, utf8_string;
    Atom net_wm_state, net_wm_state_fullscreen, net_wm_state_above;
    Atom net_wm_state_maximized_vert, net_wm_state_maximized_horz;
    Atom motif_wm_hints;
    Atom net_wm_icon;
    Atom net_frame_extents;
};

struct X11State {
    // The connection.
    Display* display;
    int screen;
    Window root;
    Visual* visual;
    int visual_depth;
    Colormap colormap;
    bool own_colormap;
    XIM im;
    X11Atoms atoms;
    int error_code;  // the last protocol error on the connection, 0 for none
    // The window is an OpenGL drawable the program fills itself: it keeps
    // the picture's size in full screen too, with nothing to scale.
    bool drawn_by_program;
    bool lost;  // the connection is gone
    bool loss_reported;

    // The window.
    Window window;
    XIC ic;
    GC gc;
    Cursor blank_cursor;
    bool pointer_confined;
    bool focus_asked;
    Time server_time;  // the latest time stamp the server sent, 0 for none yet
    int monitor_x, monitor_y, monitor_width, monitor_height;

    // The picture: the converted visible page, and in full screen the same
    // scaled by a whole factor, centred.
    X11Image picture;
    X11Image scaled;
    int scale;
    int offset_x, offset_y;
    int desktop_scale;          // the desktop's scale, from its resources (x11_desktop.cpp)
    int frame_left, frame_top;  // the window manager's frame around the window
    bool frame_centring;        // centre the window by its frame once the frame is known
    bool put_unsynced;          // a shared image was put and the server may still read it
    bool keys_changed;          // key or focus events since the key states were last read

    // The keyboard.
    uint8_t keycode_vk[256];  // virtual key of each key code, 0 for none
    uint8_t key_down[256];    // by key code, for telling autorepeat apart

    // Double clicks, told from two presses close in time and place.
    Time last_press_time;
    unsigned int last_press_button;
    int last_press_x, last_press_y;
};

X11State& x11_state();

// x11_connection.cpp: the connection, its error handlers and its loss.
// x11_connect opens it; x11_open_display also chooses the visual for the
// picture.
int32_t x11_connect();
// A display to connect to is named (DISPLAY): without one the libraries
// are not even loaded.
bool x11_display_named();
int32_t x11_open_display();
void x11_close_display();
// Tells the program, once, that the connection is gone.
void x11_report_loss();
// Requests whose failure matters: x11_begin_checked forgets earlier
// errors, x11_sync_ok waits until the server has handled every request
// sent so far and tells whether none failed since then.
void x11_begin_checked();
bool x11_sync_ok();

// x11_window.cpp: the window. x11_window_init makes and shows the
// picture's window with the connection's visual: x11_window_create (placed
// and styled for the request, not yet shown), the picture, x11_window_show.
// x11_window_restyle places and styles a hidden window again for the
// request as it stands (a full-screen switch).
int32_t x11_window_init();
int32_t x11_window_create();
int32_t x11_window_show();
void x11_window_hide();
void x11_window_restyle();
void x11_window_exit();
void x11_confine_pointer(int32_t on);
void x11_apply_requests();

// x11_framebuffer.cpp: the picture.
bool x11_choose_visual();
Converter x11_choose_converter(const XImage* image);
int32_t x11_framebuffer_init();
void x11_framebuffer_exit();
bool x11_refresh_picture();  // whether it copied rows
void x11_paint();
// Window coordinates to picture pixels (full screen scales and centres).
void x11_window_to_picture(int* x, int* y);

// x11_keyboard.cpp: keys and typed text.
void x11_keyboard_init();
void x11_keyboard_exit();
void x11_keyboard_focus(bool focused);
void x11_keyboard_mapping_changed(XMappingEvent* event);
void x11_key_press(XKeyEvent* event, int32_t repeat);
void x11_key_release(XKeyEvent* event);
// After a drain: the key states read from the keyboard when the window is
// active and key, focus or mapping events came since the last reading.
void x11_refresh_key_states();

// x11_events.cpp: the window procedure over X events.
void x11_drain_events();

// x11_desktop.cpp: the desktop's scale, Xft.dpi / 96 rounded down, at
// least 1.
int x11_desktop_scale(Display* display);

// x11_screen_saver.cpp: the screen saver held off while the window is open.
void x11_hold_screen_saver(bool hold);

// x11_frame.cpp: the window manager's frame. When its extents are first
// known the window is centred by the frame; positions are the frame's.
void x11_frame_extents_changed();
void x11_frame_moved();

// x11_modes.cpp: monitors, refresh rate, the mode list.
void x11_find_monitor(int* x, int* y, int* width, int* height);
int32_t x11_refresh_rate();
int32_t* x11_fetch_modes(int32_t depth, int32_t* count);
// The display's sizes for `depth`: with `exact_depth`, when it is the
// display's bits per pixel; otherwise when it is the display's depth or
// the depth stored alike (15/16, 24/32). Over a connection of its own.
int32_t* x11_list_modes(int32_t depth, int32_t* count, bool exact_depth);

// x11_refresh.cpp: the refresh thread.
void x11_thread_main();
