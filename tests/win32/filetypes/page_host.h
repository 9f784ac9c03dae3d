// A plain window of the settings dialog's page size that hosts one page, so
// a page can be driven and looked at without the dialog.
#pragma once

#include <windows.h>

#include "settings/settings_page.h"
#include "win/window.h"

class PageHost : public win::Window {
  public:
    // Creates the window at (x, y), 279 by 319 client pixels, with a title
    // bar like the dialog's, and the page's controls on it.
    bool open(SettingsPage& page, const char* title, int x, int y, bool quit_on_close);

  protected:
    LRESULT handle_message(UINT msg, WPARAM wp, LPARAM lp) override;

  private:
    SettingsPage* page_ = nullptr;
    const char* title_ = "";
    bool quit_on_close_ = false;
};
