#include "summary_fixture.h"

#include <sqlite3.h>

#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <cstdio>
#include <functional>
#include <stdexcept>

#include "DAY_MORVEL_summary_sql.h"
#include "MONTH_MORVEL_summary_sql.h"
#include "demo_chart.h"
#include "demo_database.h"
#include "engine/database.h"
#include "engine/query.h"
#include "work_table_prep.h"

namespace fixture {
namespace {

std::string trimmed(std::string text) {
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
}

std::optional<std::string> text(const engine::FieldValue& field) {
    return field.isNull() ? std::nullopt : std::optional(field.asString());
}

std::optional<double> amount(const engine::FieldValue& field) {
    return field.isNull() ? std::nullopt : std::optional(field.asFloat());
}

void setSummary(engine::Query& query, const std::vector<std::string>& lines, const std::string& first,
                const std::string& end, const std::string& branch) {
    for (const std::string& l : lines) query.sql().add(l);
    query.paramByName("tbFirst_Day").setAsString(first);
    query.paramByName("tbEnd_Day").setAsString(end);
    query.paramByName("tbKubun_Bon").setAsString(branch);
}

std::vector<model::SummaryRow> runSummary(const std::vector<std::string>& lines, const std::string& first,
                                          const std::string& end, const std::string& branch) {
    engine::Query query;
    setSummary(query, lines, first, end, branch);
    query.open();
    return summaryRowsOf(query);
}

void withConnection(const std::string& path, const std::function<void(sqlite3*)>& work) {
    sqlite3* db = nullptr;
    if (sqlite3_open(path.c_str(), &db) != SQLITE_OK) {
        sqlite3_close(db);
        throw std::runtime_error("cannot open " + path);
    }
    try {
        demo::execute(db, "BEGIN");
        work(db);
        demo::execute(db, "COMMIT");
    } catch (...) {
        sqlite3_close(db);
        throw;
    }
    sqlite3_close(db);
}

void setText(engine::Query& query, const std::string& name, const std::optional<std::string>& value) {
    if (value) query.paramByName(name).setAsString(*value); else query.paramByName(name).clear();
}

void setAmount(engine::Query& query, const std::string& name, const std::optional<double>& value) {
    if (value) query.paramByName(name).setAsString(std::to_string(static_cast<long long>(*value)));
    else query.paramByName(name).clear();
}

// The demo chart, branches and journal lines through the engine, one insert each (the
// PostgreSQL test server; journals there stay small).
void insertChartRows() {
    engine::Query query;
    query.setText("INSERT INTO Test_Ac_Code (Serial_No, Code_Kubun, A_Kubun, B_Kubun, C_Kubun, D_Kubun, E_Kubun,\n"
                  " Ac_Code, Ac_Name, Ac_Name_SiSan, Ac_Name_Gita, Jan_Check, The_Code, Code_MoveCode,\n"
                  " Code_TwoMove, Code_ThreeMove) VALUES (:serial, '1', :a, :b, :c, :d, :e, :code, :title,\n"
                  " :title, :title, '99', :filler, :filler, :filler, :filler)");
    int serial = 0;
    for (const demo::ChartAccount& account : demo::chartAccounts()) {
        const std::string code = account.code;
        query.paramByName("serial").setAsString(std::to_string(++serial));
        query.paramByName("a").setAsString(code.substr(0, 1));
        query.paramByName("b").setAsString(code.substr(1, 2));
        query.paramByName("c").setAsString(code.substr(3, 2));
        query.paramByName("d").setAsString(code.substr(5, 3));
        query.paramByName("e").setAsString(code.substr(8, 3));
        query.paramByName("code").setAsString(code + " ");
        query.paramByName("title").setAsString(account.title);
        query.paramByName("filler").setAsString("123456789012");
        query.execSql();
    }
}

void insertBranchRows(int branches) {
    engine::Query query;
    query.setText("INSERT INTO Kubun_Table (Kubun_Code, Kubun_Name, Kubun_JangSo) VALUES (:code, :name, :place)");
    for (int i = 0; i < branches; ++i) {
        const demo::BranchRow row = demo::branchRow(i);
        query.paramByName("code").setAsString(row.code);
        query.paramByName("name").setAsString(row.name);
        query.paramByName("place").setAsString(row.place);
        query.execSql();
    }
}

void insertJournalRows(const std::vector<demo::JournalLine>& lines) {
    engine::Query query;
    query.setText("INSERT INTO ACCOUNT_JEN_AA (AC_JENCODE, CR_AMT, DR_AMT, SERIAL_CRDR, KUBUN_AMT, KUBUN_BON,\n"
                  " DATE_DAY, YEAR_CHAR, MONTH_CHAR, SERIAL_JEN, SERIAL_BUN) VALUES (:code, :cr, :dr, :crdr,\n"
                  " :kind, :bon, :day, :year, :month, :jen, :bun)");
    for (const demo::JournalLine& l : lines) {
        query.paramByName("code").setAsString(l.acJenCode);
        setAmount(query, "cr", l.crAmt);
        setAmount(query, "dr", l.drAmt);
        setText(query, "crdr", l.serialCrdr);
        setText(query, "kind", l.kubunAmt);
        query.paramByName("bon").setAsString(l.kubunBon);
        query.paramByName("day").setAsString(l.dateDay);
        query.paramByName("year").setAsString(l.yearChar);
        query.paramByName("month").setAsString(l.monthChar);
        query.paramByName("jen").setAsString(l.serialJen);
        query.paramByName("bun").setAsString(l.serialBun);
        query.execSql();
    }
}

}  // namespace

std::vector<model::SummaryRow> summaryRowsOf(engine::Query& query) {
    std::vector<model::SummaryRow> rows;
    for (query.first(); !query.eof(); query.next()) {
        rows.push_back({trimmed(query.fieldByName("AC_CODE").asString()), text(query.fieldByName("AC_NAME")),
                        amount(query.fieldByName("CR00")), amount(query.fieldByName("CR01")),
                        amount(query.fieldByName("CR01_CASH")), amount(query.fieldByName("DR01_CASH")),
                        amount(query.fieldByName("DR01")), amount(query.fieldByName("DR00"))});
    }
    return rows;
}

SummaryDatabase::SummaryDatabase(Backend backend, int branches, bool monthIndexes, std::string postgresDatabase)
    : backend_(backend), postgresDatabase_(std::move(postgresDatabase)) {
    if (backend_ == Backend::PostgreSQL) {
        useAlias();
        for (const char* table : {"Test_Ac_Code", "ACCOUNT_JEN_AA", "Kubun_Table"}) {
            exec(std::string("DROP TABLE IF EXISTS ") + table);
        }
        for (const std::string& statement : demo::schemaStatements(demo::postgresSchemaSql())) exec(statement);
        insertChartRows();
        insertBranchRows(branches);
        return;
    }
    static std::atomic<int> counter{0};
    dir_ = std::filesystem::temp_directory_path() /
           ("morvel_summary_" + std::to_string(::getpid()) + "_" + std::to_string(counter++));
    std::filesystem::remove_all(dir_);  // left by an earlier program with this process id
    std::filesystem::create_directories(dir_);
    path_ = (dir_ / "account.db").string();
    withConnection(path_, [&](sqlite3* db) {
        demo::createSchema(db);
        demo::insertChart(db);
        demo::insertBranches(db, branches);
        if (monthIndexes) demo::addMonthIndexes(db);
    });
    useAlias();
}

SummaryDatabase::~SummaryDatabase() {
    test_backends::releaseAlias();
    if (!dir_.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
    }
}

void SummaryDatabase::useAlias() {
    if (backend_ == Backend::PostgreSQL) test_backends::pointAliasAtPostgres(postgresDatabase_);
    else test_backends::pointAliasAtSqlite(path_);
}

void SummaryDatabase::addJournal(const std::vector<demo::JournalLine>& lines) {
    if (backend_ == Backend::PostgreSQL) {
        insertJournalRows(lines);
        return;
    }
    // Bulk lines go in through a connection of their own, in one transaction.
    engine::resetDatabases();
    withConnection(path_, [&](sqlite3* db) { demo::insertJournal(db, lines); });
    useAlias();
}

void SummaryDatabase::analyze() {
    if (backend_ == Backend::SQLite) exec("ANALYZE");
}

void SummaryDatabase::exec(const std::string& sql) {
    engine::Query query;
    query.setText(sql);
    query.execSql();
}

void SummaryDatabase::prepare() { prepareWorkTable(); }

std::vector<model::WorkRow> SummaryDatabase::workTable() {
    engine::Query query;
    query.sql().add("SELECT Ac_Code, Ac_Name_SiSan, Jan_Check, Code_MoveCode, A_Kubun, B_Kubun FROM Test_Ac_Code");
    query.open();
    std::vector<model::WorkRow> rows;
    for (query.first(); !query.eof(); query.next()) {
        rows.push_back({query.fieldByName("Ac_Code").asString(), text(query.fieldByName("Ac_Name_SiSan")),
                        text(query.fieldByName("Jan_Check")), text(query.fieldByName("Code_MoveCode")),
                        text(query.fieldByName("A_Kubun")), text(query.fieldByName("B_Kubun"))});
    }
    return rows;
}

std::vector<model::SummaryRow> SummaryDatabase::dailySummary(const std::string& first, const std::string& end,
                                                             const std::string& branch) {
    return runSummary(daily::summaryStatementLines(), first, end, branch);
}

std::vector<model::SummaryRow> SummaryDatabase::monthlySummary(const std::string& first, const std::string& end,
                                                               const std::string& branch) {
    return runSummary(monthly::summaryStatementLines(), first, end, branch);
}

std::vector<std::string> SummaryDatabase::summaryPlans(bool monthly, const std::string& first, const std::string& end,
                                                      const std::string& branch) {
    engine::Query query;
    setSummary(query, monthly ? monthly::summaryStatementLines() : daily::summaryStatementLines(), first, end, branch);
    return query.plans();
}

demo::JournalLine line(const std::string& code, double debit, double credit, const std::string& date,
                       int voucher, const std::string& branch) {
    demo::JournalLine l;
    l.acJenCode = code;
    if (debit > 0) l.crAmt = debit;
    if (credit > 0) l.drAmt = credit;
    l.serialCrdr = debit > 0 ? "01" : "02";
    l.kubunAmt = "1";
    l.kubunBon = branch;
    l.dateDay = date;
    l.yearChar = date.substr(0, 4);
    l.monthChar = date.substr(5, 2);
    l.serialJen = date.substr(0, 4) + date.substr(5, 2) + date.substr(8, 2);
    char bun[16];
    std::snprintf(bun, sizeof bun, "%05d", voucher);
    l.serialBun = bun;
    return l;
}

}  // namespace fixture
