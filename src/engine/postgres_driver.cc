#include "postgres_driver.h"

#include <libpq-fe.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <deque>
#include <utility>
#include <vector>

#include "alias_config.h"
#include "database.h"
#include "dialect.h"
#include "error.h"

namespace engine {
namespace {

// Column types that arrive as numbers: int2, int4, int8, float4, float8, numeric.
bool isNumericType(Oid type) {
    return type == 20 || type == 21 || type == 23 || type == 700 || type == 701 || type == 1700;
}

std::string trimmedMessage(const char* message) {
    std::string s = message ? message : "";
    while (!s.empty() && (s.back() == '\n' || s.back() == ' ')) s.pop_back();
    if (s.rfind("ERROR:  ", 0) == 0) s.erase(0, 8);
    return s;
}

// What a connection is opened with; kept so that reader connections can be opened alike.
struct ConnectionParams {
    std::vector<std::pair<std::string, std::string>> entries;
    std::string alias;
};

// Opens a connection with the session settings the statements need.
PGconn* connect(const ConnectionParams& params) {
    std::vector<const char*> keys, values;
    for (const auto& [k, v] : params.entries) {
        keys.push_back(k.c_str());
        values.push_back(v.c_str());
    }
    keys.push_back(nullptr);
    values.push_back(nullptr);
    PGconn* conn = PQconnectdbParams(keys.data(), values.data(), 0);
    if (!conn || PQstatus(conn) != CONNECTION_OK) {
        const std::string message = conn ? trimmedMessage(PQerrorMessage(conn)) : "out of memory";
        PQfinish(conn);
        throw DatabaseError("Cannot connect to database '" + params.alias + "': " + message);
    }
    // The summary's NOT IN subqueries need a hashed plan.
    PQclear(PQexec(conn, "SET work_mem = '16MB'"));
    // Compiling a statement of many members to machine code costs far more than it saves:
    // the summary's own run takes about a second, its compilation over a minute.
    PQclear(PQexec(conn, "SET jit = off"));
    // `+` between two texts joins them, as in the programs' dialect. Where the operator
    // cannot be created (no right to), statements using it report the server's error.
    PQclear(PQexec(conn,
                   "DO $$ BEGIN IF NOT EXISTS (SELECT 1 FROM pg_operator WHERE oprname = '+' "
                   "AND oprleft = 'text'::regtype AND oprright = 'text'::regtype) THEN "
                   "CREATE OPERATOR + (LEFTARG = text, RIGHTARG = text, FUNCTION = textcat); END IF; END $$"));
    return conn;
}

// Runs a statement with positional text values (NULL where absent) and reads every row.
ResultSet run(PGconn* conn, const std::string& sql, const std::vector<const char*>& values) {
    // Parameter types are left for the server to infer, so a value compares like a
    // literal: with a CHAR column it ignores trailing blanks.
    PGresult* res = PQexecParams(conn, sql.c_str(), static_cast<int>(values.size()), nullptr, values.data(), nullptr,
                                 nullptr, 0);
    const ExecStatusType status = PQresultStatus(res);
    if (status != PGRES_TUPLES_OK && status != PGRES_COMMAND_OK) {
        std::string message = trimmedMessage(PQresultErrorMessage(res));
        if (message.empty()) message = trimmedMessage(PQerrorMessage(conn));
        const char* state = PQresultErrorField(res, PG_DIAG_SQLSTATE);
        const bool lockTimedOut = state && std::string(state) == "55P03";  // lock_not_available
        PQclear(res);
        throw DatabaseError(lockTimedOut ? lockWaitMessage(message) : message);
    }
    ResultSet result;
    const int columns = PQnfields(res);
    std::vector<bool> numeric;
    for (int c = 0; c < columns; ++c) {
        result.columns.emplace_back(PQfname(res, c));
        numeric.push_back(isNumericType(PQftype(res, c)));
    }
    const int rows = PQntuples(res);
    result.rows.reserve(static_cast<size_t>(rows));
    for (int r = 0; r < rows; ++r) {
        std::vector<Value> row;
        row.reserve(static_cast<size_t>(columns));
        for (int c = 0; c < columns; ++c) {
            if (PQgetisnull(res, r, c)) row.emplace_back();
            else if (numeric[static_cast<size_t>(c)]) row.push_back(Value::number(std::strtod(PQgetvalue(res, r, c), nullptr)));
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

class PostgresDriver : public Driver {
public:
    PostgresDriver(PGconn* conn, ConnectionParams params) : conn_(conn), params_(std::move(params)) {}
    ~PostgresDriver() override {
        for (PGconn* reader : readers_) PQfinish(reader);
        PQfinish(conn_);
    }

    std::string name() const override { return "postgres"; }

    bool broken() const override {
        if (PQstatus(conn_) == CONNECTION_BAD) return true;
        for (PGconn* reader : readers_)
            if (PQstatus(reader) == CONNECTION_BAD) return true;
        return false;
    }

    TranslatedStatement translate(const std::string& text) const override {
        return translateStatement(text, SqlTarget::Postgres);
    }

    ResultSet execute(const TranslatedStatement& st, const std::vector<std::optional<std::string>>& values) override {
        if (!st.unionMembers.empty()) return executeSideBySide(st, values);
        return run(conn_, st.sql, rawValues(values));
    }

private:
    // Runs the members of the statement's derived UNION ALL on connections of their own,
    // side by side, collects their rows in a temporary table of this connection and
    // runs the outer statement over it.
    ResultSet executeSideBySide(const TranslatedStatement& st, const std::vector<std::optional<std::string>>& values) {
        const auto raw = rawValues(values);
        const size_t workers = sideBySideWorkers(st.unionMembers.size());
        while (readers_.size() < workers) readers_.push_back(connect(params_));
        const auto results = runSideBySide(st.unionMembers.size(), workers, [&](size_t worker, size_t member) {
            const auto [sql, bound] = compactParameters(st.unionMembers[member], raw);
            return run(readers_[worker], sql, bound);
        });

        fillUnionTable(st.unionTable, results);
        const auto [outer, bound] = compactParameters(st.outerOverUnion, raw);
        return run(conn_, outer, bound);
    }

    void fillUnionTable(const std::string& table, const std::vector<ResultSet>& results) {
        const auto& columns = results.front().columns;
        // A column is a number where every member gave numbers (or NULL) there; text
        // columns are blank-padded text, which compares without trailing blanks.
        std::vector<bool> numeric(columns.size(), true);
        for (const auto& result : results) {
            if (result.columns.size() != columns.size())
                throw DatabaseError("each UNION query must have the same number of columns");
            for (const auto& row : result.rows)
                for (size_t c = 0; c < row.size(); ++c)
                    if (row[c].isText()) numeric[c] = false;
        }
        const std::string name = table.substr(table.find('.') + 1);
        std::string create = "CREATE TEMPORARY TABLE " + name + " (";
        for (size_t c = 0; c < columns.size(); ++c)
            create += (c ? ", \"" : "\"") + columns[c] + "\" " + (numeric[c] ? "float8" : "bpchar");
        create += ")";
        run(conn_, "DROP TABLE IF EXISTS " + table, {});
        run(conn_, create, {});

        std::deque<std::string> texts;  // stable addresses for the bound values
        std::vector<const char*> bound;
        std::string insert;
        auto flush = [&] {
            if (bound.empty()) return;
            run(conn_, "INSERT INTO " + table + " VALUES " + insert, bound);
            texts.clear();
            bound.clear();
            insert.clear();
        };
        for (const auto& result : results) {
            for (const auto& row : result.rows) {
                if (bound.size() + row.size() > 4000) flush();
                insert += insert.empty() ? "(" : ", (";
                for (size_t c = 0; c < row.size(); ++c) {
                    texts.push_back(row[c].asString());
                    bound.push_back(row[c].isNull() ? nullptr : texts.back().c_str());
                    insert += (c ? ", $" : "$") + std::to_string(bound.size()) + (numeric[c] ? "::float8" : "::bpchar");
                }
                insert += ")";
            }
        }
        flush();
    }

    PGconn* conn_;
    ConnectionParams params_;
    std::vector<PGconn*> readers_;
};

}  // namespace

std::unique_ptr<Driver> openPostgresDriver(const AliasConfig& config, const LoginRequest* login) {
    ConnectionParams params;
    params.alias = config.alias;
    params.entries = {{"host", config.host.empty() ? "localhost" : config.host},
                      {"port", std::to_string(config.port)},
                      {"application_name", "morvel"},
                      {"client_encoding", "UTF8"},
                      // A statement waits for another session's lock only so long.
                      {"options", "-c lock_timeout=" + std::to_string(lockWait().count())}};
    if (!config.databaseName.empty()) params.entries.emplace_back("dbname", config.databaseName);
    if (login) {
        params.entries.emplace_back("user", login->userName);
        if (!login->password.empty()) params.entries.emplace_back("password", login->password);
    }
    PGconn* conn = connect(params);
    return std::make_unique<PostgresDriver>(conn, std::move(params));
}

}  // namespace engine
