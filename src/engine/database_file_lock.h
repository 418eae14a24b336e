// The lock behind the database guard of an SQLite database: an exclusive lock on one
// byte of the database file itself, far past the bytes that SQLite locks (its lock byte
// at 1 GiB and the 512 bytes after it; in WAL mode its other locks lie in the "-shm"
// file). Every name of the file (a symbolic link, a hard link, a bind mount) reaches the
// same lock, and nothing is made beside the database for it: whoever may write the
// database may take it.
//
// It is an open file description lock (F_OFD_SETLK) through the descriptor that the
// driver keeps of the database file (sqlite_database_file.h). Such a lock belongs to that
// open file, not to the process: SQLite's own locks (POSIX locks, which belong to the
// process) and this one never release each other, two descriptors exclude each other
// even within one process, and the system drops the lock when the process ends, however
// it ends.
#pragma once

#include <sys/types.h>

#include <string>
#include <utility>

namespace engine {

// The byte of the database file that the guard locks.
inline constexpr off_t kGuardByte = 0x50000000;

class DatabaseFileLock {
public:
    // `descriptor`: the database file at `path`, open for reading and writing, which its
    // owner keeps open as long as this object lives.
    DatabaseFileLock(int descriptor, std::string path) : fd_(descriptor), path_(std::move(path)) {}

    // True when the lock was free and is now held. Throws DatabaseError when the system
    // refuses.
    bool tryLock();
    void unlock();

private:
    int fd_;
    std::string path_;
};

}  // namespace engine
