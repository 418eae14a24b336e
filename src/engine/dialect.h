// Translation of the programs' SQL dialect to a backend's own.
//
// The programs write: select items as `alias = expression`, `+` joining text,
// ISNULL, SUBSTRING, `NOT x IS NULL`, derived tables, UNION ALL, `--` comments,
// `:name` parameters, and character comparisons that ignore trailing blanks.
// The statement is parsed into a small syntax tree and written out again for the
// backend; nothing here knows particular statements.
#pragma once

#include <string>

#include "driver.h"

namespace engine {

enum class SqlTarget { Sqlite, Postgres };

// Throws DatabaseError with a message naming the offending token on a syntax error.
TranslatedStatement translateStatement(const std::string& text, SqlTarget target);

// Name of the backend function that adds numbers and joins texts (`a + b` when the
// operand types are not known from the statement alone).
inline constexpr const char* kPlusFunction = "morvel_plus";

}  // namespace engine
