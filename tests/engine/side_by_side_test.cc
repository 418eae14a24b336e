// A derived UNION ALL in the outermost FROM runs member by member on reader
// connections; the result must be the one statement's result, errors included.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <mutex>
#include <thread>

#include "engine/dialect.h"
#include "engine/error.h"
#include "engine/query.h"
#include "engine/reader_pool.h"
#include "backend.h"

namespace {

const char* const kSummary =
    "SELECT A.K, S = SUM(T.V), N = COUNT(*), NAME = RTRIM(A.NAME) FROM (\r\n"
    "  SELECT K = SUBSTRING(CODE,1,1) + '0', V = SUM(AMT) FROM LINES WHERE BR = :tbBr GROUP BY SUBSTRING(CODE,1,1) + '0'\r\n"
    "  UNION ALL SELECT K = CODE, V = SUM(AMT) FROM LINES WHERE BR = :tbBR GROUP BY CODE\r\n"
    "  UNION ALL SELECT K = 'Z9', V = SUM(ISNULL(AMT,0)) FROM LINES WHERE BR = :tbbr AND AMT > :tbMin\r\n"
    "  UNION ALL SELECT K = CODE + ' ', V = NULL FROM LINES WHERE BR = :tbBr\r\n"
    ") T, CODES A WHERE A.K = T.K GROUP BY A.K, A.NAME ORDER BY A.K";

class SideBySide : public BackendTest {
protected:
    void SetUp() override {
        BackendTest::SetUp();
        if (IsSkipped()) return;
        BackendTest::run(kTables);
    }
    static constexpr const char* kTables =
        "drop table if exists CODES; drop table if exists LINES;"
        "create table CODES (K TEXT(4), NAME TEXT(20));"
        "insert into CODES values ('10', '열  '), ('11', 'a'), ('12', 'b'), ('Z9', '합계');"
        "create table LINES (CODE TEXT(4), AMT numeric, BR TEXT(5));"
        "insert into LINES values ('11', 5, '00000'), ('11', 7, '00000'), ('12', null, '00000'),"
        "                         ('12', 3, '00001'), ('13', 9, '00000')";

    std::vector<std::string> run(const std::string& text) {
        engine::Query q;
        q.setText(text);
        q.paramByName("tbBr").setAsString("00000");
        q.paramByName("tbMin").setAsString("6");
        return selectRowsOf(q);
    }
    static std::vector<std::string> selectRowsOf(engine::Query& q) {
        q.open();
        std::vector<std::string> rows;
        for (q.first(); !q.eof(); q.next()) {
            std::string line;
            for (size_t c = 0; c < q.columnNames().size(); ++c) {
                std::string v = q.field(static_cast<int>(c)).isNull() ? std::string("<NULL>")
                                                                      : q.field(static_cast<int>(c)).asString();
                while (!v.empty() && v.back() == ' ') v.pop_back();
                line += (c ? "|" : "") + v;
            }
            rows.push_back(line);
        }
        return rows;
    }
};

INSTANTIATE_TEST_SUITE_P(Backends, SideBySide, BACKENDS);

TEST_P(SideBySide, TranslationOffersTheMembersAndTheOuterStatement) {
    const auto st = engine::translateStatement(kSummary, engine::SqlTarget::Sqlite);
    ASSERT_EQ(st.parts.size(), 4u);
    for (const auto& table : st.partTables) {
        EXPECT_NE(st.combined.find(table), std::string::npos);
        EXPECT_EQ(st.sql.find(table), std::string::npos);
    }
    // Every part binds by the statement's own numbering.
    EXPECT_NE(st.parts[2].find("?2"), std::string::npos);

    // Fewer members, a UNION that merges, or an ORDER BY inside: one statement only.
    EXPECT_TRUE(engine::translateStatement("SELECT * FROM (SELECT 1 UNION ALL SELECT 2) T", engine::SqlTarget::Sqlite)
                    .parts.empty());
    EXPECT_TRUE(engine::translateStatement("SELECT * FROM (SELECT 1 UNION ALL SELECT 2 UNION SELECT 3 UNION ALL "
                                           "SELECT 4 UNION ALL SELECT 5) T",
                                           engine::SqlTarget::Sqlite)
                    .parts.empty());
    EXPECT_TRUE(engine::translateStatement("SELECT * FROM (SELECT 1 UNION ALL SELECT 2 UNION ALL SELECT 3 UNION ALL "
                                           "SELECT 4 ORDER BY 1) T",
                                           engine::SqlTarget::Sqlite)
                    .parts.empty());
    EXPECT_TRUE(engine::translateStatement(
                    "INSERT INTO X SELECT * FROM (SELECT 1 UNION ALL SELECT 2 UNION ALL SELECT 3 UNION ALL SELECT 4) T",
                    engine::SqlTarget::Sqlite)
                    .parts.empty());
}

TEST_P(SideBySide, SameRowsAsTheSingleStatement) {
    const auto rows = run(kSummary);
    EXPECT_EQ(rows, (std::vector<std::string>{"10|21|1|열", "11|12|3|a", "12|<NULL>|2|b", "Z9|16|1|합계"}));
    if (postgres()) return;
    // The same statement on an in-memory database runs as one statement.
    test_backends::pointAliasAtSqlite(":memory:");
    engine::Query setup;
    for (const char* sql : {"create table CODES (K char(4) collate rtrim, NAME varchar(20) collate rtrim)",
                            "insert into CODES values ('10', '열  '), ('11', 'a'), ('12', 'b'), ('Z9', '합계')",
                            "create table LINES (CODE char(4) collate rtrim, AMT numeric, BR char(5) collate rtrim)",
                            "insert into LINES values ('11', 5, '00000'), ('11', 7, '00000'), ('12', null, '00000'),"
                            " ('12', 3, '00001'), ('13', 9, '00000')"}) {
        setup.setText(sql);
        setup.execSql();
    }
    EXPECT_EQ(run(kSummary), rows);
}

TEST_P(SideBySide, AFailingMemberFailsTheStatement) {
    const std::string broken = std::string(kSummary).replace(std::string(kSummary).find("FROM LINES WHERE BR = :tbbr"),
                                                             std::strlen("FROM LINES"), "FROM NO_SUCH");
    try {
        run(broken);
        FAIL();
    } catch (const engine::DatabaseError& e) {
        EXPECT_NE(std::string(e.what()).find("NO_SUCH"), std::string::npos) << e.what();
    }
    // The connection goes on serving statements.
    EXPECT_EQ(run(kSummary).size(), 4u);
}

// Members that only add up the same derived table's columns per join key share one part
// that sums them once; members counting rows, or adding a stand-in for NULL that is not
// zero, would change meaning and run on their own.
TEST_P(SideBySide, MembersSummingOneDerivedTableShareOnePart) {
    BackendTest::run("insert into LINES values ('12', 4, '00000')");
    const std::string derived = "(SELECT CODE, AMT = AMT, N = 1 FROM LINES WHERE BR = :tbBr AND :tbMin = :tbMin) RR";
    const std::string text =
        "SELECT T.K, S = SUM(T.S) FROM (\n"
        "SELECT K = A.K, S = SUM(RR.AMT) FROM CODES A, " + derived + " WHERE A.K = RR.CODE GROUP BY A.K\n"
        "UNION ALL SELECT K = 'Z9', S = SUM(ISNULL(RR.AMT, 0)) FROM CODES A, " + derived + " WHERE RR.CODE = A.K\n"
        "UNION ALL SELECT K = A.K, S = COUNT(*) FROM CODES A, " + derived + " WHERE A.K = RR.CODE GROUP BY A.K\n"
        "UNION ALL SELECT K = 'Z8', S = SUM(ISNULL(RR.AMT, 1)) FROM CODES A, " + derived + " WHERE A.K = RR.CODE\n"
        "UNION ALL SELECT K = A.K, S = SUM(N) FROM CODES A, " + derived + " WHERE A.K = RR.CODE AND A.NAME <> 'x' GROUP BY A.K\n"
        ") T GROUP BY T.K ORDER BY T.K";
    const auto st = engine::translateStatement(text, engine::SqlTarget::Sqlite);
    EXPECT_EQ(st.parts.size(), 3u);
    EXPECT_EQ(run(text), (std::vector<std::string>{"11|16", "12|8", "Z8|17", "Z9|16"}));
}

// Six members that each count the lines; a line posted by another connection before each
// member runs must reach all of them or none.
TEST_P(SideBySide, EveryMemberReadsOneStateOfTheDatabase) {
    std::string text = "SELECT T.K, N = SUM(T.N) FROM (";
    for (int m = 0; m < 6; ++m)
        text += std::string(m ? " UNION ALL " : "") + "SELECT K = '" + std::to_string(m) + "', N = COUNT(*) FROM LINES";
    text += ") T GROUP BY T.K ORDER BY T.K";
    std::mutex posting;
    engine::setSideBySideHook([&](size_t) {
        const std::lock_guard<std::mutex> one(posting);
        outside("insert into LINES values ('11', 1, '00000')");
    });
    struct Unhook { ~Unhook() { engine::setSideBySideHook({}); } } unhook;
    for (int round = 0; round < 2; ++round) {
        const auto rows = selectRows(text);
        const std::string lines = std::to_string(5 + 6 * round);
        ASSERT_EQ(rows.size(), 6u);
        for (int m = 0; m < 6; ++m) EXPECT_EQ(rows[static_cast<size_t>(m)], std::to_string(m) + "|" + lines);
    }
}

// The engine creates nothing on the server: no operator for text "+", no function, no
// table (temporary ones included), and keeps to its reader connections.
TEST_P(SideBySide, LeavesTheServerAsItFoundIt) {
    if (!postgres()) GTEST_SKIP() << "a server's catalog";
    const std::string objects =
        "SELECT (SELECT count(*) FROM pg_operator WHERE oprowner = r.oid) + (SELECT count(*) FROM pg_proc "
        "WHERE proowner = r.oid) + (SELECT count(*) FROM pg_class WHERE relowner = r.oid) FROM pg_roles r "
        "WHERE r.rolname = current_user";
    const std::string before = outside(objects);
    const std::string start = outside("SELECT clock_timestamp()");
    for (int round = 0; round < 3; ++round) {
        EXPECT_EQ(run(kSummary).size(), 4u);
        EXPECT_EQ(selectRows("SELECT K = CODE + BR, N = SUM(AMT + AMT) FROM LINES GROUP BY CODE + BR ORDER BY 1"),
                  (std::vector<std::string>{"1100000|24", "1200000|<NULL>", "1200001|6", "1300000|18"}));
    }
    EXPECT_EQ(outside(objects), before);
    EXPECT_EQ(outside("SELECT count(*) FROM pg_operator WHERE oprname = '+' AND oprleft = 'text'::regtype"), "0");
    const std::string sessions = outside("SELECT count(*) FROM pg_stat_activity WHERE datname = current_database() "
                                         "AND application_name = 'morvel' AND backend_start >= '" + start + "'");
    EXPECT_LE(std::stoi(sessions), static_cast<int>(1 + engine::kReaderConnections));
}

TEST(ReaderPool, ConnectionsThatDoNotOpenAreLeftOut) {
    std::atomic<int> tries{0};
    engine::ReaderPool<int> pool(4, [&] {
        if (tries++ % 2) throw engine::DatabaseError("too many connections");
        return std::make_unique<int>(7);
    });
    EXPECT_EQ(pool.readers().size(), 2u);
    EXPECT_EQ(pool.readers().size(), 2u);  // opened once, kept
    EXPECT_EQ(tries, 4);
    engine::ReaderPool<int> none(0, [] { return std::make_unique<int>(1); });
    EXPECT_TRUE(none.readers().empty());
}

TEST(ReaderPool, APoolThatGoesWhileItsConnectionsOpenStopsThemAndWaitsForThem) {
    std::atomic<int> stopped{0};
    const auto start = std::chrono::steady_clock::now();
    {
        engine::ReaderPool<int> pool(3, [&](std::stop_token stop) -> std::unique_ptr<int> {
            // An opening that would take half a minute unless it is asked to stop.
            for (int i = 0; i < 3000 && !stop.stop_requested(); ++i)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            ++stopped;
            throw engine::DatabaseError("stopped");
        });
    }
    EXPECT_EQ(stopped, 3);  // all ended before the pool was gone
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
}

}  // namespace
