#include "postgres_driver.h"

#include <libpq-fe.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <deque>
#include <utility>
#include <vector>

#include "alias_config.h"
#include "column_types.h"
#include "database.h"
#include "database_guard.h"
#include "dialect.h"
#include "error.h"
#include "postgres_io.h"
#include "reader_pool.h"

namespace engine {
namespace {

// Column types that arrive as numbers: int2, int4, int8, float4, float8, numeric.
bool isNumericType(Oid type) {
    return type == 20 || type == 21 || type == 23 || type == 700 || type == 701 || type == 1700;
}

constexpr Oid kTextType = 25;

// What the user reads of a statement's failure: the server's message, with words of
// our own where the server gave up waiting for a lock or stopped a long statement.
std::string failureMessage(PGconn* conn, const PGresult* res) {
    std::string message = trimmedMessage(PQresultErrorMessage(res));
    if (message.empty()) message = trimmedMessage(PQerrorMessage(conn));
    const char* field = PQresultErrorField(res, PG_DIAG_SQLSTATE);
    const std::string state = field ? field : "";
    if (state == "55P03") return lockWaitMessage(message);  // lock_not_available
    if (state == "57014")                                     // query_canceled: the statement limit
        return "The server stopped the statement, which may run for " + inSeconds(serverStatementLimit()) +
               " at most (" + message + ")";
    return message;
}

// Runs a statement with positional text values (NULL where absent) and reads every row.
ResultSet run(PGconn* conn, const std::string& sql, const std::vector<const char*>& values) {
    PGresult* res = exchange(conn, sql, values);
    const ExecStatusType status = PQresultStatus(res);
    if (status != PGRES_TUPLES_OK && status != PGRES_COMMAND_OK) {
        const std::string message = failureMessage(conn, res);
        PQclear(res);
        throw DatabaseError(message);
    }
    ResultSet result;
    const int columns = PQnfields(res);
    std::vector<bool>& numeric = result.numeric;
    for (int c = 0; c < columns; ++c) {
        result.columns.emplace_back(PQfname(res, c));
        numeric.push_back(isNumericType(PQftype(res, c)));
        result.plainText.push_back(PQftype(res, c) == kTextType);
    }
    const int rows = PQntuples(res);
    result.rows.reserve(static_cast<size_t>(rows));
    for (int r = 0; r < rows; ++r) {
        std::vector<Value> row;
        row.reserve(static_cast<size_t>(columns));
        for (int c = 0; c < columns; ++c) {
            if (PQgetisnull(res, r, c)) row.emplace_back();
            else if (numeric[static_cast<size_t>(c)]) row.push_back(Value::number(numberFromText(PQgetvalue(res, r, c))));
            else row.push_back(Value::text(std::string(PQgetvalue(res, r, c), static_cast<size_t>(PQgetlength(res, r, c)))));
        }
        result.rows.push_back(std::move(row));
    }
    if (status == PGRES_COMMAND_OK) result.rowsChanged = std::atoll(PQcmdTuples(res));
    PQclear(res);
    return result;
}

std::vector<const char*> rawValues(const std::vector<std::optional<std::string>>& values) {
    std::vector<const char*> raw;
    raw.reserve(values.size());
    for (const auto& v : values) raw.push_back(v ? v->c_str() : nullptr);
    return raw;
}

// A member binds only the parameters it names: they are numbered 1.. again in order of
// their old numbers (the server must infer a type for every parameter it is sent).
std::pair<std::string, std::vector<const char*>> compactParameters(const std::string& sql,
                                                                   const std::vector<const char*>& values) {
    std::vector<int> used;
    for (size_t i = 0; i < sql.size(); ++i) {
        if (sql[i] != '$' || i + 1 >= sql.size() || !std::isdigit(static_cast<unsigned char>(sql[i + 1]))) continue;
        const int n = std::atoi(sql.c_str() + i + 1);
        if (std::find(used.begin(), used.end(), n) == used.end()) used.push_back(n);
    }
    std::sort(used.begin(), used.end());
    std::string out;
    for (size_t i = 0; i < sql.size(); ++i) {
        if (sql[i] == '$' && i + 1 < sql.size() && std::isdigit(static_cast<unsigned char>(sql[i + 1]))) {
            size_t j = i + 1;
            while (j < sql.size() && std::isdigit(static_cast<unsigned char>(sql[j]))) ++j;
            const int n = std::atoi(sql.c_str() + i + 1);
            out += "$" + std::to_string(std::find(used.begin(), used.end(), n) - used.begin() + 1);
            i = j - 1;
        } else {
            out += sql[i];
        }
    }
    std::vector<const char*> bound;
    for (int n : used) bound.push_back(n >= 1 && n <= static_cast<int>(values.size()) ? values[static_cast<size_t>(n - 1)] : nullptr);
    return {out, bound};
}

// One connection of the server, closed with its owner.
struct ServerConnection {
    explicit ServerConnection(PGconn* c) : conn(c) {}
    ~ServerConnection() { PQfinish(conn); }
    ServerConnection(const ServerConnection&) = delete;
    ServerConnection& operator=(const ServerConnection&) = delete;
    PGconn* conn;
};

// Ends the transactions of a side-by-side run on every connection it began them on.
class SnapshotTransactions {
public:
    ~SnapshotTransactions() {
        for (PGconn* conn : begun_) {
            try {
                run(conn, "ROLLBACK", {});
            } catch (const DatabaseError&) {
                // A connection that broke has ended its transaction with it.
            }
        }
    }
    void begin(PGconn* conn, const std::string& snapshot) {
        run(conn, "BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY", {});
        begun_.push_back(conn);
        if (!snapshot.empty()) run(conn, "SET TRANSACTION SNAPSHOT '" + snapshot + "'", {});
    }

private:
    std::vector<PGconn*> begun_;
};

// The PostgreSQL types of every column of the tables a connection sees, by column name.
// Only the server's own types are named (a type of another schema might not be found by
// its name alone).
std::vector<std::pair<std::string, ColumnType>> readColumnTypes(PGconn* conn) {
    const ResultSet types = run(conn,
                                "SELECT lower(a.attname), t.typcategory, CASE WHEN t.typnamespace = "
                                "'pg_catalog'::regnamespace THEN t.typname ELSE '' END FROM pg_attribute a "
                                "JOIN pg_class c ON c.oid = a.attrelid JOIN pg_type t ON t.oid = a.atttypid "
                                "WHERE c.relkind IN ('r', 'v', 'm', 'p', 'f') AND a.attnum > 0 AND NOT a.attisdropped "
                                "AND pg_table_is_visible(c.oid)",
                                {});
    std::vector<std::pair<std::string, ColumnType>> columns;
    for (const auto& row : types.rows) {
        const std::string category = row[1].asString();
        const ColumnKind kind = category == "S" ? ColumnKind::Text : category == "N" ? ColumnKind::Number
                                                                                      : ColumnKind::Unknown;
        columns.emplace_back(row[0].asString(), ColumnType{kind, row[2].asString()});
    }
    return columns;
}

// The database guard's lock: a session-level advisory lock on the connection's database,
// which the server drops with the session.
class AdvisoryLock : public DatabaseLock {
public:
    explicit AdvisoryLock(PGconn* conn) : conn_(conn) {}

    bool tryLock() override {
        const ResultSet result = run(conn_, std::string("SELECT pg_try_advisory_lock(") + kAdvisoryKey + ")", {});
        return !result.rows.empty() && result.rows[0][0].asString() == "t";
    }

    void unlock() override {
        try {
            run(conn_, std::string("SELECT pg_advisory_unlock(") + kAdvisoryKey + ")", {});
        } catch (const DatabaseError&) {
            // The session is gone, and its lock with it.
        }
    }

private:
    // The same number in every copy ("MORVEL" in ASCII).
    static constexpr const char* kAdvisoryKey = "84913164567884";
    PGconn* conn_;
};

class PostgresDriver : public Driver {
public:
    PostgresDriver(PGconn* conn, ConnectionParams params)
        : conn_(conn), params_(readerParams(conn, std::move(params))),
          readers_(kReaderConnections, [p = params_](std::stop_token stop) {
              return std::make_unique<ServerConnection>(openServerConnection(p, stop));
          }) {}
    ~PostgresDriver() override { PQfinish(conn_); }

    std::string name() const override { return "postgres"; }

    // Reader connections that broke are dropped where they fail; this one counts.
    bool broken() const override { return PQstatus(conn_) == CONNECTION_BAD; }

    std::unique_ptr<DatabaseLock> guardLock() override { return std::make_unique<AdvisoryLock>(conn_); }

    TranslatedStatement translate(const std::string& text) const override {
        return translateStatement(text, SqlTarget::Postgres, columnTypes_.lookup());
    }

    ResultSet execute(const TranslatedStatement& st, const std::vector<std::optional<std::string>>& values) override {
        if (runsSideBySide(st)) return executeSideBySide(st, values);
        columnTypes_.noteStatement(st.sql);
        return run(conn_, st.sql, rawValues(values));
    }

    // The plans of the parts run side by side (the statement that combines their rows
    // reads only those), or of the statement.
    std::vector<std::string> plans(const TranslatedStatement& st,
                                   const std::vector<std::optional<std::string>>& values) override {
        std::vector<std::string> plans;
        for (const std::string& sent : runsSideBySide(st) ? st.parts : std::vector<std::string>{st.sql}) {
            const auto [sql, bound] = compactParameters(sent, rawValues(values));
            std::string plan;
            for (const auto& row : run(conn_, "EXPLAIN " + sql, bound).rows) plan += row.at(0).asString() + "\n";
            plans.push_back(plan);
        }
        return plans;
    }

private:
    bool runsSideBySide(const TranslatedStatement& st) const {
        return !st.parts.empty() && PQtransactionStatus(conn_) == PQTRANS_IDLE;
    }

    // The readers go to the address the main connection reached, so that they look no
    // name up again (a look-up can take long, and could not be stopped at the end).
    static ConnectionParams readerParams(PGconn* conn, ConnectionParams params) {
        const char* address = PQhostaddr(conn);
        if (address && *address) params.entries.emplace_back("hostaddr", address);
        return params;
    }

    // Runs the parts of the statement's derived UNION ALL side by side on this connection
    // and the reader connections, all in transactions that share this connection's
    // snapshot, so the statement reads one state of the database; then runs the combining
    // statement over the parts' rows, given to it as lists of values.
    ResultSet executeSideBySide(const TranslatedStatement& st, const std::vector<std::optional<std::string>>& values) {
        const auto raw = rawValues(values);
        SnapshotTransactions transactions;
        transactions.begin(conn_, {});
        const std::string snapshot = run(conn_, "SELECT pg_export_snapshot()", {}).rows.at(0).at(0).asString();
        std::vector<PGconn*> workers{conn_};
        auto& readers = readers_.readers();
        for (size_t r = 0; r < readers.size();) {
            try {
                transactions.begin(readers[r]->conn, snapshot);
                workers.push_back(readers[r]->conn);
                ++r;
            } catch (const DatabaseError&) {
                if (PQstatus(readers[r]->conn) == CONNECTION_OK) throw;
                readers_.drop(r);  // a lost connection: the others go on
            }
        }
        const auto results = runSideBySide(st.parts.size(), workers.size(), [&](size_t worker, size_t part) {
            const auto [sql, bound] = compactParameters(st.parts[part], raw);
            return run(workers[worker], sql, bound);
        });

        auto [combined, bound] = compactParameters(st.combined, raw);
        std::deque<std::string> texts;  // stable addresses for the bound values
        std::string with;
        for (size_t part = 0; part < results.size(); ++part)
            with += (part ? ",\n" : "WITH ") + st.partTables[part] + " AS " + valuesTable(results[part], bound, texts);
        if (bound.size() > kMaxParameters) return run(conn_, st.sql, raw);
        return run(conn_, with + "\n" + combined, bound);
    }

    // A part's rows as a select of bound values, "(SELECT * FROM (VALUES ..) AS
    // v(columns))", numbers as float8 and texts as blank-padded text, which compares
    // without trailing blanks.
    static std::string valuesTable(const ResultSet& result, std::vector<const char*>& bound,
                                   std::deque<std::string>& texts) {
        const auto& columns = result.columns;
        // A column of NULLs only that the server calls text is most likely a NULL written
        // in a select list (the server makes those text): it goes with numbers.
        std::vector<bool> numeric = result.numeric;
        for (size_t c = 0; c < columns.size(); ++c) {
            const bool nulls = std::all_of(result.rows.begin(), result.rows.end(), [&](const auto& r) { return r[c].isNull(); });
            if (nulls && result.plainText[c]) numeric[c] = true;
        }
        auto type = [&](size_t c) { return numeric[c] ? "::float8" : "::bpchar"; };
        std::string names;
        for (size_t c = 0; c < columns.size(); ++c) names += (c ? ", \"" : "\"") + columns[c] + "\"";
        std::string list;
        for (const auto& row : result.rows) {
            list += list.empty() ? "(" : ", (";
            for (size_t c = 0; c < row.size(); ++c) {
                texts.push_back(row[c].asString());
                bound.push_back(row[c].isNull() ? nullptr : texts.back().c_str());
                list += (c ? ", $" : "$") + std::to_string(bound.size()) + type(c);
            }
            list += ")";
        }
        if (list.empty()) {  // no rows: typed NULLs that no row passes
            for (size_t c = 0; c < columns.size(); ++c) list += (c ? ", NULL" : "(NULL") + std::string(type(c));
            return "(SELECT * FROM (VALUES " + list + ")) AS v(" + names + ") WHERE false)";
        }
        return "(SELECT * FROM (VALUES " + list + ") AS v(" + names + "))";
    }

    // The server takes at most 65535 parameters in one statement.
    static constexpr size_t kMaxParameters = 65000;

    PGconn* conn_;
    ConnectionParams params_;
    mutable ColumnTypeCache columnTypes_{[this] { return readColumnTypes(conn_); }};
    ReaderPool<ServerConnection> readers_;
};

}  // namespace

std::unique_ptr<Driver> openPostgresDriver(const AliasConfig& config, const LoginRequest* login) {
    ConnectionParams params;
    params.alias = config.alias;
    const std::string host = config.host.empty() ? "localhost" : config.host;
    params.server = "the server " + host + " (port " + std::to_string(config.port) + ")";
    params.entries = {{"host", host},
                      {"port", std::to_string(config.port)},
                      {"application_name", "morvel"},
                      {"client_encoding", "UTF8"},
                      // A server or route that died while the connection was quiet is noticed
                      // within about half a minute: probes after 10 s of silence, every 5 s; data
                      // the server does not acknowledge for 25 s ends the connection.
                      {"keepalives", "1"},
                      {"keepalives_idle", "10"},
                      {"keepalives_interval", "5"},
                      {"keepalives_count", "3"},
                      {"tcp_user_timeout", "25000"},
                      // A statement waits for another session's lock only so long, and runs only
                      // so long. The summary's joins on voucher keys, and any NOT IN subquery that
                      // stays one, are hashed in memory up to work_mem (beyond it a join works in
                      // batches on disk, a subquery is searched for every row).
                      // Compiling a statement of many members to machine code costs far more
                      // than it saves: the summary's own run takes about a second, its
                      // compilation over a minute (jit).
                      {"options", "-c lock_timeout=" + std::to_string(lockWait().count()) +
                                      " -c statement_timeout=" + std::to_string(serverStatementLimit().count()) +
                                      " -c work_mem=16MB -c jit=off"}};
    if (!config.databaseName.empty()) params.entries.emplace_back("dbname", config.databaseName);
    if (login) {
        params.entries.emplace_back("user", login->userName);
        if (!login->password.empty()) params.entries.emplace_back("password", login->password);
    }
    PGconn* conn = openServerConnection(params);
    return std::make_unique<PostgresDriver>(conn, std::move(params));
}

}  // namespace engine
