#pragma once
#include <cstdint>

struct StringDesc;

// The graphics screen's key operations (console hooks 1, 2, 3, 15, 24).
StringDesc* gfx_inkey();
int32_t gfx_getkey();
int32_t gfx_keyhit();
int32_t gfx_key_state(int32_t scan_code);
void gfx_sleep(int32_t milliseconds);
