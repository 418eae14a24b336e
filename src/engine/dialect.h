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
// tell: `+` joins texts and adds numbers, and a parameter compared with a column takes the
// column's type (`name`, the backend's name of the type; empty where the type is not one).
enum class ColumnKind { Unknown, Text, Number };
struct ColumnType {
    ColumnKind kind = ColumnKind::Unknown;
    std::string name;
    bool operator==(const ColumnType&) const = default;
};
using ColumnTypes = std::function<ColumnType(const std::string& lowerCaseColumnName)>;

// Throws DatabaseError with a message naming the offending token on a syntax error.
// `types`, when given, tells the type of a column that a `+` or a comparison names.
TranslatedStatement translateStatement(const std::string& text, SqlTarget target, const ColumnTypes& types = {});

// Name of the backend function that adds numbers and joins texts (`a + b` when the
// operand types are not known from the statement alone).
inline constexpr const char* kPlusFunction = "morvel_plus";

}  // namespace engine
