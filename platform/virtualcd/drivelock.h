// Holds a virtual drive for one open, across processes: an exclusive open keeps every
// other open out, shareable opens only keep exclusive ones out. The system drops the
// hold when the process ends, however it ends.
#pragma once

#include <memory>
#include <string>

class DriveLock {
public:
    virtual ~DriveLock() = default;
};

// Locks the description file at path (without touching its text). Null when another
// open holds the drive against this one; a drive whose file can't be opened is not
// held by anyone, so it gets a lock that holds nothing.
std::unique_ptr<DriveLock> TryLockDrive(const std::string& path, bool shareable);
