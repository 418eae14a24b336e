// How a derived UNION ALL of many members is split into statements that run side by side.
//
// Each member becomes a statement of its own, except where several members read the same
// derived table (the same tokens) and use its rows only as sums per join key:
//     SELECT .., SUM(RR.a), SUM(ISNULL(RR.b, 0)) FROM T, (SELECT ..) RR
//     WHERE T.k = RR.key AND <conditions on T> [GROUP BY <T's columns>]
// Such members share one statement that adds the derived table's columns up per key, once,
// and read its few rows instead: a sum of per-key sums is the sum of the rows.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "dialect.h"
#include "sql_tokens.h"

namespace engine {

// A derived table in the FROM list of a member: its tokens from "(" to ")" inclusive,
// its translated text (as it stands in the member's text) and its alias.
struct DerivedTable {
    size_t begin = 0, end = 0;
    std::string sql;
    std::string alias;
};

// One member of the UNION ALL: its tokens, its translated text, its derived tables.
struct UnionMember {
    size_t begin = 0, end = 0;
    std::string sql;
    std::vector<DerivedTable> derived;
};

struct UnionPlan {
    std::vector<std::string> parts;       // statements run side by side
    std::vector<std::string> partTables;  // the name each part's rows are read by
    std::string unionSql;                 // the members again, reading the parts' rows
};

UnionPlan planUnion(const std::vector<Token>& tokens, const std::vector<UnionMember>& members, SqlTarget target);

}  // namespace engine
