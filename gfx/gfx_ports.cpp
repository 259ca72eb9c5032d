#include "gfx/gfx_ports.h"

#include "gfx/palette.h"
#include "gfx/screen.h"

namespace {

// The DAC's index registers and the component sequence of its data port:
// three 6-bit components, red first, per palette entry.
struct DacState {
    int32_t read_index;
    int32_t read_component;
    int32_t write_index;
    int32_t write_component;
    uint8_t pending[3];
};

DacState g_dac;

int32_t read_dac() {
    GfxScreen* s = g_gfx_screen;
    uint32_t colour = s ? s->device_palette[g_dac.read_index] : 0;
    int32_t component = static_cast<int32_t>((colour >> (8 * g_dac.read_component)) & 0xFF) >> 2;
    if (++g_dac.read_component == 3) {
        g_dac.read_component = 0;
        g_dac.read_index = (g_dac.read_index + 1) & 0xFF;
    }
    return component;
}

void write_dac(int32_t value) {
    g_dac.pending[g_dac.write_component] = static_cast<uint8_t>(value & 0x3F);
    if (++g_dac.write_component < 3) return;
    g_dac.write_component = 0;
    // Six-bit components widened to eight by repeating the top bits.
    auto widen = [](uint8_t c) { return uint32_t{static_cast<uint8_t>(c << 2 | c >> 4)}; };
    gfx_palette_set(g_dac.write_index,
                    widen(g_dac.pending[0]) | widen(g_dac.pending[1]) << 8 | widen(g_dac.pending[2]) << 16);
    g_dac.write_index = (g_dac.write_index + 1) & 0xFF;
}

}  // namespace

int32_t gfx_port_in(int32_t port) {
    GfxScreen* s = g_gfx_screen;
    switch (port) {
    case PORT_INPUT_STATUS:
        // Waits for the retrace and reports being in it (bit 3).
        if (s && s->driver && s->driver->wait_vsync) s->driver->wait_vsync();
        return 0x08;
    case PORT_DAC_DATA: return read_dac();
    case PORT_DAC_WRITE_INDEX: return g_dac.write_index;
    default: return 0xFF;
    }
}

int32_t gfx_port_out(int32_t port, int32_t value) {
    switch (port) {
    case PORT_DAC_READ_INDEX:
        g_dac.read_index = value & 0xFF;
        g_dac.read_component = 0;
        return 0;
    case PORT_DAC_WRITE_INDEX:
        g_dac.write_index = value & 0xFF;
        g_dac.write_component = 0;
        return 0;
    case PORT_DAC_DATA: write_dac(value); return 0;
    default: return -1;
    }
}
