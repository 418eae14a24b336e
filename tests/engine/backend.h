// The alias "Account" on either backend for one test: a fresh SQLite file, or the
// engine's database on the test PostgreSQL server.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <regex>
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

private:
    std::unique_ptr<TempDatabase> sqlite_;
};

#define BACKENDS                                   \
    ::testing::ValuesIn(test_backends::all()), \
        [](const auto& info) { return test_backends::name(info.param); }
