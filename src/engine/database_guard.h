// The database guard: a lock on the whole database behind an alias that one copy of
// the programs holds at a time, so that no two copies interleave their work on the
// shared work table. PostgreSQL: a session-level advisory lock, which the server drops
// with the session. SQLite: a lock on a file beside the database file ("-guard"),
// which the system drops with the process.
//
// Guards nest within a process: an inner guard (the close during a print request)
// holds on to the lock that the outer one took.
#pragma once

#include <chrono>
#include <string>

#include "error.h"

namespace engine {

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
    std::string alias_;
};

// One backend's lock behind the guard.
class DatabaseLock {
public:
    virtual ~DatabaseLock() = default;
    // True when the lock was free and is now held. Throws DatabaseError.
    virtual bool tryLock() = 0;
    // Lets go of the lock; never throws (a lost connection has let go already).
    virtual void unlock() = 0;
};

}  // namespace engine
