#include "runtime/console/console_redraw.h"

#include <atomic>

namespace {

std::atomic<bool> g_redraw{false};

}  // namespace

void console_request_redraw() { g_redraw.store(true); }

bool console_take_redraw() { return g_redraw.exchange(false); }

bool console_redraw_pending() { return g_redraw.load(); }
