// A fresh, empty SQLite database file behind the alias "Account" for one test, removed
// again with its WAL files afterwards.
#pragma once

#include <sqlite3.h>
#include <unistd.h>

#include <filesystem>
#include <stdexcept>
#include <string>

#include "engine/database.h"
#include "engine/query.h"
#include "test_backends.h"

// An SQLite database without tables at `path` (an empty file is no database to the engine).
inline void createEmptyDatabase(const std::string& path) {
    sqlite3* db = nullptr;
    sqlite3_open(path.c_str(), &db);
    sqlite3_exec(db, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr);  // writes the file's header
    sqlite3_close(db);
}

class TempAccountDatabase {
public:
    TempAccountDatabase() {
        static int counter = 0;
        path_ = (std::filesystem::temp_directory_path() /
                 ("morvel_test_" + std::to_string(::getpid()) + "_" + std::to_string(++counter) + ".db"))
                    .string();
        remove();
        createEmptyDatabase(path_);
        test_backends::pointAliasAtSqlite(path_);
    }
    ~TempAccountDatabase() {
        test_backends::releaseAlias();
        remove();
    }
    TempAccountDatabase(const TempAccountDatabase&) = delete;
    TempAccountDatabase& operator=(const TempAccountDatabase&) = delete;

    const std::string& path() const { return path_; }

    // Runs one statement through the engine.
    void exec(const std::string& sql) {
        engine::Query q("Account");
        q.setText(sql);
        q.execSql();
    }

    // Runs statements directly on the file, outside the engine (fixtures).
    void raw(const std::string& sql) {
        sqlite3* db = nullptr;
        sqlite3_open(path_.c_str(), &db);
        char* err = nullptr;
        const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &err);
        const std::string message = err ? err : "";
        sqlite3_free(err);
        sqlite3_close(db);
        if (rc != SQLITE_OK) throw std::runtime_error(message);
    }

private:
    void remove() {
        for (const char* suffix : {"", "-wal", "-shm"}) std::filesystem::remove(path_ + suffix);
    }
    std::string path_;
};
