// Shows the File types page in a plain window until it is closed; the
// program folder (with veltrona.exe) is the first argument.
#include <windows.h>

#include <string>

#include "page_host.h"
#include "settings/file_types_page.h"

int main(int argc, char** argv) {
    std::string folder = argc > 1 ? argv[1] : ".";
    if (folder.back() != '\\') folder += '\\';
    FileTypesPage page(folder, [] {
        return std::vector<std::string>{"*.wav;*.mp3;*.mp2;*.mp1;", "*.ogg;*.WAV;*.mp3;",
                                        "*.flac;*.ape;*.aiff;*.au;*.voc;*.snd;"};
    });
    PageHost host;
    if (!host.open(page, "File types", 0, 0, true)) return 1;
    page.on_show();
    MSG m;
    while (GetMessageA(&m, nullptr, 0, 0) > 0) {
        TranslateMessage(&m);
        DispatchMessageA(&m);
    }
    return 0;
}
