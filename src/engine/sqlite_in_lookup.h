// `x [NOT] IN (SELECT ..)` on SQLite as a look-up in rows computed once per statement.
//
// SQLite evaluates such a subquery into a b-tree and searches it for every row it tests;
// on a journal's lines that search costs more than reading the lines. When the subquery
// reads nothing of the statement around it (it prepares on its own), its rows are read
// once into hash sets before the statement runs, and the condition becomes a call of a
// registered function that looks the probe up in them, with the comparison SQLite would
// make: numbers by value, texts ignoring trailing blanks, NULL as SQL's IN treats it.
#pragma once

#include <sqlite3.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "driver.h"

namespace engine {

// Binds the values to the statement's numbered parameters. Throws DatabaseError.
void bindValues(sqlite3* db, sqlite3_stmt* stmt, const std::vector<std::optional<std::string>>& values);

class InLookups {
public:
    InLookups();
    ~InLookups();
    InLookups(const InLookups&) = delete;
    InLookups& operator=(const InLookups&) = delete;

    // Registers the look-up function on a connection; it reads the rows of the statement
    // running now. Throws DatabaseError.
    void registerOn(sqlite3* db) const;

    // Reads, on `db`, the rows of each of the statement's IN subqueries that prepares on
    // its own, and returns the statement with those conditions as look-ups in them.
    // The rows stay until end(). Throws DatabaseError.
    TranslatedStatement begin(sqlite3* db, const TranslatedStatement& statement,
                              const std::vector<std::optional<std::string>>& values);
    void end();

    class RowSet;

private:
    std::vector<std::unique_ptr<RowSet>> sets_;
};

// Holds the statement's look-up rows from its construction until it goes.
class InLookupScope {
public:
    InLookupScope(InLookups& lookups, sqlite3* db, const TranslatedStatement& statement,
                  const std::vector<std::optional<std::string>>& values)
        : lookups_(lookups), statement_(lookups.begin(db, statement, values)) {}
    ~InLookupScope() { lookups_.end(); }
    InLookupScope(const InLookupScope&) = delete;
    InLookupScope& operator=(const InLookupScope&) = delete;

    const TranslatedStatement& statement() const { return statement_; }

private:
    InLookups& lookups_;
    TranslatedStatement statement_;
};

}  // namespace engine
