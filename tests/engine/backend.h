// The alias "Account" on either backend for one test: a fresh SQLite file, or the
// test PostgreSQL server that scripts/test-postgres.sh starts (MORVEL_TEST_PG_PORT).
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <regex>
#include <string>

#include "engine/database.h"
#include "engine/query.h"
#include "temp_database.h"

class BackendTest : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override {
        if (GetParam() == "sqlite") {
            sqlite_ = std::make_unique<TempDatabase>();
            return;
        }
        const char* port = std::getenv("MORVEL_TEST_PG_PORT");
        if (!port || !*port) GTEST_SKIP() << "no test PostgreSQL server (MORVEL_TEST_PG_PORT)";
        engine::resetDatabases();
        engine::AliasConfig cfg;
        cfg.driver = "postgres";
        cfg.host = "127.0.0.1";
        cfg.port = std::atoi(port);
        cfg.databaseName = "morvel_engine_test";
        cfg.userName = "postgres";
        engine::databaseForAlias("Account").setConfig(cfg);
        engine::setLoginHandler([](engine::LoginRequest&) { return true; });
    }
    void TearDown() override {
        engine::resetDatabases();
        engine::setLoginHandler({});
        sqlite_.reset();
    }

    bool postgres() const { return GetParam() == "postgres"; }

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

private:
    std::unique_ptr<TempDatabase> sqlite_;
};

#define BACKENDS ::testing::Values(std::string("sqlite"), std::string("postgres"))
