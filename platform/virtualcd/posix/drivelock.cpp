#include "platform/virtualcd/drivelock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {
// flock: whole-file, per open file description, released by the kernel at exit.
class FlockDriveLock : public DriveLock {
public:
    explicit FlockDriveLock(int fd) : fd_(fd) {}
    ~FlockDriveLock() override {
        if (fd_ >= 0) ::close(fd_);
    }

private:
    int fd_;
};
} // namespace

std::unique_ptr<DriveLock> TryLockDrive(const std::string& path, bool shareable) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::make_unique<FlockDriveLock>(-1);
    if (::flock(fd, (shareable ? LOCK_SH : LOCK_EX) | LOCK_NB) != 0) {
        ::close(fd);
        return nullptr;
    }
    return std::make_unique<FlockDriveLock>(fd);
}
