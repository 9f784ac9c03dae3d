#include "app/main_commands.h"

Command face_command(FaceButton id, bool right) {
    if (right && (id == FaceButton::Previous || id == FaceButton::Next)) return Command::ListMenu;
    switch (id) {
        case FaceButton::Open:
            return Command::Open;
        case FaceButton::Previous:
            return Command::Previous;
        case FaceButton::Rewind:
            return Command::Rewind;
        case FaceButton::Stop:
            return Command::Stop;
        case FaceButton::Play:
            return Command::Play;
        case FaceButton::Pause:
            return Command::Pause;
        case FaceButton::Forward:
            return Command::Forward;
        case FaceButton::Next:
            return Command::Next;
        case FaceButton::Playlist:
            return Command::Playlist;
        case FaceButton::Studios:
            return Command::StudioMenu;
        case FaceButton::VideoEffects:
            return Command::VideoMenu;
        case FaceButton::Options:
            return Command::OptionsMenu;
        case FaceButton::FileInfo:
            return Command::FileInfo;
        case FaceButton::MainMenu:
            return Command::MainMenu;
        case FaceButton::Minimise:
            return Command::Minimise;
        case FaceButton::FaceSize:
            return Command::FaceSize;
        case FaceButton::Close:
            return Command::Exit;
        case FaceButton::StayOnTop:
            return Command::StayOnTop;
    }
    return Command::None;
}

Command main_window_key(unsigned virtual_key) {
    constexpr unsigned kUp = 0x26, kDown = 0x28;
    if (virtual_key == kUp) return Command::VolumeUp;
    if (virtual_key == kDown) return Command::VolumeDown;
    return Command::None;
}
