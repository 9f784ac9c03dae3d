// Hidden windows of the classes whose content later comes with their own
// modules; they exist from start-up so that the creation order holds.
#pragma once

#include <windows.h>

HWND create_placeholder_window(HINSTANCE instance, const char* class_name, const char* caption);
