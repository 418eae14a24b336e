// The alias "Account" on either backend for one test: a fresh SQLite file, or the
// engine's database on the test PostgreSQL server.
#pragma once

#include <gtest/gtest.h>

#include <libpq-fe.h>
#include <sqlite3.h>

#include <memory>
#include <regex>
#include <stdexcept>
#include <string>

#include "engine/database.h"
#include "engine/query.h"
#include "temp_database.h"
#include "test_backends.h"

class BackendTest : public ::testing::TestWithParam<test_backends::Backend> {
protected:
    void SetUp() override {
        if (!test_backends::available(GetParam())) GTEST_SKIP() << test_backends::kNoServer;
        if (postgres()) test_backends::pointAliasAtPostgres("morvel_engine_test");
        else sqlite_ = std::make_unique<TempDatabase>();
    }
    void TearDown() override {
        if (server_) PQfinish(server_);
        server_ = nullptr;
        test_backends::releaseAlias();
        sqlite_.reset();
    }

    bool postgres() const { return GetParam() == test_backends::Backend::PostgreSQL; }

    // Runs ';'-separated statements through the engine. Column types written
    // "TEXT(n)" become CHAR(n) (with trailing-blank-insensitive collation on SQLite).
    void run(const std::string& statements) {
        const std::string sql = std::regex_replace(
            statements, std::regex("TEXT\\(([0-9]+)\\)"), postgres() ? "char($1)" : "char($1) collate rtrim");
        size_t start = 0;
        while (start < sql.size()) {
            size_t end = sql.find(';', start);
            if (end == std::string::npos) end = sql.size();
            const std::string one = sql.substr(start, end - start);
            if (one.find_first_not_of(" \t\r\n") != std::string::npos) {
                engine::Query q;
                q.setText(one);
                q.execSql();
            }
            start = end + 1;
        }
    }

    // Runs one statement on a connection of its own, outside the engine (another program
    // posting, a look at the server's catalog), and returns the first value it gives
    // ("" when none).
    std::string outside(const std::string& sql) {
        if (!postgres()) {
            sqlite3* db = nullptr;
            sqlite3_open(sqlite_->path().c_str(), &db);
            sqlite3_busy_timeout(db, 5000);
            sqlite3_stmt* stmt = nullptr;
            std::string value, error;
            if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK) error = sqlite3_errmsg(db);
            const int rc = stmt ? sqlite3_step(stmt) : SQLITE_ERROR;
            if (rc == SQLITE_ROW && sqlite3_column_text(stmt, 0))
                value = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
            else if (rc != SQLITE_DONE && error.empty()) error = sqlite3_errmsg(db);
            sqlite3_finalize(stmt);
            sqlite3_close(db);
            if (!error.empty()) throw std::runtime_error(error + " in: " + sql);
            return value;
        }
        if (!server_) server_ = PQconnectdb(test_backends::postgresConnectionInfo("morvel_engine_test").c_str());
        PGresult* result = PQexec(server_, sql.c_str());
        const auto status = PQresultStatus(result);
        const std::string value = status == PGRES_TUPLES_OK && PQntuples(result) ? PQgetvalue(result, 0, 0) : "";
        const std::string error = PQresultErrorMessage(result);
        PQclear(result);
        if (status != PGRES_TUPLES_OK && status != PGRES_COMMAND_OK) throw std::runtime_error(error + " in: " + sql);
        return value;
    }

private:
    std::unique_ptr<TempDatabase> sqlite_;
    PGconn* server_ = nullptr;
};

#define BACKENDS                                   \
    ::testing::ValuesIn(test_backends::all()), \
        [](const auto& info) { return test_backends::name(info.param); }
