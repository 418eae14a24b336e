// The main form's print query as the report forms see it: an engine query on a temporary
// SQLite database holding summary rows, with the eight persistent fields of the print query.
#pragma once

#include <sqlite3.h>
#include <unistd.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "engine/database.h"
#include "engine/query.h"
#include "forms/fields.h"
#include "report/query_data_set.h"
#include "temp_account_database.h"

struct SummaryRow {
    std::optional<std::string> acCode;
    std::optional<double> cr00, cr01, cr01Cash;
    std::string acName;
    std::optional<double> dr01Cash, dr01, dr00;
};

class PrintQueryFixture {
    TempAccountDatabase database_;  // first made, last gone: the query below runs on it

public:
    PrintQueryFixture() {
        for (auto* f : {&CR00, &CR01, &CR01_CASH, &DR01_CASH, &DR01, &DR00}) f->setDisplayFormat("#,###");
        StringField1.setFixedChar(true);
        StringField2.setFixedChar(true);
    }
    ~PrintQueryFixture() { Query_Print.close(); }

    // Replaces the rows and reopens the query on them, in the given order.
    void setRows(const std::vector<SummaryRow>& rows) {
        Query_Print.close();
        run("DROP TABLE IF EXISTS SUMMARY_ROWS");
        run("CREATE TABLE SUMMARY_ROWS (SEQ INTEGER, AC_CODE CHAR(12), CR00 REAL, CR01 REAL, CR01_CASH REAL, "
            "AC_NAME CHAR(90), DR01_CASH REAL, DR01 REAL, DR00 REAL)");
        int seq = 0;
        for (const SummaryRow& row : rows) {
            engine::Query insert;
            insert.sql().add("INSERT INTO SUMMARY_ROWS VALUES (:tbSeq, :tbAc_Code, :tbCr00, :tbCr01, :tbCr01_Cash,");
            insert.sql().add("  :tbAc_Name, :tbDr01_Cash, :tbDr01, :tbDr00)");
            insert.paramByName("tbSeq").setAsString(std::to_string(++seq));
            setOptional(insert, "tbAc_Code", row.acCode);
            insert.paramByName("tbAc_Name").setAsString(row.acName);
            setAmount(insert, "tbCr00", row.cr00);
            setAmount(insert, "tbCr01", row.cr01);
            setAmount(insert, "tbCr01_Cash", row.cr01Cash);
            setAmount(insert, "tbDr01_Cash", row.dr01Cash);
            setAmount(insert, "tbDr01", row.dr01);
            setAmount(insert, "tbDr00", row.dr00);
            insert.execSql();
        }
        Query_Print.setText(
            "SELECT AC_CODE, CR00, CR01, CR01_CASH, AC_NAME, DR01_CASH, DR01, DR00 FROM SUMMARY_ROWS ORDER BY SEQ");
        Query_Print.open();
    }

    // The binding a main form makes of its print query.
    report::QueryBinding binding() {
        return report::QueryBinding{&Query_Print,
                                    {&StringField1, &CR00, &CR01, &CR01_CASH, &StringField2, &DR01_CASH, &DR01, &DR00}};
    }

    engine::Query Query_Print;
    forms::StringField StringField1{"StringField1", "AC_CODE", &Query_Print, 12};
    forms::FloatField CR00{"FloatField1", "CR00", &Query_Print};
    forms::FloatField CR01{"FloatField2", "CR01", &Query_Print};
    forms::FloatField CR01_CASH{"FloatField3", "CR01_CASH", &Query_Print};
    forms::StringField StringField2{"StringField2", "AC_NAME", &Query_Print, 90};
    forms::FloatField DR01_CASH{"FloatField4", "DR01_CASH", &Query_Print};
    forms::FloatField DR01{"FloatField5", "DR01", &Query_Print};
    forms::FloatField DR00{"FloatField6", "DR00", &Query_Print};

private:
    static void setOptional(engine::Query& q, const char* name, const std::optional<std::string>& v) {
        if (v) q.paramByName(name).setAsString(*v);
        else q.paramByName(name).clear();
    }
    static void setAmount(engine::Query& q, const char* name, const std::optional<double>& v) {
        if (v) q.paramByName(name).setAsString(std::to_string(*v));
        else q.paramByName(name).clear();
    }
    static void run(const std::string& sql) {
        engine::Query q;
        q.setText(sql);
        q.execSql();
    }
};
