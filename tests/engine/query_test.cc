#include <gtest/gtest.h>

#include "engine/database.h"
#include "engine/error.h"
#include "engine/query.h"
#include "engine/trace.h"
#include "temp_database.h"

using engine::DatabaseError;
using engine::parseParamNames;
using engine::Query;

TEST(ParamParsing, NamesEndAtTheListedCharacters) {
    EXPECT_EQ(parseParamNames("a = :x, b = :y; c in (:z) and d = :w\r\n"),
              (std::vector<std::string>{"x", "y", "z", "w"}));
    // '+', '=' and '-' do not end a name; a blank, comma, semicolon or ')' does.
    EXPECT_EQ(parseParamNames(":a+:b :c"), (std::vector<std::string>{"a+:b", "c"}));
}

TEST(ParamParsing, ColonsThatStartNothing) {
    EXPECT_EQ(parseParamNames("select '10:30', \"a:b\" from t where x = :p"), (std::vector<std::string>{"p"}));
    EXPECT_TRUE(parseParamNames("select a::int, ': ' from t").empty());
    EXPECT_TRUE(parseParamNames("select 1 -- comment :nope\r\n").empty());
    EXPECT_TRUE(parseParamNames("x = : y").empty());
}

TEST(ParamParsing, RepeatedNamesInDifferentCaseShareOneValue) {
    TempDatabase db;
    Query q;
    q.sql().add("select :tbKubun_Bon as a, :tbKUBUN_BON as b, :tbkubun_bon || 'x' as c");
    ASSERT_EQ(q.params().size(), 3u);
    q.paramByName("TBKUBUN_BON").setAsString("00001");
    for (const auto& p : q.params()) EXPECT_EQ(p.asString(), "00001");
    q.open();
    EXPECT_EQ(q.fieldByName("A").asString(), "00001");
    EXPECT_EQ(q.fieldByName("b").asString(), "00001");
    EXPECT_EQ(q.fieldByName("C").asString(), "00001x");
}

TEST(QueryErrors, UnknownParameterAndFieldMessages) {
    Query q;
    q.sql().add("select :a");
    try {
        q.paramByName("tbNone");
        FAIL();
    } catch (const DatabaseError& e) {
        EXPECT_STREQ(e.what(), "Parameter 'tbNone' not found");
    }
}

TEST(QueryErrors, CancelledLoginFailsTheStatement) {
    TempDatabase db;
    engine::AliasConfig cfg;
    cfg.path = db.path();
    cfg.userName = "clerk";
    engine::databaseForAlias("Account").setConfig(cfg);
    std::string askedFor;
    engine::setLoginHandler([&](engine::LoginRequest& r) {
        askedFor = r.database + "/" + r.userName;
        return false;
    });
    Query q;
    q.sql().add("select 1");
    try {
        q.open();
        FAIL();
    } catch (const DatabaseError& e) {
        EXPECT_STREQ(e.what(), "Cannot connect to database 'Account'");
    }
    EXPECT_EQ(askedFor, "Account/clerk");
    EXPECT_FALSE(q.active());

    engine::setLoginHandler([](engine::LoginRequest& r) { r.password = std::string(40, 'p'); return true; });
    q.open();
    EXPECT_EQ(q.recordCount(), 1);
    engine::setLoginHandler({});
}

TEST(QueryErrors, FailingStatementLeavesEarlierOnesInEffect) {
    TempDatabase db;
    db.raw("create table T (K char(12) collate rtrim primary key)");
    Query q;
    q.sql().add("insert into T (K) values (:tbK)");
    q.paramByName("tbK").setAsString("A");
    q.execSql();
    q.paramByName("tbK").setAsString("B");
    q.execSql();
    q.paramByName("tbK").setAsString("A ");  // equal to "A" once trailing blanks are ignored
    try {
        q.execSql();
        FAIL();
    } catch (const DatabaseError& e) {
        EXPECT_NE(std::string(e.what()).find("UNIQUE"), std::string::npos) << e.what();
        EXPECT_EQ(e.statement(), "insert into T (K) values (:tbK)\r\n");
        ASSERT_EQ(e.params().size(), 1u);
        EXPECT_EQ(e.params()[0].second, "A ");
    }
    EXPECT_EQ(selectRows("select count(*) from T"), (std::vector<std::string>{"2"}));
}

TEST(QueryRows, OpenFirstNextEofAndCounts) {
    TempDatabase db;
    Query q;
    EXPECT_EQ(q.recordCount(), 0);
    EXPECT_TRUE(q.eof());
    q.setText("select 1 as n union all select 2 union all select null");
    q.open();
    EXPECT_TRUE(q.active());
    EXPECT_EQ(q.recordCount(), 3);
    std::vector<std::string> seen;
    for (q.first(); !q.eof(); q.next()) seen.push_back(q.fieldByName("N").isNull() ? "null" : q.fieldByName("n").asString());
    EXPECT_EQ(seen, (std::vector<std::string>{"1", "2", "null"}));
    EXPECT_THROW(q.fieldByName("missing"), DatabaseError);
    q.close();
    EXPECT_EQ(q.recordCount(), 0);

    q.setText("select 1 as n where 1 = 0");
    q.open();
    EXPECT_EQ(q.recordCount(), 0);
    EXPECT_TRUE(q.eof());
    EXPECT_TRUE(q.fieldByName("n").isNull());
}

TEST(QueryRows, ListenersFollowOpenAndCloseUnlessDisabled) {
    TempDatabase db;
    Query q;
    q.setText("select 1 as n");
    int heard = 0;
    q.addListener([&] { ++heard; });
    q.open();
    EXPECT_EQ(heard, 1);
    q.disableControls();
    q.close();
    q.open();
    EXPECT_EQ(heard, 1);
    q.enableControls();
    EXPECT_EQ(heard, 2);
}

TEST(Trace, RecordsTextSentParamsAndRows) {
    TempDatabase db;
    std::vector<engine::TraceEntry> entries;
    auto previous = engine::setTraceSink([&](const engine::TraceEntry& e) { entries.push_back(e); });
    const std::string file = db.path() + ".trace";
    ::setenv("MORVEL_SQL_TRACE", file.c_str(), 1);
    Query q;
    q.sql().add("  Select  :tbA  AS  X  ");
    q.sql().add("  Where  1 = 1");
    q.paramByName("tbA").setAsString("v ");
    q.open();
    ::unsetenv("MORVEL_SQL_TRACE");
    engine::setTraceSink(previous);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].text, "  Select  :tbA  AS  X  \r\n  Where  1 = 1\r\n");
    EXPECT_EQ(entries[0].sent.find("?1"), 7u);
    EXPECT_EQ(entries[0].params, (std::vector<std::pair<std::string, std::string>>{{"tbA", "v "}}));
    EXPECT_EQ(entries[0].rows, 1);
    EXPECT_TRUE(std::filesystem::exists(file));
    std::filesystem::remove(file);
}
