// A fresh SQLite database file behind the alias "Account" for one test.
#pragma once

#include <sqlite3.h>

#include <filesystem>
#include <string>

#include "engine/database.h"
#include "engine/query.h"

class TempDatabase {
public:
    TempDatabase() {
        static int counter = 0;
        path_ = (std::filesystem::temp_directory_path() /
                 ("morvel_engine_test_" + std::to_string(::getpid()) + "_" + std::to_string(++counter) + ".db"))
                    .string();
        remove();
        engine::resetDatabases();
        engine::AliasConfig cfg;
        cfg.path = path_;
        engine::databaseForAlias("Account").setConfig(cfg);
    }
    ~TempDatabase() {
        engine::resetDatabases();
        remove();
    }

    // Runs statements directly, outside the engine (fixtures).
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

    const std::string& path() const { return path_; }

private:
    void remove() {
        for (const char* suffix : {"", "-wal", "-shm"}) std::filesystem::remove(path_ + suffix);
    }
    std::string path_;
};

// Runs a select through the engine and returns its rows as text ("<NULL>" for NULL),
// columns joined by '|', each value without trailing blanks (a CHAR column comes back
// padded from one backend and as stored from the other).
inline std::vector<std::string> selectRows(const std::string& sql) {
    engine::Query q;
    q.setText(sql);
    q.open();
    std::vector<std::string> rows;
    for (q.first(); !q.eof(); q.next()) {
        std::string line;
        for (size_t c = 0; c < q.columnNames().size(); ++c) {
            if (c) line += '|';
            const auto f = q.field(static_cast<int>(c));
            std::string v = f.isNull() ? "<NULL>" : f.asString();
            while (!v.empty() && v.back() == ' ') v.pop_back();
            line += v;
        }
        rows.push_back(line);
    }
    return rows;
}
