#pragma once
#include <chrono>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>
#include "support/posix/child_env.h"
#include "support/scratch_dir.h"

// Runs the real wavetable binary as a child process, the way a user or a
// script would: with given standard input, working directory and
// environment.
struct ProgramRun {
    // The program and its arguments; empty: the wavetable binary under test.
    std::vector<std::string> command;
    std::string stdin_data;
    std::string directory;
    // Environment changes: a value sets the variable, nullopt removes it.
    // DISPLAY is removed unless given, so no window opens.
    EnvChanges env;
    std::string stdin_file;  // read standard input from this file instead
    bool stdin_from_dev_null = false;
    // Run as "nobody" when started as root, from a copy of the binary that
    // "nobody" can reach wherever the build lives.
    bool drop_privileges = false;
    long file_size_limit = 0;    // RLIMIT_FSIZE in bytes (SIGXFSZ ignored), 0 = none
    long address_space_mib = 0;  // limit of the child's address space, 0 = none
    std::chrono::milliseconds timeout{20000};
    // Called on the caller's thread once the child runs, with its process
    // id; the child is waited for (within the timeout) after it returns.
    std::function<void(int pid)> while_running;
};

struct ProgramResult {
    int exit_status = -1;  // -1 when killed or timed out
    int signal = 0;
    bool timed_out = false;
    std::string output;  // standard output
    std::string errors;  // standard error
};

ProgramResult run_program(const ProgramRun& run);

// The process runs, and is not merely waiting to be reaped.
bool process_running(int pid);
