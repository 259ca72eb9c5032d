#pragma once
#include "runtime/code_ring.h"

// The character console's key ring: 512 entries, at most 511 held. The
// push from a closing console goes through the program's own thread here
// (the hang-up is noticed by the key poll), so the ring needs no lock.
using KeyRing = CodeRing<512>;

KeyRing& key_ring();
