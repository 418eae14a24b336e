// Closing the daily main window: every way of closing runs the work table's clean-up
// once and ends the program; a failing clean-up keeps the window open for a retry, and
// a further failing close ends the program all the same.
#include <QTest>
#include <algorithm>

#include "DAY_MORVEL_Unit1_Print01.h"
#include "daily_fixture.h"
#include "mainform_requests.h"

namespace {

// The program's start-up on a database with a branch table and, unless told
// otherwise, the work table; counts the clean-up's delete statements.
struct RunningProgram {
    explicit RunningProgram(bool withWorkTable = true) {
        mainform::resetFailedClose();
        forms::setClock([] { return QDateTime(QDate(2002, 8, 22), QTime(10, 30)); });
        forms::setMessageResponder([this](const forms::ShownMessage& box) { boxes.push_back(box); });
        db.exec("CREATE TABLE Kubun_Table (Kubun_Code CHAR(5), Kubun_Name CHAR(20), Kubun_JangSo CHAR(20))");
        db.exec("INSERT INTO Kubun_Table VALUES ('00001', '본점', '서울')");
        if (withWorkTable) createWorkTable();
        engine::setTraceSink([this](const engine::TraceEntry& entry) {
            std::string text = entry.text;
            std::transform(text.begin(), text.end(), text.begin(), ::tolower);
            if (text.find("delete") != std::string::npos && text.find("test_ac_code") != std::string::npos)
                ++cleanUps;
        });
        app = std::make_unique<forms::Application>("/opt/morvel/DAY_MORVEL");
        app->createForm(fmDay_Morvel_Form);
        app->createForm(qrfmDay_Morvel_Form);
        app->createForm(fmDAY_MORVEL_CODE_Update_Form);
        form = fmDay_Morvel_Form;
        form->show();
        QApplication::setActiveWindow(form);
        active = QTest::qWaitForWindowActive(form);
    }
    ~RunningProgram() {
        engine::setTraceSink({});
        app.reset();
        fmDay_Morvel_Form = nullptr;
        qrfmDay_Morvel_Form = nullptr;
        fmDAY_MORVEL_CODE_Update_Form = nullptr;
        forms::setMessageResponder({});
        forms::resetPlatform();
    }
    void createWorkTable() {
        db.exec("CREATE TABLE Test_Ac_Code (Serial_No INTEGER, Code_Kubun CHAR(2), A_Kubun CHAR(1), "
                "B_Kubun CHAR(2), C_Kubun CHAR(2), D_Kubun CHAR(3), E_Kubun CHAR(3), Ac_Code CHAR(12), "
                "Ac_Name VARCHAR(90), Ac_Name_SiSan VARCHAR(90), Ac_Name_Gita VARCHAR(90), Jan_Check CHAR(2), "
                "The_Code CHAR(12), Code_MoveCode CHAR(12), Code_TwoMove CHAR(12), Code_ThreeMove CHAR(12))");
    }

    TempAccountDatabase db;
    std::unique_ptr<forms::Application> app;
    TfmDay_Morvel_Form* form = nullptr;
    std::vector<forms::ShownMessage> boxes;
    int cleanUps = 0;
    bool active = false;
};

}  // namespace

class CloseTest : public QObject {
    Q_OBJECT
private slots:
    void startUpCreatesTheThreeFormsInOrder();
    void closeButtonCleansUpOnceAndEnds();
    void closeBoxCleansUpOnceAndEnds();
    void accessKeyClosesFromAPickListWithoutAPick();
    void failingCleanUpKeepsTheWindowAndALaterCloseRetries();
    void aSecondFailingCloseEndsTheProgramAfterItsErrorBox();
};

void CloseTest::startUpCreatesTheThreeFormsInOrder() {
    RunningProgram p;
    QVERIFY(p.active);
    QCOMPARE(p.app->title(), std::string("Day_morvel"));
    QCOMPARE(p.app->mainForm(), static_cast<forms::Form*>(p.form));
    QVERIFY(qrfmDay_Morvel_Form && !qrfmDay_Morvel_Form->isVisible());
    QVERIFY(fmDAY_MORVEL_CODE_Update_Form && !fmDAY_MORVEL_CODE_Update_Form->isVisible());
    QCOMPARE(DayRunCheck(), std::string("NN"));
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(p.form->PrintBtn));
    QCOMPARE(p.cleanUps, 0);
}

void CloseTest::closeButtonCleansUpOnceAndEnds() {
    RunningProgram p;
    QVERIFY(p.active);
    QTest::mouseClick(p.form->CloseBtn, Qt::LeftButton);
    QCOMPARE(p.cleanUps, 1);
    QVERIFY(p.app->terminated());
    QVERIFY(!p.form->isVisible());
    QCOMPARE(fmDay_Morvel_Form, nullptr);
    QVERIFY(p.boxes.empty());
}

void CloseTest::closeBoxCleansUpOnceAndEnds() {
    RunningProgram p;
    QVERIFY(p.active);
    QVERIFY(p.form->close());
    QCOMPARE(p.cleanUps, 1);
    QVERIFY(p.app->terminated());
    QCOMPARE(fmDay_Morvel_Form, nullptr);
}

void CloseTest::accessKeyClosesFromAPickListWithoutAPick() {
    RunningProgram p;
    QVERIFY(p.active);
    p.form->cbYear->setFocus(Qt::OtherFocusReason);
    for (int i = 0; i < 4; ++i) QTest::keyClick(p.form->cbYear, Qt::Key_Backspace);
    QTest::keyClick(p.form->cbYear, Qt::Key_X, Qt::AltModifier);
    QCOMPARE(p.cleanUps, 1);
    QVERIFY(p.app->terminated());
    QVERIFY(p.boxes.empty());  // closing moves no focus: no exit test
}

void CloseTest::failingCleanUpKeepsTheWindowAndALaterCloseRetries() {
    RunningProgram p(false);
    QVERIFY(p.active);
    QVERIFY(!p.form->close());
    QCOMPARE(p.boxes.size(), std::size_t(1));
    QCOMPARE(p.boxes[0].kind, forms::MessageKind::Error);
    QCOMPARE(p.boxes[0].caption, std::string("Day_morvel"));
    QVERIFY(p.form->isVisible());
    QCOMPARE(fmDay_Morvel_Form, p.form);
    QVERIFY(!p.app->terminated());

    p.createWorkTable();
    QTest::mouseClick(p.form->CloseBtn, Qt::LeftButton);
    QCOMPARE(p.cleanUps, 2);  // the failed attempt and the retry
    QVERIFY(p.app->terminated());
    QCOMPARE(fmDay_Morvel_Form, nullptr);
    QCOMPARE(p.boxes.size(), std::size_t(1));
}

void CloseTest::aSecondFailingCloseEndsTheProgramAfterItsErrorBox() {
    RunningProgram p(false);
    QVERIFY(p.active);
    QVERIFY(!p.form->close());
    QVERIFY(!p.app->terminated());
    QTest::mouseClick(p.form->CloseBtn, Qt::LeftButton);
    QCOMPARE(p.boxes.size(), std::size_t(2));  // each failure is shown
    QCOMPARE(p.boxes[1].kind, forms::MessageKind::Error);
    QCOMPARE(p.boxes[1].text, p.boxes[0].text);
    QVERIFY(p.app->terminated());
    QCOMPARE(fmDay_Morvel_Form, nullptr);
}

QTEST_MAIN(CloseTest)
#include "close_test.moc"
