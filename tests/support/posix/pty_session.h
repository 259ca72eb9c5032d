#pragma once
#include <termios.h>
#include "support/posix/child_env.h"

#include <chrono>
#include <map>
#include <optional>
#include <string>

// The real wavetable binary on a pseudo-terminal, driven like a person at a
// terminal would: it reads what the program shows and types keys. Cursor
// position requests (ESC [ 6 n) are answered from a simple model of the
// screen cursor, as a terminal would.
class PtySession {
   public:
    struct Options {
        std::string directory;
        int columns = 80;
        int rows = 24;
        int cursor_row = 1;       // where the terminal's cursor is at start (1-based)
        EnvChanges env;           // DISPLAY removed unless given
        std::string stdout_file;  // standard output redirected to this file
        // Started by a small shell of the session's own, as a job in a
        // process group of its own: Ctrl+Z stops it (a session leader's
        // group would ignore the stop), the shell says "[1]+ Stopped" and
        // takes the terminal back, and "fg" typed to it continues the job.
        bool job_control = false;
    };

    explicit PtySession(const Options& options);
    ~PtySession();
    PtySession(const PtySession&) = delete;
    PtySession& operator=(const PtySession&) = delete;

    bool started() const { return pid_ > 0; }

    // Something else (the shell) wrote to the terminal meanwhile: the
    // cursor now stands at the start of this row (1-based).
    void set_cursor_row(int row) { cursor_row_ = row; }

    // Everything the program wrote so far (raw bytes).
    const std::string& output() const { return output_; }

    // Reads until `text` appears in the output after `from`, or the time is up.
    bool wait_for(const std::string& text, std::chrono::milliseconds timeout = std::chrono::seconds(10),
                  size_t from = 0);
    // Reads whatever arrives within the time.
    void drain(std::chrono::milliseconds time);

    void type(const std::string& bytes);
    void resize(int columns, int rows);
    // Closes the terminal: the program's side hangs up.
    void hang_up();
    void interrupt();  // Ctrl+C

    // Waits for the end; the exit status, or -1 and the signal in *signal.
    int wait_exit(std::chrono::milliseconds timeout = std::chrono::seconds(20), int* signal = nullptr);

    // The terminal's modes as the program left them (valid until hang_up).
    bool modes(termios* out) const;
    const termios& initial_modes() const { return initial_; }

   private:
    void read_available(std::chrono::milliseconds timeout);
    void answer_queries();

    int master_ = -1;
    int pid_ = -1;
    int exit_status_ = -1;
    int exit_signal_ = 0;
    bool exited_ = false;
    size_t answered_ = 0;  // output scanned for position requests
    std::string output_;
    termios initial_{};
    int cursor_row_;
};

// True when two sets of terminal modes are the same in every field a
// program may change.
bool same_modes(const termios& a, const termios& b);
