// What is the daily main window's own: the default period with its day boxes, the
// period parameters of its summary queries, and their fields. What both main windows
// share is tested on both (tests/mainform).
#include <QTest>

#include "daily_fixture.h"
#include "engine/error.h"

class MainFormTest : public QObject {
    Q_OBJECT
private slots:
    void defaultPeriodIsTodayInTheShortDateFormat();
    void defaultPeriodTakesCharacterPositionsOfAnyFormat();
    void summaryParametersFromTheLists();
    void summaryQueriesAreClosedWithTheirFields();
};

void MainFormTest::defaultPeriodIsTodayInTheShortDateFormat() {
    DailyFixture f;
    f.createBranchTable();
    f.createForm();
    QCOMPARE(f.form->cbYear->text(), std::string("2002"));
    QCOMPARE(f.form->cbMonth_First->text(), std::string("08"));
    QCOMPARE(f.form->cbDay_First->text(), std::string("22"));
    QCOMPARE(f.form->cbMonth_End->text(), std::string("08"));
    QCOMPARE(f.form->cbDay_End->text(), std::string("22"));
    // Only the texts are set: no entry is selected, no change recorded, items kept.
    for (auto* box : {f.form->cbYear, f.form->cbMonth_First, f.form->cbDay_First, f.form->cbMonth_End,
                      f.form->cbDay_End}) {
        QCOMPARE(box->itemIndex(), -1);
        QCOMPARE(box->hint(), std::string());
    }
    QCOMPARE(f.form->cbYear->itemCount(), 12);
    QCOMPARE(f.form->cbYear->item(11), std::string("2011"));
    QCOMPARE(f.form->cbDay_End->itemCount(), 31);
    QCOMPARE(DayRunCheck(), std::string("NN"));
}

void MainFormTest::defaultPeriodTakesCharacterPositionsOfAnyFormat() {
    DailyFixture f;
    f.createBranchTable();
    forms::setShortDateFormat("dd/MM/yyyy");
    // A year outside the list is written all the same.
    forms::setClock([] { return QDateTime(QDate(2015, 8, 22), QTime(9, 0)); });
    f.createForm();
    QCOMPARE(f.form->cbYear->text(), std::string("22/0"));
    QCOMPARE(f.form->cbMonth_First->text(), std::string("/2"));
    QCOMPARE(f.form->cbDay_First->text(), std::string("15"));
    QCOMPARE(f.form->cbYear->itemCount(), 12);
}

void MainFormTest::summaryParametersFromTheLists() {
    DailyFixture f;
    f.createBranchTable();
    f.createForm();
    // A stand-in statement naming the three parameters as the summary does.
    for (engine::Query* query : {&f.form->Query1, &f.form->Query_Print}) {
        query->sql().clear();
        query->sql().add("SELECT :tbFirst_Day AS F, :tbEnd_Day AS E, :tbKubun_Bon AS K, :tbKUBUN_BON AS K2");
    }
    f.form->cbMonth_First->setText("08");
    f.form->cbDay_First->setText("01");
    f.form->Query_Search();
    QVERIFY(f.form->Query1.active());
    QCOMPARE(f.form->Query1.fieldByName("F").asString(), std::string("2002-08-01"));
    QCOMPARE(f.form->Query1.fieldByName("E").asString(), std::string("2002-08-22"));
    // An empty branch list sends -00001, to every spelling of the name.
    QCOMPARE(f.form->Query1.fieldByName("K").asString(), std::string("-00001"));
    QCOMPARE(f.form->Query1.fieldByName("K2").asString(), std::string("-00001"));
    QVERIFY(!f.form->Query_Print.active());

    f.form->Query_Search_Print();
    QVERIFY(f.form->Query_Print.active());
    QCOMPARE(f.form->Query_Print.fieldByName("F").asString(), std::string("2002-08-01"));

    // A failing open leaves the query closed, the controls enabled, and reaches the caller.
    f.form->Query1.sql().clear();
    f.form->Query1.sql().add("SELECT :tbFirst_Day, :tbEnd_Day, :tbKubun_Bon FROM No_Such_Table");
    bool failed = false;
    try {
        f.form->Query_Search();
    } catch (const engine::DatabaseError&) {
        failed = true;
    }
    QVERIFY(failed);
    QVERIFY(!f.form->Query1.active());
    QVERIFY(!f.form->Query1.controlsDisabled());
}

void MainFormTest::summaryQueriesAreClosedWithTheirFields() {
    DailyFixture f;
    f.createBranchTable();
    f.createForm();
    QVERIFY(!f.form->Query1.active());
    QVERIFY(!f.form->Query_Print.active());
    // Both hold the one statement, once it is part of the build: 155 parameter entries.
    QCOMPARE(f.form->Query1.sql().lines(), f.form->Query_Print.sql().lines());
    QCOMPARE(f.form->Query1.params().size(), std::size_t(155));
    QCOMPARE(f.form->Query_Print.sql().lines(), f.form->Query1.sql().lines());
    QCOMPARE(f.form->Query1CR00.displayWidth(), 17);
    QCOMPARE(f.form->FloatField1.displayWidth(), 15);
    QCOMPARE(f.form->Query1AC_NAME.displayLabel(), std::string("계     정     과     목"));
    QCOMPARE(f.form->FloatField6.displayFormat(), std::string("#,###"));
    QCOMPARE(f.form->DBGrid1->dataSource(), &f.form->DataSource1);
    QCOMPARE(f.form->DBGrid1->columnCount(), 8);
    QCOMPARE(f.form->DBGrid1->column(0).width(), 0);
    QCOMPARE(f.form->DBGrid1->column(1).width(), 110);
}

QTEST_MAIN(MainFormTest)
#include "main_form_test.moc"
