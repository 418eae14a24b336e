// The file behind an SQLite alias as a driver holds it: checked before SQLite touches it,
// then opened once, by a descriptor that stays open longer than the driver's SQLite
// connections (closing any descriptor of a file drops every POSIX lock that the process
// holds on it, SQLite's included). The descriptor tells whether the alias's path still
// names the file, and carries the lock behind the database guard.
//
// SQLite finds a database's "-wal" and "-shm" files by name. A file moved, restored or
// deleted while copies have it open leaves their log under those names: a copy that
// opened the file now at the path would take that log for its own and write it into the
// wrong file. So a copy lets go of a file that its path no longer names (the last one
// writes the log into the old file and removes the journal files), and no copy opens a
// file whose journal files are still in use by copies of the file that stood there before.
#pragma once

#include <sys/types.h>

#include <string>

#include "database_file_lock.h"

namespace engine {

class SqliteDatabaseFile {
public:
    // Checks the file at `path` and opens it, writing nothing. Throws DatabaseError
    // "Cannot open database '<alias>': ..." when the path names no file, a folder or
    // another kind of file, an empty file, a file that is no SQLite database or one with
    // several names (hard links); when this user may not write it (the programs write
    // their work table there), naming its owner and group; and when its "-shm" file is in
    // use by copies that do not have this file open (they opened one that stood at the
    // path before).
    SqliteDatabaseFile(const std::string& path, const std::string& alias);
    SqliteDatabaseFile(const SqliteDatabaseFile&) = delete;
    SqliteDatabaseFile& operator=(const SqliteDatabaseFile&) = delete;

    // Empty while the path names the file opened here; otherwise the message that the
    // file was moved, replaced or deleted since.
    std::string movedAway() const;
    // Whether another process has the file open in SQLite's way (it holds SQLite's lock).
    bool openElsewhere() const;

    DatabaseFileLock& guardLock() { return lock_; }

private:
    // A descriptor closed with its owner (also when the constructor fails).
    struct Descriptor {
        explicit Descriptor(int descriptor = -1) : fd(descriptor) {}
        ~Descriptor();
        Descriptor(const Descriptor&) = delete;
        Descriptor& operator=(const Descriptor&) = delete;
        int fd;
    };

    void refuseJournalOfAnotherFile();

    std::string path_;
    std::string alias_;
    Descriptor file_;
    // The "-shm" file found beside the database, kept open for the same reason.
    Descriptor journalIndex_;
    dev_t device_ = 0;
    ino_t inode_ = 0;
    DatabaseFileLock lock_;
};

}  // namespace engine
