// Times the summary statements through the engine on demo databases of 1e5 and 1e6 journal
// lines (3 branches, 2025-2026), for one month and twelve months of the busiest branch,
// beside a plain scan of the same lines (the floor), and the 429 single statements of an
// account-code preparation.
//
// The databases are made once and kept in MORVEL_BENCH_DIR (default /tmp/morvel_bench);
// making the 1e6 one takes about half a minute.

#include <benchmark/benchmark.h>

#include <QApplication>

#include <cstdlib>
#include <filesystem>
#include <map>
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

std::string benchDir() {
    const char* dir = std::getenv("MORVEL_BENCH_DIR");
    return dir && *dir ? dir : "/tmp/morvel_bench";
}

// Points the alias "Account" at the demo database of `lines` lines, making it when missing,
// with the work table in the state the summary needs (`prepared`) or neutral.
void useDatabase(long long lines, bool prepared) {
    static long long current = -1;
    static bool currentPrepared = false;
    if (current == lines && currentPrepared == prepared) return;
    const std::string path = benchDir() + "/account_" + std::to_string(lines) + ".db";
    if (!fs::exists(path)) {
        fs::create_directories(benchDir());
        demo::JournalOptions options;
        options.lines = lines;
        options.branches = 3;
        options.from = "2025-01-01";
        options.to = "2026-12-31";
        options.seed = 1;
        demo::createDemoDatabase(path, options);
    }
    engine::resetDatabases();
    engine::AliasConfig config;
    config.driver = "sqlite";
    config.path = path;
    engine::databaseForAlias("Account").setConfig(config);
    fixture::cleanUpWorkTable();
    if (prepared) fixture::prepareWorkTable();
    current = lines;
    currentPrepared = prepared;
}

struct Period {
    std::string first, end;
};

// One month and twelve months of 2025, as each program writes its period.
Period dayPeriod(int months) { return months == 1 ? Period{"2025-03-01", "2025-03-31"} : Period{"2025-01-01", "2025-12-31"}; }
Period monthPeriod(int months) { return months == 1 ? Period{"202503", "202503"} : Period{"202501", "202512"}; }

void runStatement(benchmark::State& state, const std::vector<std::string>& lines, const Period& period) {
    engine::Query query;
    for (const std::string& l : lines) query.sql().add(l);
    long long rows = 0;
    for (auto _ : state) {
        query.close();
        query.paramByName("tbFirst_Day").setAsString(period.first);
        query.paramByName("tbEnd_Day").setAsString(period.end);
        query.paramByName("tbKubun_Bon").setAsString("00000");
        query.open();
        rows = query.recordCount();
    }
    state.counters["rows"] = static_cast<double>(rows);
}

void DailySummary(benchmark::State& state) {
    useDatabase(state.range(0), true);
    runStatement(state, daily::summaryStatementLines(), dayPeriod(static_cast<int>(state.range(1))));
}

void MonthlySummary(benchmark::State& state) {
    useDatabase(state.range(0), true);
    runStatement(state, monthly::summaryStatementLines(), monthPeriod(static_cast<int>(state.range(1))));
}

// The floor: one pass over the branch's lines of the period.
void PeriodScan(benchmark::State& state) {
    useDatabase(state.range(0), true);
    runStatement(state,
                 {"SELECT CR00 = SUM(CR_AMT), DR00 = SUM(DR_AMT), LINES = COUNT(*)", "FROM ACCOUNT_JEN_AA",
                  "WHERE KUBUN_BON = :tbKubun_Bon AND DATE_DAY BETWEEN :tbFirst_Day AND :tbEnd_Day"},
                 dayPeriod(static_cast<int>(state.range(1))));
}

// The preparation form's 429 single statements (inserts and updates of the work table),
// each on its own; the clean-up between iterations is not timed.
void Preparation429(benchmark::State& state) {
    useDatabase(state.range(0), false);
    for (auto _ : state) {
        fixture::prepareWorkTable();
        state.PauseTiming();
        fixture::cleanUpWorkTable();
        state.ResumeTiming();
    }
}

void periods(benchmark::internal::Benchmark* b) {
    for (long long lines : {100000LL, 1000000LL}) {
        for (long long months : {1LL, 12LL}) b->Args({lines, months});
    }
    b->ArgNames({"lines", "months"})->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
}

BENCHMARK(PeriodScan)->Apply(periods);
BENCHMARK(DailySummary)->Apply(periods);
BENCHMARK(MonthlySummary)->Apply(periods);
BENCHMARK(Preparation429)->Arg(100000)->ArgName("lines")->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

// The preparation form needs an application object (run with QT_QPA_PLATFORM=offscreen
// where there is no display).
int main(int argc, char** argv) {
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    fixture::releasePreparationForm();
    return 0;
}
