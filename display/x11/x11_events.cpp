#include <cstdlib>

#include "display/display_window.h"
#include "display/posix/posix_window.h"
#include "display/window_events.h"
#include "display/x11/x11_backend.h"
#include "gfx/screen.h"

namespace {

// Events handled in one pass at most, so that a flood cannot keep the
// display lock from the drawing thread; the rest wait for the next pass.
constexpr int EVENTS_PER_PASS = 512;

constexpr Time DOUBLE_CLICK_MS = 500;
constexpr int DOUBLE_CLICK_DISTANCE = 4;

// Further presses of a held key already queued behind this one: one call
// with a repeat count stands for all of them.
int32_t queued_repeats(const XKeyEvent& first) {
    X11State& x = x11_state();
    int32_t repeat = 1;
    while (x11.XEventsQueued(x.display, QueuedAlready) > 0) {
        XEvent next;
        x11.XPeekEvent(x.display, &next);
        if (next.type != KeyPress || next.xkey.keycode != first.keycode || next.xkey.state != first.state ||
            next.xkey.window != first.window)
            break;
        x11.XNextEvent(x.display, &next);
        if (x11.XFilterEvent(&next, None)) break;
        ++repeat;
    }
    return repeat;
}

void key_press(XKeyEvent& event) {
    const bool held = x11_state().key_down[event.keycode & 0xFF] != 0;
    x11_key_press(&event, held ? queued_repeats(event) : 1);
}

bool is_double_click(const XButtonEvent& b) {
    X11State& x = x11_state();
    const bool twice = x.last_press_button == b.button && b.time - x.last_press_time <= DOUBLE_CLICK_MS &&
                       std::abs(b.x - x.last_press_x) <= DOUBLE_CLICK_DISTANCE &&
                       std::abs(b.y - x.last_press_y) <= DOUBLE_CLICK_DISTANCE;
    // A third press starts again.
    x.last_press_button = twice ? 0 : b.button;
    x.last_press_time = b.time;
    x.last_press_x = b.x;
    x.last_press_y = b.y;
    return twice;
}

int32_t button_bit(unsigned int button) {
    switch (button) {
    case Button1: return MOUSE_LEFT;
    case Button2: return MOUSE_MIDDLE;
    case Button3: return MOUSE_RIGHT;
    case 8: return MOUSE_EXTRA1;
    case 9: return MOUSE_EXTRA2;
    default: return 0;
    }
}

// Buttons 4 and 5 turn the wheel, 6 and 7 the horizontal wheel.
void button_press(const XButtonEvent& b) {
    switch (b.button) {
    case Button4: return window_mouse_wheel(1);
    case Button5: return window_mouse_wheel(-1);
    case 6: return window_mouse_hwheel(-1);
    case 7: return window_mouse_hwheel(1);
    default: break;
    }
    const int32_t bit = button_bit(b.button);
    if (bit) window_mouse_button(is_double_click(b) ? EVENT_MOUSE_DOUBLE_CLICK : EVENT_MOUSE_PRESS, bit);
}

void button_release(const XButtonEvent& b) {
    const int32_t bit = button_bit(b.button);
    if (bit) window_mouse_button(EVENT_MOUSE_RELEASE, bit);
}

void pointer_at(int x, int y, int root_x, int root_y) {
    x11_window_to_picture(&x, &y);
    window_mouse_move(x, y, root_x, root_y);
}

// Focus moved to or from the window itself; grabs and the pointer's
// comings and goings within it change nothing.
void focus_change(const XFocusChangeEvent& f, bool focused) {
    if (f.mode == NotifyGrab || f.mode == NotifyUngrab || f.detail == NotifyPointer) return;
    x11_keyboard_focus(focused);
    window_activate(focused);
}

// The window comes to the front with the input focus. The request carries
// the time of the window's making (its properties' change notices come
// before the map): a focus given elsewhere since then stays there.
void first_map() {
    X11State& x = x11_state();
    if (x.focus_asked) return;
    x.focus_asked = true;
    x11.XSetInputFocus(x.display, x.window, RevertToParent, x.server_time ? x.server_time : CurrentTime);
}

bool maximised() {
    X11State& x = x11_state();
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    if (x11.XGetWindowProperty(x.display, x.window, x.atoms.net_wm_state, 0, 32, False, XA_ATOM, &type, &format, &count,
                               &after, &data) != Success ||
        !data)
        return false;
    bool found = false;
    const auto* atoms = reinterpret_cast<const Atom*>(data);
    for (unsigned long i = 0; i < count && format == 32; ++i)
        found =
            found || atoms[i] == x.atoms.net_wm_state_maximized_vert || atoms[i] == x.atoms.net_wm_state_maximized_horz;
    x11.XFree(data);
    return found;
}

// Maximising a window switches to full screen.
void state_changed(const XPropertyEvent& p) {
    const DisplayWindow& w = display_window();
    if (p.atom == x11_state().atoms.net_frame_extents) return x11_frame_extents_changed();
    if (p.atom != x11_state().atoms.net_wm_state || (w.flags & SCREEN_FULLSCREEN) || !w.active) return;
    if (maximised()) fullscreen_toggle();
}

void client_message(const XClientMessageEvent& c) {
    const X11Atoms& a = x11_state().atoms;
    if (c.message_type == a.wm_protocols && static_cast<Atom>(c.data.l[0]) == a.wm_delete_window)
        window_close_request();
}

void window_event(XEvent& ev) {
    if (ev.type == KeyPress || ev.type == KeyRelease || ev.type == FocusIn) x11_state().keys_changed = true;
    switch (ev.type) {
    case KeyPress: return key_press(ev.xkey);
    case KeyRelease: return x11_key_release(&ev.xkey);
    case ButtonPress: return button_press(ev.xbutton);
    case ButtonRelease: return button_release(ev.xbutton);
    case MotionNotify: return pointer_at(ev.xmotion.x, ev.xmotion.y, ev.xmotion.x_root, ev.xmotion.y_root);
    case EnterNotify:
        if (ev.xcrossing.mode == NotifyNormal)
            pointer_at(ev.xcrossing.x, ev.xcrossing.y, ev.xcrossing.x_root, ev.xcrossing.y_root);
        return;
    case LeaveNotify:
        if (ev.xcrossing.mode == NotifyNormal) window_mouse_leave();
        return;
    case FocusIn: return focus_change(ev.xfocus, true);
    case FocusOut: return focus_change(ev.xfocus, false);
    case Expose:
        if (ev.xexpose.count == 0) x11_paint();
        return;
    case MapNotify: return first_map();
    case ConfigureNotify:
    case ReparentNotify: return x11_frame_moved();
    case PropertyNotify: x11_state().server_time = ev.xproperty.time; return state_changed(ev.xproperty);
    case ClientMessage: return client_message(ev.xclient);
    default: return;
    }
}

}  // namespace

// The window procedure: every queued event of the window, in order.
void x11_drain_events() {
    X11State& x = x11_state();
    for (int n = 0; n < EVENTS_PER_PASS && !x.lost && x11.XPending(x.display) > 0; ++n) {
        XEvent ev;
        x11.XNextEvent(x.display, &ev);
        if (x11.XFilterEvent(&ev, None)) continue;
        if (ev.type == MappingNotify) {
            x11_keyboard_mapping_changed(&ev.xmapping);
            x.keys_changed = true;
            continue;
        }
        // Events of a window left behind by a full-screen switch are stale.
        if (x.window && ev.xany.window == x.window) window_event(ev);
    }
}
