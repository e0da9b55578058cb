#pragma once

namespace pelorin::lnx {

// A raw ALSA volume in [min, max] as a channel value 0..65535 (rounded to the nearest).
int ToChannelValue(long raw, long min, long max);

// A channel value as the nearest raw volume in [min, max]. When the nearest raw step is
// the channel's present one although the value asks for a different level, the volume
// moves one raw step toward the value: on a coarse control (0..31) a small volume step
// or a slow fade would otherwise never move it.
long ToRawVolume(int value, long present, long min, long max);

}  // namespace pelorin::lnx
