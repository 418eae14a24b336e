#include "work_table_prep.h"

#include <string>

#include "engine/query.h"
#include "work_table_data.h"

namespace fixture {
namespace {

void run(const std::string& sql) {
    engine::Query query;
    query.sql().add(sql);
    query.execSql();
}

}  // namespace

void prepareWorkTable() {
    engine::Query query;
    query.sql().add("INSERT INTO Test_Ac_Code (A_Kubun, B_Kubun, C_Kubun, D_Kubun, E_Kubun, Ac_Code,");
    query.sql().add("  Ac_Name, Ac_Name_SiSan, Ac_Name_Gita)");
    query.sql().add("VALUES (:a, :b, :c, :d, :e, :code, :title, :title, :title)");
    for (const HeadingRow& row : headingRows()) {
        const std::string code = row.code;
        query.paramByName("a").setAsString(code.substr(0, 1));
        query.paramByName("b").setAsString(code.substr(1, 2));
        query.paramByName("c").setAsString(code.substr(3, 2));
        query.paramByName("d").setAsString(code.substr(5, 3));
        query.paramByName("e").setAsString(code.substr(8, 3));
        query.paramByName("code").setAsString(code);
        query.paramByName("title").setAsString(row.title);
        query.execSql();
    }
    // Balance classes by class and section, on account rows only.
    run("UPDATE Test_Ac_Code SET Jan_Check = '10' WHERE A_Kubun IN ('1') AND Code_Kubun IS NOT NULL");
    run("UPDATE Test_Ac_Code SET Jan_Check = '10' WHERE A_Kubun IN ('4') AND "
         "B_Kubun IN ('03','04','05','07','10','13','15') AND Code_Kubun IS NOT NULL");
    run("UPDATE Test_Ac_Code SET Jan_Check = '50' WHERE A_Kubun IN ('2','3') AND Code_Kubun IS NOT NULL");
    run("UPDATE Test_Ac_Code SET Jan_Check = '50' WHERE A_Kubun IN ('4') AND "
         "B_Kubun IN ('01','02','09','12') AND Code_Kubun IS NOT NULL");
    query.sql().clear();
    query.sql().add("UPDATE Test_Ac_Code SET Jan_Check = :value WHERE Ac_Code = :code");
    for (const BalanceClassList& list : balanceClassLists()) {
        for (const char* code : list.codes) {
            query.paramByName("value").setAsString(list.value);
            query.paramByName("code").setAsString(std::string(code) + " ");
            query.execSql();
        }
    }
    query.sql().clear();
    query.sql().add("UPDATE Test_Ac_Code SET The_Code = '123456789012', Code_MoveCode = :move,");
    query.sql().add("  Code_TwoMove = :two, Code_ThreeMove = '123456789012' WHERE Ac_Code = :code");
    for (const Link& link : links()) {
        query.paramByName("move").setAsString(std::string(link.moveCode) + " ");
        query.paramByName("two").setAsString(link.twoMove ? std::string(link.twoMove) + " " : "123456789012");
        query.paramByName("code").setAsString(std::string(link.code) + " ");
        query.execSql();
    }
}

void cleanUpWorkTable() {
    run("DELETE FROM Test_Ac_Code WHERE Serial_No IS NULL");
    run("UPDATE Test_Ac_Code SET Jan_Check = '99', The_Code = '123456789012', Code_MoveCode = '123456789012', "
        "Code_TwoMove = '123456789012', Code_ThreeMove = '123456789012'");
}

}  // namespace fixture
