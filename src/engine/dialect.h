// Translation of the programs' SQL dialect to a backend's own.
//
// The programs write: select items as `alias = expression`, `+` joining text,
// ISNULL, SUBSTRING, `NOT x IS NULL`, derived tables, UNION ALL, `--` comments,
// `:name` parameters, and character comparisons that ignore trailing blanks.
// The statement is parsed into a small syntax tree and written out again for the
// backend; nothing here knows particular statements.
#pragma once

#include <functional>
#include <string>

#include "driver.h"

namespace engine {

enum class SqlTarget { Sqlite, Postgres };

// What the backend's tables say a column name holds, where the statement alone doesn't
// tell: `+` joins texts and adds numbers.
enum class ColumnKind { Unknown, Text, Number };
using ColumnKinds = std::function<ColumnKind(const std::string& lowerCaseColumnName)>;

// Throws DatabaseError with a message naming the offending token on a syntax error.
// `kinds`, when given, tells the kind of a column that a `+` names.
TranslatedStatement translateStatement(const std::string& text, SqlTarget target, const ColumnKinds& kinds = {});

// Name of the backend function that adds numbers and joins texts (`a + b` when the
// operand types are not known from the statement alone).
inline constexpr const char* kPlusFunction = "morvel_plus";

}  // namespace engine
