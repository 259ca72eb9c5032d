// The keyboard of "DirectX": a DirectInput device whose state refreshes
// the 128 key states on every active pass. Typed keys come through the
// window procedure as with every window. A change of the device's state
// ends the refresh thread's sleep, as a window message does: its state is
// not the message queue's.
#include "display/directx/dx_backend.h"
#include "display/win32/win32_window.h"
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

// The notice is set before the device is acquired, as DirectInput wants.
// Without one the key states still follow the keys' window messages.
void notify_changes() {
    DxState& dx = dx_state();
    dx.keyboard_event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    if (dx.keyboard_event && FAILED(dx.keyboard->SetEventNotification(dx.keyboard_event))) {
        CloseHandle(dx.keyboard_event);
        dx.keyboard_event = nullptr;
    }
    win32_window().input_event = dx.keyboard_event;
}

bool dx_keyboard_open() {
    DxState& dx = dx_state();
    if (!dx.dinput || FAILED(dx.dinput->CreateDevice(GUID_SysKeyboard, &dx.keyboard, nullptr)) || !dx.keyboard)
        return false;
    if (FAILED(dx.keyboard->SetDataFormat(&dx_keyboard_format()))) return false;
    notify_changes();
    return SUCCEEDED(dx.keyboard->Acquire());
}

void dx_keyboard_close() {
    DxState& dx = dx_state();
    if (dx.keyboard) {
        dx.keyboard->Unacquire();
        dx.keyboard->SetEventNotification(nullptr);
        dx.keyboard->Release();
        dx.keyboard = nullptr;
    }
    win32_window().input_event = nullptr;
    if (dx.keyboard_event) CloseHandle(dx.keyboard_event);
    dx.keyboard_event = nullptr;
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
