#include "platform/virtualcd/drivelock.h"

#include <windows.h>

namespace {

// One byte far past the end of any description: locking it keeps the text readable
// by everybody while the lock itself decides who holds the drive.
OVERLAPPED LockedByte() {
    OVERLAPPED where = {};
    where.Offset = 0;
    where.OffsetHigh = 0x7FFFFFFF;
    return where;
}

class FileRangeDriveLock : public DriveLock {
public:
    explicit FileRangeDriveLock(HANDLE file) : file_(file) {}
    ~FileRangeDriveLock() override {
        if (file_ == INVALID_HANDLE_VALUE) return;
        OVERLAPPED where = LockedByte();
        UnlockFileEx(file_, 0, 1, 0, &where);
        CloseHandle(file_);
    }

private:
    HANDLE file_;
};

} // namespace

std::unique_ptr<DriveLock> TryLockDrive(const std::string& path, bool shareable) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::make_unique<FileRangeDriveLock>(INVALID_HANDLE_VALUE);
    OVERLAPPED where = LockedByte();
    const DWORD flags = LOCKFILE_FAIL_IMMEDIATELY | (shareable ? 0 : LOCKFILE_EXCLUSIVE_LOCK);
    if (!LockFileEx(file, flags, 0, 1, 0, &where)) {
        CloseHandle(file);
        return nullptr;
    }
    return std::make_unique<FileRangeDriveLock>(file);
}
