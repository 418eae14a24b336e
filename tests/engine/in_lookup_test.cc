// `x [NOT] IN (SELECT ..)` whose subquery stands alone is answered from rows read once
// per statement on SQLite; the answers must be SQL's own, NULLs and trailing blanks
// included, and PostgreSQL must give the same.
#include <gtest/gtest.h>

#include "engine/dialect.h"
#include "backend.h"

namespace {

using Rows = std::vector<std::string>;

class InLookup : public BackendTest {
protected:
    void SetUp() override {
        BackendTest::SetUp();
        if (IsSkipped()) return;
        run("drop table if exists PROBES; drop table if exists KEYS;"
            "create table PROBES (ID numeric, G TEXT(2), A TEXT(4), B TEXT(4), N numeric);"
            "insert into PROBES values (1, 'x', 'ab', 'c', 1);"
            "insert into PROBES values (2, 'x', 'ab', 'c  ', 2.5);"
            "insert into PROBES values (3, 'y', 'zz', 'z', 3);"
            "insert into PROBES values (4, 'y', null, 'c', null);"
            "insert into PROBES values (5, 'x', 'a', 'bd', 7);"
            "create table KEYS (G TEXT(2), A TEXT(4), B TEXT(4), N numeric);"
            "insert into KEYS values ('x', 'ab', 'c', 1.0);"
            "insert into KEYS values ('x', 'ab', 'c', 2.5);"
            "insert into KEYS values ('y', 'q', null, 9);");
    }
};

INSTANTIATE_TEST_SUITE_P(Backends, InLookup, BACKENDS);

TEST_P(InLookup, JoinedTextsCompareIgnoringTrailingBlanks) {
    // 'ab' + 'c', 'ab' + 'c  ' and 'a' + 'bd': only the first two name a key.
    EXPECT_EQ(selectRows("SELECT ID FROM PROBES WHERE A + B IN (SELECT DISTINCT A + B FROM KEYS WHERE G = 'x') "
                         "ORDER BY ID"),
              (Rows{"1", "2"}));
    EXPECT_EQ(selectRows("SELECT ID FROM PROBES WHERE RTRIM(A) + RTRIM(B) IN (SELECT A + B FROM KEYS) ORDER BY ID"),
              (Rows{"1", "2"}));
    EXPECT_EQ(selectRows("SELECT ID FROM PROBES WHERE RTRIM(A) + RTRIM(B) NOT IN (SELECT A + B FROM KEYS "
                         "WHERE G = 'x') ORDER BY ID"),
              (Rows{"3", "5"}));
}

TEST_P(InLookup, NullsAndEmptyRowsAsSqlHasThem) {
    // A NULL among the rows leaves NOT IN unknown for every value it does not hold.
    EXPECT_EQ(selectRows("SELECT ID FROM PROBES WHERE RTRIM(A) + RTRIM(B) NOT IN (SELECT A + B FROM KEYS) "
                         "ORDER BY ID"),
              (Rows{}));
    EXPECT_EQ(selectRows("SELECT ID FROM PROBES WHERE RTRIM(A) + RTRIM(B) IN (SELECT A + B FROM KEYS) ORDER BY ID"),
              (Rows{"1", "2"}));
    // A NULL probe is unknown against rows, but not IN no rows at all.
    EXPECT_EQ(selectRows("SELECT ID FROM PROBES WHERE RTRIM(A) + B NOT IN (SELECT A + B FROM KEYS WHERE G = 'x') "
                         "ORDER BY ID"),
              (Rows{"3", "5"}));
    EXPECT_EQ(selectRows("SELECT ID FROM PROBES WHERE A + B NOT IN (SELECT A + B FROM KEYS WHERE G = 'none') "
                         "ORDER BY ID"),
              (Rows{"1", "2", "3", "4", "5"}));
    EXPECT_EQ(selectRows("SELECT COUNT(*) FROM PROBES WHERE A + B IN (SELECT A + B FROM KEYS WHERE G = 'none')"),
              (Rows{"0"}));
    // As a value: true, false and unknown.
    EXPECT_EQ(selectRows("SELECT ID, V = CASE WHEN RTRIM(A) + RTRIM(B) IN (SELECT A + B FROM KEYS) THEN 'in' "
                         "WHEN RTRIM(A) + RTRIM(B) NOT IN (SELECT A + B FROM KEYS) THEN 'out' ELSE '?' END "
                         "FROM PROBES WHERE ID IN (1, 3, 4) ORDER BY ID"),
              (Rows{"1|in", "3|?", "4|?"}));
}

TEST_P(InLookup, NumbersCompareByValue) {
    EXPECT_EQ(selectRows("SELECT ID FROM PROBES WHERE N * 1 IN (SELECT N * 1 FROM KEYS) ORDER BY ID"),
              (Rows{"1", "2"}));
    EXPECT_EQ(selectRows("SELECT ID FROM PROBES WHERE N + 0 NOT IN (SELECT N + 0 FROM KEYS) ORDER BY ID"),
              (Rows{"3", "5"}));
}

TEST_P(InLookup, SubqueryReadingTheOuterRowStaysCorrelated) {
    EXPECT_EQ(selectRows("SELECT ID FROM PROBES P WHERE RTRIM(P.A) + RTRIM(P.B) IN "
                         "(SELECT K.A + K.B FROM KEYS K WHERE K.G = P.G) ORDER BY ID"),
              (Rows{"1", "2"}));
    EXPECT_EQ(selectRows("SELECT ID FROM PROBES P WHERE P.N * 1 NOT IN "
                         "(SELECT K.N * 1 FROM KEYS K WHERE K.G = P.G AND NOT K.N IS NULL) ORDER BY ID"),
              (Rows{"3", "5"}));
}

TEST(InLookupText, OfferedOnlyWhereNeitherSideIsAColumn) {
    using engine::SqlTarget;
    const auto offered = [](const std::string& text, SqlTarget target = SqlTarget::Sqlite) {
        return engine::translateStatement(text, target).inSubqueries.size();
    };
    EXPECT_EQ(offered("SELECT 1 FROM T WHERE A + B NOT IN (SELECT DISTINCT A + B FROM U WHERE C IN (SELECT D + 1 "
                      "FROM V))"),
              1u);
    const auto st = engine::translateStatement("SELECT 1 FROM T WHERE A + B IN (SELECT A + B FROM U WHERE C = :p)",
                                               SqlTarget::Sqlite);
    ASSERT_EQ(st.inSubqueries.size(), 1u);
    EXPECT_NE(st.sql.find(st.inSubqueries[0].text), std::string::npos);
    EXPECT_NE(st.inSubqueries[0].subquery.find("?1"), std::string::npos);
    // Repeats do not matter to IN: the rows are read without removing them.
    const auto distinct = engine::translateStatement("SELECT 1 FROM T WHERE A + B IN (SELECT DISTINCT A + B FROM U)",
                                                     SqlTarget::Sqlite);
    ASSERT_EQ(distinct.inSubqueries.size(), 1u);
    EXPECT_EQ(distinct.inSubqueries[0].subquery.find("DISTINCT"), std::string::npos);
    EXPECT_NE(distinct.sql.find(distinct.inSubqueries[0].text), std::string::npos);
    // A column carries its declared affinity into the comparison: left to SQLite.
    EXPECT_EQ(offered("SELECT 1 FROM T WHERE A IN (SELECT A + B FROM U)"), 0u);
    EXPECT_EQ(offered("SELECT 1 FROM T WHERE A + B IN (SELECT A FROM U)"), 0u);
    EXPECT_EQ(offered("SELECT 1 FROM T WHERE A + B IN (SELECT A + B FROM U UNION SELECT C FROM V)"), 0u);
    EXPECT_EQ(offered("SELECT 1 FROM T WHERE A + B IN (SELECT A + B FROM U)", SqlTarget::Postgres), 0u);
    EXPECT_EQ(offered("DELETE FROM T WHERE A + B IN (SELECT A + B FROM U)"), 0u);
}

}  // namespace
