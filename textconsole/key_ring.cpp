#include "textconsole/key_ring.h"

namespace {

KeyRing g_ring;

}  // namespace

KeyRing& key_ring() { return g_ring; }
