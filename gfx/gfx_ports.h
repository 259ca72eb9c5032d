#pragma once
#include <cstdint>

// Emulated VGA ports for old-style programs (hooks 18, 19): the retrace
// status port and the palette (DAC) index and data ports.
inline constexpr int32_t PORT_DAC_READ_INDEX = 0x3C7;
inline constexpr int32_t PORT_DAC_WRITE_INDEX = 0x3C8;
inline constexpr int32_t PORT_DAC_DATA = 0x3C9;
inline constexpr int32_t PORT_INPUT_STATUS = 0x3DA;

int32_t gfx_port_in(int32_t port);
int32_t gfx_port_out(int32_t port, int32_t value);
