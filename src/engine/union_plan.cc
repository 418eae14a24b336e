#include "union_plan.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <set>

#include "value.h"

namespace engine {
namespace {

std::string lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
}

bool isWord(const Token& t, const char* word) {
    if (t.kind != Tok::Ident || t.text.size() != std::char_traits<char>::length(word)) return false;
    for (size_t i = 0; i < t.text.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(t.text[i])) != word[i]) return false;
    return true;
}

bool isOp(const Token& t, const char* op) { return t.kind == Tok::Op && t.text == op; }

// Words that a parenthesis may follow without being a function call.
bool isKeyword(const Token& t) {
    for (const char* w : {"AND", "OR", "NOT", "IN", "WHERE", "ON", "BY", "WHEN", "THEN", "ELSE", "CASE", "SELECT",
                          "FROM", "AS", "BETWEEN", "LIKE", "IS", "DISTINCT", "ALL"})
        if (isWord(t, w)) return true;
    return false;
}

// Functions of one row's values: they leave the number of rows a member reads alone.
bool isRowFunction(const Token& t) {
    for (const char* f : {"ISNULL", "COALESCE", "SUBSTRING", "SUBSTR", "RTRIM", "LTRIM", "TRIM", "UPPER", "LOWER",
                          "LEN", "ABS", "ROUND"})
        if (isWord(t, f)) return true;
    return false;
}

// The name of a select item [a, b): "name = ..", ".. AS name", a bare or qualified
// column; empty when it has none or a quoted one.
std::string itemName(const std::vector<Token>& t, size_t a, size_t b) {
    if (b - a >= 2 && t[a].kind == Tok::Ident && isOp(t[a + 1], "=")) return lower(t[a].text);
    if (b - a >= 2 && isWord(t[b - 2], "AS") && t[b - 1].kind == Tok::Ident) return lower(t[b - 1].text);
    if (b - a == 1 && t[a].kind == Tok::Ident) return lower(t[a].text);
    if (b - a == 3 && t[a].kind == Tok::Ident && t[a + 1].kind == Tok::Dot && t[a + 2].kind == Tok::Ident)
        return lower(t[a + 2].text);
    return {};
}

// The column names of a derived table (its first select's items); empty when one of
// them has no plain name.
std::vector<std::string> derivedColumns(const std::vector<Token>& t, const DerivedTable& d) {
    size_t i = d.begin + 1;
    if (!isWord(t[i], "SELECT")) return {};
    ++i;
    if (isWord(t[i], "DISTINCT") || isWord(t[i], "ALL")) ++i;
    std::vector<std::string> names;
    int depth = 0;
    for (size_t start = i; i < d.end; ++i) {
        const Token& k = t[i];
        const bool last = i == d.end - 1;
        if (!last && k.kind == Tok::LParen) ++depth;
        if (!last && k.kind == Tok::RParen) --depth;
        if (!last && !(depth == 0 && (k.kind == Tok::Comma || isWord(k, "FROM")))) continue;
        const std::string name = itemName(t, start, i);
        if (name.empty() || std::count(names.begin(), names.end(), name)) return {};
        names.push_back(name);
        if (last || isWord(k, "FROM")) break;
        start = i + 1;
    }
    return names;
}

// How a member uses its derived table, when only as sums per join key.
struct SumsPerKey {
    bool eligible = false;
    std::vector<std::string> keys;  // derived columns the member joins on
    std::set<std::string> sums;     // derived columns it adds up
};

struct Reference {
    size_t begin, end;
    std::string column;
};

// Whether tokens [a, b) are a column of the other tables: name or table.name.
bool otherColumn(const std::vector<Token>& t, size_t a, size_t b, const std::string& alias,
                 const std::vector<std::string>& columns) {
    if (b - a == 1) return t[a].kind == Tok::Ident && !std::count(columns.begin(), columns.end(), lower(t[a].text));
    return b - a == 3 && t[a].kind == Tok::Ident && t[a + 1].kind == Tok::Dot && t[a + 2].kind == Tok::Ident &&
           lower(t[a].text) != alias;
}

SumsPerKey analyse(const std::vector<Token>& t, const UnionMember& m) {
    if (m.derived.size() != 1 || !isWord(t[m.begin], "SELECT") || isWord(t[m.begin + 1], "DISTINCT")) return {};
    const DerivedTable& d = m.derived.front();
    const std::vector<std::string> columns = derivedColumns(t, d);
    const std::string alias = lower(d.alias);
    if (columns.empty() || alias.empty()) return {};

    enum class Clause { Items, From, Where, Group } clause = Clause::Items;
    std::vector<std::pair<size_t, size_t>> conjuncts;
    std::vector<Reference> refs;
    std::vector<size_t> aggregates;  // token positions of SUM
    int depth = 0;
    size_t itemStart = m.begin + 1, conjunctStart = 0;
    bool between = false;
    for (size_t i = m.begin + 1; i < m.end; ++i) {
        if (i == d.begin) {
            i = d.end - 1;
            continue;
        }
        const Token& k = t[i];
        if (k.kind == Tok::LParen) {
            if (isWord(t[i + 1], "SELECT")) return {};  // a subquery might read the derived rows
            ++depth;
            continue;
        }
        if (k.kind == Tok::RParen) {
            --depth;
            continue;
        }
        if (depth == 0) {
            if (isWord(k, "FROM")) { clause = Clause::From; continue; }
            if (isWord(k, "WHERE")) { clause = Clause::Where; conjunctStart = i + 1; continue; }
            if (isWord(k, "GROUP")) {
                if (clause == Clause::Where) conjuncts.emplace_back(conjunctStart, i);
                clause = Clause::Group;
                continue;
            }
            if (isWord(k, "HAVING") || isWord(k, "JOIN") || isWord(k, "OR")) return {};
            if (clause == Clause::Where && isWord(k, "BETWEEN")) between = true;
            if (clause == Clause::Where && isWord(k, "AND")) {
                if (between) between = false;
                else conjuncts.emplace_back(conjunctStart, i), conjunctStart = i + 1;
                continue;
            }
            if (clause == Clause::Items && k.kind == Tok::Comma) { itemStart = i + 1; continue; }
            if (clause == Clause::Items && i == itemStart && k.kind == Tok::Ident && isOp(t[i + 1], "=")) {
                ++i;  // "name =": the item's name
                continue;
            }
            if (clause == Clause::Items && i == itemStart && isOp(k, "*")) return {};
        }
        if (isWord(k, "AS")) { ++i; continue; }
        if (k.kind == Tok::Ident && t[i + 1].kind == Tok::LParen && !isKeyword(k)) {
            if (isWord(k, "SUM")) aggregates.push_back(i);
            else if (!isRowFunction(k)) return {};  // another aggregate counts rows
            continue;
        }
        if (k.kind == Tok::Ident && lower(k.text) == alias && t[i + 1].kind == Tok::Dot) {
            if (t[i + 2].kind != Tok::Ident || !std::count(columns.begin(), columns.end(), lower(t[i + 2].text)))
                return {};
            refs.push_back({i, i + 3, lower(t[i + 2].text)});
            i += 2;
            continue;
        }
        if (k.kind == Tok::Ident && t[i - 1].kind != Tok::Dot && t[i + 1].kind != Tok::Dot &&
            std::count(columns.begin(), columns.end(), lower(k.text)))
            refs.push_back({i, i + 1, lower(k.text)});
    }
    if (clause == Clause::Where) conjuncts.emplace_back(conjunctStart, m.end);

    SumsPerKey use;
    std::set<size_t> summed;  // the SUMs whose argument is a derived column
    for (const Reference& r : refs) {
        if (r.begin >= 2 && isWord(t[r.begin - 2], "SUM") && t[r.begin - 1].kind == Tok::LParen &&
            t[r.end].kind == Tok::RParen) {
            use.sums.insert(r.column);
            summed.insert(r.begin - 2);
            continue;
        }
        // SUM(ISNULL(x, 0)): a NULL adds nothing, in the rows as in their sums
        if (r.begin >= 4 && isWord(t[r.begin - 4], "SUM") && t[r.begin - 3].kind == Tok::LParen &&
            isWord(t[r.begin - 2], "ISNULL") && t[r.begin - 1].kind == Tok::LParen && t[r.end].kind == Tok::Comma &&
            t[r.end + 1].kind == Tok::Number && numberFromText(t[r.end + 1].text) == 0 &&
            t[r.end + 2].kind == Tok::RParen && t[r.end + 3].kind == Tok::RParen) {
            use.sums.insert(r.column);
            summed.insert(r.begin - 4);
            continue;
        }
        const auto c = std::find_if(conjuncts.begin(), conjuncts.end(),
                                    [&](const auto& range) { return range.first <= r.begin && r.end <= range.second; });
        if (c == conjuncts.end()) return {};
        const bool joinsOnIt = (c->first == r.begin && isOp(t[r.end], "=") &&
                                otherColumn(t, r.end + 1, c->second, alias, columns)) ||
                               (c->second == r.end && r.begin >= 1 && isOp(t[r.begin - 1], "=") &&
                                otherColumn(t, c->first, r.begin - 1, alias, columns));
        if (!joinsOnIt) return {};
        if (!std::count(use.keys.begin(), use.keys.end(), r.column)) use.keys.push_back(r.column);
    }
    // Every aggregate must add up a derived column: any other would see fewer rows.
    if (use.keys.empty() || use.sums.empty() || summed.size() != aggregates.size()) return {};
    std::sort(use.keys.begin(), use.keys.end());
    use.eligible = true;
    return use;
}

size_t occurrences(const std::string& text, const std::string& part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size())) ++n;
    return n;
}

}  // namespace

UnionPlan planUnion(const std::vector<Token>& tokens, const std::vector<UnionMember>& members, SqlTarget target) {
    struct Shared {
        std::string derived;
        std::vector<std::string> keys;
        std::set<std::string> sums;
    };
    std::vector<Shared> shared;
    std::map<std::string, size_t> sharedIndex;  // derived text and keys -> shared
    std::vector<long> sharedOf(members.size(), -1);
    for (size_t m = 0; m < members.size(); ++m) {
        const SumsPerKey use = analyse(tokens, members[m]);
        if (!use.eligible || occurrences(members[m].sql, members[m].derived.front().sql) != 1) continue;
        std::string id = members[m].derived.front().sql;
        for (const auto& key : use.keys) id += '\x02' + key;
        auto [it, added] = sharedIndex.emplace(id, shared.size());
        if (added) shared.push_back({members[m].derived.front().sql, use.keys, {}});
        shared[it->second].sums.insert(use.sums.begin(), use.sums.end());
        sharedOf[m] = static_cast<long>(it->second);
    }

    UnionPlan plan;
    auto newTable = [&] {
        const std::string name = "morvel_rows_" + std::to_string(plan.partTables.size() + 1) + "_";
        plan.partTables.push_back(target == SqlTarget::Sqlite ? "temp." + name : name);
        return plan.partTables.back();
    };
    std::vector<std::string> sharedTables;
    for (const Shared& s : shared) {
        std::string items, group;
        for (const auto& key : s.keys) {
            items += (items.empty() ? "" : ", ") + ("morvel_d." + key) + " AS " + key;
            group += (group.empty() ? "" : ", ") + ("morvel_d." + key) +
                     (target == SqlTarget::Sqlite ? " COLLATE RTRIM" : "");
        }
        for (const auto& sum : s.sums) items += ", SUM(morvel_d." + sum + ") AS " + sum;
        plan.parts.push_back("SELECT " + items + "\nFROM " + s.derived + " AS morvel_d\nGROUP BY " + group);
        sharedTables.push_back(newTable());
    }
    std::vector<std::string> texts;
    for (size_t m = 0; m < members.size(); ++m) {
        if (sharedOf[m] >= 0) {
            std::string text = members[m].sql;
            const std::string& derived = members[m].derived.front().sql;
            text.replace(text.find(derived), derived.size(), sharedTables[static_cast<size_t>(sharedOf[m])]);
            texts.push_back(text);
        } else {
            plan.parts.push_back(members[m].sql);
            texts.push_back("SELECT * FROM " + newTable());
        }
    }
    for (const auto& text : texts) plan.unionSql += (plan.unionSql.empty() ? "" : "\nUNION ALL\n") + text;
    return plan;
}

}  // namespace engine
