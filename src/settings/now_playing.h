// The two now-playing text files: which template each event writes to which
// file, and how a write reaches the file.
#pragma once

#include <functional>
#include <map>
#include <string>

#include "settings/save_load_sett.h"

// What happened, as far as the now-playing files are concerned.
enum class NowPlaying {
    Started,      // playfile: the playing text, files without dynamic writing
    PlayingTick,  // a display tick in the playing state: files with dynamic writing
    Paused,       // the pause command paused
    Resumed,      // the pause command resumed
    Stopped,      // the stop command, or a tick below the playing state
    Closed,       // shutdown
};

// Where the bytes go; the player's output goes through the system.
class NowPlayingOutput {
  public:
    virtual ~NowPlayingOutput() = default;
    // The text from the ANSI to the OEM code page, one byte for one byte.
    virtual std::string to_oem(const std::string& ansi) = 0;
    // Creates or truncates the file and writes exactly the bytes; false on
    // any failure.
    virtual bool write_file(const std::string& path, const std::string& bytes) = 0;
};

class NowPlayingFiles {
  public:
    using Expander = std::function<std::string(const std::string&)>;

    // The configurations are the player's in-memory ones: a change applied
    // to them counts from the next event on.
    NowPlayingFiles(const NowPlayingFileSettings& dos, const NowPlayingFileSettings& win,
                    NowPlayingOutput& output, Expander expandinfo)
        : dos_(dos), win_(win), output_(output), expandinfo_(std::move(expandinfo)) {}

    // Writes each enabled file whose configuration asks for the event, dos
    // first.
    void on(NowPlaying event);

    void write_np_dos(const std::string& tpl);
    void write_np_win(const std::string& tpl);

  private:
    void write(const std::string& path, const std::string& bytes);

    const NowPlayingFileSettings& dos_;
    const NowPlayingFileSettings& win_;
    NowPlayingOutput& output_;
    Expander expandinfo_;
    // By folded path: the bytes of the last successful write. A write of the
    // same bytes again is skipped; a failed write leaves no entry, so the
    // next event tries again.
    std::map<std::string, std::string> written_;
};
