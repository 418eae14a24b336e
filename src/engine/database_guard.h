// The database guard: a lock on the whole database behind an alias that one copy of
// the programs holds at a time, so that no two copies interleave their work on the
// shared work table. PostgreSQL: a session-level advisory lock, which the server drops
// with the session. SQLite: a lock on the database file itself (database_file_lock.h),
// the same through every name of the file, which the system drops with the process.
//
// Guards nest within a process: an inner guard (the close during a print request)
// holds on to the lock that the outer one took. A guard can be paused (see pauseGuard).
#pragma once

#include <chrono>
#include <string>

#include "error.h"

namespace engine {

class Database;

// Another copy kept the guard for the whole wait.
class DatabaseBusy : public DatabaseError {
public:
    using DatabaseError::DatabaseError;
};

// How long a guard waits for another copy to let go before it gives up (a few seconds;
// tests shorten it).
void setGuardWait(std::chrono::milliseconds wait);
std::chrono::milliseconds guardWait();

class DatabaseGuard {
public:
    // Takes the guard of the database behind `alias`, waiting at most guardWait().
    // A connection that broke since the last request is opened again first. Throws
    // DatabaseBusy when another copy keeps the guard, DatabaseError when the database
    // cannot be reached.
    explicit DatabaseGuard(const std::string& alias = "Account");
    ~DatabaseGuard();
    DatabaseGuard(const DatabaseGuard&) = delete;
    DatabaseGuard& operator=(const DatabaseGuard&) = delete;

private:
    friend bool pauseGuard(const std::string&);
    friend bool resumeGuard(const std::string&);
    static void take(Database& database);
    static bool pause(const std::string& alias);
    static bool resume(const std::string& alias);

    std::string alias_;
};

// Inside this process's one guard: lets go of the lock for a while, so that other copies
// can work (a report preview, which reads no table, waits there), and takes it again.
// pauseGuard lets go of nothing and returns false unless exactly one guard is held.
bool pauseGuard(const std::string& alias = "Account");
// Takes the paused lock again, waiting at most guardWait(). False when another copy kept
// it that long or the database could not be reached: the guard then holds nothing.
bool resumeGuard(const std::string& alias = "Account");

// One backend's lock behind the guard (Driver::guardLock).
class DatabaseLock {
public:
    virtual ~DatabaseLock() = default;
    // True when the lock was free and is now held. Throws DatabaseError.
    virtual bool tryLock() = 0;
    // Lets go of the lock; never throws (a lost connection has let go already).
    virtual void unlock() = 0;
};

}  // namespace engine
