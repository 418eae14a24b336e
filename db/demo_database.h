// Builds the demo account database with the SQLite C API: schema, chart of accounts,
// branches and a generated journal, loaded in one transaction.
#pragma once

#include <string>
#include <vector>

#include "journal_generator.h"

struct sqlite3;

namespace demo {

// The text of db/schema.sql: the three tables and their indexes (SQLite).
const std::string& schemaSql();
// The same tables for a PostgreSQL server (db/schema_postgres.sql).
const std::string& postgresSchemaSql();

// The statements of a schema text, one by one, without their comments.
std::vector<std::string> schemaStatements(const std::string& schema);

// Runs the schema on an open connection. Throws std::runtime_error with SQLite's message.
void createSchema(sqlite3* db);

// Inserts the demo chart's account rows in their neutral state (Jan_Check "99", every
// link code "123456789012") and `branches` rows of Kubun_Table.
void insertChart(sqlite3* db);
void insertBranches(sqlite3* db, int branches);

// Appends journal lines (in the caller's transaction, if any).
void insertJournal(sqlite3* db, const std::vector<JournalLine>& lines);
// Appends a generated journal; returns the number of lines written.
long long insertGeneratedJournal(sqlite3* db, const JournalOptions& options);

// Indexes for the monthly summary, which compares YEAR_CHAR + MONTH_CHAR: the engine writes
// that "+" of two text columns as YEAR_CHAR || MONTH_CHAR, and these indexes hold that very
// expression, built into every SQLite. (Demo databases of earlier versions hold the same
// indexes on a function of the programs' own, which only the programs' connections know.)
void addMonthIndexes(sqlite3* db);

// Creates the whole demo database in the file at `path`: schema, chart, branches, journal,
// in one transaction, then the month indexes and the planner's statistics (ANALYZE).
// Throws std::runtime_error on failure (the file is then removed).
// `more` adds further journals (other periods, the same branches) in the same transaction.
void createDemoDatabase(const std::string& path, const JournalOptions& options,
                        const std::vector<JournalOptions>& more = {});

// Runs one statement without result rows; throws std::runtime_error on failure.
void execute(sqlite3* db, const std::string& sql);

}  // namespace demo
