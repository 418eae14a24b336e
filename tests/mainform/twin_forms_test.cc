// What the daily and the monthly main window share, checked on both: placement, the
// branch list and its failure, first focus and tab order, the inert excel button,
// start-up and close. The pick lists have a suite of their own (pick_list_test.cc).
#include <QTest>
#include <algorithm>

#include "engine/query.h"
#include "mainform_branches.h"
#include "mainform_requests.h"
#include "twin_forms.h"

namespace {

// The program's start-up in an application object; counts the clean-up's deletes.
struct RunningProgram {
    explicit RunningProgram(const Twin& twin) : twin(twin) {
        mainform::resetFailedClose();
        forms::setClock([] { return QDateTime(QDate(2002, 8, 22), QTime(10, 30)); });
        forms::setMessageResponder([this](const forms::ShownMessage& box) { boxes.push_back(box); });
        db.exec("CREATE TABLE Kubun_Table (Kubun_Code CHAR(5), Kubun_Name CHAR(20), Kubun_JangSo CHAR(20))");
        db.exec("INSERT INTO Kubun_Table VALUES ('00001', '본점', '서울')");
        createWorkTable();
        engine::setTraceSink([this](const engine::TraceEntry& entry) {
            std::string text = entry.text;
            std::transform(text.begin(), text.end(), text.begin(), ::tolower);
            if (text.find("delete") != std::string::npos && text.find("test_ac_code") != std::string::npos)
                ++cleanUps;
        });
        twin.runCheck().clear();
        app = std::make_unique<forms::Application>("/opt/morvel/" + upper(twin.title) + ".exe");
        twin.startUp(*app);
        form = twin.mainForm();
        form->show();
        QApplication::setActiveWindow(form);
        active = QTest::qWaitForWindowActive(form);
    }
    ~RunningProgram() {
        engine::setTraceSink({});
        app.reset();
        twin.clearGlobals();
        forms::setMessageResponder({});
        forms::resetPlatform();
    }
    void createWorkTable() {
        db.exec("CREATE TABLE Test_Ac_Code (Serial_No INTEGER, Code_Kubun CHAR(2), A_Kubun CHAR(1), "
                "B_Kubun CHAR(2), C_Kubun CHAR(2), D_Kubun CHAR(3), E_Kubun CHAR(3), Ac_Code CHAR(12), "
                "Ac_Name VARCHAR(90), Ac_Name_SiSan VARCHAR(90), Ac_Name_Gita VARCHAR(90), Jan_Check CHAR(2), "
                "The_Code CHAR(12), Code_MoveCode CHAR(12), Code_TwoMove CHAR(12), Code_ThreeMove CHAR(12))");
    }
    // What a request that could not clean up leaves for the close to undo.
    void leavePrepared(bool withoutWorkTable = false) {
        twin.preparation()->pRun_CodeUpdate();
        if (withoutWorkTable) db.exec("DROP TABLE Test_Ac_Code");
    }
    static std::string upper(std::string text) {
        std::transform(text.begin(), text.end(), text.begin(), ::toupper);
        return text;
    }

    const Twin& twin;
    TempAccountDatabase db;
    std::unique_ptr<forms::Application> app;
    mainform::SummaryMainForm* form = nullptr;
    std::vector<forms::ShownMessage> boxes;
    int cleanUps = 0;
    bool active = false;
};

}  // namespace

class TwinFormsTest : public QObject {
    Q_OBJECT
private slots:
    void centring_data();
    void centring();
    void branchListInCodeOrderWithTrimmedParts_data() { addTwinRows(); }
    void branchListInCodeOrderWithTrimmedParts();
    void failingBranchQueryShowsOneErrorAndSkipsTheRest_data() { addTwinRows(); }
    void failingBranchQueryShowsOneErrorAndSkipsTheRest();
    void firstFocusAndTabOrder_data() { addTwinRows(); }
    void firstFocusAndTabOrder();
    void excelButtonDoesNothing_data() { addTwinRows(); }
    void excelButtonDoesNothing();
    void startUpCreatesTheThreeFormsInOrder_data() { addTwinRows(); }
    void startUpCreatesTheThreeFormsInOrder();
    void closeCleansUpOnceAndEnds_data();
    void closeCleansUpOnceAndEnds();
    void failingCleanUpKeepsTheWindowAndALaterCloseRetries_data() { addTwinRows(); }
    void failingCleanUpKeepsTheWindowAndALaterCloseRetries();
    void aSecondFailingCloseEndsTheProgramAfterItsErrorBox_data() { addTwinRows(); }
    void aSecondFailingCloseEndsTheProgramAfterItsErrorBox();
    void branchParameterPattern();
};

void TwinFormsTest::centring_data() {
    QTest::addColumn<QString>("program");
    QTest::addColumn<bool>("windows9x");
    QTest::addColumn<QRect>("area");  // the work area on Windows 9x, else the screen
    QTest::addColumn<QSize>("outer");
    QTest::addColumn<QPoint>("topLeft");
    QTest::newRow("daily 1024x768") << "daily" << false << QRect(0, 0, 1024, 768) << QSize(960, 695)
                                    << QPoint(32, 36);
    QTest::newRow("daily 800x600 halves toward zero") << "daily" << false << QRect(0, 0, 800, 600)
                                                      << QSize(960, 695) << QPoint(-80, -47);
    QTest::newRow("daily 799 wide") << "daily" << false << QRect(0, 0, 799, 600) << QSize(960, 695)
                                    << QPoint(-80, -47);
    QTest::newRow("daily work area 1024x738") << "daily" << true << QRect(0, 30, 1024, 738) << QSize(960, 695)
                                              << QPoint(32, 21);
    QTest::newRow("daily work area 799 wide") << "daily" << true << QRect(100, 0, 799, 600) << QSize(960, 695)
                                              << QPoint(-80, -47);
    QTest::newRow("monthly 1024x768") << "monthly" << false << QRect(0, 0, 1024, 768) << QSize(864, 695)
                                      << QPoint(80, 36);
    // A taskbar along the top: the work area's origin is not added.
    QTest::newRow("monthly work area 1024x738") << "monthly" << true << QRect(0, 30, 1024, 738) << QSize(864, 695)
                                                << QPoint(80, 21);
    QTest::newRow("monthly work area 800x570 halves toward zero")
        << "monthly" << true << QRect(0, 0, 800, 570) << QSize(864, 695) << QPoint(-32, -62);
}

void TwinFormsTest::centring() {
    QFETCH(bool, windows9x);
    QFETCH(QRect, area);
    QFETCH(QSize, outer);
    QFETCH(QPoint, topLeft);
    TwinWindow w(fetchedTwin());
    w.createBranchTable();
    if (windows9x) {
        forms::setPlatformId(forms::kPlatformWindows9x);
        forms::setScreenSize(QSize(1280, 1024));
        forms::setWorkArea(area);
    } else {
        forms::setScreenSize(area.size());
        forms::setWorkArea(QRect(0, 0, 640, 480));  // counts on Windows 9x only
    }
    w.create();
    QCOMPARE(QSize(w.form->outerWidth(), w.form->outerHeight()), outer);
    QCOMPARE(QPoint(w.form->left(), w.form->top()), topLeft);
}

void TwinFormsTest::branchListInCodeOrderWithTrimmedParts() {
    // One window at a time: the program's globals hold one set of forms.
    {
        TwinWindow w(fetchedTwin());
        w.createBranchTable();
        w.addBranch("00002", "부산지점  ", "부산   ");
        w.addBranch("00001", "본점", "서울 ");
        w.addBranch("00003", "공장 ", "울산");
        w.statements.clear();
        w.create();
        auto* box = w.form->cbKubun;
        QCOMPARE(box->itemCount(), 3);
        QCOMPARE(box->item(0), std::string("본점/서울"));
        QCOMPARE(box->item(1), std::string("부산지점/부산"));
        QCOMPARE(box->item(2), std::string("공장/울산"));
        QCOMPARE(box->itemIndex(), 0);
        QCOMPARE(box->text(), std::string("본점/서울"));
        QCOMPARE(box->hint(), std::string());
        QCOMPARE(w.twin.runCheck(), std::string("NN"));
        QVERIFY(w.boxes.empty());
        // The statement as given: three lines, padded to 91, 93 and 93 characters.
        QCOMPARE(w.statements.size(), std::size_t(1));
        const std::string expected =
            " Select  Kubun_Code, ( rtrim(Kubun_Name) + '/' + rtrim(Kubun_JangSo) ) As Total" + std::string(12, ' ') +
            "\r\n From    Kubun_Table" + std::string(73, ' ') + "\r\n Order   By   Kubun_Code" + std::string(69, ' ') + "\r\n";
        QCOMPARE(w.statements[0].text, expected);
        QVERIFY(w.form->Query2.active());
    }

    TwinWindow empty(fetchedTwin());
    empty.createBranchTable();
    empty.create();
    QCOMPARE(empty.form->cbKubun->itemCount(), 0);
    QCOMPARE(empty.form->cbKubun->itemIndex(), -1);
    QCOMPARE(empty.form->cbKubun->text(), std::string());  // not the form's "cbKubun"
    QCOMPARE(empty.twin.runCheck(), std::string("NN"));
}

void TwinFormsTest::failingBranchQueryShowsOneErrorAndSkipsTheRest() {
    TwinWindow w(fetchedTwin());  // no Kubun_Table
    forms::setScreenSize(QSize(800, 600));
    w.create();
    QCOMPARE(w.boxes.size(), std::size_t(1));
    QCOMPARE(w.boxes[0].box.kind, forms::MessageKind::Error);
    QCOMPARE(w.boxes[0].box.caption, w.twin.title);
    // What ran before the failure stays done; the rest is skipped.
    QCOMPARE(w.form->top(), -47);
    for (const std::string& name : w.twin.pickLists) {
        if (name == "cbKubun") continue;
        const std::string today = name == "cbYear" ? "2002" : name.starts_with("cbMonth") ? "08" : "22";
        QCOMPARE(w.box(name)->text(), today);
    }
    QCOMPARE(w.form->cbKubun->text(), std::string("cbKubun"));
    QCOMPARE(w.form->cbKubun->itemCount(), 0);
    QCOMPARE(w.twin.runCheck(), std::string());
    QVERIFY(w.show());
}

void TwinFormsTest::firstFocusAndTabOrder() {
    TwinWindow w(fetchedTwin());
    w.createBranchTable();
    w.addBranch("00001", "본점", "서울");
    w.create();
    QVERIFY(w.show());
    QCOMPARE(w.focused(), static_cast<QWidget*>(w.form->PrintBtn));
    std::vector<std::string> order{"CloseBtn", "CancelBtn"};
    order.insert(order.end(), w.twin.pickLists.begin(), w.twin.pickLists.end());
    order.insert(order.end(), {"BitBtn1", "DBGrid1"});
    for (const std::string& expected : order) {
        w.key(Qt::Key_Tab);
        QCOMPARE(w.focused()->objectName().toStdString(), expected);
    }
    // Shift+Tab from the first control wraps back to the grid.
    w.form->PrintBtn->setFocus(Qt::OtherFocusReason);
    w.key(Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(w.focused(), static_cast<QWidget*>(w.form->DBGrid1));
    QVERIFY(w.boxes.empty());
}

void TwinFormsTest::excelButtonDoesNothing() {
    TwinWindow w(fetchedTwin());
    w.createBranchTable();
    w.create();
    QVERIFY(w.show());
    const auto statementsBefore = w.statements.size();
    QTest::mouseClick(w.form->CancelBtn, Qt::LeftButton);
    QTest::keyClick(w.form, Qt::Key_E, Qt::AltModifier);
    QVERIFY(w.boxes.empty());
    QCOMPARE(w.statements.size(), statementsBefore);
    QVERIFY(w.form->isVisible());
    QCOMPARE(w.twin.runCheck(), std::string("NN"));
}

void TwinFormsTest::startUpCreatesTheThreeFormsInOrder() {
    RunningProgram p(fetchedTwin());
    QVERIFY(p.active);
    QCOMPARE(p.app->title(), p.twin.title);
    QCOMPARE(p.app->mainForm(), static_cast<forms::Form*>(p.form));
    QVERIFY(p.twin.reportFormExists());
    QVERIFY(p.twin.preparationFormExists());
    QCOMPARE(p.twin.runCheck(), std::string("NN"));
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(p.form->PrintBtn));
    QCOMPARE(p.cleanUps, 0);
}

void TwinFormsTest::closeCleansUpOnceAndEnds_data() {
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("how");
    for (const char* program : {"daily", "monthly"})
        for (const char* how : {"close button", "close box", "Alt+X from a box without a pick"})
            QTest::addRow("%s, %s", program, how) << program << how;
}

void TwinFormsTest::closeCleansUpOnceAndEnds() {
    QFETCH(QString, how);
    RunningProgram p(fetchedTwin());
    QVERIFY(p.active);
    p.leavePrepared();
    if (how == "close button") {
        QTest::mouseClick(p.form->CloseBtn, Qt::LeftButton);
    } else if (how == "close box") {
        QVERIFY(p.form->close());
    } else {
        // Closing moves no focus, so the box's exit test does not run.
        p.form->cbYear->setFocus(Qt::OtherFocusReason);
        for (int i = 0; i < 4; ++i) QTest::keyClick(p.form->cbYear, Qt::Key_Backspace);
        QTest::keyClick(p.form->cbYear, Qt::Key_X, Qt::AltModifier);
    }
    QCOMPARE(p.cleanUps, 1);
    QVERIFY(p.app->terminated());
    QVERIFY(!p.form->isVisible());
    QCOMPARE(p.twin.mainForm(), nullptr);
    QVERIFY(p.boxes.empty());
}

void TwinFormsTest::failingCleanUpKeepsTheWindowAndALaterCloseRetries() {
    RunningProgram p(fetchedTwin());
    QVERIFY(p.active);
    p.leavePrepared(true);
    QVERIFY(!p.form->close());
    QCOMPARE(p.boxes.size(), std::size_t(1));
    QCOMPARE(p.boxes[0].kind, forms::MessageKind::Error);
    QCOMPARE(p.boxes[0].caption, p.twin.title);
    QVERIFY(p.form->isVisible());
    QCOMPARE(p.twin.mainForm(), p.form);
    QVERIFY(!p.app->terminated());

    p.createWorkTable();
    QTest::mouseClick(p.form->CloseBtn, Qt::LeftButton);
    QCOMPARE(p.cleanUps, 2);  // the failed attempt and the retry
    QVERIFY(p.app->terminated());
    QCOMPARE(p.twin.mainForm(), nullptr);
    QCOMPARE(p.boxes.size(), std::size_t(1));
}

void TwinFormsTest::aSecondFailingCloseEndsTheProgramAfterItsErrorBox() {
    RunningProgram p(fetchedTwin());
    QVERIFY(p.active);
    p.leavePrepared(true);
    QVERIFY(!p.form->close());
    QVERIFY(!p.app->terminated());
    QTest::mouseClick(p.form->CloseBtn, Qt::LeftButton);
    QCOMPARE(p.boxes.size(), std::size_t(2));  // each failure is shown
    QCOMPARE(p.boxes[1].kind, forms::MessageKind::Error);
    QCOMPARE(p.boxes[1].text, p.boxes[0].text);
    QVERIFY(p.app->terminated());
    QCOMPARE(p.twin.mainForm(), nullptr);
}

void TwinFormsTest::branchParameterPattern() {
    QCOMPARE(mainform::branchParameter(0), std::string("00000"));
    QCOMPARE(mainform::branchParameter(11), std::string("00011"));
    QCOMPARE(mainform::branchParameter(-1), std::string("-00001"));
    QCOMPARE(mainform::branchParameter(123456), std::string("123456"));
}

QTEST_MAIN(TwinFormsTest)
#include "twin_forms_test.moc"
