#include "postgres_io.h"

#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>

#include "driver.h"
#include "error.h"

namespace engine {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

enum class Wait { Ready, TimedOut, Stopped };

// Waits until the connection's socket is ready for `events`, the deadline passes or a
// stop is requested. It looks in short slices: a stop is seen within one, and data that
// the TLS layer has already read ahead, which poll cannot see, is taken up at the next
// look (the caller's libpq call then finds it).
Wait awaitSocket(PGconn* conn, short events, Clock::time_point deadline, const std::stop_token& stop) {
    const bool tls = PQsslInUse(conn);
    const auto slice = tls ? 5ms : 100ms;
    while (!stop.stop_requested()) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
        if (left <= 0ms) return Wait::TimedOut;
        pollfd socket{PQsocket(conn), events, 0};
        const auto look = std::min<std::chrono::milliseconds>(left, slice);
        const int ready = ::poll(&socket, 1, static_cast<int>(look.count()));
        if (ready != 0 && !(ready < 0 && errno == EINTR)) return Wait::Ready;  // an error is libpq's to find
        if (ready == 0 && tls) return Wait::Ready;
    }
    return Wait::Stopped;
}

// Cuts a connection whose server gave no answer in time: libpq then sees the end of the
// connection, so nothing waits on it any more and it counts as broken.
[[noreturn]] void giveUp(PGconn* conn) {
    ::shutdown(PQsocket(conn), SHUT_RDWR);
    while (PGresult* left = PQgetResult(conn)) PQclear(left);
    throw DatabaseError("the server did not answer within " + inSeconds(answerWait()));
}

}  // namespace

std::string trimmedMessage(const char* message) {
    std::string s = message ? message : "";
    while (!s.empty() && (s.back() == '\n' || s.back() == ' ')) s.pop_back();
    if (s.rfind("ERROR:  ", 0) == 0) s.erase(0, 8);
    // libpq indents a hint under the line it belongs to with a tab ("\tIs the server
    // running ...?"): it goes on a line of its own, in brackets, which also keeps the
    // error box from adding a full stop after its question mark.
    std::string lines;
    for (size_t start = 0; start <= s.size();) {
        const size_t end = std::min(s.find('\n', start), s.size());
        std::string line = s.substr(start, end - start);
        if (const size_t text = line.find_first_not_of('\t'); text > 0 && text != std::string::npos)
            line = "(" + line.substr(text) + ")";
        lines += (start ? "\n" : "") + line;
        start = end + 1;
    }
    return lines;
}

std::chrono::milliseconds serverStatementLimit() {
    const auto wait = answerWait();
    return wait - std::min<std::chrono::milliseconds>(5s, wait / 4);
}

PGconn* openServerConnection(const ConnectionParams& params, std::stop_token stop) {
    std::vector<const char*> keys, values;
    for (const auto& [k, v] : params.entries) {
        keys.push_back(k.c_str());
        values.push_back(v.c_str());
    }
    keys.push_back(nullptr);
    values.push_back(nullptr);
    PGconn* conn = PQconnectStartParams(keys.data(), values.data(), 0);
    const auto failure = [&](const std::string& why) {
        PQfinish(conn);
        return DatabaseError("Cannot connect to database '" + params.alias + "': " + why);
    };
    if (!conn) throw failure("out of memory");
    // libpq's own connect_timeout serves only its blocking connect; this loop keeps the
    // time itself, for the whole opening: every address tried, TLS and the login.
    const auto deadline = Clock::now() + connectWait();
    PostgresPollingStatusType state = PGRES_POLLING_WRITING;
    while (PQstatus(conn) != CONNECTION_BAD && state != PGRES_POLLING_OK && state != PGRES_POLLING_FAILED) {
        const Wait wait = awaitSocket(conn, state == PGRES_POLLING_READING ? POLLIN : POLLOUT, deadline, stop);
        if (wait == Wait::TimedOut) throw failure(params.server + " did not answer within " + inSeconds(connectWait()));
        if (wait == Wait::Stopped) throw failure("the program is ending");
        state = PQconnectPoll(conn);
    }
    if (PQstatus(conn) != CONNECTION_OK) throw failure(trimmedMessage(PQerrorMessage(conn)));
    // Sending never blocks either: a frozen server stops taking data once its buffers are full.
    PQsetnonblocking(conn, 1);
    return conn;
}

PGresult* exchange(PGconn* conn, const std::string& sql, const std::vector<const char*>& values) {
    // Parameter types are left for the server to infer, so a value compares like a
    // literal: with a CHAR column it ignores trailing blanks.
    if (!PQsendQueryParams(conn, sql.c_str(), static_cast<int>(values.size()), nullptr, values.data(), nullptr,
                           nullptr, 0))
        return nullptr;
    const auto deadline = Clock::now() + answerWait();
    const std::stop_token never;
    for (int unsent; (unsent = PQflush(conn)) > 0;) {
        if (awaitSocket(conn, POLLOUT | POLLIN, deadline, never) == Wait::TimedOut) giveUp(conn);
        if (!PQconsumeInput(conn)) break;  // whatever the server says meanwhile is read
    }
    PGresult* kept = nullptr;
    while (true) {
        while (PQisBusy(conn)) {
            if (awaitSocket(conn, POLLIN, deadline, never) == Wait::TimedOut) {
                PQclear(kept);
                giveUp(conn);
            }
            if (!PQconsumeInput(conn)) break;
        }
        PGresult* next = PQgetResult(conn);
        if (!next) break;
        if (kept && PQresultStatus(kept) == PGRES_FATAL_ERROR) {
            PQclear(next);
        } else {
            PQclear(kept);
            kept = next;
        }
    }
    return kept;
}

}  // namespace engine
