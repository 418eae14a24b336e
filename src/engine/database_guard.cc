#include "database_guard.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <thread>

#include "alias_config.h"
#include "database.h"
#include "driver.h"

namespace engine {
namespace {

using namespace std::chrono_literals;

std::chrono::milliseconds& waitSetting() {
    static std::chrono::milliseconds wait = 3s;
    return wait;
}

// The advisory lock's key: the same number in every copy ("MORVEL" in ASCII).
constexpr const char* kAdvisoryKey = "84913164567884";

// PostgreSQL: a session-level advisory lock on the connection's database.
class AdvisoryLock : public DatabaseLock {
public:
    explicit AdvisoryLock(Driver& driver) : driver_(driver) {}

    bool tryLock() override {
        const ResultSet result = run(std::string("SELECT pg_try_advisory_lock(") + kAdvisoryKey + ")");
        return !result.rows.empty() && result.rows[0][0].asString() == "t";
    }

    void unlock() override {
        try {
            run(std::string("SELECT pg_advisory_unlock(") + kAdvisoryKey + ")");
        } catch (const DatabaseError&) {
            // The session is gone, and its lock with it.
        }
    }

private:
    ResultSet run(const std::string& sql) {
        TranslatedStatement statement;
        statement.sql = sql;
        return driver_.execute(statement, {});
    }

    Driver& driver_;
};

// SQLite: an exclusive flock on the file "<database>-guard". The lock belongs to the
// open file, so the system drops it when the process ends, however it ends; a file of
// its own leaves SQLite's own locks on the database file untouched. The file takes the
// database file's permissions, as SQLite's "-wal" and "-shm" files do.
class GuardFileLock : public DatabaseLock {
public:
    explicit GuardFileLock(const std::string& databasePath) : path_(databasePath + "-guard") {
        fd_ = ::open(path_.c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW);
        if (fd_ < 0 && errno == ENOENT) {
            struct stat database {};
            const mode_t mode = ::stat(databasePath.c_str(), &database) == 0 ? (database.st_mode & 0666) : 0600;
            fd_ = ::open(path_.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, mode);
            if (fd_ >= 0) ::fchmod(fd_, mode);  // whatever the umask took away
            else if (errno == EEXIST) fd_ = ::open(path_.c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW);
        }
        if (fd_ < 0) throw DatabaseError("Cannot open the lock file " + path_ + ": " + std::strerror(errno));
    }
    ~GuardFileLock() override { ::close(fd_); }

    bool tryLock() override {
        if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) return true;
        if (errno == EWOULDBLOCK || errno == EINTR) return false;
        throw DatabaseError("Cannot lock " + path_ + ": " + std::strerror(errno));
    }

    void unlock() override { ::flock(fd_, LOCK_UN); }

private:
    std::string path_;
    int fd_ = -1;
};

// A database in memory belongs to its one connection: nobody else can reach it.
class PrivateDatabaseLock : public DatabaseLock {
public:
    bool tryLock() override { return true; }
    void unlock() override {}
};

std::unique_ptr<DatabaseLock> lockFor(Database& database) {
    Driver& driver = database.connection();
    if (driver.name() == "postgres") return std::make_unique<AdvisoryLock>(driver);
    const AliasConfig& config = database.config();
    const std::string path = config.path.empty() ? defaultDatabasePath() : config.path;
    if (path == ":memory:") return std::make_unique<PrivateDatabaseLock>();
    return std::make_unique<GuardFileLock>(path);
}

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
