#pragma once
// Times a step many times in a row and prints the median and the spread,
// for the measuring programs that run where Google Benchmark is not built
// (the Windows programs under Wine).
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <vector>

// Microseconds of each of `passes` runs of `run`(i).
template <class F>
std::vector<double> time_runs(int passes, F run) {
    using Clock = std::chrono::steady_clock;
    std::vector<double> us;
    for (int i = 0; i < passes; ++i) {
        const auto start = Clock::now();
        run(i);
        us.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
    }
    return us;
}

inline void report(const char* what, std::vector<double> us) {
    std::sort(us.begin(), us.end());
    std::printf("%-44s median %8.1f us   p10 %8.1f   p90 %8.1f   (%zu runs)\n", what, us[us.size() / 2],
                us[us.size() / 10], us[us.size() * 9 / 10], us.size());
}

// Kernel and user time of every thread of the process so far, in
// microseconds (under Wine Mesa's threads draw for OpenGL and DirectDraw).
inline double process_cpu_us() {
    FILETIME created, ended, kernel, user;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user)) return 0;
    const auto us = [](const FILETIME& t) {
        return static_cast<double>(static_cast<uint64_t>(t.dwHighDateTime) << 32 | t.dwLowDateTime) / 10.0;
    };
    return us(kernel) + us(user);
}

// The runs as report() prints them, then the process's CPU time a run.
template <class F>
void report_with_cpu(const char* what, int passes, F run) {
    const double before = process_cpu_us();
    const std::vector<double> us = time_runs(passes, run);
    const double cpu = (process_cpu_us() - before) / passes;
    report(what, us);
    std::printf("%-44s CPU %8.1f us a run\n", "", cpu);
}
