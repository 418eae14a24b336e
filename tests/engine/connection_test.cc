// Opening, losing and reopening the connection behind the alias; the login's limits;
// waits for other sessions' locks; the database guard within one process; the files
// the engine writes.
#include <gtest/gtest.h>
#include <libpq-fe.h>
#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "backend.h"
#include "guard_refusal.h"
#include "engine/database.h"
#include "engine/database_file_lock.h"
#include "engine/database_guard.h"
#include "engine/driver.h"
#include "engine/error.h"
#include "engine/query.h"

namespace {

using namespace std::chrono_literals;

std::string repeated(const std::string& piece, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) out += piece;
    return out;
}

std::string errorOf(const std::function<void()>& work) {
    try {
        work();
    } catch (const engine::DatabaseError& e) {
        return e.what();
    }
    return "no error";
}

long long selectNumber(const std::string& sql) {
    engine::Query q;
    q.setText(sql);
    q.open();
    return static_cast<long long>(q.field(0).asFloat());
}

TEST(Login, FieldsAreCutAtThirtyOneCharactersNotBytes) {
    TempDatabase db;
    engine::AliasConfig config;
    config.path = db.path();
    config.userName = repeated("김", 40);  // 40 characters, 120 bytes
    engine::databaseForAlias("Account").setConfig(config);
    std::string shown;
    engine::setLoginHandler([&](engine::LoginRequest& login) {
        shown = login.userName;
        login.password = repeated("비밀", 20);
        return true;
    });
    EXPECT_EQ(selectNumber("select 1"), 1);
    engine::setLoginHandler({});
    EXPECT_EQ(shown, repeated("김", 31));
    EXPECT_EQ(engine::firstCharacters("ab김c", 3), "ab김");
    EXPECT_EQ(engine::firstCharacters("ab", 31), "ab");
}

TEST(SqliteFile, AMistypedPathNamesTheMissingFileAndCreatesNothing) {
    TempDatabase db;
    const std::filesystem::path folder = db.path() + ".missing";
    engine::AliasConfig config;
    config.path = (folder / "sub" / "account.db").string();
    engine::databaseForAlias("Account").setConfig(config);
    const std::string message = errorOf([] { selectNumber("select 1"); });
    EXPECT_EQ(message, "Cannot open database 'Account': the database file " + config.path + " was not found");
    EXPECT_FALSE(std::filesystem::exists(folder));
}

// A path that names no database is refused before SQLite touches it: nothing is written.
TEST(SqliteFile, AFolderAnEmptyFileOrAnotherFileIsRefusedAndLeftAsItWas) {
    TempDatabase db;
    const std::string folder = db.path() + ".d", empty = db.path() + ".empty", text = db.path() + ".csv";
    std::filesystem::create_directory(folder);
    std::ofstream(empty).flush();
    std::ofstream(text) << "Kubun;Name\n";
    const std::pair<std::string, std::string> cases[] = {
        {folder, folder + " is a folder, not a database file"},
        {empty, "the database file " + empty + " is empty (0 bytes), so it holds no database"},
        {text, "the file " + text + " is not an SQLite database"}};
    for (const auto& [path, says] : cases) {
        test_backends::pointAliasAtSqlite(path);
        EXPECT_EQ(errorOf([] { selectNumber("select 1"); }), "Cannot open database 'Account': " + says);
    }
    EXPECT_EQ(std::filesystem::file_size(empty), 0u);
    EXPECT_EQ(std::filesystem::file_size(text), 11u);
    for (const std::string& path : {folder, empty, text}) std::filesystem::remove(path);
}

// SQLite names its journal files after the name that a file is opened by, so two names
// of one file (hard links) would keep two journals: every name of such a file is refused.
TEST(SqliteFile, AFileWithTwoNamesIsRefusedByEitherName) {
    TempDatabase db;
    db.exec("create table t (x)");
    const std::string other = db.path() + ".other";
    std::filesystem::create_hard_link(db.path(), other);
    for (const std::string& name : {db.path(), other}) {
        test_backends::pointAliasAtSqlite(name);
        EXPECT_EQ(errorOf([] { selectNumber("select count(*) from t"); }),
                  "Cannot open database 'Account': the database file " + name +
                      " has 2 names (hard links), and copies that open it by different names would not see each "
                      "other's changes; give it one name (symbolic links may point to it)");
    }
    std::filesystem::remove(other);
    test_backends::pointAliasAtSqlite(db.path());
    EXPECT_EQ(selectNumber("select count(*) from t"), 0);
}

TEST(Trace, TheFileIsItsOwnersOnlyAndNoSymbolicLinkIsFollowed) {
    TempDatabase db;
    const std::string trace = db.path() + ".trace";
    const std::string target = db.path() + ".elsewhere";
    ::setenv("MORVEL_SQL_TRACE", trace.c_str(), 1);
    const mode_t oldMask = ::umask(0);
    selectNumber("select 1");
    ::umask(oldMask);
    struct stat info {};
    ASSERT_EQ(::stat(trace.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);

    std::filesystem::remove(trace);
    std::ofstream(target).flush();
    std::filesystem::create_symlink(target, trace);
    selectNumber("select 2");
    ::unsetenv("MORVEL_SQL_TRACE");
    EXPECT_EQ(std::filesystem::file_size(target), 0u);
    std::filesystem::remove(trace);
    std::filesystem::remove(target);
}

// Locks the guard's byte through the open file `fd`; false when another holds it.
bool lockGuardByte(int fd) {
    struct flock lock {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    lock.l_start = engine::kGuardByte;
    lock.l_len = 1;
    return ::fcntl(fd, F_OFD_SETLK, &lock) == 0;
}

// Whether another open file of the database can lock the guard's byte now.
bool guardByteFree(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDWR);
    const bool free = lockGuardByte(fd);
    ::close(fd);
    return free;
}

TEST(Guard, NestsWithinTheProcessAndLetsGoWithTheOuterGuard) {
    TempDatabase db;
    {
        engine::DatabaseGuard outer;
        { engine::DatabaseGuard inner; }
        EXPECT_FALSE(guardByteFree(db.path()));  // still held after the inner guard
    }
    EXPECT_TRUE(guardByteFree(db.path()));
    EXPECT_FALSE(std::filesystem::exists(db.path() + "-guard"));
}

TEST(Guard, AGuardHeldElsewhereRefusesAfterTheWait) {
    TempDatabase db;
    const int fd = ::open(db.path().c_str(), O_RDWR);
    ASSERT_TRUE(lockGuardByte(fd));
    expectGuardRefusedAfterTheWait();
    ::close(fd);  // let go: the next guard gets it at once
    EXPECT_NO_THROW(engine::DatabaseGuard guard);
}

// SQLite keeps a shared lock on the database file while its connection is open in WAL
// mode (a POSIX lock, which closing any descriptor of the file in this process would
// drop). Taking and letting go of the guard leaves it in place: another process still
// sees it.
TEST(Guard, LeavesSQLitesOwnLocksOnTheFileInPlace) {
    TempDatabase db;
    db.exec("create table t (x)");
    EXPECT_EQ(selectNumber("select count(*) from t"), 0);
    for (int round = 0; round < 3; ++round) engine::DatabaseGuard guard;
    const pid_t child = ::fork();
    if (child == 0) {
        const int fd = ::open(db.path().c_str(), O_RDWR);
        struct flock probe {};
        probe.l_type = F_WRLCK;
        probe.l_whence = SEEK_SET;
        probe.l_start = 0x40000000;  // SQLite's lock bytes
        probe.l_len = 512;
        ::_exit(fd >= 0 && ::fcntl(fd, F_GETLK, &probe) == 0 && probe.l_type != F_UNLCK ? 0 : 1);
    }
    int status = -1;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "SQLite's shared lock was dropped";
}

class Connection : public BackendTest {
protected:
    void TearDown() override {
        engine::setLockWait(5000ms);
        BackendTest::TearDown();
    }

    // A session of its own beside the engine's, on the same database.
    struct OtherSession {
        explicit OtherSession(const std::string& sqlitePath) {
            if (sqlitePath.empty()) {
                pg = PQconnectdb(test_backends::postgresConnectionInfo("morvel_engine_test").c_str());
            } else {
                sqlite3_open(sqlitePath.c_str(), &lite);
            }
        }
        ~OtherSession() {
            if (pg) PQfinish(pg);
            if (lite) sqlite3_close(lite);
        }
        void exec(const std::string& sql) {
            if (pg) PQclear(PQexec(pg, sql.c_str()));
            else sqlite3_exec(lite, sql.c_str(), nullptr, nullptr, nullptr);
        }
        PGconn* pg = nullptr;
        sqlite3* lite = nullptr;
    };

    std::string sqlitePath() const {
        return postgres() ? std::string() : engine::databaseForAlias("Account").config().path;
    }
};

TEST_P(Connection, ALockKeptByAnotherSessionEndsTheWaitWithAClearMessage) {
    engine::setLockWait(300ms);
    engine::databaseForAlias("Account").disconnect();  // the wait applies to connections opened from now on
    run("drop table if exists WAITED; create table WAITED (K TEXT(4))");
    OtherSession other(sqlitePath());
    other.exec(postgres() ? "BEGIN; LOCK TABLE waited IN ACCESS EXCLUSIVE MODE" : "BEGIN EXCLUSIVE");
    const auto start = std::chrono::steady_clock::now();
    const std::string message = errorOf([&] { run("insert into WAITED values ('1')"); });
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(message.rfind("Another session kept a lock on the database for 0.3 seconds", 0), 0u) << message;
    EXPECT_LT(waited, 3s);
    other.exec("ROLLBACK");
    EXPECT_EQ(errorOf([&] { run("insert into WAITED values ('1')"); }), "no error");
}

TEST_P(Connection, AConnectionTheServerEndedIsOpenedAgainAtTheNextRequest) {
    if (!postgres()) GTEST_SKIP() << "a file database has no connection to lose";
    int logins = 0;  // connecting again reuses the login given once
    engine::setLoginHandler([&](engine::LoginRequest&) { return ++logins > 0; });
    OtherSession other("");
    const auto endSession = [&] {
        other.exec("SELECT pg_terminate_backend(" + std::to_string(selectNumber("select pg_backend_pid()")) + ", 5000)");
    };

    // A statement that meets the break fails with one clear error; the next one connects again.
    endSession();
    EXPECT_EQ(errorOf([] { selectNumber("select 7"); }).rfind("The connection to database 'Account' was lost", 0), 0u);
    EXPECT_EQ(selectNumber("select 7"), 7);

    // Under the guard, the request that meets the break ends with one clear error...
    {
        engine::DatabaseGuard guard;
        endSession();
        const std::string message = errorOf([] { selectNumber("select 1"); });
        EXPECT_EQ(message.rfind("The connection to database 'Account' was lost (", 0), 0u) << message;
        EXPECT_NE(message.find("the next request connects again"), std::string::npos) << message;
        EXPECT_EQ(errorOf([] { selectNumber("select 1"); }).rfind("The connection to database 'Account' was lost", 0),
                  0u);
    }
    // ...and the next guard connects again before it takes the lock.
    endSession();
    engine::DatabaseGuard guard;
    EXPECT_EQ(selectNumber("select 8"), 8);
    EXPECT_EQ(logins, 1);
}

INSTANTIATE_TEST_SUITE_P(Backends, Connection, BACKENDS);

}  // namespace
