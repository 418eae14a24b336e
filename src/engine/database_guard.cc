#include "database_guard.h"

#include <memory>
#include <thread>

#include "database.h"
#include "driver.h"

namespace engine {
namespace {

using namespace std::chrono_literals;

std::chrono::milliseconds& waitSetting() {
    static std::chrono::milliseconds wait = 3s;
    return wait;
}

std::unique_ptr<DatabaseLock> lockFor(Database& database) { return database.connection().guardLock(); }

// The first attempt. A connection that the server broke since the last request shows
// it only now: it is opened again, once, before the guard is taken.
bool firstAttempt(Database& database, std::unique_ptr<DatabaseLock>& lock) {
    lock = lockFor(database);
    try {
        return lock->tryLock();
    } catch (const DatabaseError&) {
        if (!database.connectionBroken()) throw;
    }
    lock.reset();
    lock = lockFor(database);
    return lock->tryLock();
}

}  // namespace

void setGuardWait(std::chrono::milliseconds wait) { waitSetting() = wait; }
std::chrono::milliseconds guardWait() { return waitSetting(); }

void DatabaseGuard::take(Database& database) {
    std::unique_ptr<DatabaseLock> lock;
    const auto deadline = std::chrono::steady_clock::now() + guardWait();
    for (bool held = firstAttempt(database, lock); !held; held = lock->tryLock()) {
        const auto now = std::chrono::steady_clock::now();
        if (now >= deadline)
            throw DatabaseBusy("Another session holds the guard of database '" + database.alias() + "'");
        std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(50ms, deadline - now));
    }
    database.guardLock_ = std::move(lock);
    database.guardDepth_ = 1;
}

DatabaseGuard::DatabaseGuard(const std::string& alias) : alias_(alias) {
    Database& database = databaseForAlias(alias);
    if (database.guardDepth_ > 0) ++database.guardDepth_;
    else take(database);
}

bool DatabaseGuard::pause(const std::string& alias) {
    Database& database = databaseForAlias(alias);
    if (database.guardDepth_ != 1 || !database.guardLock_) return false;
    database.guardLock_->unlock();
    database.guardLock_.reset();
    database.guardDepth_ = 0;
    return true;
}

bool DatabaseGuard::resume(const std::string& alias) {
    Database& database = databaseForAlias(alias);
    if (database.guardDepth_ > 0) {  // taken meanwhile by a guard of its own that still lives
        ++database.guardDepth_;
        return true;
    }
    try {
        take(database);
        return true;
    } catch (const DatabaseError&) {
        return false;
    }
}

bool pauseGuard(const std::string& alias) { return DatabaseGuard::pause(alias); }
bool resumeGuard(const std::string& alias) { return DatabaseGuard::resume(alias); }

DatabaseGuard::~DatabaseGuard() {
    Database& database = databaseForAlias(alias_);
    if (database.guardDepth_ <= 0 || --database.guardDepth_ > 0) return;
    if (database.guardLock_) database.guardLock_->unlock();
    database.guardLock_.reset();
}

}  // namespace engine
