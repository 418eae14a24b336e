// The lock behind the database guard of an SQLite database: an exclusive lock on one
// byte of the database file itself, far past the bytes that SQLite locks (its lock byte
// at 1 GiB and the 512 bytes after it; in WAL mode its other locks lie in the "-shm"
// file). Every name of the file (a symbolic link, a hard link, a bind mount) reaches the
// same lock, and nothing is made beside the database for it: whoever may write the
// database may take it.
//
// It is an open file description lock (F_OFD_SETLK) through a descriptor of its own.
// Such a lock belongs to that open file, not to the process: SQLite's own locks (POSIX
// locks, which belong to the process) and this one never release each other, two
// descriptors exclude each other even within one process, and the system drops the lock
// when the process ends, however it ends.
//
// Closing any descriptor of the database file drops every POSIX lock that the process
// holds on it, SQLite's included. So the descriptor, once open, stays open as long as
// this object lives, and its owner keeps it longer than its SQLite connections.
#pragma once

#include <sys/types.h>

#include <string>
#include <utility>

namespace engine {

// The byte of the database file that the guard locks.
inline constexpr off_t kGuardByte = 0x50000000;

class DatabaseFileLock {
public:
    explicit DatabaseFileLock(std::string databasePath) : path_(std::move(databasePath)) {}
    ~DatabaseFileLock();
    DatabaseFileLock(const DatabaseFileLock&) = delete;
    DatabaseFileLock& operator=(const DatabaseFileLock&) = delete;

    // True when the lock was free and is now held. Opens the file at the first call.
    // Throws DatabaseError (the file cannot be opened for writing, the system refuses).
    bool tryLock();
    void unlock();

private:
    std::string path_;
    int fd_ = -1;
};

}  // namespace engine
