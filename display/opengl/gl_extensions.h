#pragma once
#include <cstdint>

// The extension text of the OpenGL in use: the OpenGL extension string
// followed by the window system's, at most GL_EXTENSION_TEXT_MAX
// characters in all.

inline constexpr int32_t GL_EXTENSION_TEXT_MAX = 16383;

// Builds the text from the two strings (either may be null). A space is put
// between them when the first does not end in one, so that its last name
// and the second's first stay apart.
void gl_extensions_set(const char* gl, const char* window_system);
void gl_extensions_clear();
const char* gl_extension_text();

// 1 when `name` is in the text as a whole name, else 0: an occurrence
// counts when a space or the end of the text follows it.
int32_t gl_has_extension(const char* name);
