// Times the summary's run request end to end (the work table's preparation, the summary
// statement, the clean-up) on the demo generator's journals, beside two references on the
// same lines: the floor (one GROUP BY of the period's lines per account) and a hand-written
// query of the same summary by conditional aggregation (per account, with the cash split).
// One table, side by side with the ratios, for 1e6 lines over two years (with --large also
// 1e7 lines over two years, and 1e7 lines in one year, a large office's), one and twelve
// months of the first branch, daily and monthly, on SQLite and, given a server,
// PostgreSQL. Each figure is the median of interleaved runs; work that failed (a statement
// the server stopped) is not repeated and its row says so. On PostgreSQL the join kinds of
// each statement the engine sends, and how each reads the journal (from the server's
// EXPLAIN), follow each row, so that a plan that turned to nested loops or subplans run
// per line shows.
//
//   summary_bench [--large] [--runs N] [--postgres PORT] [--journal NAME]
//
// --journal measures only the journal of that name (the table's "journal" column).
//
// The SQLite databases are made once and kept in MORVEL_BENCH_DIR (default
// /tmp/morvel_bench): 1e6 lines take half a minute, 1e7 several minutes. With --postgres
// the journals are copied once into databases "morvel_bench_<name>" of the server on
// 127.0.0.1:PORT, as user postgres (a throw-away server: scripts/test-postgres.sh start).

#include <libpq-fe.h>
#include <sqlite3.h>

#include <QApplication>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <regex>
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
    std::string journal;  // only the journal of this name, when given
};

std::string benchDir() {
    const char* dir = std::getenv("MORVEL_BENCH_DIR");
    return dir && *dir ? dir : "/tmp/morvel_bench";
}

// A generated journal of three branches, and the year its requests ask for.
struct Journal {
    std::string name;  // of its files and server databases
    demo::JournalOptions options;
    std::string year;
};

Journal journal(long long lines, const std::string& from, const std::string& to, std::uint64_t seed,
                const std::string& year, const std::string& suffix = "") {
    demo::JournalOptions options;
    options.lines = lines;
    options.branches = 3;
    options.from = from;
    options.to = to;
    options.seed = seed;
    return {std::to_string(lines) + suffix, options, year};
}

// The demo database of a journal, made when missing.
std::string sqlitePath(const Journal& journal) {
    const std::string path = benchDir() + "/account_" + journal.name + ".db";
    if (!fs::exists(path)) {
        fs::create_directories(benchDir());
        std::fprintf(stderr, "making %s ...\n", path.c_str());
        demo::createDemoDatabase(path, journal.options);
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

// The server's copy of a journal's demo database, made when missing.
std::string postgresDatabase(int port, const Journal& journal) {
    const std::string name = "morvel_bench_" + journal.name;
    PGconn* admin = PQconnectdb(serverInfo(port, "postgres").c_str());
    if (PQstatus(admin) != CONNECTION_OK) throw std::runtime_error(PQerrorMessage(admin));
    PGresult* found = exec(admin, "SELECT 1 FROM pg_database WHERE datname = '" + name + "'");
    const bool exists = PQntuples(found) > 0;
    PQclear(found);
    if (!exists) {
        std::fprintf(stderr, "copying %lld lines to the server ...\n", journal.options.lines);
        PQclear(exec(admin, "CREATE DATABASE " + name));
        PGconn* conn = PQconnectdb(serverInfo(port, name).c_str());
        sqlite3* db = nullptr;
        sqlite3_open_v2(sqlitePath(journal).c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
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
// cash line when its voucher has a line of the cash account, found by joining the period's
// lines to the cash vouchers' keys.
const std::vector<std::string> kHandWritten = {
    "SELECT AC_JENCODE, CR01 = SUM(CASE WHEN C.VOUCHER IS NULL THEN CR_AMT ELSE 0 END),",
    "       CR01_CASH = SUM(CASE WHEN C.VOUCHER IS NULL THEN 0 ELSE CR_AMT END),",
    "       DR01_CASH = SUM(CASE WHEN C.VOUCHER IS NULL THEN 0 ELSE DR_AMT END),",
    "       DR01 = SUM(CASE WHEN C.VOUCHER IS NULL THEN DR_AMT ELSE 0 END)",
    "FROM ACCOUNT_JEN_AA L",
    "     LEFT JOIN (SELECT DISTINCT VOUCHER = SERIAL_JEN + SERIAL_BUN FROM ACCOUNT_JEN_AA",
    "                WHERE KUBUN_AMT <> '0' AND AC_JENCODE = '10101001000' AND KUBUN_BON = :tbKubun_Bon",
    "                  AND DATE_DAY BETWEEN :tbFirst_Day AND :tbEnd_Day) C",
    "     ON C.VOUCHER = L.SERIAL_JEN + L.SERIAL_BUN",
    "WHERE SERIAL_CRDR IN ('01','02') AND KUBUN_AMT <> '0' AND KUBUN_BON = :tbKubun_Bon",
    "  AND DATE_DAY BETWEEN :tbFirst_Day AND :tbEnd_Day",
    "GROUP BY AC_JENCODE"};

// Points the alias "Account" at a journal and starts up as a program does.
void useDatabase(Backend backend, const Journal& journal, const Options& options) {
    engine::resetDatabases();
    engine::AliasConfig config;
    if (backend == Backend::Sqlite) {
        config.driver = "sqlite";
        config.path = sqlitePath(journal);
    } else {
        config.driver = "postgres";
        config.host = "127.0.0.1";
        config.port = options.postgresPort;
        config.databaseName = postgresDatabase(options.postgresPort, journal);
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

// One month (March) and twelve months of a year, as each program writes its period.
Period dayPeriod(int months, const std::string& year) {
    return months == 1 ? Period{year + "-03-01", year + "-03-31"} : Period{year + "-01-01", year + "-12-31"};
}
Period monthPeriod(int months, const std::string& year) {
    return months == 1 ? Period{year + "03", year + "03"} : Period{year + "01", year + "12"};
}

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

engine::Query& withPeriod(const std::vector<std::string>& lines, const Period& period) {
    engine::Query& query = heldQuery(lines);
    query.close();
    query.paramByName("tbFirst_Day").setAsString(period.first);
    query.paramByName("tbEnd_Day").setAsString(period.end);
    query.paramByName("tbKubun_Bon").setAsString("00000");
    return query;
}

long long runStatement(const std::vector<std::string>& lines, const Period& period) {
    engine::Query& query = withPeriod(lines, period);
    query.open();
    return query.recordCount();
}

// The run request: preparation of the work table, the summary, the clean-up (also when
// the summary fails).
void runRequest(bool monthly, int months, const std::string& year) {
    fixture::prepareWorkTable();
    try {
        if (monthly) runStatement(monthly::summaryStatementLines(), monthPeriod(months, year));
        else runStatement(daily::summaryStatementLines(), dayPeriod(months, year));
    } catch (...) {
        fixture::cleanUpWorkTable();
        throw;
    }
    fixture::cleanUpWorkTable();
}

// What a plan does, node kinds in plan order with their counts: its joins ("Hash Join",
// "Nested Loop", "hashed SubPlan" or a plain "SubPlan" run per row) and how it reads the
// journal ("Index Only Scan", "Seq Scan", ...).
std::string planKinds(const std::string& plan) {
    static const std::regex join(R"(((Hash|Merge)( Semi| Anti| Left| Right| Full)? Join|Nested Loop( Semi| Anti| Left| Right| Full)?( Join)?))");
    static const std::regex subPlan(R"(\n\s*SubPlan (\d+))");
    static const std::regex journalScan(R"(((Parallel )?(Seq Scan|Index Only Scan|Index Scan|Bitmap Heap Scan))( using \w+)? on account_jen_aa)");
    auto listed = [](const std::vector<std::string>& kinds) {
        std::vector<std::string> order;
        std::map<std::string, int> counts;
        for (const auto& kind : kinds)
            if (!counts[kind]++) order.push_back(kind);
        std::string text;
        for (const auto& kind : order)
            text += (text.empty() ? "" : ", ") + kind + (counts[kind] > 1 ? " x" + std::to_string(counts[kind]) : "");
        return text.empty() ? std::string("none") : text;
    };
    std::vector<std::string> joins, scans;
    for (auto it = std::sregex_iterator(plan.begin(), plan.end(), join); it != std::sregex_iterator(); ++it)
        joins.push_back((*it)[1]);
    for (auto it = std::sregex_iterator(plan.begin(), plan.end(), subPlan); it != std::sregex_iterator(); ++it)
        joins.push_back(plan.find("hashed SubPlan " + (*it)[1].str()) != std::string::npos ? "hashed SubPlan" : "SubPlan");
    for (auto it = std::sregex_iterator(plan.begin(), plan.end(), journalScan); it != std::sregex_iterator(); ++it)
        scans.push_back((*it)[1]);
    return listed(joins) + " / journal: " + listed(scans);
}

// The join kinds of each statement the engine sends for a summary (on the prepared work
// table), and how each reads the journal.
void printJoinKinds(const char* program, const std::vector<std::string>& lines, const Period& period) {
    fixture::prepareWorkTable();
    const std::vector<std::string> plans = withPeriod(lines, period).plans();
    fixture::cleanUpWorkTable();
    std::printf("%29s joins:", program);
    for (size_t i = 0; i < plans.size(); ++i) std::printf("%s %zu) %s", i ? ";" : "", i + 1, planKinds(plans[i]).c_str());
    std::printf("\n");
    std::fflush(stdout);
}
double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The times of one kind of work; work that failed once is not repeated, and its row says
// why instead.
struct Timings {
    explicit Timings(std::string what) : what(std::move(what)) {}
    std::string what;
    std::vector<double> times;
    std::string failure;

    void add(const std::function<void()>& work) {
        if (!failure.empty()) return;
        const auto start = std::chrono::steady_clock::now();
        try {
            work();
            times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        } catch (const std::exception& e) {
            const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            failure = what + " failed after " + std::to_string(static_cast<int>(seconds)) + " s: " + e.what();
        }
    }
    double median() const { return times.empty() ? std::nan("") : ::median(times); }
};

void printRow(const char* backend, const Journal& journal, int months, const char* program, const Timings& request,
              const Timings& floor, const Timings& hand) {
    std::printf("%-10s %-13s %3d  %-7s %10.1f %9.1f %9.1f %9.1fx %7.2fx\n", backend, journal.name.c_str(), months,
                program, request.median(), floor.median(), hand.median(), request.median() / floor.median(),
                request.median() / hand.median());
    for (const Timings* t : {&request, &floor, &hand})
        if (!t->failure.empty()) std::printf("%29s %s\n", "", t->failure.c_str());
    std::fflush(stdout);
}

// The table's rows of one backend and journal.
void measure(Backend backend, const Journal& journal, const Options& options) {
    const char* name = backend == Backend::Sqlite ? "SQLite" : "PostgreSQL";
    const std::string& year = journal.year;
    useDatabase(backend, journal, options);
    // The first request after start-up (the reader connections opening on the way), then
    // the repeated; the statement alone and the whole request.
    std::vector<double> statement, request;
    for (int r = 0; r <= options.runs; ++r) {
        request.push_back(milliseconds([&] {
            fixture::prepareWorkTable();
            statement.push_back(milliseconds([&] { runStatement(daily::summaryStatementLines(), dayPeriod(1, year)); }));
            fixture::cleanUpWorkTable();
        }));
    }
    const double firstStatement = statement.front(), firstRequest = request.front();
    statement.erase(statement.begin());
    request.erase(request.begin());
    std::printf("%-10s %-13s first daily 1-month request after start-up: statement %.1f ms (repeated %.1f, %.2fx), "
                "request %.1f ms (repeated %.1f, %.2fx)\n",
                name, journal.name.c_str(), firstStatement, median(statement), firstStatement / median(statement),
                firstRequest, median(request), firstRequest / median(request));
    for (int months : {1, 12}) {
        Timings daily("request"), monthly("request"), floor("floor"), hand("hand-written query");
        for (int r = 0; r < options.runs; ++r) {
            daily.add([&] { runRequest(false, months, year); });
            monthly.add([&] { runRequest(true, months, year); });
            floor.add([&] { runStatement(kFloor, dayPeriod(months, year)); });
            hand.add([&] { runStatement(kHandWritten, dayPeriod(months, year)); });
        }
        printRow(name, journal, months, "daily", daily, floor, hand);
        if (backend == Backend::Postgres)
            printJoinKinds("daily", daily::summaryStatementLines(), dayPeriod(months, year));
        printRow(name, journal, months, "monthly", monthly, floor, hand);
        if (backend == Backend::Postgres)
            printJoinKinds("monthly", monthly::summaryStatementLines(), monthPeriod(months, year));
    }
}

Options parse(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--large") options.large = true;
        else if (arg == "--runs" && i + 1 < argc) options.runs = std::max(1, std::atoi(argv[++i]));
        else if (arg == "--postgres" && i + 1 < argc) options.postgresPort = std::atoi(argv[++i]);
        else if (arg == "--journal" && i + 1 < argc) options.journal = argv[++i];
        else throw std::runtime_error("usage: summary_bench [--large] [--runs N] [--postgres PORT] [--journal NAME]");
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
        std::printf("%-10s %-13s %3s  %-7s %10s %9s %9s %10s %8s\n", "backend", "journal", "mon", "program",
                    "request ms", "floor ms", "hand ms", "req/floor", "req/hand");
        std::vector<Journal> journals{journal(1000000, "2025-01-01", "2026-12-31", 1, "2025")};
        if (options.large) {
            journals.push_back(journal(10000000, "2025-01-01", "2026-12-31", 1, "2025"));
            journals.push_back(journal(10000000, "2026-01-01", "2026-12-31", 7, "2026", "_2026"));
        }
        for (const Journal& journal : journals) {
            if (!options.journal.empty() && journal.name != options.journal) continue;
            measure(Backend::Sqlite, journal, options);
            if (options.postgresPort) measure(Backend::Postgres, journal, options);
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        status = 1;
    }
    engine::resetDatabases();
    fixture::releasePreparationForm();
    return status;
}
