#pragma once

// Points all console hooks at the graphics screen, or empties them all.
void gfx_console_hooks_fill();
void gfx_console_hooks_empty();
