#pragma once
// What the end-to-end tests of the program in a window share: the picture
// the window must show, and a user at an X server of the test's own who
// types and looks.
#include <gtest/gtest.h>  // first: before the X headers' macros

#include <chrono>
#include <string>
#include <vector>

#include "display/x_server.h"

// The picture at the final wait after `typed` and Enter, made by the same
// steps on the in-memory screen of this process.
std::vector<Rgb> final_picture(const std::string& typed);

// Waits until the 512 x 512 window shows the picture (or its top left
// corner of `columns` x `rows` pixels); describes the difference when it
// never does.
::testing::AssertionResult window_shows(const XClient& client, Window w, const std::vector<Rgb>& want,
                                        std::chrono::milliseconds limit = std::chrono::seconds(20),
                                        size_t columns = 512, size_t rows = 512);

// Text and named keys typed on the server's keyboard, 30 ms apart.
void type_text(const XvfbServer& server, const std::string& text);
void type_keys(const XvfbServer& server, const std::vector<std::string>& names);

// The process runs, not merely waits to be reaped.
bool process_alive(int pid);
