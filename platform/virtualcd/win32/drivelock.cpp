#include "platform/virtualcd/drivelock.h"

#include <windows.h>

#include <utility>

#include "platform/win32/scoped.h"
#include "platform/win32/widetext.h"

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
    explicit FileRangeDriveLock(ScopedHandle file) : file_(std::move(file)) {}
    ~FileRangeDriveLock() override {
        if (!file_) return;
        OVERLAPPED where = LockedByte();
        UnlockFileEx(file_.Get(), 0, 1, 0, &where);
    }

private:
    ScopedHandle file_;
};

} // namespace

std::unique_ptr<DriveLock> TryLockDrive(const std::string& path, bool shareable) {
    ScopedHandle file(CreateFileW(Utf8ToWide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return std::make_unique<FileRangeDriveLock>(ScopedHandle());
    OVERLAPPED where = LockedByte();
    const DWORD flags = LOCKFILE_FAIL_IMMEDIATELY | (shareable ? 0 : LOCKFILE_EXCLUSIVE_LOCK);
    if (!LockFileEx(file.Get(), flags, 0, 1, 0, &where)) return nullptr;
    return std::make_unique<FileRangeDriveLock>(std::move(file));
}
