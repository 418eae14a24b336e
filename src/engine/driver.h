// One database backend: it translates statement text to its own dialect and runs it.
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "value.h"

namespace engine {

struct AliasConfig;
struct LoginRequest;
class DatabaseLock;

// A statement ready for a backend: the translated text with positional parameters
// (1-based "?N" for SQLite, "$N" for PostgreSQL) and the parameter name of each position.
// `probe [NOT] IN (subquery)` of a SELECT on SQLite, where neither side has a column's
// affinity: `text` is the condition as the statement's texts hold it, `subquery` gives
// the same values (perhaps repeated). When the subquery
// reads no column of the statement around it, a backend may compute its rows once and
// look each probe up in them.
struct InSubquery {
    std::string text;
    std::string probe;
    std::string subquery;
    bool negated = false;
};

struct TranslatedStatement {
    std::string sql;
    std::vector<std::string> paramNames;  // lower-cased; position i binds paramNames[i]
    // When the outermost FROM holds a derived table that is a UNION ALL of several
    // members: statements a backend may run side by side instead (`parts`, numbered like
    // `sql`, so each binds the same values), and the statement that then gives the result
    // (`combined`), reading the rows of part i as the table `partTables[i]`.
    std::vector<std::string> parts;
    std::vector<std::string> partTables;
    std::string combined;
    std::vector<InSubquery> inSubqueries;  // the longest text first
};

struct ResultSet {
    std::vector<std::string> columns;
    std::vector<bool> numeric;    // per column, where the backend declares its type
    std::vector<bool> plainText;  // per column: declared text of no length (PostgreSQL)
    std::vector<std::vector<Value>> rows;
    long long rowsChanged = 0;  // inserts, updates, deletes
};

class Driver {
public:
    virtual ~Driver() = default;
    virtual std::string name() const = 0;
    // Translates statement text written in the programs' dialect. Throws DatabaseError.
    virtual TranslatedStatement translate(const std::string& text) const = 0;
    // Runs a translated statement with its positional values (NULL where nullopt).
    virtual ResultSet execute(const TranslatedStatement& statement,
                              const std::vector<std::optional<std::string>>& values) = 0;
    // The backend's plan of each statement that execute() would send to run `statement`
    // with these values, in the order sent, as the backend's EXPLAIN words it. Throws
    // DatabaseError.
    virtual std::vector<std::string> plans(const TranslatedStatement& statement,
                                           const std::vector<std::optional<std::string>>& values) = 0;
    // True once the server or the network has broken the connection: no statement can
    // run on it any more.
    virtual bool broken() const { return false; }
    // Empty while the database the connection opened is the one its configuration names;
    // otherwise the message that says what became of it (an SQLite file moved, replaced
    // or deleted since).
    virtual std::string movedAway() const { return {}; }
    // A new handle on the lock behind the database guard (database_guard.h), valid while
    // this driver lives; the lock goes when the connection goes.
    virtual std::unique_ptr<DatabaseLock> guardLock() = 0;
};

// How long a statement waits for a lock that another session holds before it fails
// with lockWaitMessage() (the SQLite busy timeout, the PostgreSQL lock_timeout).
// Applies to connections opened afterwards.
void setLockWait(std::chrono::milliseconds wait);
std::chrono::milliseconds lockWait();
std::string lockWaitMessage(const std::string& backendMessage);

// How long opening a connection to a server may take (10 seconds): a server that accepts
// the connection and never answers, or a route that dropped, then fails the connection
// with a clear message. Applies to connections opened afterwards.
void setConnectWait(std::chrono::milliseconds wait);
std::chrono::milliseconds connectWait();

// How long the program waits for a server's answer to one statement (2 minutes): a
// server that froze while a statement ran is then given up and the connection closed.
// Applies to connections opened afterwards as far as the server's own limit goes.
void setAnswerWait(std::chrono::milliseconds wait);
std::chrono::milliseconds answerWait();

// A wait as the messages write it: "10 seconds", "0.3 seconds", "1 second".
std::string inSeconds(std::chrono::milliseconds wait);

// Runs `members` jobs on up to `workers` threads, job i as run(worker, i) (a worker runs
// one job at a time, so each may own a connection), and returns the results in job order.
// The first failure stops the remaining jobs and is thrown as a DatabaseError.
std::vector<ResultSet> runSideBySide(size_t members, size_t workers,
                                     const std::function<ResultSet(size_t worker, size_t member)>& run);

// Called before each job of a side-by-side run with the job's number, on the job's
// thread; tests use it to change the database while a statement runs. Empty by default.
void setSideBySideHook(std::function<void(size_t job)> hook);

// Opens the backend that the configuration names. `login` carries the credentials
// when the configuration asked for a login. Throws DatabaseError.
std::unique_ptr<Driver> openDriver(const AliasConfig& config, const LoginRequest* login);

}  // namespace engine
