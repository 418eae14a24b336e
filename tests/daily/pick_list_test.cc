// The criteria pick lists of the daily main window, driven by keys, clicks and focus
// moves: refused characters, the exit test, Enter walking the tab order, the caption.
#include <QAbstractItemView>
#include <QSignalSpy>
#include <QTest>

#include "daily_fixture.h"
#include "mainform_pick_lists.h"

namespace {

const std::string kWrongPick = "잘못 선택 하였읍니다.....";
const std::string kWrongKey = "잘못 입력하셨습니다";

// A daily window, shown and active, with two branches and the focus on `box`.
struct PickListWindow : DailyFixture {
    explicit PickListWindow(int year = 2002) {
        forms::setClock([year] { return QDateTime(QDate(year, 8, 22), QTime(10, 30)); });
        createBranchTable();
        db.exec("INSERT INTO Kubun_Table VALUES ('00001', '본점', '서울')");
        db.exec("INSERT INTO Kubun_Table VALUES ('00002', '지점', '부산')");
        createForm();
        // These tests look at the pick lists alone: the buttons' clicks are counted, not run.
        form->BitBtn1->onClick = [] {};
        form->PrintBtn->onClick = [] {};
        ok = showForm();
    }
    void enter(forms::ComboBox* box) {
        box->setFocus(Qt::OtherFocusReason);
        QCOMPARE(focused(), static_cast<QWidget*>(box));
    }
    void key(Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier) { QTest::keyClick(focused(), k, mods); }
    bool ok = false;
};

}  // namespace

class PickListTest : public QObject {
    Q_OBJECT
private slots:
    void refusedCharactersLeaveTheTextAlone();
    void enteringOpensTheListAndSelectsTheMatchingEntry();
    void backspaceToEmptyRecordsMinusOneAndBlocksLeaving();
    void aYearOutsideTheListCannotBeLeftUntilPicked();
    void enterWalksTheBoxesInTabOrderToTheRunButton();
    void enterWithoutAPickWarnsUnderTheSuccessCaption();
    void clickedButtonDoesNotActWhileTheBoxHasNoPick();
    void accessKeyActsWithoutTheExitTest();
    void arrowKeysPickWithoutMessages();
    void keysTypedIntoTheOpenListReachTheBox();
    void acceptedCharacters();
};

void PickListTest::refusedCharactersLeaveTheTextAlone() {
    PickListWindow w;
    QVERIFY(w.ok);
    w.enter(w.form->cbYear);
    for (Qt::Key k : {Qt::Key_2, Qt::Key_A, Qt::Key_Space, Qt::Key_Escape}) w.key(k);
    QCOMPARE(w.messageTexts(), std::vector<std::string>(4, kWrongKey));
    for (const auto& b : w.boxes) {
        QCOMPARE(b.box.kind, forms::MessageKind::Plain);
        QCOMPARE(b.box.caption, std::string("Day_morvel"));
    }
    QCOMPARE(w.form->cbYear->text(), std::string("2002"));
    QCOMPARE(w.form->cbYear->hint(), std::string());
    QCOMPARE(w.focused(), static_cast<QWidget*>(w.form->cbYear));
    QCOMPARE(w.form->caption(), std::string("일계표 입니다."));
}

void PickListTest::enteringOpensTheListAndSelectsTheMatchingEntry() {
    PickListWindow w;
    QVERIFY(w.ok);
    QCOMPARE(w.form->cbMonth_First->itemIndex(), -1);
    w.enter(w.form->cbMonth_First);
    QVERIFY(w.form->cbMonth_First->listOpen());
    QCOMPARE(w.form->cbMonth_First->itemIndex(), 7);
    QCOMPARE(w.form->cbMonth_First->text(), std::string("08"));
    // No change event: the record stays empty.
    QCOMPARE(w.form->cbMonth_First->hint(), std::string());
    w.key(Qt::Key_Tab);
    QVERIFY(!w.form->cbMonth_First->listOpen());
    QCOMPARE(w.focused(), static_cast<QWidget*>(w.form->cbDay_First));
    QVERIFY(w.form->cbDay_First->listOpen());
    QVERIFY(w.boxes.empty());
}

void PickListTest::backspaceToEmptyRecordsMinusOneAndBlocksLeaving() {
    PickListWindow w;
    QVERIFY(w.ok);
    auto* box = w.form->cbYear;
    w.enter(box);
    std::vector<std::string> hints;
    for (int i = 0; i < 4; ++i) {
        w.key(Qt::Key_Backspace);
        hints.push_back(box->hint());
    }
    // With the list open an edit selects the first entry the text begins with.
    QCOMPARE(hints, (std::vector<std::string>{"0", "0", "0", "-1"}));
    QCOMPARE(box->text(), std::string());
    QCOMPARE(box->itemIndex(), -1);
    QVERIFY(w.boxes.empty());

    w.key(Qt::Key_Tab);
    QCOMPARE(w.messageTexts(), std::vector<std::string>{kWrongPick});
    QCOMPARE(w.boxes[0].box.kind, forms::MessageKind::Warning);
    QCOMPARE(w.boxes[0].box.caption, std::string("Warning"));
    QCOMPARE(w.focused(), static_cast<QWidget*>(box));
    QVERIFY(box->listOpen());
    QVERIFY(!w.form->cbMonth_First->listOpen());

    // Picking an entry rewrites the record and lets the user leave.
    w.key(Qt::Key_Down);
    QCOMPARE(box->hint(), std::string("0"));
    QCOMPARE(box->text(), std::string("2000"));
    w.key(Qt::Key_Tab);
    QCOMPARE(w.focused(), static_cast<QWidget*>(w.form->cbMonth_First));
    QCOMPARE(w.boxes.size(), std::size_t(1));
}

void PickListTest::aYearOutsideTheListCannotBeLeftUntilPicked() {
    PickListWindow w(2015);
    QVERIFY(w.ok);
    auto* box = w.form->cbYear;
    QCOMPARE(box->text(), std::string("2015"));
    w.enter(box);
    QCOMPARE(box->itemIndex(), -1);
    w.key(Qt::Key_Tab);
    w.key(Qt::Key_Backtab, Qt::ShiftModifier);
    QTest::mouseClick(w.form->cbMonth_First, Qt::LeftButton);
    QCOMPARE(w.messageTexts(), std::vector<std::string>(3, kWrongPick));
    QCOMPARE(w.focused(), static_cast<QWidget*>(box));
    // The box that was to receive the focus never entered: its list stayed shut.
    QVERIFY(!w.form->cbMonth_First->listOpen());
    QCOMPARE(box->text(), std::string("2015"));
}

void PickListTest::enterWalksTheBoxesInTabOrderToTheRunButton() {
    PickListWindow w;
    QVERIFY(w.ok);
    QSignalSpy runClicks(w.form->BitBtn1, &QPushButton::clicked);
    w.enter(w.form->cbYear);
    const std::vector<QWidget*> next{w.form->cbMonth_First, w.form->cbDay_First, w.form->cbMonth_End,
                                     w.form->cbDay_End,     w.form->cbKubun,     w.form->BitBtn1};
    for (QWidget* expected : next) {
        w.key(Qt::Key_Return);
        QCOMPARE(w.focused()->objectName(), expected->objectName());
    }
    QVERIFY(!w.form->cbKubun->listOpen());
    QCOMPARE(runClicks.count(), 0);
    QVERIFY(w.boxes.empty());
    QCOMPARE(w.form->caption(), std::string("일계표 입니다."));
    // Enter never reached a box's text.
    QCOMPARE(w.form->cbYear->text(), std::string("2002"));
}

void PickListTest::enterWithoutAPickWarnsUnderTheSuccessCaption() {
    PickListWindow w;
    QVERIFY(w.ok);
    auto* box = w.form->cbDay_End;
    w.enter(box);
    w.key(Qt::Key_Backspace);
    w.key(Qt::Key_Backspace);
    QCOMPARE(box->hint(), std::string("-1"));
    w.key(Qt::Key_Enter);
    QCOMPARE(w.boxes.size(), std::size_t(1));
    QCOMPARE(w.boxes[0].box.text, kWrongPick);
    QCOMPARE(w.boxes[0].windowCaption, std::string("success"));
    QCOMPARE(w.form->caption(), std::string("일계표 입니다."));
    QCOMPARE(w.focused(), static_cast<QWidget*>(box));
    QVERIFY(box->listOpen());
    QVERIFY(!w.form->cbKubun->listOpen());
}

void PickListTest::clickedButtonDoesNotActWhileTheBoxHasNoPick() {
    PickListWindow w;
    QVERIFY(w.ok);
    QSignalSpy runClicks(w.form->BitBtn1, &QPushButton::clicked);
    QSignalSpy printClicks(w.form->PrintBtn, &QPushButton::clicked);
    auto* box = w.form->cbMonth_End;
    w.enter(box);
    w.key(Qt::Key_Backspace);
    w.key(Qt::Key_Backspace);
    QTest::mouseClick(w.form->BitBtn1, Qt::LeftButton);
    QTest::mouseClick(w.form->PrintBtn, Qt::LeftButton);
    QCOMPARE(w.messageTexts(), std::vector<std::string>(2, kWrongPick));
    QCOMPARE(runClicks.count(), 0);
    QCOMPARE(printClicks.count(), 0);
    QCOMPARE(w.focused(), static_cast<QWidget*>(box));

    // With a pick the same click moves the focus and acts.
    w.key(Qt::Key_Down);
    QTest::mouseClick(w.form->BitBtn1, Qt::LeftButton);
    QCOMPARE(runClicks.count(), 1);
    QCOMPARE(w.focused(), static_cast<QWidget*>(w.form->BitBtn1));
    QCOMPARE(w.boxes.size(), std::size_t(2));
}

void PickListTest::accessKeyActsWithoutTheExitTest() {
    PickListWindow w;
    QVERIFY(w.ok);
    QSignalSpy runClicks(w.form->BitBtn1, &QPushButton::clicked);
    auto* box = w.form->cbYear;
    w.enter(box);
    for (int i = 0; i < 4; ++i) w.key(Qt::Key_Backspace);
    w.key(Qt::Key_R, Qt::AltModifier);
    QCOMPARE(runClicks.count(), 1);
    QCOMPARE(w.focused(), static_cast<QWidget*>(box));
    QVERIFY(w.boxes.empty());
    QCOMPARE(box->text(), std::string());
}

void PickListTest::arrowKeysPickWithoutMessages() {
    PickListWindow w;
    QVERIFY(w.ok);
    auto* box = w.form->cbMonth_First;
    w.enter(box);
    w.key(Qt::Key_Down);
    QCOMPARE(box->text(), std::string("09"));
    QCOMPARE(box->hint(), std::string("8"));
    w.key(Qt::Key_Up);
    w.key(Qt::Key_Up);
    QCOMPARE(box->text(), std::string("07"));
    QCOMPARE(box->hint(), std::string("6"));
    QVERIFY(box->listOpen());
    QVERIFY(w.boxes.empty());
    // The branch box: its index is what the query sends.
    w.enter(w.form->cbKubun);
    w.key(Qt::Key_Down);
    QCOMPARE(w.form->cbKubun->itemIndex(), 1);
    QCOMPARE(w.form->cbKubun->hint(), std::string("1"));
    QCOMPARE(w.form->cbKubun->text(), std::string("지점/부산"));
}

void PickListTest::keysTypedIntoTheOpenListReachTheBox() {
    PickListWindow w;
    QVERIFY(w.ok);
    auto* box = w.form->cbDay_First;
    w.enter(box);
    QVERIFY(box->listOpen());
    // The real keyboard talks to the open list; it hands every key to the box.
    QAbstractItemView* list = box->view();
    QTest::keyClick(list, Qt::Key_5);
    QCOMPARE(w.messageTexts(), std::vector<std::string>{kWrongKey});
    QCOMPARE(box->text(), std::string("22"));
    QTest::keyClick(list, Qt::Key_Down);
    QCOMPARE(box->text(), std::string("23"));
    QCOMPARE(box->hint(), std::string("22"));
    QTest::keyClick(list, Qt::Key_Return);
    QCOMPARE(w.focused(), static_cast<QWidget*>(w.form->cbMonth_End));
    QVERIFY(!box->listOpen());
    QCOMPARE(w.boxes.size(), std::size_t(1));
}

void PickListTest::acceptedCharacters() {
    for (int c : {8, 13, 25, 26, 28}) QVERIFY(mainform::pickListAccepts(QChar(c)));
    for (int c : {0, 1, 24, 27, 29, 32, int('0'), int('a'), 0xAC00}) QVERIFY(!mainform::pickListAccepts(QChar(c)));
}

QTEST_MAIN(PickListTest)
#include "pick_list_test.moc"
