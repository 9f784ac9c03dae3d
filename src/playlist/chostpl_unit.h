// The template chooser Tqel_lsttpl: the templates of the tpl folder in a
// list, the list name, OK and Cancel. OK hands the chosen template on.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "win/window.h"

class Tqel_lsttpl : public win::Window {
  public:
    static constexpr const char* kClassName = "Tqel_lsttpl";
    // template_path: program folder + "tpl\" + the chosen name.
    using Export =
        std::function<void(const std::string& template_path, const std::string& list_name)>;

    bool create(HINSTANCE instance, const std::string& program_folder, Export on_ok);
    // Shows the dialog over owner; showing fills the list from the tpl folder.
    void FormShow(HWND owner);

  private:
    LRESULT handle_message(UINT msg, WPARAM wp, LPARAM lp) override;
    void okClick();
    void fill();

    std::string program_folder_;
    Export on_ok_;
    HWND list_ = nullptr;
    HWND lstnm_ = nullptr;
};
