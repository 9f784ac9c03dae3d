// Files dropped on a folder of the shell widgets: moved within one drive,
// copied across drives or with Ctrl held, as the shell does.
#pragma once

#include <windows.h>
#include <ole2.h>

#include <functional>
#include <string>

namespace widgets {

class FolderDropTarget final : public IDropTarget {
  public:
    // folder_at: the file-system folder (ending in "\") under a screen point,
    // or "" where nothing may be dropped.
    explicit FolderDropTarget(std::function<std::string(POINT)> folder_at)
        : folder_at_(std::move(folder_at)) {}
    // Registers the window; revoked on destruction.
    void attach(HWND window);
    ~FolderDropTarget();

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override;
    // Owned by its widget, which revokes it before it goes.
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL pt,
                                        DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL pt, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragLeave() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL pt,
                                   DWORD* effect) override;

  private:
    DWORD effect_for(DWORD keys, POINTL pt, DWORD allowed) const;

    std::function<std::string(POINT)> folder_at_;
    HWND window_ = nullptr;
    bool files_ = false;        // the drag carries files
    std::string first_source_;  // the folder of the first dragged file
};

}  // namespace widgets
