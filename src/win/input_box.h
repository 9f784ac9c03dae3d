// A modal box asking for one line of text, and a small in-memory dialog
// template builder for such boxes.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace win {

// Builds a DLGTEMPLATE with its items in memory (sizes in dialog units).
class DialogTemplate {
  public:
    DialogTemplate(const char* caption, DWORD style, short w, short h);
    // cls: 0x0080 button, 0x0081 edit, 0x0082 static.
    void item(WORD id, WORD cls, const char* text, DWORD style, short x, short y, short w, short h);
    const DLGTEMPLATE* get();

  private:
    void word(WORD w) { data_.push_back(w); }
    void text(const char* s);
    void align();
    std::vector<WORD> data_;
};

// The text the user confirmed in value (which also gives the initial text);
// false when cancelled.
bool input_box(HWND owner, const char* caption, const char* prompt, std::string& value);

}  // namespace win
