// A summary grid as the main forms build it: a query over a small summary table in a
// fresh SQLite file behind "Account", its persistent fields, a data source and the
// grid with its eight columns, the code column hidden at width 0.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "engine/database.h"
#include "temp_account_database.h"
#include "engine/query.h"
#include "forms/data_source.h"
#include "forms/db_grid.h"
#include "forms/fields.h"
#include "mainform_roll_up_row.h"

struct SummaryRow {
    std::string code;  // empty: NULL
    std::optional<double> cr00, cr01, cr01Cash;
    std::string name;
    std::optional<double> dr01Cash, dr01, dr00;
};


inline std::string sqlNumber(const std::optional<double>& v) {
    if (!v) return "NULL";
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.17g", *v);
    return buf;
}

inline std::string sqlText(const std::string& s) { return s.empty() ? "NULL" : "'" + s + "'"; }

class SummaryGridTest : public ::testing::Test {
protected:
    enum Col { AC_CODE, CR00, CR01, CR01_CASH, AC_NAME, DR01_CASH, DR01, DR00 };

    SummaryGridTest() {
        engine::Query ddl;
        ddl.setText(
            "CREATE TABLE SUMMARY (SEQ INTEGER, AC_CODE CHAR(12), CR00 FLOAT, CR01 FLOAT, CR01_CASH FLOAT, "
            "AC_NAME CHAR(90), DR01_CASH FLOAT, DR01 FLOAT, DR00 FLOAT)");
        ddl.execSql();
        query1.setText("SELECT AC_CODE, CR00, CR01, CR01_CASH, AC_NAME, DR01_CASH, DR01, DR00 FROM SUMMARY ORDER BY SEQ");

        for (auto* f : {&cr00, &cr01, &cr01Cash, &dr01Cash, &dr01, &dr00}) f->setDisplayFormat("#,###");
        cr00.setDisplayLabel("차변 전체 합계");
        cr01.setDisplayLabel("차변 대체 합계");
        cr01Cash.setDisplayLabel("차변 현금 합계");
        acName.setDisplayLabel("계     정     과     목");
        dr01Cash.setDisplayLabel("대변 현금 합계");
        dr01.setDisplayLabel("대변 대체 합계");
        dr00.setDisplayLabel("대변 전체 합계");
        acName.setAlignment(forms::Alignment::Center);
        acName.setDisplayWidth(40);
        for (auto* f : {&cr01, &cr01Cash, &dr01Cash, &dr01}) f->setDisplayWidth(15);
        cr00.setDisplayWidth(17);
        dr00.setDisplayWidth(17);

        dataSource1.setDataSet(&query1);
        dbGrid1.setDataSource(&dataSource1);
        dbGrid1.setOptions(forms::GridOption::dgAlwaysShowEditor | forms::GridOption::dgTitles |
                           forms::GridOption::dgIndicator | forms::GridOption::dgColumnResize |
                           forms::GridOption::dgColLines | forms::GridOption::dgRowLines | forms::GridOption::dgTabs |
                           forms::GridOption::dgCancelOnExit);
        for (forms::Field* f : std::vector<forms::Field*>{&acCode, &cr00, &cr01, &cr01Cash, &acName, &dr01Cash, &dr01, &dr00}) {
            forms::Column& c = dbGrid1.addColumn(f);
            c.setTitleAlignment(forms::Alignment::Center);
            if (f != &acName) c.setWidth(f == &acCode ? 0 : 110);
        }
        dbGrid1.setOnDrawColumnCell([this](forms::DBGrid& grid, const QRect& rect, int dataCol, forms::Column& column,
                                           forms::DrawCellState state) {
            if (extraHandler) extraHandler(grid, rect, dataCol, column, state);
            mainform::drawRollUpCell(grid, rect, dataCol, column, acCode);
        });
        dbGrid1.resize(952, 616);
    }

    void insertRows(const std::vector<SummaryRow>& rows) {
        engine::Query insert;
        for (const SummaryRow& r : rows) {
            insert.setText("INSERT INTO SUMMARY VALUES (" + std::to_string(++seq) + ", " + sqlText(r.code) + ", " +
                           sqlNumber(r.cr00) + ", " + sqlNumber(r.cr01) + ", " + sqlNumber(r.cr01Cash) + ", " +
                           sqlText(r.name) + ", " + sqlNumber(r.dr01Cash) + ", " + sqlNumber(r.dr01) + ", " +
                           sqlNumber(r.dr00) + ")");
            insert.execSql();
        }
    }

    // Every amount the same, so cells of different rows can be compared pixel for pixel.
    static SummaryRow rowWithCode(const std::string& code) {
        return {code, 1234567, 1234567, 1234567, "현금", 1234567, 1234567, 1234567};
    }

    void showAndSettle() {
        dbGrid1.show();
        QApplication::processEvents();
    }

    TempAccountDatabase database;
    engine::Query query1;
    forms::StringField acCode{"Query1AC_CODE", "AC_CODE", &query1, 12};
    forms::FloatField cr00{"Query1CR00", "CR00", &query1};
    forms::FloatField cr01{"Query1CR01", "CR01", &query1};
    forms::FloatField cr01Cash{"Query1CR01_CASH", "CR01_CASH", &query1};
    forms::StringField acName{"Query1AC_NAME", "AC_NAME", &query1, 90};
    forms::FloatField dr01Cash{"Query1DR01_CASH", "DR01_CASH", &query1};
    forms::FloatField dr01{"Query1DR01", "DR01", &query1};
    forms::FloatField dr00{"Query1DR00", "DR00", &query1};
    forms::DataSource dataSource1{"DataSource1"};
    forms::DBGrid dbGrid1{"DBGrid1"};
    forms::DBGrid::DrawColumnCellHandler extraHandler;
    int seq = 0;
};
