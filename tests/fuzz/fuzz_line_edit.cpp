// The line editor on the in-memory screen, driven by arbitrary key codes:
// each input byte is a key code, except 0, which makes the next byte the
// scan code of an extended key. Enter and line feed end a line and the
// next one starts; when the input is used up, Enter ends the last one.
// The first byte chooses whether the cursor mark is shown. Each line must
// come out as the editing rules make it from the keys.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "gfx/gfx_keys.h"
#include "gfx/gfx_text.h"
#include "gfx/key_queue.h"
#include "gfx/screen.h"
#include "runtime/console/bell.h"
#include "runtime/console/key_codes.h"
#include "runtime/console/line_edit.h"
#include "runtime/console_hooks.h"
#include "runtime/runtime_context.h"
#include "runtime/strings.h"

namespace {

// What the line must hold after each key: the editor's rules on a plain
// string, without the screen.
struct LineModel {
    std::string text;
    size_t pos = 0;

    void insert(const std::string& s) {
        text.insert(pos, s);
        pos += s.size();
    }
    void key(int32_t code, size_t columns) {
        switch (code) {
        case KEY_BACKSPACE:
            if (pos > 0) text.erase(--pos, 1);
            return;
        case KEY_TAB: insert(std::string((pos + 8) / 8 * 8 - pos, ' ')); return;
        case KEY_ESCAPE:
            text.clear();
            pos = 0;
            return;
        case KEY_HOME: pos = 0; return;
        case KEY_END: pos = text.size(); return;
        case KEY_LEFT:
            if (pos > 0) --pos;
            return;
        case KEY_RIGHT:
            if (pos < text.size()) ++pos;
            return;
        case KEY_UP:
            if (pos >= columns) pos -= columns;
            return;
        case KEY_DOWN:
            if (pos + columns <= text.size()) pos += columns;
            return;
        case KEY_DELETE:
            if (pos < text.size()) text.erase(pos, 1);
            return;
        default:
            if (code >= 32 && code <= 255) insert(std::string(1, static_cast<char>(code)));
            return;
        }
    }
};

LineModel g_model;
int32_t g_columns;

// Long enough to fill and scroll the 64 x 64 text screen many times over;
// the editor reprints the rest of the line on every insertion, so longer
// inputs only take longer.
constexpr size_t MAX_KEYS = 600;

const uint8_t* g_next;
const uint8_t* g_end;
size_t g_keys;

int32_t input_code() {
    if (g_next == g_end || g_keys == MAX_KEYS) return KEY_ENTER;
    ++g_keys;
    uint8_t byte = *g_next++;
    if (byte != 0) return byte;
    if (g_next == g_end) return KEY_ENTER;
    return ext_key(*g_next++);
}

int32_t next_code() {
    int32_t code = input_code();
    g_model.key(code, static_cast<size_t>(g_columns));
    return code;
}

// Stands in the console's key test: whenever the editor waits and nothing
// is queued, the next key of the input is pressed. It never leaves the
// editor waiting.
int32_t scripted_keyhit() {
    if (!gfx_keyhit()) key_post(next_code());
    return gfx_keyhit();
}

void silent_bell() {}

bool input_left() { return g_next != g_end && g_keys < MAX_KEYS; }

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    runtime_init();
    setenv("ZVGFX", "null", 1);
    if (gfx_screen_res(512, 512, 8, 4, 0, 0) != ERR_NONE) std::abort();
    console_hooks().keyhit = scripted_keyhit;
    int32_t rows = 0;
    gfx_text_size(&g_columns, &rows);
    bell_set_handler(silent_bell);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    // Every input starts from the same place: an empty queue, the cursor
    // at the top left.
    key_queue() = KeyQueue{};
    gfx_locate(1, 1, -1);
    const int32_t show_mark = data[0] & 1;
    g_next = data + 1;
    g_end = data + size;
    g_keys = 0;
    const int32_t temporaries = temp_string_in_use();
    do {
        g_model = LineModel{};
        StringDesc* line = line_edit(show_mark);
        std::string edited;
        if (string_length(line)) edited.assign(reinterpret_cast<const char*>(line->data), string_length(line));
        if (edited != g_model.text) std::abort();
        temp_string_release(line);
    } while (input_left());
    if (temp_string_in_use() != temporaries) std::abort();
    return 0;
}
