// The one format the radio's sound travels in, from the receiver's line-in (or the simulator's
// programme) to the output: 16-bit stereo frames at 48 kHz, moved in steps of 10 ms.
#pragma once

#include <cstdint>

namespace sound {

using Sample = std::int16_t;

inline constexpr unsigned DefaultRate = 48000;
inline constexpr int Channels = 2;
// The pump's step. A frame waits at most this long in the input before it goes out.
inline constexpr unsigned StepMs = 20;

inline constexpr int framesIn(unsigned rate, unsigned milliseconds)
{
    return int(rate * milliseconds / 1000);
}

} // namespace sound
