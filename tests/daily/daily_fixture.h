// What the daily main-form tests share: a throw-away SQLite database behind the
// alias "Account", recorded message boxes, a fixed clock and screen, and the main
// form created the way start-up creates it.
#pragma once

#include <QApplication>
#include <QTest>
#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

#include "DAY_MORVEL_CODE_UpDate_Unit.h"
#include "DAY_MORVEL_Unit1.h"
#include "engine/database.h"
#include "engine/query.h"
#include "engine/trace.h"
#include "forms/application.h"
#include "forms/date_format.h"
#include "forms/message_box.h"
#include "forms/platform.h"
#include "temp_account_database.h"


// Every message box shown, with the main window's caption at that moment.
struct RecordedBox {
    forms::ShownMessage box;
    std::string windowCaption;
};

class DailyFixture {
public:
    DailyFixture() {
        forms::setApplicationTitle("Day_morvel");
        forms::resetPlatform();
        forms::setShortDateFormat({});
        forms::setClock([] { return QDateTime(QDate(2002, 8, 22), QTime(10, 30)); });
        forms::setScreenSize(QSize(1024, 768));
        forms::setMessageResponder([this](const forms::ShownMessage& box) {
            boxes.push_back({box, fmDay_Morvel_Form ? fmDay_Morvel_Form->caption() : std::string()});
        });
        engine::setTraceSink([this](const engine::TraceEntry& entry) { statements.push_back(entry); });
        DayRunCheck().clear();
    }
    ~DailyFixture() {
        engine::setTraceSink({});
        delete form;
        fmDay_Morvel_Form = nullptr;
        delete codeUpdate;
        fmDAY_MORVEL_CODE_Update_Form = nullptr;
        forms::setMessageResponder({});
        forms::resetPlatform();
    }

    void createBranchTable() {
        db.exec("CREATE TABLE Kubun_Table (Kubun_Code CHAR(5), Kubun_Name CHAR(20), Kubun_JangSo CHAR(20))");
    }

    // Creates the main form as start-up does: the instance is set, then FormCreate runs.
    TfmDay_Morvel_Form* createForm() {
        form = new TfmDay_Morvel_Form;
        fmDay_Morvel_Form = form;
        form->create();
        codeUpdate = new TfmDAY_MORVEL_CODE_Update_Form;
        fmDAY_MORVEL_CODE_Update_Form = codeUpdate;
        return form;
    }

    // Shows the window and waits until it is active (focus events need that).
    bool showForm() {
        form->show();
        QApplication::setActiveWindow(form);
        return QTest::qWaitForWindowActive(form);
    }

    QWidget* focused() const { return QApplication::focusWidget(); }

    std::vector<std::string> messageTexts() const {
        std::vector<std::string> texts;
        for (const auto& b : boxes) texts.push_back(b.box.text);
        return texts;
    }

    TempAccountDatabase db;
    TfmDay_Morvel_Form* form = nullptr;
    TfmDAY_MORVEL_CODE_Update_Form* codeUpdate = nullptr;
    std::vector<RecordedBox> boxes;
    std::vector<engine::TraceEntry> statements;
};
