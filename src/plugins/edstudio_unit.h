// The studio editor "Add/Edit Studio": name, program and parameters of one
// studio, shown modally by the settings dialog.
#pragma once

#include <windows.h>

#include <string>

#include "plugins/studio.h"

class Ted_studio {
  public:
    explicit Ted_studio(TStudio& studios) : studios_(studios) {}
    // Adds an entry (index -1) or edits entry index; true when the list
    // changed. Cancel changes nothing.
    bool show_modal(HWND owner, int index);

  private:
    static INT_PTR CALLBACK dialog_proc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp);
    INT_PTR message(HWND dlg, UINT msg, WPARAM wp);
    void browse(HWND dlg);
    bool ok(HWND dlg);

    TStudio& studios_;
    int index_ = -1;
};
