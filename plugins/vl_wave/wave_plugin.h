// vl_wave: plays and tags RIFF WAVE files.
#pragma once

#include <memory>
#include <string>

#include "audio_io.h"
#include "plugin_runtime.h"

namespace vl {

std::unique_ptr<AudioSource> open_wave_source(const std::string& path);
bool describe_wave(const std::string& path, FileInfo& info, InfoTexts& texts);
bool write_wave_tags(const std::string& path, const TagSet& tags);
bool has_wave_signature(const std::string& path);
PluginFormat wave_plugin_format();

}  // namespace vl
