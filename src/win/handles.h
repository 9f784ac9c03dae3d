// Scoped owners of Win32 handles: each releases its handle the way the
// system asks for it, exactly once, when it goes out of scope.
#pragma once

#include <windows.h>

#include <utility>

namespace win {

// Owns a handle of type H; Release frees it. Movable, not copyable.
template <class H, class Release>
class Unique {
  public:
    Unique() = default;
    explicit Unique(H h) : h_(h) {}
    Unique(Unique&& other) noexcept : h_(other.release()) {}
    Unique& operator=(Unique&& other) noexcept {
        reset(other.release());
        return *this;
    }
    Unique(const Unique&) = delete;
    Unique& operator=(const Unique&) = delete;
    ~Unique() { reset(); }

    H get() const { return h_; }
    explicit operator bool() const { return h_ != nullptr; }
    // Gives the handle up without freeing it (ownership passed to the system).
    H release() { return std::exchange(h_, nullptr); }
    void reset(H h = nullptr) {
        if (h_ && h_ != h) Release{}(h_);
        h_ = h;
    }

  private:
    H h_ = nullptr;
};

struct DeleteGdiObject {
    void operator()(HGDIOBJ h) const { DeleteObject(h); }
};
struct DeleteMemoryDC {
    void operator()(HDC h) const { DeleteDC(h); }
};
struct DestroyMenuHandle {
    void operator()(HMENU h) const { DestroyMenu(h); }
};
struct CloseRegKey {
    void operator()(HKEY h) const { RegCloseKey(h); }
};
struct DestroyIconHandle {
    void operator()(HICON h) const { DestroyIcon(h); }
};
struct FreeModule {
    void operator()(HMODULE h) const { FreeLibrary(h); }
};
struct CloseKernelHandle {
    void operator()(HANDLE h) const { CloseHandle(h); }
};
struct CloseChangeNotification {
    void operator()(HANDLE h) const { FindCloseChangeNotification(h); }
};

using Font = Unique<HFONT, DeleteGdiObject>;
using Brush = Unique<HBRUSH, DeleteGdiObject>;
using Region = Unique<HRGN, DeleteGdiObject>;
using Bitmap = Unique<HBITMAP, DeleteGdiObject>;
using MemoryDC = Unique<HDC, DeleteMemoryDC>;
using RegKey = Unique<HKEY, CloseRegKey>;
using Module = Unique<HMODULE, FreeModule>;
using Icon = Unique<HICON, DestroyIconHandle>;
// A file, event or process handle; hold no INVALID_HANDLE_VALUE in it.
using KernelHandle = Unique<HANDLE, CloseKernelHandle>;
// A folder's change notification; hold no INVALID_HANDLE_VALUE in it.
using ChangeNotification = Unique<HANDLE, CloseChangeNotification>;

// The drawing context of a window (or of the screen, for nullptr) from GetDC.
class WindowDC {
  public:
    explicit WindowDC(HWND window) : window_(window), dc_(GetDC(window)) {}
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    ~WindowDC() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    HDC get() const { return dc_; }
    operator HDC() const { return dc_; }

  private:
    HWND window_;
    HDC dc_;
};

// BeginPaint/EndPaint around a WM_PAINT handler.
class PaintDC {
  public:
    explicit PaintDC(HWND window) : window_(window), dc_(BeginPaint(window, &ps_)) {}
    PaintDC(const PaintDC&) = delete;
    PaintDC& operator=(const PaintDC&) = delete;
    ~PaintDC() { EndPaint(window_, &ps_); }
    operator HDC() const { return dc_; }

  private:
    HWND window_;
    PAINTSTRUCT ps_{};
    HDC dc_;
};

// An object selected into a drawing context; the previous one comes back.
class Selected {
  public:
    Selected(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
    Selected(const Selected&) = delete;
    Selected& operator=(const Selected&) = delete;
    ~Selected() {
        if (old_ && old_ != HGDI_ERROR) SelectObject(dc_, old_);
    }

  private:
    HDC dc_;
    HGDIOBJ old_;
};

// Drawing clipped to a rectangle until the scope ends.
class ClipRect {
  public:
    ClipRect(HDC dc, const RECT& r) : dc_(dc), region_(CreateRectRgnIndirect(&r)) {
        SelectClipRgn(dc_, region_.get());
    }
    ClipRect(const ClipRect&) = delete;
    ClipRect& operator=(const ClipRect&) = delete;
    ~ClipRect() { SelectClipRgn(dc_, nullptr); }

  private:
    HDC dc_;
    Region region_;
};

// A solid rectangle in one colour.
inline void fill_rect(HDC dc, const RECT& r, COLORREF colour) {
    Brush brush(CreateSolidBrush(colour));
    FillRect(dc, &r, brush.get());
}

// Gives a region to a window; the region stays ours when the window refuses it.
inline bool set_window_region(HWND window, Region region, bool redraw) {
    if (!SetWindowRgn(window, region.get(), redraw)) return false;
    region.release();  // the system owns it now
    return true;
}

}  // namespace win
