#pragma once

// Test aid: writes the visible page of the current graphics screen as a
// PNG through the device palette, so a failing pixel check can be looked
// at. False when no 8-bit screen is open or the file can't be written.
bool save_visible_page_png(const char* path);
