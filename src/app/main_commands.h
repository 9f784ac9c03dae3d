// What the main window's face buttons and keys do, as commands.
#pragma once

#include "app/face_layout.h"
#include "base/commands.h"

// The command of a face button released with the left or the right mouse
// button; only Previous and Next look at which (the right one opens the list
// menu there).
Command face_command(FaceButton id, bool right);

// The command of a key pressed in the main window; None for other keys.
Command main_window_key(unsigned virtual_key);
