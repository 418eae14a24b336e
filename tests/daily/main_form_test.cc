// Start-up of the daily main window: placement, default period, branch list,
// failures while it is being created, first focus and tab order.
#include <QTest>

#include "daily_fixture.h"
#include "engine/error.h"
#include "mainform_branches.h"

class MainFormTest : public QObject {
    Q_OBJECT
private slots:
    void centresOnTheScreen_data();
    void centresOnTheScreen();
    void centresInTheWorkAreaSizeOnWindows9x();
    void defaultPeriodIsTodayInTheShortDateFormat();
    void defaultPeriodTakesCharacterPositionsOfAnyFormat();
    void branchListInCodeOrderWithTrimmedParts();
    void emptyBranchTableLeavesNoEntries();
    void failingBranchQueryShowsOneErrorAndSkipsTheRest();
    void firstFocusAndTabOrder();
    void excelButtonDoesNothing();
    void summaryParametersFromTheLists();
    void branchParameterPattern();
    void summaryQueriesAreClosedWithTheirFields();
};

void MainFormTest::centresOnTheScreen_data() {
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<int>("left");
    QTest::addColumn<int>("top");
    QTest::newRow("1024x768") << QSize(1024, 768) << 32 << 36;
    QTest::newRow("800x600 halves toward zero") << QSize(800, 600) << -80 << -47;
    QTest::newRow("799 wide") << QSize(799, 600) << -80 << -47;
}

void MainFormTest::centresOnTheScreen() {
    QFETCH(QSize, screen);
    QFETCH(int, left);
    QFETCH(int, top);
    DailyFixture f;
    f.createBranchTable();
    forms::setScreenSize(screen);
    // The work area only counts on the Windows 9x family.
    forms::setWorkArea(QRect(0, 0, 640, 480));
    f.createForm();
    QCOMPARE(f.form->outerWidth(), 960);
    QCOMPARE(f.form->outerHeight(), 695);
    QCOMPARE(f.form->left(), left);
    QCOMPARE(f.form->top(), top);
}

void MainFormTest::centresInTheWorkAreaSizeOnWindows9x() {
    DailyFixture f;
    f.createBranchTable();
    forms::setPlatformId(forms::kPlatformWindows9x);
    forms::setScreenSize(QSize(1280, 1024));
    // A taskbar along the top: the work area starts at 30, which is not added.
    forms::setWorkArea(QRect(0, 30, 1024, 738));
    f.createForm();
    QCOMPARE(f.form->left(), 32);
    QCOMPARE(f.form->top(), 21);

    DailyFixture g;
    g.createBranchTable();
    forms::setPlatformId(forms::kPlatformWindows9x);
    forms::setWorkArea(QRect(100, 0, 799, 600));
    g.createForm();
    QCOMPARE(g.form->left(), -80);
}

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

void MainFormTest::branchListInCodeOrderWithTrimmedParts() {
    DailyFixture f;
    f.createBranchTable();
    f.db.exec("INSERT INTO Kubun_Table VALUES ('00002', '부산지점  ', '부산   ')");
    f.db.exec("INSERT INTO Kubun_Table VALUES ('00001', '본점', '서울 ')");
    f.db.exec("INSERT INTO Kubun_Table VALUES ('00003', '공장 ', '울산')");
    f.statements.clear();
    f.createForm();
    auto* box = f.form->cbKubun;
    QCOMPARE(box->itemCount(), 3);
    QCOMPARE(box->item(0), std::string("본점/서울"));
    QCOMPARE(box->item(1), std::string("부산지점/부산"));
    QCOMPARE(box->item(2), std::string("공장/울산"));
    QCOMPARE(box->itemIndex(), 0);
    QCOMPARE(box->text(), std::string("본점/서울"));
    QCOMPARE(box->hint(), std::string());
    QVERIFY(f.boxes.empty());

    // The statement as given: three lines, padded to 91, 93 and 93 characters.
    QCOMPARE(f.statements.size(), std::size_t(1));
    const std::string expected =
        " Select  Kubun_Code, ( rtrim(Kubun_Name) + '/' + rtrim(Kubun_JangSo) ) As Total" + std::string(12, ' ') +
        "\r\n From    Kubun_Table" + std::string(73, ' ') + "\r\n Order   By   Kubun_Code" + std::string(69, ' ') + "\r\n";
    QCOMPARE(f.statements[0].text, expected);
    QVERIFY(f.form->Query2.active());
}

void MainFormTest::emptyBranchTableLeavesNoEntries() {
    DailyFixture f;
    f.createBranchTable();
    f.createForm();
    QCOMPARE(f.form->cbKubun->itemCount(), 0);
    QCOMPARE(f.form->cbKubun->itemIndex(), -1);
    QCOMPARE(DayRunCheck(), std::string("NN"));
    QVERIFY(f.boxes.empty());
}

void MainFormTest::failingBranchQueryShowsOneErrorAndSkipsTheRest() {
    DailyFixture f;  // no Kubun_Table
    forms::setScreenSize(QSize(800, 600));
    f.createForm();
    QCOMPARE(f.boxes.size(), std::size_t(1));
    QCOMPARE(f.boxes[0].box.kind, forms::MessageKind::Error);
    QCOMPARE(f.boxes[0].box.caption, std::string("Day_morvel"));
    QVERIFY(!f.boxes[0].box.text.empty());
    // What ran before the failure stays done; the rest is skipped.
    QCOMPARE(f.form->left(), -80);
    QCOMPARE(f.form->cbDay_End->text(), std::string("22"));
    QCOMPARE(f.form->cbKubun->text(), std::string("cbKubun"));
    QCOMPARE(f.form->cbKubun->itemCount(), 0);
    QCOMPARE(DayRunCheck(), std::string());
    // The window still opens.
    QVERIFY(f.showForm());
}

void MainFormTest::firstFocusAndTabOrder() {
    DailyFixture f;
    f.createBranchTable();
    f.db.exec("INSERT INTO Kubun_Table VALUES ('00001', '본점', '서울')");
    f.createForm();
    QVERIFY(f.showForm());
    QCOMPARE(f.focused(), static_cast<QWidget*>(f.form->PrintBtn));

    const std::vector<QWidget*> order{f.form->CloseBtn,    f.form->CancelBtn, f.form->cbYear,
                                      f.form->cbMonth_First, f.form->cbDay_First, f.form->cbMonth_End,
                                      f.form->cbDay_End,   f.form->cbKubun,   f.form->BitBtn1,
                                      f.form->DBGrid1};
    for (QWidget* expected : order) {
        QTest::keyClick(f.focused(), Qt::Key_Tab);
        QCOMPARE(f.focused()->objectName(), expected->objectName());
    }
    // Shift+Tab from the first control goes back to the grid, wrapping at the start.
    f.form->PrintBtn->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(f.focused(), Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(f.focused(), static_cast<QWidget*>(f.form->DBGrid1));
    QVERIFY(f.boxes.empty());
}

void MainFormTest::excelButtonDoesNothing() {
    DailyFixture f;
    f.createBranchTable();
    f.createForm();
    QVERIFY(f.showForm());
    const auto statementsBefore = f.statements.size();
    QTest::mouseClick(f.form->CancelBtn, Qt::LeftButton);
    QTest::keyClick(f.form, Qt::Key_E, Qt::AltModifier);
    QVERIFY(f.boxes.empty());
    QCOMPARE(f.statements.size(), statementsBefore);
    QVERIFY(f.form->isVisible());
    QCOMPARE(DayRunCheck(), std::string("NN"));
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

void MainFormTest::branchParameterPattern() {
    QCOMPARE(mainform::branchParameter(0), std::string("00000"));
    QCOMPARE(mainform::branchParameter(11), std::string("00011"));
    QCOMPARE(mainform::branchParameter(-1), std::string("-00001"));
    QCOMPARE(mainform::branchParameter(123456), std::string("123456"));
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
