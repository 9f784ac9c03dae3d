// A page of the settings dialog that keeps its own controls: the dialog
// creates the page's panel, shows and hides it with the tree, and passes the
// panel's messages here.
#pragma once

#include <windows.h>

#include <string>

class SettingsPage {
  public:
    virtual ~SettingsPage() = default;
    // Creates the page's controls on `panel`, in the panel's client
    // coordinates (the page title bar above them is the dialog's).
    virtual void create(HWND panel) = 0;
    // The dialog is being shown: read what the page displays.
    virtual void on_show() {}
    // A message that reached the panel (WM_COMMAND, WM_NOTIFY, WM_DRAWITEM,
    // WM_MEASUREITEM, ...); true when the page handled it and set `result`.
    virtual bool on_message(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) = 0;
    // One of the page's controls by its name, for language files; nullptr
    // when the page has no control of that name.
    virtual HWND control(const std::string& name) const = 0;
};
