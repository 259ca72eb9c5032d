// Runs two programs many times each, interleaved, and prints their median
// wall time and peak memory and the median ratio of the first to the
// second.
//
//   run_compare <runs> <input> <name> <dir> <program> <name> <dir> <program>
//
// Each run starts the program in its directory with <input> on its standard
// input through a pipe (as `printf ... | program` would) and its output
// thrown away. Wall time is taken around fork and wait4; peak memory is the
// child's ru_maxrss from wait4. A forked child carries its parent's
// resident pages until it execs, and the kernel counts them in the child's
// peak, so this runner stays small (no iostreams, fixed tables) and prints
// its own peak: a child's figure cannot read lower than it.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int kMaxRuns = 10000;
constexpr int kWarmUp = 3;

struct Program {
    const char* name;
    const char* dir;
    const char* path;
    double wall_ms[kMaxRuns];
    long peak_kib[kMaxRuns];
};

Program g_programs[2];
double g_ratio[kMaxRuns];

[[noreturn]] void fail(const char* what) {
    std::perror(what);
    std::exit(2);
}

double now_ms() {
    timespec t{};
    if (clock_gettime(CLOCK_MONOTONIC, &t) != 0) fail("clock_gettime");
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// In the child: standard input from the pipe, output to /dev/null, then the
// program. Only async-signal-safe calls between fork and exec.
[[noreturn]] void exec_child(const Program& p, int input_fd) {
    int null_fd = open("/dev/null", O_WRONLY);
    if (null_fd < 0 || dup2(input_fd, 0) < 0 || dup2(null_fd, 1) < 0 || dup2(null_fd, 2) < 0 || chdir(p.dir) != 0)
        _exit(126);
    char* argv[] = {const_cast<char*>(p.path), nullptr};
    execv(p.path, argv);
    _exit(127);
}

// A pipe already holding the whole input, its writing end closed.
int input_pipe(const char* input, size_t length) {
    int fds[2];
    if (pipe(fds) != 0) fail("pipe");
    if (write(fds[1], input, length) != static_cast<ssize_t>(length)) fail("write to pipe");
    if (close(fds[1]) != 0) fail("close");
    return fds[0];
}

// One run: its wall time in milliseconds and the child's peak in KiB.
void run_once(const Program& p, const char* input, size_t length, double* wall_ms, long* peak_kib) {
    int fd = input_pipe(input, length);
    double start = now_ms();
    pid_t child = fork();
    if (child < 0) fail("fork");
    if (child == 0) exec_child(p, fd);
    int status = 0;
    rusage usage{};
    if (wait4(child, &status, 0, &usage) != child) fail("wait4");
    *wall_ms = now_ms() - start;
    *peak_kib = usage.ru_maxrss;
    if (close(fd) != 0) fail("close");
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "%s ended with status %d\n", p.path, status);
        std::exit(1);
    }
}

template <typename T>
T median(const T* values, int n) {
    T sorted[kMaxRuns];
    std::copy(values, values + n, sorted);
    std::sort(sorted, sorted + n);
    return n % 2 ? sorted[n / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2;
}

void print_table(int runs) {
    for (int i = 0; i < runs; ++i) g_ratio[i] = g_programs[0].wall_ms[i] / g_programs[1].wall_ms[i];
    std::printf("%-12s %6s %16s %16s %16s\n", "program", "runs", "median wall ms", "median peak KiB", "max peak KiB");
    for (const Program& p : g_programs)
        std::printf("%-12s %6d %16.3f %16ld %16ld\n", p.name, runs, median(p.wall_ms, runs), median(p.peak_kib, runs),
                    *std::max_element(p.peak_kib, p.peak_kib + runs));
    std::printf("median ratio %s / %s (per interleaved pair): %.3f\n", g_programs[0].name, g_programs[1].name,
                median(g_ratio, runs));
    std::printf("ratio of the medians: %.3f\n",
                median(g_programs[0].wall_ms, runs) / median(g_programs[1].wall_ms, runs));
    rusage self{};
    if (getrusage(RUSAGE_SELF, &self) != 0) fail("getrusage");
    std::printf("runner's own peak: %ld KiB\n", self.ru_maxrss);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 9) {
        std::fprintf(stderr, "usage: %s runs input name dir program name dir program\n", argv[0]);
        return 2;
    }
    int runs = std::atoi(argv[1]);
    if (runs < 1 || runs > kMaxRuns) {
        std::fprintf(stderr, "runs must be 1 .. %d\n", kMaxRuns);
        return 2;
    }
    const char* input = argv[2];
    size_t length = std::strlen(input);
    for (int i = 0; i < 2; ++i) g_programs[i] = {argv[3 + 3 * i], argv[4 + 3 * i], argv[5 + 3 * i], {}, {}};
    double ignored_ms;
    long ignored_kib;
    for (int i = 0; i < kWarmUp; ++i)
        for (const Program& p : g_programs) run_once(p, input, length, &ignored_ms, &ignored_kib);
    // Interleaved, and the order swapped every run, so that a slow spell of
    // the machine falls on both.
    for (int i = 0; i < runs; ++i)
        for (int k = 0; k < 2; ++k) {
            Program& p = g_programs[(i + k) % 2];
            run_once(p, input, length, &p.wall_ms[i], &p.peak_kib[i]);
        }
    print_table(runs);
    return 0;
}
