#include "database_file_lock.h"

#include <fcntl.h>

#include <cerrno>
#include <cstring>

#include "error.h"

namespace engine {
namespace {

int setGuardByteLock(int fd, short type) {
    struct flock lock {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    lock.l_start = kGuardByte;
    lock.l_len = 1;
    return ::fcntl(fd, F_OFD_SETLK, &lock);
}

}  // namespace

bool DatabaseFileLock::tryLock() {
    if (setGuardByteLock(fd_, F_WRLCK) == 0) return true;
    if (errno == EAGAIN || errno == EACCES || errno == EINTR) return false;
    throw DatabaseError("Cannot lock the database file " + path_ + ": " + std::strerror(errno));
}

void DatabaseFileLock::unlock() { setGuardByteLock(fd_, F_UNLCK); }

}  // namespace engine
