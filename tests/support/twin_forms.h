// The two main windows as the tests of their shared behaviour see them: how each
// program creates its forms, names its globals and keeps its run flag, and what differs
// in what the user sees (title, caption, tab order). A test takes one by name, so every
// case runs on both windows.
#pragma once

#include <QApplication>
#include <QTest>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "DAY_MORVEL_CODE_UpDate_Unit.h"
#include "DAY_MORVEL_Unit1.h"
#include "DAY_MORVEL_Unit1_Print01.h"
#include "MONTH_MORVEL_CODE_Update_Unit.h"
#include "MONTH_MORVEL_Unit1.h"
#include "MONTH_MORVEL_Unit1_Print01.h"
#include "engine/trace.h"
#include "forms/application.h"
#include "forms/date_format.h"
#include "forms/message_box.h"
#include "forms/platform.h"
#include "temp_account_database.h"

struct Twin {
    std::string title;    // the application's title from the executable's name
    std::string caption;  // the window's own caption
    // Creates the main form as start-up does (global set, then FormCreate) and the
    // preparation form; start-up in an application creates the three forms in order.
    std::function<mainform::SummaryMainForm*()> createForms;
    std::function<void(forms::Application&)> startUp;
    std::function<mainform::SummaryMainForm*()> mainForm;  // the program's global
    std::function<bool()> reportFormExists;                 // the start-up report form, hidden
    std::function<bool()> preparationFormExists;
    std::function<codeprep::CodeUpdateForm*()> preparation;
    std::function<void()> forgetForms;  // deletes the forms createForms made, clears the globals
    std::function<void()> clearGlobals;  // after the application has freed its forms
    std::function<std::string&()> runCheck;
    // The pick lists in tab order, by name.
    std::vector<std::string> pickLists;
};

template <class Main, class Report, class Preparation>
Twin makeTwin(std::string title, Main** main, Report** report, Preparation** preparation,
              std::string& (*runCheck)(), std::vector<std::string> pickLists) {
    Twin t;
    t.title = std::move(title);
    t.caption = Main::kCaption;
    t.createForms = [main, preparation] {
        *main = new Main;
        (*main)->create();
        *preparation = new Preparation;
        return *main;
    };
    t.startUp = [main, report, preparation](forms::Application& app) {
        app.createForm(*main);
        app.createForm(*report);
        app.createForm(*preparation);
    };
    t.mainForm = [main]() -> mainform::SummaryMainForm* { return *main; };
    t.reportFormExists = [report] { return *report && !(*report)->isVisible(); };
    t.preparationFormExists = [preparation] { return *preparation && !(*preparation)->isVisible(); };
    t.preparation = [preparation]() -> codeprep::CodeUpdateForm* { return *preparation; };
    t.forgetForms = [main, report, preparation] {
        delete *main;
        delete *preparation;
        *main = nullptr;
        *report = nullptr;
        *preparation = nullptr;
    };
    t.clearGlobals = [main, report, preparation] {
        *main = nullptr;
        *report = nullptr;
        *preparation = nullptr;
    };
    t.runCheck = runCheck;
    t.pickLists = std::move(pickLists);
    return t;
}

inline const Twin& twinNamed(const std::string& name) {
    static const Twin daily =
        makeTwin("Day_morvel", &fmDay_Morvel_Form, &qrfmDay_Morvel_Form, &fmDAY_MORVEL_CODE_Update_Form,
                 &DayRunCheck, {"cbYear", "cbMonth_First", "cbDay_First", "cbMonth_End", "cbDay_End", "cbKubun"});
    static const Twin monthly =
        makeTwin("Month_morvel", &fmMonth_Morvel_Form, &qrfmMonth_Morvel_Form, &fmMONTH_MORVEL_CODE_Update_Form,
                 &MonthRunCheck, {"cbYear", "cbMonth_First", "cbMonth_End", "cbKubun"});
    return name == "daily" ? daily : monthly;
}

// A Qt Test data function's rows, one per window ("program": "daily", "monthly"),
// and the window of the current row.
inline void addTwinRows() {
    QTest::addColumn<QString>("program");
    QTest::newRow("daily") << QStringLiteral("daily");
    QTest::newRow("monthly") << QStringLiteral("monthly");
}

inline const Twin& fetchedTwin() {
    QFETCH(QString, program);
    return twinNamed(program.toStdString());
}

// Every message box shown, with the main window's caption at that moment.
struct RecordedBox {
    forms::ShownMessage box;
    std::string windowCaption;
};

// One main window of either program on a throw-away database with a branch table,
// recorded message boxes and statements, a fixed clock and screen.
class TwinWindow {
public:
    explicit TwinWindow(const Twin& twin) : twin(twin) {
        forms::setApplicationTitle(twin.title);
        forms::resetPlatform();
        forms::setShortDateFormat({});
        forms::setClock([] { return QDateTime(QDate(2002, 8, 22), QTime(10, 30)); });
        forms::setScreenSize(QSize(1024, 768));
        forms::setMessageResponder([this](const forms::ShownMessage& box) {
            mainform::SummaryMainForm* main = this->twin.mainForm();
            boxes.push_back({box, main ? main->caption() : std::string()});
        });
        engine::setTraceSink([this](const engine::TraceEntry& entry) { statements.push_back(entry); });
        twin.runCheck().clear();
    }
    ~TwinWindow() {
        engine::setTraceSink({});
        twin.forgetForms();
        forms::setMessageResponder({});
        forms::resetPlatform();
        forms::setShortDateFormat({});
    }
    TwinWindow(const TwinWindow&) = delete;
    TwinWindow& operator=(const TwinWindow&) = delete;

    void createBranchTable() {
        db.exec("CREATE TABLE Kubun_Table (Kubun_Code CHAR(5), Kubun_Name CHAR(20), Kubun_JangSo CHAR(20))");
    }
    void addBranch(const std::string& code, const std::string& name, const std::string& place) {
        db.exec("INSERT INTO Kubun_Table VALUES ('" + code + "', '" + name + "', '" + place + "')");
    }

    mainform::SummaryMainForm* create() { return form = twin.createForms(); }

    // Shows the window and waits until it is active (focus events need that).
    bool show() {
        form->show();
        QApplication::setActiveWindow(form);
        return QTest::qWaitForWindowActive(form);
    }

    QWidget* focused() const { return QApplication::focusWidget(); }
    forms::ComboBox* box(const std::string& name) const {
        return form->findChild<forms::ComboBox*>(QString::fromStdString(name));
    }
    void key(Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier) { QTest::keyClick(focused(), k, mods); }

    std::vector<std::string> messageTexts() const {
        std::vector<std::string> texts;
        for (const auto& b : boxes) texts.push_back(b.box.text);
        return texts;
    }

    const Twin& twin;
    TempAccountDatabase db;
    mainform::SummaryMainForm* form = nullptr;
    std::vector<RecordedBox> boxes;
    std::vector<engine::TraceEntry> statements;
};
