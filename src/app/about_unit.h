// The about box: animated flames around the logo, with a few lines of text.
#pragma once

#include <windows.h>

#include <random>
#include <string>

#include "effects/FastDIB.h"
#include "effects/about_flame.h"
#include "win/handles.h"
#include "win/window.h"

class Tvl_about : public win::Window {
  public:
    // Prepares the surfaces and creates the window, hidden. program_folder
    // holds "system\about.bmp"; without a readable picture the flames run alone.
    bool create(HINSTANCE instance, HWND owner, const std::string& program_folder);
    // Draws one frame (flames, logo, texts) and shows it.
    void tick();

  protected:
    LRESULT handle_message(UINT msg, WPARAM wp, LPARAM lp) override;

  private:
    void draw_texts();

    TFastDIB flame_;  // 8 bits per pixel, bottom-up, flame palette
    TFastDIB logo_;
    TFastDIB frame_;  // 24 bits per pixel, top-down: what the window shows
    about::FlameLogo fed_;
    win::Font fonts_[about::kFontCount];
    std::minstd_rand random_;
};

// Shows the about box modally over owner (disabled meanwhile) until it is
// closed, above all windows when on_top is set.
void show_about(HINSTANCE instance, HWND owner, const std::string& program_folder, bool on_top);
