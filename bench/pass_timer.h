#pragma once
// Times a step many times in a row and prints the median and the spread,
// for the measuring programs that run where Google Benchmark is not built
// (the Windows programs under Wine).
#include <algorithm>
#include <chrono>
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
