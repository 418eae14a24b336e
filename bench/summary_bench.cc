// Times the summary's run request end to end (the work table's preparation, the summary
// statement, the clean-up) on the demo generator's journals, beside two references on the
// same lines: the floor (one GROUP BY of the period's lines per account) and a hand-written
// query of the same summary by conditional aggregation (per account, with the cash split).
// One table, side by side with the ratios, for 1e6 lines (and 1e7 with --large), one and
// twelve months of the busiest branch, daily and monthly, on SQLite and, given a server,
// PostgreSQL. Each figure is the median of interleaved runs.
//
//   summary_bench [--large] [--runs N] [--postgres PORT]
//
// The SQLite databases are made once and kept in MORVEL_BENCH_DIR (default
// /tmp/morvel_bench): 1e6 lines take half a minute, 1e7 several minutes. With --postgres
// the journals are copied once into databases "morvel_bench_<lines>" of the server on
// 127.0.0.1:PORT, as user postgres (a throw-away server: scripts/test-postgres.sh start).

#include <libpq-fe.h>
#include <sqlite3.h>

#include <QApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "DAY_MORVEL_summary_sql.h"
#include "MONTH_MORVEL_summary_sql.h"
#include "demo_database.h"
#include "engine/database.h"
#include "engine/query.h"
#include "work_table_prep.h"

namespace {

namespace fs = std::filesystem;

struct Options {
    bool large = false;
    int runs = 5;
    int postgresPort = 0;
};

std::string benchDir() {
    const char* dir = std::getenv("MORVEL_BENCH_DIR");
    return dir && *dir ? dir : "/tmp/morvel_bench";
}

// The demo database of `lines` lines (3 branches, 2025-2026), made when missing.
std::string sqlitePath(long long lines) {
    const std::string path = benchDir() + "/account_" + std::to_string(lines) + ".db";
    if (!fs::exists(path)) {
        fs::create_directories(benchDir());
        std::fprintf(stderr, "making %s ...\n", path.c_str());
        demo::JournalOptions options;
        options.lines = lines;
        options.branches = 3;
        options.from = "2025-01-01";
        options.to = "2026-12-31";
        options.seed = 1;
        demo::createDemoDatabase(path, options);
    }
    return path;
}

// ---------------------------------------------------------------- PostgreSQL copies

std::string serverInfo(int port, const std::string& database) {
    return "host=127.0.0.1 port=" + std::to_string(port) + " user=postgres dbname=" + database;
}

PGresult* exec(PGconn* conn, const std::string& sql) {
    PGresult* result = PQexec(conn, sql.c_str());
    const auto status = PQresultStatus(result);
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK && status != PGRES_COPY_IN) {
        const std::string message = PQresultErrorMessage(result);
        PQclear(result);
        throw std::runtime_error(message + " in: " + sql);
    }
    return result;
}

// Copies every row of an SQLite table into the same table on the server.
void copyTable(sqlite3* db, PGconn* conn, const std::string& table) {
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db, ("SELECT * FROM " + table).c_str(), -1, &stmt, nullptr);
    PQclear(exec(conn, "COPY " + table + " FROM STDIN"));
    std::string buffer;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        for (int c = 0; c < sqlite3_column_count(stmt); ++c) {
            if (c) buffer += '\t';
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, c));
            buffer += text ? text : "\\N";
        }
        buffer += '\n';
        if (buffer.size() > (1 << 20)) {
            PQputCopyData(conn, buffer.data(), static_cast<int>(buffer.size()));
            buffer.clear();
        }
    }
    PQputCopyData(conn, buffer.data(), static_cast<int>(buffer.size()));
    PQputCopyEnd(conn, nullptr);
    PGresult* done = PQgetResult(conn);
    const bool ok = PQresultStatus(done) == PGRES_COMMAND_OK;
    const std::string message = PQresultErrorMessage(done);
    PQclear(done);
    while (PGresult* more = PQgetResult(conn)) PQclear(more);
    sqlite3_finalize(stmt);
    if (!ok) throw std::runtime_error("copy of " + table + ": " + message);
}

// The server's copy of the demo database of `lines` lines, made when missing.
std::string postgresDatabase(int port, long long lines) {
    const std::string name = "morvel_bench_" + std::to_string(lines);
    PGconn* admin = PQconnectdb(serverInfo(port, "postgres").c_str());
    if (PQstatus(admin) != CONNECTION_OK) throw std::runtime_error(PQerrorMessage(admin));
    PGresult* found = exec(admin, "SELECT 1 FROM pg_database WHERE datname = '" + name + "'");
    const bool exists = PQntuples(found) > 0;
    PQclear(found);
    if (!exists) {
        std::fprintf(stderr, "copying %lld lines to the server ...\n", lines);
        PQclear(exec(admin, "CREATE DATABASE " + name));
        PGconn* conn = PQconnectdb(serverInfo(port, name).c_str());
        sqlite3* db = nullptr;
        sqlite3_open_v2(sqlitePath(lines).c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
        try {
            for (const std::string& statement : demo::schemaStatements(demo::postgresSchemaSql()))
                PQclear(exec(conn, statement));
            for (const char* table : {"Test_Ac_Code", "Kubun_Table", "ACCOUNT_JEN_AA"}) copyTable(db, conn, table);
            PQclear(exec(conn, "VACUUM ANALYZE"));
        } catch (...) {
            sqlite3_close(db);
            PQfinish(conn);
            PQclear(exec(admin, "DROP DATABASE " + name));
            PQfinish(admin);
            throw;
        }
        sqlite3_close(db);
        PQfinish(conn);
    }
    PQfinish(admin);
    return name;
}

// ---------------------------------------------------------------- the work

enum class Backend { Sqlite, Postgres };

engine::Query& heldQuery(const std::vector<std::string>& lines);

const std::vector<std::string> kFloor = {
    "SELECT AC_JENCODE, CR = SUM(CR_AMT), DR = SUM(DR_AMT)", "FROM ACCOUNT_JEN_AA",
    "WHERE KUBUN_BON = :tbKubun_Bon AND DATE_DAY BETWEEN :tbFirst_Day AND :tbEnd_Day", "GROUP BY AC_JENCODE"};

// Per account, the transfer and cash parts of debit and credit in one pass: a line is a
// cash line when its voucher has a line of the cash account.
const std::vector<std::string> kHandWritten = {
    "SELECT AC_JENCODE, CR01 = SUM(CR_AMT * (1 - CASH)), CR01_CASH = SUM(CR_AMT * CASH),",
    "       DR01_CASH = SUM(DR_AMT * CASH), DR01 = SUM(DR_AMT * (1 - CASH))",
    "FROM (SELECT AC_JENCODE, CR_AMT, DR_AMT,",
    "             CASH = CASE WHEN SERIAL_JEN + SERIAL_BUN IN (",
    "                 SELECT SERIAL_JEN + SERIAL_BUN FROM ACCOUNT_JEN_AA",
    "                 WHERE KUBUN_AMT <> '0' AND AC_JENCODE = '10101001000' AND KUBUN_BON = :tbKubun_Bon",
    "                   AND DATE_DAY BETWEEN :tbFirst_Day AND :tbEnd_Day) THEN 1 ELSE 0 END",
    "      FROM ACCOUNT_JEN_AA",
    "      WHERE SERIAL_CRDR IN ('01','02') AND KUBUN_AMT <> '0' AND KUBUN_BON = :tbKubun_Bon",
    "        AND DATE_DAY BETWEEN :tbFirst_Day AND :tbEnd_Day) L",
    "GROUP BY AC_JENCODE"};

// Points the alias "Account" at the journal of `lines` lines and starts up as a program
// does.
void useDatabase(Backend backend, long long lines, const Options& options) {
    engine::resetDatabases();
    engine::AliasConfig config;
    if (backend == Backend::Sqlite) {
        config.driver = "sqlite";
        config.path = sqlitePath(lines);
    } else {
        config.driver = "postgres";
        config.host = "127.0.0.1";
        config.port = options.postgresPort;
        config.databaseName = postgresDatabase(options.postgresPort, lines);
        config.userName = "postgres";
        engine::setLoginHandler([](engine::LoginRequest&) { return true; });
    }
    engine::databaseForAlias("Account").setConfig(config);
    // The program connects, and makes its forms with their queries, at start-up.
    engine::databaseForAlias("Account").connection();
    fixture::cleanUpWorkTable();
    heldQuery(daily::summaryStatementLines());
    heldQuery(monthly::summaryStatementLines());
    heldQuery(kFloor);
    heldQuery(kHandWritten);
}

struct Period {
    std::string first, end;
};

// One month and twelve months of 2025, as each program writes its period.
Period dayPeriod(int months) { return months == 1 ? Period{"2025-03-01", "2025-03-31"} : Period{"2025-01-01", "2025-12-31"}; }
Period monthPeriod(int months) { return months == 1 ? Period{"202503", "202503"} : Period{"202501", "202512"}; }

double milliseconds(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// The query that holds a statement for the whole run, as the programs' forms hold theirs
// from start-up.
engine::Query& heldQuery(const std::vector<std::string>& lines) {
    static std::map<const std::vector<std::string>*, std::unique_ptr<engine::Query>> queries;
    auto& slot = queries[&lines];
    if (!slot) {
        slot = std::make_unique<engine::Query>();
        for (const std::string& l : lines) slot->sql().add(l);
    }
    return *slot;
}

long long runStatement(const std::vector<std::string>& lines, const Period& period) {
    engine::Query& query = heldQuery(lines);
    query.close();
    query.paramByName("tbFirst_Day").setAsString(period.first);
    query.paramByName("tbEnd_Day").setAsString(period.end);
    query.paramByName("tbKubun_Bon").setAsString("00000");
    query.open();
    return query.recordCount();
}

// The run request: preparation of the work table, the summary, the clean-up.
void runRequest(bool monthly, int months) {
    fixture::prepareWorkTable();
    if (monthly) runStatement(monthly::summaryStatementLines(), monthPeriod(months));
    else runStatement(daily::summaryStatementLines(), dayPeriod(months));
    fixture::cleanUpWorkTable();
}



double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void printRow(const char* backend, long long lines, int months, const char* program, double request, double floor,
              double hand) {
    std::printf("%-10s %5.0e %3d  %-7s %10.1f %9.1f %9.1f %9.1fx %7.2fx\n", backend, static_cast<double>(lines), months,
                program, request, floor, hand, request / floor, request / hand);
    std::fflush(stdout);
}

// The table's rows of one backend and journal.
void measure(Backend backend, long long lines, const Options& options) {
    const char* name = backend == Backend::Sqlite ? "SQLite" : "PostgreSQL";
    useDatabase(backend, lines, options);
    // The first request after start-up (the reader connections opening on the way), then
    // the repeated; the statement alone and the whole request.
    std::vector<double> statement, request;
    for (int r = 0; r <= options.runs; ++r) {
        request.push_back(milliseconds([&] {
            fixture::prepareWorkTable();
            statement.push_back(milliseconds([] { runStatement(daily::summaryStatementLines(), dayPeriod(1)); }));
            fixture::cleanUpWorkTable();
        }));
    }
    const double firstStatement = statement.front(), firstRequest = request.front();
    statement.erase(statement.begin());
    request.erase(request.begin());
    std::printf("%-10s %5.0e first daily 1-month request after start-up: statement %.1f ms (repeated %.1f, %.2fx), "
                "request %.1f ms (repeated %.1f, %.2fx)\n",
                name, static_cast<double>(lines), firstStatement, median(statement), firstStatement / median(statement),
                firstRequest, median(request), firstRequest / median(request));
    for (int months : {1, 12}) {
        std::vector<double> daily, monthly, floor, hand;
        for (int r = 0; r < options.runs; ++r) {
            daily.push_back(milliseconds([&] { runRequest(false, months); }));
            monthly.push_back(milliseconds([&] { runRequest(true, months); }));
            floor.push_back(milliseconds([&] { runStatement(kFloor, dayPeriod(months)); }));
            hand.push_back(milliseconds([&] { runStatement(kHandWritten, dayPeriod(months)); }));
        }
        printRow(name, lines, months, "daily", median(daily), median(floor), median(hand));
        printRow(name, lines, months, "monthly", median(monthly), median(floor), median(hand));
    }
}

Options parse(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--large") options.large = true;
        else if (arg == "--runs" && i + 1 < argc) options.runs = std::max(1, std::atoi(argv[++i]));
        else if (arg == "--postgres" && i + 1 < argc) options.postgresPort = std::atoi(argv[++i]);
        else throw std::runtime_error("usage: summary_bench [--large] [--runs N] [--postgres PORT]");
    }
    return options;
}

}  // namespace

// The preparation form needs an application object (QT_QPA_PLATFORM=offscreen where there
// is no display).
int main(int argc, char** argv) {
    QApplication app(argc, argv);
    int status = 0;
    try {
        const Options options = parse(argc, argv);
        std::printf("%-10s %5s %3s  %-7s %10s %9s %9s %10s %8s\n", "backend", "lines", "mon", "program", "request ms",
                    "floor ms", "hand ms", "req/floor", "req/hand");
        std::vector<long long> journals{1000000};
        if (options.large) journals.push_back(10000000);
        for (long long lines : journals) {
            measure(Backend::Sqlite, lines, options);
            if (options.postgresPort) measure(Backend::Postgres, lines, options);
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        status = 1;
    }
    engine::resetDatabases();
    fixture::releasePreparationForm();
    return status;
}
