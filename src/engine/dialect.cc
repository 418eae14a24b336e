#include "dialect.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <vector>

#include "error.h"
#include "sql_tokens.h"
#include "union_plan.h"

namespace engine {
namespace {

std::string upper(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::toupper(c); });
    return s;
}

std::string lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
}

// ---------------------------------------------------------------- translation

enum class Ty { Unknown, Text, Number };

struct Expr {
    std::string sql;
    Ty type = Ty::Unknown;
    bool simple = true;   // a single operand that needs no parentheses
    bool column = false;  // a bare column name, or a parameter (whose type the server infers)
    bool literal = false;  // a quoted text
    std::string text{};    // the literal's text
    Ty declared = Ty::Unknown;  // a column's kind as the backend's tables declare it
    bool computed = false;      // an operator's or function's result: SQLite gives it no affinity
    bool parameter = false;
    std::string declaredType{};  // a column's type as the backend names it, where known
};

// Sets a flag for a stretch of the parse and restores it at the end.
class FlagScope {
public:
    FlagScope(bool& flag, bool value) : flag_(flag), saved_(flag) { flag_ = value; }
    ~FlagScope() { flag_ = saved_; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    bool& flag_;
    bool saved_;
};

const char* const kReserved[] = {"SELECT", "FROM", "WHERE", "GROUP", "ORDER", "HAVING", "UNION", "ON",
                                 "JOIN", "INNER", "LEFT", "RIGHT", "FULL", "CROSS", "OUTER", "AND",
                                 "OR", "NOT", "AS", "INTO", "VALUES", "SET", "BY", "IN", "IS",
                                 "BETWEEN", "LIKE", "WHEN", "THEN", "ELSE", "END", "LIMIT", "EXCEPT",
                                 "INTERSECT", "ASC", "DESC", "NULL", "DISTINCT", "ALL", "CASE", "EXISTS"};

bool isReserved(const std::string& word) {
    const std::string u = upper(word);
    return std::any_of(std::begin(kReserved), std::end(kReserved), [&](const char* r) { return u == r; });
}

class Translator {
public:
    Translator(const std::string& text, SqlTarget target, const ColumnTypes& types)
        : toks_(tokenize(text)), target_(target), types_(types) {}

    TranslatedStatement run() {
        std::string sql;
        statementIsSelect_ = peekWord("SELECT") || at(Tok::LParen);
        if (statementIsSelect_) sql = selectStatement();
        else if (peekWord("INSERT")) sql = insertStatement();
        else if (peekWord("UPDATE")) sql = updateStatement();
        else if (peekWord("DELETE")) sql = deleteStatement();
        else sql = passThrough();
        while (at(Tok::Semicolon)) ++pos_;
        if (!at(Tok::End)) fail("Unexpected '" + cur().text + "'");
        TranslatedStatement out{sql, names_, {}, {}, {}, {}};
        if (statementIsSelect_) {
            // The longest first: one that holds another is replaced before it.
            std::stable_sort(inSubqueries_.begin(), inSubqueries_.end(),
                             [](const InSubquery& a, const InSubquery& b) { return a.text.size() > b.text.size(); });
            out.inSubqueries = std::move(inSubqueries_);
        }
        if (!unionMembers_.empty()) {
            const size_t at = sql.find(kUnionMarker);
            out.sql = sql.substr(0, at) + unionText_ + sql.substr(at + std::strlen(kUnionMarker));
            UnionPlan plan = planUnion(toks_, unionMembers_, target_);
            out.parts = std::move(plan.parts);
            out.partTables = std::move(plan.partTables);
            out.combined = sql.substr(0, at) + "(\n" + plan.unionSql + "\n)" + sql.substr(at + std::strlen(kUnionMarker));
        }
        return out;
    }

private:
    // -------- token helpers
    const Token& cur() const { return toks_[pos_]; }
    bool at(Tok k) const { return cur().kind == k; }
    bool peekWord(const char* w, size_t ahead = 0) const {
        const size_t p = std::min(pos_ + ahead, toks_.size() - 1);
        return toks_[p].kind == Tok::Ident && upper(toks_[p].text) == w;
    }
    bool acceptWord(const char* w) {
        if (!peekWord(w)) return false;
        ++pos_;
        return true;
    }
    void expectWord(const char* w) {
        if (!acceptWord(w)) fail(std::string("Expected ") + w);
    }
    bool acceptOp(const char* op) {
        if (at(Tok::Op) && cur().text == op) { ++pos_; return true; }
        return false;
    }
    void expect(Tok k, const char* what) {
        if (!at(k)) fail(std::string("Expected '") + what + "'");
        ++pos_;
    }
    [[noreturn]] void fail(const std::string& message) const {
        std::string near = cur().kind == Tok::End ? "end of statement" : "'" + cur().text + "'";
        throw DatabaseError("Invalid use of keyword or syntax error: " + message + " near " + near);
    }

    std::string param(const std::string& name) {
        const std::string key = lower(name);
        size_t index = std::find(names_.begin(), names_.end(), key) - names_.begin();
        if (index == names_.size()) names_.push_back(key);
        return (target_ == SqlTarget::Sqlite ? "?" : "$") + std::to_string(index + 1);
    }

    std::string identifier() {
        if (at(Tok::Ident)) return toks_[pos_++].text;
        if (at(Tok::QuotedIdent)) return "\"" + toks_[pos_++].text + "\"";
        fail("Expected a name");
    }

    // A possibly qualified name: a, a.b, a.b.c, a.*
    std::string qualifiedName() {
        std::string name = identifier();
        while (at(Tok::Dot)) {
            ++pos_;
            if (at(Tok::Op) && cur().text == "*") { ++pos_; return name + ".*"; }
            name += "." + identifier();
        }
        return name;
    }

    static std::string wrap(const Expr& e) { return e.simple ? e.sql : "(" + e.sql + ")"; }

    // Text comparisons ignore trailing blanks. On SQLite the left operand carries the
    // RTRIM collation, which then rules the comparison (numbers are not affected).
    // PostgreSQL compares CHAR columns so already; a text expression is trimmed.
    std::string collated(const Expr& e) const {
        if (target_ == SqlTarget::Sqlite) return wrap(e) + " COLLATE RTRIM";
        return trimmed(e);
    }
    std::string compared(const Expr& e) const {
        return target_ == SqlTarget::Postgres ? trimmed(e) : wrap(e);
    }
    static std::string trimmed(const Expr& e) {
        if (e.literal) {  // trimmed here, and left untyped so that it compares as the other side's type
            std::string text = e.text;
            while (!text.empty() && text.back() == ' ') text.pop_back();
            return quote(text);
        }
        return e.type == Ty::Text && !e.column ? "rtrim(" + e.sql + ")" : wrap(e);
    }

    // A side of a comparison as written: on PostgreSQL a parameter takes the type of the
    // column on the other side, so that the column is compared in its own type (a
    // parameter the server took for text would have it compare the column's text, which
    // neither its indexes nor its statistics serve).
    std::string typedAgainst(const std::string& sql, const Expr& e, const Expr& other) const {
        if (target_ == SqlTarget::Postgres && e.parameter && !other.declaredType.empty())
            return sql + "::" + other.declaredType;
        return sql;
    }
    std::string leftOf(const Expr& left, const Expr& right) const { return typedAgainst(collated(left), left, right); }
    std::string rightOf(const Expr& right, const Expr& left) const {
        return typedAgainst(compared(right), right, left);
    }

    // `probe NOT IN (subquery)` where only a true result lets a row pass, on PostgreSQL.
    // The server hashes the rows of a NOT IN subquery only while they fit in its working
    // memory, and past that searches them for every row it tests (a year of a large
    // office's cash vouchers then takes hours); a NOT EXISTS becomes an anti-join, which
    // works in batches of any size. The same rows pass: none while the subquery holds a
    // NULL, and a NULL probe only where the subquery has no rows.
    // (The probe moves into the subqueries: the rows' column has a name it cannot mean.)
    std::string notInAsAntiJoin(const Expr& probe, const std::string& subquery) const {
        const std::string rows = "(" + subquery + ") AS morvel_in(morvel_v)";
        const std::string value = probe.type == Ty::Text ? "rtrim(morvel_in.morvel_v)" : "morvel_in.morvel_v";
        const std::string x = collated(probe);
        return "(NOT EXISTS (SELECT 1 FROM " + rows + " WHERE " + x + " = " + value + ")\n AND NOT EXISTS (SELECT 1 FROM " +
               rows + " WHERE morvel_in.morvel_v IS NULL)\n AND (" + x +
               " IS NOT NULL OR NOT EXISTS (SELECT 1 FROM " + rows + ")))";
    }

    // A select's rows without its DISTINCT, where only which values it gives matters (a
    // select of one core only).
    static std::string withRepeats(const std::string& select) {
        const std::string distinct = "\nSELECT DISTINCT ";
        if (select.compare(0, distinct.size(), distinct) != 0) return select;
        return "\nSELECT " + select.substr(distinct.size());
    }

    // -------- statements
    std::string selectStatement() {
        std::string sql = compoundSelect();
        return sql;
    }

    // `members`, when given, receives the member selects of a pure UNION ALL chain
    // (and is cleared when the chain is anything else).
    std::string compoundSelect(std::vector<UnionMember>* members = nullptr) {
        const FlagScope ownConditions(filter_, false);
        ++selectDepth_;
        struct Leave { int& d; ~Leave() { --d; } } leave{selectDepth_};
        std::string sql = members ? memberCore(*members) : selectCore();
        bool single = true;
        const bool firstComputed = coreComputed_;
        while (peekWord("UNION") || peekWord("EXCEPT") || peekWord("INTERSECT")) {
            single = false;
            std::string op = upper(toks_[pos_++].text);
            if (acceptWord("ALL")) op += " ALL";
            if (members && op != "UNION ALL") members->clear(), members = nullptr;
            const std::string member = members ? memberCore(*members) : selectCore();
            sql += "\n" + op + "\n" + member;
        }
        if (acceptWord("ORDER")) {
            expectWord("BY");
            sql += "\nORDER BY " + orderList();
            if (members) members->clear();
        }
        selectComputed_ = single && firstComputed;
        selectSingle_ = single;
        return sql;
    }

    // A member of a UNION ALL whose members may run side by side: its tokens, text and
    // derived tables are kept.
    std::string memberCore(std::vector<UnionMember>& members) {
        UnionMember member;
        member.begin = pos_;
        std::vector<DerivedTable>* outer = memberDerived_;
        memberDerived_ = &member.derived;
        member.sql = selectCore();
        memberDerived_ = outer;
        member.end = pos_;
        members.push_back(member);
        return member.sql;
    }

    std::string selectCore() {
        if (at(Tok::LParen)) {  // a parenthesised select in a compound
            ++pos_;
            std::string inner = compoundSelect();
            expect(Tok::RParen, ")");
            coreComputed_ = false;
            return "SELECT * FROM (" + inner + ")";
        }
        expectWord("SELECT");
        std::string sql = "SELECT ";
        if (acceptWord("DISTINCT")) sql += "DISTINCT ";
        else acceptWord("ALL");
        sql += selectItems();
        const bool computed = itemComputed_;
        struct Keep { bool& to; bool value; ~Keep() { to = value; } } keep{coreComputed_, computed};
        if (acceptWord("FROM")) sql += "\nFROM " + fromList();
        if (acceptWord("WHERE")) sql += "\nWHERE " + condition().sql;
        if (acceptWord("GROUP")) {
            expectWord("BY");
            std::string list;
            do {
                if (!list.empty()) list += ", ";
                const Expr term = expression();
                list += target_ == SqlTarget::Sqlite ? collated(term) : term.sql;
            } while (at(Tok::Comma) && (++pos_, true));
            sql += "\nGROUP BY " + list;
        }
        if (acceptWord("HAVING")) sql += "\nHAVING " + condition().sql;
        return sql;
    }

    std::string selectItems() {
        std::string list;
        bool firstComputed = false;
        for (bool first = true;; first = false) {
            if (!first) list += ",\n  ";
            list += selectItem();
            if (first) firstComputed = itemComputed_;
            if (!at(Tok::Comma)) break;
            ++pos_;
        }
        itemComputed_ = firstComputed;
        return list;
    }

    std::string selectItem() {
        itemComputed_ = false;
        if (at(Tok::Op) && cur().text == "*") { ++pos_; return "*"; }
        // alias = expression
        if ((at(Tok::Ident) || at(Tok::QuotedIdent)) && !isReserved(cur().text) &&
            toks_[pos_ + 1].kind == Tok::Op && toks_[pos_ + 1].text == "=") {
            const std::string alias = identifier();
            ++pos_;  // '='
            const Expr e = expression();
            itemComputed_ = e.computed;
            return innerItem(e) + " AS " + alias;
        }
        const Expr e = expression();
        itemComputed_ = e.computed;
        std::string sql = innerItem(e);
        if (acceptWord("AS")) return sql + " AS " + aliasName();
        if ((at(Tok::Ident) && !isReserved(cur().text)) || at(Tok::QuotedIdent) || at(Tok::String))
            return sql + " AS " + aliasName();
        return sql;
    }

    // A text computed inside a derived table or subquery is compared later, by its
    // column name; PostgreSQL would then see its trailing blanks, so they go here.
    std::string innerItem(const Expr& e) const {
        if (target_ == SqlTarget::Postgres && selectDepth_ > 1) return trimmed(e);
        return e.sql;
    }

    std::string aliasName() {
        if (at(Tok::String)) return "\"" + toks_[pos_++].text + "\"";
        return identifier();
    }

    std::string fromList() {
        std::string sql = fromItem();
        while (true) {
            if (at(Tok::Comma)) { ++pos_; sql += ", " + fromItem(); continue; }
            std::string join;
            if (acceptWord("CROSS")) { expectWord("JOIN"); sql += " CROSS JOIN " + fromItem(); continue; }
            if (acceptWord("INNER")) join = "INNER JOIN";
            else if (acceptWord("LEFT")) { acceptWord("OUTER"); join = "LEFT JOIN"; }
            else if (acceptWord("RIGHT")) { acceptWord("OUTER"); join = "RIGHT JOIN"; }
            else if (acceptWord("FULL")) { acceptWord("OUTER"); join = "FULL JOIN"; }
            if (!join.empty()) expectWord("JOIN");
            else if (acceptWord("JOIN")) join = "JOIN";
            else break;
            sql += "\n " + join + " " + fromItem();
            if (acceptWord("ON")) sql += " ON " + condition().sql;
        }
        return sql;
    }

    std::string fromItem() {
        std::string sql;
        if (at(Tok::LParen)) {
            ++pos_;
            if (peekWord("SELECT") || at(Tok::LParen)) {
                // A UNION ALL of several members in the outermost FROM: its members may be
                // run side by side, the outer statement then reading their rows.
                const bool candidate = selectDepth_ == 1 && statementIsSelect_ && unionMembers_.empty();
                // A derived table in the FROM list of such a member itself.
                std::vector<DerivedTable>* derivedOf = selectDepth_ == 2 ? memberDerived_ : nullptr;
                const size_t begin = pos_ - 1;
                std::vector<DerivedTable>* outer = memberDerived_;
                memberDerived_ = nullptr;
                std::vector<UnionMember> members;
                sql = "(\n" + compoundSelect(candidate ? &members : nullptr) + "\n)";
                memberDerived_ = outer;
                if (members.size() >= kMinUnionMembers) {
                    unionMembers_ = std::move(members);
                    unionText_ = sql;
                    sql = kUnionMarker;
                }
                if (derivedOf) {
                    expect(Tok::RParen, ")");
                    DerivedTable derived{begin, pos_, sql, {}};
                    if (acceptWord("AS") || (at(Tok::Ident) && !isReserved(cur().text)) || at(Tok::QuotedIdent)) {
                        if (at(Tok::Ident)) derived.alias = cur().text;
                        sql += " AS " + identifier();
                    }
                    derivedOf->push_back(derived);
                    return sql;
                }
            } else {
                sql = "(" + fromList() + ")";
            }
            expect(Tok::RParen, ")");
        } else {
            sql = qualifiedName();
        }
        if (acceptWord("AS")) return sql + " AS " + identifier();
        if ((at(Tok::Ident) && !isReserved(cur().text)) || at(Tok::QuotedIdent)) return sql + " AS " + identifier();
        return sql;
    }

    std::string orderList() {
        std::string list;
        do {
            if (!list.empty()) list += ", ";
            list += expression().sql;
            if (acceptWord("ASC")) list += " ASC";
            else if (acceptWord("DESC")) list += " DESC";
        } while (at(Tok::Comma) && (++pos_, true));
        return list;
    }

    std::string insertStatement() {
        expectWord("INSERT");
        acceptWord("INTO");
        std::string sql = "INSERT INTO " + qualifiedName();
        if (at(Tok::LParen)) {
            ++pos_;
            std::string cols;
            do {
                if (!cols.empty()) cols += ", ";
                cols += identifier();
            } while (at(Tok::Comma) && (++pos_, true));
            expect(Tok::RParen, ")");
            sql += " (" + cols + ")";
        }
        if (acceptWord("VALUES")) {
            std::string rows;
            do {
                expect(Tok::LParen, "(");
                std::string vals;
                do {
                    if (!vals.empty()) vals += ", ";
                    vals += expression().sql;
                } while (at(Tok::Comma) && (++pos_, true));
                expect(Tok::RParen, ")");
                if (!rows.empty()) rows += ", ";
                rows += "(" + vals + ")";
            } while (at(Tok::Comma) && (++pos_, true));
            return sql + " VALUES " + rows;
        }
        return sql + "\n" + compoundSelect();
    }

    std::string updateStatement() {
        expectWord("UPDATE");
        std::string sql = "UPDATE " + qualifiedName() + "\nSET ";
        expectWord("SET");
        std::string sets;
        do {
            if (!sets.empty()) sets += ",\n    ";
            const std::string column = qualifiedName();
            if (!acceptOp("=")) fail("Expected '='");
            sets += column + " = " + expression().sql;
        } while (at(Tok::Comma) && (++pos_, true));
        sql += sets;
        if (acceptWord("FROM")) sql += "\nFROM " + fromList();
        if (acceptWord("WHERE")) sql += "\nWHERE " + condition().sql;
        return sql;
    }

    std::string deleteStatement() {
        expectWord("DELETE");
        acceptWord("FROM");
        std::string sql = "DELETE FROM " + qualifiedName();
        if (acceptWord("WHERE")) sql += "\nWHERE " + condition().sql;
        return sql;
    }

    // Statements the programs don't write (schema changes and the like): passed on
    // token by token with their parameters numbered.
    std::string passThrough() {
        std::string sql;
        while (!at(Tok::End) && !at(Tok::Semicolon)) {
            const Token& t = toks_[pos_++];
            if (!sql.empty() && t.kind != Tok::RParen && t.kind != Tok::Comma && t.kind != Tok::Dot &&
                sql.back() != '(' && sql.back() != '.')
                sql += ' ';
            switch (t.kind) {
                case Tok::String: sql += quote(t.text); break;
                case Tok::QuotedIdent: sql += "\"" + t.text + "\""; break;
                case Tok::Param: sql += param(t.text); break;
                default: sql += t.text; break;
            }
        }
        return sql;
    }

    static std::string quote(const std::string& s) {
        std::string out = "'";
        for (char c : s) {
            if (c == '\'') out += '\'';
            out += c;
        }
        return out + "'";
    }

    // -------- expressions
    Expr expression() { return orExpr(); }

    // A condition that only lets rows pass (WHERE, HAVING, ON): through AND, OR and
    // parentheses, a predicate that is unknown there does what a false one does.
    Expr condition() {
        const FlagScope rowsPass(filter_, true);
        return expression();
    }

    // Whether the token at `p` ends a predicate of a condition.
    bool endsPredicate(size_t p) const {
        const Token& t = toks_[std::min(p, toks_.size() - 1)];
        if (t.kind == Tok::End || t.kind == Tok::RParen || t.kind == Tok::Semicolon) return true;
        if (t.kind != Tok::Ident) return false;
        const std::string word = upper(t.text);
        for (const char* w : {"AND", "OR", "GROUP", "ORDER", "HAVING", "UNION", "EXCEPT", "INTERSECT"})
            if (word == w) return true;
        return false;
    }

    // The position of the parenthesis that closes the one at `p`.
    size_t closingParen(size_t p) const {
        for (int depth = 0; p < toks_.size(); ++p) {
            if (toks_[p].kind == Tok::LParen) ++depth;
            if (toks_[p].kind == Tok::RParen && --depth == 0) return p;
            if (toks_[p].kind == Tok::End) break;
        }
        return toks_.size() - 1;
    }

    Expr orExpr() {
        Expr left = andExpr();
        while (acceptWord("OR")) {
            Expr right = andExpr();
            left = {left.sql + " OR " + right.sql, Ty::Number, false};
        }
        return left;
    }

    Expr andExpr() {
        Expr left = notExpr();
        while (acceptWord("AND")) {
            Expr right = notExpr();
            left = {left.sql + " AND " + right.sql, Ty::Number, false};
        }
        return left;
    }

    Expr notExpr() {
        if (acceptWord("NOT")) {
            const FlagScope negated(filter_, false);
            Expr inner = notExpr();
            return {"NOT (" + inner.sql + ")", Ty::Number, true};
        }
        return predicate();
    }

    Expr predicate() {
        const bool filter = filter_;
        if (filter && at(Tok::LParen) && !peekWord("SELECT", 1) && endsPredicate(closingParen(pos_) + 1)) {
            ++pos_;  // a parenthesised condition, the whole predicate
            Expr inner = expression();
            expect(Tok::RParen, ")");
            return {"(" + inner.sql + ")", inner.type, true};
        }
        const FlagScope operands(filter_, false);
        Expr left = additive();
        for (bool first = true;; first = false) {
            if (at(Tok::Op)) {
                const std::string op = cur().text;
                if (op == "=" || op == "<>" || op == "!=" || op == "<" || op == "<=" || op == ">" || op == ">=" ||
                    op == "!<" || op == "!>") {
                    ++pos_;
                    Expr right = additive();
                    std::string sqlOp = op == "!=" ? "<>" : op == "!<" ? ">=" : op == "!>" ? "<=" : op;
                    left = {leftOf(left, right) + " " + sqlOp + " " + rightOf(right, left), Ty::Number, false};
                    continue;
                }
            }
            bool negated = false;
            if (peekWord("NOT") && (peekWord("IN", 1) || peekWord("BETWEEN", 1) || peekWord("LIKE", 1))) {
                ++pos_;
                negated = true;
            }
            const std::string no = negated ? "NOT " : "";
            if (acceptWord("IN")) {
                expect(Tok::LParen, "(");
                std::string list, subquery;
                bool lookup = false;
                if (peekWord("SELECT")) {
                    list = "\n" + compoundSelect() + "\n";
                    lookup = target_ == SqlTarget::Sqlite && left.computed && selectComputed_;
                    if (target_ == SqlTarget::Postgres) {
                        // Whether a value is among the rows does not depend on repeats: the
                        // server need not remove them first.
                        if (selectSingle_) list = withRepeats(list);
                        subquery = list;
                        if (left.type == Ty::Text) list = "SELECT rtrim(morvel_in.v) FROM (" + list + ") AS morvel_in(v)";
                    }
                } else {
                    do {
                        if (!list.empty()) list += ", ";
                        list += rightOf(expression(), left);
                    } while (at(Tok::Comma) && (++pos_, true));
                }
                expect(Tok::RParen, ")");
                if (target_ == SqlTarget::Postgres && negated && !subquery.empty() && filter && first &&
                    endsPredicate(pos_)) {
                    left = {notInAsAntiJoin(left, subquery), Ty::Number, true};
                    continue;
                }
                const std::string probe = wrap(left);
                left = {collated(left) + " " + no + "IN (" + list + ")", Ty::Number, false};
                if (lookup) inSubqueries_.push_back({left.sql, probe, withRepeats(list), negated});
                continue;
            }
            if (acceptWord("BETWEEN")) {
                Expr low = additive();
                expectWord("AND");
                Expr high = additive();
                left = {leftOf(left, low) + " " + no + "BETWEEN " + rightOf(low, left) + " AND " + rightOf(high, left),
                        Ty::Number, false};
                continue;
            }
            if (acceptWord("LIKE")) {
                Expr pattern = additive();
                left = {wrap(left) + " " + no + "LIKE " + wrap(pattern), Ty::Number, false};
                continue;
            }
            if (acceptWord("IS")) {
                const bool isNot = acceptWord("NOT");
                expectWord("NULL");
                left = {wrap(left) + (isNot ? " IS NOT NULL" : " IS NULL"), Ty::Number, false};
                continue;
            }
            return left;
        }
    }

    Expr additive() {
        Expr left = multiplicative();
        while (at(Tok::Op) && (cur().text == "+" || cur().text == "-" || cur().text == "||")) {
            const std::string op = toks_[pos_++].text;
            Expr right = multiplicative();
            left = combine(left, op, right);
        }
        return left;
    }

    // `+` joins texts and adds numbers. Where both operand types are known from the
    // statement (or, on PostgreSQL, from the tables' column types), the plain operator is
    // written; otherwise SQLite's backend function decides for each row, and PostgreSQL
    // adds.
    Expr combine(const Expr& a, const std::string& op, const Expr& b) {
        Expr result = combineOperands(a, op, b);
        result.computed = true;
        return result;
    }
    Expr combineOperands(const Expr& a, const std::string& op, const Expr& b) {
        const Ty ta = a.type != Ty::Unknown ? a.type : a.declared;
        const Ty tb = b.type != Ty::Unknown ? b.type : b.declared;
        if (op == "||" || (op == "+" && ta == Ty::Text && tb == Ty::Text))
            return {wrap(a) + " || " + wrap(b), Ty::Text, false};
        // A text literal or text function on one side makes the sum a text in practice.
        const Ty sum = ta == Ty::Text || tb == Ty::Text ? Ty::Text : Ty::Unknown;
        if (op == "+" && target_ == SqlTarget::Postgres) {
            if (sum == Ty::Text) return {textOf(a, ta) + " || " + textOf(b, tb), Ty::Text, false};
            return {wrap(a) + " + " + wrap(b), ta == Ty::Number && tb == Ty::Number ? Ty::Number : Ty::Unknown, false};
        }
        if (op == "+" && (ta != Ty::Number || tb != Ty::Number))
            return {std::string(kPlusFunction) + "(" + a.sql + ", " + b.sql + ")", sum, true};
        return {wrap(a) + " " + op + " " + wrap(b), Ty::Number, false};
    }

    // An operand of a text join on PostgreSQL: a number becomes its text first.
    std::string textOf(const Expr& e, Ty type) const {
        return type == Ty::Text ? wrap(e) : "CAST(" + e.sql + " AS text)";
    }

    Expr multiplicative() {
        Expr left = unary();
        while (at(Tok::Op) && (cur().text == "*" || cur().text == "/" || cur().text == "%")) {
            const std::string op = toks_[pos_++].text;
            Expr right = unary();
            left = {wrap(left) + " " + op + " " + wrap(right), Ty::Number, false};
            left.computed = true;
        }
        return left;
    }

    Expr unary() {
        if (at(Tok::Op) && (cur().text == "-" || cur().text == "+")) {
            const std::string op = toks_[pos_++].text;
            Expr inner = unary();
            return {op + wrap(inner), Ty::Number, true};
        }
        return primary();
    }

    Expr primary() {
        const Token& t = cur();
        switch (t.kind) {
            case Tok::String: ++pos_; return {quote(t.text), Ty::Text, true, false, true, t.text};
            case Tok::Number: ++pos_; return {t.text, Ty::Number, true};
            case Tok::Param: {  // bound as text
                ++pos_;
                Expr parameter{param(t.text), Ty::Text, true, true};
                parameter.parameter = true;
                return parameter;
            }
            case Tok::LParen: {
                ++pos_;
                if (peekWord("SELECT")) {
                    std::string sub = compoundSelect();
                    expect(Tok::RParen, ")");
                    return {"(\n" + sub + "\n)", Ty::Unknown, true};
                }
                Expr inner = expression();
                expect(Tok::RParen, ")");
                return {"(" + inner.sql + ")", inner.type, true};
            }
            case Tok::Ident:
            case Tok::QuotedIdent: break;
            default: fail("Expected an expression");
        }
        if (t.kind == Tok::Ident) {
            const std::string word = upper(t.text);
            if (word == "NULL") { ++pos_; return {"NULL", Ty::Unknown, true}; }
            if (word == "CASE") return caseExpr();
            if (word == "EXISTS") {
                ++pos_;
                expect(Tok::LParen, "(");
                std::string sub = compoundSelect();
                expect(Tok::RParen, ")");
                return {"EXISTS (\n" + sub + "\n)", Ty::Number, true};
            }
            if (toks_[pos_ + 1].kind == Tok::LParen) return functionCall();
            if (isReserved(t.text)) fail("Expected an expression");
        }
        Expr column{qualifiedName(), Ty::Unknown, true, true};
        const ColumnType declared = declaredType(column.sql);
        column.declared = declared.kind == ColumnKind::Text     ? Ty::Text
                          : declared.kind == ColumnKind::Number ? Ty::Number
                                                                : Ty::Unknown;
        column.declaredType = declared.name;
        return column;
    }

    // The type the backend's tables give the column a (possibly qualified) name names.
    ColumnType declaredType(const std::string& name) const {
        if (!types_) return {};
        std::string last = name.substr(name.rfind('.') == std::string::npos ? 0 : name.rfind('.') + 1);
        if (last.size() >= 2 && last.front() == '"') last = last.substr(1, last.size() - 2);
        return types_(lower(last));
    }

    Expr caseExpr() {
        expectWord("CASE");
        std::string sql = "CASE";
        if (!peekWord("WHEN")) sql += " " + wrap(expression());
        Ty type = Ty::Unknown;
        while (acceptWord("WHEN")) {
            sql += " WHEN " + expression().sql;
            expectWord("THEN");
            Expr then = expression();
            type = then.type;
            sql += " THEN " + then.sql;
        }
        if (acceptWord("ELSE")) sql += " ELSE " + expression().sql;
        expectWord("END");
        return {sql + " END", type, true};
    }

    Expr functionCall() {
        const std::string name = upper(identifier());
        expect(Tok::LParen, "(");
        std::string prefix;
        if (acceptWord("DISTINCT")) prefix = "DISTINCT ";
        std::vector<Expr> args;
        if (at(Tok::Op) && cur().text == "*") {
            ++pos_;
            args.push_back({"*", Ty::Unknown, true});
        } else if (!at(Tok::RParen)) {
            do args.push_back(expression());
            while (at(Tok::Comma) && (++pos_, true));
        }
        expect(Tok::RParen, ")");
        std::string joined;
        for (const auto& a : args) joined += (joined.empty() ? "" : ", ") + a.sql;
        auto call = [&](const std::string& fn, Ty ty) {
            Expr result{fn + "(" + prefix + joined + ")", ty, true};
            result.computed = name != "CAST";
            return result;
        };

        if (name == "ISNULL") {
            if (args.size() != 2) fail("ISNULL takes two arguments");
            const Ty ty = args[0].type != Ty::Unknown ? args[0].type : args[1].type;
            return call(target_ == SqlTarget::Sqlite ? "ifnull" : "COALESCE", ty);
        }
        if (name == "SUBSTRING" || name == "SUBSTR") return call("substr", Ty::Text);
        if (name == "LEN") return call("length", Ty::Number);
        if (name == "RTRIM" || name == "LTRIM" || name == "UPPER" || name == "LOWER" || name == "TRIM")
            return call(lower(name), Ty::Text);
        if (name == "SUM" || name == "COUNT" || name == "AVG" || name == "ABS" || name == "ROUND")
            return call(name, Ty::Number);
        if (name == "MIN" || name == "MAX" || name == "COALESCE")
            return call(name, args.empty() ? Ty::Unknown : args[0].type);
        return call(name, Ty::Unknown);
    }

    std::vector<Token> toks_;
    SqlTarget target_;
    const ColumnTypes& types_;
    bool filter_ = false;  // the predicate being read only lets rows pass (condition())
    size_t pos_ = 0;
    std::vector<std::string> names_;
    int selectDepth_ = 0;
    bool statementIsSelect_ = false;
    std::vector<UnionMember> unionMembers_;
    std::string unionText_;
    std::vector<DerivedTable>* memberDerived_ = nullptr;  // the member being read, if any
    bool itemComputed_ = false;    // the select item just read (the first, after a list) is computed
    bool coreComputed_ = false;    // the select core just read has a computed first item
    bool selectComputed_ = false;  // the select just read is one select whose first item is computed
    bool selectSingle_ = false;    // the select just read is one select, no UNION or the like
    std::vector<InSubquery> inSubqueries_;
    static constexpr size_t kMinUnionMembers = 4;
    static constexpr const char* kUnionMarker = "\x01union\x01";
};

}  // namespace

TranslatedStatement translateStatement(const std::string& text, SqlTarget target, const ColumnTypes& types) {
    return Translator(text, target, types).run();
}

}  // namespace engine
