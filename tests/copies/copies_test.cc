// Several copies of the program on one database, as separate processes: their runs
// show the rows of a copy working alone or the refusal, never a wrong total; a copy
// killed midway leaves nothing that the next run counts; the guard dies with its holder;
// a refused request changes nothing; a report preview keeps no other copy waiting; a
// server restart between two requests is healed.
#include <gtest/gtest.h>
#include <libpq-fe.h>

#include <QApplication>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <vector>
#include <memory>

#include "copy_process.h"
#include "shared_books.h"
#include "demo_request_database.h"
#include "guard_refusal.h"
#include "summary_window.h"
#include "engine/database_guard.h"
#include "engine/query.h"
#include "engine/trace.h"
#include "forms/platform.h"
#include "engine/reader_pool.h"
#include "journal_generator.h"
#include "silent_server.h"
#include "summary_fixture.h"
#include "test_backends.h"

namespace {

using namespace std::chrono_literals;
using copies::CopyProcess;
using test_backends::Backend;

using copies::headingRows;
using copies::kDatabase;
using copies::neutral;
using copies::scalar;
using copies::SharedBooks;

constexpr int kCopies = 3;
constexpr int kRounds = 8;

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

TEST_P(Copies, ThreeCopiesOfBothProgramsShowTheRowsOfACopyAloneOrTheRefusal) {
    const std::vector<std::string> programs = {"daily", "monthly", "daily"};
    std::map<std::string, std::string> alone;
    for (const std::string program : {"daily", "monthly"}) {
        alone[program] = books->aloneRows(program);
        ASSERT_EQ(alone[program].rfind("rows ", 0), 0u) << program << ": " << alone[program];
    }
    ASSERT_NE(alone["daily"], alone["monthly"]);

    std::vector<std::unique_ptr<CopyProcess>> running;
    for (const std::string& program : programs)
        running.push_back(std::make_unique<CopyProcess>(
            std::vector<std::string>{"run", std::to_string(kRounds), program}, books->aliasFile()));
    int lines = 0, correct = 0, refused = 0;
    for (size_t c = 0; c < running.size(); ++c) {
        for (const std::string& line : running[c]->readAll(120s)) {
            ++lines;
            if (line == alone[programs[c]]) ++correct;
            else if (line == "refused") ++refused;
            else ADD_FAILURE() << programs[c] << ": a wrong result: " << line << " (alone: " << alone[programs[c]] << ")";
        }
    }
    EXPECT_EQ(lines, kCopies * kRounds);
    EXPECT_GT(correct, 0);
    std::printf("[ figures  ] %s: %d copies (daily, monthly, daily) x %d rounds: %d correct, %d refused, %d wrong\n",
                backendName().c_str(), kCopies, kRounds, correct, refused, lines - correct - refused);
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
    expectGuardRefusedAfterTheWait();

    holder.kill();
    const auto start = std::chrono::steady_clock::now();
    EXPECT_NO_THROW(engine::DatabaseGuard guard);
    const auto freed = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
    std::printf("[ figures  ] %s: guard free %lld ms after its holder was killed\n", backendName().c_str(),
                static_cast<long long>(freed.count()));
}

TEST_P(Copies, ARequestRefusedForAnotherCopyChangesNothing) {
    CopyProcess holder({"hold", "60"}, books->aliasFile());
    ASSERT_EQ(holder.readLine(30s).value_or("no line"), "held");
    engine::setGuardWait(300ms);
    copies::SummaryWindow window;
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

    // It left nothing to reset: the close goes on at once, without waiting for the guard.
    window.boxes.clear();
    EXPECT_TRUE(mainform::cleanUpAtClose(*window.preparation));
    EXPECT_TRUE(window.boxes.empty());
    EXPECT_TRUE(statements.empty());

    holder.kill();
    engine::setGuardWait(3s);
    EXPECT_EQ(window.run().rfind("rows ", 0), 0u);
    EXPECT_EQ(DayRunCheck(), "YY");
    engine::setTraceSink({});
}

TEST_P(Copies, AnotherCopyRunsWhileAReportPreviewIsOpen) {
    const std::string alone = books->aloneRows();
    copies::SummaryWindow window;
    ASSERT_EQ(window.run(), alone);
    std::string meanwhile;
    long long headingsAfter = -1;
    whenPreviewOpens([&](report::PreviewWindow&) {
        CopyProcess other({"run", "1"}, books->aliasFile());
        const auto lines = other.readAll(60s);
        meanwhile = lines.empty() ? "no line" : lines[0];
        headingsAfter = headingRows();
    });
    window.form->PrintBtnClick(window.form->PrintBtn);
    EXPECT_EQ(meanwhile, alone);  // not refused: the preview holds no guard
    EXPECT_EQ(headingsAfter, 0);  // the other copy cleaned up what the print had prepared
    EXPECT_TRUE(window.boxes.empty());
    EXPECT_EQ(DayRunCheck(), "NN");
    EXPECT_TRUE(neutral());
}

TEST_P(Copies, APrintThatCannotTakeTheGuardBackLeavesItsCleanUpToTheNextRequest) {
    const std::string alone = books->aloneRows();
    copies::SummaryWindow window;
    ASSERT_EQ(window.run(), alone);
    engine::setGuardWait(300ms);
    std::unique_ptr<CopyProcess> holder;
    whenPreviewOpens([&](report::PreviewWindow&) {
        holder = std::make_unique<CopyProcess>(std::vector<std::string>{"hold", "60"}, books->aliasFile());
        EXPECT_EQ(holder->readLine(30s).value_or("no line"), "held");
    });
    window.form->PrintBtnClick(window.form->PrintBtn);
    EXPECT_TRUE(window.boxes.empty());
    EXPECT_EQ(DayRunCheck(), "NN");
    EXPECT_EQ(headingRows(), 129);  // not the print's to remove while another copy works

    holder.reset();  // killed
    EXPECT_EQ(window.run(), alone);
    EXPECT_TRUE(neutral());
}

INSTANTIATE_TEST_SUITE_P(Backends, Copies, ::testing::ValuesIn(test_backends::all()),
                         [](const auto& info) { return test_backends::name(info.param); });

TEST(LostConnection, TheRequestThatMeetsTheBreakShowsOneErrorAndTheNextIsCorrect) {
    if (!test_backends::available(Backend::PostgreSQL)) GTEST_SKIP() << test_backends::kNoServer;
    SharedBooks books(Backend::PostgreSQL);
    const std::string alone = books.aloneRows();
    copies::SummaryWindow window;
    const long long session = scalar("SELECT pg_backend_pid()");
    PGconn* admin = PQconnectdb(test_backends::postgresConnectionInfo(kDatabase).c_str());
    int statements = 0;
    engine::setTraceSink([&](const engine::TraceEntry&) {
        if (++statements == 100)  // the server ends the session halfway through the preparation
            PQclear(PQexec(admin, ("SELECT pg_terminate_backend(" + std::to_string(session) + ", 5000)").c_str()));
    });
    const std::string met = window.run();
    engine::setTraceSink({});
    PQfinish(admin);
    EXPECT_EQ(met.rfind("error The connection to database 'Account' was lost", 0), 0u) << met;
    EXPECT_EQ(window.boxes.size(), 1u);
    EXPECT_EQ(forms::screenCursor(), forms::ScreenCursor::Default);
    EXPECT_EQ(window.run(), alone);
    EXPECT_TRUE(neutral());
}

// The program ends at once and cleanly, whatever its reader connections are doing: here
// the server takes them and never answers (only the first connection gets through).
TEST(ProgramEnd, ACloseWhileTheReaderConnectionsOpenEndsPromptlyWithStatusZero) {
    if (!test_backends::available(Backend::PostgreSQL)) GTEST_SKIP() << test_backends::kNoServer;
    SharedBooks books(Backend::PostgreSQL);
    for (const std::string program : {"daily", "monthly"}) {
        SilentServer slow(1, test_backends::postgresPort());
        const std::string aliasFile = books.aliasFile() + ".slow";
        std::ofstream(aliasFile) << "[Account]\ndriver = postgres\nhost = 127.0.0.1\nport = " << slow.port()
                                 << "\ndatabase = " << kDatabase << "\nuser = " << test_backends::kPostgresRole
                                 << "\n";
        CopyProcess copy({"start-close", program}, aliasFile);
        EXPECT_EQ(copy.readLine(20s), "started") << program;
        EXPECT_EQ(copy.readLine(5s), "closing") << program;
        const auto closing = std::chrono::steady_clock::now();
        const std::optional<int> status = copy.waitForExit(5s);
        const auto took = std::chrono::steady_clock::now() - closing;
        std::filesystem::remove(aliasFile);
        ASSERT_TRUE(status) << program << " still runs 5 seconds after its close";
        EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0)
            << program << ": " << (WIFSIGNALED(*status) ? "killed by signal " + std::to_string(WTERMSIG(*status))
                                                        : "exit status " + std::to_string(WEXITSTATUS(*status)));
        EXPECT_LT(took, 1s) << program;
        EXPECT_EQ(slow.held(), static_cast<int>(engine::kReaderConnections)) << program;  // they were opening
    }
}

// A copy that has left nothing prepared ends at its first close, without connecting, even
// where the server takes connections and never answers (for 1 second here).
TEST(ProgramEnd, ACloseWithNothingToResetEndsAtOnceWhenTheServerNeverAnswers) {
    SilentServer silent;
    const std::string aliasFile = "/tmp/morvel_silent_" + std::to_string(::getpid()) + ".ini";
    std::ofstream(aliasFile) << "[Account]\ndriver = postgres\nhost = 127.0.0.1\ndatabase = a\nport = " << silent.port();
    ::setenv("MORVEL_COPY_CONNECT_WAIT_MS", "1000", 1);
    for (const std::string program : {"daily", "monthly"}) {
        CopyProcess copy({"start-close", program}, aliasFile);
        EXPECT_EQ(copy.readLine(20s).value_or("no line").rfind("box Cannot connect", 0), 0u) << program;
        EXPECT_EQ(copy.readAll(5s), (std::vector<std::string>{"started", "closing"})) << program;  // no box
        EXPECT_TRUE(copy.waitForExit(1s)) << program;
    }
    ::unsetenv("MORVEL_COPY_CONNECT_WAIT_MS");
    std::filesystem::remove(aliasFile);
}

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
        copies::SummaryWindow window;
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
