#include "support/posix/pty_session.h"

#include "support/posix/child_env.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utmp.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace {

void say(const char* text) {
    if (write(STDOUT_FILENO, text, std::strlen(text)) < 0) _exit(125);
}

// The session's shell: runs the program as a job in a process group of its
// own in the foreground; when it stops, says so, takes the terminal back,
// and continues it in the foreground when "fg" is typed. Ends with the
// job's status.
[[noreturn]] void run_as_job(char* const argv[], char* const envp[]) {
    signal(SIGTTOU, SIG_IGN);  // the shell moves the terminal between groups
    const pid_t job = fork();
    if (job == 0) {
        setpgid(0, 0);
        tcsetpgrp(STDIN_FILENO, getpid());
        signal(SIGTTOU, SIG_DFL);
        execve(WAVETABLE_BINARY, argv, envp);
        _exit(127);
    }
    setpgid(job, job);
    tcsetpgrp(STDIN_FILENO, job);
    for (;;) {
        int status = 0;
        if (waitpid(job, &status, WUNTRACED) != job) _exit(126);
        if (WIFEXITED(status)) _exit(WEXITSTATUS(status));
        if (WIFSIGNALED(status)) _exit(128 + WTERMSIG(status));
        tcsetpgrp(STDIN_FILENO, getpgrp());
        say("\r\n[1]+  Stopped                 wavetable\r\n$ ");
        char line[64] = {};
        size_t n = 0;
        while (n + 1 < sizeof line && read(STDIN_FILENO, line + n, 1) == 1 && line[n] != '\n') ++n;
        say("wavetable\r\n");
        tcsetpgrp(STDIN_FILENO, job);
        kill(-job, SIGCONT);
    }
}

}  // namespace

PtySession::PtySession(const Options& options) : cursor_row_(options.cursor_row) {
    ChildEnv env(options.env, {{"TERM", "xterm"}});
    int out_fd = -1;
    if (!options.stdout_file.empty()) out_fd = open(options.stdout_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    winsize ws{};
    ws.ws_col = static_cast<unsigned short>(options.columns);
    ws.ws_row = static_cast<unsigned short>(options.rows);
    // The modes are read before the child starts: once it runs, it may
    // have made the terminal raw already.
    int slave = -1;
    if (openpty(&master_, &slave, nullptr, nullptr, &ws) != 0) {
        master_ = -1;
        if (out_fd >= 0) close(out_fd);
        return;
    }
    tcgetattr(slave, &initial_);
    pid_t pid = fork();
    if (pid == 0) {
        close(master_);
        if (login_tty(slave) != 0) _exit(125);
        if (out_fd >= 0) dup2(out_fd, STDOUT_FILENO);
        if (!options.directory.empty() && chdir(options.directory.c_str()) != 0) _exit(126);
        char* const argv[] = {const_cast<char*>("wavetable"), nullptr};
        if (options.job_control) run_as_job(argv, env.envp());
        execve(WAVETABLE_BINARY, argv, env.envp());
        _exit(127);
    }
    close(slave);
    if (out_fd >= 0) close(out_fd);
    pid_ = pid;
    if (master_ >= 0) {
        fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
    }
}

PtySession::~PtySession() {
    if (pid_ > 0 && !exited_) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    if (master_ >= 0) close(master_);
}

void PtySession::read_available(std::chrono::milliseconds timeout) {
    if (master_ < 0) return;
    pollfd p{master_, POLLIN, 0};
    if (poll(&p, 1, static_cast<int>(timeout.count())) <= 0) return;
    char buf[4096];
    for (;;) {
        ssize_t n = read(master_, buf, sizeof buf);
        if (n <= 0) break;
        output_.append(buf, static_cast<size_t>(n));
    }
    answer_queries();
}

// A terminal answers ESC [ 6 n with the cursor position; this one knows
// only the row it was told at start.
void PtySession::answer_queries() {
    size_t at;
    while ((at = output_.find("\x1b[6n", answered_)) != std::string::npos) {
        answered_ = at + 4;
        std::string reply = "\x1b[" + std::to_string(cursor_row_) + ";1R";
        type(reply);
    }
}

bool PtySession::wait_for(const std::string& text, std::chrono::milliseconds timeout, size_t from) {
    auto deadline = std::chrono::steady_clock::now() + timeout;
    while (output_.find(text, from) == std::string::npos) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        read_available(std::chrono::milliseconds(20));
    }
    return true;
}

void PtySession::drain(std::chrono::milliseconds time) {
    auto deadline = std::chrono::steady_clock::now() + time;
    while (std::chrono::steady_clock::now() < deadline) read_available(std::chrono::milliseconds(10));
}

void PtySession::type(const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size() && master_ >= 0) {
        ssize_t n = write(master_, bytes.data() + done, bytes.size() - done);
        if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
            read_available(std::chrono::milliseconds(5));
            continue;
        }
        if (n <= 0) break;
        done += static_cast<size_t>(n);
    }
}

void PtySession::resize(int columns, int rows) {
    winsize ws{};
    ws.ws_col = static_cast<unsigned short>(columns);
    ws.ws_row = static_cast<unsigned short>(rows);
    ioctl(master_, TIOCSWINSZ, &ws);
}

void PtySession::hang_up() {
    if (master_ >= 0) close(master_);
    master_ = -1;
}

void PtySession::interrupt() { type("\x03"); }

int PtySession::wait_exit(std::chrono::milliseconds timeout, int* signal) {
    auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!exited_) {
        int status = 0;
        pid_t r = waitpid(pid_, &status, WNOHANG);
        if (r == pid_) {
            exited_ = true;
            if (WIFEXITED(status)) exit_status_ = WEXITSTATUS(status);
            if (WIFSIGNALED(status)) exit_signal_ = WTERMSIG(status);
            break;
        }
        if (std::chrono::steady_clock::now() > deadline) return -2;
        read_available(std::chrono::milliseconds(10));
    }
    if (signal) *signal = exit_signal_;
    return exit_status_;
}

bool PtySession::modes(termios* out) const { return master_ >= 0 && tcgetattr(master_, out) == 0; }

bool same_modes(const termios& a, const termios& b) {
    return a.c_iflag == b.c_iflag && a.c_oflag == b.c_oflag && a.c_cflag == b.c_cflag && a.c_lflag == b.c_lflag &&
           std::memcmp(a.c_cc, b.c_cc, sizeof a.c_cc) == 0;
}
