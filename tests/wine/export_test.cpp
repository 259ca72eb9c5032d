// The cross-built wavetable-export.exe under Wine: on the files the
// Windows program wrote, given "*.bin" as Windows' command interpreter
// passes it (unexpanded), and on bad inputs beside a good one.
#include <gtest/gtest.h>

#include <algorithm>

#include "export/command_run.h"
#include "support/posix/program.h"
#include "support/reference_waves.h"
#include "wine_program.h"

namespace {

using namespace std::chrono_literals;

ProgramResult run_export_exe(const ScratchDir& dir, const std::vector<std::string>& words) {
    ProgramRun run;
    run.command = wine_export_command();
    run.command.insert(run.command.end(), words.begin(), words.end());
    run.directory = dir.path();
    run.timeout = 60s;
    ProgramResult r = run_program(run);
    // Standard error is in text mode on Windows.
    r.errors.erase(std::remove(r.errors.begin(), r.errors.end(), '\r'), r.errors.end());
    return r;
}

TEST(WineExport, ThePatternOverTheProgramsFiles) {
    ScratchDir dir;
    ProgramRun program;
    program.command = wine_command();
    program.stdin_data = "100\n";
    program.directory = dir.path();
    program.timeout = 60s;
    ASSERT_EQ(run_program(program).exit_status, 0);
    const ProgramResult r = run_export_exe(dir, {"*.bin"});
    EXPECT_EQ(r.exit_status, 0);
    EXPECT_EQ(r.errors,
              "wavetable-export: sawtooth.bin: rate 100 puts 3.125 cycles in each 2048-sample frame; frames loop "
              "cleanly when the rate is a multiple of 32\n"
              "wavetable-export: trisquare.bin: empty, skipped\n");
    const reference::Shapes shapes = reference::compute(100);
    for (int shape = 0; shape < 7; ++shape) {
        std::string wav = reference::SHAPE_FILES[shape];
        wav.replace(wav.size() - 4, 4, ".wav");
        EXPECT_EQ(wav_fault(read_file(dir.file(wav)), shapes.of[shape], 2048), "") << wav;
    }
    EXPECT_EQ(folder_names(dir.path()).size(), 15u) << "no trisquare.wav, no temporary file";
}

TEST(WineExport, BadInputsBesideAGoodOneThatReplacesItsOldOutput) {
    ScratchDir dir;
    const std::vector<int16_t> table = probe_table(4096);
    write_table(dir.file("good.bin"), table);
    write_file(dir.file("good.wt"), {'o', 'l', 'd'});
    write_file(dir.file("odd.bin"), {1, 2, 3});
    const ProgramResult r =
        run_export_exe(dir, {"--format", "wt", "--frame", "256", "odd.bin", "missing.bin", "good.bin"});
    EXPECT_EQ(r.exit_status, 1);
    EXPECT_EQ(r.errors,
              "wavetable-export: odd.bin: odd length (3 bytes): not 16-bit samples\n"
              "wavetable-export: missing.bin: No such file or directory\n");
    EXPECT_EQ(wt_fault(read_file(dir.file("good.wt")), table, 256), "");
    EXPECT_EQ(folder_names(dir.path()), (std::vector<std::string>{"good.bin", "good.wt", "odd.bin"}));
}

}  // namespace
