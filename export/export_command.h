#pragma once
#include <string>
#include <vector>

#include "export/terminal.h"

// The command `wavetable-export`, given the words after its name. Each
// note, skipped file and failure is one line "wavetable-export: NAME: ..."
// on the terminal's error side. The exit status: 0 when every file was
// exported or skipped, 1 when one failed (the others are still done), 2
// for a command line it cannot follow (nothing is done).
int export_command(const std::vector<std::string>& words, Terminal& terminal);
