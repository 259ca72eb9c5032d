#pragma once

// Test aid: writes the visible page of the current graphics screen as a
// PNG through the device palette, so a failing pixel check can be looked
// at. False when no 8-bit screen is open or the file can't be written.
#ifdef WT_TESTS_WITHOUT_PNG
// The cross build has no libpng: there the picture is not saved.
inline bool save_visible_page_png(const char*) { return false; }
#else
bool save_visible_page_png(const char* path);
#endif
