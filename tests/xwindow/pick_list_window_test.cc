// The pick lists of both main windows under the real mouse and keyboard: entries
// picked with the mouse from a box without a valid pick, Enter in an open list, clicks
// on the grid that a box's exit test refuses, the focus moves a run request makes by
// code, and runs asked for while a box holds a text the user left off its list. Every
// case runs on the daily and on the monthly window.
#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPointer>
#include <QScopeGuard>
#include <QTest>
#include <QTimer>

#include "DAY_MORVEL_Unit1.h"
#include "engine/trace.h"
#include "summary_window.h"
#include "x_session.h"

namespace {

const std::string kWrongPick = "잘못 선택 하였읍니다.....";
const std::string kWrongKey = "잘못 입력하셨습니다";
const std::string kOrder = "종료일자보다 시작일자 더 큽니다......";


// Answers every modal box with Return, recording its text and the main window's caption
// while it was up.
struct Boxes {
    explicit Boxes(const forms::Form* form) : form_(form) {
        QObject::connect(&poll_, &QTimer::timeout, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal || modal == seen_) return;
            seen_ = modal;
            captions.push_back(form_->caption());
        });
        poll_.start(5);
    }
    size_t count() const { return answerer.texts.size(); }
    bool waitForCount(size_t n, int ms = 5000) const {
        return xsession::waitFor([&] { return count() >= n; }, ms) && count() == n;
    }
    xsession::ModalAnswerer answerer;
    std::vector<std::string> captions;

private:
    const forms::Form* form_;
    QPointer<QWidget> seen_;
    QTimer poll_;
};

// A box of the window the focus has entered by a click, with its list open.
bool clickIntoBox(const SummaryWindow& w, forms::ComboBox* box) {
    xsession::click(box);
    return w.waitForFocus(box) && xsession::waitFor([&] { return box->listOpen(); });
}

void pressBackspaceUntilEmpty(forms::ComboBox* box) {
    for (size_t i = QString::fromStdString(box->text()).size(); i > 0; --i) xsession::key("BackSpace");
    xsession::waitFor([&] { return box->text().empty(); });
}

// Rests the mouse pointer on entry `row` of the box's open list; `click`: clicks it.
void pointAtEntry(forms::ComboBox* box, int row, bool click = false) {
    QAbstractItemView* list = box->view();
    const QModelIndex entry = list->model()->index(row, box->modelColumn());
    list->scrollTo(entry);
    if (click) xsession::click(list->viewport(), list->visualRect(entry).center());
    else xsession::pointAt(list->viewport(), list->visualRect(entry).center());
}

void clickEntry(forms::ComboBox* box, int row) { pointAtEntry(box, row, true); }

// A click elsewhere while the box's list is open may only close the list: then it is
// repeated.
void clickPastTheList(const QWidget* target, QPoint local, const forms::ComboBox* box, const Boxes& boxes) {
    const size_t before = boxes.count();
    xsession::click(target, local);
    const auto warned = [&] { return boxes.count() > before; };
    xsession::waitFor([&] { return warned() || !box->listOpen(); });
    if (!warned() && !xsession::waitFor(warned, 150)) xsession::click(target, local);
}

// The day box of the daily window, the start month's box of the monthly one.
forms::ComboBox* periodBox(const SummaryWindow& w) {
    return w.daily() ? w.daily()->cbDay_First : w.form->cbMonth_First;
}

}  // namespace

class PickListWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void theMousePicksInABoxWithoutAValidPick_data() { xsession::bothPrograms(); }
    void theMousePicksInABoxWithoutAValidPick();
    void theMousePicksInABoxEmptiedWithBackspace_data() { xsession::bothPrograms(); }
    void theMousePicksInABoxEmptiedWithBackspace();
    void enterWithoutAPickWarnsAndKeepsTheBox_data() { xsession::bothPrograms(); }
    void enterWithoutAPickWarnsAndKeepsTheBox();
    void aRefusedClickOnTheGridLeavesTheGridAlone_data() { xsession::bothPrograms(); }
    void aRefusedClickOnTheGridLeavesTheGridAlone();
    void aFocusMoveByTheRunRequestRunsTheExitTest_data() { xsession::bothPrograms(); }
    void aFocusMoveByTheRunRequestRunsTheExitTest();
    void aRunRefusesABoxTheUserLeftOffItsList_data() { xsession::bothPrograms(); }
    void aRunRefusesABoxTheUserLeftOffItsList();
    void enterTakesTheEntryUnderThePointer_data() { xsession::bothPrograms(); }
    void enterTakesTheEntryUnderThePointer();
};

void PickListWindowTest::init() {
    if (!xsession::available()) QSKIP("needs an X server (DISPLAY) and xdotool");
}

void PickListWindowTest::theMousePicksInABoxWithoutAValidPick() {
    // Today's year lies after the list's last year: the year box holds no entry.
    QFETCH(QString, program);
    SummaryWindow w(program, QDate(2030, 5, 10));
    QVERIFY(w.ok());
    Boxes boxes(w.form);
    forms::ComboBox* year = w.form->cbYear;
    QVERIFY(clickIntoBox(w, year));
    QCOMPARE(year->itemIndex(), -1);

    clickEntry(year, 5);
    QVERIFY2(xsession::waitFor([&] { return year->text() == "2005" || boxes.count() > 0; }), year->text().c_str());
    QTest::qWait(100);
    QCOMPARE(boxes.count(), size_t(0));
    QCOMPARE(year->text(), std::string("2005"));
    QCOMPARE(year->itemIndex(), 5);
    QCOMPARE(year->hint(), std::string("5"));
    QVERIFY(w.waitForFocus(year));
    QVERIFY(!year->listOpen());

    // The pick lets the user leave.
    xsession::key("Tab");
    QVERIFY(w.waitForFocus(w.form->cbMonth_First));
    QCOMPARE(boxes.count(), size_t(0));
}

void PickListWindowTest::theMousePicksInABoxEmptiedWithBackspace() {
    QFETCH(QString, program);
    SummaryWindow w(program);
    QVERIFY(w.ok());
    Boxes boxes(w.form);
    // A period box, and the branch box, whose first entry was picked at start-up.
    struct Case {
        forms::ComboBox* box;
        int row;
    };
    for (const Case& c : {Case{periodBox(w), 2}, Case{w.form->cbKubun, 1}}) {
        QVERIFY(clickIntoBox(w, c.box));
        pressBackspaceUntilEmpty(c.box);
        QCOMPARE(c.box->text(), std::string());
        QCOMPARE(c.box->hint(), std::string("-1"));
        QVERIFY(c.box->listOpen());
        QVERIFY2(!c.box->view()->selectionModel()->hasSelection(), "the open list highlights no entry");

        clickEntry(c.box, c.row);
        QVERIFY(xsession::waitFor([&] { return !c.box->text().empty() || boxes.count() > 0; }));
        QTest::qWait(100);
        QCOMPARE(boxes.count(), size_t(0));
        QCOMPARE(c.box->text(), c.box->item(c.row));
        QCOMPARE(c.box->hint(), std::to_string(c.row));
        QVERIFY(w.waitForFocus(c.box));
    }
    // The branch picked is the one the run sends.
    QCOMPARE(w.form->cbKubun->itemIndex(), 1);
    xsession::key("Tab");
    QVERIFY(w.waitForFocus(w.form->BitBtn1));
    QCOMPARE(boxes.count(), size_t(0));
}

void PickListWindowTest::enterWithoutAPickWarnsAndKeepsTheBox() {
    QFETCH(QString, program);
    SummaryWindow w(program, QDate(2030, 5, 10));
    QVERIFY(w.ok());
    Boxes boxes(w.form);
    const std::string ownCaption = w.form->caption();

    // The year box opens on "2030" with nothing highlighted; then a box emptied with
    // Backspace. Enter warns under the caption "success" and changes nothing.
    forms::ComboBox* emptied = periodBox(w);
    for (forms::ComboBox* box : {w.form->cbYear, emptied}) {
        const size_t before = boxes.count();
        QVERIFY(clickIntoBox(w, box));
        if (box == emptied) pressBackspaceUntilEmpty(box);
        const std::string text = box->text();
        xsession::key("Return");
        QVERIFY(boxes.waitForCount(before + 1));
        QCOMPARE(boxes.answerer.texts.back(), kWrongPick);
        QCOMPARE(boxes.captions.back(), std::string("success"));
        QVERIFY(w.waitForFocus(box));
        QVERIFY(xsession::waitFor([&] { return box->listOpen(); }));
        QCOMPARE(box->text(), text);
        QCOMPARE(box->itemIndex(), -1);
        QCOMPARE(w.form->caption(), ownCaption);
        // The next box was never entered.
        QTest::qWait(100);
        QCOMPARE(boxes.count(), before + 1);
        QVERIFY(w.waitForFocus(box));

        // Ctrl+Backspace and Ctrl+Enter are characters like any other: refused.
        for (const char* keys : {"ctrl+BackSpace", "ctrl+Return"}) {
            xsession::key(keys);
            QVERIFY2(boxes.waitForCount(boxes.count() + 1), keys);
            QCOMPARE(boxes.answerer.texts.back(), kWrongKey);
            QVERIFY(w.waitForFocus(box));
            QCOMPARE(box->text(), text);
        }
        // A pick lets the next case leave the box.
        xsession::key("Down");
        QVERIFY(xsession::waitFor([&] { return box->itemIndex() >= 0; }));
    }
}

void PickListWindowTest::aRefusedClickOnTheGridLeavesTheGridAlone() {
    QFETCH(QString, program);
    SummaryWindow w(program);
    QVERIFY(w.ok());
    QVERIFY(w.runMay());
    int reruns = 0;  // the grid's rows read again: a run
    QObject::connect(&w.form->DataSource1, &forms::DataSource::dataChanged, [&] { ++reruns; });
    forms::DBGrid* grid = w.form->DBGrid1;
    const auto focusInGrid = [&] { return w.focused() && (w.focused() == grid || grid->isAncestorOf(w.focused())); };

    // A cell clicked: the monthly grid's editor covers it.
    xsession::click(grid->viewport(), grid->cellRect(2, 1).center());
    QVERIFY(xsession::waitFor(focusInGrid));
    QVERIFY(xsession::waitFor([&] { return grid->currentIndex().row() == 2 && grid->currentIndex().column() == 1; }));

    forms::ComboBox* year = w.form->cbYear;
    QVERIFY(clickIntoBox(w, year));
    pressBackspaceUntilEmpty(year);
    Boxes boxes(w.form);

    // Another cell clicked: the warning, and the focus back in the box.
    clickPastTheList(grid->viewport(), grid->cellRect(5, 2).center(), year, boxes);
    QVERIFY(boxes.waitForCount(1));
    QCOMPARE(boxes.answerer.texts.back(), kWrongPick);
    QVERIFY(w.waitForFocus(year));
    QVERIFY(xsession::waitFor([&] { return year->listOpen(); }));
    QTest::qWait(150);
    QVERIFY2(w.waitForFocus(year, 100), "the focus stays in the box");
    QCOMPARE(grid->currentIndex().row(), 2);
    QCOMPARE(grid->currentIndex().column(), 1);
    for (const QLineEdit* editor : grid->findChildren<QLineEdit*>()) QVERIFY2(!editor->isVisible(), "no editor open");

    // The box has the keyboard: a digit is refused, Tab warns again, a click on the run
    // button warns and does not run.
    xsession::key("5");
    QVERIFY(boxes.waitForCount(2));
    QCOMPARE(boxes.answerer.texts.back(), kWrongKey);
    QCOMPARE(year->text(), std::string());
    xsession::key("Tab");
    QVERIFY(boxes.waitForCount(3));
    QCOMPARE(boxes.answerer.texts.back(), kWrongPick);
    QVERIFY(w.waitForFocus(year));
    QVERIFY(xsession::waitFor([&] { return year->listOpen(); }));
    clickPastTheList(w.form->BitBtn1, QPoint(-1, -1), year, boxes);
    QVERIFY(boxes.waitForCount(4));
    QCOMPARE(boxes.answerer.texts.back(), kWrongPick);
    QVERIFY(w.waitForFocus(year));
    QCOMPARE(reruns, 0);
    QCOMPARE(grid->currentIndex().row(), 2);

    // With a year picked the access key runs; the grid's new rows leave the focus in the box.
    xsession::key("Down");
    QVERIFY(xsession::waitFor([&] { return year->text() == "2000"; }));
    xsession::key("alt+r");
    QVERIFY(xsession::waitFor([&] { return reruns > 0; }));
    QTest::qWait(100);
    QVERIFY2(w.waitForFocus(year, 100), "the focus stays in the box after the run");
    QCOMPARE(boxes.count(), size_t(4));
}

void PickListWindowTest::aFocusMoveByTheRunRequestRunsTheExitTest() {
    // The run request refuses the period and gives the focus to another box by code: the
    // year box's exit test runs on that move (today's year is no entry of its list),
    // warns and keeps the focus.
    QFETCH(QString, program);
    SummaryWindow w(program, QDate(2030, 5, 10));
    QVERIFY(w.ok());
    std::string refusal = "시작일자 2030-04-31 : 유효하지 않은 날짜 형식입니다.";
    forms::ComboBox* movedTo = w.form->cbMonth_End;
    if (w.daily()) {
        w.setPeriod("04", "31", "05", "10");
        movedTo = w.daily()->cbDay_First;
    } else {
        w.setPeriod("12", "", "01", "");
        refusal = kOrder;
    }
    forms::ComboBox* year = w.form->cbYear;
    QVERIFY(clickIntoBox(w, year));
    QCOMPARE(year->itemIndex(), -1);
    Boxes boxes(w.form);

    // The access key acts without moving the focus; the refusal's move then leaves the box.
    xsession::key("alt+r");
    QVERIFY(boxes.waitForCount(2));
    QCOMPARE(boxes.answerer.texts, (std::vector<std::string>{refusal, kWrongPick}));
    QVERIFY(w.waitForFocus(year));
    QVERIFY(xsession::waitFor([&] { return year->listOpen(); }));
    QCOMPARE(year->text(), std::string("2030"));
    QVERIFY(!movedTo->listOpen());
    QCOMPARE(w.form->DBGrid1->recordCount(), 0);
}

void PickListWindowTest::aRunRefusesABoxTheUserLeftOffItsList() {
    // The access key asks for a run without moving the focus, so no exit test guards it.
    // A box emptied, a box shortened to a text that only begins an entry (the open list
    // still selects that entry, which would pass the exit test), a text pasted: the run
    // warns, gives that box the focus with its list open, and sends no statement.
    QFETCH(QString, program);
    int statements = 0;
    engine::setTraceSink([&](const engine::TraceEntry&) { ++statements; });
    const auto removeSink = qScopeGuard([] { engine::setTraceSink({}); });
    for (const std::string edit : {"emptied", "shortened", "pasted"}) {
        SummaryWindow w(program);
        QVERIFY(w.ok());
        forms::ComboBox* box = edit == "emptied" ? w.form->cbKubun
                               : edit == "pasted" ? w.form->cbYear
                               : w.daily()        ? w.daily()->cbDay_End
                                                  : w.form->cbMonth_End;
        QVERIFY(clickIntoBox(w, box));
        const std::string before = box->text();
        if (edit == "emptied") {
            pressBackspaceUntilEmpty(box);
        } else if (edit == "shortened") {
            xsession::key("BackSpace");
        } else {
            QGuiApplication::clipboard()->setText("7");
            xsession::key("shift+Insert");
        }
        QVERIFY2(xsession::waitFor([&] { return box->text() != before; }), edit.c_str());
        statements = 0;
        Boxes boxes(w.form);
        xsession::key("alt+r");
        QVERIFY2(boxes.waitForCount(1), edit.c_str());
        QCOMPARE(boxes.answerer.texts.back(), kWrongPick);
        QVERIFY(w.waitForFocus(box));
        QVERIFY(xsession::waitFor([&] { return box->listOpen(); }));
        QTest::qWait(100);
        QCOMPARE(statements, 0);
        QCOMPARE(boxes.count(), size_t(1));
    }
}

void PickListWindowTest::enterTakesTheEntryUnderThePointer() {
    QFETCH(QString, program);
    SummaryWindow w(program);
    QVERIFY(w.ok());
    Boxes boxes(w.form);
    forms::ComboBox* month = w.form->cbMonth_First;
    QVERIFY(clickIntoBox(w, month));
    QCOMPARE(month->text(), std::string("05"));
    // The pointer rests on "02": the list highlights it; Enter picks it and walks on.
    pointAtEntry(month, 1);
    QVERIFY(xsession::waitFor([&] {
        const QModelIndexList highlighted = month->view()->selectionModel()->selectedIndexes();
        return highlighted.size() == 1 && highlighted.front().row() == 1;
    }));
    xsession::key("Return");
    forms::ComboBox* next = w.daily() ? w.daily()->cbDay_First : w.form->cbMonth_End;
    QVERIFY(w.waitForFocus(next));
    QCOMPARE(month->text(), std::string("02"));
    QCOMPARE(month->hint(), std::string("1"));

    // Shortened to "1" ("0"), the text still highlights "10" ("01"): Enter takes the entry.
    const std::string entry = next->text();
    QVERIFY(xsession::waitFor([&] { return next->listOpen(); }));
    xsession::key("BackSpace");
    QVERIFY(xsession::waitFor([&] { return next->text() == entry.substr(0, 1); }));
    xsession::key("Return");
    QVERIFY(xsession::waitFor([&] { return !next->hasFocus(); }));
    QCOMPARE(next->text(), w.daily() ? std::string("10") : std::string("01"));
    QCOMPARE(boxes.count(), size_t(0));
}

QTEST_MAIN(PickListWindowTest)
#include "pick_list_window_test.moc"
