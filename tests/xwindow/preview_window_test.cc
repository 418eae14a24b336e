// The report preview of both programs on a real X server with a window manager, worked
// with real keys and clicks: the page keys turn the pages, the printer set-up dialog
// says what its buttons do, Escape closes the preview.
#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QPrintDialog>
#include <QPushButton>
#include <QTest>
#include <QToolBar>

#include "DAY_MORVEL_Unit1.h"
#include "report/preview_window.h"
#include "summary_window.h"
#include "user_script.h"
#include "x_session.h"

namespace {


report::PreviewWindow* activePreview() {
    auto* preview = qobject_cast<report::PreviewWindow*>(QApplication::activeWindow());
    // Framed by the window manager, so keys sent now reach it.
    return preview && preview->frameGeometry() != preview->geometry() ? preview : nullptr;
}

QWidget* toolButton(report::PreviewWindow* preview, const QString& text) {
    for (QAction* action : preview->findChildren<QAction*>())
        if (action->text() == text)
            for (auto* bar : preview->findChildren<QToolBar*>())
                if (QWidget* button = bar->widgetForAction(action)) return button;
    return nullptr;
}

}  // namespace

class PreviewWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void pageKeysTurnThePagesAndEscapeClosesThePreview_data() { xsession::bothPrograms(); }
    void pageKeysTurnThePagesAndEscapeClosesThePreview();
};

void PreviewWindowTest::init() {
    if (!xsession::available()) QSKIP("needs an X server (DISPLAY) and xdotool");
}

void PreviewWindowTest::pageKeysTurnThePagesAndEscapeClosesThePreview() {
    QFETCH(QString, program);
    SummaryWindow w(program);
    QVERIFY(w.ok());
    // The whole year: a report of several pages.
    w.setPeriod("01", "01", "12", "31");
    xsession::click(w.form->BitBtn1);
    QVERIFY(xsession::waitFor([&] { return w.form->DBGrid1->recordCount() > 0; }));

    // The print request waits in the preview's own loop; the user's steps go on there.
    QPointer<report::PreviewWindow> preview;
    std::vector<int> pagesSeen;
    int pageCount = 0;
    QStringList setupButtons;
    // Each key turns to another page: a step waits for the page to change, notes it and
    // presses the next key.
    auto turned = [&] { return preview && preview->currentPage() != pagesSeen.back(); };
    auto thenPress = [&](const char* key) {
        return UserScript::Step{turned, [&, key] {
                                    pagesSeen.push_back(preview->currentPage());
                                    xsession::key(QString::fromLatin1(key));
                                }};
    };
    UserScript user({
        {[&] { return activePreview() != nullptr; },
         [&] {
             preview = activePreview();
             pageCount = static_cast<int>(preview->produced().pages.size());
             pagesSeen.push_back(preview->currentPage());
             xsession::key(QStringLiteral("Next"));
         },
         300},  // the window manager's last move
        thenPress("End"),
        thenPress("Prior"),
        thenPress("Home"),
        {turned,
         [&] {
             pagesSeen.push_back(preview->currentPage());
             xsession::click(toolButton(preview, QStringLiteral("Printer setup")));
         }},
        // Printer set-up: its buttons are read, Escape closes it.
        {[] { return qobject_cast<QPrintDialog*>(QApplication::activeWindow()) != nullptr; },
         [&] {
             auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeWindow());
             for (auto* buttons : dialog->findChildren<QDialogButtonBox*>(Qt::FindDirectChildrenOnly))
                 for (QAbstractButton* button : buttons->buttons()) setupButtons << button->text().remove('&');
             xsession::key(QStringLiteral("Escape"));
         },
         200},
        {[&] { return preview && activePreview() == preview; }, [] { xsession::key(QStringLiteral("Escape")); }},
        {[&] { return preview.isNull(); }, nullptr},
    }, [&] {
        if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
        if (preview) preview->close();
    });
    xsession::click(w.form->PrintBtn);
    QVERIFY(xsession::waitFor([&] { return user.over(); }, 60000));
    QVERIFY2(user.finished(), qPrintable(QString("waited in vain at step %1").arg(user.waitingAt())));

    // Next page, the last, the one before it, the first.
    QVERIFY2(pageCount >= 3, qPrintable(QString("%1 pages").arg(pageCount)));
    const std::vector<int> expected{0, 1, pageCount - 1, pageCount - 2, 0};
    QCOMPARE(pagesSeen, expected);
    QVERIFY2(setupButtons.contains("OK") && setupButtons.contains("Cancel") && !setupButtons.contains("Print"),
             qPrintable(setupButtons.join(", ")));
    // The preview is gone and the program goes on: the focus is back on the print button.
    QVERIFY(w.waitForFocus(w.form->PrintBtn));
}

QTEST_MAIN(PreviewWindowTest)
#include "preview_window_test.moc"
