#pragma once
// Test aids for the Wayland back-end: compositors of the test's own and a
// user at them. Sway's headless back-end (sway refuses to run as root: it
// runs as "nobody" then, in a runtime folder of that user's) with wtype for
// the keyboard, grim for screenshots and swaymsg to find, focus and close
// windows; and weston, which draws no frames for its clients, on an X
// server of its own, so that its pointer can click and its screenshots be
// read from the X server.
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "support/posix/child_env.h"
#include "support/scratch_dir.h"
#include "support/x11/x_server.h"

// A picture read from a screenshot, row by row.
struct Screenshot {
    int width = 0, height = 0;
    std::vector<Rgb> pixels;
    Rgb at(int x, int y) const { return pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + x]; }
};

// A window as sway lays it out, in the output's units (logical pixels).
struct SwayWindow {
    bool found = false;
    int x = 0, y = 0, width = 0, height = 0;  // the client's surface on the output
    std::string title;
    bool focused = false;
    bool floating = false;
    bool fullscreen = false;
    bool inhibit_idle = false;
};

class SwaySession {
   public:
    // One headless output of 1024 x 768 logical pixels at the given scale.
    explicit SwaySession(int scale = 1);
    ~SwaySession();
    SwaySession(const SwaySession&) = delete;
    SwaySession& operator=(const SwaySession&) = delete;

    // sway, swaymsg, grim and wtype are installed.
    static bool installed();
    bool running() const { return pid_ > 0 && !socket_.empty(); }
    int scale() const { return scale_; }
    // What the compositor wrote, for a test that failed to start it.
    std::string log() const;
    // What a client needs to find the compositor.
    EnvChanges client_env() const;
    // Points this process's Wayland clients at the compositor.
    void use_in_this_process() const;

    // swaymsg with the arguments; its standard output. `ok` tells whether
    // it succeeded.
    std::string swaymsg(const std::vector<std::string>& args, bool* ok = nullptr) const;
    SwayWindow window(const std::string& app_id) const;
    // Waits up to `limit` for a window of the app_id.
    SwayWindow wait_for_window(const std::string& app_id,
                               std::chrono::milliseconds limit = std::chrono::seconds(10)) const;
    bool focus(const std::string& app_id) const;
    // The close request a window manager sends (sway's "kill").
    bool close(const std::string& app_id) const;
    // To an empty workspace and back: the windows there lose the keyboard
    // and get it again.
    bool leave_workspace() const;
    bool return_to_workspace() const;
    // wtype with the arguments; false when it failed.
    bool wtype(const std::vector<std::string>& args) const;
    // A screenshot of a rectangle of the output (logical pixels), in device
    // pixels.
    Screenshot grim(int x, int y, int width, int height) const;
    // Ends the compositor at once, as a crash would.
    void kill_now();

   private:
    int pid_ = -1;
    int keyboard_pid_ = -1;  // a virtual keyboard that stays: see the constructor
    int scale_ = 1;
    ScratchDir dir_;
    std::string runtime_dir_, socket_, ipc_socket_;
};

// Weston on an Xvfb of its own (its X11 back-end, software rendering).
class WestonSession {
   public:
    WestonSession();
    ~WestonSession();
    WestonSession(const WestonSession&) = delete;
    WestonSession& operator=(const WestonSession&) = delete;

    static bool installed();
    bool running() const { return pid_ > 0 && output_ != 0; }
    std::string log() const;
    EnvChanges client_env() const;
    // The compositor's output as the X server shows it.
    Screenshot screenshot() const;
    // The pointer to (x, y) of the output; and a left click there.
    void move(int x, int y) const;
    void click(int x, int y) const;
    // Keys typed on the X server's keyboard, which weston reads.
    void xdotool(const std::vector<std::string>& args) const;

   private:
    int pid_ = -1;
    ScratchDir dir_;
    std::string runtime_dir_;
    std::unique_ptr<XvfbServer> server_;
    std::unique_ptr<XClient> client_;
    Window output_ = 0;
};

// A title bar with text in a colour of its own above a 512-pixel-wide
// picture whose top-left corner is (x, y): libdecor's frame.
bool title_bar_above(const Screenshot& shot, int x, int y);

// Where `part` (width x rows, row by row) appears in `shot`: false when
// nowhere.
bool find_picture(const Screenshot& shot, const std::vector<Rgb>& part, int width, int rows, int* x, int* y);
