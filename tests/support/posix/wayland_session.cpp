#include "support/posix/wayland_session.h"

#include <dirent.h>
#include <fcntl.h>
#include <png.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <thread>

#include "support/posix/program.h"

namespace {

using namespace std::chrono_literals;

constexpr uid_t NOBODY = 65534;

// The program's file on PATH, empty when it has none.
std::string which(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::string dirs = path ? path : "/usr/bin:/bin";
    for (size_t start = 0; start <= dirs.size();) {
        size_t end = dirs.find(':', start);
        if (end == std::string::npos) end = dirs.size();
        const std::string file = dirs.substr(start, end - start) + "/" + name;
        if (access(file.c_str(), X_OK) == 0) return file;
        start = end + 1;
    }
    return {};
}

bool on_path(const char* name) { return !which(name).empty(); }

// A file in `dir` whose name starts with `prefix` and is a socket.
std::string socket_in(const std::string& dir, const std::string& prefix) {
    DIR* d = opendir(dir.c_str());
    if (!d) return {};
    std::string found;
    while (dirent* e = readdir(d)) {
        const std::string name = e->d_name;
        struct stat st {};
        if (name.rfind(prefix, 0) == 0 && stat((dir + "/" + name).c_str(), &st) == 0 && S_ISSOCK(st.st_mode))
            found = dir + "/" + name;
    }
    closedir(d);
    return found;
}

void silence_output(const std::string& log) {
    const int fd = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) return;
    dup2(fd, STDOUT_FILENO);
    dup2(fd, STDERR_FILENO);
    close(fd);
}

// Starts a long-running helper with the environment; its process id.
int spawn(const std::vector<std::string>& command, const EnvChanges& env, const std::string& log) {
    ChildEnv child(env);
    std::vector<char*> argv;
    for (const std::string& a : command) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        silence_output(log);
        execvpe(argv[0], argv.data(), child.envp());
        _exit(127);
    }
    return pid;
}

void end_process(int& pid, int signal) {
    if (pid <= 0) return;
    kill(pid, signal);
    int status = 0;
    waitpid(pid, &status, 0);
    pid = -1;
}

std::string run(const std::vector<std::string>& command, const EnvChanges& env, bool* ok) {
    ProgramRun r;
    r.command = command;
    r.command[0] = which(command[0]);
    r.env = env;
    r.timeout = 10s;
    const ProgramResult result = run_program(r);
    if (ok) *ok = result.exit_status == 0;
    return result.output;
}

// An integer member of the JSON object text that follows `at`.
int json_int(const std::string& text, size_t at, const char* key) {
    const size_t k = text.find(std::string("\"") + key + "\":", at);
    return k == std::string::npos ? 0 : std::atoi(text.c_str() + text.find(':', k) + 1);
}

bool json_true(const std::string& text, size_t from, size_t to, const char* key) {
    const size_t k = text.find(std::string("\"") + key + "\": true", from);
    return k != std::string::npos && k < to;
}

Screenshot read_png(const std::string& path) {
    Screenshot shot;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return shot;
    image.format = PNG_FORMAT_RGB;
    std::vector<Rgb> pixels(static_cast<size_t>(image.width) * image.height);
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) return shot;
    shot.width = static_cast<int>(image.width);
    shot.height = static_cast<int>(image.height);
    shot.pixels = std::move(pixels);
    return shot;
}

// Weston names its window only in _NET_WM_NAME: it is the top-level
// window of the output's size.
Window weston_output(Display* display) {
    Window root = DefaultRootWindow(display), parent = 0, *children = nullptr;
    unsigned int count = 0;
    Window found = 0;
    if (!XQueryTree(display, root, &root, &parent, &children, &count)) return 0;
    for (unsigned int i = 0; i < count && !found; ++i) {
        XWindowAttributes a{};
        if (XGetWindowAttributes(display, children[i], &a) && a.map_state == IsViewable && a.width == 1024 &&
            a.height == 768)
            found = children[i];
    }
    if (children) XFree(children);
    return found;
}

}  // namespace

bool SwaySession::installed() {
    return on_path("sway") && on_path("swaymsg") && on_path("grim") && on_path("wtype") &&
           (geteuid() != 0 || on_path("setpriv"));
}

SwaySession::SwaySession(int scale) : scale_(scale) {
    if (!installed() || dir_.path().empty()) return;
    runtime_dir_ = dir_.file("runtime");
    const bool root = geteuid() == 0;
    if (mkdir(runtime_dir_.c_str(), 0700) != 0 || (root && chown(runtime_dir_.c_str(), NOBODY, NOBODY) != 0)) return;
    const std::string config = dir_.file("config");
    // 1024 x 768 on the desktop whatever the scale: that many device
    // pixels times the scale.
    std::ofstream(config) << "output HEADLESS-1 resolution " << 1024 * scale << "x" << 768 * scale
                          << " position 0 0 scale " << scale << "\n"
                          << "xwayland disable\n"
                          << "focus_follows_mouse no\n";
    std::vector<std::string> command = {"sway", "--config", config};
    if (root) command.insert(command.begin(), {"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"});
    const EnvChanges env = {{"XDG_RUNTIME_DIR", runtime_dir_}, {"WLR_BACKENDS", "headless"},
                            {"WLR_RENDERER", "pixman"},        {"WLR_LIBINPUT_NO_DEVICES", "1"},
                            {"WAYLAND_DISPLAY", std::nullopt}, {"SWAYSOCK", std::nullopt}};
    pid_ = spawn(command, env, dir_.file("sway.log"));
    const auto end = std::chrono::steady_clock::now() + 15s;
    bool ok = false;
    while (pid_ > 0 && std::chrono::steady_clock::now() < end) {
        socket_ = socket_in(runtime_dir_, "wayland-");
        ipc_socket_ = socket_in(runtime_dir_, "sway-ipc.");
        if (!socket_.empty() && !ipc_socket_.empty() && (swaymsg({"-t", "get_version"}, &ok), ok)) break;
        std::this_thread::sleep_for(20ms);
    }
    if (!ok) {
        socket_.clear();
        end_process(pid_, SIGTERM);
        return;
    }
    // A headless seat has a keyboard only while a virtual one exists: each
    // wtype would bring one and take it away again, and keys it sends
    // before a client has taken up the new keyboard would be lost. One
    // that stays keeps the seat's keyboard for the session.
    keyboard_pid_ = spawn({which("wtype"), "-s", "86400000"}, client_env(), dir_.file("keyboard.log"));
    wait_until([&] { return swaymsg({"-t", "get_inputs"}).find("keyboard") != std::string::npos; }, 5s);
}

SwaySession::~SwaySession() {
    end_process(keyboard_pid_, SIGTERM);
    end_process(pid_, SIGTERM);
}

EnvChanges SwaySession::client_env() const {
    return {{"WAYLAND_DISPLAY", socket_}, {"XDG_RUNTIME_DIR", runtime_dir_}, {"SWAYSOCK", ipc_socket_}};
}

void SwaySession::use_in_this_process() const {
    for (const auto& [name, value] : client_env()) setenv(name.c_str(), value->c_str(), 1);
}

std::string SwaySession::swaymsg(const std::vector<std::string>& args, bool* ok) const {
    std::vector<std::string> command = {"swaymsg", "-s", ipc_socket_};
    command.insert(command.end(), args.begin(), args.end());
    return run(command, client_env(), ok);
}

SwayWindow SwaySession::window(const std::string& app_id) const {
    SwayWindow w;
    const std::string tree = swaymsg({"-r", "-t", "get_tree"});
    const size_t id = tree.find("\"app_id\": \"" + app_id + "\"");
    if (id == std::string::npos) return w;
    // The node's members before its app_id: its rectangle, the surface's
    // place in it; after it: the idle inhibition.
    const size_t rect = tree.rfind("\"rect\":", id), inner = tree.rfind("\"window_rect\":", id);
    const size_t start = tree.rfind("\"id\":", rect);
    if (rect == std::string::npos || inner == std::string::npos || start == std::string::npos) return w;
    w.found = true;
    w.x = json_int(tree, rect, "x") + json_int(tree, inner, "x");
    w.y = json_int(tree, rect, "y") + json_int(tree, inner, "y");
    w.width = json_int(tree, inner, "width");
    w.height = json_int(tree, inner, "height");
    w.focused = json_true(tree, start, rect, "focused");
    w.floating = tree.find("\"type\": \"floating_con\"", start) < rect;
    const size_t name = tree.find("\"name\": \"", inner);
    if (name < id) {
        const size_t from = name + 9;
        w.title = tree.substr(from, tree.find('"', from) - from);
    }
    w.fullscreen = json_int(tree, tree.rfind("\"fullscreen_mode\":", id), "fullscreen_mode") != 0;
    w.inhibit_idle = json_true(tree, id, tree.find("\"idle_inhibitors\"", id), "inhibit_idle");
    return w;
}

SwayWindow SwaySession::wait_for_window(const std::string& app_id, std::chrono::milliseconds limit) const {
    SwayWindow w;
    wait_until([&] { return (w = window(app_id)).found; }, limit);
    return w;
}

bool SwaySession::focus(const std::string& app_id) const {
    bool ok = false;
    swaymsg({"[app_id=\"" + app_id + "\"]", "focus"}, &ok);
    return ok && wait_until([&] { return window(app_id).focused; }, 5s);
}

bool SwaySession::close(const std::string& app_id) const {
    bool ok = false;
    swaymsg({"[app_id=\"" + app_id + "\"]", "kill"}, &ok);
    return ok;
}

bool SwaySession::leave_workspace() const {
    bool ok = false;
    swaymsg({"workspace", "2"}, &ok);
    return ok;
}

bool SwaySession::return_to_workspace() const {
    bool ok = false;
    swaymsg({"workspace", "1"}, &ok);
    return ok;
}

// Every wtype is a new virtual keyboard whose first key can be lost while
// clients take its keymap: a key that means nothing comes first.
bool SwaySession::wtype(const std::vector<std::string>& args) const {
    std::vector<std::string> command = {"wtype", "-k", "F24", "-s", "100"};
    command.insert(command.end(), args.begin(), args.end());
    bool ok = false;
    run(command, client_env(), &ok);
    return ok;
}

Screenshot SwaySession::grim(int x, int y, int width, int height) const {
    const std::string file = dir_.file("shot.png");
    const std::string area =
        std::to_string(x) + "," + std::to_string(y) + " " + std::to_string(width) + "x" + std::to_string(height);
    bool ok = false;
    run({"grim", "-g", area, "-s", std::to_string(scale_), "-t", "png", file}, client_env(), &ok);
    return ok ? read_png(file) : Screenshot{};
}

std::string SwaySession::log() const {
    const std::vector<unsigned char> bytes = read_file(dir_.file("sway.log"));
    return std::string(bytes.begin(), bytes.end());
}

void SwaySession::kill_now() {
    end_process(pid_, SIGKILL);
    end_process(keyboard_pid_, SIGTERM);
}

bool WestonSession::installed() { return on_path("weston") && XvfbServer::installed() && on_path("xdotool"); }

// Weston's X11 back-end opens one window on the X server: its output.
WestonSession::WestonSession() {
    if (!installed() || dir_.path().empty()) return;
    server_ = std::make_unique<XvfbServer>("1280x1024x24");
    if (!server_->running()) return;
    client_ = std::make_unique<XClient>(server_->display());
    runtime_dir_ = dir_.file("runtime");
    if (!client_->connected() || mkdir(runtime_dir_.c_str(), 0700) != 0) return;
    const EnvChanges env = {
        {"DISPLAY", server_->display()}, {"XDG_RUNTIME_DIR", runtime_dir_}, {"WAYLAND_DISPLAY", std::nullopt}};
    pid_ = spawn({"weston", "--backend=x11-backend.so", "--use-pixman", "--width=1024", "--height=768",
                  "--socket=wayland-wt", "--idle-time=0", "--no-config"},
                 env, dir_.file("weston.log"));
    wait_until(
        [&] {
            if (socket_in(runtime_dir_, "wayland-wt").empty()) return false;
            output_ = weston_output(client_->display());
            return output_ != 0;
        },
        15s);
    // The X pointer starts off weston's window: weston follows it only
    // once it has come in. The keyboard goes to weston's window.
    server_->xdotool({"mousemove", "1200", "1000"});
    if (output_) client_->give_focus(output_);
}

WestonSession::~WestonSession() {
    end_process(pid_, SIGTERM);
    client_.reset();
    server_.reset();
}

std::string WestonSession::log() const {
    const std::vector<unsigned char> bytes = read_file(dir_.file("weston.log"));
    return std::string(bytes.begin(), bytes.end());
}

EnvChanges WestonSession::client_env() const {
    return {{"WAYLAND_DISPLAY", "wayland-wt"}, {"XDG_RUNTIME_DIR", runtime_dir_}};
}

Screenshot WestonSession::screenshot() const {
    Screenshot shot;
    shot.pixels = client_->pixels(output_, &shot.width, &shot.height);
    return shot;
}

void WestonSession::move(int x, int y) const {
    server_->xdotool({"mousemove", "--window", std::to_string(output_), std::to_string(x), std::to_string(y)});
}

void WestonSession::click(int x, int y) const {
    move(x, y);
    server_->xdotool({"click", "1"});
}

void WestonSession::xdotool(const std::vector<std::string>& args) const { server_->xdotool(args); }

bool title_bar_above(const Screenshot& shot, int x, int y) {
    if (y < 20 || x + 312 > shot.width) return false;
    int lit = 0;
    for (int row = y - 20; row < y - 4; ++row)
        for (int col = x + 200; col < x + 312; ++col) lit += !(shot.at(col, row) == shot.at(x + 5, y - 20));
    return lit > 50;
}

bool find_picture(const Screenshot& shot, const std::vector<Rgb>& part, int width, int rows, int* x, int* y) {
    for (int top = 0; top + rows <= shot.height; ++top)
        for (int left = 0; left + width <= shot.width; ++left) {
            bool same = true;
            for (int r = 0; r < rows && same; ++r)
                for (int c = 0; c < width && same; ++c)
                    same = shot.at(left + c, top + r) == part[static_cast<size_t>(r) * width + c];
            if (same) {
                *x = left;
                *y = top;
                return true;
            }
        }
    return false;
}
