#include "driver.h"

#include <algorithm>
#include <atomic>
#include <charconv>
#include <thread>

#include "alias_config.h"
#include "error.h"
#include "postgres_driver.h"
#include "sqlite_driver.h"

namespace engine {
namespace {

std::function<void(size_t)>& sideBySideHook() {
    static std::function<void(size_t)> hook;
    return hook;
}

}  // namespace

void setSideBySideHook(std::function<void(size_t job)> hook) { sideBySideHook() = std::move(hook); }

namespace {

using namespace std::chrono_literals;

std::chrono::milliseconds& lockWaitSetting() {
    static std::chrono::milliseconds wait{5000};
    return wait;
}

std::chrono::milliseconds& connectWaitSetting() {
    static std::chrono::milliseconds wait = 10s;
    return wait;
}

std::chrono::milliseconds& answerWaitSetting() {
    static std::chrono::milliseconds wait = 120s;
    return wait;
}

}  // namespace

void setLockWait(std::chrono::milliseconds wait) { lockWaitSetting() = wait; }
std::chrono::milliseconds lockWait() { return lockWaitSetting(); }

void setConnectWait(std::chrono::milliseconds wait) { connectWaitSetting() = wait; }
std::chrono::milliseconds connectWait() { return connectWaitSetting(); }

void setAnswerWait(std::chrono::milliseconds wait) { answerWaitSetting() = wait; }
std::chrono::milliseconds answerWait() { return answerWaitSetting(); }

std::string inSeconds(std::chrono::milliseconds wait) {
    if (wait == 1s) return "1 second";
    char seconds[32];
    const auto written = std::to_chars(seconds, seconds + sizeof seconds, static_cast<double>(wait.count()) / 1000.0);
    return std::string(seconds, written.ptr) + " seconds";
}

std::string lockWaitMessage(const std::string& backendMessage) {
    return "Another session kept a lock on the database for " + inSeconds(lockWait()) +
           ", so the statement was given up (" + backendMessage + "); try again";
}

std::vector<ResultSet> runSideBySide(size_t members, size_t workers,
                                     const std::function<ResultSet(size_t worker, size_t member)>& run) {
    std::vector<ResultSet> results(members);
    std::vector<std::string> errors(workers);
    std::atomic<size_t> next{0};
    std::vector<std::thread> pool;
    for (size_t w = 0; w < workers; ++w) {
        pool.emplace_back([&, w] {
            try {
                for (size_t i; (i = next++) < members;) {
                    if (sideBySideHook()) sideBySideHook()(i);
                    results[i] = run(w, i);
                }
            } catch (const std::exception& e) {
                errors[w] = e.what();
                next = members;
            }
        });
    }
    for (auto& thread : pool) thread.join();
    for (const auto& error : errors)
        if (!error.empty()) throw DatabaseError(error);
    return results;
}

std::unique_ptr<Driver> openDriver(const AliasConfig& config, const LoginRequest* login) {
    if (config.driver == "sqlite") return openSqliteDriver(config);
    if (config.driver == "postgres") return openPostgresDriver(config, login);
    throw DatabaseError("Database driver '" + config.driver + "' for alias '" + config.alias +
                        "' is not available in this build");
}

}  // namespace engine
