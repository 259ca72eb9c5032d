#include "generator/wave.h"

void wave_start(WaveState& state, int16_t rate) {
    state = WaveState{};
    state.rate = rate;
    state.phase = wave_detail::t16(-int32_t{rate});
}
