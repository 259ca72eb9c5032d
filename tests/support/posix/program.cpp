#include "support/posix/program.h"

#include "support/posix/child_env.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <thread>

namespace {

// A copy of the program in a directory of its own that every user can
// reach: a build inside a private home is out of reach of "nobody".
class ReachableCopy {
   public:
    ReachableCopy() {
        std::string templ = std::filesystem::temp_directory_path().string() + "/wavetable-bin-XXXXXX";
        if (!mkdtemp(templ.data())) return;
        dir_ = templ;
        std::error_code ec;
        std::filesystem::copy_file(WAVETABLE_BINARY, dir_ + "/wavetable", ec);
        chmod(dir_.c_str(), 0755);
        chmod((dir_ + "/wavetable").c_str(), 0755);
        if (!ec) path_ = dir_ + "/wavetable";
    }
    ~ReachableCopy() {
        std::error_code ec;
        if (!dir_.empty()) std::filesystem::remove_all(dir_, ec);
    }
    const std::string& path() const { return path_; }

   private:
    std::string dir_, path_;
};

const char* binary_for(const ProgramRun& run) {
    if (!run.drop_privileges || geteuid() != 0) return WAVETABLE_BINARY;
    static ReachableCopy copy;
    return copy.path().c_str();
}

// The command line as exec wants it; made before the fork.
class Argv {
   public:
    explicit Argv(const ProgramRun& run) : words_(run.command) {
        if (words_.empty()) words_ = {binary_for(run)};
        for (std::string& w : words_) pointers_.push_back(w.data());
        pointers_.push_back(nullptr);
    }
    char* const* get() { return pointers_.data(); }

   private:
    std::vector<std::string> words_;
    std::vector<char*> pointers_;
};

[[noreturn]] void exec_child(const ProgramRun& run, int in_fd, int out_fd, int err_fd, char* const* envp,
                             char* const* argv) {
    dup2(in_fd, STDIN_FILENO);
    dup2(out_fd, STDOUT_FILENO);
    dup2(err_fd, STDERR_FILENO);
    if (!run.directory.empty() && chdir(run.directory.c_str()) != 0) _exit(126);
    if (run.address_space_mib > 0) {
        rlimit limit{};
        limit.rlim_cur = limit.rlim_max = static_cast<rlim_t>(run.address_space_mib) << 20;
        if (setrlimit(RLIMIT_AS, &limit) != 0) _exit(124);
    }
    if (run.file_size_limit > 0) {
        signal(SIGXFSZ, SIG_IGN);  // the write fails with EFBIG instead
        rlimit limit{};
        limit.rlim_cur = limit.rlim_max = static_cast<rlim_t>(run.file_size_limit);
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(124);
    }
    if (run.drop_privileges && geteuid() == 0) {
        if (setgid(65534) != 0 || setuid(65534) != 0) _exit(125);
    }
    execve(argv[0], argv, envp);
    _exit(127);
}

void feed(int fd, const std::string& data) {
    size_t done = 0;
    while (done < data.size()) {
        ssize_t n = write(fd, data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += static_cast<size_t>(n);
    }
    close(fd);
}

}  // namespace

ProgramResult run_program(const ProgramRun& run) {
    int in_pipe[2], out_pipe[2], err_pipe[2];
    if (pipe2(in_pipe, O_CLOEXEC) != 0 || pipe2(out_pipe, O_CLOEXEC) != 0 || pipe2(err_pipe, O_CLOEXEC) != 0) return {};
    int in_fd = in_pipe[0];
    bool from_file = run.stdin_from_dev_null || !run.stdin_file.empty();
    if (from_file) in_fd = open(run.stdin_from_dev_null ? "/dev/null" : run.stdin_file.c_str(), O_RDONLY | O_CLOEXEC);
    signal(SIGPIPE, SIG_IGN);
    ChildEnv env(run.env);
    Argv argv(run);
    pid_t pid = fork();
    if (pid == 0) exec_child(run, in_fd, out_pipe[1], err_pipe[1], env.envp(), argv.get());
    close(in_pipe[0]);
    close(out_pipe[1]);
    close(err_pipe[1]);
    if (from_file) close(in_fd);
    std::thread writer(feed, in_pipe[1], run.stdin_data);
    ProgramResult result;
    auto collect = [](int fd, std::string* into) {
        char buf[4096];
        ssize_t n;
        while ((n = read(fd, buf, sizeof buf)) > 0) into->append(buf, static_cast<size_t>(n));
        close(fd);
    };
    std::thread reader(collect, out_pipe[0], &result.output);
    std::thread error_reader(collect, err_pipe[0], &result.errors);
    auto deadline = std::chrono::steady_clock::now() + run.timeout;
    if (run.while_running) run.while_running(pid);
    int status = 0;
    for (;;) {
        pid_t r = waitpid(pid, &status, WNOHANG);
        if (r == pid) break;
        if (std::chrono::steady_clock::now() > deadline) {
            result.timed_out = true;
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    writer.join();
    reader.join();
    error_reader.join();
    if (WIFEXITED(status)) result.exit_status = WEXITSTATUS(status);
    if (WIFSIGNALED(status)) result.signal = WTERMSIG(status);

    return result;
}

bool process_running(int pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(stat, line)) return false;
    const size_t close = line.rfind(')');
    return close != std::string::npos && close + 2 < line.size() && line[close + 2] != 'Z';
}
