#pragma once
#include <cstdint>

struct GfxEvent;

// The window procedure's platform-independent half: what key presses,
// typed characters, focus changes, close requests and mouse input do to
// the key queue, the key states, the mouse state and the screen's event
// queue. A back-end maps its own window events onto these calls. All of
// them run on the refresh thread while it holds the display lock, or, for
// a window without a refresh thread (OpenGL), on the program's thread.

// Event types of the screen's event queue.
enum GfxEventType : int32_t {
    EVENT_KEY_PRESS = 1,           // scan code, key code when below 256 else 0
    EVENT_KEY_RELEASE = 2,         // as for press
    EVENT_KEY_REPEAT = 3,          // as for press
    EVENT_MOUSE_MOVE = 4,          // x, y (client pixels), dx, dy (screen pixels)
    EVENT_MOUSE_PRESS = 5,         // button bit
    EVENT_MOUSE_RELEASE = 6,       // button bit
    EVENT_MOUSE_DOUBLE_CLICK = 7,  // button bit
    EVENT_MOUSE_WHEEL = 8,         // new wheel value
    EVENT_MOUSE_ENTER = 9,
    EVENT_MOUSE_EXIT = 10,
    EVENT_WINDOW_GOT_FOCUS = 11,
    EVENT_WINDOW_LOST_FOCUS = 12,
    EVENT_WINDOW_CLOSE = 13,
    EVENT_MOUSE_HWHEEL = 14,  // new horizontal wheel value
};

// Mouse button bits.
inline constexpr int32_t MOUSE_LEFT = 1;
inline constexpr int32_t MOUSE_RIGHT = 2;
inline constexpr int32_t MOUSE_MIDDLE = 4;
inline constexpr int32_t MOUSE_EXTRA1 = 8;
inline constexpr int32_t MOUSE_EXTRA2 = 16;

// Appends an event to the screen's queue under its own lock; a full queue
// drops its oldest event. Nothing without a screen.
void event_post(const GfxEvent& event);

inline constexpr int32_t NO_SCREEN_POSITION = 65535;

struct MouseState {
    int32_t inside;          // the pointer is over the client area
    int32_t last_x, last_y;  // client pixels
    int32_t wheel, hwheel;   // notch counters
    int32_t buttons;         // MOUSE_* bits held
    int32_t last_screen_x;   // NO_SCREEN_POSITION until the first move
    int32_t last_screen_y;
    int32_t tracking;      // a leave notice is armed
    int32_t cursor_shown;  // 1 at window start
    int32_t clip;          // the pointer is kept inside the client area
};

MouseState& mouse_state();

// Mouse state back to its start values (window start and end).
void window_events_reset();

// One key press or release as the window saw it.
struct KeyMessage {
    int32_t virtual_key;
    int32_t scan_code;   // PC scan code of the key (set 1)
    uint32_t modifiers;  // KEYMOD_* bits held, KEYMOD_ENHANCED for enhanced keys
    int32_t character;   // what the key types now, as a signed CP437 byte; 0 for none
    int32_t repeat;      // presses this message stands for (at least 1)
    bool was_down;       // the key was already down: an autorepeat
    bool system_key;     // a system key: pressed with Alt, or F10
};

// A key press: posts the key's code when it is an extended key (above
// 255), as often as the repeat count, and its event. Alt+Return switches
// between window and full screen instead; an inactive window leaves system
// keys alone. True when the platform's default handling of the key is to
// follow; false for keys that must not reach it (F10 and Alt would open
// the window menu, a close key would close the window, Alt+Return).
bool window_key_down(const KeyMessage& key);
bool window_key_up(const KeyMessage& key);

// A typed character (code page 437 byte): posted as a signed byte, as often
// as the repeat count. Printable keys reach the key queue only this way.
void window_typed(int32_t cp437, int32_t repeat);

// The user asked to close the window: the window-close key, once, and its
// event. The window stays.
void window_close_request();

// The window system went away: a closed window, and whatever waits for
// input learns that none will come. Once: `reported` remembers it.
void window_system_lost(bool& reported);

// Input focus gained or lost. A window activated while minimised counts
// as inactive but reports no focus loss.
void window_activate(bool active, bool while_minimised = false);

// The 128 key states from the platform's keyboard: vk_down has one byte
// per virtual key, nonzero while down.
void window_refresh_key_states(const uint8_t vk_down[256]);

// Mouse input, positions in client pixels of the picture and in screen
// pixels.
void window_mouse_move(int32_t x, int32_t y, int32_t screen_x, int32_t screen_y);
void window_mouse_button(int32_t type, int32_t bits);  // EVENT_MOUSE_PRESS / _RELEASE / _DOUBLE_CLICK
void window_mouse_wheel(int32_t delta);
void window_mouse_hwheel(int32_t delta);
void window_mouse_enter();
void window_mouse_leave();
// Arms the leave notice when the window is active and none is armed, and
// reports the pointer's entry.
void window_track_pointer();

// Window mode <-> full screen, unless SCREEN_NO_SWITCH: the back-end's
// window exit and init with the full-screen flag flipped, falling back to
// the previous mode.
void fullscreen_toggle();

// The get_mouse and set_mouse slots of window drivers (drawing thread,
// under the display lock). The platform moves the pointer, shows or hides
// the cursor and confines the pointer (window_platform.h).
int32_t window_get_mouse(int32_t* x, int32_t* y, int32_t* wheel, int32_t* buttons, int32_t* clip);
void window_set_mouse(int32_t x, int32_t y, int32_t cursor, int32_t clip);
