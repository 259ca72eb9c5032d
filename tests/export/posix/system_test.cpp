// The real binary on Linux: after the program in its folder, read back by
// sox, and against the file system's failures (a full disk, a read-only
// folder, a file size limit, an unreadable input), as root too.
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "export/command_run.h"
#include "support/posix/program.h"
#include "support/reference_waves.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* SOX = "/usr/bin/sox";

ProgramResult run_binary(const std::string& folder, const std::vector<std::string>& words) {
    ProgramRun run;
    run.directory = folder;
    run.command = {WAVETABLE_EXPORT_BINARY};
    run.command.insert(run.command.end(), words.begin(), words.end());
    return run_program(run);
}

// A file system mounted for a test and taken away after it; mounted()
// false where the test may not mount (not root, or a sandbox that forbids).
class Mount {
   public:
    Mount(const char* source, const std::string& target, const char* type, unsigned long flags, const char* data)
        : target_(target), mounted_(mount(source, target.c_str(), type, flags, data) == 0) {}
    ~Mount() {
        if (mounted_) umount2(target_.c_str(), MNT_DETACH);
    }
    bool remount_read_only() {
        return mount(nullptr, target_.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) == 0;
    }
    bool mounted() const { return mounted_; }

   private:
    std::string target_;
    bool mounted_;
};

TEST(ExportBinary, AfterTheProgramInItsFolder) {
    ScratchDir dir;
    ProgramRun program;
    program.command = {WAVETABLE_PROGRAM};
    program.directory = dir.path();
    program.stdin_data = "100\n";
    ASSERT_EQ(run_program(program).exit_status, 0);

    ProgramRun shell;  // as a user types it, the shell expanding *.bin
    shell.command = {"/bin/sh", "-c", "exec \"$0\" *.bin", WAVETABLE_EXPORT_BINARY};
    shell.directory = dir.path();
    const ProgramResult r = run_program(shell);
    EXPECT_EQ(r.exit_status, 0);
    EXPECT_EQ(r.output, "");
    EXPECT_EQ(r.errors,
              "wavetable-export: sawtooth.bin: rate 100 puts 3.125 cycles in each 2048-sample frame; frames loop "
              "cleanly when the rate is a multiple of 32\n"
              "wavetable-export: trisquare.bin: empty, skipped\n");
    for (const char* name : reference::SHAPE_FILES) {
        const std::string wav = fs::path(dir.file(name)).replace_extension(".wav").string();
        EXPECT_EQ(wav_fault(read_file(wav), read_samples(dir.file(name)), 2048), "") << wav;
    }
    EXPECT_EQ(folder_names(dir.path()).size(), 15u);
}

TEST(ExportBinary, HelpAndVersionOnStandardOutput) {
    ScratchDir dir;
    const ProgramResult help = run_binary(dir.path(), {"--help"});
    EXPECT_EQ(help.exit_status, 0);
    EXPECT_EQ(help.output.rfind("Usage: wavetable-export", 0), 0u);
    const ProgramResult mistake = run_binary(dir.path(), {"--frame", "3"});
    EXPECT_EQ(mistake.exit_status, 2);
    EXPECT_EQ(mistake.output, "");
    EXPECT_NE(mistake.errors, "");
}

// sox as a second, strict reader: what it tells of the file, without a
// warning, and the samples it reads equal to the table, for each frame size
// (the clm chunk and its padding change with it).
TEST(SoxReader, ReadsEveryFrameSizeAsTheTable) {
    ASSERT_TRUE(fs::exists(SOX)) << "sox is needed (tools/setup-debian.sh test)";
    ScratchDir dir;
    const std::vector<int16_t> table = probe_table(65536);
    write_table(dir.file("t.bin"), table);
    for (const char* frame : {"256", "512", "1024", "2048", "4096"}) {
        SCOPED_TRACE(frame);
        ASSERT_EQ(run_binary(dir.path(), {"--frame", frame, "t.bin"}).exit_status, 0);
        ProgramRun info;
        info.command = {SOX, "--i", dir.file("t.wav")};
        const ProgramResult i = run_program(info);
        EXPECT_EQ(i.errors, "");
        for (const char* fact : {"Channels       : 1", "Sample Rate    : 44100", "= 65536 samples",
                                 "Sample Encoding: 32-bit Floating Point PCM"})
            EXPECT_NE(i.output.find(fact), std::string::npos) << fact << " in\n" << i.output;
        ProgramRun convert;  // without dither: the exact values
        convert.command = {SOX,  "-D", dir.file("t.wav"),   "-t", "raw", "-e", "signed-integer", "-b",
                           "16", "-L", dir.file("back.raw")};
        const ProgramResult c = run_program(convert);
        EXPECT_EQ(c.errors, "");
        EXPECT_EQ(read_samples(dir.file("back.raw")), table);
    }
}

// A full disk: the output that does not fit is not left half-written, the
// old one stays, and the next file still goes.
TEST(ExportFailures, FullDisk) {
    ScratchDir inputs, disk;
    Mount tmpfs("tmpfs", disk.path(), "tmpfs", 0, "size=64k");
    if (!tmpfs.mounted()) GTEST_SKIP() << "cannot mount a small file system here: " << std::strerror(errno);
    write_table(inputs.file("big.bin"), probe_table(65536));  // 256 KiB as a WAV
    write_table(inputs.file("small.bin"), probe_table(256));
    write_file(disk.file("big.wav"), {'o', 'l', 'd'});
    const CommandRun run =
        run_export({"--frame", "256", "-o", disk.path(), inputs.file("big.bin"), inputs.file("small.bin")});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "wavetable-export: " + disk.file("big.wav") + ": No space left on device\n");
    EXPECT_EQ(read_file(disk.file("big.wav")), (std::vector<unsigned char>{'o', 'l', 'd'}));
    EXPECT_EQ(wav_fault(read_file(disk.file("small.wav")), probe_table(256), 256), "");
    EXPECT_EQ(folder_names(disk.path()), (std::vector<std::string>{"big.wav", "small.wav"}));
}

// A read-only folder: a read-only mount as root (whom permission bits do
// not stop), the bits otherwise.
TEST(ExportFailures, ReadOnlyFolder) {
    ScratchDir locked, open;
    write_table(locked.file("a.bin"), probe_table(2048));
    write_file(locked.file("a.wav"), {'o', 'l', 'd'});
    write_table(open.file("b.bin"), probe_table(2048));
    std::optional<Mount> read_only;
    std::string reason = "Permission denied";
    if (geteuid() == 0) {
        read_only.emplace(locked.path().c_str(), locked.path(), nullptr, MS_BIND, nullptr);
        if (!read_only->mounted() || !read_only->remount_read_only()) GTEST_SKIP() << "no read-only bind mount here";
        reason = "Read-only file system";
    } else {
        chmod(locked.path().c_str(), 0555);
    }
    const CommandRun run = run_export({locked.file("a.bin"), open.file("b.bin")});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "wavetable-export: " + locked.file("a.wav") + ": " + reason + "\n");
    EXPECT_EQ(read_file(locked.file("a.wav")), (std::vector<unsigned char>{'o', 'l', 'd'}));
    EXPECT_EQ(folder_names(locked.path()), (std::vector<std::string>{"a.bin", "a.wav"}));
    EXPECT_EQ(wav_fault(read_file(open.file("b.wav")), probe_table(2048), 2048), "");
}

// A write cut short mid-file (as a disk filling up would), for any user.
TEST(ExportFailures, WriteCutShortByTheFileSizeLimit) {
    ScratchDir dir;
    write_table(dir.file("t.bin"), probe_table(65536));
    write_table(dir.file("s.bin"), probe_table(256));
    write_file(dir.file("t.wav"), {'o', 'l', 'd'});
    ProgramRun run;
    run.command = {WAVETABLE_EXPORT_BINARY, "--frame", "256", "t.bin", "s.bin"};
    run.directory = dir.path();
    run.file_size_limit = 100000;
    const ProgramResult r = run_program(run);
    EXPECT_EQ(r.exit_status, 1);
    EXPECT_EQ(r.errors, "wavetable-export: t.wav: File too large\n");
    EXPECT_EQ(read_file(dir.file("t.wav")), (std::vector<unsigned char>{'o', 'l', 'd'}));
    EXPECT_EQ(wav_fault(read_file(dir.file("s.wav")), probe_table(256), 256), "");
    EXPECT_EQ(folder_names(dir.path()), (std::vector<std::string>{"s.bin", "s.wav", "t.bin", "t.wav"}));
}

// An input the user may not read: as "nobody" when started as root.
TEST(ExportFailures, UnreadableInput) {
    ScratchDir dir;
    write_table(dir.file("secret.bin"), probe_table(2048));
    write_table(dir.file("open.bin"), probe_table(2048));
    chmod(dir.file("secret.bin").c_str(), 0);
    ScratchDir bin;  // a copy of the binary that "nobody" can reach wherever the build lives
    fs::copy_file(WAVETABLE_EXPORT_BINARY, bin.file("wavetable-export"));
    chmod(bin.path().c_str(), 0755);
    ProgramRun run;
    run.command = {bin.file("wavetable-export"), "secret.bin", "open.bin"};
    run.directory = dir.path();
    run.drop_privileges = true;
    const ProgramResult r = run_program(run);
    EXPECT_EQ(r.exit_status, 1);
    EXPECT_EQ(r.errors, "wavetable-export: secret.bin: Permission denied\n");
    EXPECT_FALSE(fs::exists(dir.file("secret.wav")));
    EXPECT_EQ(wav_fault(read_file(dir.file("open.wav")), probe_table(2048), 2048), "");
}

}  // namespace
