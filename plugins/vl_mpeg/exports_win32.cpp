// The exports of vl_mpeg.dll.
#include <windows.h>

#include "acm_source.h"
#include "mpeg_plugin.h"
#include "plugins/vl_decoder.h"
#include "system_sinks.h"
#include "wave_plugin.h"

namespace {

// Created on first use and never destroyed: no thread is joined under the
// loader lock at process exit.
vl::PluginRuntime& plugin_runtime() {
    static vl::PluginRuntime* runtime = [] {
        auto* r = new vl::PluginRuntime(
            vl::sniffing_format(vl::mpeg_plugin_format(vl::open_acm_mp3), vl::wave_plugin_format()),
            vl::system_sinks());
        r->message_box = [](const std::string& caption, const std::string& text) {
            MessageBoxA(nullptr, text.c_str(), caption.c_str(), MB_OK | MB_ICONINFORMATION);
        };
        return r;
    }();
    return *runtime;
}

}  // namespace

#include "plugin_exports.inc"
