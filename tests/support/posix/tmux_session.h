#pragma once
#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "support/posix/child_env.h"
#include "support/scratch_dir.h"

// A command in the pane of a tmux server of its own, driven the way a
// person at a terminal would: keys typed by name, the screen and the
// cursor read back. The server goes with the object.
class TmuxSession {
   public:
    struct Options {
        std::vector<std::string> command;  // program and arguments
        std::string directory;             // where it runs
        int columns = 80;
        int rows = 24;
        std::string before;       // shell text run in the pane first (fills the screen, say)
        std::string stdout_file;  // standard output redirected to this file
        EnvChanges env;           // DISPLAY is removed unless given
    };

    explicit TmuxSession(const Options& options);
    ~TmuxSession();
    TmuxSession(const TmuxSession&) = delete;
    TmuxSession& operator=(const TmuxSession&) = delete;

    bool started() const { return started_; }

    // The visible rows of the pane, trailing blanks removed.
    std::vector<std::string> screen() const;
    // The pane's cursor, 0-based column and row.
    std::pair<int, int> cursor() const;

    // The pane's terminal no longer echoes what is typed: the program (or
    // Wine's console for it) has put it into raw mode, so keys sent now
    // reach the program only.
    bool echo_off() const;

    // tmux key names ("Left", "Enter", "C-c") or characters, one key each,
    // with a pause after every key so the program takes them one by one.
    void keys(const std::vector<std::string>& names, std::chrono::milliseconds pause = std::chrono::milliseconds(150));

    // Polls until `done` holds or the time is up.
    static bool wait_until(const std::function<bool()>& done,
                           std::chrono::milliseconds timeout = std::chrono::seconds(30));
    // Waits until some row of the screen contains `text`; its row, or -1.
    int wait_for_text(const std::string& text, std::chrono::milliseconds timeout = std::chrono::seconds(30)) const;
    // The command's exit status once it ended within the time.
    std::optional<int> wait_exit(std::chrono::milliseconds timeout = std::chrono::seconds(30));

   private:
    std::string tmux(const std::vector<std::string>& args) const;

    std::string socket_;
    ScratchDir own_;  // the exit status file
    bool started_ = false;
};

// A word quoted for the POSIX shell.
std::string shell_quote(const std::string& word);
