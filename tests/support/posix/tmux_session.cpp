#include "support/posix/tmux_session.h"

#include <unistd.h>

#include <cstdio>
#include <sstream>
#include <thread>

namespace {

std::string run_output(const std::string& command) {
    std::string out;
    if (FILE* p = popen(command.c_str(), "r")) {
        char buf[4096];
        size_t n;
        while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
        pclose(p);
    }
    return out;
}

// The pane's shell text: the environment changes, the command with its
// redirection, and its status written down; then the pane stays, so the
// screen can still be read.
std::string pane_script(const TmuxSession::Options& o, const std::string& status_file) {
    std::string script = "cd ";
    script.append(shell_quote(o.directory.empty() ? "." : o.directory)).append(" || exit 1; ");
    if (!o.before.empty()) script.append(o.before).append("; ");
    script.append("env -u DISPLAY");
    for (const auto& [name, value] : o.env) {
        if (value)
            script.append(" ").append(shell_quote(name + "=" + *value));
        else
            script.append(" -u ").append(shell_quote(name));
    }
    for (const std::string& w : o.command) script.append(" ").append(shell_quote(w));
    if (!o.stdout_file.empty()) script.append(" >").append(shell_quote(o.stdout_file));
    const std::string part = shell_quote(status_file + ".part");
    script.append("; echo $? >")
        .append(part)
        .append(" && mv ")
        .append(part)
        .append(" ")
        .append(shell_quote(status_file));
    return script.append("; exec sleep 3600");
}

}  // namespace

std::string shell_quote(const std::string& word) {
    std::string out = "'";
    for (char c : word) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

TmuxSession::TmuxSession(const Options& options) {
    static int serial = 0;
    socket_ = "wt-test-" + std::to_string(getpid()) + "-" + std::to_string(serial++);
    const std::string script = pane_script(options, own_.file("status"));
    tmux({"new-session", "-d", "-s", "main", "-x", std::to_string(options.columns), "-y", std::to_string(options.rows),
          script});
    started_ = !tmux({"list-panes", "-t", "main", "-F", "#{pane_id}"}).empty();
}

TmuxSession::~TmuxSession() { tmux({"kill-server"}); }

std::string TmuxSession::tmux(const std::vector<std::string>& args) const {
    std::string command = "tmux -f /dev/null -L ";
    command.append(shell_quote(socket_));
    for (const std::string& a : args) command.append(" ").append(shell_quote(a));
    return run_output(command.append(" 2>/dev/null"));
}

std::vector<std::string> TmuxSession::screen() const {
    std::vector<std::string> rows;
    std::istringstream in(tmux({"capture-pane", "-p", "-t", "main"}));
    for (std::string line; std::getline(in, line);) {
        line.erase(line.find_last_not_of(' ') + 1);
        rows.push_back(line);
    }
    return rows;
}

std::pair<int, int> TmuxSession::cursor() const {
    int x = -1, y = -1;
    std::istringstream(tmux({"display-message", "-p", "-t", "main", "#{cursor_x} #{cursor_y}"})) >> x >> y;
    return {x, y};
}

bool TmuxSession::echo_off() const {
    std::string tty = tmux({"display-message", "-p", "-t", "main", "#{pane_tty}"});
    tty.erase(tty.find_last_not_of('\n') + 1);
    if (tty.empty()) return false;
    std::istringstream modes(run_output("stty -a -F " + shell_quote(tty) + " 2>/dev/null"));
    for (std::string word; modes >> word;)
        if (word == "-echo") return true;
    return false;
}

void TmuxSession::keys(const std::vector<std::string>& names, std::chrono::milliseconds pause) {
    for (const std::string& k : names) {
        tmux({"send-keys", "-t", "main", k});
        std::this_thread::sleep_for(pause);
    }
}

bool TmuxSession::wait_until(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

int TmuxSession::wait_for_text(const std::string& text, std::chrono::milliseconds timeout) const {
    int found = -1;
    wait_until(
        [&] {
            const std::vector<std::string> rows = screen();
            for (size_t i = 0; i < rows.size(); ++i)
                if (rows[i].find(text) != std::string::npos) found = static_cast<int>(i);
            return found >= 0;
        },
        timeout);
    return found;
}

std::optional<int> TmuxSession::wait_exit(std::chrono::milliseconds timeout) {
    if (!wait_until([&] { return file_exists(own_.file("status")); }, timeout)) return std::nullopt;
    const std::vector<unsigned char> bytes = read_file(own_.file("status"));
    return std::stoi(std::string(bytes.begin(), bytes.end()));
}
