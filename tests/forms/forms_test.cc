// The class library on Qt Widgets: application title, error box, date conversion,
// the combo box's events, closing forms, the login dialog, button glyphs.
#include <QAbstractItemView>
#include <QApplication>
#include <QLineEdit>
#include <QStyleOptionViewItem>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <unistd.h>

#include "forms/application.h"
#include "forms/bit_btn.h"
#include "forms/combo_box.h"
#include "forms/date_format.h"
#include "forms/db_grid.h"
#include "forms/fields.h"
#include "forms/font.h"
#include "forms/form.h"
#include "forms/login_dialog.h"
#include "forms/message_box.h"
#include "forms/panel.h"
#include "forms/platform.h"
#include "engine/database.h"
#include "engine/query.h"
#include "temp_account_database.h"

namespace {

struct RecordedBoxes {
    RecordedBoxes() {
        forms::setMessageResponder([this](const forms::ShownMessage& m) { boxes.push_back(m); });
    }
    ~RecordedBoxes() { forms::setMessageResponder({}); }
    std::vector<forms::ShownMessage> boxes;
};

bool activate(QWidget* window) {
    window->show();
    QApplication::setActiveWindow(window);
    return QTest::qWaitForWindowActive(window);
}

}  // namespace

class FormsTest : public QObject {
    Q_OBJECT
private slots:
    void titleFromTheExecutableName();
    void errorBoxAddsAFullStopAfterLaterCharacters();
    void anEscapingErrorEndsTheHandlerAndShowsTheErrorBox();
    void dateConversionUnderTheShortDateFormat();
    void changeEventsOnlyForTheUsersPicksAndEdits();
    void keyHandlerCanDropACharacter();
    void exitHandlerCanKeepTheFocus();
    void theFocusInTheBoxsOwnListDoesNotLeaveTheBox();
    void failingCloseHandlerKeepsTheFormOpen();
    void mainFormCloseEndsTheApplication();
    void tabOrderWalksIntoPanels();
    void loginDialogFieldsAndFocus();
    void anEmptyConfiguredUserNameBringsUpTheLoginWithTheFocusInIt();
    void glyphBottomLeftColourIsTransparent();
    void boxShowsTheStartOfItsTextAndClearingEntriesClearsIt();
    void openListIsWideEnoughForItsEntries();
    void fieldDestroyedBeforeItsGridColumn();
    void gulimColumnsAreLaidOutByTheDesignDigitWidth();
};

void FormsTest::titleFromTheExecutableName() {
    QCOMPARE(forms::titleFromExecutable("/opt/morvel/bin/DAY_MORVEL"), std::string("Day_morvel"));
    QCOMPARE(forms::titleFromExecutable("C:\\Morvel\\MONTH_MORVEL.EXE"), std::string("Month_morvel"));
    QCOMPARE(forms::titleFromExecutable("./day.MORVEL.bin"), std::string("day"));
    QCOMPARE(forms::titleFromExecutable("X"), std::string("X"));
}

void FormsTest::errorBoxAddsAFullStopAfterLaterCharacters() {
    QCOMPARE(forms::errorBoxText("Table not found"), std::string("Table not found."));
    QCOMPARE(forms::errorBoxText("Cannot connect to database 'Account'"),
             std::string("Cannot connect to database 'Account'"));
    QCOMPARE(forms::errorBoxText("Done."), std::string("Done."));
    QCOMPARE(forms::errorBoxText("Failed!"), std::string("Failed!"));
    QCOMPARE(forms::errorBoxText("(code 17)"), std::string("(code 17)"));
    QCOMPARE(forms::errorBoxText("code 17"), std::string("code 17."));
    QCOMPARE(forms::errorBoxText("연결 실패"), std::string("연결 실패."));
    QCOMPARE(forms::errorBoxText(""), std::string(""));
}

void FormsTest::anEscapingErrorEndsTheHandlerAndShowsTheErrorBox() {
    RecordedBoxes r;
    forms::setApplicationTitle("Day_morvel");
    int steps = 0;
    const bool completed = forms::runHandler([&] {
        ++steps;
        throw std::runtime_error("no such table: Kubun_Table");
        ++steps;
    });
    QVERIFY(!completed);
    QCOMPARE(steps, 1);
    QCOMPARE(r.boxes.size(), std::size_t(1));
    QCOMPARE(r.boxes[0].kind, forms::MessageKind::Error);
    QCOMPARE(r.boxes[0].caption, std::string("Day_morvel"));
    QCOMPARE(r.boxes[0].text, std::string("no such table: Kubun_Table."));
    QVERIFY(forms::runHandler([] {}));
    QCOMPARE(r.boxes.size(), std::size_t(1));

    forms::showWarning("w");
    forms::showPlainMessage("p");
    QCOMPARE(r.boxes[1].caption, std::string("Warning"));
    QCOMPARE(r.boxes[1].kind, forms::MessageKind::Warning);
    QCOMPARE(r.boxes[2].caption, std::string("Day_morvel"));
    QCOMPARE(r.boxes[2].kind, forms::MessageKind::Plain);
}

void FormsTest::dateConversionUnderTheShortDateFormat() {
    forms::setShortDateFormat({});
    QCOMPARE(forms::dateToStr(QDate(2002, 8, 22)), std::string("2002-08-22"));
    QCOMPARE(forms::strToDate("2002-08-22"), QDate(2002, 8, 22));
    QCOMPARE(forms::strToDate("2004-2-29"), QDate(2004, 2, 29));
    for (const char* bad : {"2002-02-30", "2003-02-29", "2002-13-01", "2002-00-10", "2002-08-", "-08-22",
                            "2002/08/22", "20x2-08-22", "", "2002-08-22-01"}) {
        bool failed = false;
        try {
            forms::strToDate(bad);
        } catch (const forms::ConvertError& e) {
            failed = std::string(e.what()).find(bad) != std::string::npos;
        }
        QVERIFY2(failed, bad);
    }
    forms::setShortDateFormat("dd/MM/yyyy");
    QCOMPARE(forms::dateToStr(QDate(2002, 8, 22)), std::string("22/08/2002"));
    QCOMPARE(forms::strToDate("22/08/2002"), QDate(2002, 8, 22));
    forms::setShortDateFormat({});
}

void FormsTest::changeEventsOnlyForTheUsersPicksAndEdits() {
    forms::Form form("f");
    auto* box = new forms::ComboBox("box", &form);
    forms::setTabOrder(box, 0);
    box->setItems({"01", "02", "03"});
    QCOMPARE(box->itemIndex(), -1);  // adding entries selects none
    int changes = 0;
    box->onChange = [&] { ++changes; };
    box->setText("02");
    box->setItemIndex(2);
    box->setItemIndex(-1);
    QCOMPARE(box->text(), std::string("03"));  // -1 keeps the text
    box->clearItems();
    box->setItems({"01", "02", "03"});
    QCOMPARE(changes, 0);
    QVERIFY(activate(&form));
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Down);
    QCOMPARE(changes, 1);
    QCOMPARE(box->itemIndex(), 0);
    QTest::keyClick(box, Qt::Key_Backspace);
    QCOMPARE(changes, 2);
    // An edit with the list closed leaves no entry selected.
    QCOMPARE(box->text(), std::string("0"));
    QCOMPARE(box->itemIndex(), -1);
}

void FormsTest::keyHandlerCanDropACharacter() {
    forms::Form form("f");
    auto* box = new forms::ComboBox("box", &form);
    std::vector<int> seen;
    box->onKeyPress = [&](QChar& key) {
        seen.push_back(key.unicode());
        if (key != QChar('1')) key = QChar();
    };
    QVERIFY(activate(&form));
    box->setFocus();
    QTest::keyClick(box, Qt::Key_1);
    QTest::keyClick(box, Qt::Key_2);
    QTest::keyClick(box, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_Backslash, Qt::ControlModifier);
    // With Ctrl, Backspace is DEL and Enter a line feed.
    QTest::keyClick(box, Qt::Key_Backspace, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_Return, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_Enter, Qt::ControlModifier | Qt::KeypadModifier);
    QTest::keyClick(box, Qt::Key_Left);  // no character: never reaches the handler
    QCOMPARE(box->text(), std::string("1"));
    QCOMPARE(seen, (std::vector<int>{'1', '2', 26, 28, 127, 10, 10}));
}

void FormsTest::exitHandlerCanKeepTheFocus() {
    forms::Form form("f");
    auto* first = new forms::ComboBox("first", &form);
    auto* second = new forms::ComboBox("second", &form);
    forms::setTabOrder(first, 0);
    forms::setTabOrder(second, 1);
    int secondEnters = 0, firstExits = 0;
    bool keep = true;
    first->onExit = [&] {
        ++firstExits;
        if (keep) first->setFocus();
    };
    second->onEnter = [&] { ++secondEnters; };
    QVERIFY(activate(&form));
    first->setFocus();
    QTest::keyClick(first, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(first));
    QCOMPARE(firstExits, 1);
    QCOMPARE(secondEnters, 0);
    keep = false;
    QTest::keyClick(first, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(second));
    QCOMPARE(firstExits, 2);
    QCOMPARE(secondEnters, 1);
}

void FormsTest::theFocusInTheBoxsOwnListDoesNotLeaveTheBox() {
    forms::Form form("f");
    auto* box = new forms::ComboBox("box", &form);
    auto* other = new forms::ComboBox("other", &form);
    box->setItems({"01", "02", "03"});
    int enters = 0, exits = 0;
    box->onEnter = [&] { ++enters; };
    box->onExit = [&] { ++exits; };
    QVERIFY(activate(&form));
    box->setFocus(Qt::OtherFocusReason);
    box->openList();
    QVERIFY(box->listOpen());
    // A press in the list gives its view the focus; the pick brings it back to the box.
    box->view()->setFocus(Qt::OtherFocusReason);
    QCOMPARE(exits, 0);
    box->closeList();
    box->setFocus(Qt::OtherFocusReason);
    QCOMPARE(enters, 1);
    QCOMPARE(exits, 0);
    other->setFocus(Qt::OtherFocusReason);
    QCOMPARE(exits, 1);
}

void FormsTest::failingCloseHandlerKeepsTheFormOpen() {
    RecordedBoxes r;
    auto* form = new forms::Form("f");
    QPointer<forms::Form> alive(form);
    int attempts = 0;
    form->onClose = [&](forms::CloseAction& action) {
        ++attempts;
        if (attempts == 1) throw std::runtime_error("database is locked");
        action = attempts == 2 ? forms::CloseAction::None : forms::CloseAction::Free;
    };
    form->show();
    QVERIFY(!form->close());
    QVERIFY(form->isVisible());
    QCOMPARE(r.boxes.size(), std::size_t(1));
    QCOMPARE(r.boxes[0].text, std::string("database is locked."));
    QVERIFY(!form->close());  // the handler keeps it open itself
    QVERIFY(form->isVisible());
    QVERIFY(form->close());
    QTRY_VERIFY(alive.isNull());  // freed
    QCOMPARE(attempts, 3);
}

void FormsTest::mainFormCloseEndsTheApplication() {
    forms::Application app("/usr/local/bin/DAY_MORVEL");
    QCOMPARE(app.title(), std::string("Day_morvel"));
    QCOMPARE(forms::applicationTitle(), std::string("Day_morvel"));
    forms::Form* main = nullptr;
    forms::Form* other = nullptr;
    struct Created : forms::Form {
        Created() : forms::Form("created") { onCreate = [this] { setCaption("created"); }; }
    };
    Created* created = nullptr;
    app.createForm(created);
    QCOMPARE(created->caption(), std::string("created"));
    main = created;
    (void)other;
    QCOMPARE(app.mainForm(), main);
    main->show();
    QVERIFY(!app.terminated());
    QVERIFY(main->close());
    QVERIFY(app.terminated());
}

void FormsTest::tabOrderWalksIntoPanels() {
    forms::Form form("f");
    auto* panel = new forms::Panel("panel", &form);
    panel->setGeometry(200, 0, 100, 40);
    auto* b2 = new forms::BitBtn("b2", "&Second", panel);
    auto* b1 = new forms::BitBtn("b1", "First", panel);
    forms::setTabOrder(b1, 0);
    forms::setTabOrder(b2, 1);
    forms::setTabOrder(panel, 0);
    auto* box = new forms::ComboBox("box", &form);
    forms::setTabOrder(box, 1);
    auto* hidden = new forms::BitBtn("hidden", "Hidden", &form);
    forms::setTabOrder(hidden, 2);
    hidden->setEnabled(false);
    auto* last = new forms::BitBtn("last", "Last", &form);
    forms::setTabOrder(last, 3);
    form.applyTabOrder();
    QVERIFY(activate(&form));
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(b1));
    QStringList visited;
    for (int i = 0; i < 5; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(visited, (QStringList{"b2", "box", "last", "b1", "b2"}));
    // The access key clicks without taking the focus.
    QSignalSpy clicks(b2, &QPushButton::clicked);
    box->setFocus();
    QTest::keyClick(box, Qt::Key_S, Qt::AltModifier);
    QCOMPARE(clicks.count(), 1);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(box));
}

void FormsTest::loginDialogFieldsAndFocus() {
    engine::LoginRequest request{"Account", "", ""};
    forms::LoginDialog empty(request);
    QCOMPARE(empty.windowTitle(), QString("Database Login"));
    QVERIFY(activate(&empty));
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(empty.userNameEdit()));
    QCOMPARE(empty.okButton()->text(), QString("&OK"));
    QCOMPARE(empty.cancelButton()->text(), QString("Cancel"));
    QCOMPARE(empty.passwordEdit()->echoMode(), QLineEdit::Password);
    empty.hide();

    request.userName = std::string(40, 'u');
    forms::LoginDialog named(request);
    QVERIFY(activate(&named));
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(named.passwordEdit()));
    QCOMPARE(named.userNameEdit()->text().size(), 31);
    QTest::keyClicks(named.passwordEdit(), QString(40, 'p'));
    QCOMPARE(named.result().password, std::string(31, 'p'));
    QCOMPARE(named.result().database, std::string("Account"));
}

void FormsTest::anEmptyConfiguredUserNameBringsUpTheLoginWithTheFocusInIt() {
    namespace fs = std::filesystem;
    const fs::path folder = fs::temp_directory_path() / ("morvel_login_" + std::to_string(::getpid()));
    fs::create_directories(folder);
    createEmptyDatabase(folder / "account.db");
    std::ofstream(folder / "alias.ini") << "[Account]\npath = " << (folder / "account.db").string() << "\nuser =\n";
    ::setenv("MORVEL_ALIAS_CONFIG", (folder / "alias.ini").c_str(), 1);
    engine::resetDatabases();
    forms::installLoginDialog();

    // The dialog as the user meets it: who has the focus once it is up, then a name typed in.
    QString focused = "no dialog";
    QString shownUser;
    QTimer watch;
    int ticks = 0;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<forms::LoginDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        if (++ticks > 250) return dialog->reject();  // no focus within five seconds
        if (!QApplication::focusWidget()) return;
        focused = QApplication::focusWidget() == dialog->userNameEdit() ? "user name" : "elsewhere";
        shownUser = dialog->userNameEdit()->text();
        QTest::keyClicks(dialog->userNameEdit(), "clerk");
        dialog->okButton()->click();
    });
    watch.start(20);
    engine::Query query;
    query.setText("select 1");
    query.open();
    watch.stop();
    QCOMPARE(focused, QString("user name"));
    QCOMPARE(shownUser, QString());
    QVERIFY(query.active());

    engine::resetDatabases();
    engine::setLoginHandler({});
    ::unsetenv("MORVEL_ALIAS_CONFIG");
    fs::remove_all(folder);
}

void FormsTest::glyphBottomLeftColourIsTransparent() {
    QImage image(4, 2, QImage::Format_RGB32);
    image.fill(QColor(128, 128, 0));
    image.setPixelColor(1, 0, Qt::red);
    image.setPixelColor(3, 0, Qt::gray);
    const QImage masked = forms::maskedGlyph(QPixmap::fromImage(image)).toImage();
    QCOMPARE(qAlpha(masked.pixel(0, 1)), 0);
    QCOMPARE(qAlpha(masked.pixel(1, 0)), 255);
    forms::BitBtn button("b", "&Go", nullptr);
    button.setGlyph(QPixmap::fromImage(image));
    QCOMPARE(button.iconSize(), QSize(2, 2));
}

void FormsTest::boxShowsTheStartOfItsTextAndClearingEntriesClearsIt() {
    forms::installKoreanFace();
    forms::Form form("f");
    auto* box = new forms::ComboBox("box", &form);
    box->setFont(forms::gulimFont(13));
    box->setGeometry(0, 0, 92, 21);
    auto* other = new forms::ComboBox("other", &form);
    other->setGeometry(0, 30, 92, 21);
    box->setItems({"본사/서울", "부산지점/부산", "대구지점/대구광역시"});
    QVERIFY(activate(&form));
    other->setFocus();
    for (int i = 0; i < 3; ++i) {
        box->setItemIndex(i);
        QCOMPARE(box->lineEdit()->cursorPosition(), 0);
    }
    box->setText("대구지점/대구광역시");
    QCOMPARE(box->lineEdit()->cursorPosition(), 0);
    // Working in the box, the caret goes to the end; leaving it shows the start again.
    box->setFocus();
    QCOMPARE(box->lineEdit()->cursorPosition(), static_cast<int>(box->lineEdit()->text().size()));
    other->setFocus();
    QCOMPARE(box->lineEdit()->cursorPosition(), 0);
    // setItems keeps the text; clearing the entries clears it, as an empty branch table does.
    box->setItems({"a", "b"});
    QCOMPARE(box->text(), std::string("대구지점/대구광역시"));
    box->clearItems();
    QCOMPARE(box->text(), std::string());
    QCOMPARE(box->itemIndex(), -1);
}

void FormsTest::openListIsWideEnoughForItsEntries() {
    forms::installKoreanFace();
    forms::Form form("f");
    auto* box = new forms::ComboBox("cbYear", &form);
    box->setFont(forms::gulimFont(13));
    box->setGeometry(0, 0, 51, 21);
    std::vector<std::string> years;
    for (int y = 2000; y <= 2011; ++y) years.push_back(std::to_string(y));
    box->setItems(years);
    QVERIFY(activate(&form));
    box->setFocus();
    box->openList();
    QVERIFY(box->listOpen());
    QAbstractItemView* list = box->view();
    QStyleOptionViewItem option;
    option.initFrom(list);
    for (int i = 0; i < box->itemCount(); ++i) {
        const QModelIndex index = list->model()->index(i, 0);
        // What the entry needs as the list draws it, against the room beside the scroll bar.
        const int needed = list->itemDelegateForIndex(index)->sizeHint(option, index).width();
        QVERIFY2(list->viewport()->width() >= needed,
                 qPrintable(QString("entry %1: %2 < %3").arg(i).arg(list->viewport()->width()).arg(needed)));
    }
    box->closeList();
}

void FormsTest::fieldDestroyedBeforeItsGridColumn() {
    // A form's fields may go before the grid that shows them (members before child
    // widgets): the grid then no longer reads them.
    auto field = std::make_unique<forms::StringField>("f", "AC_NAME", nullptr, 90);
    field->setDisplayLabel("계정과목");
    forms::DBGrid grid("grid");
    forms::Column& column = grid.addColumn(field.get());
    QCOMPARE(column.titleCaption(), std::string("계정과목"));
    field.reset();
    QCOMPARE(column.field(), static_cast<forms::Field*>(nullptr));
    QCOMPARE(column.titleCaption(), std::string());
    grid.show();
    QCoreApplication::processEvents();
}

void FormsTest::gulimColumnsAreLaidOutByTheDesignDigitWidth() {
    forms::installKoreanFace();
    // Forty digits of the 12-pixel face the forms name are 240 pixels, whatever face stands in.
    QCOMPARE(forms::designDigitWidth(forms::gulimFont(12)), 6);
    forms::StringField title("t", "AC_NAME", nullptr, 90);
    title.setDisplayWidth(40);
    title.setDisplayLabel("계");
    forms::DBGrid grid("grid");
    grid.setFont(forms::gulimFont(12));
    grid.setTitleFont(forms::gulimFont(13));
    QCOMPARE(grid.addColumn(&title).width(), 244);
}

QTEST_MAIN(FormsTest)
#include "forms_test.moc"
