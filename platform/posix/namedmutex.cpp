// Native builds have one process, so a name needs no system object: a recursive
// mutex gives the same re-entrant behaviour.
#include "platform/namedmutex.h"

#include <mutex>

struct NamedMutex::Impl {
    std::recursive_mutex mutex;
};

NamedMutex::NamedMutex(const char* name) : name_(name), impl_(new Impl) {}
NamedMutex::~NamedMutex() = default;
void NamedMutex::Lock() { impl_->mutex.lock(); }
void NamedMutex::Unlock() { impl_->mutex.unlock(); }
