#include "textconsole/key_ring.h"

#include "runtime/console/key_codes.h"
#include "runtime/console/keyboard_layout.h"
#include "runtime/console/virtual_keys.h"

namespace {

KeyRing g_ring;

}  // namespace

KeyRing& key_ring() { return g_ring; }

ConsoleKeyEvent close_key_event() {
    return ConsoleKeyEvent{1, 1, VKEY_F4, virtual_key_scan_code(VKEY_F4), 0, KEYMOD_LEFT_ALT};
}
