#include "sqlite_driver.h"

#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <map>

#include "alias_config.h"
#include "column_types.h"
#include "database_guard.h"
#include "dialect.h"
#include "error.h"
#include "reader_pool.h"
#include "sqlite_database_file.h"
#include "sqlite_in_lookup.h"

namespace engine {
namespace {

// Debian's SQLite 3.40 returns wrong rows when a column with a collation is joined
// to a derived table through an automatic index with its Bloom filter; this turns
// that optimisation off for the connection.
constexpr int kBloomFilterOptimisation = 0x00080000;

// SQLite counts every allocation under one process-wide mutex by default; the statements
// that run side by side then wait for each other on every row. The count serves only a
// heap limit, which the engine does not set. It must be turned off before SQLite starts,
// hence at load time.
[[maybe_unused]] const bool kAllocationCountOff = sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0) == SQLITE_OK;

// The connection's last error; a lock that another connection kept past the busy
// timeout says so clearly.
std::string lastError(sqlite3* db) {
    const std::string message = sqlite3_errmsg(db);
    return (sqlite3_errcode(db) & 0xff) == SQLITE_BUSY ? lockWaitMessage(message) : message;
}

// a + b as the programs' dialect means it: two texts are joined, anything else is
// added as numbers; NULL on either side gives NULL.
void plusFunction(sqlite3_context* ctx, int, sqlite3_value** argv) {
    const int ta = sqlite3_value_type(argv[0]);
    const int tb = sqlite3_value_type(argv[1]);
    if (ta == SQLITE_NULL || tb == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    if ((ta == SQLITE_TEXT || ta == SQLITE_BLOB) && (tb == SQLITE_TEXT || tb == SQLITE_BLOB)) {
        const int la = sqlite3_value_bytes(argv[0]);
        const int lb = sqlite3_value_bytes(argv[1]);
        std::string joined;
        joined.reserve(static_cast<size_t>(la + lb));
        joined.append(reinterpret_cast<const char*>(sqlite3_value_text(argv[0])), static_cast<size_t>(la));
        joined.append(reinterpret_cast<const char*>(sqlite3_value_text(argv[1])), static_cast<size_t>(lb));
        sqlite3_result_text(ctx, joined.data(), static_cast<int>(joined.size()), SQLITE_TRANSIENT);
        return;
    }
    if (ta == SQLITE_INTEGER && tb == SQLITE_INTEGER) {
        sqlite3_result_int64(ctx, sqlite3_value_int64(argv[0]) + sqlite3_value_int64(argv[1]));
        return;
    }
    sqlite3_result_double(ctx, sqlite3_value_double(argv[0]) + sqlite3_value_double(argv[1]));
}

// Binds the values to the statement's numbered parameters and reads every row.
ResultSet runPrepared(sqlite3* db, sqlite3_stmt* stmt, const std::vector<std::optional<std::string>>& values) {
    sqlite3_reset(stmt);
    sqlite3_clear_bindings(stmt);
    bindValues(db, stmt, values);
    ResultSet result;
    const int columns = sqlite3_column_count(stmt);
    for (int c = 0; c < columns; ++c) {
        const char* n = sqlite3_column_name(stmt, c);
        result.columns.emplace_back(n ? n : "");
    }
    while (true) {
        const int rc = sqlite3_step(stmt);
        if (rc == SQLITE_DONE) break;
        if (rc != SQLITE_ROW) {
            const std::string message = lastError(db);
            sqlite3_reset(stmt);
            throw DatabaseError(message);
        }
        std::vector<Value> row;
        row.reserve(static_cast<size_t>(columns));
        for (int c = 0; c < columns; ++c) {
            switch (sqlite3_column_type(stmt, c)) {
                case SQLITE_NULL: row.emplace_back(); break;
                case SQLITE_INTEGER:
                case SQLITE_FLOAT: row.push_back(Value::number(sqlite3_column_double(stmt, c))); break;
                default: {
                    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt, c));
                    row.push_back(Value::text(std::string(p ? p : "", static_cast<size_t>(sqlite3_column_bytes(stmt, c)))));
                }
            }
        }
        result.rows.push_back(std::move(row));
    }
    result.rowsChanged = columns == 0 ? sqlite3_changes64(db) : 0;
    sqlite3_reset(stmt);
    return result;
}

void exec(sqlite3* db, const char* sql);
sqlite3* openConnection(const std::string& path, const std::string& alias, int flags);
std::vector<std::pair<std::string, ColumnType>> readColumnTypes(sqlite3* db);

// A connection with its prepared statements, kept for reuse.
class Connection {
public:
    explicit Connection(sqlite3* db) : db_(db) {}
    ~Connection() {
        for (auto& [text, stmt] : cache_) sqlite3_finalize(stmt);
        sqlite3_close_v2(db_);
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    sqlite3* handle() const { return db_; }

    ResultSet run(const std::string& sql, const std::vector<std::optional<std::string>>& values) {
        return runPrepared(db_, statementFor(sql), values);
    }

private:
    sqlite3_stmt* statementFor(const std::string& sql) {
        if (auto it = cache_.find(sql); it != cache_.end()) return it->second;
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(db_, sql.c_str(), static_cast<int>(sql.size()), &stmt, nullptr) != SQLITE_OK) {
            const std::string message = sqlite3_errmsg(db_);
            sqlite3_finalize(stmt);
            throw DatabaseError(message);
        }
        if (cache_.size() > 64) {
            for (auto& [text, old] : cache_) sqlite3_finalize(old);
            cache_.clear();
        }
        cache_.emplace(sql, stmt);
        return stmt;
    }

    sqlite3* db_;
    std::map<std::string, sqlite3_stmt*> cache_;
};

// Begins a read transaction on each connection while `gate` holds the write lock, so
// every one of them reads the same state of the database; ends them when it goes.
class SharedSnapshot {
public:
    SharedSnapshot(Connection& gate, const std::vector<Connection*>& readers) {
        exec(gate.handle(), "BEGIN IMMEDIATE");  // waits for a writer that is busy
        try {
            for (Connection* reader : readers) {
                exec(reader->handle(), "BEGIN");
                begun_.push_back(reader);
                // The first read fixes the transaction's view of the database.
                exec(reader->handle(), "SELECT 1 FROM sqlite_schema LIMIT 1");
            }
        } catch (...) {
            sqlite3_exec(gate.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
            end();
            throw;
        }
        exec(gate.handle(), "ROLLBACK");
    }
    ~SharedSnapshot() { end(); }
    SharedSnapshot(const SharedSnapshot&) = delete;
    SharedSnapshot& operator=(const SharedSnapshot&) = delete;

private:
    void end() {
        for (Connection* reader : begun_) sqlite3_exec(reader->handle(), "ROLLBACK", nullptr, nullptr, nullptr);
        begun_.clear();
    }
    std::vector<Connection*> begun_;
};

// The guard's handle on the driver's lock of the database file.
class FileGuardLock : public DatabaseLock {
public:
    explicit FileGuardLock(DatabaseFileLock& lock) : lock_(lock) {}
    bool tryLock() override { return lock_.tryLock(); }
    void unlock() override { lock_.unlock(); }

private:
    DatabaseFileLock& lock_;
};

// A database in memory belongs to its one connection: nobody else can reach it.
class PrivateDatabaseLock : public DatabaseLock {
public:
    bool tryLock() override { return true; }
    void unlock() override {}
};

class SqliteDriver : public Driver {
public:
    // `file` is null for a database in memory.
    SqliteDriver(std::unique_ptr<SqliteDatabaseFile> file, sqlite3* db, std::string path, std::string alias)
        : file_(std::move(file)), lookups_(std::make_unique<InLookups>()), main_(db), path_(std::move(path)),
          alias_(std::move(alias)), sideBySide_(file_ != nullptr),
          readers_(sideBySide_ ? kReaderConnections : 0, [this] {
              auto reader = openBesideMain(SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX);
              lookups_->registerOn(reader->handle());
              return reader;
          }) {
        lookups_->registerOn(main_.handle());
    }
    ~SqliteDriver() override {
        if (file_ && !file_->movedAway().empty() && !file_->openElsewhere()) letGoOfMovedFile();
    }

    std::string name() const override { return "sqlite"; }

    TranslatedStatement translate(const std::string& text) const override {
        return translateStatement(text, SqlTarget::Sqlite, columnTypes_.lookup());
    }

    std::unique_ptr<DatabaseLock> guardLock() override {
        if (!file_) return std::make_unique<PrivateDatabaseLock>();
        return std::make_unique<FileGuardLock>(file_->guardLock());
    }

    std::string movedAway() const override { return file_ ? file_->movedAway() : std::string(); }

    ResultSet execute(const TranslatedStatement& st, const std::vector<std::optional<std::string>>& values) override {
        columnTypes_.noteStatement(st.sql);
        if (runsSideBySide(st)) return executeSideBySide(st, values);
        return executeWhole(st, values);
    }

    // SQLite's EXPLAIN QUERY PLAN of the parts run side by side, or of the statement, with
    // its IN subqueries as look-ups where they run so.
    std::vector<std::string> plans(const TranslatedStatement& st,
                                   const std::vector<std::optional<std::string>>& values) override {
        const InLookupScope lookups(*lookups_, main_.handle(), st, values);
        const TranslatedStatement& run = lookups.statement();
        std::vector<std::string> plans;
        for (const std::string& sql : runsSideBySide(st) ? run.parts : std::vector<std::string>{run.sql}) {
            std::string plan;
            for (const auto& row : main_.run("EXPLAIN QUERY PLAN " + sql, values).rows) plan += row.back().asString() + "\n";
            plans.push_back(plan);
        }
        return plans;
    }

private:
    bool runsSideBySide(const TranslatedStatement& st) const {
        return !st.parts.empty() && sideBySide_ && sqlite3_get_autocommit(main_.handle());
    }

    // The last copy to close a file that its path no longer names: SQLite then neither
    // writes the log into the file nor removes the "-wal" and "-shm" files, which the file
    // that stands at the path now would take for its own. The log goes into the old file
    // here, and the two files are removed while this copy's connections still keep others
    // from using them.
    void letGoOfMovedFile() {
        sqlite3_wal_checkpoint_v2(main_.handle(), nullptr, SQLITE_CHECKPOINT_TRUNCATE, nullptr, nullptr);
        const char* database = sqlite3_db_filename(main_.handle(), "main");
        ::unlink(sqlite3_filename_wal(database));
        ::unlink((std::string(database) + "-shm").c_str());
    }

    // Another connection to the file the main connection has open; refused when the path
    // names another file by now.
    std::unique_ptr<Connection> openBesideMain(int flags) const {
        auto connection = std::make_unique<Connection>(openConnection(path_, alias_, flags));
        if (const std::string moved = movedAway(); !moved.empty()) throw DatabaseError(moved);
        return connection;
    }

    // Runs the statement on this connection; its IN subqueries' rows and the statement
    // read one state of the database.
    ResultSet executeWhole(const TranslatedStatement& st, const std::vector<std::optional<std::string>>& values) {
        if (st.inSubqueries.empty()) return main_.run(st.sql, values);
        const bool alone = sqlite3_get_autocommit(main_.handle());
        if (alone) exec(main_.handle(), "BEGIN");
        try {
            const InLookupScope lookups(*lookups_, main_.handle(), st, values);
            ResultSet result = main_.run(lookups.statement().sql, values);
            if (alone) exec(main_.handle(), "COMMIT");
            return result;
        } catch (...) {
            if (alone) sqlite3_exec(main_.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
            throw;
        }
    }

    // Runs the parts of the statement's derived UNION ALL side by side on this connection
    // and the reader connections, all reading one state of the database, keeps each
    // part's rows in a temporary table of this connection and runs the combining
    // statement over them. SQLite runs one statement on one core; a summary of many
    // members over a year of journal lines then takes a fraction of the time.
    ResultSet executeSideBySide(const TranslatedStatement& st, const std::vector<std::optional<std::string>>& values) {
        if (!gate_) gate_ = openBesideMain(SQLITE_OPEN_READWRITE);
        std::vector<Connection*> workers{&main_};
        for (auto& reader : readers_.readers()) workers.push_back(reader.get());
        // Without the right to write, the gate cannot hold writers off: the statement then
        // runs whole, which reads one state of the database by itself.
        if (sqlite3_db_readonly(gate_->handle(), "main") == 1) return executeWhole(st, values);
        const SharedSnapshot snapshot(*gate_, workers);
        const InLookupScope lookups(*lookups_, main_.handle(), st, values);
        const TranslatedStatement& run = lookups.statement();
        const auto results = runSideBySide(run.parts.size(), workers.size(), [&](size_t worker, size_t part) {
            return workers[worker]->run(run.parts[part], values);
        });
        for (size_t part = 0; part < results.size(); ++part) fillTable(run.partTables[part], results[part]);
        return main_.run(run.combined, values);  // the tables go with the transaction
    }

    void fillTable(const std::string& table, const ResultSet& result) {
        const auto& columns = result.columns;
        std::string create = "CREATE TABLE " + table + " (";
        std::string insert = "INSERT INTO " + table + " VALUES (";
        for (size_t c = 0; c < columns.size(); ++c) {
            std::string quoted = "\"";
            for (char ch : columns[c]) quoted += ch == '"' ? std::string("\"\"") : std::string(1, ch);
            quoted += "\"";
            // No declared type: values keep their own kind; text compares as the dialect does.
            create += (c ? ", " : "") + quoted + " COLLATE RTRIM";
            insert += c ? ", ?" : "?";
        }
        create += ")";
        insert += ")";
        sqlite3* db = main_.handle();
        exec(db, ("DROP TABLE IF EXISTS " + table).c_str());
        exec(db, create.c_str());
        {
            sqlite3_stmt* stmt = nullptr;
            if (sqlite3_prepare_v2(db, insert.c_str(), -1, &stmt, nullptr) != SQLITE_OK)
                throw DatabaseError(sqlite3_errmsg(db));
            {
                for (const auto& row : result.rows) {
                    sqlite3_reset(stmt);
                    for (size_t c = 0; c < row.size(); ++c) {
                        const int index = static_cast<int>(c + 1);
                        const Value& v = row[c];
                        if (v.isNull()) sqlite3_bind_null(stmt, index);
                        else if (v.isNumber()) sqlite3_bind_double(stmt, index, v.asFloat());
                        else {
                            const std::string text = v.asString();
                            sqlite3_bind_text(stmt, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
                        }
                    }
                    if (sqlite3_step(stmt) != SQLITE_DONE) {
                        const std::string message = sqlite3_errmsg(db);
                        sqlite3_finalize(stmt);
                        throw DatabaseError(message);
                    }
                }
            }
            sqlite3_finalize(stmt);
        }
    }

    // Declared before the connections, so that its descriptors close only after theirs
    // (closing one drops the process's POSIX locks on the file).
    std::unique_ptr<SqliteDatabaseFile> file_;
    std::unique_ptr<InLookups> lookups_;  // shared by the connections, so declared before them
    Connection main_;
    std::string path_;
    std::string alias_;
    bool sideBySide_;
    std::unique_ptr<Connection> gate_;
    ReaderPool<Connection> readers_;
    mutable ColumnTypeCache columnTypes_{[this] { return readColumnTypes(main_.handle()); }};
};

void exec(sqlite3* db, const char* sql) {
    char* err = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &err) != SQLITE_OK) {
        const std::string message = (sqlite3_errcode(db) & 0xff) == SQLITE_BUSY ? lastError(db)
                                    : err                                       ? err
                                                                                : "unknown error";
        sqlite3_free(err);
        throw DatabaseError(message);
    }
}

// The columns of the database's tables whose declared type gives them text affinity: they
// hold texts only (or NULL), so a `+` of two of them joins them, as a built-in expression
// that any SQLite can evaluate (and index). Other columns may hold a number in one row and
// a text in the next; their kind is left unknown. (Virtual tables, whose module this
// program may lack, are left out.)
std::vector<std::pair<std::string, ColumnType>> readColumnTypes(sqlite3* db) {
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db,
                           "SELECT lower(p.name), upper(p.type) FROM sqlite_schema s, pragma_table_xinfo(s.name) p "
                           "WHERE s.type = 'table' AND s.sql NOT LIKE 'CREATE VIRTUAL%'",
                           -1, &stmt, nullptr) != SQLITE_OK) {
        const std::string message = lastError(db);
        sqlite3_finalize(stmt);
        throw DatabaseError(message);
    }
    std::vector<std::pair<std::string, ColumnType>> columns;
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        const auto* name = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
        const auto* declared = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 1));
        const std::string type = declared ? declared : "";
        const bool text = type.find("INT") == std::string::npos &&
                          (type.find("CHAR") != std::string::npos || type.find("CLOB") != std::string::npos ||
                           type.find("TEXT") != std::string::npos);
        columns.emplace_back(name ? name : "", ColumnType{text ? ColumnKind::Text : ColumnKind::Unknown, {}});
    }
    const std::string message = rc == SQLITE_DONE ? "" : lastError(db);
    sqlite3_finalize(stmt);
    if (!message.empty()) throw DatabaseError(message);
    return columns;
}

// SQLite makes the "-wal" and "-shm" files beside the database with the database file's
// permissions but with the group of the process that makes them. In a folder without
// the setgid bit that is the clerk's own group, and no other clerk could open them while
// they exist (while this program runs, or after it was killed). The clerk who made them
// gives them the database file's group at once. (Where the clerk is no member of that
// group the system refuses, and nothing better can be done.)
void shareJournalFilesWithTheDatabaseGroup(sqlite3* db) {
    const char* database = sqlite3_db_filename(db, "main");  // symbolic links resolved
    struct stat file {};
    if (!database || !*database || ::stat(database, &file) != 0) return;
    for (const char* suffix : {"-wal", "-shm"}) {
        const std::string path = std::string(database) + suffix;
        struct stat made {};
        if (::lstat(path.c_str(), &made) == 0 && S_ISREG(made.st_mode) && made.st_uid == ::geteuid() &&
            made.st_gid != file.st_gid) {
            [[maybe_unused]] const int refused = ::lchown(path.c_str(), static_cast<uid_t>(-1), file.st_gid);
        }
    }
}

// Opens one connection with the settings every connection of the alias shares.
sqlite3* openConnection(const std::string& path, const std::string& alias, int flags) {
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(path.c_str(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
        const std::string message = db ? sqlite3_errmsg(db) : "out of memory";
        sqlite3_close_v2(db);
        throw DatabaseError("Cannot open database '" + alias + "' at " + path + ": " + message);
    }
    sqlite3_test_control(SQLITE_TESTCTRL_OPTIMIZATIONS, db, kBloomFilterOptimisation);
    sqlite3_busy_timeout(db, static_cast<int>(lockWait().count()));
    if (sqlite3_create_function_v2(db, kPlusFunction, 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, plusFunction,
                                   nullptr, nullptr, nullptr) != SQLITE_OK) {
        const std::string message = sqlite3_errmsg(db);
        sqlite3_close_v2(db);
        throw DatabaseError("Cannot register functions: " + message);
    }
    return db;
}

}  // namespace

std::unique_ptr<Driver> openSqliteDriver(const AliasConfig& config) {
    const std::string path = config.path.empty() ? defaultDatabasePath() : config.path;
    auto file = path == ":memory:" ? nullptr : std::make_unique<SqliteDatabaseFile>(path, config.alias);
    sqlite3* db = openConnection(path, config.alias, SQLITE_OPEN_READWRITE);
    try {
        exec(db, "PRAGMA journal_mode=WAL");
        exec(db, "PRAGMA synchronous=NORMAL");
        shareJournalFilesWithTheDatabaseGroup(db);
    } catch (const DatabaseError& e) {
        sqlite3_close_v2(db);
        throw DatabaseError("Cannot open database '" + config.alias + "' at " + path + ": " + e.what());
    }
    return std::make_unique<SqliteDriver>(std::move(file), db, path, config.alias);
}

}  // namespace engine
