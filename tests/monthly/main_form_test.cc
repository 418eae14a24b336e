// The monthly main window as its form definition gives it: the window, every control of
// the criteria strip and the button panel, the grid with its editing options and
// display-width columns, the summary queries, and the default period of three boxes.
#include <QTest>

#include "forms/font.h"
#include "twin_forms.h"

namespace {

// A monthly window on a database with an empty branch table, at a fixed date.
struct MonthlyWindow : TwinWindow {
    MonthlyWindow() : TwinWindow(twinNamed("monthly")) {
        createBranchTable();
        create();
        form = fmMonth_Morvel_Form;
    }
    TfmMonth_Morvel_Form* form = nullptr;
};

QColor textColour(const QWidget* w) { return w->palette().color(QPalette::WindowText); }

}  // namespace

class MonthlyMainFormTest : public QObject {
    Q_OBJECT
private slots:
    void windowAsDefined();
    void controls_data();
    void controls();
    void defaultPeriodHasThreeBoxes();
    void gridEditsAndTakesItsColumnsFromDisplayWidths();
    void summaryQueriesHoldTheMonthlyStatement();
};

void MonthlyMainFormTest::windowAsDefined() {
    MonthlyWindow w;
    QCOMPARE(w.form->name(), std::string("fmMonth_Morvel_Form"));
    QCOMPARE(w.form->caption(), std::string("월계표 입니다."));
    QCOMPARE(w.form->outerWidth(), 864);
    QCOMPARE(w.form->outerHeight(), 695);
    QVERIFY(w.boxes.empty());
    // The form has no day boxes.
    QCOMPARE(w.form->findChild<forms::ComboBox*>("cbDay_First"), nullptr);
    QCOMPARE(w.form->findChildren<forms::ComboBox*>().size(), 4);
    QCOMPARE(w.form->Panel7->caption(), std::string("Panel3"));
}

void MonthlyMainFormTest::controls_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");  // labels: at least this size (they fit their text)
    QTest::addColumn<int>("tabOrder");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<int>("pixelSize");
    const QColor text = forms::kClWindowText;
    QTest::newRow("Label1") << "Label1" << QRect(17, 5, 57, 13) << -1 << "기준년도" << forms::kClGreen << 13;
    QTest::newRow("Label2") << "Label2" << QRect(88, 5, 43, 13) << -1 << "시작월" << forms::kClMaroon << 13;
    QTest::newRow("Label5") << "Label5" << QRect(129, 24, 29, 13) << -1 << "부터" << forms::kClBlue << 13;
    QTest::newRow("Label4") << "Label4" << QRect(161, 5, 43, 13) << -1 << "종료월" << forms::kClPurple << 13;
    QTest::newRow("Label3") << "Label3" << QRect(232, 6, 71, 13) << -1 << "본지점구분" << forms::kClGreen << 13;
    QTest::newRow("cbYear") << "cbYear" << QRect(17, 20, 51, 21) << 1 << "" << text << 13;
    QTest::newRow("cbMonth_First") << "cbMonth_First" << QRect(88, 20, 38, 21) << 2 << "" << text << 13;
    QTest::newRow("cbMonth_End") << "cbMonth_End" << QRect(161, 20, 38, 21) << 3 << "" << text << 13;
    QTest::newRow("cbKubun") << "cbKubun" << QRect(232, 22, 92, 21) << 4 << "" << text << 13;
    QTest::newRow("BitBtn1") << "BitBtn1" << QRect(343, 17, 80, 25) << 5 << "&R실행" << forms::kClMaroon << 13;
    QTest::newRow("Panel7") << "Panel7" << QRect(584, 6, 257, 39) << 0 << "" << forms::kClGreen << 15;
    QTest::newRow("PrintBtn") << "PrintBtn" << QRect(9, 7, 80, 25) << 0 << "P 출력" << forms::kClGreen << 15;
    QTest::newRow("CancelBtn") << "CancelBtn" << QRect(89, 7, 80, 25) << 2 << "&E엑셀" << forms::kClGreen << 15;
    QTest::newRow("CloseBtn") << "CloseBtn" << QRect(169, 7, 80, 25) << 1 << "&X 종료" << forms::kClGreen << 15;
    QTest::newRow("DBGrid1") << "DBGrid1" << QRect(0, 52, 856, 616) << 6 << "" << text << 12;
}

void MonthlyMainFormTest::controls() {
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    QFETCH(int, tabOrder);
    QFETCH(QString, caption);
    QFETCH(QColor, colour);
    QFETCH(int, pixelSize);
    MonthlyWindow w;
    auto* control = w.form->findChild<QWidget*>(name);
    QVERIFY(control);
    if (qobject_cast<forms::Label*>(control)) {
        QCOMPARE(control->pos(), geometry.topLeft());
        QVERIFY(control->width() >= geometry.width() && control->height() >= geometry.height());
        QCOMPARE(QString::fromStdString(static_cast<forms::Label*>(control)->caption()), caption);
    } else if (name == "DBGrid1") {
        // Docked at the bottom: its height stays, its width follows the client area.
        QCOMPARE(control->height(), geometry.height());
        QCOMPARE(control->y() + control->height(), w.form->height());
        QCOMPARE(control->width(), w.form->width());
    } else {
        QCOMPARE(control->geometry(), geometry);
    }
    if (auto* button = qobject_cast<forms::BitBtn*>(control))
        QCOMPARE(QString::fromStdString(button->caption()), caption);
    QCOMPARE(forms::tabOrder(control), tabOrder);
    QCOMPARE(control->font().pixelSize(), pixelSize);
    QCOMPARE(control->font().bold(), colour != forms::kClWindowText);
    QCOMPARE(textColour(control), colour);
}

void MonthlyMainFormTest::defaultPeriodHasThreeBoxes() {
    MonthlyWindow w;
    QCOMPARE(w.form->cbYear->text(), std::string("2002"));
    QCOMPARE(w.form->cbMonth_First->text(), std::string("08"));
    QCOMPARE(w.form->cbMonth_End->text(), std::string("08"));
    for (auto* box : {w.form->cbYear, w.form->cbMonth_First, w.form->cbMonth_End}) {
        QCOMPARE(box->itemIndex(), -1);
        QCOMPARE(box->hint(), std::string());
    }
    QCOMPARE(w.form->cbYear->itemCount(), 12);
    QCOMPARE(w.form->cbMonth_End->itemCount(), 12);
    QCOMPARE(MonthRunCheck(), std::string("NN"));
}

void MonthlyMainFormTest::gridEditsAndTakesItsColumnsFromDisplayWidths() {
    MonthlyWindow w;
    using forms::GridOption;
    const forms::GridOptions expected = GridOption::dgEditing | GridOption::dgAlwaysShowEditor | GridOption::dgTitles |
                                        GridOption::dgIndicator | GridOption::dgColumnResize | GridOption::dgColLines |
                                        GridOption::dgRowLines | GridOption::dgTabs | GridOption::dgConfirmDelete |
                                        GridOption::dgCancelOnExit;
    QCOMPARE(w.form->DBGrid1->options(), expected);
    QCOMPARE(w.form->DBGrid1->columnCount(), 8);
    QCOMPARE(w.form->DBGrid1->column(0).width(), 0);
    for (int c = 1; c < 8; ++c) {
        const forms::Column& column = w.form->DBGrid1->column(c);
        QVERIFY2(!column.hasStoredWidth(), column.field()->fieldName().c_str());
        QCOMPARE(column.width(), column.defaultWidth());
        QCOMPARE(column.titleAlignment(), forms::Alignment::Center);
    }
    // The two totals are as wide as the other amounts.
    QCOMPARE(w.form->DBGrid1->column(1).width(), w.form->DBGrid1->column(2).width());
    QCOMPARE(w.form->DBGrid1->column(7).width(), w.form->DBGrid1->column(6).width());
    QCOMPARE(w.form->DBGrid1->dataSource(), &w.form->DataSource1);
}

void MonthlyMainFormTest::summaryQueriesHoldTheMonthlyStatement() {
    MonthlyWindow w;
    QVERIFY(!w.form->Query1.active());
    QVERIFY(!w.form->Query_Print.active());
    QCOMPARE(w.form->Query1.sql().lines(), w.form->Query_Print.sql().lines());
    QCOMPARE(w.form->Query1.params().size(), std::size_t(155));
    for (forms::FloatField* field : {&w.form->Query1CR00, &w.form->Query1DR00, &w.form->Query1CR01,
                                     &w.form->FloatField1, &w.form->FloatField6})
        QCOMPARE(field->displayWidth(), 15);
    QCOMPARE(w.form->Query1AC_NAME.displayWidth(), 40);
    QCOMPARE(w.form->Query1DR00.displayFormat(), std::string("#,###"));
}

QTEST_MAIN(MonthlyMainFormTest)
#include "main_form_test.moc"
