#pragma once

// Ends the refresh thread from inside Xlib after the connection was lost,
// for libraries whose lost-connection handling would otherwise end the
// process. Reports the loss first.
[[noreturn]] void x11_end_thread_after_loss();
