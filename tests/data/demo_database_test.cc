// The demo database: schema rules, chart rows as stored, and the morvel_demo_db program.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <thread>

#include "demo_database.h"

namespace {

namespace fs = std::filesystem;

class TempDir {
public:
    TempDir() : path_(fs::temp_directory_path() / ("morvel_demo_" + std::to_string(::getpid()) + "_" +
                                                  std::to_string(counter_++))) {
        fs::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

private:
    static inline int counter_ = 0;
    fs::path path_;
};

class Connection {
public:
    explicit Connection(const std::string& path) { sqlite3_open(path.c_str(), &db_); }
    ~Connection() { sqlite3_close(db_); }
    sqlite3* get() const { return db_; }
    // The first column of the first row as text ("<NULL>" for NULL).
    std::string value(const std::string& sql) const {
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK) {
            throw std::runtime_error(sqlite3_errmsg(db_));
        }
        std::string result = "<none>";
        if (sqlite3_step(stmt) == SQLITE_ROW) {
            const auto* text = sqlite3_column_text(stmt, 0);
            result = text ? reinterpret_cast<const char*>(text) : "<NULL>";
        }
        sqlite3_finalize(stmt);
        return result;
    }

private:
    sqlite3* db_ = nullptr;
};

// Runs a shell command and returns what it wrote to its output.
std::string outputOf(const std::string& command) {
    std::string out;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char chunk[512];
        while (std::fgets(chunk, sizeof chunk, pipe)) out += chunk;
        ::pclose(pipe);
    }
    return out;
}

class DemoDatabase : public ::testing::Test {
protected:
    TempDir dir;
    Connection db{dir.file("account.db")};
    void SetUp() override {
        demo::execute(db.get(), "PRAGMA synchronous=OFF");
        demo::createSchema(db.get());
    }
};

TEST_F(DemoDatabase, TextColumnsIgnoreTrailingBlanksAndKeepTheirType) {
    demo::insertChart(db.get());
    EXPECT_EQ(db.value("SELECT Ac_Name FROM Test_Ac_Code WHERE Ac_Code = '10101001000'"), "현금");
    EXPECT_EQ(db.value("SELECT Ac_Code FROM Test_Ac_Code WHERE Ac_Code = '10101001000'"), "10101001000 ");
    demo::insertJournal(db.get(), demo::generateJournalLines({.lines = 4, .seed = 3}));
    EXPECT_EQ(db.value("SELECT typeof(DATE_DAY) || typeof(YEAR_CHAR) || typeof(SERIAL_JEN) FROM ACCOUNT_JEN_AA"),
              "texttexttext");
    EXPECT_EQ(db.value("SELECT count(*) FROM ACCOUNT_JEN_AA WHERE KUBUN_BON = '00000   '"),
              db.value("SELECT count(*) FROM ACCOUNT_JEN_AA WHERE KUBUN_BON = '00000'"));
}

TEST_F(DemoDatabase, ChartRowsStartNeutral) {
    demo::insertChart(db.get());
    EXPECT_EQ(db.value("SELECT count(*) FROM Test_Ac_Code WHERE Serial_No IS NULL OR Code_Kubun IS NULL"), "0");
    EXPECT_EQ(db.value("SELECT count(*) FROM Test_Ac_Code WHERE Jan_Check <> '99' OR The_Code <> '123456789012' "
                       "OR Code_MoveCode <> '123456789012' OR Code_TwoMove <> '123456789012' "
                       "OR Code_ThreeMove <> '123456789012'"),
              "0");
    EXPECT_EQ(db.value("SELECT A_Kubun || '|' || B_Kubun || '|' || C_Kubun || '|' || D_Kubun || '|' || E_Kubun "
                       "FROM Test_Ac_Code WHERE Ac_Code = '10102004000'"),
              "1|01|02|004|000");
    EXPECT_EQ(db.value("SELECT Ac_Name_SiSan || Ac_Name_Gita FROM Test_Ac_Code WHERE Ac_Code = '40701001000'"),
              "급여급여");
}

TEST_F(DemoDatabase, AHeadingInsertLeavesTheOtherColumnsNull) {
    sqlite3* c = db.get();
    demo::execute(c, "INSERT INTO Test_Ac_Code (A_Kubun, B_Kubun, C_Kubun, D_Kubun, E_Kubun, Ac_Code, Ac_Name,"
                     " Ac_Name_SiSan, Ac_Name_Gita) VALUES ('1','01','01','000','000','10101000000','당좌자산',"
                     " '<당좌자산>', '(1) 당좌자산')");
    EXPECT_EQ(db.value("SELECT count(*) FROM Test_Ac_Code WHERE Serial_No IS NULL AND Code_Kubun IS NULL AND "
                       "Jan_Check IS NULL AND The_Code IS NULL AND Code_MoveCode IS NULL AND Code_TwoMove IS NULL "
                       "AND Code_ThreeMove IS NULL"),
              "1");
    // A heading code may stand twice while two preparations overlap.
    demo::execute(c, "INSERT INTO Test_Ac_Code (Ac_Code) VALUES ('10101000000')");
}

TEST_F(DemoDatabase, VoucherNumberPartsAreNeverNullAndAlwaysFullWidth) {
    sqlite3* c = db.get();
    const std::string head = "INSERT INTO ACCOUNT_JEN_AA (AC_JENCODE, KUBUN_BON, DATE_DAY, SERIAL_JEN, SERIAL_BUN) "
                             "VALUES ('10101001000', '00000', '2025-03-01', ";
    EXPECT_THROW(demo::execute(c, head + "NULL, '00001')"), std::runtime_error);
    EXPECT_THROW(demo::execute(c, head + "'20250301', NULL)"), std::runtime_error);
    EXPECT_THROW(demo::execute(c, head + "'20250301', '1')"), std::runtime_error);
    EXPECT_NO_THROW(demo::execute(c, head + "'20250301', '00001')"));
}

TEST(DemoDatabaseFile, IsWrittenWholeAndThenLeftAlone) {
    TempDir dir;
    const std::string path = dir.file("sub/account.db");
    const std::string program = MORVEL_DEMO_DB;
    const auto run = [&](const std::string& args) {
        return std::system((program + " " + args + " >/dev/null 2>&1").c_str());
    };
    ASSERT_EQ(run(path + " --lines 300 --branches 2 --from 2025-01-01 --to 2025-03-31 --seed 5"), 0);
    namespace fs = std::filesystem;
    EXPECT_EQ(fs::status(path).permissions(), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(fs::status(fs::path(path).parent_path()).permissions(), fs::perms::owner_all);
    {
        Connection db(path);
        EXPECT_EQ(db.value("SELECT count(*) FROM ACCOUNT_JEN_AA"), "300");
        EXPECT_EQ(db.value("SELECT count(*) FROM Kubun_Table"), "2");
        EXPECT_EQ(db.value("SELECT max(DATE_DAY) FROM ACCOUNT_JEN_AA"), "2025-03-31");
        EXPECT_EQ(db.value("PRAGMA journal_mode"), "wal");
        EXPECT_EQ(db.value("SELECT count(*) FROM sqlite_schema WHERE type = 'index' AND name LIKE '%Month'"), "2");
        EXPECT_NE(db.value("SELECT count(*) FROM sqlite_stat1"), "0");
    }
    // Any SQLite program can write the journal and check the file: every index holds
    // expressions that SQLite itself knows.
    EXPECT_EQ(outputOf("sqlite3 " + path +
                       " \"INSERT INTO ACCOUNT_JEN_AA VALUES ('10101001000', 5, NULL, '01', '1', '00000', "
                       "'2025-03-31', '2025', '03', '20250331', '99999'); PRAGMA integrity_check;\" 2>&1"),
              "ok\n");
    ASSERT_EQ(run(path + " --lines 50"), 0);  // exists: left as it is
    EXPECT_EQ(Connection(path).value("SELECT count(*) FROM ACCOUNT_JEN_AA"), "301");
    // Without a period of its own the journal also covers 2011, the last year of the lists.
    ASSERT_EQ(run(path + " --lines 50 --force"), 0);
    EXPECT_EQ(Connection(path).value("SELECT count(*) FROM ACCOUNT_JEN_AA WHERE DATE_DAY >= '2025-01-01'"), "50");
    EXPECT_EQ(Connection(path).value("SELECT min(DATE_DAY) >= '2011-01-01' AND max(DATE_DAY) <= '2011-12-31' "
                                     "AND count(*) >= 12 FROM ACCOUNT_JEN_AA WHERE YEAR_CHAR = '2011'"),
              "1");
    EXPECT_NE(run(path + " --lines x"), 0);
    EXPECT_NE(run(path + " --from 2025-13-01"), 0);
    EXPECT_NE(run(path + " --bogus"), 0);
    EXPECT_EQ(Connection(path).value("SELECT count(*) FROM ACCOUNT_JEN_AA WHERE DATE_DAY >= '2025-01-01'"), "50");
}

// Runs morvel_demo_db with `args` and returns what it wrote to its error output.
std::string errorsOf(const std::string& args) {
    return outputOf(std::string(MORVEL_DEMO_DB) + " " + args + " 2>&1 >/dev/null");
}

TEST(DemoDatabaseFile, BadArgumentsAreNamed) {
    TempDir dir;
    const std::string path = dir.file("account.db");
    EXPECT_NE(errorsOf(path + " --lines abc").find("--lines takes a whole number of 0 or more, not 'abc'"),
              std::string::npos);
    EXPECT_NE(errorsOf(path + " --seed 12x").find("--seed takes a whole number of 0 or more, not '12x'"),
              std::string::npos);
    EXPECT_NE(errorsOf(path + " --lines 99999999999999999999").find("--lines takes a whole number"),
              std::string::npos);
    EXPECT_NE(errorsOf(path + " --branches 0").find("--branches takes a whole number of 1 to 99999, not '0'"),
              std::string::npos);
    EXPECT_EQ(errorsOf(path + " --lines abc").find("stoll"), std::string::npos);
    EXPECT_FALSE(fs::exists(path));
}

// A run stopped by Ctrl+C or killed while it writes leaves no database at its path, and
// the next run makes a whole one (what a killed run left in the way included).
TEST(DemoDatabaseFile, AnInterruptedRunLeavesNoDatabaseAndTheNextMakesItWhole) {
    TempDir dir;
    const std::string path = dir.file("account.db");
    for (const int signal : {SIGINT, SIGKILL}) {
        const pid_t writer = ::fork();
        if (writer == 0) {
            const int null = ::open("/dev/null", O_WRONLY);
            ::dup2(null, STDOUT_FILENO);
            ::execl(MORVEL_DEMO_DB, MORVEL_DEMO_DB, path.c_str(), "--lines", "5000000", nullptr);
            ::_exit(127);
        }
        // Stopped once it is well into writing (a run of this size takes a minute).
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!(fs::exists(path + ".partial") && fs::file_size(path + ".partial") > 0) &&
               std::chrono::steady_clock::now() < until)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        ::kill(writer, signal);
        int status = 0;
        ::waitpid(writer, &status, 0);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << "signal " << signal;
        EXPECT_FALSE(fs::exists(path)) << "signal " << signal;
        if (signal == SIGINT) {
            EXPECT_FALSE(fs::exists(path + ".partial"));
        }
    }
    ASSERT_EQ(std::system((std::string(MORVEL_DEMO_DB) + " " + path + " --lines 400 >/dev/null").c_str()), 0);
    EXPECT_EQ(Connection(path).value("SELECT count(*) FROM ACCOUNT_JEN_AA WHERE DATE_DAY >= '2025-01-01'"), "400");
    EXPECT_EQ(fs::status(path).permissions(), fs::perms::owner_read | fs::perms::owner_write);
    for (const char* left : {".partial", ".partial-wal", ".partial-shm", "-wal", "-shm"})
        EXPECT_FALSE(fs::exists(path + left)) << left;
}

// An earlier version interrupted at its path left a database without tables there: the
// next run makes the demo database in its place.
TEST(DemoDatabaseFile, ADatabaseWithoutTablesAtThePathIsMadeWhole) {
    TempDir dir;
    const std::string path = dir.file("account.db");
    std::ofstream(path).flush();
    ASSERT_EQ(std::system((std::string(MORVEL_DEMO_DB) + " " + path + " --lines 100 >/dev/null").c_str()), 0);
    EXPECT_EQ(Connection(path).value("SELECT count(*) > 0 FROM Kubun_Table"), "1");
}

}  // namespace
