// What the run and print request tests of both programs share: a copy of one demo
// database (a year of journal lines, three branches) behind the alias "Account" for
// each test, checks of the work table made outside the engine, the rows of a query, and
// a hand on the report preview while it is open.
#pragma once

#include <sqlite3.h>
#include <unistd.h>

#include <QApplication>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "demo_database.h"
#include "engine/query.h"
#include "report/preview_window.h"
#include "test_backends.h"

class DemoDatabaseCopy {
public:
    DemoDatabaseCopy() {
        static int counter = 0;
        path_ = (std::filesystem::temp_directory_path() /
                 ("morvel_requests_" + std::to_string(::getpid()) + "_" + std::to_string(++counter) + ".db"))
                    .string();
        std::filesystem::copy_file(demoTemplate(), path_, std::filesystem::copy_options::overwrite_existing);
        test_backends::pointAliasAtSqlite(path_);
    }
    ~DemoDatabaseCopy() {
        test_backends::releaseAlias();
        for (const char* suffix : {"", "-wal", "-shm"}) std::filesystem::remove(path_ + suffix);
    }
    DemoDatabaseCopy(const DemoDatabaseCopy&) = delete;
    DemoDatabaseCopy& operator=(const DemoDatabaseCopy&) = delete;

    // The first column of the first row, read on a connection of its own; -1 without rows.
    int scalar(const std::string& sql) const {
        sqlite3* db = nullptr;
        sqlite3_open(path_.c_str(), &db);
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr);
        int value = -1;
        if (sqlite3_step(st) == SQLITE_ROW) value = sqlite3_column_int(st, 0);
        sqlite3_finalize(st);
        sqlite3_close(db);
        return value;
    }

    // Changes the database behind the programs' back (triggers, renamed tables).
    void raw(const std::string& sql) const {
        sqlite3* db = nullptr;
        sqlite3_open(path_.c_str(), &db);
        char* err = nullptr;
        const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &err);
        const std::string message = err ? err : "";
        sqlite3_free(err);
        sqlite3_close(db);
        if (rc != SQLITE_OK) throw std::runtime_error(message + " in: " + sql);
    }

    // The work table between requests: no heading rows, every class "99", every link the filler.
    bool neutral() const {
        return scalar("SELECT COUNT(*) FROM Test_Ac_Code WHERE Serial_No IS NULL") == 0 &&
               scalar("SELECT COUNT(*) FROM Test_Ac_Code WHERE Jan_Check <> '99' OR The_Code <> '123456789012' "
                      "OR Code_MoveCode <> '123456789012' OR Code_TwoMove <> '123456789012' "
                      "OR Code_ThreeMove <> '123456789012'") == 0;
    }

private:
    // One demo database for the whole run: created once, copied for every test.
    // Made once per test program and removed when it ends. A file of that name left by an
    // earlier program with the same process id is replaced, not added to.
    static const std::string& demoTemplate() {
        struct Template {
            Template() {
                path = (std::filesystem::temp_directory_path() /
                        ("morvel_requests_demo_" + std::to_string(::getpid()) + ".db"))
                           .string();
                remove();
                demo::JournalOptions options;
                options.lines = 3000;
                options.branches = 3;
                options.from = "2002-01-01";
                options.to = "2002-12-31";
                options.seed = 7;
                demo::createDemoDatabase(path, options);
            }
            ~Template() { remove(); }
            void remove() const {
                for (const char* suffix : {"", "-wal", "-shm"}) std::filesystem::remove(path + suffix);
            }
            std::string path;
        };
        static const Template made;
        return made.path;
    }

    std::string path_;
};

// Every row of an open query as its columns' texts joined by "|"; the current row stays.
inline std::vector<std::string> rowsOf(engine::Query& q) {
    std::vector<std::string> rows;
    const int keep = q.recNo();
    for (q.first(); !q.eof(); q.next()) {
        std::string line;
        for (size_t c = 0; c < q.columnNames().size(); ++c) line += q.field(static_cast<int>(c)).asString() + "|";
        rows.push_back(line);
    }
    q.moveTo(keep);
    return rows;
}

// Runs `whileOpen` once the next preview window has produced its pages, then closes it.
inline void whenPreviewOpens(std::function<void(report::PreviewWindow&)> whileOpen) {
    auto* poll = new QTimer;
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, [poll, whileOpen] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* preview = qobject_cast<report::PreviewWindow*>(w);
            if (!preview || !preview->isVisible() || preview->produced().pages.empty()) continue;
            poll->stop();
            poll->deleteLater();
            if (whileOpen) whileOpen(*preview);
            preview->close();
            return;
        }
    });
    poll->start();
}
