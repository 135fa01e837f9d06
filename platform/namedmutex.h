// A mutex that other parts of the program can find by name and that the holding
// thread may take again (Windows named mutexes are re-entrant for their owner).
#pragma once

#include <memory>
#include <string>

class NamedMutex {
public:
    explicit NamedMutex(const char* name);
    ~NamedMutex();
    NamedMutex(const NamedMutex&) = delete;
    NamedMutex& operator=(const NamedMutex&) = delete;

    void Lock();
    void Unlock();
    const std::string& Name() const { return name_; }

private:
    struct Impl;
    std::string name_;
    std::unique_ptr<Impl> impl_;
};

// Holds a NamedMutex for one scope.
class NamedMutexHold {
public:
    explicit NamedMutexHold(NamedMutex& mutex) : mutex_(mutex) { mutex_.Lock(); }
    ~NamedMutexHold() { mutex_.Unlock(); }
    NamedMutexHold(const NamedMutexHold&) = delete;
    NamedMutexHold& operator=(const NamedMutexHold&) = delete;

private:
    NamedMutex& mutex_;
};
