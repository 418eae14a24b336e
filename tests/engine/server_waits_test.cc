// A server that does not answer: every wait on it ends within its bound with a clear
// message, and connections still opening stop when the program closes its connections.
#include <gtest/gtest.h>
#include <signal.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <future>
#include <memory>
#include <thread>

#include "engine/database.h"
#include "engine/driver.h"
#include "engine/error.h"
#include "engine/query.h"
#include "silent_server.h"
#include "test_backends.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

struct Outcome {
    std::string message = "no error";
    Clock::duration took{};
};

Outcome runStatement(const std::string& sql) {
    Outcome outcome;
    const auto start = Clock::now();
    try {
        engine::Query query;
        query.setText(sql);
        query.open();
    } catch (const engine::DatabaseError& e) {
        outcome.message = e.what();
    }
    outcome.took = Clock::now() - start;
    return outcome;
}

long long number(const std::string& sql) {
    engine::Query query;
    query.setText(sql);
    query.open();
    return static_cast<long long>(query.field(0).asFloat());
}

// Points "Account" at a database of the test server through `port` (the server itself or
// a silent server in front of it).
void pointAliasAt(int port) {
    test_backends::pointAliasAtPostgres("morvel_engine_test");
    engine::AliasConfig config = engine::databaseForAlias("Account").config();
    config.port = port;
    engine::databaseForAlias("Account").setConfig(config);
}

class ServerWaits : public ::testing::Test {
protected:
    void TearDown() override {
        test_backends::releaseAlias();
        engine::setConnectWait(10s);
        engine::setAnswerWait(120s);
    }
    static bool haveServer() { return test_backends::postgresPort() != 0; }
};

TEST_F(ServerWaits, AServerThatNeverAnswersFailsTheConnectionWithinTheWait) {
    SilentServer silent;
    pointAliasAt(silent.port());
    engine::setConnectWait(1s);
    const Outcome outcome = runStatement("select 1");
    EXPECT_EQ(outcome.message, "Cannot connect to database 'Account': the server 127.0.0.1 (port " +
                                   std::to_string(silent.port()) + ") did not answer within 1 second");
    EXPECT_GE(outcome.took, 1s);
    EXPECT_LT(outcome.took, 2500ms);
    EXPECT_EQ(silent.held(), 1);
}

// libpq's hint under its line stands on a line of its own, in brackets: no tab, and the
// error box adds no full stop after its question mark.
TEST_F(ServerWaits, ARefusedConnectionShowsLibpqsLinesCleanly) {
    const int port = SilentServer().port();  // nothing listens there any more
    pointAliasAt(port);
    EXPECT_EQ(runStatement("select 1").message,
              "Cannot connect to database 'Account': connection to server at \"127.0.0.1\", port " +
                  std::to_string(port) +
                  " failed: Connection refused\n(Is the server running on that host and accepting TCP/IP connections?)");
}

TEST_F(ServerWaits, ReadersStillOpeningStopWhenTheConnectionsClose) {
    if (!haveServer()) GTEST_SKIP() << test_backends::kNoServer;
    // The first connection reaches the server; the readers that follow meet the silence.
    auto slow = std::make_unique<SilentServer>(1, test_backends::postgresPort());
    pointAliasAt(slow->port());
    EXPECT_EQ(number("select 1"), 1);
    for (const auto until = Clock::now() + 3s; slow->held() < 3 && Clock::now() < until;)
        std::this_thread::sleep_for(10ms);
    ASSERT_EQ(slow->held(), 3);

    const auto start = Clock::now();
    auto closed = std::async(std::launch::async, [] { engine::resetDatabases(); });
    const bool prompt = closed.wait_for(5s) == std::future_status::ready;
    EXPECT_TRUE(prompt) << "the connections had not closed after 5 seconds";
    EXPECT_LT(Clock::now() - start, 1s);
    slow.reset();  // should the close still wait, the readers now fail and it ends
    closed.wait();
}

TEST_F(ServerWaits, AStatementOnAFrozenServerProcessIsGivenUpAndTheNextRequestConnectsAgain) {
    if (!haveServer()) GTEST_SKIP() << test_backends::kNoServer;
    engine::setAnswerWait(1s);
    pointAliasAt(test_backends::postgresPort());
    const pid_t backend = static_cast<pid_t>(number("select pg_backend_pid()"));
    if (::kill(backend, SIGSTOP) != 0) GTEST_SKIP() << "cannot stop the server's process: " << std::strerror(errno);
    const Outcome outcome = runStatement("select 1");
    ::kill(backend, SIGCONT);
    EXPECT_EQ(outcome.message,
              "The connection to database 'Account' was lost (the server did not answer within 1 second); "
              "the next request connects again");
    EXPECT_GE(outcome.took, 1s);
    EXPECT_LT(outcome.took, 2500ms);
    EXPECT_EQ(number("select 2"), 2);
    EXPECT_NE(number("select pg_backend_pid()"), backend);
}

TEST_F(ServerWaits, TheServerStopsAStatementThatRunsTooLongAndTheConnectionGoesOn) {
    if (!haveServer()) GTEST_SKIP() << test_backends::kNoServer;
    engine::setAnswerWait(2s);  // the server stops a statement after 1.5 seconds
    pointAliasAt(test_backends::postgresPort());
    const long long backend = number("select pg_backend_pid()");
    const Outcome outcome = runStatement("select pg_sleep(5)");
    EXPECT_EQ(outcome.message.rfind("The server stopped the statement, which may run for 1.5 seconds at most (", 0),
              0u)
        << outcome.message;
    EXPECT_LT(outcome.took, 2s);
    EXPECT_EQ(number("select pg_backend_pid()"), backend);
}

}  // namespace
