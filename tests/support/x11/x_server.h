#pragma once
// Test aids for the display: an X server of the test's own (Xvfb), the
// xdotool command against it, and a client connection that looks at
// windows the way a user or a window manager would.
#include <X11/Xlib.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

// Xvfb on a free display, started at construction, ended at destruction.
class XvfbServer {
   public:
    explicit XvfbServer(const std::string& screen = "1024x768x24");
    ~XvfbServer();
    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;

    static bool installed();
    bool running() const { return pid_ > 0; }
    const std::string& display() const { return display_; }  // ":N"
    // Ends the server now, as a crashing or closed X server would go.
    void stop();
    // Runs xdotool on this display; its standard output, trimmed. Returns
    // false in `ok` when it failed.
    std::string xdotool(const std::vector<std::string>& args, bool* ok = nullptr) const;

   private:
    int pid_ = -1;
    std::string display_;
};

// A window manager that frames the windows it manages (openbox, run for
// the test) on a server. running() once it has taken the screen.
class FramingWindowManager {
   public:
    explicit FramingWindowManager(const std::string& display);
    ~FramingWindowManager();
    FramingWindowManager(const FramingWindowManager&) = delete;
    FramingWindowManager& operator=(const FramingWindowManager&) = delete;

    static bool installed();
    bool running() const { return pid_ > 0; }

   private:
    int pid_ = -1;
};

struct Rgb {
    uint8_t r, g, b;
    bool operator==(const Rgb&) const = default;
};

// The test's own connection to a server. Must be closed before the
// server goes. It makes protocol errors harmless process-wide; in-process
// tests make it before opening a screen, so that the display keeps that
// handler when it gives its own back.
class XClient {
   public:
    explicit XClient(const std::string& display);
    ~XClient();
    XClient(const XClient&) = delete;
    XClient& operator=(const XClient&) = delete;

    bool connected() const { return display_ != nullptr; }
    Display* display() const { return display_; }
    // A top-level window with this name (WM_NAME), waiting up to `wait`.
    Window find_window(const std::string& name, std::chrono::milliseconds wait = std::chrono::seconds(10)) const;
    bool exists(Window w) const;
    std::string name_of(Window w) const;
    // Position relative to the root and size; false when gone.
    bool geometry(Window w, int* x, int* y, int* width, int* height) const;
    // The window's pixels as 8-bit channels, row by row; empty when gone.
    std::vector<Rgb> pixels(Window w, int* width, int* height) const;
    // A property of the window as a list of 32-bit items (Xlib hands them
    // out in longs), at most `length` of them; empty when it has none.
    std::vector<long> property(Window w, const char* name, Atom type, long length = 64) const;
    // What the close button does: WM_DELETE_WINDOW.
    void send_close(Window w) const;
    // The window manager marking the window maximised.
    void mark_maximised(Window w) const;
    // Gives the input focus to a window of the test's own, made the first
    // time and kept until destruction.
    void focus_elsewhere();
    // Gives the input focus to the window, as a click on it does, and waits
    // until the server has it there: false when it never comes.
    bool give_focus(Window w) const;
    // Puts the keysyms on free key codes, as a keyboard that has those keys
    // would. (xdotool's own remapping for each key races with the client.)
    void bind_keysyms(const std::vector<KeySym>& keysyms) const;
    Atom atom(const char* name) const;
    // The screen's resource database (RESOURCE_MANAGER), as xrdb sets it;
    // programs read it when they connect.
    void set_resources(const std::string& text) const;
    // The window's outermost ancestor below the root (its frame when a
    // window manager framed it; itself otherwise).
    Window frame_of(Window w) const;

   private:
    bool takes_focus(Window w) const;
    // A WM_PROTOCOLS client message, as the window manager sends it.
    void send_protocol(Window w, const char* protocol) const;

    Display* display_ = nullptr;
    Window decoy_ = 0;
};

// Polls `done` until it holds or the time is up.
template <class F>
bool wait_until(F done, std::chrono::milliseconds limit = std::chrono::seconds(10)) {
    const auto end = std::chrono::steady_clock::now() + limit;
    for (;;) {
        if (done()) return true;
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}
