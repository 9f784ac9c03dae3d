// Scoped owners for the shell's COM objects and item ID lists, and the
// apartment a thread needs to use them.
#pragma once

#include <windows.h>
#include <ole2.h>
#include <shlobj.h>

#include <utility>

namespace win {

// Holds one reference to a COM object; Release on scope end. Movable.
template <class T>
class ComPtr {
  public:
    ComPtr() = default;
    explicit ComPtr(T* p) : p_(p) {}  // takes over a reference
    ComPtr(const ComPtr& o) : p_(o.p_) {
        if (p_) p_->AddRef();
    }
    ComPtr(ComPtr&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    ComPtr& operator=(ComPtr o) noexcept {
        std::swap(p_, o.p_);
        return *this;
    }
    ~ComPtr() { reset(); }

    T* get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    void reset() {
        if (p_) std::exchange(p_, nullptr)->Release();
    }
    // For functions that hand out a new reference through a T** or void**.
    T** put() {
        reset();
        return &p_;
    }
    void** put_void() { return reinterpret_cast<void**>(put()); }

  private:
    T* p_ = nullptr;
};

// An item ID list allocated by the shell, freed with CoTaskMemFree.
class Pidl {
  public:
    Pidl() = default;
    explicit Pidl(LPITEMIDLIST p) : p_(p) {}
    Pidl(const Pidl& o) : p_(o.p_ ? ILClone(o.p_) : nullptr) {}
    Pidl(Pidl&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    Pidl& operator=(Pidl o) noexcept {
        std::swap(p_, o.p_);
        return *this;
    }
    ~Pidl() { CoTaskMemFree(p_); }

    LPITEMIDLIST get() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    LPITEMIDLIST* put() {
        CoTaskMemFree(std::exchange(p_, nullptr));
        return &p_;
    }

  private:
    LPITEMIDLIST p_ = nullptr;
};

// OLE on the calling thread (clipboard, drag and drop, shell menus) for the
// scope's lifetime; nested scopes only count up.
class OleScope {
  public:
    OleScope() : ok_(SUCCEEDED(OleInitialize(nullptr))) {}
    OleScope(const OleScope&) = delete;
    OleScope& operator=(const OleScope&) = delete;
    ~OleScope() {
        if (ok_) OleUninitialize();
    }

  private:
    bool ok_;
};

}  // namespace win
