// The generator: the waveform step on its own, and the whole 65 536-step
// run with its writes into eight files (as the batch program runs it,
// without a screen, and with the in-memory screen drawing the plot).
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstring>
#include <string>

#include "generator/run.h"
#include "generator/wave.h"
#include "gfx/screen.h"
#include "runtime/channels.h"
#include "runtime/file_put.h"
#include "runtime/runtime_context.h"
#include "runtime/strings.h"

namespace {

// One step is one sample of the phase accumulator; it yields the seven
// shapes' values, which are kept in memory as the run does for its writes.
void BM_WaveStep(benchmark::State& state) {
    WaveState w;
    wave_start(w, 128);
    for (auto _ : state) {
        for (int64_t i = 0; i < WAVE_SAMPLE_COUNT; ++i) {
            WaveSamples s = wave_step(w);
            benchmark::DoNotOptimize(s);
        }
    }
    state.SetItemsProcessed(state.iterations() * WAVE_SAMPLE_COUNT);
    state.counters["values/s"] = benchmark::Counter(
        static_cast<double>(state.iterations() * WAVE_SAMPLE_COUNT * SHAPE_COUNT), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_WaveStep)->Unit(benchmark::kMicrosecond);

// Runs in a scratch directory of its own, removed afterwards.
class ScratchDir {
   public:
    ScratchDir() {
        char pattern[] = "/tmp/wavetable-bench-XXXXXX";
        if (!getcwd(old_, sizeof old_) || !mkdtemp(pattern) || chdir(pattern) != 0) return;
        path_ = pattern;
    }
    ~ScratchDir() {
        if (path_.empty()) return;
        for (const WaveFile& f : WAVE_FILES) unlink(f.name);
        if (chdir(old_) != 0 || rmdir(path_.c_str()) != 0) std::perror("wavetable bench: scratch directory");
    }
    bool ok() const { return !path_.empty(); }

   private:
    char old_[4096] = {};
    std::string path_;
};

void open_wave_files() {
    for (const WaveFile& f : WAVE_FILES)
        file_open(temp_string_from_literal(f.name, std::strlen(f.name)), MODE_BINARY, ACCESS_DEFAULT, 0, f.channel, 2);
}

// Opens the files, runs the 65 536 steps with their plots and writes, and
// closes the files (which writes out the last buffers).
void whole_run(benchmark::State& state) {
    ScratchDir dir;
    if (!dir.ok()) return state.SkipWithError("no scratch directory");
    for (auto _ : state) {
        open_wave_files();
        generate_waves(128);
        file_close_all();
    }
    state.SetItemsProcessed(state.iterations() * WAVE_SAMPLE_COUNT);
    state.SetBytesProcessed(state.iterations() * WAVE_SAMPLE_COUNT * 2 * SHAPE_COUNT);
}

// One sample's write, the run's most frequent call: two bytes at the
// current position of a binary file, through the channel's buffer.
void BM_FilePut(benchmark::State& state) {
    runtime_init();
    ScratchDir dir;
    if (!dir.ok()) return state.SkipWithError("no scratch directory");
    if (file_open(temp_string_from_literal("put.bin", 7), MODE_BINARY, ACCESS_DEFAULT, 0, 1, 2) != ERR_NONE)
        return state.SkipWithError("no file");
    int16_t value = 0;
    int64_t written = 0;
    for (auto _ : state) {
        file_put(1, 0, &value, 2);
        ++value;
        // Start again from the first byte now and then, so the file stays small.
        if (++written == 1 << 20) {
            state.PauseTiming();
            file_seek_to(channel_record(1), 1);
            written = 0;
            state.ResumeTiming();
        }
    }
    file_close_all();
    unlink("put.bin");
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FilePut);

void BM_WholeRunNoScreen(benchmark::State& state) {
    runtime_init();
    gfx_screen_close();
    whole_run(state);
}
BENCHMARK(BM_WholeRunNoScreen)->Unit(benchmark::kMicrosecond);

void BM_WholeRunNullScreen(benchmark::State& state) {
    runtime_init();
    setenv("ZVGFX", "null", 1);
    if (gfx_screen_res(512, 512, 8, 4, 0, 0) != ERR_NONE) return state.SkipWithError("no screen");
    whole_run(state);
    gfx_screen_close();
}
BENCHMARK(BM_WholeRunNullScreen)->Unit(benchmark::kMicrosecond);

}  // namespace
