#include "demo_database.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cstdio>
#include <stdexcept>

#include "demo_chart.h"
#include "schema_text.h"

namespace demo {
namespace {

[[noreturn]] void fail(sqlite3* db, const std::string& what) {
    throw std::runtime_error(what + ": " + sqlite3_errmsg(db));
}

// A prepared statement that is reset after each row it inserts.
class Statement {
public:
    Statement(sqlite3* db, const char* sql) : db_(db) {
        if (sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr) != SQLITE_OK) fail(db, "prepare");
    }
    ~Statement() { sqlite3_finalize(stmt_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    void text(int index, const std::string& value) {
        sqlite3_bind_text(stmt_, index, value.data(), static_cast<int>(value.size()), SQLITE_TRANSIENT);
    }
    void text(int index, const std::optional<std::string>& value) {
        if (value) text(index, *value); else sqlite3_bind_null(stmt_, index);
    }
    void number(int index, const std::optional<double>& value) {
        if (value) sqlite3_bind_double(stmt_, index, *value); else sqlite3_bind_null(stmt_, index);
    }
    void integer(int index, long long value) { sqlite3_bind_int64(stmt_, index, value); }
    void run() {
        if (sqlite3_step(stmt_) != SQLITE_DONE) fail(db_, "insert");
        sqlite3_reset(stmt_);
        sqlite3_clear_bindings(stmt_);
    }

private:
    sqlite3* db_;
    sqlite3_stmt* stmt_ = nullptr;
};

constexpr const char* kInsertLine =
    "INSERT INTO ACCOUNT_JEN_AA (AC_JENCODE, CR_AMT, DR_AMT, SERIAL_CRDR, KUBUN_AMT, KUBUN_BON,"
    " DATE_DAY, YEAR_CHAR, MONTH_CHAR, SERIAL_JEN, SERIAL_BUN)"
    " VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11)";

void bindLine(Statement& insert, const JournalLine& line) {
    insert.text(1, line.acJenCode);
    insert.number(2, line.crAmt);
    insert.number(3, line.drAmt);
    insert.text(4, line.serialCrdr);
    insert.text(5, line.kubunAmt);
    insert.text(6, line.kubunBon);
    insert.text(7, line.dateDay);
    insert.text(8, line.yearChar);
    insert.text(9, line.monthChar);
    insert.text(10, line.serialJen);
    insert.text(11, line.serialBun);
    insert.run();
}

}  // namespace

const std::string& schemaSql() {
    static const std::string text = kSchemaSql;
    return text;
}

const std::string& postgresSchemaSql() {
    static const std::string text = kPostgresSchemaSql;
    return text;
}

std::vector<std::string> schemaStatements(const std::string& schema) {
    std::vector<std::string> statements;
    std::string current;
    std::size_t at = 0;
    while (at < schema.size()) {
        std::size_t end = schema.find('\n', at);
        if (end == std::string::npos) end = schema.size();
        std::string line = schema.substr(at, end - at);
        at = end + 1;
        const std::size_t comment = line.find("--");
        if (comment != std::string::npos) line.erase(comment);
        if (line.find_first_not_of(' ') == std::string::npos) continue;
        current += line + "\n";
        if (line.find(';') != std::string::npos) {
            current.erase(current.find_last_of(';'));
            statements.push_back(current);
            current.clear();
        }
    }
    return statements;
}

void execute(sqlite3* db, const std::string& sql) {
    char* message = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
        const std::string text = message ? message : "unknown error";
        sqlite3_free(message);
        throw std::runtime_error(text);
    }
}

void createSchema(sqlite3* db) { execute(db, schemaSql()); }

void insertChart(sqlite3* db) {
    Statement insert(db,
        "INSERT INTO Test_Ac_Code (Serial_No, Code_Kubun, A_Kubun, B_Kubun, C_Kubun, D_Kubun,"
        " E_Kubun, Ac_Code, Ac_Name, Ac_Name_SiSan, Ac_Name_Gita, Jan_Check, The_Code,"
        " Code_MoveCode, Code_TwoMove, Code_ThreeMove)"
        " VALUES (?1, '1', ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?8, ?8, '99',"
        " '123456789012', '123456789012', '123456789012', '123456789012')");
    long long serial = 0;
    for (const ChartAccount& account : chartAccounts()) {
        const std::string code = account.code;
        insert.integer(1, ++serial);
        insert.text(2, code.substr(0, 1));
        insert.text(3, code.substr(1, 2));
        insert.text(4, code.substr(3, 2));
        insert.text(5, code.substr(5, 3));
        insert.text(6, code.substr(8, 3));
        insert.text(7, code + " ");
        insert.text(8, std::string(account.title));
        insert.run();
    }
}

void insertBranches(sqlite3* db, int branches) {
    Statement insert(db, "INSERT INTO Kubun_Table (Kubun_Code, Kubun_Name, Kubun_JangSo) VALUES (?1, ?2, ?3)");
    for (int i = 0; i < branches; ++i) {
        const BranchRow row = branchRow(i);
        insert.text(1, row.code);
        insert.text(2, row.name);
        insert.text(3, row.place);
        insert.run();
    }
}

void insertJournal(sqlite3* db, const std::vector<JournalLine>& lines) {
    Statement insert(db, kInsertLine);
    for (const JournalLine& line : lines) bindLine(insert, line);
}

long long insertGeneratedJournal(sqlite3* db, const JournalOptions& options) {
    Statement insert(db, kInsertLine);
    long long count = 0;
    generateJournal(options, [&](const JournalLine& line) {
        bindLine(insert, line);
        ++count;
    });
    return count;
}

void addMonthIndexes(sqlite3* db) {
    const std::string month = "(YEAR_CHAR || MONTH_CHAR) COLLATE RTRIM";
    execute(db, "CREATE INDEX IF NOT EXISTS ACCOUNT_JEN_AA_Bon_Month ON ACCOUNT_JEN_AA (KUBUN_BON, " + month +
                    ", AC_JENCODE, SERIAL_CRDR, KUBUN_AMT, SERIAL_JEN, SERIAL_BUN, CR_AMT, DR_AMT)");
    execute(db, "CREATE INDEX IF NOT EXISTS ACCOUNT_JEN_AA_Code_Bon_Month ON ACCOUNT_JEN_AA (AC_JENCODE, "
                "KUBUN_BON, " + month + ", SERIAL_CRDR, KUBUN_AMT, SERIAL_JEN, SERIAL_BUN, CR_AMT, DR_AMT)");
}

void createDemoDatabase(const std::string& path, const JournalOptions& options,
                        const std::vector<JournalOptions>& more) {
    // The books are readable by their owner only; SQLite gives its "-wal" and "-shm"
    // files the database file's permissions.
    if (const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600); fd >= 0) ::close(fd);
    sqlite3* db = nullptr;
    if (sqlite3_open(path.c_str(), &db) != SQLITE_OK) {
        const std::string message = db ? sqlite3_errmsg(db) : "out of memory";
        sqlite3_close(db);
        throw std::runtime_error("cannot open " + path + ": " + message);
    }
    try {
        execute(db, "PRAGMA journal_mode=WAL");
        execute(db, "BEGIN");
        createSchema(db);
        insertChart(db);
        insertBranches(db, options.branches);
        insertGeneratedJournal(db, options);
        for (const JournalOptions& journal : more) insertGeneratedJournal(db, journal);
        addMonthIndexes(db);
        execute(db, "COMMIT");
        // Without statistics the planner reads the journal first even where a few account
        // rows would select its lines; with them a million-line summary runs about twice
        // as fast.
        execute(db, "ANALYZE");
    } catch (...) {
        sqlite3_close(db);
        std::remove(path.c_str());
        std::remove((path + "-wal").c_str());
        std::remove((path + "-shm").c_str());
        throw;
    }
    sqlite3_close(db);
}

}  // namespace demo
