// MPEG audio Layer III decoded by the system's ACM MP3 codec. Windows only.
#pragma once

#include <memory>
#include <string>

#include "audio_io.h"

namespace vl {

std::unique_ptr<AudioSource> open_acm_mp3(const std::string& path);

}  // namespace vl
