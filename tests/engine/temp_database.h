// A fresh SQLite database behind the alias "Account" for one test, and reading rows back.
#pragma once

#include <string>
#include <vector>

#include "engine/query.h"
#include "temp_account_database.h"

using TempDatabase = TempAccountDatabase;

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
