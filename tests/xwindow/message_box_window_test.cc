// The programs' real message boxes on a real X server with a window manager: a warning
// stands in the middle of the screen wherever the main window lies, stays modal, and a
// real key closes it; the plain box is wide enough for the window manager to draw its
// caption whole.
#include <QApplication>
#include <QMessageBox>
#include <QScreen>
#include <QTest>

#include "DAY_MORVEL_Unit1.h"
#include "forms/application.h"
#include "summary_window.h"
#include "user_script.h"
#include "x_session.h"

namespace {


QString describe(const QRect& r) { return QString("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height()); }

// The modal message box once the window manager has framed and activated it.
QMessageBox* framedBox() {
    auto* b = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    return b && b->isActiveWindow() && b->frameGeometry() != b->geometry() ? b : nullptr;
}

// The title bar the window manager draws above a window, as it is on the screen.
QImage titleBar(const QWidget* window) {
    const QRect outer = window->frameGeometry();
    return window->screen()
        ->grabWindow(0, outer.x(), outer.y(), outer.width(), window->geometry().y() - outer.y())
        .toImage();
}

// The drawn caption of a title bar whose caption stands in its middle half: the columns
// there that differ from the blank column at a quarter of its width.
QImage drawnCaption(const QImage& bar) {
    const QImage blankColumn = bar.copy(bar.width() / 4, 0, 1, bar.height());
    const auto blank = [&](int x) { return bar.copy(x, 0, 1, bar.height()) == blankColumn; };
    int first = bar.width() / 4, last = 3 * bar.width() / 4;
    while (first < last && blank(first)) ++first;
    while (last > first && blank(last)) --last;
    return bar.copy(first, 0, last - first + 1, bar.height());
}

bool contains(const QImage& bar, const QImage& part) {
    for (int x = 0; x + part.width() <= bar.width(); ++x)
        if (bar.copy(x, 0, part.width(), part.height()) == part) return true;
    return false;
}

}  // namespace

class MessageBoxWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void theWarningIsCentredOnTheScreenNotOnTheWindow_data() { xsession::bothPrograms(); }
    void theWarningIsCentredOnTheScreenNotOnTheWindow();
    void thePlainBoxShowsItsWholeCaption_data() { xsession::bothPrograms(); }
    void thePlainBoxShowsItsWholeCaption();
};

void MessageBoxWindowTest::init() {
    if (!xsession::available()) QSKIP("needs an X server (DISPLAY) and xdotool");
}

void MessageBoxWindowTest::theWarningIsCentredOnTheScreenNotOnTheWindow() {
    QFETCH(QString, program);
    SummaryWindow w(program);
    QVERIFY(w.ok());
    // The main window in the top-left corner of the screen, away from its middle.
    w.form->move(0, 0);
    QVERIFY(xsession::waitFor([&] { return w.form->frameGeometry().topLeft() == QPoint(0, 0); }));
    const QRect area = w.form->screen()->availableGeometry();
    const QRect window = w.form->frameGeometry();
    QVERIFY2((window.center() - area.center()).manhattanLength() > 40, qPrintable(describe(window)));

    // Start after end: the run request's warning.
    w.setPeriod("12", "31", "01", "01");
    QRect box;
    bool modal = false;
    std::string text;
    QString stateAtGiveUp;
    UserScript user({
        {[&] { return framedBox() != nullptr; },
         [&] {
             QMessageBox* shown = framedBox();
             box = shown->frameGeometry();
             modal = shown->isModal();
             text = shown->text().toStdString();
             xsession::key(QStringLiteral("Return"));
         },
         300},  // the window manager's last move
    }, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        stateAtGiveUp = QString("modal box %1, active window %2, focus on %3")
                            .arg(modal ? describe(modal->frameGeometry()) : QString("none"))
                            .arg(QApplication::activeWindow() ? QApplication::activeWindow()->objectName() : "none")
                            .arg(QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : "none");
        if (modal) modal->close();
    });
    xsession::click(w.form->BitBtn1);
    QVERIFY(xsession::waitFor([&] { return user.over(); }, 30000));
    QVERIFY2(user.finished(), qPrintable("the warning shows; " + stateAtGiveUp));
    QCOMPARE(text, std::string("종료일자보다 시작일자 더 큽니다......"));
    QVERIFY(modal);
    const QPoint off = box.center() - area.center();
    QVERIFY2(std::abs(off.x()) <= 1 && std::abs(off.y()) <= 1,
             qPrintable(QString("box %1 in %2").arg(describe(box), describe(area))));
    // Closed by the key, the request goes on as before: the focus goes to the end month.
    QVERIFY(w.waitForFocus(w.form->cbMonth_End));
    QVERIFY(!QApplication::activeModalWidget());
}

void MessageBoxWindowTest::thePlainBoxShowsItsWholeCaption() {
    QFETCH(QString, program);
    SummaryWindow w(program);
    QVERIFY(w.ok());
    // The caption as the window manager draws it on a window wide enough for it.
    const QString title = QString::fromStdString(forms::applicationTitle());
    QImage whole;
    {
        QWidget wide(nullptr, Qt::Dialog);
        wide.setWindowTitle(title);
        wide.setFixedSize(400, 60);
        wide.show();
        QVERIFY(QTest::qWaitForWindowActive(&wide));
        QVERIFY(xsession::waitFor([&] { return wide.frameGeometry() != wide.geometry(); }));
        QTest::qWait(300);  // the window manager's last move
        whole = drawnCaption(titleBar(&wide));
    }
    QVERIFY2(whole.width() > whole.height(), "the wide window's caption is found");

    // A digit typed into a pick list brings up the plain box with that caption.
    QImage shown;
    QString caption;
    UserScript user({{[] { return framedBox() != nullptr; },
                      [&] {
                          caption = framedBox()->windowTitle();
                          shown = titleBar(framedBox());
                          xsession::key(QStringLiteral("Return"));
                      },
                      300}},
                    [] {
                        if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
                    });
    xsession::click(w.form->cbYear);
    QVERIFY(w.waitForFocus(w.form->cbYear));
    xsession::key(QStringLiteral("5"));
    QVERIFY(xsession::waitFor([&] { return user.over(); }, 30000));
    QVERIFY2(user.finished(), "the plain box shows");
    QCOMPARE(caption, title);
    QVERIFY2(contains(shown, whole), qPrintable(QString("%1 cut in a bar %2 wide").arg(title).arg(shown.width())));
}

QTEST_MAIN(MessageBoxWindowTest)
#include "message_box_window_test.moc"
