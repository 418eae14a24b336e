// Several copies of the program on one database, as separate processes: their runs
// show the rows of a copy working alone or the refusal, never a wrong total; a copy
// killed midway leaves nothing that the next run counts; the guard dies with its holder;
// a refused request changes nothing; a server restart between two requests is healed.
#include <gtest/gtest.h>

#include <QApplication>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>

#include "copy_process.h"
#include "daily_window.h"
#include "engine/database_guard.h"
#include "engine/query.h"
#include "engine/trace.h"
#include "forms/platform.h"
#include "journal_generator.h"
#include "summary_fixture.h"
#include "test_backends.h"

namespace {

using namespace std::chrono_literals;
using copies::CopyProcess;
using test_backends::Backend;

constexpr const char* kDatabase = "morvel_copies_test";
constexpr int kCopies = 3;
constexpr int kRounds = 8;

long long scalar(const std::string& sql) {
    engine::Query q;
    q.setText(sql);
    q.open();
    return static_cast<long long>(q.field(0).asFloat());
}

long long headingRows() { return scalar("SELECT COUNT(*) FROM Test_Ac_Code WHERE Serial_No IS NULL"); }

// Neutral: no heading rows, every class "99", every link the filler.
bool neutral() {
    return headingRows() == 0 &&
           scalar("SELECT COUNT(*) FROM Test_Ac_Code WHERE Jan_Check <> '99' OR The_Code <> '123456789012' "
                  "OR Code_MoveCode <> '123456789012' OR Code_TwoMove <> '123456789012' "
                  "OR Code_ThreeMove <> '123456789012'") == 0;
}

// The books of one test: the demo chart, two branches and a year of journal, on one
// backend, and an alias file that points the copies at them.
class SharedBooks {
public:
    explicit SharedBooks(Backend backend) : backend_(backend) {
        books_ = std::make_unique<fixture::SummaryDatabase>(backend, 2, false, kDatabase);
        books_->addJournal(demo::generateJournalLines(
            {.lines = 1500, .branches = 2, .from = "2002-01-01", .to = "2002-12-31", .seed = 11}));
        aliasFile_ = (std::filesystem::temp_directory_path() /
                      ("morvel_copies_" + std::to_string(::getpid()) + "_" + std::to_string(++counter_) + ".ini"))
                         .string();
        std::ofstream ini(aliasFile_);
        ini << "[Account]\n";
        if (backend == Backend::SQLite) {
            ini << "driver = sqlite\npath = " << books_->path() << "\n";
        } else {
            ini << "driver = postgres\nhost = 127.0.0.1\nport = " << test_backends::postgresPort()
                << "\ndatabase = " << kDatabase << "\nuser = " << test_backends::kPostgresRole << "\n";
        }
    }
    ~SharedBooks() {
        books_.reset();
        std::filesystem::remove(aliasFile_);
    }

    const std::string& aliasFile() const { return aliasFile_; }

    // What one copy alone shows for the year: its one run.
    std::string aloneRows() {
        CopyProcess copy({"run", "1"}, aliasFile_);
        const auto lines = copy.readAll(60s);
        return lines.size() == 1 ? lines[0] : "no single line";
    }

private:
    Backend backend_;
    std::unique_ptr<fixture::SummaryDatabase> books_;
    std::string aliasFile_;
    static inline int counter_ = 0;
};

class Copies : public ::testing::TestWithParam<Backend> {
protected:
    void SetUp() override {
        if (!test_backends::available(GetParam())) GTEST_SKIP() << test_backends::kNoServer;
        books = std::make_unique<SharedBooks>(GetParam());
    }
    void TearDown() override {
        engine::setGuardWait(3s);
        books.reset();
    }
    std::string backendName() const { return test_backends::name(GetParam()); }

    std::unique_ptr<SharedBooks> books;
};

TEST_P(Copies, ThreeCopiesShowTheRowsOfACopyAloneOrTheRefusal) {
    const std::string alone = books->aloneRows();
    ASSERT_EQ(alone.rfind("rows ", 0), 0u) << alone;

    std::vector<std::unique_ptr<CopyProcess>> running;
    for (int c = 0; c < kCopies; ++c)
        running.push_back(std::make_unique<CopyProcess>(std::vector<std::string>{"run", std::to_string(kRounds)},
                                                        books->aliasFile()));
    std::map<std::string, int> outcomes;  // "correct", "refused", or the wrong line
    int lines = 0;
    for (auto& copy : running) {
        for (const std::string& line : copy->readAll(120s)) {
            ++lines;
            if (line == alone) ++outcomes["correct"];
            else if (line == "refused") ++outcomes["refused"];
            else ADD_FAILURE() << "a wrong result: " << line << " (alone: " << alone << ")";
        }
    }
    EXPECT_EQ(lines, kCopies * kRounds);
    EXPECT_GT(outcomes["correct"], 0);
    std::printf("[ figures  ] %s: %d copies x %d rounds: %d correct, %d refused, %d wrong\n", backendName().c_str(),
                kCopies, kRounds, outcomes["correct"], outcomes["refused"],
                lines - outcomes["correct"] - outcomes["refused"]);
    EXPECT_TRUE(neutral());
}

TEST_P(Copies, ACopyKilledDuringItsPreparationLeavesNothingThatTheNextRunCounts) {
    const std::string alone = books->aloneRows();
    {
        CopyProcess dying({"hang"}, books->aliasFile());
        ASSERT_EQ(dying.readLine(60s).value_or("no line"), "preparing");
        EXPECT_GT(headingRows(), 0);
        dying.kill();  // SIGKILL: no clean-up of its own
    }
    EXPECT_GT(headingRows(), 0);
    EXPECT_EQ(books->aloneRows(), alone);
    EXPECT_TRUE(neutral());
}

TEST_P(Copies, TheGuardIsHeldAcrossProcessesAndDiesWithItsHolder) {
    CopyProcess holder({"hold", "60"}, books->aliasFile());
    ASSERT_EQ(holder.readLine(30s).value_or("no line"), "held");
    engine::setGuardWait(300ms);
    auto start = std::chrono::steady_clock::now();
    EXPECT_THROW(engine::DatabaseGuard guard, engine::DatabaseBusy);
    EXPECT_GE(std::chrono::steady_clock::now() - start, 300ms);

    holder.kill();
    engine::setGuardWait(3s);
    start = std::chrono::steady_clock::now();
    EXPECT_NO_THROW(engine::DatabaseGuard guard);
    const auto freed = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
    std::printf("[ figures  ] %s: guard free %lld ms after its holder was killed\n", backendName().c_str(),
                static_cast<long long>(freed.count()));
}

TEST_P(Copies, ARequestRefusedForAnotherCopyChangesNothing) {
    CopyProcess holder({"hold", "60"}, books->aliasFile());
    ASSERT_EQ(holder.readLine(30s).value_or("no line"), "held");
    engine::setGuardWait(300ms);
    copies::DailyWindow window;
    ASSERT_EQ(DayRunCheck(), "NN");
    std::vector<engine::TraceEntry> statements;
    engine::setTraceSink([&](const engine::TraceEntry& e) { statements.push_back(e); });

    EXPECT_EQ(window.run(), "refused");
    ASSERT_EQ(window.boxes.size(), 1u);
    EXPECT_EQ(window.boxes[0].kind, forms::MessageKind::Warning);
    EXPECT_TRUE(statements.empty());
    EXPECT_EQ(DayRunCheck(), "NN");
    EXPECT_EQ(forms::screenCursor(), forms::ScreenCursor::Default);
    EXPECT_FALSE(window.form->Query1.active());

    window.form->PrintBtnClick(window.form->PrintBtn);
    EXPECT_TRUE(statements.empty());

    // The close waits as long, warns, and keeps the window; a second close ends it.
    window.boxes.clear();
    EXPECT_FALSE(window.form->close());
    EXPECT_EQ(window.boxes.size(), 1u);
    EXPECT_TRUE(statements.empty());

    holder.kill();
    engine::setGuardWait(3s);
    EXPECT_EQ(window.run().rfind("rows ", 0), 0u);
    EXPECT_EQ(DayRunCheck(), "YY");
    engine::setTraceSink({});
}

INSTANTIATE_TEST_SUITE_P(Backends, Copies, ::testing::ValuesIn(test_backends::all()),
                         [](const auto& info) { return test_backends::name(info.param); });

// Points the test helpers at another server for a while.
class ScopedPort {
public:
    explicit ScopedPort(const std::string& port) : old_(std::getenv("MORVEL_TEST_PG_PORT")) {
        ::setenv("MORVEL_TEST_PG_PORT", port.c_str(), 1);
    }
    ~ScopedPort() { ::setenv("MORVEL_TEST_PG_PORT", old_.c_str(), 1); }

private:
    std::string old_;
};

int serverScript(const std::string& port, const std::string& command) {
    return std::system(("MORVEL_TEST_PG_PORT=" + port + " bash " MORVEL_TEST_POSTGRES_SCRIPT " " + command +
                        " >/dev/null")
                           .c_str());
}

TEST(ServerRestart, TheRequestAfterTheServerCameBackSucceeds) {
    const char* restartPort = std::getenv("MORVEL_TEST_PG_RESTART_PORT");
    if (!test_backends::available(Backend::PostgreSQL) || !restartPort || !*restartPort)
        GTEST_SKIP() << "no port for a second test server (MORVEL_TEST_PG_RESTART_PORT)";
    const std::string port = restartPort;
    ASSERT_EQ(serverScript(port, "start"), 0);
    {
        ScopedPort scoped(port);
        SharedBooks books(Backend::PostgreSQL);
        copies::DailyWindow window;
        const std::string before = window.run();
        ASSERT_EQ(before.rfind("rows ", 0), 0u) << before;

        ASSERT_EQ(serverScript(port, "restart"), 0);
        EXPECT_EQ(window.run(), before);
        EXPECT_EQ(DayRunCheck(), "YY");
        EXPECT_TRUE(neutral());
        EXPECT_TRUE(window.form->close());
    }
    serverScript(port, "stop");
}

}  // namespace

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
