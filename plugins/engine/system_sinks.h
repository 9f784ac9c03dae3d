// The output used by the plugins: waveOut when a device opens, otherwise the
// silent clock.
#pragma once

#include "audio_io.h"

namespace vl {

SinkFactory system_sinks();

}  // namespace vl
