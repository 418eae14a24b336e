// A temporary account database behind the alias "Account" for the summary tests:
// demo schema and chart, a journal, the work table prepared by the programs' preparation
// form, and the summary statements run through the engine.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "journal_generator.h"
#include "summary_model.h"
#include "test_backends.h"

namespace engine { class Query; }

namespace fixture {

using test_backends::Backend;

class SummaryDatabase {
public:
    // Creates the schema, the demo chart and `branches` branch rows in a fresh database (a
    // new SQLite file, or the emptied test database on the test PostgreSQL server) and
    // points the alias "Account" at it; with `monthIndexes` (SQLite) also the demo
    // database's indexes for the monthly statement. `postgresDatabase` names the
    // database on the test server (each test program has its own).
    explicit SummaryDatabase(Backend backend = Backend::SQLite, int branches = 3, bool monthIndexes = false,
                             std::string postgresDatabase = "morvel_summary_test");
    ~SummaryDatabase();
    SummaryDatabase(const SummaryDatabase&) = delete;
    SummaryDatabase& operator=(const SummaryDatabase&) = delete;

    const std::string& path() const { return path_; }

    void addJournal(const std::vector<demo::JournalLine>& lines);
    // Gathers the planner's statistics, as the demo database does (SQLite).
    void analyze();
    // Runs one statement through the engine (fixture changes to the tables).
    void exec(const std::string& sql);

    // Takes the work table from neutral to prepared (pRun_CodeUpdate).
    void prepare();

    // The work table as the summary reads it.
    std::vector<model::WorkRow> workTable();

    // Runs the daily (YYYY-MM-DD bounds) or monthly (YYYYMM bounds) statement.
    std::vector<model::SummaryRow> dailySummary(const std::string& first, const std::string& end,
                                                const std::string& branch);
    std::vector<model::SummaryRow> monthlySummary(const std::string& first, const std::string& end,
                                                  const std::string& branch);
    // The backend's plans of the statements that the monthly (or the daily) summary sends.
    std::vector<std::string> summaryPlans(bool monthly, const std::string& first, const std::string& end,
                                          const std::string& branch);

private:
    void useAlias();
    Backend backend_;
    std::string postgresDatabase_;
    std::filesystem::path dir_;
    std::string path_;
};

// The rows of an open summary query, from the first.
std::vector<model::SummaryRow> summaryRowsOf(engine::Query& query);

// One journal line for hand-made journals: a debit when `debit` > 0, a credit when
// `credit` > 0 (the other side NULL), SERIAL_CRDR "01"/"02", KUBUN_AMT "1".
demo::JournalLine line(const std::string& code, double debit, double credit, const std::string& date,
                       int voucher, const std::string& branch = "00000");

}  // namespace fixture
