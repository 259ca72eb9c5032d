// The real program with standard input redirected: the batch tool.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <random>

#include "generator/run.h"
#include "support/numeric_table.h"
#include "support/posix/program.h"
#include "support/reference_waves.h"

namespace {

using reference::SHAPE_FILES;

ProgramResult run_batch(const ScratchDir& dir, const std::string& input) {
    ProgramRun run;
    run.directory = dir.path();
    run.stdin_data = input;
    return run_program(run);
}

void expect_clean_exit(const ProgramResult& r) {
    EXPECT_FALSE(r.timed_out);
    EXPECT_EQ(r.signal, 0);
    EXPECT_EQ(r.exit_status, 0) << r.errors;
    EXPECT_EQ(r.errors, "");
}

// Every file of a run holds exactly the shapes of `rate`.
void expect_files_for_rate(const ScratchDir& dir, int16_t rate) {
    reference::Shapes ref = reference::compute(rate);
    for (int shape = 0; shape < 7; ++shape) {
        std::vector<int16_t> samples = read_samples(dir.file(SHAPE_FILES[shape]));
        ASSERT_EQ(samples.size(), 65536u) << SHAPE_FILES[shape];
        for (size_t i = 0; i < samples.size(); ++i)
            ASSERT_EQ(samples[i], ref.of[shape][i]) << SHAPE_FILES[shape] << " sample " << i << " rate " << rate;
    }
    EXPECT_TRUE(file_exists(dir.file("trisquare.bin")));
    EXPECT_EQ(read_file(dir.file("trisquare.bin")).size(), 0u);
}

int16_t rate_in_files(const ScratchDir& dir) {
    std::vector<int16_t> saw = read_samples(dir.file("sawtooth.bin"));
    if (saw.size() < 2) return 0x7FFF;
    return static_cast<int16_t>(static_cast<uint16_t>(saw[1] - saw[0]));
}

TEST(Batch, Rate128WritesEveryFile) {
    ScratchDir dir;
    ProgramResult r = run_batch(dir, "128\n");
    expect_clean_exit(r);
    for (const char* name : SHAPE_FILES) EXPECT_EQ(read_file(dir.file(name)).size(), 131072u) << name;
    expect_files_for_rate(dir, 128);
    EXPECT_EQ(r.output, "");  // no prompt in batch use
}

// Samples whose values are known by heart, read back from the files the program wrote.
TEST(Batch, PinnedSamplesThroughTheProgram) {
    struct Pin {
        const char* file;
        size_t index;
        int16_t value;
    };
    struct RateCase {
        const char* input;
        std::vector<Pin> pins;
    };
    // clang-format off
    const RateCase cases[] = {
        {"1\n",
         {{"sawtooth.bin", 0, -32768}, {"squaresaw.bin", 0, -32768}, {"sineish.bin", 0, 4},
          {"moogsaw.bin", 0, -32767}, {"moogsquare.bin", 0, -32767}, {"triangle.bin", 0, -1},
          {"square.bin", 0, -32767}, {"squaresaw.bin", 1, -32766}, {"moogsquare.bin", 1, -32703},
          {"triangle.bin", 1, -3}, {"sawtooth.bin", 65535, 32767}, {"moogsquare.bin", 65535, 256},
          {"sineish.bin", 16384, -32764}, {"moogsaw.bin", 65355, -32767}}},
        {"0\n", {{"sawtooth.bin", 65535, -32768}, {"moogsquare.bin", 2, -32639}, {"moogsquare.bin", 2422, -256}}},
        {"-1\n", {{"sawtooth.bin", 1, 32767}, {"sawtooth.bin", 2, 32766}, {"moogsaw.bin", 181, -32767}}},
        {"128\n",
         {{"sawtooth.bin", 256, 0}, {"squaresaw.bin", 256, 0}, {"moogsaw.bin", 256, 16383},
          {"moogsquare.bin", 256, 0}, {"triangle.bin", 256, 1}, {"square.bin", 256, 0}}},
        {"-32768\n", {{"sawtooth.bin", 0, -32768}, {"sawtooth.bin", 1, 0}, {"square.bin", 1, 0},
                      {"square.bin", 2, -32767}}},
    };
    // clang-format on
    for (const RateCase& c : cases) {
        ScratchDir dir;
        expect_clean_exit(run_batch(dir, c.input));
        for (const Pin& p : c.pins) {
            std::vector<int16_t> samples = read_samples(dir.file(p.file));
            ASSERT_GT(samples.size(), p.index);
            EXPECT_EQ(samples[p.index], p.value) << c.input << p.file << "[" << p.index << "]";
        }
        int16_t rate = static_cast<int16_t>(std::stoi(c.input));
        expect_files_for_rate(dir, rate);
    }
}

// Every row of the numeric-input table, typed through standard input into
// the rate that lands in the files.
TEST(Batch, NumericInputTable) {
    for (const auto& [typed, rate] : NUMERIC_INPUT_TABLE) {
        ScratchDir dir;
        expect_clean_exit(run_batch(dir, typed + "\n"));
        EXPECT_EQ(rate_in_files(dir), rate) << "typed [" << typed << "]";
    }
}

TEST(Batch, ExistingFilesAreNotTruncated) {
    ScratchDir dir;
    std::vector<unsigned char> old_trisquare = {1, 2, 3, 4, 5};
    std::vector<unsigned char> old_square(200000);
    for (size_t i = 0; i < old_square.size(); ++i) old_square[i] = static_cast<unsigned char>(i * 7);
    write_file(dir.file("trisquare.bin"), old_trisquare);
    write_file(dir.file("square.bin"), old_square);
    expect_clean_exit(run_batch(dir, "128\n"));
    EXPECT_EQ(read_file(dir.file("trisquare.bin")), old_trisquare);
    std::vector<unsigned char> square = read_file(dir.file("square.bin"));
    ASSERT_EQ(square.size(), 200000u);
    EXPECT_TRUE(std::equal(square.begin() + 131072, square.end(), old_square.begin() + 131072));
    std::vector<int16_t> samples = read_samples(dir.file("square.bin"));
    reference::Shapes ref = reference::compute(128);
    EXPECT_TRUE(std::equal(ref.of[6].begin(), ref.of[6].end(), samples.begin()));
}

TEST(Batch, EmptyInputGivesRateZero) {
    ScratchDir dir;
    ProgramRun run;
    run.directory = dir.path();
    run.stdin_from_dev_null = true;
    expect_clean_exit(run_program(run));
    expect_files_for_rate(dir, 0);
}

// The batch run of rate 128 in `dir`, as "nobody" when the tests run as
// root (for whom nothing is read-only), under a file-size limit when one
// is given.
ProgramResult run_rate_128_as_nobody(const ScratchDir& dir, long file_size_limit = 0) {
    ProgramRun run;
    run.directory = dir.path();
    run.stdin_data = "128\n";
    run.drop_privileges = true;
    run.file_size_limit = file_size_limit;
    return run_program(run);
}

// A file that can't be written in full fails alone, is named on standard
// error with the system's reason, and makes the exit status 1; every other
// file is written in full. Run as "nobody" when the tests run as root, for
// whom nothing is read-only.
TEST(Batch, FailedWritesAreNamedAndFailTheRun) {
    constexpr long LIMIT = 40960;  // a file-size limit standing in for a full disk
    struct Case {
        const char* name;
        std::function<void(const ScratchDir&)> prepare;
        long file_size_limit;
        std::string errors;        // exactly what standard error must say
        std::vector<int> failing;  // shapes whose files fail; -1 for trisquare.bin
        std::function<void(const ScratchDir&)> check = [](const ScratchDir&) {};  // of the failing files
    };
    const std::vector<unsigned char> old_square = {9, 9, 9};
    const Case cases[] = {
        {"file size limit",
         [](const ScratchDir&) {},
         LIMIT,
         "wavetable: sawtooth.bin: File too large\nwavetable: squaresaw.bin: File too large\n"
         "wavetable: sineish.bin: File too large\nwavetable: moogsaw.bin: File too large\n"
         "wavetable: moogsquare.bin: File too large\nwavetable: triangle.bin: File too large\n"
         "wavetable: square.bin: File too large\n",
         {0, 1, 2, 3, 4, 5, 6}},
        {"read-only square.bin",
         [&](const ScratchDir& d) {
             write_file(d.file("square.bin"), old_square);
             chmod(d.file("square.bin").c_str(), 0444);
         },
         0,
         "wavetable: square.bin: Permission denied\n",
         {6},
         [&](const ScratchDir& d) { EXPECT_EQ(read_file(d.file("square.bin")), old_square); }},
        {"directory sawtooth.bin",
         [](const ScratchDir& d) { mkdir(d.file("sawtooth.bin").c_str(), 0755); },
         0,
         "wavetable: sawtooth.bin: Is a directory\n",
         {0},
         [](const ScratchDir& d) { EXPECT_TRUE(std::filesystem::is_directory(d.file("sawtooth.bin"))); }},
        {"moogsaw.bin links to /dev/full",
         [](const ScratchDir& d) { (void)symlink("/dev/full", d.file("moogsaw.bin").c_str()); },
         0,
         "wavetable: moogsaw.bin: No space left on device\n",
         {3}},
    };
    const reference::Shapes ref = reference::compute(128);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchDir dir;
        c.prepare(dir);
        ProgramResult r = run_rate_128_as_nobody(dir, c.file_size_limit);
        EXPECT_FALSE(r.timed_out);
        EXPECT_EQ(r.signal, 0);
        EXPECT_EQ(r.exit_status, 1);
        EXPECT_EQ(r.errors, c.errors);
        EXPECT_EQ(r.output, "");
        auto fails = [&](int shape) { return std::find(c.failing.begin(), c.failing.end(), shape) != c.failing.end(); };
        for (int shape = 0; shape < 7; ++shape) {
            if (!fails(shape)) {
                EXPECT_EQ(read_samples(dir.file(SHAPE_FILES[shape])), ref.of[shape]) << SHAPE_FILES[shape];
            } else if (c.file_size_limit) {  // written up to the limit, no further
                std::vector<int16_t> samples = read_samples(dir.file(SHAPE_FILES[shape]));
                ASSERT_EQ(samples.size(), static_cast<size_t>(LIMIT / 2)) << SHAPE_FILES[shape];
                EXPECT_TRUE(std::equal(samples.begin(), samples.end(), ref.of[shape].begin())) << SHAPE_FILES[shape];
            }
        }
        if (!fails(-1)) {
            EXPECT_EQ(read_file(dir.file("trisquare.bin")).size(), 0u);
        }
        c.check(dir);
    }
}

// trisquare.bin receives no data: when it can't be opened for writing but
// is there (read-only, a directory of that name), nothing is lost and the
// run succeeds; it fails only when it cannot be there at all.
TEST(Batch, AFileThatReceivesNoDataFailsOnlyWhenItCannotBeThere) {
    struct Case {
        const char* name;
        std::function<void(const ScratchDir&)> prepare;
        int exit_status;
        std::string errors;
    };
    const std::vector<std::string> written = {"sawtooth.bin",   "squaresaw.bin", "sineish.bin", "moogsaw.bin",
                                              "moogsquare.bin", "triangle.bin",  "square.bin"};
    const Case cases[] = {
        {"read-only trisquare.bin",
         [](const ScratchDir& d) {
             write_file(d.file("trisquare.bin"), {7, 7});
             chmod(d.file("trisquare.bin").c_str(), 0444);
         },
         0, ""},
        {"directory trisquare.bin", [](const ScratchDir& d) { mkdir(d.file("trisquare.bin").c_str(), 0755); }, 0, ""},
        {"a read-only folder where only trisquare.bin is missing",
         [&](const ScratchDir& d) {
             for (const std::string& name : written) {
                 write_file(d.file(name), {});
                 chmod(d.file(name).c_str(), 0666);
             }
             chmod(d.path().c_str(), 0555);
         },
         1, "wavetable: trisquare.bin: Permission denied\n"},
    };
    const reference::Shapes ref = reference::compute(128);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchDir dir;
        c.prepare(dir);
        ProgramResult r = run_rate_128_as_nobody(dir);
        chmod(dir.path().c_str(), 0755);
        EXPECT_EQ(r.exit_status, c.exit_status);
        EXPECT_EQ(r.errors, c.errors);
        for (int shape = 0; shape < 7; ++shape)
            EXPECT_EQ(read_samples(dir.file(SHAPE_FILES[shape])), ref.of[shape]) << SHAPE_FILES[shape];
    }
}

TEST(Batch, ReadOnlyDirectory) {
    ScratchDir dir;
    chmod(dir.path().c_str(), 0555);
    ProgramResult r = run_rate_128_as_nobody(dir);
    EXPECT_EQ(r.exit_status, 1);
    std::string want;
    for (const char* name : {"sawtooth.bin", "squaresaw.bin", "sineish.bin", "moogsaw.bin", "moogsquare.bin",
                             "trisquare.bin", "triangle.bin", "square.bin"})
        want += std::string("wavetable: ") + name + ": Permission denied\n";
    EXPECT_EQ(r.errors, want);
    EXPECT_FALSE(file_exists(dir.file("sawtooth.bin")));
}

// An endless line and binary garbage: read as tokens and keys, with memory
// bounded whatever the input's length.
// Memory must not grow with the input: the program runs in an address
// space smaller than the longest input. (Sanitizers reserve huge address
// ranges, so their builds run without the limit.)
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool SANITIZED = true;
#else
constexpr bool SANITIZED = false;
#endif
constexpr int MEMORY_LIMIT_MIB = 64;

TEST(Batch, HostileInput) {
    ScratchDir inputs;
    auto make_input = [&](const std::string& name, auto&& fill) {
        std::ofstream out(inputs.file(name), std::ios::binary);
        fill(out);
        return inputs.file(name);
    };
    struct Case {
        std::string path;
        std::optional<int16_t> rate;  // none: whatever the garbage reads as
    };
    const Case cases[] = {
        {make_input("small", [](std::ofstream& o) { o << "7\n"; }), 7},
        {make_input("endless",
                    [](std::ofstream& o) {  // longer than the address space allowed
                        o << '1';
                        std::string chunk(1 << 20, '2');
                        for (int i = 0; i < 2 * MEMORY_LIMIT_MIB; ++i) o << chunk;
                    }),
         -1},  // 67 digits saturate
        {make_input("blanks", [](std::ofstream& o) { o << std::string(100000, ' ') << "7\n"; }), 7},
        {make_input("garbage",
                    [](std::ofstream& o) {
                        std::mt19937 random(42);
                        for (int i = 0; i < (4 << 20); ++i) o.put(static_cast<char>(random()));
                    }),
         std::nullopt},
    };
    for (const Case& c : cases) {
        ScratchDir dir;
        ProgramRun run;
        run.directory = dir.path();
        run.stdin_file = c.path;
        run.address_space_mib = SANITIZED ? 0 : MEMORY_LIMIT_MIB;
        ProgramResult r = run_program(run);
        expect_clean_exit(r);
        EXPECT_EQ(read_file(dir.file("sawtooth.bin")).size(), 131072u);
        if (c.rate) {
            EXPECT_EQ(rate_in_files(dir), *c.rate) << c.path;
        }
    }
}

// Keys after the rate are drained; the end of input ends the wait.
TEST(Batch, TrailingInputIsDrainedAsKeys) {
    ScratchDir dir;
    ProgramResult r = run_batch(dir, "5\nxyz\n\x1b[A more keys");
    expect_clean_exit(r);
    EXPECT_EQ(rate_in_files(dir), 5);
}

}  // namespace
