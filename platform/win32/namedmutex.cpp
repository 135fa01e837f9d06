#include "platform/namedmutex.h"

#include <windows.h>

#include "platform/win32/scoped.h"
#include "platform/win32/widetext.h"

struct NamedMutex::Impl {
    ScopedHandle handle;
};

NamedMutex::NamedMutex(const char* name) : name_(name), impl_(new Impl) {
    // Not initially owned; an existing mutex of that name is opened instead.
    impl_->handle.Reset(CreateMutexW(nullptr, FALSE, Utf8ToWide(name).c_str()));
}

NamedMutex::~NamedMutex() = default;

void NamedMutex::Lock() {
    if (impl_->handle) WaitForSingleObject(impl_->handle.Get(), INFINITE);
}

void NamedMutex::Unlock() {
    if (impl_->handle) ReleaseMutex(impl_->handle.Get());
}
