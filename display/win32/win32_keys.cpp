// Key presses and typed characters of the Windows window procedure, and
// the key states kept from the keyboard state.
#include <windows.h>

#include <cstdlib>

#include "display/win32/win32_input.h"
#include "display/win32/win32_window.h"
#include "display/window_events.h"
#include "runtime/console/key_codes.h"

namespace {

constexpr LPARAM EXTENDED_KEY = 1 << 24;
constexpr LPARAM PREVIOUSLY_DOWN = 1 << 30;
constexpr UINT CODE_PAGE_437 = 437;

bool down(const BYTE state[256], int vk) { return (state[vk] & 0x80) != 0; }

int32_t repeat_count(LPARAM lparam) { return static_cast<int32_t>(lparam & 0xFFFF); }

// Grows a buffer to hold `needed` characters and one more; a buffer that
// cannot grow keeps its old size.
template <class T>
bool ensure(GrowableBuffer<T>& buffer, int32_t needed) {
    if (needed <= buffer.capacity) return true;
    void* grown = std::realloc(buffer.data, (static_cast<size_t>(needed) + 1) * sizeof(T));
    if (!grown) return false;
    buffer.data = static_cast<T*>(grown);
    buffer.capacity = needed + 1;
    return true;
}

}  // namespace

uint32_t win32_key_modifiers(const BYTE state[256], LPARAM lparam) {
    uint32_t m = 0;
    if (down(state, VK_SHIFT) || down(state, VK_LSHIFT) || down(state, VK_RSHIFT)) m |= KEYMOD_SHIFT;
    if (down(state, VK_CONTROL) || down(state, VK_LCONTROL)) m |= KEYMOD_LEFT_CTRL;
    if (down(state, VK_RCONTROL)) m |= KEYMOD_RIGHT_CTRL;
    if (down(state, VK_MENU) || down(state, VK_LMENU)) m |= KEYMOD_LEFT_ALT;
    if (down(state, VK_RMENU)) m |= KEYMOD_RIGHT_ALT;
    if (lparam & EXTENDED_KEY) m |= KEYMOD_ENHANCED;
    return m;
}

KeyMessage win32_key_message(UINT message, WPARAM wparam, LPARAM lparam, const BYTE state[256], int32_t character) {
    KeyMessage key{};
    key.virtual_key = static_cast<int32_t>(wparam & 0xFFFF);
    key.scan_code = static_cast<int32_t>((lparam >> 16) & 0xFF);
    key.modifiers = win32_key_modifiers(state, lparam);
    key.character = character;
    key.repeat = repeat_count(lparam);
    key.was_down = (lparam & PREVIOUSLY_DOWN) != 0;
    key.system_key = message == WM_SYSKEYDOWN;
    return key;
}

int32_t win32_key_character(WPARAM wparam, LPARAM lparam, const BYTE state[256]) {
    const UINT vk = static_cast<UINT>(wparam & 0xFFFF);
    if (static_cast<int32_t>(MapVirtualKeyA(vk, MAPVK_VK_TO_CHAR)) < 0) return 0;
    WORD typed[2] = {};
    if (ToAscii(vk, static_cast<UINT>((lparam >> 16) & 0xFF), state, typed, 0) != 1) return 0;
    return static_cast<int8_t>(typed[0] & 0xFF);
}

bool win32_cp437_of(uint8_t byte, UINT code_page, uint8_t* cp437) {
    Win32Window& w32 = win32_window();
    const char in = static_cast<char>(byte);
    const int wide = MultiByteToWideChar(code_page, 0, &in, 1, nullptr, 0);
    if (wide <= 0 || !ensure(w32.wide, wide)) return false;
    if (MultiByteToWideChar(code_page, 0, &in, 1, w32.wide.data, w32.wide.capacity) != wide) return false;
    const int narrow = WideCharToMultiByte(CODE_PAGE_437, 0, w32.wide.data, wide, nullptr, 0, nullptr, nullptr);
    if (narrow <= 0 || !ensure(w32.bytes, narrow)) return false;
    if (WideCharToMultiByte(CODE_PAGE_437, 0, w32.wide.data, wide, w32.bytes.data, w32.bytes.capacity, nullptr,
                            nullptr) != narrow)
        return false;
    *cp437 = static_cast<uint8_t>(w32.bytes.data[0]);
    return true;
}

std::optional<LRESULT> win32_key(UINT message, WPARAM wparam, LPARAM lparam) {
    BYTE state[256] = {};
    if (!GetKeyboardState(state)) ZeroMemory(state, sizeof state);
    const KeyMessage key =
        win32_key_message(message, wparam, lparam, state, win32_key_character(wparam, lparam, state));
    const bool default_follows = message == WM_KEYUP ? window_key_up(key) : window_key_down(key);
    if (default_follows) return std::nullopt;
    return 0;
}

// Printable keys reach the key queue only here: the key press posts only
// extended keys.
std::optional<LRESULT> win32_char(WPARAM wparam, LPARAM lparam) {
    if (wparam >= 256) return std::nullopt;
    uint8_t cp437 = 0;
    if (wparam == 0 || win32_cp437_of(static_cast<uint8_t>(wparam), CP_ACP, &cp437))
        window_typed(cp437, repeat_count(lparam));
    return std::nullopt;
}

void win32_refresh_key_states() {
    BYTE state[256];
    if (!GetKeyboardState(state)) return;
    uint8_t vk_down[256];
    for (int vk = 0; vk < 256; ++vk) vk_down[vk] = down(state, vk) ? 1 : 0;
    window_refresh_key_states(vk_down);
}
