// Owners of what the program gets from the system: each frees its handle when it goes,
// exactly once, on every path out of a function. They move but are never copied.
#pragma once

#include <windows.h>

template <class Handle, class Traits>
class Scoped {
public:
    Scoped() = default;
    explicit Scoped(Handle handle) : handle_(handle) {}
    ~Scoped() { Reset(); }
    Scoped(Scoped&& other) noexcept : handle_(other.Release()) {}
    Scoped& operator=(Scoped&& other) noexcept {
        if (this != &other) Reset(other.Release());
        return *this;
    }
    Scoped(const Scoped&) = delete;
    Scoped& operator=(const Scoped&) = delete;

    Handle Get() const { return handle_; }
    explicit operator bool() const { return Traits::Valid(handle_); }
    // Gives the handle up without freeing it.
    Handle Release() {
        const Handle handle = handle_;
        handle_ = Traits::None();
        return handle;
    }
    // Frees the handle held, if any, and holds handle instead.
    void Reset(Handle handle = Traits::None()) {
        if (Traits::Valid(handle_)) Traits::Free(handle_);
        handle_ = handle;
    }

private:
    Handle handle_ = Traits::None();
};

// Kernel objects: threads, files, mutexes, snapshots. Both null and
// INVALID_HANDLE_VALUE stand for none, as the functions that make them differ.
struct KernelHandleTraits {
    static HANDLE None() { return nullptr; }
    static bool Valid(HANDLE handle) { return handle && handle != INVALID_HANDLE_VALUE; }
    static void Free(HANDLE handle) { CloseHandle(handle); }
};
using ScopedHandle = Scoped<HANDLE, KernelHandleTraits>;

// GDI objects the program made or loaded (bitmaps, brushes, pens, fonts); never one
// that is still selected into a device context.
template <class Object>
struct GdiObjectTraits {
    static Object None() { return nullptr; }
    static bool Valid(Object object) { return object != nullptr; }
    static void Free(Object object) { DeleteObject(object); }
};
template <class Object>
using ScopedGdiObject = Scoped<Object, GdiObjectTraits<Object>>;

// A memory device context from CreateCompatibleDC.
struct MemoryDcTraits {
    static HDC None() { return nullptr; }
    static bool Valid(HDC dc) { return dc != nullptr; }
    static void Free(HDC dc) { DeleteDC(dc); }
};
using ScopedMemoryDc = Scoped<HDC, MemoryDcTraits>;

// An icon the program loaded at a size of its own (LoadImage without LR_SHARED).
struct IconTraits {
    static HICON None() { return nullptr; }
    static bool Valid(HICON icon) { return icon != nullptr; }
    static void Free(HICON icon) { DestroyIcon(icon); }
};
using ScopedIcon = Scoped<HICON, IconTraits>;

// A menu that no window owns (a window destroys its own menu bar).
struct MenuTraits {
    static HMENU None() { return nullptr; }
    static bool Valid(HMENU menu) { return menu != nullptr; }
    static void Free(HMENU menu) { DestroyMenu(menu); }
};
using ScopedMenu = Scoped<HMENU, MenuTraits>;

// A registry key the program opened or created; the predefined roots are never closed.
struct RegistryKeyTraits {
    static HKEY None() { return nullptr; }
    static bool Valid(HKEY key) { return key != nullptr; }
    static void Free(HKEY key) { RegCloseKey(key); }
};
using ScopedRegistryKey = Scoped<HKEY, RegistryKeyTraits>;

// An object selected into a device context for one scope; the one it replaced is put
// back, so that the object can be freed and the context deleted afterwards.
class ScopedSelection {
public:
    ScopedSelection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~ScopedSelection() {
        if (previous_ && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
    }
    ScopedSelection(const ScopedSelection&) = delete;
    ScopedSelection& operator=(const ScopedSelection&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};
