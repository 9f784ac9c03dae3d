// The now-playing files' output through the system.
#pragma once

#include "settings/now_playing.h"

class Win32NowPlayingOutput : public NowPlayingOutput {
  public:
    std::string to_oem(const std::string& ansi) override;
    bool write_file(const std::string& path, const std::string& bytes) override;
};
