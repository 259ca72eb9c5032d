#pragma once

// The console's screen was someone else's for a while (a terminal handed
// to the shell by a stop, and back by a continue): a line being edited is
// drawn again where the cursor stands now, as a shell's own editor does.

// The console driver says so.
void console_request_redraw();

// Whether a redraw was asked for since the last take; the asking is
// cleared.
bool console_take_redraw();

// Whether one is asked for, without clearing it: a key wait ends for it.
bool console_redraw_pending();
