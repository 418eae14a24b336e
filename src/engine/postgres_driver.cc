#include "postgres_driver.h"

#include <libpq-fe.h>

#include <cstdlib>

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

class PostgresDriver : public Driver {
public:
    explicit PostgresDriver(PGconn* conn) : conn_(conn) {}
    ~PostgresDriver() override { PQfinish(conn_); }

    std::string name() const override { return "postgres"; }

    TranslatedStatement translate(const std::string& text) const override {
        return translateStatement(text, SqlTarget::Postgres);
    }

    ResultSet execute(const TranslatedStatement& st, const std::vector<std::optional<std::string>>& values) override {
        std::vector<const char*> raw;
        raw.reserve(values.size());
        for (const auto& v : values) raw.push_back(v ? v->c_str() : nullptr);
        // Parameter types are left for the server to infer, so a value compares like
        // a literal: with a CHAR column it ignores trailing blanks.
        PGresult* res = PQexecParams(conn_, st.sql.c_str(), static_cast<int>(raw.size()), nullptr, raw.data(),
                                     nullptr, nullptr, 0);
        const ExecStatusType status = PQresultStatus(res);
        if (status != PGRES_TUPLES_OK && status != PGRES_COMMAND_OK) {
            std::string message = trimmedMessage(PQresultErrorMessage(res));
            if (message.empty()) message = trimmedMessage(PQerrorMessage(conn_));
            PQclear(res);
            throw DatabaseError(message);
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

private:
    PGconn* conn_;
};

}  // namespace

std::unique_ptr<Driver> openPostgresDriver(const AliasConfig& config, const LoginRequest* login) {
    const std::string port = std::to_string(config.port);
    std::vector<const char*> keys{"host", "port", "dbname", "application_name", "client_encoding"};
    std::vector<const char*> values{config.host.empty() ? "localhost" : config.host.c_str(), port.c_str(),
                                    config.databaseName.empty() ? nullptr : config.databaseName.c_str(),
                                    "morvel", "UTF8"};
    if (login) {
        keys.push_back("user");
        values.push_back(login->userName.c_str());
        if (!login->password.empty()) {
            keys.push_back("password");
            values.push_back(login->password.c_str());
        }
    }
    keys.push_back(nullptr);
    values.push_back(nullptr);
    PGconn* conn = PQconnectdbParams(keys.data(), values.data(), 0);
    if (!conn || PQstatus(conn) != CONNECTION_OK) {
        const std::string message = conn ? trimmedMessage(PQerrorMessage(conn)) : "out of memory";
        PQfinish(conn);
        throw DatabaseError("Cannot connect to database '" + config.alias + "': " + message);
    }
    // The summary's NOT IN subqueries need a hashed plan.
    PQclear(PQexec(conn, "SET work_mem = '16MB'"));
    // Compiling a statement of many members to machine code costs far more than it saves:
    // the summary's own run takes under a second, its compilation over a minute.
    PQclear(PQexec(conn, "SET jit = off"));
    // `+` between two texts joins them, as in the programs' dialect. Where the operator
    // cannot be created (no right to), statements using it report the server's error.
    PQclear(PQexec(conn,
                   "DO $$ BEGIN IF NOT EXISTS (SELECT 1 FROM pg_operator WHERE oprname = '+' "
                   "AND oprleft = 'text'::regtype AND oprright = 'text'::regtype) THEN "
                   "CREATE OPERATOR + (LEFTARG = text, RIGHTARG = text, FUNCTION = textcat); END IF; END $$"));
    return std::make_unique<PostgresDriver>(conn);
}

}  // namespace engine
