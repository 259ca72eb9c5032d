#include "display/opengl/gl_extensions.h"

#include <cstring>

namespace {

char g_text[GL_EXTENSION_TEXT_MAX + 1];

// Appends as much of `s` as fits; the text stays zero-terminated.
void append(size_t* used, const char* s) {
    if (!s) return;
    const size_t room = GL_EXTENSION_TEXT_MAX - *used;
    const size_t n = strnlen(s, room);
    std::memcpy(g_text + *used, s, n);
    *used += n;
    g_text[*used] = '\0';
}

}  // namespace

void gl_extensions_set(const char* gl, const char* window_system) {
    size_t used = 0;
    g_text[0] = '\0';
    append(&used, gl);
    if (used > 0 && g_text[used - 1] != ' ' && window_system && window_system[0]) append(&used, " ");
    append(&used, window_system);
}

void gl_extensions_clear() { g_text[0] = '\0'; }

const char* gl_extension_text() { return g_text; }

// The character before an occurrence is not looked at: a name is also
// found at the end of a longer one.
int32_t gl_has_extension(const char* name) {
    if (!name || !name[0]) return 0;
    const size_t length = std::strlen(name);
    for (const char* at = std::strstr(g_text, name); at; at = std::strstr(at + length, name)) {
        const char after = at[length];
        if (after == ' ' || after == '\0') return 1;
    }
    return 0;
}
