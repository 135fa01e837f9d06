#include "platform/namedmutex.h"

#include <windows.h>

struct NamedMutex::Impl {
    HANDLE handle = nullptr;
};

NamedMutex::NamedMutex(const char* name) : name_(name), impl_(new Impl) {
    // Not initially owned; an existing mutex of that name is opened instead.
    impl_->handle = CreateMutexA(nullptr, FALSE, name);
}

NamedMutex::~NamedMutex() {
    if (impl_->handle) CloseHandle(impl_->handle);
}

void NamedMutex::Lock() {
    if (impl_->handle) WaitForSingleObject(impl_->handle, INFINITE);
}

void NamedMutex::Unlock() {
    if (impl_->handle) ReleaseMutex(impl_->handle);
}
