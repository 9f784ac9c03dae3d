// The help window: one read-only rich-text box showing a help file.
#pragma once

#include <windows.h>

#include <string>

#include "win/window.h"

class Tvl_help_wnd : public win::Window {
  public:
    static constexpr int kClientWidth = 362;
    static constexpr int kClientHeight = 346;

    // Creates the window with the text already in its box, hidden.
    bool create(HINSTANCE instance, HWND owner, const std::string& text);
    HWND rich_edit() const { return RichEdit1; }

  protected:
    LRESULT handle_message(UINT msg, WPARAM wp, LPARAM lp) override;

  private:
    HWND RichEdit1 = nullptr;
};

// Opens a new help window on the file, above all windows when on_top is set;
// a file that cannot be read shows the error box and no window. Each call
// opens another window; closing one destroys it. Returns the new window.
HWND show_help(HINSTANCE instance, HWND owner, const std::string& rtf_path, bool on_top);
