#include "widgets/folder_drop.h"

#include <shellapi.h>

#include <vector>

#include "base/paths.h"
#include "base/text.h"

namespace widgets {

namespace {

FORMATETC hdrop_format() {
    return FORMATETC{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
}

// The dropped files' paths, or none.
std::vector<std::string> dropped_files(IDataObject* data) {
    std::vector<std::string> files;
    FORMATETC f = hdrop_format();
    STGMEDIUM m{};
    if (!data || FAILED(data->GetData(&f, &m))) return files;
    if (auto* drop = static_cast<HDROP>(GlobalLock(m.hGlobal))) {
        const UINT n = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
        for (UINT i = 0; i < n; ++i) {
            char path[MAX_PATH] = {};
            if (DragQueryFileA(drop, i, path, sizeof path)) files.emplace_back(path);
        }
        GlobalUnlock(m.hGlobal);
    }
    ReleaseStgMedium(&m);
    return files;
}

// "C:" of a drive path; "\\\\" for every network path.
std::string drive_of(const std::string& path) {
    return path.substr(0, 2);
}

}  // namespace

void FolderDropTarget::attach(HWND window) {
    if (SUCCEEDED(RegisterDragDrop(window, this))) window_ = window;
}

FolderDropTarget::~FolderDropTarget() {
    if (window_) RevokeDragDrop(window_);
}

HRESULT FolderDropTarget::QueryInterface(REFIID riid, void** out) {
    if (riid == IID_IUnknown || riid == IID_IDropTarget) {
        *out = static_cast<IDropTarget*>(this);
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

DWORD FolderDropTarget::effect_for(DWORD keys, POINTL pt, DWORD allowed) const {
    if (!files_) return DROPEFFECT_NONE;
    const std::string folder = folder_at_(POINT{pt.x, pt.y});
    if (folder.empty() || equals_nocase(folder, first_source_)) return DROPEFFECT_NONE;
    DWORD wanted = equals_nocase(drive_of(folder), drive_of(first_source_)) ? DROPEFFECT_MOVE
                                                                            : DROPEFFECT_COPY;
    if (keys & MK_CONTROL) wanted = DROPEFFECT_COPY;
    if (keys & MK_SHIFT) wanted = DROPEFFECT_MOVE;
    if (allowed & wanted) return wanted;
    return allowed & DROPEFFECT_COPY ? DROPEFFECT_COPY : allowed & DROPEFFECT_MOVE;
}

HRESULT FolderDropTarget::DragEnter(IDataObject* data, DWORD keys, POINTL pt, DWORD* effect) {
    const std::vector<std::string> files = dropped_files(data);
    files_ = !files.empty();
    first_source_ = files_ ? folder_of(files.front()) : std::string();
    *effect = effect_for(keys, pt, *effect);
    return S_OK;
}

HRESULT FolderDropTarget::DragOver(DWORD keys, POINTL pt, DWORD* effect) {
    *effect = effect_for(keys, pt, *effect);
    return S_OK;
}

HRESULT FolderDropTarget::Drop(IDataObject* data, DWORD keys, POINTL pt, DWORD* effect) {
    *effect = effect_for(keys, pt, *effect);
    const std::string folder = folder_at_(POINT{pt.x, pt.y});
    std::string from;  // names separated by NULs, ending in two
    for (const std::string& f : dropped_files(data))
        if (!equals_nocase(with_backslash(f), folder)) from += f + '\0';
    files_ = false;
    if (*effect == DROPEFFECT_NONE || from.empty()) {
        *effect = DROPEFFECT_NONE;
        return S_OK;
    }
    from += '\0';
    const std::string to = folder + '\0';
    SHFILEOPSTRUCTA op{};
    op.hwnd = window_;
    op.wFunc = *effect == DROPEFFECT_MOVE ? FO_MOVE : FO_COPY;
    op.pFrom = from.c_str();
    op.pTo = to.c_str();
    op.fFlags = FOF_ALLOWUNDO;
    if (SHFileOperationA(&op) != 0 || op.fAnyOperationsAborted) *effect = DROPEFFECT_NONE;
    return S_OK;
}

}  // namespace widgets
