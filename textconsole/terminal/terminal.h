#pragma once
#include <cstdint>
#include <string>

// The terminal behind the character console: its window, the cursor as the
// console keeps it, and the terminal modes while keys are read.
struct TerminalState {
    bool checked;     // standard output examined once
    bool output_tty;  // standard output is a terminal
    int32_t columns;  // window size, from the terminal
    int32_t rows;
    int32_t cursor_x;  // 0-based window cell of the cursor
    int32_t cursor_y;
    bool cursor_synced;  // position learnt from the terminal itself
    bool cursor_visible;
    bool pending_newline;  // text ended in the last cell; the line break waits
    std::string out;       // bytes of the current output call, written at once
};

TerminalState& terminal();

// Examines standard output and fetches the window size the first time, and
// again after the terminal was resized. Returns the state.
TerminalState& terminal_refresh();

// The console is usable as a text window: output goes to a terminal at
// least two cells wide and high. Otherwise output is written raw.
bool terminal_has_window();

// Standard input is a terminal: keys are read from it in raw mode.
bool terminal_input_tty();

// Non-canonical, no echo, signals kept (Ctrl+C still ends the process).
// Entered once and kept to the end; restored at exit, on fatal and stop
// signals, and re-entered after a stop.
void terminal_enter_raw();

// True once after the terminal hung up (SIGHUP).
bool terminal_hung_up();

// True once after the program was stopped and continued (SIGTSTP, then
// SIGCONT): the terminal's modes are back, its screen is the shell's.
bool terminal_resumed();

// True once after the window size changed (SIGWINCH).
bool terminal_resized();

// Appends to the output buffer; terminal_flush writes it in one go.
void terminal_write(const char* bytes, size_t n);
void terminal_flush();

// Writes bytes straight to standard output, whole, ignoring failures
// (a terminal that went away).
void write_all(int fd, const char* bytes, size_t n);

// Remembers whether the cursor is hidden, so every way out shows it again.
void terminal_set_cursor_hidden(bool hidden);

// Makes the console's idea of the cursor match the terminal: after a start
// or a resize, asks the terminal where its cursor is.
void terminal_sync_cursor();

// Forgets everything (used when the runtime starts).
void terminal_reset();
