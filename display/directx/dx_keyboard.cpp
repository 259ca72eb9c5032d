// The keyboard of "DirectX": a DirectInput device whose state refreshes
// the 128 key states on every active pass. Typed keys come through the
// window procedure as with every window; the keys' messages wake the
// refresh thread, and DirectInput has the key's state by then. (A change
// notice of the device would wake it too, but under Wine it comes from the
// same keyboard hook that holds the key's message back, and the pass it
// starts delays the echo by several milliseconds.)
#include "display/directx/dx_backend.h"
#include "gfx/screen.h"

namespace {

constexpr DWORD OPTIONAL_BUTTON = DIDFT_BUTTON | DIDFT_OPTIONAL;

struct KeyboardFormat {
    DIOBJECTDATAFORMAT objects[DX_KEY_OBJECTS];
    DIDATAFORMAT format;

    KeyboardFormat() {
        for (DWORD i = 0; i < DX_KEY_OBJECTS; ++i)
            objects[i] = DIOBJECTDATAFORMAT{&GUID_Key, i, OPTIONAL_BUTTON | DIDFT_MAKEINSTANCE(i), 0};
        format = DIDATAFORMAT{
            sizeof(DIDATAFORMAT), sizeof(DIOBJECTDATAFORMAT), DIDF_RELAXIS, DX_KEY_OBJECTS, DX_KEY_OBJECTS, objects};
    }
};

bool pressed(uint8_t byte) { return (byte & 0x80) != 0; }

}  // namespace

const DIDATAFORMAT& dx_keyboard_format() {
    static const KeyboardFormat keyboard;
    return keyboard.format;
}

void dx_key_states_from(const uint8_t device_state[DX_KEY_OBJECTS], uint8_t key_states[128]) {
    for (int32_t i = 0; i < 128; ++i) key_states[i] = pressed(device_state[i]) || pressed(device_state[i + 128]);
}

bool dx_keyboard_open() {
    DxState& dx = dx_state();
    if (!dx.dinput || FAILED(dx.dinput->CreateDevice(GUID_SysKeyboard, &dx.keyboard, nullptr)) || !dx.keyboard)
        return false;
    return SUCCEEDED(dx.keyboard->SetDataFormat(&dx_keyboard_format())) && SUCCEEDED(dx.keyboard->Acquire());
}

void dx_keyboard_close() {
    DxState& dx = dx_state();
    if (dx.keyboard) {
        dx.keyboard->Unacquire();
        dx.keyboard->Release();
        dx.keyboard = nullptr;
    }
    if (dx.dinput) dx.dinput->Release();
    dx.dinput = nullptr;
}

// A device lost to another program is acquired again; until then the key
// states keep their last values.
void dx_keyboard_refresh_key_states() {
    DxState& dx = dx_state();
    GfxScreen* s = g_gfx_screen;
    if (!dx.keyboard || !s) return;
    uint8_t state[DX_KEY_OBJECTS] = {};
    const HRESULT result = dx.keyboard->GetDeviceState(sizeof state, state);
    if (result == DIERR_NOTACQUIRED || result == DIERR_INPUTLOST) {
        dx.keyboard->Acquire();
        return;
    }
    if (SUCCEEDED(result)) dx_key_states_from(state, s->key_states);
}
