// A worker thread's progress text as a property page shows it: stored for the page to
// read when it becomes active, and passed to the page's listener while it is.
#pragma once

#include <cstddef>
#include <mutex>
#include <string>

class WorkerStatus {
public:
    using Listener = void (*)(const char* text);
    // Texts are at most this long with their terminator.
    static constexpr std::size_t Size = 80;

    // Stores the text (cut to fit) and tells the listener, outside the store's lock: a
    // listener that sets a control waits for the user-interface thread, which may be
    // reading the text at that moment.
    void Set(const char* text);
    std::string Text();
    // Empties the text without telling the listener.
    void Clear();
    // Returns the listener installed before.
    Listener SetListener(Listener listener);

private:
    std::mutex mutex_;
    char text_[Size] = {};
    Listener listener_ = nullptr;
};
