// The terminal's modes and signals.
//
// Raw mode keeps ISIG, so Ctrl+C and Ctrl+\ still end the process. The
// modes (and a hidden cursor) are put back on every way out: normal exit,
// termination and fatal signals (then the signal is raised again with its
// default action), and stop signals (raw mode returns after SIGCONT).
// SIGHUP doesn't end the process: it marks the console closed, so that the
// run finishes and writes its files. SIGWINCH marks the size stale.
#include "textconsole/terminal/terminal.h"

#include <signal.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace {

TerminalState g_terminal;

struct RawMode {
    termios saved;
    volatile sig_atomic_t active;  // the saved modes must be put back
    bool atexit_done;
};

RawMode g_raw;
volatile sig_atomic_t g_hangup;
volatile sig_atomic_t g_resized;
volatile sig_atomic_t g_resumed;
volatile sig_atomic_t g_cursor_hidden;

// Async-signal-safe: only tcsetattr and write.
void restore_terminal() {
    if (g_cursor_hidden) {
        static const char show[] = "\x1b[?25h";
        if (write(STDOUT_FILENO, show, sizeof show - 1) < 0) { /* nothing more to do */
        }
    }
    if (g_raw.active) tcsetattr(STDIN_FILENO, TCSAFLUSH, &g_raw.saved);
}

void apply_raw() {
    termios raw = g_raw.saved;
    raw.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO | IEXTEN);
    raw.c_iflag &= ~static_cast<tcflag_t>(IXON | ICRNL | INLCR | IGNCR);
    raw.c_cc[VMIN] = 1;
    raw.c_cc[VTIME] = 0;
    if (tcsetattr(STDIN_FILENO, TCSAFLUSH, &raw) == 0) g_raw.active = 1;
}

void on_fatal(int sig) {
    restore_terminal();
    signal(sig, SIG_DFL);
    raise(sig);
}

void on_stop(int sig) {
    restore_terminal();
    sig_atomic_t was_raw = g_raw.active;
    signal(sig, SIG_DFL);
    sigset_t stop;
    sigemptyset(&stop);
    sigaddset(&stop, sig);
    sigprocmask(SIG_UNBLOCK, &stop, nullptr);
    raise(sig);
    // Resumed here after SIGCONT.
    signal(sig, on_stop);
    if (was_raw) apply_raw();
    if (g_cursor_hidden) {
        static const char hide[] = "\x1b[?25l";
        if (write(STDOUT_FILENO, hide, sizeof hide - 1) < 0) { /* nothing more to do */
        }
    }
    g_resized = 1;  // the screen may have changed meanwhile
    g_resumed = 1;  // and what it shows is the shell's now
}

void on_hangup(int) { g_hangup = 1; }
void on_resize(int) { g_resized = 1; }

void install(int sig, void (*handler)(int)) {
    struct sigaction current {};
    // A handler somebody else installed (a debugger's, a sanitizer's) stays.
    if (sigaction(sig, nullptr, &current) != 0 || current.sa_handler != SIG_DFL) return;
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(sig, &action, nullptr);
}

void install_handlers() {
    static bool done;
    if (done) return;
    done = true;
    for (int sig : {SIGINT, SIGTERM, SIGQUIT, SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT}) install(sig, on_fatal);
    install(SIGTSTP, on_stop);
    install(SIGHUP, on_hangup);
    install(SIGWINCH, on_resize);
    // Output to a terminal or pipe that went away fails quietly instead of
    // ending the process with the files unwritten.
    signal(SIGPIPE, SIG_IGN);
}

void fetch_size() {
    winsize ws{};
    if (ioctl(STDOUT_FILENO, TIOCGWINSZ, &ws) == 0 && ws.ws_col > 0 && ws.ws_row > 0) {
        g_terminal.columns = ws.ws_col;
        g_terminal.rows = ws.ws_row;
    } else {
        g_terminal.columns = 0;
        g_terminal.rows = 0;
    }
}

}  // namespace

TerminalState& terminal() { return g_terminal; }

TerminalState& terminal_refresh() {
    if (!g_terminal.checked) {
        g_terminal.checked = true;
        g_terminal.output_tty = isatty(STDOUT_FILENO) != 0;
        g_terminal.cursor_visible = true;
        install_handlers();
        if (g_terminal.output_tty) fetch_size();
    }
    return g_terminal;
}

bool terminal_has_window() {
    const TerminalState& t = terminal_refresh();
    return t.output_tty && t.columns > 1 && t.rows > 1;
}

bool terminal_input_tty() { return isatty(STDIN_FILENO) != 0; }

void terminal_enter_raw() {
    if (g_raw.active || !terminal_input_tty()) return;
    terminal_refresh();
    if (tcgetattr(STDIN_FILENO, &g_raw.saved) != 0) return;
    if (!g_raw.atexit_done) {
        g_raw.atexit_done = true;
        std::atexit(restore_terminal);
    }
    apply_raw();
}

bool terminal_hung_up() {
    if (!g_hangup) return false;
    g_hangup = 0;
    return true;
}

bool terminal_resumed() {
    if (!g_resumed) return false;
    g_resumed = 0;
    return true;
}

bool terminal_resized() {
    if (!g_resized) return false;
    g_resized = 0;
    if (g_terminal.output_tty) fetch_size();
    return true;
}

void write_all(int fd, const char* bytes, size_t n) {
    while (n > 0) {
        ssize_t done = write(fd, bytes, n);
        if (done < 0 && errno == EINTR) continue;
        if (done <= 0) return;
        bytes += done;
        n -= static_cast<size_t>(done);
    }
}

void terminal_write(const char* bytes, size_t n) { g_terminal.out.append(bytes, n); }

void terminal_flush() {
    if (g_terminal.out.empty()) return;
    write_all(STDOUT_FILENO, g_terminal.out.data(), g_terminal.out.size());
    g_terminal.out.clear();
}

void terminal_set_cursor_hidden(bool hidden) { g_cursor_hidden = hidden ? 1 : 0; }

void terminal_reset() {
    g_terminal.out.clear();
    g_terminal = TerminalState{};
}
