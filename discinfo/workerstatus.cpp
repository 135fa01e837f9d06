#include "discinfo/workerstatus.h"

#include <cstring>

void WorkerStatus::Set(const char* text) {
    Listener listener;
    char copy[Size];
    {
        std::lock_guard<std::mutex> hold(mutex_);
        std::strncpy(text_, text ? text : "", Size - 1);
        text_[Size - 1] = '\0';
        std::memcpy(copy, text_, sizeof copy);
        listener = listener_;
    }
    if (listener) listener(copy);
}

std::string WorkerStatus::Text() {
    std::lock_guard<std::mutex> hold(mutex_);
    return text_;
}

void WorkerStatus::Clear() {
    std::lock_guard<std::mutex> hold(mutex_);
    text_[0] = '\0';
}

WorkerStatus::Listener WorkerStatus::SetListener(Listener listener) {
    std::lock_guard<std::mutex> hold(mutex_);
    Listener before = listener_;
    listener_ = listener;
    return before;
}
