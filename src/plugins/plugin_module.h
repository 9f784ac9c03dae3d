// Seams between the plugin registry and the platform: a loaded decoder DLL,
// the loader that finds and loads DLLs, and the error message boxes.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/file_info.h"

// The exports a decoder plugin offers, in the order the host checks them.
namespace vl_export {
inline constexpr const char* kInfo = "_vl_decoder_info";
inline constexpr const char* kPlayback[] = {
    "_vl_decoder_initializate", "_vl_decoder_open",      "_vl_decoder_setmode",
    "_vl_decoder_getmode",      "_vl_decoder_fileinfo",  "_vl_decoder_setinfo",
    "_vl_decoder_iswavewrite",  "_vl_decoder_writewave", "_vl_decoder_channel"};
inline constexpr const char* kQuickInfo[] = {"_vl_decoder_quickinfo", "_vl_decoder_setinfoto"};
}  // namespace vl_export

// One loaded plugin DLL. Every call is guarded: it returns false when the
// plugin faulted (or the export is missing), and the out values are then
// left as they were.
class PluginModule {
  public:
    virtual ~PluginModule() = default;
    virtual bool has_export(const char* name) = 0;
    // True once a call into it raised a contained fault: its state is unknown.
    virtual bool faulted() const = 0;
    virtual bool info(DecoderInfoRec& out) = 0;
    virtual bool initializate(int32_t code, int32_t param) = 0;
    virtual bool open(const std::string& path) = 0;
    virtual bool setmode(int32_t code, int32_t param, int32_t& result) = 0;
    virtual bool getmode(int32_t code, int32_t& result) = 0;
    // answered: the plugin's boolean; out is written only when it is true.
    virtual bool fileinfo(FileInfoRec& out, bool& answered) = 0;
    virtual bool setinfo(const FileInfoRec& tags, bool& result) = 0;
    virtual bool channel(int32_t count, int16_t* samples, uint8_t* flag_a, uint8_t* flag_b,
                         uint8_t* flag_c, uint8_t* new_data) = 0;
    virtual bool quickinfo(const std::string& path, FileInfoRec& out) = 0;
    virtual bool setinfoto(const std::string& path, const FileInfoRec& tags, bool& result) = 0;
};

class ModuleLoader {
  public:
    virtual ~ModuleLoader() = default;
    // nullptr when the DLL can't be loaded. A probe module is unloaded when
    // destroyed; other modules stay loaded until the process ends.
    virtual std::unique_ptr<PluginModule> load(const std::string& full_path, bool probe) = 0;
    // Failure is silent (a missing codecs folder).
    virtual void set_current_directory(const std::string& folder) = 0;
    // File names (no path) in the folder matching the mask, in file-system order.
    virtual std::vector<std::string> find_files(const std::string& folder,
                                                const std::string& mask) = 0;
    virtual bool file_exists(const std::string& path) = 0;
    // The handle passed with initialisation code 0.
    virtual int32_t app_window() = 0;
};

class MessageBoxes {
  public:
    virtual ~MessageBoxes() = default;
    // A modal, owner-less box captioned "Error" with an OK button.
    virtual void error(const std::string& text) = 0;
};
