// No keyboard layout to ask here: keys arrive as characters or key
// symbols, and the US layout stands in for the keyboard layer.
#include "runtime/os_keyboard_layout.h"

const OsKeyboardLayout* os_keyboard_layout() { return nullptr; }
