// The programs' real message boxes on a real X server with a window manager: a warning
// stands in the middle of the screen wherever the main window lies, stays modal, and a
// real key closes it.
#include <QApplication>
#include <QMessageBox>
#include <QScreen>
#include <QTest>

#include "DAY_MORVEL_Unit1.h"
#include "summary_window.h"
#include "user_script.h"
#include "x_session.h"

namespace {


QString describe(const QRect& r) { return QString("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height()); }

}  // namespace

class MessageBoxWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void theWarningIsCentredOnTheScreenNotOnTheWindow_data() { xsession::bothPrograms(); }
    void theWarningIsCentredOnTheScreenNotOnTheWindow();
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
    auto framedBox = [] {
        auto* b = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        return b && b->isActiveWindow() && b->frameGeometry() != b->geometry() ? b : nullptr;
    };
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

QTEST_MAIN(MessageBoxWindowTest)
#include "message_box_window_test.moc"
