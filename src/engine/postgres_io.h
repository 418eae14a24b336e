// Talking to a PostgreSQL server with every wait bounded. libpq's blocking calls wait as
// long as the server takes, so a server that accepts a connection and never answers (a
// frozen host) would hold the program for good. Here opening a connection gives up after
// connectWait() and a statement after answerWait(), each with a clear message; an
// opening also gives up at once when it is asked to stop (the program is ending).
#pragma once

#include <libpq-fe.h>

#include <chrono>
#include <stop_token>
#include <string>
#include <utility>
#include <vector>

namespace engine {

// What a connection is opened with; kept so that reader connections can be opened alike.
struct ConnectionParams {
    std::vector<std::pair<std::string, std::string>> entries;  // libpq's keywords and values
    std::string alias;
    std::string server;  // how messages name it: "the server db.example (port 5432)"
};

// Opens a connection in non-blocking mode. Throws DatabaseError "Cannot connect to
// database '<alias>': ..." when the server refuses, does not answer within
// connectWait(), or `stop` is requested meanwhile.
PGconn* openServerConnection(const ConnectionParams& params, std::stop_token stop = {});

// Sends one statement with positional text values (NULL where null) and returns its
// result: the last one, or the first error. Null when it could not even be sent (the
// connection's error message says why). When the server gives no answer within
// answerWait(), the connection is cut, so that it counts as broken from then on, and
// DatabaseError is thrown.
PGresult* exchange(PGconn* conn, const std::string& sql, const std::vector<const char*>& values);

// How long the server itself may work on one statement: a little less than
// answerWait(), so that a server that is alive but slow stops the statement and says so
// before the program gives up on it.
std::chrono::milliseconds serverStatementLimit();

// libpq's message without its trailing line end and "ERROR:  " prefix; a hint that
// libpq indents with a tab stands on its own line in brackets.
std::string trimmedMessage(const char* message);

}  // namespace engine
