// The main windows of both programs on a real X server with a window manager: what
// focus, activation and real modal boxes do to the pick lists, the run request's
// warnings and the preview, and the layout a clerk sees.
#include <QAbstractItemView>
#include <QApplication>
#include <QFontMetrics>
#include <QScrollBar>
#include <QStyleOptionViewItem>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include "DAY_MORVEL_Unit1.h"
#include "MONTH_MORVEL_Unit1.h"
#include "forms/compact_style.h"
#include "summary_window.h"
#include "mainform_roll_up_row.h"
#include "report/preview_window.h"
#include "x_session.h"

namespace {

const std::string kWrongPick = "잘못 선택 하였읍니다.....";

// Whether a text drawn in `font`, centred vertically in `box` as labels and grid cells
// draw it, keeps every glyph's box inside (a glyph may rise above the font's ascent).
bool textFitsVertically(const QFont& font, const QString& text, const QRect& box, QString* why) {
    const QFontMetrics metrics(font);
    const int baseline = box.top() + (box.height() - metrics.height()) / 2 + metrics.ascent();
    const QRect glyphs = metrics.boundingRect(text);
    const int top = baseline + glyphs.top();
    const int bottom = baseline + glyphs.bottom();
    *why = QString("\"%1\": glyphs %2..%3 in %4..%5").arg(text).arg(top).arg(bottom).arg(box.top()).arg(box.bottom());
    return top >= box.top() && bottom <= box.bottom();
}


}  // namespace

class SummaryWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void aClickOpensTheList_data() { xsession::bothPrograms(); }
    void aClickOpensTheList();
    void theExitRuleHoldsAfterTheRealWarning_data() { xsession::bothPrograms(); }
    void theExitRuleHoldsAfterTheRealWarning();
    void runWarningsLeaveTheFocusInTheBoxWithItsListOpen();
    void theYearListShowsItsEntriesWhole_data() { xsession::bothPrograms(); }
    void theYearListShowsItsEntriesWhole();
    void afterARunTheColumnsFitAndNoTextIsClipped_data() { xsession::bothPrograms(); }
    void afterARunTheColumnsFitAndNoTextIsClipped();
    void thePreviewFitsTheScreenAndKeepsTheFocusOffTheCloseButton_data() { xsession::bothPrograms(); }
    void thePreviewFitsTheScreenAndKeepsTheFocusOffTheCloseButton();
};

void SummaryWindowTest::init() {
    if (!xsession::available()) QSKIP("needs an X server (DISPLAY) and xdotool");
}

void SummaryWindowTest::aClickOpensTheList() {
    QFETCH(QString, program);
    SummaryWindow w(program);
    QVERIFY(w.ok());
    xsession::click(w.form->cbMonth_First);
    QVERIFY(w.waitForFocus(w.form->cbMonth_First));
    QVERIFY(xsession::waitFor([&] { return w.form->cbMonth_First->listOpen(); }));
    QTest::qWait(300);  // and it stays open once the click is over
    QVERIFY(w.form->cbMonth_First->listOpen());
    QCOMPARE(w.form->cbMonth_First->itemIndex(), 4);  // today's month, "05"
}

void SummaryWindowTest::theExitRuleHoldsAfterTheRealWarning() {
    // Today's year lies after the list's last year: the year box holds no entry.
    QFETCH(QString, program);
    SummaryWindow w(program, QDate(2030, 5, 10));
    QVERIFY(w.ok());
    int runs = 0;
    w.form->BitBtn1->onClick = [&] { ++runs; };
    forms::ComboBox* year = w.form->cbYear;
    year->setFocus();
    QVERIFY(w.waitForFocus(year));
    xsession::ModalAnswerer answerer;

    // Tab shows the warning; once it is closed the focus is back in the box, list open.
    for (int attempt = 1; attempt <= 2; ++attempt) {
        xsession::key("Tab");
        QVERIFY2(xsession::waitFor([&] { return answerer.texts.size() == static_cast<size_t>(attempt); }),
                 "the warning shows");
        QVERIFY(w.waitForFocus(year));
        QVERIFY(xsession::waitFor([&] { return year->listOpen(); }));
        QCOMPARE(year->itemIndex(), -1);
        QCOMPARE(year->text(), std::string("2030"));
    }
    // A click on the run button: the first closes the open list, the next is refused.
    xsession::click(w.form->BitBtn1);
    xsession::waitFor([&] { return !year->listOpen() || answerer.texts.size() == 3; }, 1000);
    if (answerer.texts.size() == 2) xsession::click(w.form->BitBtn1);
    QVERIFY(xsession::waitFor([&] { return answerer.texts.size() == 3; }));
    QVERIFY(w.waitForFocus(year));
    QVERIFY(xsession::waitFor([&] { return year->listOpen(); }));
    QCOMPARE(runs, 0);
    for (const std::string& text : answerer.texts) QCOMPARE(text, kWrongPick);
}

void SummaryWindowTest::runWarningsLeaveTheFocusInTheBoxWithItsListOpen() {
    struct Case {
        const char* program;
        const char* m1;
        const char* d1;
        const char* m2;
        const char* d2;
        const char* message;
        const char* box;
    };
    const Case cases[] = {
        {"daily", "12", "31", "01", "01", "종료일자보다 시작일자 더 큽니다......", "cbMonth_End"},
        {"daily", "04", "31", "05", "01", "시작일자 2002-04-31 : 유효하지 않은 날짜 형식입니다.", "cbDay_First"},
        {"daily", "02", "01", "02", "30", "종료일자 2002-02-30 : 유효하지 않은 날짜 형식입니다.", "cbDay_End"},
        {"monthly", "12", "", "01", "", "종료일자보다 시작일자 더 큽니다......", "cbMonth_End"},
    };
    for (const Case& c : cases) {
        SummaryWindow w(c.program);
        QVERIFY(w.ok());
        w.setPeriod(c.m1, c.d1, c.m2, c.d2);
        xsession::ModalAnswerer answerer;
        xsession::click(w.form->BitBtn1);
        QVERIFY(xsession::waitFor([&] { return answerer.texts.size() == 1; }));
        QCOMPARE(answerer.texts.front(), std::string(c.message));
        auto* box = w.form->findChild<forms::ComboBox*>(c.box);
        QVERIFY(box);
        QVERIFY(w.waitForFocus(box));
        QVERIFY2(xsession::waitFor([&] { return box->listOpen(); }), c.message);
    }
}

void SummaryWindowTest::theYearListShowsItsEntriesWhole() {
    // Opened for the first time by a click on its arrow.
    QFETCH(QString, program);
    SummaryWindow w(program);
    QVERIFY(w.ok());
    forms::ComboBox* year = w.form->cbYear;
    xsession::click(year, QPoint(year->width() - forms::CompactStyle::kArrowWidth / 2 - 2, year->height() / 2));
    QVERIFY(xsession::waitFor([&] { return year->listOpen(); }));
    QAbstractItemView* list = year->view();
    QStyleOptionViewItem option;
    option.initFrom(list);
    for (int i = 0; i < year->itemCount(); ++i) {
        const QModelIndex index = list->model()->index(i, 0);
        const int needed = list->itemDelegateForIndex(index)->sizeHint(option, index).width();
        QVERIFY2(list->viewport()->width() >= needed,
                 qPrintable(QString("%1 needs %2, has %3").arg(year->item(i).c_str()).arg(needed).arg(list->viewport()->width())));
    }
}

void SummaryWindowTest::afterARunTheColumnsFitAndNoTextIsClipped() {
    QFETCH(QString, program);
    SummaryWindow w(program);
    QVERIFY(w.ok());
    QVERIFY(w.runMay());
    QTest::qWait(200);
    forms::DBGrid* grid = w.form->DBGrid1;

    // The indicator, the six amounts and the title fit the grid at the window's default size.
    QVERIFY2(!grid->horizontalScrollBar()->isVisible(), "no horizontal scroll bar");
    const int lastColumn = grid->columnCount() - 1;
    QVERIFY(grid->cellRect(0, lastColumn).right() < grid->viewport()->width());

    QString why;
    for (forms::Label* label : w.form->findChildren<forms::Label*>())
        QVERIFY2(textFitsVertically(label->font(), label->text(), label->contentsRect(), &why), qPrintable(why));

    // The bold roll-up rows: every visible one's title.
    QFont rollUp = grid->font();
    rollUp.setPointSize(mainform::rollUpFontSize);
    rollUp.setBold(true);
    int checked = 0;
    for (int row = 0; row < grid->recordCount(); ++row) {
        const QRect cell = grid->cellRect(row, 4);
        if (cell.bottom() > grid->viewport()->height()) break;
        if (!mainform::isRollUpCode(grid->cellText(row, 0))) continue;
        ++checked;
        QVERIFY2(textFitsVertically(rollUp, QString::fromStdString(grid->cellText(row, 4)).trimmed(), cell, &why),
                 qPrintable(why));
    }
    QVERIFY(checked > 0);
}

void SummaryWindowTest::thePreviewFitsTheScreenAndKeepsTheFocusOffTheCloseButton() {
    QFETCH(QString, program);
    SummaryWindow w(program);
    QVERIFY(w.ok());
    QVERIFY(w.runMay());

    // The print request waits in the preview's own loop: the checks run from a timer there.
    bool seen = false;
    QWidget* focusDuring = w.form->CloseBtn;
    QRect outer, area;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        for (auto* preview : QApplication::topLevelWidgets()) {
            if (!qobject_cast<report::PreviewWindow*>(preview) || !preview->isActiveWindow()) continue;
            if (preview->frameGeometry() == preview->geometry()) return;  // not framed yet
            poll.stop();
            QTest::qWait(300);  // the window manager's last move
            seen = true;
            focusDuring = w.form->focusWidget();
            outer = preview->frameGeometry();
            area = preview->screen()->availableGeometry();
            preview->close();
            return;
        }
    });
    poll.start(50);
    xsession::click(w.form->PrintBtn);
    QVERIFY(xsession::waitFor([&] { return seen; }, 15000));
    QVERIFY2(focusDuring != w.form->CloseBtn, "the focus left the print button for the close button");
    QVERIFY2(area.contains(outer), qPrintable(QString("preview %1,%2 %3x%4 in %5x%6")
                                                 .arg(outer.x()).arg(outer.y()).arg(outer.width())
                                                 .arg(outer.height()).arg(area.width()).arg(area.height())));

    // Afterwards the focus is on the print button again: Enter asks for a run, and the
    // program goes on.
    QVERIFY2(w.waitForFocus(w.form->PrintBtn),
             qPrintable(QString("focus on %1, window active %2")
                            .arg(w.focused() ? w.focused()->objectName() : QString("nothing"))
                            .arg(w.form->isActiveWindow())));
    xsession::ModalAnswerer answerer;
    xsession::key("Return");
    QVERIFY(xsession::waitFor([&] { return answerer.texts.size() == 1; }));
    QCOMPARE(answerer.texts.front(), std::string("실행 번튼을 먼저 실행 하세요....."));
    QVERIFY(w.waitForFocus(w.form->PrintBtn));
    QVERIFY(w.form->isVisible());
}

QTEST_MAIN(SummaryWindowTest)
#include "summary_window_test.moc"
