// The criteria pick lists of both main windows, driven by keys, clicks and focus moves:
// refused characters, the exit test, Enter walking the tab order, the caption. Every
// case runs on the daily and on the monthly window.
#include <QAbstractItemView>
#include <QSignalSpy>
#include <QTest>
#include <algorithm>

#include "mainform_pick_lists.h"
#include "twin_forms.h"

namespace {

const std::string kWrongPick = "잘못 선택 하였읍니다.....";
const std::string kWrongKey = "잘못 입력하셨습니다";

// A window shown and active, with two branches; its run and print buttons only count.
struct PickListWindow : TwinWindow {
    explicit PickListWindow(const Twin& twin, int year = 2002) : TwinWindow(twin) {
        forms::setClock([year] { return QDateTime(QDate(year, 8, 22), QTime(10, 30)); });
        createBranchTable();
        addBranch("00001", "본점", "서울");
        addBranch("00002", "지점", "부산");
        create();
        form->BitBtn1->onClick = [] {};
        form->PrintBtn->onClick = [] {};
        ok = show();
    }
    void enter(forms::ComboBox* b) {
        b->setFocus(Qt::OtherFocusReason);
        QCOMPARE(focused(), static_cast<QWidget*>(b));
    }
    // The pick list after `name` in the tab order.
    forms::ComboBox* after(const std::string& name) const {
        const auto& lists = twin.pickLists;
        return box(*(std::find(lists.begin(), lists.end(), name) + 1));
    }
    bool ok = false;
};

}  // namespace

class PickListTest : public QObject {
    Q_OBJECT
private slots:
    void refusedCharactersLeaveTheTextAlone_data() { addTwinRows(); }
    void refusedCharactersLeaveTheTextAlone();
    void enteringOpensTheListAndSelectsTheMatchingEntry_data() { addTwinRows(); }
    void enteringOpensTheListAndSelectsTheMatchingEntry();
    void backspaceToEmptyRecordsMinusOneAndBlocksLeaving_data() { addTwinRows(); }
    void backspaceToEmptyRecordsMinusOneAndBlocksLeaving();
    void aYearOutsideTheListCannotBeLeftUntilPicked_data() { addTwinRows(); }
    void aYearOutsideTheListCannotBeLeftUntilPicked();
    void enterWalksTheBoxesInTabOrderToTheRunButton_data() { addTwinRows(); }
    void enterWalksTheBoxesInTabOrderToTheRunButton();
    void enterWithoutAPickWarnsUnderTheSuccessCaption_data() { addTwinRows(); }
    void enterWithoutAPickWarnsUnderTheSuccessCaption();
    void clickedButtonDoesNotActWhileTheBoxHasNoPick_data() { addTwinRows(); }
    void clickedButtonDoesNotActWhileTheBoxHasNoPick();
    void accessKeyActsWithoutTheExitTest_data() { addTwinRows(); }
    void accessKeyActsWithoutTheExitTest();
    void arrowKeysPickWithoutMessages_data() { addTwinRows(); }
    void arrowKeysPickWithoutMessages();
    void keysTypedIntoTheOpenListReachTheBox_data() { addTwinRows(); }
    void keysTypedIntoTheOpenListReachTheBox();
    void acceptedCharacters();
};

void PickListTest::refusedCharactersLeaveTheTextAlone() {
    PickListWindow w(fetchedTwin());
    QVERIFY(w.ok);
    for (const std::string& name : w.twin.pickLists) {
        forms::ComboBox* box = w.box(name);
        w.boxes.clear();
        w.enter(box);
        const std::string text = box->text();
        for (Qt::Key k : {Qt::Key_2, Qt::Key_A, Qt::Key_Space, Qt::Key_Escape}) w.key(k);
        // Ctrl+Backspace and Ctrl+Enter are characters of their own, refused too.
        w.key(Qt::Key_Backspace, Qt::ControlModifier);
        w.key(Qt::Key_Return, Qt::ControlModifier);
        QCOMPARE(w.messageTexts(), std::vector<std::string>(6, kWrongKey));
        for (const auto& b : w.boxes) {
            QCOMPARE(b.box.kind, forms::MessageKind::Plain);
            QCOMPARE(b.box.caption, w.twin.title);
        }
        QCOMPARE(box->text(), text);
        QCOMPARE(box->hint(), std::string());
        QCOMPARE(w.focused(), static_cast<QWidget*>(box));
        QCOMPARE(w.form->caption(), w.twin.caption);
    }
}

void PickListTest::enteringOpensTheListAndSelectsTheMatchingEntry() {
    PickListWindow w(fetchedTwin());
    QVERIFY(w.ok);
    auto* box = w.form->cbMonth_First;
    QCOMPARE(box->itemIndex(), -1);
    w.enter(box);
    QVERIFY(box->listOpen());
    QCOMPARE(box->itemIndex(), 7);
    QCOMPARE(box->text(), std::string("08"));
    // No change event: the record stays empty.
    QCOMPARE(box->hint(), std::string());
    w.key(Qt::Key_Tab);
    QVERIFY(!box->listOpen());
    QCOMPARE(w.focused(), static_cast<QWidget*>(w.after("cbMonth_First")));
    QVERIFY(w.after("cbMonth_First")->listOpen());
    QVERIFY(w.boxes.empty());
}

void PickListTest::backspaceToEmptyRecordsMinusOneAndBlocksLeaving() {
    PickListWindow w(fetchedTwin());
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
    PickListWindow w(fetchedTwin(), 2015);
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
    PickListWindow w(fetchedTwin());
    QVERIFY(w.ok);
    QSignalSpy runClicks(w.form->BitBtn1, &QPushButton::clicked);
    w.enter(w.form->cbYear);
    std::vector<std::string> next(w.twin.pickLists.begin() + 1, w.twin.pickLists.end());
    next.push_back("BitBtn1");
    for (const std::string& expected : next) {
        w.key(Qt::Key_Return);
        QCOMPARE(w.focused()->objectName().toStdString(), expected);
    }
    QVERIFY(!w.form->cbKubun->listOpen());
    QCOMPARE(runClicks.count(), 0);
    QVERIFY(w.boxes.empty());
    QCOMPARE(w.form->caption(), w.twin.caption);
    // Enter never reached a box's text.
    QCOMPARE(w.form->cbYear->text(), std::string("2002"));
}

void PickListTest::enterWithoutAPickWarnsUnderTheSuccessCaption() {
    PickListWindow w(fetchedTwin());
    QVERIFY(w.ok);
    auto* box = w.box(w.twin.pickLists[w.twin.pickLists.size() - 2]);  // the last period box
    w.enter(box);
    w.key(Qt::Key_Backspace);
    w.key(Qt::Key_Backspace);
    QCOMPARE(box->hint(), std::string("-1"));
    w.key(Qt::Key_Enter);
    QCOMPARE(w.boxes.size(), std::size_t(1));
    QCOMPARE(w.boxes[0].box.text, kWrongPick);
    QCOMPARE(w.boxes[0].windowCaption, std::string("success"));
    QCOMPARE(w.form->caption(), w.twin.caption);
    QCOMPARE(w.focused(), static_cast<QWidget*>(box));
    QVERIFY(box->listOpen());
    QVERIFY(!w.form->cbKubun->listOpen());
}

void PickListTest::clickedButtonDoesNotActWhileTheBoxHasNoPick() {
    PickListWindow w(fetchedTwin());
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
    PickListWindow w(fetchedTwin());
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
    PickListWindow w(fetchedTwin());
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
    PickListWindow w(fetchedTwin());
    QVERIFY(w.ok);
    auto* box = w.form->cbMonth_First;
    w.enter(box);
    QVERIFY(box->listOpen());
    // The real keyboard talks to the open list; it hands every key to the box.
    QAbstractItemView* list = box->view();
    QTest::keyClick(list, Qt::Key_5);
    QCOMPARE(w.messageTexts(), std::vector<std::string>{kWrongKey});
    QCOMPARE(box->text(), std::string("08"));
    QTest::keyClick(list, Qt::Key_Down);
    QCOMPARE(box->text(), std::string("09"));
    QCOMPARE(box->hint(), std::string("8"));
    QTest::keyClick(list, Qt::Key_Return);
    QCOMPARE(w.focused(), static_cast<QWidget*>(w.after("cbMonth_First")));
    QVERIFY(!box->listOpen());
    QCOMPARE(w.boxes.size(), std::size_t(1));
}

void PickListTest::acceptedCharacters() {
    for (int c : {8, 13, 25, 26, 28}) QVERIFY(mainform::pickListAccepts(QChar(c)));
    for (int c : {0, 1, 10, 24, 27, 29, 32, int('0'), int('a'), 127, 0xAC00})
        QVERIFY(!mainform::pickListAccepts(QChar(c)));
}

QTEST_MAIN(PickListTest)
#include "pick_list_test.moc"
