// The whole command in-process, in a scratch folder: what it writes, what
// it says, and its exit status. Runs in the Windows build too.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "command_run.h"
#include "support/reference_waves.h"
#include "support/scratch_dir.h"

namespace fs = std::filesystem;

namespace {

class ExportCommand : public ::testing::Test {
   protected:
    ScratchDir dir;
    InFolder here{dir.path()};
};

// The folder of a run of the program with `rate`: seven tables and the empty
// trisquare.bin.
void write_program_files(int16_t rate, const std::string& folder = ".") {
    const reference::Shapes shapes = reference::compute(rate);
    for (int shape = 0; shape < 7; ++shape)
        write_table((fs::path(folder) / reference::SHAPE_FILES[shape]).string(), shapes.of[shape]);
    write_table((fs::path(folder) / "trisquare.bin").string(), {});
}

std::string line(const std::string& text) { return "wavetable-export: " + text + "\n"; }

std::string path_in(const std::string& folder, const std::string& name) { return (fs::path(folder) / name).string(); }

TEST_F(ExportCommand, TheProgramsFolderGivesSevenWavFiles) {
    write_program_files(32);
    const std::vector<std::string> bins = folder_names(".");  // as *.bin
    const CommandRun run = run_export(bins);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, line("trisquare.bin: empty, skipped"));
    EXPECT_EQ(run.out, "");
    const reference::Shapes shapes = reference::compute(32);
    std::vector<std::string> expected = bins;
    for (int shape = 0; shape < 7; ++shape) {
        const std::string wav = fs::path(reference::SHAPE_FILES[shape]).replace_extension(".wav").string();
        EXPECT_EQ(wav_fault(read_file(wav), shapes.of[shape], 2048), "") << wav;
        expected.push_back(wav);
    }
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(folder_names("."), expected) << "no trisquare.wav, no temporary file";
}

TEST_F(ExportCommand, EveryOptionRoundTrips) {
    struct Case {
        std::vector<std::string> options;
        std::string input, output;
        bool wt;
        int32_t frame;
    };
    const Case cases[] = {
        {{}, "t.bin", "t.wav", false, 2048},
        {{"--frame", "256"}, "t.bin", "t.wav", false, 256},
        {{"--frame=4096"}, "t.bin", "t.wav", false, 4096},
        {{"--format=wav", "--frame", "1024"}, "t.bin", "t.wav", false, 1024},
        {{"--format", "wt"}, "t.bin", "t.wt", true, 2048},
        {{"--format=wt", "--frame=512"}, "t.bin", "t.wt", true, 512},
        {{"-o", "out"}, "t.bin", path_in("out", "t.wav"), false, 2048},
        {{"--output=out", "--format", "wt", "--frame", "256"}, "t.bin", path_in("out", "t.wt"), true, 256},
        {{"--"}, "-t.bin", "-t.wav", false, 2048},
        {{}, "noextension", "noextension.wav", false, 2048},
    };
    fs::create_directory("out");
    const std::vector<int16_t> table = probe_table(65536);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.output);
        write_table(c.input, table);
        std::vector<std::string> words = c.options;
        words.push_back(c.input);
        const CommandRun run = run_export(words);
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.err, "");
        const std::vector<unsigned char> file = read_file(c.output);
        EXPECT_EQ(c.wt ? wt_fault(file, table, c.frame) : wav_fault(file, table, c.frame), "");
        fs::remove(c.output);
    }
}

// Frames of N samples hold rate * N / 65536 cycles: whole ones loop cleanly.
TEST_F(ExportCommand, CycleFitNoteForATableOfRates) {
    struct Case {
        int16_t rate;
        int32_t frame;
        std::string note;
    };
    const Case cases[] = {
        {32, 2048, ""},
        {64, 2048, ""},
        {0, 2048, ""},
        {16, 4096, ""},
        {-32768, 256, ""},
        {100, 2048,
         "rate 100 puts 3.125 cycles in each 2048-sample frame; frames loop cleanly when the rate is a "
         "multiple of 32"},
        {-100, 2048,
         "rate -100 puts 3.125 cycles in each 2048-sample frame; frames loop cleanly when the rate is a "
         "multiple of 32"},
        {1, 2048,
         "rate 1 puts 0.03125 cycles in each 2048-sample frame; frames loop cleanly when the rate is a "
         "multiple of 32"},
        {48, 1024,
         "rate 48 puts 0.75 cycles in each 1024-sample frame; frames loop cleanly when the rate is a "
         "multiple of 64"},
        {1, 256,
         "rate 1 puts 0.00390625 cycles in each 256-sample frame; frames loop cleanly when the rate is a "
         "multiple of 256"},
        {32767, 4096,
         "rate 32767 puts 2047.9375 cycles in each 4096-sample frame; frames loop cleanly when the "
         "rate is a multiple of 16"},
        {32, 512,
         "rate 32 puts 0.25 cycles in each 512-sample frame; frames loop cleanly when the rate is a "
         "multiple of 128"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rate);
        write_program_files(c.rate);
        // The sawtooth beside the input tells the rate.
        const CommandRun run = run_export({"--frame", std::to_string(c.frame), "sineish.bin"});
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.err, c.note.empty() ? "" : line("sawtooth.bin: " + c.note));
    }
}

TEST_F(ExportCommand, CycleFitNoteOncePerFolderOfInputs) {
    for (const char* folder : {"a", "b", "c", "d"}) fs::create_directory(folder);
    write_program_files(100, "a");
    write_program_files(32, "b");
    write_program_files(48, "c");
    write_table(path_in("d", "lone.bin"), probe_table(2048));
    const CommandRun run =
        run_export({path_in("a", "sawtooth.bin"), path_in("a", "square.bin"), path_in("b", "square.bin"),
                    path_in("c", "square.bin"), path_in("d", "lone.bin")});
    EXPECT_EQ(run.status, 0);
    const std::string fit = " cycles in each 2048-sample frame; frames loop cleanly when the rate is a multiple of 32";
    EXPECT_EQ(run.err, line(path_in("a", "sawtooth.bin") + ": rate 100 puts 3.125" + fit) +
                           line(path_in("c", "sawtooth.bin") + ": rate 48 puts 1.5" + fit));
}

TEST_F(ExportCommand, BadInputsAreReportedOneLineEachAndTheOthersDone) {
    const std::vector<int16_t> table = probe_table(2048);
    write_table("first.bin", table);
    write_file("odd.bin", {1, 2, 3});
    write_table("short.bin", probe_table(1000));
    write_table("long.bin", probe_table(513 * 2048));
    fs::create_directory("folder.bin");
    write_table("table.wav", table);
    write_table("last.bin", table);
    const CommandRun run =
        run_export({"first.bin", "missing.bin", "odd.bin", "short.bin", "long.bin", "table.wav", "last.bin"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, line("missing.bin: No such file or directory") +
                           line("odd.bin: odd length (3 bytes): not 16-bit samples") +
                           line("short.bin: 1000 samples are not a whole number of 2048-sample frames") +
                           line("long.bin: longer than 512 2048-sample frames, the most a wavetable holds") +
                           line("table.wav: its output table.wav is the file itself"));
    EXPECT_EQ(wav_fault(read_file("first.wav"), table, 2048), "");
    EXPECT_EQ(wav_fault(read_file("last.wav"), table, 2048), "");
    EXPECT_EQ(read_samples("table.wav"), table) << "the input is untouched";
    EXPECT_EQ(folder_names("."),
              (std::vector<std::string>{"first.bin", "first.wav", "folder.bin", "last.bin", "last.wav", "long.bin",
                                        "odd.bin", "short.bin", "table.wav"}));

    // The system's reason differs (Linux reads a folder and fails, Windows
    // does not open it), but it is one line about the folder.
    const CommandRun folder = run_export({"folder.bin"});
    EXPECT_EQ(folder.status, 1);
    EXPECT_EQ(folder.err.rfind("wavetable-export: folder.bin: ", 0), 0u) << folder.err;
    EXPECT_EQ(std::count(folder.err.begin(), folder.err.end(), '\n'), 1);
    EXPECT_FALSE(fs::exists("folder.wav"));
}

TEST_F(ExportCommand, AnOutputIsWrittenOnceARun) {
    fs::create_directory("a");
    fs::create_directory("b");
    fs::create_directory("out");
    write_table(path_in("a", "t.bin"), probe_table(2048));
    write_table(path_in("b", "t.bin"), probe_table(4096));
    const CommandRun run = run_export({"-o", "out", path_in("a", "t.bin"), path_in("b", "t.bin")});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, line(path_in("b", "t.bin") + ": its output " + path_in("out", "t.wav") +
                            " was just written from another file"));
    EXPECT_EQ(wav_fault(read_file(path_in("out", "t.wav")), probe_table(2048), 2048), "");
}

TEST_F(ExportCommand, AnExistingOutputIsReplaced) {
    const std::vector<int16_t> table = probe_table(4096);
    write_table("t.bin", table);
    write_file("t.wav", std::vector<unsigned char>(300000, 0x55));  // longer than the new one
    EXPECT_EQ(run_export({"t.bin"}).status, 0);
    EXPECT_EQ(wav_fault(read_file("t.wav"), table, 2048), "");
    EXPECT_EQ(folder_names("."), (std::vector<std::string>{"t.bin", "t.wav"}));
}

TEST_F(ExportCommand, AnOutputFolderThatIsNoneStopsTheRun) {
    write_table("t.bin", probe_table(2048));
    const CommandRun missing = run_export({"-o", "nowhere", "t.bin"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, line("nowhere: No such file or directory"));
    const CommandRun file = run_export({"--output", "t.bin", "t.bin"});
    EXPECT_EQ(file.status, 1);
    EXPECT_EQ(file.err, line("t.bin: Not a directory"));
    EXPECT_EQ(folder_names("."), std::vector<std::string>{"t.bin"});
}

TEST_F(ExportCommand, CommandLineMistakesDoNothing) {
    struct Case {
        std::vector<std::string> words;
        std::string mistake;
    };
    const std::string frames = ": not a power of two from 256 to 4096";
    const Case cases[] = {
        {{"--frame", "1000", "t.bin"}, "--frame 1000" + frames},
        {{"--frame=128", "t.bin"}, "--frame 128" + frames},
        {{"--frame", "8192", "t.bin"}, "--frame 8192" + frames},
        {{"--frame", "2048x", "t.bin"}, "--frame 2048x" + frames},
        {{"--frame", "-2048", "t.bin"}, "--frame -2048" + frames},
        {{"--frame", "18446744073709553664", "t.bin"}, "--frame 18446744073709553664" + frames},
        {{"t.bin", "--frame"}, "--frame needs a number"},
        {{"--format", "mp3", "t.bin"}, "--format mp3: not wav or wt"},
        {{"--format=WAV", "t.bin"}, "--format WAV: not wav or wt"},
        {{"t.bin", "--format"}, "--format needs wav or wt"},
        {{"t.bin", "-o"}, "--output needs a folder"},
        {{"--output=", "t.bin"}, "--output needs a folder"},
        {{"--bogus", "t.bin"}, "unknown option --bogus"},
        {{"-x", "t.bin"}, "unknown option -x"},
        {{}, "no files given"},
        {{"--frame", "256", "--"}, "no files given"},
    };
    write_table("t.bin", probe_table(4096));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mistake);
        const CommandRun run = run_export(c.words);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.err, line(c.mistake + " (see wavetable-export --help)"));
        EXPECT_EQ(run.out, "");
    }
    EXPECT_EQ(folder_names("."), std::vector<std::string>{"t.bin"});
}

TEST_F(ExportCommand, HelpAndVersion) {
    write_table("t.bin", probe_table(2048));
    for (const char* help : {"--help", "-h"}) {
        const CommandRun run = run_export({"t.bin", help});
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.out.rfind("Usage: wavetable-export [OPTIONS] FILE...\n", 0), 0u);
        for (const char* option : {"--output DIR", "--format wt", "--frame N", "--version"})
            EXPECT_NE(run.out.find(option), std::string::npos) << option;
        EXPECT_EQ(run.err, "");
    }
    const CommandRun version = run_export({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out.rfind("wavetable-export (wavetable) ", 0), 0u);
    EXPECT_EQ(folder_names("."), std::vector<std::string>{"t.bin"}) << "help and version export nothing";
}

}  // namespace
