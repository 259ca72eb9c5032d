#include "support/x11/x_server.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

bool executable(const char* name) {
    const char* path = std::getenv("PATH");
    std::string dirs = path ? path : "/usr/bin:/bin";
    size_t start = 0;
    while (start <= dirs.size()) {
        size_t end = dirs.find(':', start);
        if (end == std::string::npos) end = dirs.size();
        std::string candidate = dirs.substr(start, end - start) + "/" + name;
        if (access(candidate.c_str(), X_OK) == 0) return true;
        start = end + 1;
    }
    return false;
}

// Reads the display number Xvfb writes once it accepts connections.
std::string read_display_number(int fd) {
    std::string number;
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(15);
    while (std::chrono::steady_clock::now() < end) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, 100) <= 0) continue;
        char c;
        ssize_t n = read(fd, &c, 1);
        if (n <= 0) break;
        if (c == '\n') return number;
        number.push_back(c);
    }
    return {};
}

void silence_output() {
    int null = open("/dev/null", O_WRONLY);
    if (null < 0) return;
    dup2(null, STDOUT_FILENO);
    dup2(null, STDERR_FILENO);
    close(null);
}

int ignore_errors(Display*, XErrorEvent*) { return 0; }

}  // namespace

bool XvfbServer::installed() { return executable("Xvfb"); }

bool FramingWindowManager::installed() { return executable("openbox"); }

FramingWindowManager::FramingWindowManager(const std::string& display) {
    if (!installed()) return;
    pid_t pid = fork();
    if (pid == 0) {
        silence_output();
        setenv("DISPLAY", display.c_str(), 1);
        execlp("openbox", "openbox", "--sm-disable", static_cast<char*>(nullptr));
        _exit(127);
    }
    if (pid < 0) return;
    pid_ = pid;
    // It has the screen once it announces itself on the root window.
    Display* d = XOpenDisplay(display.c_str());
    if (!d) return;
    const Atom check = XInternAtom(d, "_NET_SUPPORTING_WM_CHECK", False);
    const bool ready = wait_until([&] {
        Atom type = None;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        const bool found = XGetWindowProperty(d, DefaultRootWindow(d), check, 0, 1, False, XA_WINDOW, &type, &format,
                                              &count, &after, &data) == Success &&
                           count == 1;
        if (data) XFree(data);
        return found;
    });
    XCloseDisplay(d);
    if (!ready) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }
}

FramingWindowManager::~FramingWindowManager() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
}

XvfbServer::XvfbServer(const std::string& screen) {
    int fds[2];
    if (!installed() || pipe(fds) != 0) return;
    pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        silence_output();
        std::string fd = std::to_string(fds[1]);
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen.c_str(), "-nolisten", "tcp",
               static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    if (pid < 0) {
        close(fds[0]);
        return;
    }
    pid_ = pid;
    std::string number = read_display_number(fds[0]);
    close(fds[0]);
    if (number.empty()) {
        stop();
        return;
    }
    display_ = ":" + number;
}

XvfbServer::~XvfbServer() { stop(); }

void XvfbServer::stop() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
}

std::string XvfbServer::xdotool(const std::vector<std::string>& args, bool* ok) const {
    int out[2];
    if (ok) *ok = false;
    if (pipe(out) != 0) return {};
    pid_t pid = fork();
    if (pid == 0) {
        close(out[0]);
        dup2(out[1], STDOUT_FILENO);
        int null = open("/dev/null", O_WRONLY);
        if (null >= 0) dup2(null, STDERR_FILENO);
        setenv("DISPLAY", display_.c_str(), 1);
        std::vector<char*> argv = {const_cast<char*>("xdotool")};
        for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execvp("xdotool", argv.data());
        _exit(127);
    }
    close(out[1]);
    std::string text;
    char buf[256];
    ssize_t n;
    while ((n = read(out[0], buf, sizeof buf)) > 0) text.append(buf, static_cast<size_t>(n));
    close(out[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    if (ok) *ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
    return text;
}

XClient::XClient(const std::string& display) {
    XSetErrorHandler(ignore_errors);
    display_ = XOpenDisplay(display.c_str());
}

XClient::~XClient() {
    if (!display_) return;
    if (decoy_) XDestroyWindow(display_, decoy_);
    XCloseDisplay(display_);
}

Atom XClient::atom(const char* name) const { return XInternAtom(display_, name, False); }

std::string XClient::name_of(Window w) const {
    char* name = nullptr;
    if (!XFetchName(display_, w, &name) || !name) return {};
    std::string result = name;
    XFree(name);
    return result;
}

// Top-level windows are the root's children, or under a window manager
// that frames them, its frames' children.
Window XClient::find_window(const std::string& name, std::chrono::milliseconds wait) const {
    Window found = 0;
    const auto search = [&](Window under, int depth, auto& self) -> void {
        Window root, parent, *children = nullptr;
        unsigned int count = 0;
        if (!XQueryTree(display_, under, &root, &parent, &children, &count)) return;
        for (unsigned int i = 0; i < count && !found; ++i) {
            if (name_of(children[i]) == name)
                found = children[i];
            else if (depth > 1)
                self(children[i], depth - 1, self);
        }
        if (children) XFree(children);
    };
    wait_until(
        [&] {
            search(DefaultRootWindow(display_), 3, search);
            return found != 0;
        },
        wait);
    return found;
}

bool XClient::exists(Window w) const {
    XWindowAttributes a;
    XSync(display_, False);
    return XGetWindowAttributes(display_, w, &a) != 0;
}

bool XClient::geometry(Window w, int* x, int* y, int* width, int* height) const {
    XWindowAttributes a;
    if (!XGetWindowAttributes(display_, w, &a)) return false;
    Window child;
    XTranslateCoordinates(display_, w, a.root, 0, 0, x, y, &child);
    *width = a.width;
    *height = a.height;
    return true;
}

namespace {

uint8_t channel(unsigned long pixel, unsigned long mask) {
    if (!mask) return 0;
    int shift = 0;
    while (!((mask >> shift) & 1)) ++shift;
    const unsigned long bits = mask >> shift;
    const unsigned long value = (pixel & mask) >> shift;
    int width = 0;
    while ((bits >> width) & 1) ++width;
    return static_cast<uint8_t>(width >= 8 ? value >> (width - 8) : value << (8 - width));
}

}  // namespace

std::vector<Rgb> XClient::pixels(Window w, int* width, int* height) const {
    XWindowAttributes a;
    if (!XGetWindowAttributes(display_, w, &a)) return {};
    XImage* image = XGetImage(display_, w, 0, 0, static_cast<unsigned>(a.width), static_cast<unsigned>(a.height),
                              AllPlanes, ZPixmap);
    if (!image) return {};
    std::vector<Rgb> out;
    out.reserve(static_cast<size_t>(a.width) * static_cast<size_t>(a.height));
    for (int y = 0; y < a.height; ++y)
        for (int x = 0; x < a.width; ++x) {
            const unsigned long p = XGetPixel(image, x, y);
            out.push_back({channel(p, image->red_mask), channel(p, image->green_mask), channel(p, image->blue_mask)});
        }
    XDestroyImage(image);
    *width = a.width;
    *height = a.height;
    return out;
}

std::vector<long> XClient::property(Window w, const char* name, Atom type, long length) const {
    Atom actual = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::vector<long> items;
    if (XGetWindowProperty(display_, w, atom(name), 0, length, False, type, &actual, &format, &count, &after, &data) !=
            Success ||
        !data)
        return items;
    const auto* values = reinterpret_cast<const long*>(data);
    if (format == 32) items.assign(values, values + count);
    XFree(data);
    return items;
}

void XClient::send_close(Window w) const { send_protocol(w, "WM_DELETE_WINDOW"); }

void XClient::send_protocol(Window w, const char* protocol) const {
    XEvent ev{};
    ev.xclient.type = ClientMessage;
    ev.xclient.window = w;
    ev.xclient.message_type = atom("WM_PROTOCOLS");
    ev.xclient.format = 32;
    ev.xclient.data.l[0] = static_cast<long>(atom(protocol));
    ev.xclient.data.l[1] = CurrentTime;
    XSendEvent(display_, w, False, NoEventMask, &ev);
    XSync(display_, False);
}

void XClient::mark_maximised(Window w) const {
    Atom states[2] = {atom("_NET_WM_STATE_MAXIMIZED_VERT"), atom("_NET_WM_STATE_MAXIMIZED_HORZ")};
    XChangeProperty(display_, w, atom("_NET_WM_STATE"), XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(states), 2);
    XSync(display_, False);
}

void XClient::focus_elsewhere() {
    if (!decoy_) {
        decoy_ = XCreateSimpleWindow(display_, DefaultRootWindow(display_), 0, 0, 50, 50, 0, 0, 0);
        XMapWindow(display_, decoy_);
        XSync(display_, False);
        wait_until([&] {
            XWindowAttributes a;
            return XGetWindowAttributes(display_, decoy_, &a) && a.map_state == IsViewable;
        });
    }
    give_focus(decoy_);
}

// Without a window manager a program may still move the focus while it
// takes its new window on (Wine at times leaves it to the pointer root):
// the focus is set again until it is there. A window that asks for
// WM_TAKE_FOCUS is told as well, as a window manager does on a click:
// Wine activates its window on that message, not on the focus change.
bool XClient::give_focus(Window w) const {
    const bool told = wait_until([&] {
        Window focus = 0;
        int revert = 0;
        XGetInputFocus(display_, &focus, &revert);
        if (focus == w) return true;
        XSetInputFocus(display_, w, RevertToParent, CurrentTime);
        XSync(display_, False);
        return false;
    });
    if (told && takes_focus(w)) send_protocol(w, "WM_TAKE_FOCUS");
    return told;
}

bool XClient::takes_focus(Window w) const {
    Atom* protocols = nullptr;
    int count = 0;
    if (!XGetWMProtocols(display_, w, &protocols, &count)) return false;
    const Atom wanted = atom("WM_TAKE_FOCUS");
    const bool found = std::find(protocols, protocols + count, wanted) != protocols + count;
    XFree(protocols);
    return found;
}

void XClient::bind_keysyms(const std::vector<KeySym>& keysyms) const {
    int low = 0, high = 0, per_code = 0;
    XDisplayKeycodes(display_, &low, &high);
    KeySym* map = XGetKeyboardMapping(display_, static_cast<KeyCode>(low), high - low + 1, &per_code);
    if (!map) return;
    size_t next = 0;
    for (int code = high; code >= low && next < keysyms.size(); --code) {
        bool free = true;
        for (int i = 0; i < per_code; ++i) free = free && map[(code - low) * per_code + i] == NoSymbol;
        if (!free) continue;
        KeySym both[2] = {keysyms[next], keysyms[next]};
        XChangeKeyboardMapping(display_, code, 2, both, 1);
        ++next;
    }
    XFree(map);
    XSync(display_, False);
}

void XClient::set_resources(const std::string& text) const {
    XChangeProperty(display_, DefaultRootWindow(display_), XA_RESOURCE_MANAGER, XA_STRING, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(text.data()), static_cast<int>(text.size()));
    XSync(display_, False);
}

Window XClient::frame_of(Window w) const {
    const Window root = DefaultRootWindow(display_);
    for (;;) {
        Window root_return = 0, parent = 0, *children = nullptr;
        unsigned int count = 0;
        if (!XQueryTree(display_, w, &root_return, &parent, &children, &count)) return w;
        if (children) XFree(children);
        if (parent == root || parent == 0) return w;
        w = parent;
    }
}
