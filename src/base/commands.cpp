#include "base/commands.h"

#include <algorithm>
#include <iterator>

namespace {

constexpr CommandInfo kCommands[] = {
    {Command::Exit, "Exit"},
    {Command::Open, "Open file..."},
    {Command::Play, "Play"},
    {Command::Pause, "Pause"},
    {Command::Stop, "Stop"},
    {Command::Rewind, "Rewind 10 s"},
    {Command::Forward, "Forward 10 s"},
    {Command::DecoderOptions, "Decoder options"},
    {Command::Previous, "Previous"},
    {Command::Next, "Next"},
    {Command::Playlist, "PlayList"},
    {Command::VolumeUp, ""},
    {Command::VolumeDown, ""},
    {Command::MainMenu, ""},
    {Command::OptionsMenu, ""},
    {Command::StudioMenu, "Studios"},
    {Command::VideoMenu, "Video Effects"},
    {Command::ListMenu, "List entries"},
    {Command::FileInfo, "File Info"},
    {Command::Minimise, ""},
    {Command::FaceSize, ""},
    {Command::StayOnTop, ""},
    {Command::Settings, "Options"},
    {Command::SettingsSystem, "System"},
    {Command::SettingsPlugins, "Plugins"},
    {Command::SettingsFileTypes, "File types"},
    {Command::SettingsLanguage, "Language"},
    {Command::SettingsOutputFiles, "Output Text Files"},
    {Command::SettingsStudios, "Studios"},
    {Command::SettingsDisplay, "Display"},
    {Command::SettingsAve, "AVE"},
    {Command::SettingsPlayerSkin, "Player Skin"},
    {Command::Explorer, "Explorer"},
    {Command::About, "About"},
    {Command::VideoNone, "None"},
    {Command::VideoDots, "Dots scope"},
    {Command::VideoLines, "Lines scope"},
    {Command::VideoSolid, "Solid scope"},
    {Command::ListNew, "&New"},
    {Command::ListLoad, "&Load"},
    {Command::ListSave, "&Save"},
    {Command::ListSaveAs, "Save &as"},
    {Command::ListClose, "&Close"},
    {Command::ListTrash, "List/Trash bar"},
    {Command::ListHelp, "Help"},
    {Command::AddFile, "&File"},
    {Command::AddDir, "&Directory"},
    {Command::AddList, "&List"},
    {Command::SelectAll, "All"},
    {Command::SelectNone, "None"},
    {Command::SelectInvert, "Invert"},
    {Command::SortName, "Name"},
    {Command::SortTrack, "Track"},
    {Command::SortAlbum, "Album"},
    {Command::SortYear, "Year"},
    {Command::SortFormat, "Format"},
    {Command::SortFile, "File"},
    {Command::DeleteSelected, "Selected"},
    {Command::DeleteAll, "All"},
};

}  // namespace

const CommandInfo* command_table(unsigned& count) {
    count = static_cast<unsigned>(std::size(kCommands));
    return kCommands;
}

const char* command_caption(Command id) {
    const auto* end = std::end(kCommands);
    const auto* it = std::lower_bound(std::begin(kCommands), end, id,
                                      [](const CommandInfo& c, Command v) { return c.id < v; });
    return it != end && it->id == id ? it->caption : "";
}
