#pragma once
// What the end-to-end tests of the program in a window share.
#include <string>
#include <vector>

#include "display/x_server.h"

// The picture at the final wait after `typed` and Enter, made by the same
// steps on the in-memory screen of this process.
std::vector<Rgb> final_picture(const std::string& typed);

// The process runs, not merely waits to be reaped.
bool process_alive(int pid);
