// No keyboard layout to ask here: keys arrive as characters or key
// symbols, and the US layout stands in for the keyboard layer.
#include "gfx/key_codes.h"

int32_t virtual_key_char(int32_t virtual_key) { return us_virtual_key_char(virtual_key); }

int32_t char_virtual_key(int32_t character) { return us_char_virtual_key(character); }
