// The commands of the program's windows: one id per command, the caption its
// menu item shows, and id ranges that never overlap between windows. Face
// buttons, menus, keys and tests all name commands by this enum.
#pragma once

#include <cstdint>

enum class Command : uint16_t {
    None = 0,

    // The main window: 1000..4999.
    Exit = 1000,
    Open,
    Play,
    Pause,
    Stop,
    Rewind,
    Forward,
    DecoderOptions,
    Previous,
    Next,
    Playlist,
    VolumeUp,
    VolumeDown,
    MainMenu,
    OptionsMenu,
    StudioMenu,
    VideoMenu,
    ListMenu,
    FileInfo,
    Minimise,
    FaceSize,
    StayOnTop,
    Settings = 1030,  // the settings dialog, then its pages
    SettingsSystem,
    SettingsPlugins,
    SettingsFileTypes,
    SettingsLanguage,
    SettingsOutputFiles,
    SettingsStudios,
    SettingsDisplay,
    SettingsAve,
    SettingsPlayerSkin,
    Explorer = 1040,
    About,
    VideoNone = 1100,  // then the three internal scopes
    VideoDots,
    VideoLines,
    VideoSolid,
    StudioFirst = 2000,  // + the studio's index
    StudioLast = 2999,
    EffectFirst = 3000,  // + the effect's index
    EffectLast = 3999,
    ListEntryFirst = 4000,  // + the entry's tag
    ListEntryLast = 4999,

    // The playlist window: 5000..5999.
    ListNew = 5000,  // the list menu's list manager commands
    ListLoad,
    ListSave,
    ListSaveAs,
    ListClose,
    ListTrash = 5010,
    ListHelp,
    AddFile = 5020,
    AddDir,
    AddList = 5023,
    SelectAll = 5030,
    SelectNone,
    SelectInvert,
    SortName = 5040,  // the six sort keys in the model's order
    SortTrack,
    SortAlbum,
    SortYear,
    SortFormat,
    SortFile,
    DeleteSelected = 5050,
    DeleteAll,
};

// The ids a window owns; a window ignores commands outside its range.
struct CommandRange {
    Command first;
    Command last;
    bool contains(Command c) const { return c >= first && c <= last; }
};
inline constexpr CommandRange kMainWindowCommands{Command::Exit, Command::ListEntryLast};
inline constexpr CommandRange kPlaylistCommands{Command(5000), Command(5999)};
inline constexpr CommandRange kStudioCommands{Command::StudioFirst, Command::StudioLast};
inline constexpr CommandRange kEffectCommands{Command::EffectFirst, Command::EffectLast};
inline constexpr CommandRange kListEntryCommands{Command::ListEntryFirst, Command::ListEntryLast};

inline constexpr unsigned id_of(Command c) {
    return static_cast<unsigned>(c);
}
// The n-th command after first (a studio, an effect, a sort key...).
inline constexpr Command nth_command(Command first, unsigned n) {
    return static_cast<Command>(id_of(first) + n);
}
inline constexpr unsigned index_in(Command c, Command first) {
    return id_of(c) - id_of(first);
}

struct CommandInfo {
    Command id;
    const char* caption;  // the menu item's text; "" for commands no menu shows
};
// Every command with a fixed id, in id order.
const CommandInfo* command_table(unsigned& count);
// The caption of a fixed command, "" for an unknown one.
const char* command_caption(Command id);
